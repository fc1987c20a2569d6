// The shell's state that programs change: SHFullScreen's task bar, input-panel
// button and Start icon, per window, as the shell keeps them. The task bar is
// shown or hidden by what the foreground window asked for.
#pragma once

#include <map>
#include <mutex>

#include "platform/Shell.h"

namespace sim {

struct FullScreenState {
    bool taskBarHidden = false;
    bool sipButtonHidden = false;
    bool startIconHidden = false;
    bool operator==(const FullScreenState&) const = default;
};

class ShellState {
public:
    // Applies SHFS_* flags to the window's state: each "show" flag, then each
    // "hide" flag, so that a hide wins over a show of the same element.
    FullScreenState SetFullScreen(HWND window, DWORD flags);
    // What the window last asked for (everything shown for a window that never
    // asked).
    FullScreenState Of(HWND window) const;
    void Forget(HWND window);

private:
    mutable std::mutex lock;
    std::map<HWND, FullScreenState> windows;
};

} // namespace sim
