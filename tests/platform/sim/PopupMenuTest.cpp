// Popup menus at a point: the modal loop on the program's queue (timers go
// on), a tap outside that closes the menu, grayed items and separators that
// choose nothing, TPM_RETURNCMD, and EndMenu.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Menus.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/PopupMenu.h"

namespace {

using simtest::Centre;

class PopupMenuTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        handler = [this](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_TIMER && wParam == 101) {
                ++ticks;
                if (endMenuOnTick) {
                    EndMenu();
                }
                return 0;
            }
            return std::nullopt;
        };
        return Launch(
            [&](HINSTANCE instance) {
                simtest::RegisterTestClass();
                view = simtest::CreateTestWindow(&handler, WS_VISIBLE, RECT{0, 26, 240, 294});
                menu = LoadMenuW(instance, MAKEINTRESOURCEW(simtest::kMainMenu));
                SetTimer(view, 101, 50, nullptr);
            },
            resources);
    }

    void Track(UINT flags) {
        EXPECT_FALSE(device->RunOnProgram(Running(), [this, flags] {
            result = TrackPopupMenuEx(GetSubMenu(menu, 0), flags, 20, 60, view, nullptr);
        }));
        const auto popups = simtest::OpenPopups(*automation);
        ASSERT_EQ(popups.size(), 1u);
        popup = popups[0];
        rows = sim::DescribePopupMenu(popup);
        ASSERT_EQ(rows.size(), 5u);
    }

    POINT RowOnScreen(int index) const {
        return Centre(
            simtest::ClientToScreenRect(popup, rows[static_cast<std::size_t>(index)].rect));
    }

    std::vector<std::byte> resources = simtest::ControlTestResources();
    simtest::Handler handler;
    HWND view = nullptr;
    HMENU menu = nullptr;
    HWND popup = nullptr;
    std::vector<sim::PopupMenuRow> rows;
    BOOL result = -1;
    int ticks = 0;
    bool endMenuOnTick = false;
};

TEST_F(PopupMenuTest, TimersKeepFiringWhileTheMenuIsOpenAndATapOutsideClosesIt) {
    auto program = Start();
    Track(0);
    const auto info = automation->Describe(popup);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->rect.left, 20);
    EXPECT_EQ(info->rect.top, 60);
    ticks = 0;
    ASSERT_TRUE(device->Advance(500));
    EXPECT_GE(ticks, 9);
    EXPECT_EQ(result, -1);

    auto log = device->Recorders().Record({view});
    automation->Tap(POINT{230, 290});
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(simtest::OpenPopups(*automation).empty());
    EXPECT_EQ(result, TRUE);
    EXPECT_FALSE(log->Received(view, WM_COMMAND));
    EXPECT_FALSE(log->Received(view, WM_LBUTTONDOWN)) << "the closing tap is the menu's";
}

TEST_F(PopupMenuTest, GrayedItemsAndSeparatorsChooseNothing) {
    auto program = Start();
    Track(0);
    auto log = device->Recorders().Record({view});
    automation->Tap(RowOnScreen(3));
    automation->Tap(RowOnScreen(1));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(simtest::OpenPopups(*automation).size(), 1u) << "still open";
    automation->Tap(RowOnScreen(0));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(simtest::OpenPopups(*automation).empty());
    int commands = 0;
    for (const auto& message : log->Of(view)) {
        if (message.message == WM_COMMAND) {
            EXPECT_EQ(LOWORD(message.wParam), simtest::kPlayCommand);
            ++commands;
        }
    }
    EXPECT_EQ(commands, 1);
}

TEST_F(PopupMenuTest, ReturnCommandGivesTheChoiceBackInsteadOfSendingIt) {
    auto program = Start();
    Track(TPM_RETURNCMD);
    auto log = device->Recorders().Record({view});
    automation->Tap(RowOnScreen(4));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(result, simtest::kExitCommand);
    EXPECT_FALSE(log->Received(view, WM_COMMAND));
}

TEST_F(PopupMenuTest, EndMenuClosesTheMenuFromInsideItsLoop) {
    auto program = Start();
    Track(TPM_RETURNCMD);
    endMenuOnTick = true;
    ASSERT_TRUE(device->Advance(100));
    EXPECT_TRUE(simtest::OpenPopups(*automation).empty());
    EXPECT_EQ(result, 0);
}

} // namespace
