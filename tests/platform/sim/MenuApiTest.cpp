// Menus: loading from a menu resource, items and submenus, check and radio
// marks by position and command, enabling, item information, building and
// changing menus, and popup menus (WM_INITMENUPOPUP first, the command after).
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Menus.h"
#include "platform/Program.h"
#include "platform/sim/MenuTable.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;
using simtest::MenuSpec;

// The shape of the player's "Control" menu: a popup holding commands,
// separators and submenus two deep.
std::vector<std::byte> ControlMenuResources() {
    const auto menu = simtest::MenuTemplate({MenuSpec{
        u"Control",
        {
            MenuSpec{u"Play/Pause", 32772},
            MenuSpec{u"Stop", 32773},
            MenuSpec{},
            MenuSpec{u"Screen",
                     {MenuSpec{u"Toggle Fullscreen", 32777},
                      MenuSpec{u"Scale Mode",
                               {MenuSpec{u"Show All", 32806}, MenuSpec{u"No Border", 32805},
                                MenuSpec{u"Exact Fit", 32804}, MenuSpec{u"No Scale", 32807}}},
                      MenuSpec{u"Show Toolbar", 32840, 0x0008}}},
            MenuSpec{u"Exit", 32826, 0x0001},
        }}});
    return simtest::ResourceBuilder().Add(4, 128, menu).Build();
}

class MenuApiTest : public DeviceTest {
protected:
    void SetUp() override { resources = ControlMenuResources(); }
    std::vector<std::byte> resources;
};

TEST_F(MenuApiTest, LoadedMenuHasItsItemsSubmenusAndMarks) {
    HMENU menu = nullptr;
    auto program = Launch(
        [&](HINSTANCE instance) { menu = LoadMenuW(instance, MAKEINTRESOURCEW(128)); }, resources);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    const HMENU control = GetSubMenu(menu, 0);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetMenuItemCount(control), 5);
    EXPECT_EQ(GetMenuItemID(control, 0), 32772u);
    EXPECT_EQ(GetMenuItemID(control, 3), static_cast<UINT>(-1)); // a submenu
    EXPECT_EQ(GetSubMenu(control, 1), nullptr);

    MENUITEMINFOW separator;
    separator.fMask = MIIM_TYPE;
    ASSERT_TRUE(GetMenuItemInfoW(control, 2, TRUE, &separator));
    EXPECT_NE(separator.fType & MFT_SEPARATOR, 0u);

    // The template's marks: Show Toolbar checked, Exit grayed.
    const HMENU screen = GetSubMenu(control, 3);
    EXPECT_EQ(CheckMenuItem(screen, 32840, MF_BYCOMMAND | MF_UNCHECKED),
              static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(control, 32826, MF_BYCOMMAND | MF_ENABLED),
              static_cast<UINT>(MF_GRAYED));

    WCHAR text[32] = {};
    EXPECT_EQ(GetMenuStringW(control, 32777, text, 32, MF_BYCOMMAND), 17);
    EXPECT_EQ(std::u16string(text), u"Toggle Fullscreen");
    // By command the search reaches into submenus; a missing item is -1.
    EXPECT_EQ(CheckMenuItem(menu, 32807, MF_BYCOMMAND | MF_CHECKED),
              static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(menu, 1, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(-1));
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(control));
}

TEST_F(MenuApiTest, RadioMarkByPositionMovesWithinItsRange) {
    HMENU scale = nullptr;
    auto program = Launch(
        [&](HINSTANCE instance) {
            const HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(128));
            scale = GetSubMenu(GetSubMenu(GetSubMenu(menu, 0), 3), 1);
        },
        resources);
    ASSERT_NE(scale, nullptr);
    auto checked = [&] {
        std::vector<bool> marks;
        for (int position = 0; position < 4; ++position) {
            MENUITEMINFOW info;
            info.fMask = MIIM_STATE | MIIM_TYPE;
            GetMenuItemInfoW(scale, static_cast<UINT>(position), TRUE, &info);
            marks.push_back((info.fState & MFS_CHECKED) != 0);
            if ((info.fState & MFS_CHECKED) != 0) {
                EXPECT_NE(info.fType & MFT_RADIOCHECK, 0u);
            }
        }
        return marks;
    };
    ASSERT_TRUE(CheckMenuRadioItem(scale, 0, 3, 3, MF_BYPOSITION));
    EXPECT_EQ(checked(), (std::vector<bool>{false, false, false, true}));
    ASSERT_TRUE(CheckMenuRadioItem(scale, 0, 3, 1, MF_BYPOSITION));
    EXPECT_EQ(checked(), (std::vector<bool>{false, true, false, false}));
    // Outside the range, or past the end: refused, nothing changes.
    EXPECT_FALSE(CheckMenuRadioItem(scale, 0, 1, 2, MF_BYPOSITION));
    EXPECT_FALSE(CheckMenuRadioItem(scale, 0, 10, 2, MF_BYPOSITION));
    EXPECT_EQ(checked(), (std::vector<bool>{false, true, false, false}));
}

