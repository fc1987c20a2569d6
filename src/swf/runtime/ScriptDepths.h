// Depths as scripts see them. The runtime numbers depths as the timeline
// does (the file's depths, 0 to 65535); scripts number them 16384 lower, so
// the timeline's usual depths are negative to a script and the depths
// scripts use start at 0. These are the ranges Flash Player applies.
#pragma once

#include <algorithm>
#include <cstdint>

#include "swf/format/Basics.h"

namespace swf::depths {

constexpr Depth ScriptOffset = 16384;

constexpr std::int64_t ToScript(Depth depth) {
    return std::int64_t{depth} - ScriptOffset;
}

// A script's depth as the runtime numbers it, held to what a depth can be.
constexpr Depth FromScript(std::int64_t scriptDepth) {
    const std::int64_t depth = scriptDepth + ScriptOffset;
    return static_cast<Depth>(
        std::clamp<std::int64_t>(depth, INT32_MIN + std::int64_t{1}, INT32_MAX));
}

// The depths the timeline places at; a goto back clears them of what
// scripts put there.
constexpr bool InTimelineRange(Depth depth) {
    return depth >= 0 && depth < ScriptOffset;
}

// removeMovieClip removes only clips at script depths 0 to 1048575.
constexpr bool RemovableByScript(Depth depth) {
    return ToScript(depth) >= 0 && ToScript(depth) <= 1048575;
}

// swapDepths moves a clip only to script depths -16384 to 2130690044.
constexpr bool SwapTarget(std::int64_t scriptDepth) {
    return scriptDepth >= -16384 && scriptDepth <= 2130690044;
}

// Where a removed clip waits for its unload event: script depth
// -32769 - depth, out of reach of the timeline and of removeMovieClip.
constexpr Depth UnloadDepth(Depth depth) {
    return static_cast<Depth>(std::max<std::int64_t>(-std::int64_t{depth} - 1, INT32_MIN + 1));
}

} // namespace swf::depths
