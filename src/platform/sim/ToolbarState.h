// The state of a toolbar window, shared by the toolbar control and the menu
// bar (a toolbar of the shell's with soft keys and drop-down buttons).
#pragma once

#include <string>
#include <vector>

#include "platform/ResourceFormats.h"
#include "platform/WinTypes.h"
#include "platform/sim/ToolbarButtons.h"
#include "platform/sim/WindowObject.h"

namespace sim {

// A key the menu bar was told about with SHCMBM_OVERRIDEKEY.
struct KeyOverride {
    UINT key = 0;
    WORD mask = 0;
    WORD flags = 0;
};

class ToolbarState : public WindowState {
public:
    std::vector<ToolbarButton> buttons;
    std::vector<res::Image> images;
    std::vector<std::u16string> strings;
    int bitmapWidth = 16;
    int bitmapHeight = 15;
    bool bitmapSizeSet = false;
    // TB_SETBUTTONSIZE; 0 until the program sets one.
    int buttonWidth = 0;
    int buttonHeight = 0;
    // The window that gets the commands (the parent, the owner of a menu
    // bar, or what TB_SETPARENT named).
    HWND notify = nullptr;
    // The button under the stylus while it is down, and whether the stylus
    // is still on it.
    int tracking = -1;
    bool trackingInside = false;

    // The menu bar's own.
    bool menuBar = false;
    HMENU menu = nullptr;
    std::vector<KeyOverride> keyOverrides;
};

// Where each button lies in the window's client area.
std::vector<RECT> ButtonRects(HWND window, const ToolbarState& state);
// Everything a toolbar does with a message once its state exists.
LRESULT ToolbarMessage(HWND window, ToolbarState& state, UINT message, WPARAM wParam,
                       LPARAM lParam);
// The width of the drop-down mark a menu-bar button shows after its text.
int DropMarkWidth();

} // namespace sim
