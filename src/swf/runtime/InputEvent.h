// The user's input as the movie gets it: the stylus (the pointer) down,
// moved and up at a point of the stage, keys going down and up, and the
// characters they type.
#pragma once

#include <cstdint>

namespace swf {

enum class InputKind : std::uint8_t {
    PointerMove,
    PointerDown,
    PointerUp,
    KeyDown,
    KeyUp,
    Character
};

struct InputEvent {
    InputKind kind = InputKind::PointerMove;
    // The pointer, in stage twips (the main timeline's parent space); kept
    // for key events too.
    double x = 0.0;
    double y = 0.0;
    // KeyDown, KeyUp: the device's virtual key (Key.getCode's number).
    std::uint32_t virtualKey = 0;
    // Character: the character typed, as UTF-16.
    std::uint16_t character = 0;
};

} // namespace swf
