// Input: taps to the window under the stylus in its client coordinates (or to
// the capture), taps on a disabled window going nowhere, double taps, keys and
// typed text to the focus window, hot keys with their press and release
// notifications, application buttons and accelerators.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Input.h"
#include "platform/Program.h"
#include "platform/Shell.h"
#include "platform/sim/InputRouter.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;

struct Seen {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen&) const = default;
};

class InputRouterTest : public DeviceTest {
protected:
    // A frame at (0, 26) with a child at (20, 30) in its client area; both
    // record what they get.
    void SetUp() override {
        recording = [this](HWND window, UINT message, WPARAM wParam,
                           LPARAM lParam) -> std::optional<LRESULT> {
            const bool input = (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
                               (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                               message == WM_HOTKEY || message == WM_COMMAND;
            if (input) {
                seen.push_back(Seen{window, message, wParam, lParam});
            }
            if (message == WM_LBUTTONDOWN && window == child && captureOnPress) {
                SetCapture(window);
            }
            if (message == WM_LBUTTONUP && GetCapture() == window) {
                ReleaseCapture();
            }
            return std::nullopt;
        };
    }

    simtest::RunningProgram LaunchFrame(UINT classStyle = 0) {
        return Launch([this, classStyle](HINSTANCE) {
            simtest::RegisterTestClass(classStyle);
            frame = simtest::CreateTestWindow(&recording, WS_VISIBLE, RECT{0, 26, 240, 294});
            child = simtest::CreateTestWindow(&recording, WS_CHILD | WS_VISIBLE,
                                              RECT{20, 30, 120, 130}, frame, 5);
        });
    }

    std::vector<Seen> Of(UINT message) const {
        std::vector<Seen> found;
        for (const Seen& s : seen) {
            if (s.message == message) {
                found.push_back(s);
            }
        }
        return found;
    }

    Handler recording;
    std::vector<Seen> seen;
    HWND frame = nullptr;
    HWND child = nullptr;
    bool captureOnPress = false;
};

TEST_F(InputRouterTest, TapGoesToTheWindowUnderTheStylusInItsClientCoordinates) {
    auto program = LaunchFrame();
    automation->Tap(POINT{30, 26 + 40});
    automation->Tap(POINT{200, 26 + 200});
    ASSERT_TRUE(device->RunUntilIdle());
    const std::vector<Seen> expected = {
        {child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)},
        {child, WM_LBUTTONUP, 0, MAKELPARAM(10, 10)},
        {frame, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 200)},
        {frame, WM_LBUTTONUP, 0, MAKELPARAM(200, 200)},
    };
    EXPECT_EQ(seen, expected);
}

TEST_F(InputRouterTest, CaptureTakesTheStylusWhereverItGoes) {
    captureOnPress = true;
    auto program = LaunchFrame();
    automation->Drag(POINT{30, 26 + 40}, POINT{200, 26 + 200}, 100, 2);
    ASSERT_TRUE(device->Advance(100));
    ASSERT_FALSE(seen.empty());
    for (const Seen& s : seen) {
        EXPECT_EQ(s.window, child);
    }
    // Outside the child's client area the coordinates run past its edge.
    const auto ups = Of(WM_LBUTTONUP);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(ups[0].lParam, MAKELPARAM(180, 170));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(InputRouterTest, TapOnAWindowDisabledByAModalWindowGoesNowhere) {
    auto program = LaunchFrame();
    OnProgram(program, [&] { EnableWindow(frame, FALSE); });
    automation->Tap(POINT{30, 26 + 40});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(seen.empty());
}

TEST_F(InputRouterTest, TwoQuickTapsMakeADoubleTapOnlyForClassesThatAskForIt) {
    {
        auto program = LaunchFrame(CS_DBLCLKS);
        automation->Tap(POINT{200, 226});
        automation->Tap(POINT{201, 226});
        ASSERT_TRUE(device->RunUntilIdle());
        EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
        EXPECT_EQ(Of(WM_LBUTTONDBLCLK).size(), 1u);
        // Later taps start afresh.
        seen.clear();
        ASSERT_TRUE(device->Advance(1000));
        automation->Tap(POINT{200, 226});
        ASSERT_TRUE(device->RunUntilIdle());
        EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
    }
}

TEST_F(InputRouterTest, KeysNoHotKeyHoldsGoToTheFocusWindowAndTypeCharacters) {
    auto program = LaunchFrame();
    OnProgram(program, [&] { SetFocus(child); });
    automation->PressKey('A');
    automation->PressKey('B', MOD_SHIFT);
    automation->TypeText(u"é!");
    ASSERT_TRUE(device->RunUntilIdle());
    const auto downs = Of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0].window, child);
    EXPECT_EQ(downs[0].wParam, WPARAM{'A'});
    EXPECT_EQ(downs[1].wParam, WPARAM{VK_SHIFT});
    EXPECT_EQ(Of(WM_KEYUP).size(), 3u);
    std::u16string typed;
    for (const Seen& s : Of(WM_CHAR)) {
        EXPECT_EQ(s.window, child);
        typed.push_back(static_cast<char16_t>(s.wParam));
    }
    EXPECT_EQ(typed, u"aBé!");
}

