#include "platform/sim/ShellState.h"

namespace sim {

FullScreenState ShellState::SetFullScreen(HWND window, DWORD flags) {
    const std::lock_guard guard(lock);
    FullScreenState& state = windows[window];
    if ((flags & SHFS_SHOWTASKBAR) != 0) {
        state.taskBarHidden = false;
    }
    if ((flags & SHFS_SHOWSIPBUTTON) != 0) {
        state.sipButtonHidden = false;
    }
    if ((flags & SHFS_SHOWSTARTICON) != 0) {
        state.startIconHidden = false;
    }
    if ((flags & SHFS_HIDETASKBAR) != 0) {
        state.taskBarHidden = true;
    }
    if ((flags & SHFS_HIDESIPBUTTON) != 0) {
        state.sipButtonHidden = true;
    }
    if ((flags & SHFS_HIDESTARTICON) != 0) {
        state.startIconHidden = true;
    }
    return state;
}

FullScreenState ShellState::Of(HWND window) const {
    const std::lock_guard guard(lock);
    const auto found = windows.find(window);
    return found != windows.end() ? found->second : FullScreenState();
}

void ShellState::Forget(HWND window) {
    const std::lock_guard guard(lock);
    windows.erase(window);
}

} // namespace sim
