// The trackbar: the range and position messages and what they tell the
// parent (nothing), dragging the thumb, paging with taps on the channel, and
// the keys.
#include <gtest/gtest.h>

#include "ControlTestSupport.h"
#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/sim/MessageRecorder.h"

namespace {

using sim::Arrival;
using sim::ExpectedMessage;
using simtest::Centre;

class TrackbarControlTest : public simtest::DeviceTest {
protected:
    sim::Program& Running() { return *device->Programs().back(); }

    // Launches the test program; each test holds it while it runs.
    simtest::RunningProgram Start() {
        return Launch([&](HINSTANCE) {
            simtest::RegisterTestClass();
            parent = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
            trackbar =
                CreateWindowExW(0, TRACKBAR_CLASSW, nullptr, WS_CHILD | WS_VISIBLE, 0, 100, 240, 26,
                                parent, reinterpret_cast<HMENU>(9908), nullptr, nullptr);
        });
    }

    // The thumb's centre on the screen.
    POINT Thumb() const {
        RECT thumb{};
        SendMessageW(trackbar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        return Centre(simtest::ClientToScreenRect(trackbar, thumb));
    }

    // The WM_HSCROLL codes the parent got, with the positions of the thumb
    // codes.
    std::vector<std::pair<WORD, WORD>> Scrolls(const sim::MessageLog& log) const {
        std::vector<std::pair<WORD, WORD>> scrolls;
        for (const auto& message : log.Of(parent)) {
            if (message.message == WM_HSCROLL) {
                EXPECT_EQ(reinterpret_cast<HWND>(message.lParam), trackbar);
                scrolls.emplace_back(LOWORD(message.wParam), HIWORD(message.wParam));
            }
        }
        return scrolls;
    }

    simtest::Handler plain;
    HWND parent = nullptr;
    HWND trackbar = nullptr;
};

TEST_F(TrackbarControlTest, RangeDefaultsToZeroToHundredAndSettingThePositionTellsNobody) {
    auto program = Start();
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0), 0);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETRANGEMAX, 0, 0), 100);
    auto log = device->Recorders().Record({trackbar, parent});
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 1000);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 100);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, -5);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 0);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_FALSE(log->Received(parent, WM_HSCROLL));

    // The volume bar's range, minimum first, then maximum.
    SendMessageW(trackbar, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(trackbar, TBM_SETRANGEMAX, FALSE, 65535);
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 65535);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 65535);
    SendMessageW(trackbar, TBM_SETRANGE, TRUE, MAKELPARAM(10, 20));
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETRANGEMIN, 0, 0), 10);
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 20);
}

TEST_F(TrackbarControlTest, DraggingTheThumbMovesItAndSendsHScroll) {
    auto program = Start();
    auto log = device->Recorders().Record({parent});
    const POINT from = Thumb();
    const POINT to{from.x + 120, from.y};
    automation->Drag(from, to, 200, 8);
    ASSERT_TRUE(device->Advance(300));
    const LRESULT position = SendMessageW(trackbar, TBM_GETPOS, 0, 0);
    EXPECT_GT(position, 45);
    EXPECT_LT(position, 65);
    EXPECT_NEAR(Thumb().x, to.x, 2) << "the thumb follows the stylus";

    const auto scrolls = Scrolls(*log);
    ASSERT_GE(scrolls.size(), 3u);
    WORD last = 0;
    for (std::size_t i = 0; i + 2 < scrolls.size(); ++i) {
        EXPECT_EQ(scrolls[i].first, TB_THUMBTRACK);
        EXPECT_GT(scrolls[i].second, last) << "each track message carries the new position";
        last = scrolls[i].second;
    }
    EXPECT_EQ(scrolls[scrolls.size() - 2],
              (std::pair<WORD, WORD>{TB_THUMBPOSITION, static_cast<WORD>(position)}));
    EXPECT_EQ(scrolls.back().first, TB_ENDTRACK);
    for (const auto& message : log->Of(parent)) {
        if (message.message == WM_HSCROLL) {
            EXPECT_EQ(message.arrival, Arrival::Sent);
        }
    }
}

TEST_F(TrackbarControlTest, ATapOnTheChannelPagesTowardsItAndKeepsPagingWhileHeld) {
    auto program = Start();
    auto log = device->Recorders().Record({parent});
    const auto info = automation->Describe(trackbar);
    ASSERT_TRUE(info);
    const POINT farRight{info->clientRect.right - 10, Thumb().y};
    automation->Tap(farRight);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 20) << "one page, a fifth of the range";
    EXPECT_EQ(Scrolls(*log),
              (std::vector<std::pair<WORD, WORD>>{{TB_PAGEDOWN, 0}, {TB_ENDTRACK, 0}}));

    log->Clear();
    automation->Hold(farRight, 2000);
    ASSERT_TRUE(device->Advance(2500));
    EXPECT_GT(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 80)
        << "paging repeats while the stylus stays";
    EXPECT_EQ(Scrolls(*log).back().first, TB_ENDTRACK);
    EXPECT_LE(Scrolls(*log).size(), 6u) << "and stops at the stylus";
}

TEST_F(TrackbarControlTest, KeysStepThePositionAndEndTheTrackOnRelease) {
    auto program = Start();
    automation->TapWindow(trackbar);
    ASSERT_TRUE(device->RunUntilIdle());
    SendMessageW(trackbar, TBM_SETPOS, TRUE, 50);
    auto log = device->Recorders().Record({parent});
    automation->PressKey(VK_RIGHT);
    automation->PressKey(VK_NEXT);
    automation->PressKey(VK_HOME);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(SendMessageW(trackbar, TBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(Scrolls(*log), (std::vector<std::pair<WORD, WORD>>{{TB_LINEDOWN, 0},
                                                                 {TB_ENDTRACK, 0},
                                                                 {TB_PAGEDOWN, 0},
                                                                 {TB_ENDTRACK, 0},
                                                                 {TB_TOP, 0},
                                                                 {TB_ENDTRACK, 0}}));
}

} // namespace