TEST_F(InputRouterTest, HotKeyWithKeyUpGivesANotificationAtPressAndAtRelease) {
    auto program = LaunchFrame();
    BOOL registered = FALSE;
    BOOL again = TRUE;
    OnProgram(program, [&] {
        registered = RegisterHotKey(frame, 1, MOD_WIN | MOD_KEYUP, VK_APP1);
        RegisterHotKey(frame, 104, 0, VK_F23);
        // A key that is registered keeps its registration.
        again = RegisterHotKey(child, 9, MOD_WIN, VK_APP1);
        SetFocus(child);
    });
    EXPECT_TRUE(registered);
    EXPECT_FALSE(again);
    automation->PressButton(sim::HardwareButton::App1);
    automation->PressButton(sim::HardwareButton::Action);
    automation->PressButton(sim::HardwareButton::App2);
    ASSERT_TRUE(device->RunUntilIdle());
    const std::vector<Seen> hotKeys = Of(WM_HOTKEY);
    const std::vector<Seen> expected = {
        {frame, WM_HOTKEY, 1, MAKELPARAM(MOD_WIN, VK_APP1)},
        {frame, WM_HOTKEY, 1, MAKELPARAM(MOD_WIN | MOD_KEYUP, VK_APP1)},
        {frame, WM_HOTKEY, 104, MAKELPARAM(0, VK_F23)},
    };
    EXPECT_EQ(hotKeys, expected);
    // The button no hot key holds reaches the focus window as keys.
    const auto downs = Of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].window, child);
    EXPECT_EQ(downs[0].wParam, WPARAM{VK_APP2});

    // Released, the key goes to the focus window.
    seen.clear();
    OnProgram(program, [&] { EXPECT_TRUE(UnregisterHotKey(frame, 1)); });
    OnProgram(program, [&] { EXPECT_FALSE(UnregisterHotKey(frame, 1)); });
    automation->PressButton(sim::HardwareButton::App1);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(Of(WM_HOTKEY).empty());
    EXPECT_EQ(Of(WM_KEYDOWN).size(), 1u);

    const auto journal = automation->Journal("RegisterHotKey");
    ASSERT_EQ(journal.size(), 3u);
    EXPECT_EQ(journal[0].args[2].Int(), 0x1008);
    EXPECT_EQ(journal[0].args[3].Int(), 0xC1);
    EXPECT_EQ(journal[0].result, sim::JournalValue(true));
    EXPECT_EQ(journal[2].result, sim::JournalValue(false));
    EXPECT_EQ(automation->Journal("UnregisterHotKey").size(), 2u);
}

TEST_F(InputRouterTest, HotKeysOfAWindowGoWithItAndAnotherProgramMayTakeTheKeyThen) {
    auto program = LaunchFrame();
    OnProgram(program, [&] { RegisterHotKey(child, 3, MOD_WIN, VK_APP3); });
    OnProgram(program, [&] { DestroyWindow(child); });
    BOOL taken = FALSE;
    auto other = Launch([&](HINSTANCE) { taken = RegisterHotKey(nullptr, 3, MOD_WIN, VK_APP3); });
    EXPECT_TRUE(taken);
}

