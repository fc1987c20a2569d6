// A command bar: the shell's menu bar for a window, built from a menu-bar
// resource (its soft keys and the menu they open), with the buttons of a
// toolbar resource appended after the soft keys. The bar's buttons send their
// command ids to the window the bar is for.
#pragma once

#include "platform/WinTypes.h"

namespace framework {

class CommandBar {
public:
    CommandBar() = default;
    // Destroys a bar that is still there.
    ~CommandBar();
    CommandBar(const CommandBar&) = delete;
    CommandBar& operator=(const CommandBar&) = delete;

    // Creates the bar for owner from menu-bar resource menuBarId. False (and
    // no bar) when the shell cannot make it. The bar is the shell's window,
    // above the program's windows, so it takes no style of ours; a nonzero
    // windowId becomes its window id, by which the owner may find it.
    bool Create(HWND owner, UINT menuBarId, UINT windowId = 0);
    // Appends the buttons of toolbar resource toolbarId, with the images of the
    // bitmap of the same id: one image a button, in order; a zero item is a
    // separator.
    bool AddToolbarButtons(UINT toolbarId);

    HWND Handle() const { return bar; }
    // Shows the bar without taking the activation from the window it serves,
    // as the shell shows a menu bar, or hides it.
    bool Show(bool show) const;
    bool IsVisible() const;
    // Hides or shows the button of that command id.
    bool HideButton(UINT command, bool hide) const;

private:
    HWND bar = nullptr;
};

} // namespace framework
