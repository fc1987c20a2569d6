// Streamed sound whose every sample tells which frame's block it came from:
// uncompressed 16-bit mono at 44.1 kHz, each block at a level of its own.
// A test reads the mix back and knows at once which block played where.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swfwriter/MovieWriter.h"
#include "swfwriter/SoundWriter.h"

namespace levelstream {

// The level of frame's block; distinct for 300 frames, never 0.
inline std::int16_t Level(std::size_t frame) {
    return static_cast<std::int16_t>(100 * (frame % 300 + 1));
}

// The frame whose block sounds at this level, if it is one.
inline long FrameOf(std::int16_t level) {
    return level > 0 && level % 100 == 0 ? level / 100 - 1 : -1;
}

inline void Head(swfwriter::TimelineWriter& timeline, std::uint16_t samplesPerFrame) {
    timeline.Tag(swf::tag::SoundStreamHead2,
                 swfwriter::StreamHeadBody({.coding = 3, .rateCode = 3}, samplesPerFrame));
}

inline void Block(swfwriter::TimelineWriter& timeline, std::size_t frame, std::size_t samples) {
    const std::vector<std::int16_t> block(samples, Level(frame));
    timeline.Tag(swf::tag::SoundStreamBlock, swfwriter::PcmBytes(block));
}

} // namespace levelstream
