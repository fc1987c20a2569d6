// The host keyboard on the device: the function keys, Return and the arrows
// are the handheld's buttons (F1 to F6 are APP1 to APP6, F7 Record, F8 Talk,
// F9 End, Return Action, the arrows the navigation pad); editing keys and
// Ctrl or Shift are keys; characters arrive as typed text instead, so every
// keyboard layout types what its keys show.
#pragma once

#include <SDL.h>

#include <optional>

#include "host/KeyNames.h"

namespace host {

struct WindowKey {
    std::optional<DeviceButton> button;
    // A device key when there is no button.
    BYTE key = 0;
};

// What a host key stands for; nothing for keys whose characters arrive as
// text. With Ctrl held, letters and digits are keys (for accelerators).
std::optional<WindowKey> MapWindowKey(SDL_Keycode code, bool controlHeld);

} // namespace host
