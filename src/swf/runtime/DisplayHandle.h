// A reference to a display object that outlives it. A script's reference to
// a clip, a sound playing on behalf of a clip, a queued action: each keeps a
// handle and asks the player for the object when it needs it, and gets none
// once the object is gone. Handles are never reused within a player.
#pragma once

#include <cstdint>
#include <functional>

namespace swf {

struct DisplayHandle {
    std::uint64_t id = 0; // 0: no object

    explicit operator bool() const { return id != 0; }
    bool operator==(const DisplayHandle&) const = default;
};

} // namespace swf

template <>
struct std::hash<swf::DisplayHandle> {
    std::size_t operator()(const swf::DisplayHandle& handle) const noexcept {
        return std::hash<std::uint64_t>{}(handle.id);
    }
};
