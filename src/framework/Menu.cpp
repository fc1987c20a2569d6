#include "framework/Menu.h"

#include <utility>

#include "framework/Strings.h"

namespace framework {

Menu::~Menu() {
    if (menu != nullptr) {
        DestroyMenu(menu);
    }
}

Menu::Menu(Menu&& other) noexcept : menu(std::exchange(other.menu, nullptr)) {}

Menu& Menu::operator=(Menu&& other) noexcept {
    if (this != &other) {
        if (menu != nullptr) {
            DestroyMenu(menu);
        }
        menu = std::exchange(other.menu, nullptr);
    }
    return *this;
}

bool Menu::Load(UINT id) {
    Menu loaded;
    loaded.menu = LoadMenuW(ProgramInstance(), MAKEINTRESOURCEW(static_cast<WORD>(id)));
    if (loaded.menu == nullptr) {
        return false;
    }
    *this = std::move(loaded);
    return true;
}

HMENU Menu::SubMenu(int position) const {
    return menu != nullptr ? GetSubMenu(menu, position) : nullptr;
}

bool TrackPopup(HMENU popup, POINT screenPoint, HWND target) {
    if (popup == nullptr) {
        return false;
    }
    return TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_TOPALIGN, screenPoint.x, screenPoint.y,
                            target, nullptr) != FALSE;
}

bool TrackPopupFromResource(UINT menuId, int position, POINT screenPoint, HWND target) {
    Menu menu;
    return menu.Load(menuId) && TrackPopup(menu.SubMenu(position), screenPoint, target);
}

bool SetMenuCheck(HMENU menu, UINT command, bool checked) {
    const UINT flags = MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED);
    return CheckMenuItem(menu, command, flags) != static_cast<DWORD>(-1);
}

bool SetMenuRadioByPosition(HMENU menu, UINT first, UINT last, int position) {
    if (menu == nullptr || first > last) {
        return false;
    }
    if (position >= 0 && static_cast<UINT>(position) >= first &&
        static_cast<UINT>(position) <= last) {
        return CheckMenuRadioItem(menu, first, last, static_cast<UINT>(position), MF_BYPOSITION) !=
               FALSE;
    }
    // No item to mark: clear them all rather than leave a stale mark.
    bool all = true;
    for (UINT item = first; item <= last; ++item) {
        all = CheckMenuItem(menu, item, MF_BYPOSITION | MF_UNCHECKED) != static_cast<DWORD>(-1) &&
              all;
    }
    return all;
}

} // namespace framework
