// The shell's side of the screen: full screen per window, the task bar that
// follows the foreground window, the Today screen that takes the front from a
// program and gives it back, and the shell's extra controls.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Shell.h"
#include "platform/sim/BuiltInPrograms.h"
#include "platform/sim/Screen.h"
#include "platform/sim/SystemServices.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;

class ShellStateTest : public DeviceTest {};

TEST_F(ShellStateTest, FullScreenHidesTheTaskBarWhileItsWindowIsInFront) {
    Handler plain;
    std::vector<WORD> activations;
    Handler frameHandler = [&](HWND, UINT message, WPARAM wParam,
                               LPARAM) -> std::optional<LRESULT> {
        if (message == WM_ACTIVATE) {
            activations.push_back(LOWORD(wParam));
        }
        return std::nullopt;
    };
    HWND frame = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&frameHandler, WS_VISIBLE, RECT{0, 0, 240, 320});
        EXPECT_TRUE(SHFullScreen(frame, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON));
        EXPECT_FALSE(SHFullScreen(reinterpret_cast<HWND>(0x7777770), SHFS_HIDETASKBAR));
    });
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(device->GetScreen().TaskBarVisible());
    EXPECT_TRUE(device->Services().Shell().Of(frame).sipButtonHidden);

    // The Today screen comes to the front: the program is deactivated and the
    // task bar is back; then the program returns and hides it again.
    activations.clear();
    const HWND today = device->Services().ShowTodayScreen();
    ASSERT_NE(today, nullptr) << automation->Report();
    EXPECT_EQ(automation->Foreground(), today);
    EXPECT_EQ(automation->Describe(today)->text, u"Today");
    EXPECT_TRUE(device->GetScreen().TaskBarVisible());
    EXPECT_EQ(activations, std::vector<WORD>{WA_INACTIVE});

    EXPECT_TRUE(device->Services().BringToFront(frame));
    EXPECT_EQ(automation->Foreground(), frame);
    EXPECT_FALSE(device->GetScreen().TaskBarVisible());
    EXPECT_EQ(activations, (std::vector<WORD>{WA_INACTIVE, WA_ACTIVE}));

    // A show after a hide: the task bar comes back; a show and a hide of the
    // same element at once leave it hidden.
    OnProgram(program, [&] { SHFullScreen(frame, SHFS_SHOWTASKBAR); });
    EXPECT_TRUE(device->GetScreen().TaskBarVisible());
    OnProgram(program, [&] { SHFullScreen(frame, SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR); });
    EXPECT_FALSE(device->GetScreen().TaskBarVisible());

    const auto calls = automation->Journal("SHFullScreen");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_EQ(calls[0].args[1].Int(), SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON);
    EXPECT_EQ(calls[1].result, sim::JournalValue(false));
}

TEST_F(ShellStateTest, TheExtraControlsAreThereOnceInitialised) {
    WNDCLASSW found;
    BOOL before = TRUE, after = FALSE;
    auto program = Launch([&](HINSTANCE) {
        before = GetClassInfoW(nullptr, u"SIPPREF", &found);
        EXPECT_TRUE(SHInitExtraControls());
        EXPECT_TRUE(SHInitExtraControls());
        after = GetClassInfoW(nullptr, u"SIPPREF", &found);
    });
    EXPECT_FALSE(before);
    EXPECT_TRUE(after);
    EXPECT_EQ(automation->Journal("SHInitExtraControls").size(), 2u);
}

} // namespace
