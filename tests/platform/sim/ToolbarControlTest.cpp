// Toolbar buttons, on the menu bar as the player appends them and on a plain
// toolbar: images from a bitmap resource, hiding and pressing by command id,
// the button information messages, and taps.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Shell.h"
#include "platform/sim/MessageRecorder.h"

namespace {

using simtest::ButtonOnScreen;
using simtest::Centre;

constexpr int kRed = 1001;
constexpr int kBlue = 1002;

class ToolbarControlTest : public simtest::DeviceTest {
protected:
    // The menu bar with two image buttons after its soft keys, as the player
    // appends a toolbar resource's buttons.
    simtest::RunningProgram LaunchWithButtons(simtest::Handler& handler) {
        return Launch(
            [&](HINSTANCE instance) {
                simtest::RegisterTestClass();
                frame = simtest::CreateTestWindow(&handler, WS_VISIBLE, RECT{0, 26, 240, 294});
                SHMENUBARINFO info;
                info.hwndParent = frame;
                info.nToolBarId = simtest::kMainMenuBar;
                info.hInstRes = instance;
                SHCreateMenuBar(&info);
                bar = info.hwndMB;
                TBADDBITMAP images;
                images.hInst = instance;
                images.nID = simtest::kToolbarBitmap;
                firstImage = SendMessageW(bar, TB_ADDBITMAP, 2, reinterpret_cast<LPARAM>(&images));
                TBBUTTON buttons[3];
                buttons[0].iBitmap = static_cast<int>(firstImage);
                buttons[0].idCommand = kRed;
                buttons[0].fsState = TBSTATE_ENABLED;
                buttons[1].iBitmap = 8;
                buttons[1].fsStyle = TBSTYLE_SEP;
                buttons[2].iBitmap = static_cast<int>(firstImage) + 1;
                buttons[2].idCommand = kBlue;
                buttons[2].fsState = TBSTATE_ENABLED;
                added = SendMessageW(bar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
            },
            resources);
    }

    std::vector<std::byte> resources = simtest::ControlTestResources();
    HWND frame = nullptr;
    HWND bar = nullptr;
    LRESULT firstImage = -1;
    LRESULT added = FALSE;
};

TEST_F(ToolbarControlTest, AppendedButtonsShowTheirImages) {
    simtest::Handler plain;
    auto program = LaunchWithButtons(plain);
    EXPECT_EQ(firstImage, 0);
    EXPECT_TRUE(added);
    EXPECT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 5);
    const RECT red = ButtonOnScreen(bar, kRed);
    const RECT blue = ButtonOnScreen(bar, kBlue);
    EXPECT_GT(red.left, ButtonOnScreen(bar, simtest::kMenuButton).left) << "after the soft keys";
    EXPECT_GT(blue.left, red.right - 1);
    const auto screen = automation->Screenshot();
    const auto redColours = simtest::ColoursIn(*screen, red);
    const auto blueColours = simtest::ColoursIn(*screen, blue);
    EXPECT_TRUE(redColours.count(simtest::kFirstImageColour)) << "the first image is drawn";
    EXPECT_FALSE(redColours.count(simtest::kSecondImageColour));
    EXPECT_TRUE(blueColours.count(simtest::kSecondImageColour));
    EXPECT_FALSE(redColours.count(0xFFC0C0C0)) << "the key grey lets the bar show through";
}

TEST_F(ToolbarControlTest, HiddenButtonsTakeNoRoomAndSendNothing) {
    simtest::Handler plain;
    auto program = LaunchWithButtons(plain);
    const RECT redBefore = ButtonOnScreen(bar, kRed);
    const RECT blueBefore = ButtonOnScreen(bar, kBlue);
    EXPECT_TRUE(SendMessageW(bar, TB_HIDEBUTTON, kRed, MAKELPARAM(TRUE, 0)));
    EXPECT_EQ(SendMessageW(bar, TB_ISBUTTONHIDDEN, kRed, 0), TRUE);
    const RECT redHidden = ButtonOnScreen(bar, kRed);
    EXPECT_EQ(redHidden.left, redHidden.right) << "no room";
    const RECT blueAfter = ButtonOnScreen(bar, kBlue);
    EXPECT_EQ(blueAfter.left, blueBefore.left - (redBefore.right - redBefore.left));

    auto log = device->Recorders().Record({frame});
    // Where the hidden button was, the ones after it now are.
    automation->Tap(Centre(redBefore));
    // Past the last button there is nothing.
    automation->Tap(POINT{blueBefore.right - 2, Centre(blueBefore).y});
    ASSERT_TRUE(device->RunUntilIdle());
    int reds = 0;
    int blues = 0;
    for (const auto& message : log->Of(frame)) {
        if (message.message == WM_COMMAND) {
            reds += LOWORD(message.wParam) == kRed ? 1 : 0;
            blues += LOWORD(message.wParam) == kBlue ? 1 : 0;
        }
    }
    EXPECT_EQ(reds, 0);
    EXPECT_EQ(blues, 1);

    SendMessageW(bar, TB_HIDEBUTTON, kRed, MAKELPARAM(FALSE, 0));
    EXPECT_EQ(ButtonOnScreen(bar, kBlue).left, blueBefore.left) << "showing it makes room again";
}

TEST_F(ToolbarControlTest, ButtonInfoReadsAndWritesTheStateByCommand) {
    simtest::Handler plain;
    auto program = LaunchWithButtons(plain);
    // The record size of the handheld, as the player passes it.
    TBBUTTONINFOW info;
    info.cbSize = 32;
    info.dwMask = TBIF_STATE;
    EXPECT_EQ(SendMessageW(bar, TB_GETBUTTONINFOW, kBlue, reinterpret_cast<LPARAM>(&info)), 4);
    EXPECT_EQ(info.fsState, TBSTATE_ENABLED);
    info.fsState |= TBSTATE_PRESSED;
    EXPECT_TRUE(SendMessageW(bar, TB_SETBUTTONINFOW, kBlue, reinterpret_cast<LPARAM>(&info)));
    EXPECT_EQ(SendMessageW(bar, TB_ISBUTTONPRESSED, kBlue, 0), TRUE);
    EXPECT_EQ(SendMessageW(bar, TB_GETBUTTONINFOW, 4242, reinterpret_cast<LPARAM>(&info)), -1);
    EXPECT_FALSE(SendMessageW(bar, TB_SETBUTTONINFOW, 4242, reinterpret_cast<LPARAM>(&info)));

    // Pressed shows: the button's face is no longer the bar's.
    const auto screen = automation->Screenshot();
    const RECT blue = ButtonOnScreen(bar, kBlue);
    const RECT red = ButtonOnScreen(bar, kRed);
    EXPECT_NE(screen->Pixel(blue.left + 1, blue.top + 2), screen->Pixel(red.left + 1, red.top + 2));

    SendMessageW(bar, TB_PRESSBUTTON, kBlue, MAKELPARAM(FALSE, 0));
    info.dwMask = TBIF_STATE | TBIF_IMAGE | TBIF_COMMAND;
    SendMessageW(bar, TB_GETBUTTONINFOW, kBlue, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.fsState, TBSTATE_ENABLED);
    EXPECT_EQ(info.iImage, 1);
    EXPECT_EQ(info.idCommand, kBlue);
}

TEST_F(ToolbarControlTest, DisabledButtonsAndTapsThatSlideOffSendNothing) {
    simtest::Handler plain;
    auto program = LaunchWithButtons(plain);
    SendMessageW(bar, TB_ENABLEBUTTON, kRed, MAKELPARAM(FALSE, 0));
    auto log = device->Recorders().Record({frame});
    automation->Tap(Centre(ButtonOnScreen(bar, kRed)));
    const RECT blue = ButtonOnScreen(bar, kBlue);
    automation->StylusDown(Centre(blue));
    automation->StylusMove(POINT{Centre(blue).x, 100}, 10);
    automation->StylusUp(POINT{Centre(blue).x, 100}, 10);
    ASSERT_TRUE(device->Advance(50));
    EXPECT_FALSE(log->Received(frame, WM_COMMAND));
}

TEST_F(ToolbarControlTest, CheckButtonsToggleAndGroupsKeepOneChecked) {
    simtest::Handler plain;
    HWND toolbar = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 240,
                                  24, frame, reinterpret_cast<HMENU>(7), nullptr, nullptr);
        TBBUTTON buttons[3];
        for (int i = 0; i < 3; ++i) {
            buttons[i].idCommand = 10 + i;
            buttons[i].fsState = TBSTATE_ENABLED;
            buttons[i].fsStyle = i == 0 ? TBSTYLE_CHECK : TBSTYLE_CHECKGROUP;
            buttons[i].iString = reinterpret_cast<INT_PTR>(i == 0   ? u"One"
                                                           : i == 1 ? u"Two"
                                                                    : u"Six");
        }
        SendMessageW(toolbar, TB_ADDBUTTONSW, 3, reinterpret_cast<LPARAM>(buttons));
    });
    ASSERT_NE(toolbar, nullptr);
    auto log = device->Recorders().Record({frame});
    automation->Tap(Centre(ButtonOnScreen(toolbar, 10)));
    automation->Tap(Centre(ButtonOnScreen(toolbar, 11)));
    automation->Tap(Centre(ButtonOnScreen(toolbar, 12)));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 10, 0), TRUE);
    EXPECT_EQ(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 11, 0), FALSE);
    EXPECT_EQ(SendMessageW(toolbar, TB_ISBUTTONCHECKED, 12, 0), TRUE);
    int commands = 0;
    for (const auto& message : log->Of(frame)) {
        if (message.message == WM_COMMAND) {
            EXPECT_EQ(reinterpret_cast<HWND>(message.lParam), toolbar);
            ++commands;
        }
    }
    EXPECT_EQ(commands, 3);
}

} // namespace
