// The Pocket PC menu bar: soft keys from a menu-bar resource and from a plain
// menu, the drop-down soft key with its popup and WM_INITMENUPOPUP first,
// what the screen shows, and the key override.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Menus.h"
#include "platform/Shell.h"
#include "platform/sim/MenuBar.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/PopupMenu.h"

namespace {

using simtest::ButtonOnScreen;
using simtest::Centre;

class MenuBarTest : public simtest::DeviceTest {
protected:
    // A frame window between the task bar and the menu bar, with a menu bar
    // from the menu-bar resource.
    simtest::RunningProgram LaunchFrame(simtest::Handler& handler) {
        return Launch(
            [&](HINSTANCE instance) {
                simtest::RegisterTestClass();
                frame = simtest::CreateTestWindow(&handler, WS_VISIBLE, RECT{0, 26, 240, 294},
                                                  nullptr, 0, u"Frame");
                SHMENUBARINFO info;
                info.hwndParent = frame;
                info.nToolBarId = simtest::kMainMenuBar;
                info.hInstRes = instance;
                created = SHCreateMenuBar(&info);
                bar = info.hwndMB;
            },
            resources);
    }

    std::vector<std::byte> resources = simtest::ControlTestResources();
    HWND frame = nullptr;
    HWND bar = nullptr;
    BOOL created = FALSE;
};

TEST_F(MenuBarTest, SitsAlongTheBottomWithTheResourcesSoftKeys) {
    simtest::Handler plain;
    auto program = LaunchFrame(plain);
    ASSERT_TRUE(created);
    ASSERT_NE(bar, nullptr);
    const auto info = automation->Describe(bar);
    ASSERT_TRUE(info);
    EXPECT_TRUE(info->visible);
    EXPECT_EQ(info->owner, frame);
    EXPECT_EQ(info->rect.bottom, 320);
    EXPECT_EQ(info->rect.bottom - info->rect.top, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(info->rect.right - info->rect.left, 240);
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 2);
    WCHAR text[16] = {};
    SendMessageW(bar, TB_GETBUTTONTEXTW, simtest::kOpenCommand, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(std::u16string(text), u"Open");
    EXPECT_NE(SendMessageW(bar, SHCMBM_GETMENU, 0, 0), 0);
    EXPECT_EQ(automation->Journal("SHCreateMenuBar").size(), 1u);
}

TEST_F(MenuBarTest, ATapOnASoftKeySendsItsCommandToTheOwner) {
    simtest::Handler plain;
    auto program = LaunchFrame(plain);
    auto log = device->Recorders().Record({frame});
    automation->Tap(Centre(ButtonOnScreen(bar, simtest::kOpenCommand)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(log->Check(frame,
                         {{WM_COMMAND, MAKEWPARAM(simtest::kOpenCommand, BN_CLICKED), std::nullopt,
                           sim::Arrival::Sent}},
                         {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC}),
              "");
    // A tap beside the soft keys sends nothing.
    log->Clear();
    automation->Tap(POINT{230, 310});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_FALSE(log->Received(frame, WM_COMMAND));
}

TEST_F(MenuBarTest, TheDropDownKeyOpensItsPopupAfterInitMenuPopupAndTheMarksSetThereShow) {
    HMENU announced = nullptr;
    int announcements = 0;
    simtest::Handler handler = [&](HWND, UINT message, WPARAM wParam,
                                   LPARAM) -> std::optional<LRESULT> {
        if (message == WM_INITMENUPOPUP) {
            const auto popup = reinterpret_cast<HMENU>(wParam);
            ++announcements;
            if (announced == nullptr) {
                announced = popup;
                // The frame sets its marks now, before the popup is drawn.
                CheckMenuItem(popup, simtest::kPlayCommand, MF_BYCOMMAND | MF_CHECKED);
                CheckMenuRadioItem(GetSubMenu(popup, simtest::kZoomPosition), 0, 1, 1,
                                   MF_BYPOSITION);
            }
            return 0;
        }
        return std::nullopt;
    };
    auto program = LaunchFrame(handler);
    EXPECT_TRUE(simtest::OpenPopups(*automation).empty());

    automation->Tap(Centre(ButtonOnScreen(bar, simtest::kMenuButton)));
    ASSERT_TRUE(device->RunUntilIdle());
    const auto popups = simtest::OpenPopups(*automation);
    ASSERT_EQ(popups.size(), 1u);
    EXPECT_EQ(announcements, 1);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETMENU, 0, 0));
    EXPECT_EQ(announced, GetSubMenu(menu, 0));

    // The popup sits above the bar and shows the check mark set just now.
    const auto popupInfo = automation->Describe(popups[0]);
    ASSERT_TRUE(popupInfo);
    EXPECT_LE(popupInfo->rect.bottom, 320 - GetSystemMetrics(SM_CYMENU));
    const auto rows = sim::DescribePopupMenu(popups[0]);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].text, u"Play");
    EXPECT_TRUE(rows[0].checked);
    EXPECT_TRUE(rows[1].separator);
    EXPECT_TRUE(rows[2].submenu);
    EXPECT_TRUE(rows[3].grayed);
    EXPECT_FALSE(rows[4].checked);

    // On the screen: the mark column of "Play" has ink, that of "Exit" none.
    const auto screen = automation->Screenshot();
    const RECT playMark = simtest::ClientToScreenRect(
        popups[0], RECT{rows[0].rect.left + 2, rows[0].rect.top + 2, rows[0].rect.left + 16,
                        rows[0].rect.bottom - 2});
    const RECT exitMark = simtest::ClientToScreenRect(
        popups[0], RECT{rows[4].rect.left + 2, rows[4].rect.top + 2, rows[4].rect.left + 16,
                        rows[4].rect.bottom - 2});
    EXPECT_TRUE(simtest::AnyPixelDiffers(*screen, playMark, POINT{playMark.left, playMark.top}));
    EXPECT_FALSE(simtest::AnyPixelDiffers(*screen, exitMark, POINT{exitMark.left, exitMark.top}));

