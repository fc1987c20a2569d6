// How much memory parts of the model take, roughly: what the reader charges
// against its limit, so that a small movie that unfolds into a huge model
// (millions of tiny edges or placements) is refused instead of exhausting
// memory.
#pragma once

#include <cstddef>

#include "swf/format/CharacterModel.h"
#include "swf/format/TimelineModel.h"

namespace swf {

std::size_t ApproximateSize(const Character& character);
std::size_t ApproximateSize(const DisplayTag& tag);
std::size_t ApproximateSize(const RawTag& tag);
std::size_t ApproximateSize(const Timeline& timeline);

// Limits on one record list, far above anything an authoring tool writes.
constexpr std::size_t MaxShapeRecords = std::size_t{1} << 20;
constexpr std::size_t MaxListEntries = std::size_t{1} << 16; // text records, button records
constexpr std::size_t MaxTimelineFrames = 65535;             // frame counts are 16-bit

} // namespace swf
