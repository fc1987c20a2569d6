// Menus as data: the menus and submenus programs load and build, their items'
// types, states, ids and texts, and the hook through which popup menus are
// shown (the popup window and its loop belong to the device's controls).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/Menus.h"
#include "platform/ResourceFormats.h"
#include "platform/WinTypes.h"

namespace sim {

class Device;

struct MenuItem {
    // MFT_* bits (MFT_SEPARATOR, MFT_RADIOCHECK...).
    UINT type = MFT_STRING;
    // MFS_* bits (MFS_CHECKED, MFS_GRAYED...).
    UINT state = 0;
    UINT id = 0;
    std::u16string text;
    HMENU submenu = nullptr;
    ULONG_PTR data = 0;
    HBITMAP checkedBitmap = nullptr;
    HBITMAP uncheckedBitmap = nullptr;

    bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
    bool IsChecked() const { return (state & MFS_CHECKED) != 0; }
    bool IsGrayed() const { return (state & MFS_GRAYED) != 0; }
    bool IsRadio() const { return (type & MFT_RADIOCHECK) != 0; }
};

struct Menu {
    bool popup = false;
    std::vector<MenuItem> items;
};

// A popup menu to show: TrackPopupMenuEx hands one to the tracker, which shows
// the menu at the point, runs its modal loop (sending WM_INITMENUPOPUP for
// submenus it opens) and returns the command chosen, or 0.
struct PopupMenuRequest {
    HMENU menu = nullptr;
    UINT flags = 0;
    // Screen coordinates.
    POINT point;
    HWND owner = nullptr;
    // A screen rectangle the popup must not cover; empty for none.
    RECT exclude;
};
using PopupMenuTracker = std::function<UINT(const PopupMenuRequest&)>;

class MenuTable {
public:
    explicit MenuTable(Device& device);

    HMENU Create(bool popup);
    // Builds a menu (and its submenus) from a template.
    HMENU Build(const std::vector<res::MenuItemTemplate>& items, bool popup);
    Menu* Find(HMENU menu);
    // Destroys the menu and its submenus.
    bool Destroy(HMENU menu);

    // An item by position, or by command id searched through the submenus.
    struct ItemPlace {
        Menu* menu = nullptr;
        std::size_t index = 0;
        MenuItem& Item() const { return menu->items[index]; }
    };
    std::optional<ItemPlace> Locate(HMENU menu, UINT item, bool byPosition);

    void SetPopupTracker(PopupMenuTracker tracker) { popupTracker = std::move(tracker); }
    // EndMenu: the tracker closes its popup when it sees this (and clears it).
    void RequestCancel() { cancelRequested = true; }
    bool TakeCancelRequest() { return std::exchange(cancelRequested, false); }
    const PopupMenuTracker& PopupTracker() const { return popupTracker; }

private:
    Device& device;
    std::unordered_map<std::uintptr_t, std::unique_ptr<Menu>> menus;
    PopupMenuTracker popupTracker;
    bool cancelRequested = false;
};

} // namespace sim
