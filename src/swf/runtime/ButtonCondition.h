// What a button does with the pointer: the four states Flash tracks it in,
// the transitions between them with the condition bits DefineButton2 gives
// its action blocks and the event a script's handler gets, and the key
// presses a button's actions can wait for.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "swf/format/CharacterModel.h"
#include "swf/format/ClipActions.h"
#include "swf/runtime/RuntimeEvents.h"

namespace swf {

// Where the pointer is for a button: not over it (Idle), over it with the
// stylus up or down, or pressed on it and then moved off it.
enum class PointerState : std::uint8_t { Idle, OverUp, OverDown, OutDown };

// The condition bits of a DefineButton2 action block, read as a
// little-endian 16-bit word; bits 9 to 15 hold a key code.
namespace buttoncondition {
constexpr std::uint16_t IdleToOverUp = 0x0001;
constexpr std::uint16_t OverUpToIdle = 0x0002;
constexpr std::uint16_t OverUpToOverDown = 0x0004;
constexpr std::uint16_t OverDownToOverUp = 0x0008;
constexpr std::uint16_t OverDownToOutDown = 0x0010;
constexpr std::uint16_t OutDownToOverDown = 0x0020;
constexpr std::uint16_t OutDownToIdle = 0x0040;
constexpr std::uint16_t IdleToOverDown = 0x0080;
constexpr std::uint16_t OverDownToIdle = 0x0100;
constexpr std::uint16_t KeyMask = 0xFE00;

constexpr std::uint16_t KeyPress(std::uint8_t keyCode) {
    return static_cast<std::uint16_t>((keyCode & 0x7F) << 9);
}
constexpr std::uint8_t KeyOf(std::uint16_t condition) {
    return static_cast<std::uint8_t>(condition >> 9);
}
} // namespace buttoncondition

struct PointerTransition {
    PointerState from;
    PointerState to;
    std::uint16_t condition;
    ClipEvent event; // the handler a script sets on the button or clip
};

// The transition between two states; nullopt when Flash has none (the same
// state, or over-up straight to out-down).
std::optional<PointerTransition> FindTransition(PointerState from, PointerState to);

// The state a button shows in each pointer state: pressed and dragged off,
// it shows its over state until the stylus is lifted.
ButtonState Appearance(PointerState state);

// One block of a button's actions and the conditions it runs on.
struct ButtonActionBlock {
    std::uint16_t conditions = 0;
    std::span<const std::uint8_t> actions; // borrowed from the button
};

// The action blocks of a button. DefineButton has one, run on release;
// DefineButton2's are read from its condition action records, and a
// damaged record ends the list.
std::vector<ButtonActionBlock> ActionBlocks(const Button& button);

// Whether a block with these conditions runs for condition: a transition
// bit it has, or the key press it names.
bool ConditionHolds(std::uint16_t conditions, std::uint16_t condition);

// The key code a button's key press names for a virtual key the device
// sends (arrows, home, end, insert, delete, backspace, enter, page up and
// down, tab, escape); 0 for keys that come as characters or not at all.
std::uint8_t ButtonKeyOfVirtualKey(std::uint32_t virtualKey);

} // namespace swf
