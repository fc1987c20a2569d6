// A morph shape at one point of its morph: the start and end records walked
// in step, every edge and style mixed by the ratio, giving an ordinary shape.
#pragma once

#include "swf/format/ShapeModel.h"

namespace swf {

// ratio: 0 is the start shape, 65535 the end shape.
Shape MorphShapeAt(const MorphShape& morph, std::uint16_t ratio);

} // namespace swf
