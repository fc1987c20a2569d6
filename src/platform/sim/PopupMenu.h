// Popup menus: the tracker behind TrackPopupMenuEx shows a menu as a column of
// items in a window of its own above everything, runs a modal loop on the
// program's queue until the user picks an item or taps elsewhere, and opens
// submenus on a tap. What each open popup shows can be read back, for tests
// and the host.
#pragma once

#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/MenuTable.h"

namespace sim {

// One row of an open popup, as it is drawn.
struct PopupMenuRow {
    UINT id = 0;
    std::u16string text;
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    // A checked item with MFT_RADIOCHECK shows a dot instead of a tick.
    bool radio = false;
    bool submenu = false;
    bool highlighted = false;
    // In the popup's client coordinates.
    RECT rect;
};

// The rows of a popup menu window (class "#32768"); empty for other windows.
std::vector<PopupMenuRow> DescribePopupMenu(HWND popup);

// Shows the request's menu and returns the command chosen, or 0. The device's
// TrackPopupMenuEx has sent WM_INITMENUPOPUP for the menu itself; the tracker
// sends it for each submenu it opens.
UINT TrackPopupMenuRequest(const PopupMenuRequest& request);

} // namespace sim
