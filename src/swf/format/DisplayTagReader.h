// Readers for the tags that change the display list: PlaceObject 1 to 3 and
// RemoveObject 1 and 2.
#pragma once

#include <cstdint>

#include "swf/base/ByteReader.h"
#include "swf/base/Result.h"
#include "swf/format/TimelineModel.h"

namespace swf {

// PlaceObject (version 1), PlaceObject2 (2) or PlaceObject3 (3).
Result<PlaceObject> ReadPlaceObject(ByteReader reader, std::uint8_t version);
// RemoveObject (version 1) or RemoveObject2 (2).
Result<RemoveObject> ReadRemoveObject(ByteReader reader, std::uint8_t version);

} // namespace swf
