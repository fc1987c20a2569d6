// The names scripts use for the handheld's buttons and keyboard keys, and the
// keys they stand for on the device.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

namespace host {

// The buttons of the handheld's case and its navigation pad.
enum class DeviceButton {
    App1,
    App2,
    App3,
    App4,
    App5,
    App6,
    Action,
    Record,
    Talk,
    End,
    Up,
    Down,
    Left,
    Right,
};

// "APP1" ... "RIGHT", any letter case.
std::optional<DeviceButton> ButtonByName(std::string_view name);
const char* ButtonName(DeviceButton button);

// A keyboard key with the modifier keys held around it (MOD_CONTROL,
// MOD_SHIFT).
struct KeyStroke {
    BYTE key = 0;
    UINT modifiers = 0;
    bool operator==(const KeyStroke&) const = default;
};

// "N", "ctrl+N", "shift+TAB", "ctrl+shift+F5", "RETURN": the key names are
// those of the virtual keys without their VK_ prefix (RETURN, ESCAPE, TAB,
// BACK, SPACE, DELETE, INSERT, HOME, END, PRIOR, NEXT, LEFT, UP, RIGHT, DOWN,
// F1 to F24), a few common names beside them (ENTER, ESC, BACKSPACE, PAGEUP,
// PAGEDOWN), and single letters and digits; any letter case.
std::optional<KeyStroke> KeyByName(std::string_view name);

} // namespace host
