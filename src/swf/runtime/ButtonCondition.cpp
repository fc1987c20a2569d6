#include "swf/runtime/ButtonCondition.h"

#include <array>
#include <utility>

namespace swf {

namespace {

using namespace buttoncondition;
using P = PointerState;

constexpr std::array<PointerTransition, 9> transitions{{
    {P::Idle, P::OverUp, IdleToOverUp, ClipEvent::RollOver},
    {P::OverUp, P::Idle, OverUpToIdle, ClipEvent::RollOut},
    {P::OverUp, P::OverDown, OverUpToOverDown, ClipEvent::Press},
    {P::OverDown, P::OverUp, OverDownToOverUp, ClipEvent::Release},
    {P::OverDown, P::OutDown, OverDownToOutDown, ClipEvent::DragOut},
    {P::OutDown, P::OverDown, OutDownToOverDown, ClipEvent::DragOver},
    {P::OutDown, P::Idle, OutDownToIdle, ClipEvent::ReleaseOutside},
    // A button tracked as a menu item: pressed elsewhere and dragged onto
    // it, or off it again.
    {P::Idle, P::OverDown, IdleToOverDown, ClipEvent::DragOver},
    {P::OverDown, P::Idle, OverDownToIdle, ClipEvent::DragOut},
}};

// Virtual keys and the codes of a button's key presses.
constexpr std::array<std::pair<std::uint32_t, std::uint8_t>, 14> keyCodes{{
    {0x25, 1},  // left
    {0x27, 2},  // right
    {0x24, 3},  // home
    {0x23, 4},  // end
    {0x2D, 5},  // insert
    {0x2E, 6},  // delete
    {0x08, 8},  // backspace
    {0x0D, 13}, // enter
    {0x26, 14}, // up
    {0x28, 15}, // down
    {0x21, 16}, // page up
    {0x22, 17}, // page down
    {0x09, 18}, // tab
    {0x1B, 19}, // escape
}};

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

} // namespace

std::optional<PointerTransition> FindTransition(PointerState from, PointerState to) {
    for (const PointerTransition& transition : transitions) {
        if (transition.from == from && transition.to == to) {
            return transition;
        }
    }
    return std::nullopt;
}

ButtonState Appearance(PointerState state) {
    switch (state) {
    case PointerState::Idle:
        return ButtonState::Up;
    case PointerState::OverUp:
    case PointerState::OutDown:
        return ButtonState::Over;
    case PointerState::OverDown:
        return ButtonState::Down;
    }
    return ButtonState::Up;
}

std::vector<ButtonActionBlock> ActionBlocks(const Button& button) {
    const std::span<const std::uint8_t> bytes(button.actions);
    if (button.version < 2) {
        if (bytes.empty()) {
            return {};
        }
        return {{OverDownToOverUp, bytes}};
    }
    std::vector<ButtonActionBlock> blocks;
    std::size_t at = 0;
    while (bytes.size() - at >= 4) {
        const std::uint16_t size = ReadU16(bytes, at);
        const std::uint16_t conditions = ReadU16(bytes, at + 2);
        // The last record says 0: it runs to the end.
        const std::size_t end = size == 0 ? bytes.size() : at + size;
        if (size != 0 && (size < 4 || end > bytes.size())) {
            break;
        }
        blocks.push_back({conditions, bytes.subspan(at + 4, end - at - 4)});
        if (size == 0) {
            break;
        }
        at = end;
    }
    return blocks;
}

bool ConditionHolds(std::uint16_t conditions, std::uint16_t condition) {
    if ((condition & KeyMask) != 0) {
        return (conditions & KeyMask) == (condition & KeyMask);
    }
    return (conditions & condition & ~KeyMask) != 0;
}

std::uint8_t ButtonKeyOfVirtualKey(std::uint32_t virtualKey) {
    for (const auto& [key, code] : keyCodes) {
        if (key == virtualKey) {
            return code;
        }
    }
    return 0;
}

} // namespace swf
