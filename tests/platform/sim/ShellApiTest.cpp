// The shell's tap-and-hold recognition: a hold is recognised after the delay,
// with its animation on the screen meanwhile; a plain tap and a stylus that
// moves away are not; the result goes back as asked (returned, or WM_NOTIFY to
// the window or its parent). And the shell's dialog sizing.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Program.h"
#include "platform/Shell.h"
#include "platform/sim/Theme.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;

class ShellApiTest : public DeviceTest {
protected:
    // A window whose WM_LBUTTONDOWN asks the shell whether the press is a
    // hold, with the given flags.
    simtest::RunningProgram LaunchRecognizer(DWORD flags) {
        recognizing = [this, flags](HWND window, UINT message, WPARAM,
                                    LPARAM lParam) -> std::optional<LRESULT> {
            if (message == WM_LBUTTONDOWN) {
                SHRGINFO info;
                info.hwndClient = window;
                info.ptDown = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                info.dwFlags = flags;
                results.push_back(SHRecognizeGesture(&info));
                resultTimes.push_back(GetTickCount());
                return 0;
            }
            if (message == WM_LBUTTONUP) {
                ++releases;
                return 0;
            }
            if (message == WM_NOTIFY) {
                const auto* notice = reinterpret_cast<const NMRGINFO*>(lParam);
                notified.push_back(*notice);
                notifiedWindows.push_back(window);
                return 55;
            }
            return std::nullopt;
        };
        return Launch([this](HINSTANCE) {
            simtest::RegisterTestClass();
            frame = simtest::CreateTestWindow(&recognizing, WS_VISIBLE, RECT{0, 26, 240, 294});
            view = simtest::CreateTestWindow(&recognizing, WS_CHILD | WS_VISIBLE,
                                             RECT{0, 0, 240, 200}, frame, 0xE900);
        });
    }

    bool RedDotsOnScreen() const {
        const auto screen = automation->Screenshot();
        for (int y = 26; y < 200; ++y) {
            for (int x = 0; x < 240; ++x) {
                const std::uint32_t pixel = screen->Pixel(x, y);
                if (((pixel >> 16) & 0xFF) > 0xC0 && ((pixel >> 8) & 0xFF) < 0x40) {
                    return true;
                }
            }
        }
        return false;
    }

    Handler recognizing;
    HWND frame = nullptr;
    HWND view = nullptr;
    std::vector<DWORD> results;
    std::vector<DWORD> resultTimes;
    std::vector<NMRGINFO> notified;
    std::vector<HWND> notifiedWindows;
    int releases = 0;
};

TEST_F(ShellApiTest, HoldIsRecognisedAfterTheDelayWithTheAnimationShowing) {
    auto program = LaunchRecognizer(SHRG_RETURNCMD);
    automation->Hold(POINT{100, 100}, 1000);
    ASSERT_TRUE(device->Advance(300));
    EXPECT_TRUE(results.empty());
    EXPECT_TRUE(RedDotsOnScreen());
    ASSERT_TRUE(device->Advance(300));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], GN_CONTEXTMENU);
    EXPECT_EQ(resultTimes[0], 500u);
    // The animation is gone; the release still reaches the window later.
    EXPECT_FALSE(RedDotsOnScreen());
    EXPECT_EQ(releases, 0);
    ASSERT_TRUE(device->Advance(400));
    EXPECT_EQ(releases, 1);
    const auto journal = automation->Journal("SHRecognizeGesture");
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].result, sim::JournalValue(static_cast<long long>(GN_CONTEXTMENU)));
}

TEST_F(ShellApiTest, PlainTapAndAStylusThatMovesAwayAreNoHold) {
    auto program = LaunchRecognizer(SHRG_RETURNCMD);
    automation->Tap(POINT{100, 100});
    ASSERT_TRUE(device->RunUntilIdle());
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], 0u);
    EXPECT_EQ(resultTimes[0], 0u);
    EXPECT_EQ(releases, 1);

    // A small wobble is still a hold; a move away is not.
    automation->StylusDown(POINT{100, 100});
    automation->StylusMove(POINT{102, 101}, 100);
    automation->StylusMove(POINT{140, 100}, 100);
    automation->StylusUp(POINT{140, 100}, 400);
    ASSERT_TRUE(device->Advance(1000));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[1], 0u);
    EXPECT_EQ(resultTimes[1], 200u);
    EXPECT_FALSE(RedDotsOnScreen());
}

TEST_F(ShellApiTest, HoldNotifiesTheParentWhenAskedAndReturnsItsAnswer) {
    auto program = LaunchRecognizer(SHRG_NOTIFYPARENT | SHRG_NOANIMATION);
    automation->Hold(POINT{50, 60}, 800);
    ASSERT_TRUE(device->Advance(200));
    EXPECT_FALSE(RedDotsOnScreen());
    ASSERT_TRUE(device->Advance(800));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], 55u);
    ASSERT_EQ(notified.size(), 1u);
    EXPECT_EQ(notifiedWindows[0], frame);
    EXPECT_EQ(notified[0].hdr.hwndFrom, view);
    EXPECT_EQ(notified[0].hdr.idFrom, 0xE900u);
    EXPECT_EQ(notified[0].hdr.code, GN_CONTEXTMENU);
    EXPECT_EQ(notified[0].ptAction.x, 50);
    EXPECT_EQ(notified[0].ptAction.y, 60);
}

TEST_F(ShellApiTest, LongDelayWaitsASecond) {
    auto program = LaunchRecognizer(SHRG_RETURNCMD | SHRG_LONGDELAY);
    automation->Hold(POINT{100, 100}, 2000);
    ASSERT_TRUE(device->Advance(900));
    EXPECT_TRUE(results.empty());
    ASSERT_TRUE(device->Advance(200));
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(resultTimes[0], 1000u);
}

TEST_F(ShellApiTest, InitDialogSizesADialogToTheScreenTheShellsWay) {
    Handler plain;
    HWND dialog = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        dialog = simtest::CreateTestWindow(&plain, WS_POPUP | WS_VISIBLE, RECT{10, 40, 100, 100});
        SHINITDLGINFO info;
        info.dwMask = SHIDIM_FLAGS;
        info.hDlg = dialog;
        info.dwFlags = SHIDIF_SIZEDLG;
        EXPECT_TRUE(SHInitDialog(&info));
    });
    RECT rect{};
    GetWindowRect(dialog, &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 26);
    EXPECT_EQ(rect.right, 240);
    EXPECT_EQ(rect.bottom, 320 - 26);
}

} // namespace