    // The submenu opens on a tap, announced too, with its radio mark.
    automation->Tap(Centre(simtest::ClientToScreenRect(popups[0], rows[2].rect)));
    ASSERT_TRUE(device->RunUntilIdle());
    const auto both = simtest::OpenPopups(*automation);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(announcements, 2);
    const auto zoomRows = sim::DescribePopupMenu(both[0]);
    ASSERT_EQ(zoomRows.size(), 2u);
    EXPECT_FALSE(zoomRows[0].checked);
    EXPECT_TRUE(zoomRows[1].checked);
    EXPECT_TRUE(zoomRows[1].radio);

    // Choosing an item of the submenu closes both and posts the command.
    auto log = device->Recorders().Record({frame});
    automation->Tap(Centre(simtest::ClientToScreenRect(both[0], zoomRows[1].rect)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(simtest::OpenPopups(*automation).empty());
    EXPECT_EQ(
        log->Check(frame, {{WM_COMMAND, MAKEWPARAM(simtest::kZoom150, 0), 0, sim::Arrival::Posted}},
                   {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC, WM_INITMENUPOPUP}),
        "");
}

TEST_F(MenuBarTest, AScreenshotShowsTheSoftKeysTexts) {
    simtest::Handler plain;
    auto program = LaunchFrame(plain);
    const auto screen = automation->Screenshot();
    for (const int command : {simtest::kOpenCommand, simtest::kMenuButton}) {
        RECT key = ButtonOnScreen(bar, command);
        key.top += 2;
        ASSERT_GT(key.right - key.left, 10);
        EXPECT_GE(simtest::ColoursIn(*screen, key).size(), 2u) << "soft key " << command;
    }
}

TEST_F(MenuBarTest, SoftKeysFromAPlainMenuSendTheItemsCommands) {
    simtest::Handler plain;
    auto program = Launch(
        [&](HINSTANCE instance) {
            simtest::RegisterTestClass();
            frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
            SHMENUBARINFO info;
            info.hwndParent = frame;
            info.dwFlags = SHCMBF_HMENU;
            info.nToolBarId = simtest::kSoftKeyMenu;
            info.hInstRes = instance;
            created = SHCreateMenuBar(&info);
            bar = info.hwndMB;
        },
        resources);
    ASSERT_TRUE(created);
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 2);
    const RECT ok = ButtonOnScreen(bar, IDOK);
    const RECT cancel = ButtonOnScreen(bar, IDCANCEL);
    EXPECT_LT(ok.right, cancel.left + 1);
    auto log = device->Recorders().Record({frame});
    automation->Tap(Centre(cancel));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(
        log->Check(frame,
                   {{WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), std::nullopt, std::nullopt}},
                   {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_CTLCOLORSTATIC}),
        "");
}

// The frame re-registers its hot keys and re-applies its layout whenever it
// becomes active, and lets them go when it does not: showing its own bar
// must not take activation from it, nor must a tap on a soft key.
TEST_F(MenuBarTest, ShowingOrTappingTheBarLeavesItsOwnerActive) {
    simtest::Handler plain;
    auto program = LaunchFrame(plain);
    ASSERT_EQ(automation->Foreground(), frame);
    auto log = device->Recorders().Record({frame});
    OnProgram(program, [&] {
        ShowWindow(bar, SW_HIDE);
        ShowWindow(bar, SW_SHOW);
        ShowWindow(bar, SW_SHOW);
    });
    automation->Tap(Centre(ButtonOnScreen(bar, simtest::kOpenCommand)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(automation->Foreground(), frame);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_FALSE(log->Received(frame, WM_ACTIVATE));
    EXPECT_TRUE(log->Received(frame, WM_COMMAND));
}

TEST_F(MenuBarTest, AMissingResourceMakesNoBar) {
    simtest::Handler plain;
    auto program = Launch(
        [&](HINSTANCE instance) {
            simtest::RegisterTestClass();
            frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
            SHMENUBARINFO info;
            info.hwndParent = frame;
            info.nToolBarId = 999;
            info.hInstRes = instance;
            created = SHCreateMenuBar(&info);
            bar = info.hwndMB;
        },
        resources);
    EXPECT_FALSE(created);
    EXPECT_EQ(bar, nullptr);
    EXPECT_EQ(simtest::MenuBarOf(*automation, frame), nullptr);
}

TEST_F(MenuBarTest, OverrideKeyIsAcceptedAndRecorded) {
    simtest::Handler plain;
    auto program = LaunchFrame(plain);
    EXPECT_EQ(SendMessageW(bar, SHCMBM_OVERRIDEKEY, 0x86, MAKELPARAM(0x0003, 0x0003)), TRUE);
    EXPECT_EQ(sim::KeyOverrideOf(bar, 0x86), MAKELONG(3, 3));
    EXPECT_EQ(sim::KeyOverrideOf(bar, VK_F1), 0u);
    // A later message changes only the bits its mask names.
    SendMessageW(bar, SHCMBM_OVERRIDEKEY, 0x86, MAKELPARAM(SHMBOF_NOTIFY, 0));
    EXPECT_EQ(sim::KeyOverrideOf(bar, 0x86), MAKELONG(3, SHMBOF_NODEFAULT));
    const auto entries = automation->Journal("SHCMBM_OVERRIDEKEY");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].args[1].Int(), 0x86);
}

} // namespace
