// Readers for the small records shared by many tags. Each leaves the reader
// failed on a short read; the caller checks once the tag is read.
#pragma once

#include <vector>

#include "swf/base/ByteReader.h"
#include "swf/format/Basics.h"
#include "swf/format/TimelineModel.h"

namespace swf {

Rect ReadRect(ByteReader& reader);
Matrix ReadMatrix(ByteReader& reader);
Rgba ReadRgb(ByteReader& reader);
Rgba ReadRgba(ByteReader& reader);
// CXFORM (withAlpha false) or CXFORMWITHALPHA.
ColorTransform ReadColorTransform(ByteReader& reader, bool withAlpha);
// A FILTERLIST: a count and that many filters.
std::vector<Filter> ReadFilterList(ByteReader& reader);

} // namespace swf
