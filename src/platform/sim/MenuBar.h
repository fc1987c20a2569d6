// The Pocket PC menu bar: a toolbar of the shell's along the bottom of the
// screen, SM_CYMENU high, owned by a program's window. Its soft keys send
// their commands to the owner; a drop-down button opens its popup with the
// owner as the command target.
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"

namespace sim {

struct SoftKey {
    std::u16string text;
    int command = 0;
    // A popup to open instead of sending the command, or null.
    HMENU popup = nullptr;
    bool enabled = true;
};

// A bar of soft keys for the device's own modal windows (message boxes, the
// open-file dialog).
HWND CreateSoftKeyBar(HWND owner, const std::vector<SoftKey>& keys);

// The keys a bar was asked to leave to its owner with SHCMBM_OVERRIDEKEY,
// with their mask and flags (0 for a key never overridden).
DWORD KeyOverrideOf(HWND bar, UINT key);

} // namespace sim