TEST_F(MenuApiTest, BuiltMenusCanBeChanged) {
    auto program = Launch([&](HINSTANCE) {});
    HMENU popup = CreatePopupMenu();
    ASSERT_NE(popup, nullptr);
    HMENU sub = CreatePopupMenu();
    EXPECT_TRUE(AppendMenuW(popup, MF_STRING, 10, u"Ten"));
    EXPECT_TRUE(AppendMenuW(popup, MF_SEPARATOR, 0, nullptr));
    EXPECT_TRUE(AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More"));
    EXPECT_TRUE(InsertMenuW(popup, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, 5, u"Five"));
    EXPECT_TRUE(InsertMenuW(popup, 10, MF_BYCOMMAND | MF_STRING, 7, u"Seven"));
    EXPECT_EQ(GetMenuItemCount(popup), 5);
    EXPECT_EQ(GetMenuItemID(popup, 0), 5u);
    EXPECT_EQ(GetMenuItemID(popup, 1), 7u);
    EXPECT_EQ(GetMenuItemID(popup, 2), 10u);

    MENUITEMINFOW rename;
    rename.fMask = MIIM_TYPE | MIIM_ID;
    rename.fType = MFT_STRING;
    rename.dwTypeData = const_cast<LPWSTR>(u"Eleven");
    rename.wID = 11;
    EXPECT_TRUE(SetMenuItemInfoW(popup, 10, FALSE, &rename));
    WCHAR text[4] = {};
    MENUITEMINFOW read;
    read.fMask = MIIM_TYPE | MIIM_ID | MIIM_SUBMENU;
    read.dwTypeData = text;
    read.cch = 4;
    ASSERT_TRUE(GetMenuItemInfoW(popup, 2, TRUE, &read));
    EXPECT_EQ(read.wID, 11u);
    EXPECT_EQ(std::u16string(text), u"Ele"); // cut to the buffer
    EXPECT_EQ(read.cch, 3u);

    EXPECT_TRUE(RemoveMenu(popup, 4, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub)); // removed, not destroyed
    EXPECT_TRUE(AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More"));
    EXPECT_TRUE(DeleteMenu(popup, 4, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(sub)); // deleted with its item
    EXPECT_FALSE(AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Gone"));
    EXPECT_EQ(GetMenuItemCount(popup), 4);
}

TEST_F(MenuApiTest, PopupMenuInitialisesItsOwnerFirstAndSendsTheCommandAfter) {
    std::vector<std::pair<UINT, WPARAM>> owner;
    HMENU menu = nullptr;
    Handler recording = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_INITMENUPOPUP) {
            owner.emplace_back(message, wParam);
            // Marks set here are what the popup shows.
            CheckMenuRadioItem(reinterpret_cast<HMENU>(wParam), 0, 1, 1, MF_BYPOSITION);
            return 0;
        }
        if (message == WM_COMMAND) {
            owner.emplace_back(message, wParam);
            return 0;
        }
        return std::nullopt;
    };
    // The device's controls provide the popup window; this tracker stands in,
    // noting what the popup would show and choosing the second item.
    std::vector<bool> shownMarks;
    sim::PopupMenuRequest asked;
    device->Menus().SetPopupTracker([&](const sim::PopupMenuRequest& request) -> UINT {
        asked = request;
        for (int position = 0; position < 2; ++position) {
            MENUITEMINFOW info;
            info.fMask = MIIM_STATE;
            GetMenuItemInfoW(request.menu, static_cast<UINT>(position), TRUE, &info);
            shownMarks.push_back((info.fState & MFS_CHECKED) != 0);
        }
        return GetMenuItemID(request.menu, 1);
    });
    HWND window = nullptr;
    BOOL returned = FALSE;
    BOOL returnedCommand = FALSE;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&recording, WS_VISIBLE, RECT{0, 26, 240, 294});
        menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 101, u"One");
        AppendMenuW(menu, MF_STRING, 102, u"Two");
        returned = TrackPopupMenuEx(menu, TPM_LEFTALIGN, 30, 40, window, nullptr);
        // Not delivered yet: the command is posted once the menu has gone.
        EXPECT_EQ(owner.size(), 1u);
        returnedCommand =
            TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY, 30, 40, window, nullptr);
    });
    EXPECT_TRUE(returned);
    EXPECT_EQ(returnedCommand, 102);
    EXPECT_EQ(asked.point.x, 30);
    EXPECT_EQ(asked.point.y, 40);
    EXPECT_EQ(asked.owner, window);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu)}, {WM_COMMAND, 102}};
    EXPECT_EQ(owner, expected);
    ASSERT_EQ(shownMarks.size(), 4u);
    EXPECT_FALSE(shownMarks[0]);
    EXPECT_TRUE(shownMarks[1]);
}

TEST_F(MenuApiTest, PopupMenuWithoutATrackerFailsCleanly) {
    // The device's controls install a tracker; this is the device without one.
    device->Menus().SetPopupTracker(nullptr);
    BOOL shown = TRUE;
    DWORD error = 0;
    Handler plain;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        const HWND window = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        const HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 1, u"One");
        shown = TrackPopupMenuEx(menu, 0, 0, 0, window, nullptr);
        error = GetLastError();
        EXPECT_FALSE(TrackPopupMenuEx(menu, 0, 0, 0, nullptr, nullptr));
        EXPECT_FALSE(TrackPopupMenuEx(nullptr, 0, 0, 0, window, nullptr));
    });
    EXPECT_FALSE(shown);
    EXPECT_EQ(error, ERROR_NOT_SUPPORTED);
}

} // namespace