TEST_F(InputRouterTest, AnApplicationButtonGivenToAWindowSendsItsKeysThere) {
    auto program = LaunchFrame();
    OnProgram(program, [&] {
        SetFocus(child);
        EXPECT_TRUE(SHSetAppKeyWndAssoc(VK_APP4, frame));
    });
    automation->PressButton(sim::HardwareButton::App4);
    ASSERT_TRUE(device->RunUntilIdle());
    const auto downs = Of(WM_KEYDOWN);
    ASSERT_EQ(downs.size(), 1u);
    EXPECT_EQ(downs[0].window, frame);
    EXPECT_EQ(Of(WM_KEYUP).at(0).window, frame);
    // Taken back with a null window.
    seen.clear();
    OnProgram(program, [&] { SHSetAppKeyWndAssoc(VK_APP4, nullptr); });
    automation->PressButton(sim::HardwareButton::App4);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(Of(WM_KEYDOWN).at(0).window, child);
    EXPECT_EQ(automation->Journal("SHSetAppKeyWndAssoc").size(), 2u);
}

TEST_F(InputRouterTest, TapOnAnotherProgramsWindowBringsItToTheFront) {
    auto program = LaunchFrame();
    std::vector<std::pair<HWND, WORD>> activations;
    Handler other = [&](HWND window, UINT message, WPARAM wParam,
                        LPARAM) -> std::optional<LRESULT> {
        if (message == WM_ACTIVATE) {
            activations.emplace_back(window, LOWORD(wParam));
        }
        return std::nullopt;
    };
    HWND otherWindow = nullptr;
    auto second = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        // A small window in front, in the lower part of the screen.
        otherWindow =
            simtest::CreateTestWindow(&other, WS_VISIBLE | WS_POPUP, RECT{0, 200, 240, 294});
    });
    EXPECT_EQ(automation->Foreground(), otherWindow);
    // A tap on the frame, which lies behind: the frame comes to the front and
    // still gets the tap.
    automation->Tap(POINT{200, 60});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(automation->Foreground(), frame);
    EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
    ASSERT_FALSE(activations.empty());
    EXPECT_EQ(activations.back(), std::make_pair(otherWindow, WORD{WA_INACTIVE}));
    // The keys now go to the frame's program.
    seen.clear();
    automation->PressKey('Q');
    ASSERT_TRUE(device->RunUntilIdle());
    ASSERT_EQ(Of(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_KEYDOWN)[0].window, frame);
}

TEST_F(InputRouterTest, HidingOrDisablingTheFocusWindowTakesTheFocusAway) {
    auto program = LaunchFrame();
    OnProgram(program, [&] { SetFocus(child); });
    EXPECT_EQ(automation->Focus(), child);
    OnProgram(program, [&] { ShowWindow(child, SW_HIDE); });
    EXPECT_EQ(automation->Focus(), frame);
    OnProgram(program, [&] {
        ShowWindow(child, SW_SHOW);
        SetFocus(child);
        EnableWindow(child, FALSE);
    });
    EXPECT_EQ(automation->Focus(), nullptr);
    // With no focus, keys go to the active window.
    automation->PressKey('Z');
    ASSERT_TRUE(device->RunUntilIdle());
    ASSERT_EQ(Of(WM_KEYDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_KEYDOWN)[0].window, frame);
}

TEST_F(InputRouterTest, AcceleratorsTurnKeysIntoCommandsWithTheirModifiers) {
    HACCEL table = nullptr;
    Handler looping = recording;
    sim::ProgramImage image;
    image.entry = [&](HINSTANCE, LPWSTR) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&looping, WS_VISIBLE, RECT{0, 26, 240, 294});
        const ACCEL entries[] = {{FVIRTKEY | FCONTROL, 'N', 57600}, {0, u'x', 40}};
        table = CreateAcceleratorTableW(entries, 2);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (!TranslateAcceleratorW(frame, table, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        DestroyAcceleratorTable(table);
        return 0;
    };
    sim::Program& program = device->Launch(image, u"");
    ASSERT_TRUE(device->RunUntilIdle());
    automation->PressKey('N', MOD_CONTROL);
    automation->PressKey('N');
    automation->TypeText(u"x");
    ASSERT_TRUE(device->RunUntilIdle());
    const auto commands = Of(WM_COMMAND);
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(57600, 1));
    EXPECT_EQ(commands[1].wParam, MAKEWPARAM(40, 1));
    // Plain N is no accelerator: it types.
    ASSERT_EQ(Of(WM_CHAR).size(), 1u);
    EXPECT_EQ(Of(WM_CHAR)[0].wParam, WPARAM{u'n'});
    device->RunOnProgram(program, [] { PostQuitMessage(0); });
    ASSERT_TRUE(device->RunUntil([&] { return program.Finished(); }, 1000));
}

} // namespace
