// The clip actions of PlaceObject2 and PlaceObject3: handlers for a placed
// clip's events, each a set of events and the action block they run. The
// timeline keeps them whole; this reads them when an object is placed.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace swf {

// The events a clip can have handlers for, in the order of their bits in
// the file's event flags (16 bits up to SWF 5, 32 from SWF 6).
enum class ClipEvent : std::uint8_t {
    Load,
    EnterFrame,
    Unload,
    MouseMove,
    MouseDown,
    MouseUp,
    KeyDown,
    KeyUp,
    Data,
    Initialize,
    Press,
    Release,
    ReleaseOutside,
    RollOver,
    RollOut,
    DragOver,
    DragOut,
    KeyPress,
    Construct,
};

constexpr std::uint32_t ClipEventBit(ClipEvent event) {
    return std::uint32_t{1} << static_cast<unsigned>(event);
}

struct ClipActionRecord {
    std::uint32_t events = 0;              // ClipEventBit of each event it handles
    std::uint8_t keyCode = 0;              // with ClipEvent::KeyPress: the key
    std::span<const std::uint8_t> actions; // borrowed from the placement's bytes

    bool Handles(ClipEvent event) const { return (events & ClipEventBit(event)) != 0; }
};

// The records of clipActions (the bytes PlaceObject keeps), as far as they
// are sound: a damaged record ends the list.
std::vector<ClipActionRecord> ReadClipActions(std::span<const std::uint8_t> clipActions,
                                              std::uint8_t swfVersion);

} // namespace swf
