#include "platform/sim/MenuTable.h"

#include "platform/sim/Device.h"
#include "platform/sim/HandleAllocator.h"

namespace sim {
namespace {

std::uintptr_t Key(HMENU menu) {
    return reinterpret_cast<std::uintptr_t>(menu);
}

} // namespace

MenuTable::MenuTable(Device& device) : device(device) {}

HMENU MenuTable::Create(bool popup) {
    const std::uintptr_t key = device.Handles().NextObject();
    auto menu = std::make_unique<Menu>();
    menu->popup = popup;
    menus.emplace(key, std::move(menu));
    return reinterpret_cast<HMENU>(key);
}

HMENU MenuTable::Build(const std::vector<res::MenuItemTemplate>& items, bool popup) {
    const HMENU handle = Create(popup);
    for (const res::MenuItemTemplate& source : items) {
        MenuItem item;
        item.text = source.text;
        item.id = source.id;
        if ((source.flags & res::MF_CHECKED) != 0) {
            item.state |= MFS_CHECKED;
        }
        if ((source.flags & (res::MF_GRAYED | res::MF_DISABLED)) != 0) {
            item.state |= MFS_GRAYED;
        }
        if ((source.flags & res::MF_MENUBREAK) != 0) {
            item.type |= MFT_MENUBREAK;
        }
        if ((source.flags & res::MF_MENUBARBREAK) != 0) {
            item.type |= MFT_MENUBARBREAK;
        }
        if (source.IsPopup()) {
            item.submenu = Build(source.children, true);
            item.id = 0;
        } else if (source.IsSeparator()) {
            item.type |= MFT_SEPARATOR;
        }
        // The handle stays valid: only the table owns menus, by pointer.
        Find(handle)->items.push_back(std::move(item));
    }
    return handle;
}

Menu* MenuTable::Find(HMENU menu) {
    const auto found = menus.find(Key(menu));
    return found != menus.end() ? found->second.get() : nullptr;
}

bool MenuTable::Destroy(HMENU menu) {
    const auto found = menus.find(Key(menu));
    if (found == menus.end()) {
        return false;
    }
    std::vector<HMENU> submenus;
    for (const MenuItem& item : found->second->items) {
        if (item.submenu != nullptr) {
            submenus.push_back(item.submenu);
        }
    }
    menus.erase(found);
    for (HMENU submenu : submenus) {
        Destroy(submenu);
    }
    return true;
}

std::optional<MenuTable::ItemPlace> MenuTable::Locate(HMENU handle, UINT item, bool byPosition) {
    Menu* menu = Find(handle);
    if (menu == nullptr) {
        return std::nullopt;
    }
    if (byPosition) {
        if (item >= menu->items.size()) {
            return std::nullopt;
        }
        return ItemPlace{menu, item};
    }
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        const MenuItem& candidate = menu->items[i];
        if (candidate.submenu == nullptr && !candidate.IsSeparator() && candidate.id == item) {
            return ItemPlace{menu, i};
        }
    }
    // Then the submenus, as Win32 searches by command.
    for (std::size_t i = 0; i < menu->items.size(); ++i) {
        if (menu->items[i].submenu != nullptr) {
            if (auto found = Locate(menu->items[i].submenu, item, false)) {
                return found;
            }
        }
    }
    return std::nullopt;
}

} // namespace sim
