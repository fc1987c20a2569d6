// The menu functions of platform/Menus.h. Menus are data here; showing a popup
// is the popup tracker's business (the device's controls install it).
#include "platform/Menus.h"

#include <algorithm>

#include "platform/Messages.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/MenuTable.h"
#include "platform/sim/ModuleResources.h"

using sim::Menu;
using sim::MenuItem;
using sim::MenuTable;

namespace {

MenuTable* Menus() {
    sim::Device* device = sim::Device::Current();
    return device != nullptr ? &device->Menus() : nullptr;
}

Menu* FindMenu(HMENU menu) {
    MenuTable* menus = Menus();
    Menu* found = menus != nullptr ? menus->Find(menu) : nullptr;
    if (found == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    }
    return found;
}

std::optional<MenuTable::ItemPlace> Locate(HMENU menu, UINT item, UINT flags) {
    MenuTable* menus = Menus();
    if (menus == nullptr) {
        return std::nullopt;
    }
    return menus->Locate(menu, item, (flags & MF_BYPOSITION) != 0);
}

// The old-style flags of an item (MF_CHECKED, MF_GRAYED, MF_POPUP...).
UINT OldFlags(const MenuItem& item) {
    UINT flags = item.type & (MFT_SEPARATOR | MFT_MENUBREAK | MFT_MENUBARBREAK | MFT_OWNERDRAW);
    flags |= item.state & (MFS_CHECKED | MFS_HILITE | MFS_DEFAULT);
    if ((item.state & MFS_GRAYED) != 0) {
        flags |= MF_GRAYED;
    }
    if (item.submenu != nullptr) {
        flags |= MF_POPUP;
    }
    return flags;
}

MenuItem ItemFromFlags(UINT flags, UINT_PTR newItem, LPCWSTR text) {
    MenuItem item;
    if ((flags & MF_SEPARATOR) != 0) {
        item.type = MFT_SEPARATOR;
    } else if (text != nullptr) {
        item.text = text::FromWide(text);
    }
    item.type |= flags & (MF_MENUBREAK | MF_MENUBARBREAK | MF_OWNERDRAW);
    if ((flags & MF_CHECKED) != 0) {
        item.state |= MFS_CHECKED;
    }
    if ((flags & (MF_GRAYED | MF_DISABLED)) != 0) {
        item.state |= MFS_GRAYED;
    }
    if ((flags & MF_POPUP) != 0) {
        item.submenu = reinterpret_cast<HMENU>(newItem);
    } else {
        item.id = static_cast<UINT>(newItem);
    }
    return item;
}

BOOL InsertItem(HMENU menu, UINT position, bool byPosition, MenuItem item) {
    Menu* target = FindMenu(menu);
    if (target == nullptr) {
        return FALSE;
    }
    if (item.submenu != nullptr && Menus()->Find(item.submenu) == nullptr) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (byPosition) {
        const std::size_t at = std::min<std::size_t>(position, target->items.size());
        target->items.insert(target->items.begin() + static_cast<std::ptrdiff_t>(at),
                             std::move(item));
        return TRUE;
    }
    // By command: before the item with that id (or at the end when none has it).
    if (auto place = Menus()->Locate(menu, position, false)) {
        place->menu->items.insert(place->menu->items.begin() +
                                      static_cast<std::ptrdiff_t>(place->index),
                                  std::move(item));
        return TRUE;
    }
    target->items.push_back(std::move(item));
    return TRUE;
}

} // namespace

HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name) {
    MenuTable* menus = Menus();
    if (menus == nullptr) {
        return nullptr;
    }
    const auto data = sim::ResourceData(instance, name, res::ResourceId(res::RT_MENU));
    if (!data) {
        return nullptr;
    }
    const auto items = res::ParseMenuTemplate(*data);
    if (!items.Ok()) {
        sim::Device::Current()->ReportProblem("menu template: " + items.GetError().message);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return menus->Build(items.Value(), false);
}

HMENU CreateMenu() {
    MenuTable* menus = Menus();
    return menus != nullptr ? menus->Create(false) : nullptr;
}

HMENU CreatePopupMenu() {
    MenuTable* menus = Menus();
    return menus != nullptr ? menus->Create(true) : nullptr;
}

BOOL DestroyMenu(HMENU menu) {
    MenuTable* menus = Menus();
    if (menus == nullptr || !menus->Destroy(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL IsMenu(HMENU menu) {
    MenuTable* menus = Menus();
    return menus != nullptr && menus->Find(menu) != nullptr ? TRUE : FALSE;
}

HMENU GetSubMenu(HMENU menu, int position) {
    const Menu* found = FindMenu(menu);
    if (found == nullptr || position < 0 ||
        static_cast<std::size_t>(position) >= found->items.size()) {
        return nullptr;
    }
    return found->items[static_cast<std::size_t>(position)].submenu;
}

int GetMenuItemCount(HMENU menu) {
    const Menu* found = FindMenu(menu);
    return found != nullptr ? static_cast<int>(found->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    const Menu* found = FindMenu(menu);
    if (found == nullptr || position < 0 ||
        static_cast<std::size_t>(position) >= found->items.size()) {
        return static_cast<UINT>(-1);
    }
    const MenuItem& item = found->items[static_cast<std::size_t>(position)];
    return item.submenu != nullptr ? static_cast<UINT>(-1) : item.id;
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto place = Locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!place) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    const MenuItem& found = place->Item();
    if ((info->fMask & MIIM_STATE) != 0) {
        info->fState = found.state;
    }
    if ((info->fMask & MIIM_ID) != 0) {
        info->wID = found.id;
    }
    if ((info->fMask & MIIM_SUBMENU) != 0) {
        info->hSubMenu = found.submenu;
    }
    if ((info->fMask & MIIM_CHECKMARKS) != 0) {
        info->hbmpChecked = found.checkedBitmap;
        info->hbmpUnchecked = found.uncheckedBitmap;
    }
    if ((info->fMask & MIIM_DATA) != 0) {
        info->dwItemData = found.data;
    }
    if ((info->fMask & MIIM_TYPE) != 0) {
        info->fType = found.type;
        if (!found.IsSeparator()) {
            if (info->dwTypeData != nullptr && info->cch > 0) {
                const std::size_t copied = std::min<std::size_t>(found.text.size(), info->cch - 1);
                std::copy_n(found.text.begin(), copied, info->dwTypeData);
                info->dwTypeData[copied] = u'\0';
                info->cch = static_cast<UINT>(copied);
            } else {
                info->cch = static_cast<UINT>(found.text.size());
            }
        }
    }
    return TRUE;
}

BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const auto place = Locate(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!place) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    MenuItem& found = place->Item();
    if ((info->fMask & MIIM_STATE) != 0) {
        found.state = info->fState;
    }
    if ((info->fMask & MIIM_ID) != 0) {
        found.id = info->wID;
    }
    if ((info->fMask & MIIM_SUBMENU) != 0) {
        found.submenu = info->hSubMenu;
    }
    if ((info->fMask & MIIM_CHECKMARKS) != 0) {
        found.checkedBitmap = info->hbmpChecked;
        found.uncheckedBitmap = info->hbmpUnchecked;
    }
    if ((info->fMask & MIIM_DATA) != 0) {
        found.data = info->dwItemData;
    }
    if ((info->fMask & MIIM_TYPE) != 0) {
        found.type = info->fType;
        if ((info->fType & MFT_SEPARATOR) == 0) {
            found.text = text::FromWide(info->dwTypeData);
        }
    }
    return TRUE;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int bufferLength, UINT flags) {
    const auto place = Locate(menu, item, flags);
    if (!place) {
        return 0;
    }
    const std::u16string& text = place->Item().text;
    if (buffer == nullptr || bufferLength <= 0) {
        return static_cast<int>(text.size());
    }
    const int copied = std::min<int>(static_cast<int>(text.size()), bufferLength - 1);
    std::copy_n(text.begin(), copied, buffer);
    buffer[copied] = u'\0';
    return copied;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
    const auto place = Locate(menu, item, flags);
    if (!place) {
        return static_cast<DWORD>(-1);
    }
    MenuItem& found = place->Item();
    const DWORD previous = found.IsChecked() ? MF_CHECKED : MF_UNCHECKED;
    if ((flags & MF_CHECKED) != 0) {
        found.state |= MFS_CHECKED;
    } else {
        found.state &= ~MFS_CHECKED;
    }
    return previous;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags) {
    const auto place = Locate(menu, item, flags);
    if (!place) {
        return static_cast<UINT>(-1);
    }
    MenuItem& found = place->Item();
    const UINT previous = OldFlags(found) & (MF_GRAYED | MF_DISABLED);
    if ((flags & (MF_GRAYED | MF_DISABLED)) != 0) {
        found.state |= MFS_GRAYED;
    } else {
        found.state &= ~MFS_GRAYED;
    }
    return previous;
}

BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags) {
    const bool byPosition = (flags & MF_BYPOSITION) != 0;
    if (byPosition) {
        Menu* found = FindMenu(menu);
        if (found == nullptr || first > last || last >= found->items.size() || check < first ||
            check > last) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        for (UINT position = first; position <= last; ++position) {
            MenuItem& item = found->items[position];
            if (position == check) {
                item.type |= MFT_RADIOCHECK;
                item.state |= MFS_CHECKED;
            } else {
                item.state &= ~MFS_CHECKED;
            }
        }
        return TRUE;
    }
    // By command: the items with ids first..last in the menu that holds check.
    const auto place = Locate(menu, check, MF_BYCOMMAND);
    if (!place || check < first || check > last) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (MenuItem& item : place->menu->items) {
        if (item.submenu != nullptr || item.IsSeparator() || item.id < first || item.id > last) {
            continue;
        }
        if (item.id == check) {
            item.type |= MFT_RADIOCHECK;
            item.state |= MFS_CHECKED;
        } else {
            item.state &= ~MFS_CHECKED;
        }
    }
    return TRUE;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR newItem, LPCWSTR text) {
    Menu* found = FindMenu(menu);
    if (found == nullptr) {
        return FALSE;
    }
    return InsertItem(menu, static_cast<UINT>(found->items.size()), true,
                      ItemFromFlags(flags, newItem, text));
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR newItem, LPCWSTR text) {
    return InsertItem(menu, position, (flags & MF_BYPOSITION) != 0,
                      ItemFromFlags(flags, newItem, text));
}

BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info) {
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    MenuItem created;
    if ((info->fMask & MIIM_TYPE) != 0) {
        created.type = info->fType;
        if ((info->fType & MFT_SEPARATOR) == 0) {
            created.text = text::FromWide(info->dwTypeData);
        }
    }
    if ((info->fMask & MIIM_STATE) != 0) {
        created.state = info->fState;
    }
    if ((info->fMask & MIIM_ID) != 0) {
        created.id = info->wID;
    }
    if ((info->fMask & MIIM_SUBMENU) != 0) {
        created.submenu = info->hSubMenu;
    }
    if ((info->fMask & MIIM_DATA) != 0) {
        created.data = info->dwItemData;
    }
    return InsertItem(menu, item, byPosition != FALSE, std::move(created));
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) {
    const auto place = Locate(menu, item, flags);
    if (!place) {
        return FALSE;
    }
    place->menu->items.erase(place->menu->items.begin() +
                             static_cast<std::ptrdiff_t>(place->index));
    return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
    const auto place = Locate(menu, item, flags);
    if (!place) {
        return FALSE;
    }
    const HMENU submenu = place->Item().submenu;
    place->menu->items.erase(place->menu->items.begin() +
                             static_cast<std::ptrdiff_t>(place->index));
    if (submenu != nullptr) {
        Menus()->Destroy(submenu);
    }
    return TRUE;
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, const TPMPARAMS* params) {
    sim::Device* device = sim::Device::Current();
    if (FindMenu(menu) == nullptr || sim::LookUpWindow(owner) == nullptr) {
        return FALSE;
    }
    const sim::PopupMenuTracker& tracker = device->Menus().PopupTracker();
    if (!tracker) {
        // The popup window comes with the device's controls.
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if ((flags & TPM_NONOTIFY) == 0) {
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
    }
    sim::PopupMenuRequest request;
    request.menu = menu;
    request.flags = flags;
    request.point = POINT{x, y};
    request.owner = owner;
    if (params != nullptr) {
        request.exclude = params->rcExclude;
    }
    const UINT command = tracker(request);
    if ((flags & TPM_RETURNCMD) != 0) {
        return static_cast<BOOL>(command);
    }
    if (command != 0 && (flags & TPM_NONOTIFY) == 0 && IsWindow(owner)) {
        // The command arrives after the menu has gone, as a posted WM_COMMAND.
        PostMessageW(owner, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(command), 0), 0);
    }
    return TRUE;
}

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return TrackPopupMenuEx(menu, flags, x, y, owner, nullptr);
}

BOOL EndMenu() {
    MenuTable* menus = Menus();
    if (menus == nullptr) {
        return FALSE;
    }
    menus->RequestCancel();
    return TRUE;
}
