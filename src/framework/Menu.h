// Menus the program loads from its resources, popup menus at a point, and the
// check and radio marks of menu items.
#pragma once

#include "platform/Menus.h"
#include "platform/WinTypes.h"

namespace framework {

// A menu the program owns: destroyed, with its submenus, with this object.
class Menu {
public:
    Menu() = default;
    ~Menu();
    Menu(Menu&& other) noexcept;
    Menu& operator=(Menu&& other) noexcept;
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    // Loads menu id of the program's resources, replacing what was held.
    bool Load(UINT id);
    bool IsLoaded() const { return menu != nullptr; }
    HMENU Handle() const { return menu; }
    // The submenu at that position, or null; it belongs to this menu.
    HMENU SubMenu(int position) const;

private:
    HMENU menu = nullptr;
};

// Shows popup with its top-left corner at the screen point; the chosen command
// goes to target as WM_COMMAND. False when the popup could not be shown.
bool TrackPopup(HMENU popup, POINT screenPoint, HWND target);
// The same for the popup at position of menu resource menuId, loaded for this
// one showing.
bool TrackPopupFromResource(UINT menuId, int position, POINT screenPoint, HWND target);

// Checks or unchecks the item with that command id (in menu or a submenu).
bool SetMenuCheck(HMENU menu, UINT command, bool checked);
// Puts the radio mark on the item at position and takes it from the other
// items of first..last; a position outside first..last leaves none marked.
bool SetMenuRadioByPosition(HMENU menu, UINT first, UINT last, int position);

} // namespace framework
