// The message loop of the device's modal windows (message boxes, popup
// menus, the open-file dialog): the program's own queue, so that timers,
// posted messages and painting go on while the window is up.
#pragma once

#include <functional>

#include "platform/Messages.h"

namespace sim {

// Takes and dispatches the calling program's messages until done() holds.
// intercept sees each message first and returns true for one it handled
// itself (a menu's keys, say). Returns false when WM_QUIT came, which is
// posted again so that the loop outside ends as well.
bool RunModalLoop(const std::function<bool()>& done,
                  const std::function<bool(MSG&)>& intercept = nullptr);

} // namespace sim
