// What happened in the player, in the order it happened: frames entered,
// clips made and removed, sounds started, streamed sound blocks reached,
// buttons changing state. The sound mixer and the tests read these; nothing
// needs to look into the timeline to learn them. A player keeps the events
// from the start of one tick to the start of the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "swf/format/Basics.h"
#include "swf/format/TimelineModel.h"
#include "swf/runtime/DisplayHandle.h"

namespace swf {

// A clip entered a frame, by playing into it or by a goto (jumped); frames a
// goto passes over are not entered. frame holds its actions and sounds.
struct FrameEntered {
    DisplayHandle clip;
    std::size_t frameIndex = 0;
    const Frame* frame = nullptr; // borrowed from the movie
    bool jumped = false;
};

// A movie clip or button was made (by the timeline or a script).
struct ObjectCreated {
    DisplayHandle object;
    CharacterId characterId = 0; // 0 for a clip a script made empty
};

// A movie clip or button left the display list for good.
struct ObjectRemoved {
    DisplayHandle object;
};

// A StartSound or StartSound2 tag of a frame entered.
struct EventSoundStarted {
    DisplayHandle clip;
    const RawTag* tag = nullptr;
};

// A SoundStreamHead(2) or SoundStreamBlock tag of a frame entered.
struct SoundStreamReached {
    DisplayHandle clip;
    const RawTag* tag = nullptr;
};

enum class ButtonState : std::uint8_t { Up, Over, Down };

// A button's state changed; condition is the transition's bit as DefineButton2
// numbers them (see ButtonCondition.h), or a key press (from and to the same).
struct ButtonStateChanged {
    DisplayHandle button;
    ButtonState from = ButtonState::Up;
    ButtonState to = ButtonState::Up;
    std::uint16_t condition = 0;
};

using RuntimeEvent = std::variant<FrameEntered, ObjectCreated, ObjectRemoved, EventSoundStarted,
                                  SoundStreamReached, ButtonStateChanged>;

} // namespace swf
