// Messages: sending and posting, the quit code, timers on the device clock,
// sending between programs, posting from other threads, and the lockstep of
// waits with the driver's clock.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "DeviceTestSupport.h"
#include "platform/BackgroundWork.h"
#include "platform/Painting.h"
#include "platform/Program.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;

class MessagingTest : public DeviceTest {};

constexpr UINT kPing = WM_APP + 1;

TEST_F(MessagingTest, PostedMessagesArriveInOrderAfterSentOnesAndTheQuitCodeIsTheExitCode) {
    std::vector<std::pair<UINT, WPARAM>> seen;
    Handler recording = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message >= WM_APP) {
            seen.emplace_back(message, wParam);
            return static_cast<LRESULT>(wParam * 2);
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    LRESULT sentAnswer = 0;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&recording, 0, RECT{0, 0, 10, 10});
        PostMessageW(window, kPing, 1, 0);
        PostMessageW(window, kPing, 2, 0);
        sentAnswer = SendMessageW(window, kPing + 1, 21, 0);
        PostMessageW(window, kPing, 3, 0);
        PostQuitMessage(7);
    });
    EXPECT_EQ(sentAnswer, 42);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {kPing + 1, 21}, {kPing, 1}, {kPing, 2}, {kPing, 3}};
    EXPECT_EQ(seen, expected);
    ASSERT_TRUE(program->Finished());
    EXPECT_EQ(program->ExitCode(), 7);
    // The program's windows went with it.
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(MessagingTest, FiltersTakeOnlyTheMessagesAskedForAndThreadMessagesHaveNoWindow) {
    Handler plain;
    std::vector<UINT> taken;
    MSG threadMessage{};
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        const HWND first = simtest::CreateTestWindow(&plain, 0, RECT{0, 0, 10, 10});
        const HWND second = simtest::CreateTestWindow(&plain, 0, RECT{0, 0, 10, 10});
        PostMessageW(first, kPing, 1, 0);
        PostMessageW(second, kPing + 1, 2, 0);
        PostMessageW(first, kPing + 2, 3, 0);
        PostThreadMessageW(GetCurrentThreadId(), kPing + 3, 4, 0);
        MSG msg;
        // Only the second window's messages.
        while (PeekMessageW(&msg, second, 0, 0, PM_REMOVE)) {
            taken.push_back(msg.message);
        }
        // Only a range, leaving the rest queued.
        EXPECT_TRUE(PeekMessageW(&msg, nullptr, kPing + 2, kPing + 3, PM_NOREMOVE));
        EXPECT_EQ(msg.message, kPing + 2);
        EXPECT_TRUE(GetMessageW(&msg, nullptr, kPing + 2, kPing + 3));
        taken.push_back(msg.message);
        EXPECT_TRUE(GetMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0));
        threadMessage = msg;
        EXPECT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
        taken.push_back(msg.message);
    });
    EXPECT_EQ(taken, (std::vector<UINT>{kPing + 1, kPing + 2, kPing}));
    EXPECT_EQ(threadMessage.hwnd, nullptr);
    EXPECT_EQ(threadMessage.message, kPing + 3);
    EXPECT_EQ(threadMessage.wParam, 4u);
}

TEST_F(MessagingTest, TimersFireOnTheDeviceClockUntilKilled) {
    int ticks = 0;
    int procedureTicks = 0;
    static int* procedureCounter = nullptr;
    procedureCounter = &procedureTicks;
    Handler counting = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER && wParam == 101) {
            ++ticks;
            return 0;
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&counting, 0, RECT{0, 0, 10, 10});
        EXPECT_EQ(SetTimer(window, 101, 50, nullptr), 101u);
        const UINT_PTR threadTimer =
            SetTimer(nullptr, 0, 200, [](HWND, UINT, UINT_PTR, DWORD) { ++*procedureCounter; });
        EXPECT_NE(threadTimer, 0u);
    });
    EXPECT_EQ(ticks, 0);
    ASSERT_TRUE(device->Advance(1000));
    EXPECT_EQ(ticks, 20);
    EXPECT_EQ(procedureTicks, 5);
    EXPECT_EQ(GetTickCount(), 1000u);
    OnProgram(program, [&] { EXPECT_TRUE(KillTimer(window, 101)); });
    ASSERT_TRUE(device->Advance(1000));
    EXPECT_EQ(ticks, 20);
    EXPECT_EQ(procedureTicks, 10);
    OnProgram(program, [&] { EXPECT_FALSE(KillTimer(window, 101)); });
}

TEST_F(MessagingTest, TimersOfTwoProgramsTickInTimeOrderAndRunsStopWhenTheirGoalIsMet) {
    std::vector<std::pair<DWORD, int>> ticks;
    Handler first = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER) {
            ticks.emplace_back(GetTickCount(), 1);
            return 0;
        }
        return std::nullopt;
    };
    Handler second = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER) {
            ticks.emplace_back(GetTickCount(), 2);
            return 0;
        }
        return std::nullopt;
    };
    auto one = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        SetTimer(simtest::CreateTestWindow(&first, 0, RECT{0, 0, 10, 10}), 1, 30, nullptr);
    });
    auto two = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        SetTimer(simtest::CreateTestWindow(&second, 0, RECT{0, 0, 10, 10}), 1, 50, nullptr);
    });
    ASSERT_TRUE(device->Advance(150));
    const std::vector<std::pair<DWORD, int>> expected = {{30, 1},  {50, 2},  {60, 1},  {90, 1},
                                                         {100, 2}, {120, 1}, {150, 1}, {150, 2}};
    EXPECT_EQ(ticks, expected);
    // A run with a goal stops at the tick that meets it, not at its limit.
    ticks.clear();
    ASSERT_TRUE(device->RunUntil([&] { return ticks.size() >= 3; }, 10'000));
    EXPECT_EQ(device->Now(), 210u);
}

TEST_F(MessagingTest, SleepWaitsOnTheDeviceClock) {
    bool woke = false;
    sim::ProgramImage image;
    image.entry = [&](HINSTANCE, LPWSTR) {
        Sleep(50);
        woke = true;
        return GetTickCount() >= 50 ? 0 : 1;
    };
    sim::Program& program = device->Launch(image, u"");
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_FALSE(woke);
    ASSERT_TRUE(device->Advance(49));
    EXPECT_FALSE(woke);
    ASSERT_TRUE(device->Advance(1));
    EXPECT_TRUE(woke);
    EXPECT_EQ(program.ExitCode(), 0);
}

TEST_F(MessagingTest, SendingToAnotherProgramRunsOnItsThreadWhileTheSenderWaits) {
    DWORD handledOnThread = 0;
    Handler answering = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == kPing) {
            handledOnThread = GetCurrentThreadId();
            return static_cast<LRESULT>(wParam + 1);
        }
        return std::nullopt;
    };
    HWND target = nullptr;
    auto receiver = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        target = simtest::CreateTestWindow(&answering, 0, RECT{0, 0, 10, 10});
    });
    LRESULT answer = 0;
    DWORD senderThread = 0;
    auto sender = Launch([&](HINSTANCE) {
        senderThread = GetCurrentThreadId();
        answer = SendMessageW(target, kPing, 41, 0);
    });
    EXPECT_EQ(answer, 42);
    EXPECT_EQ(handledOnThread, receiver->ThreadId());
    EXPECT_NE(handledOnThread, senderThread);
    // The driver may send too: the call runs on the window's program.
    EXPECT_EQ(SendMessageW(target, kPing, 9, 0), 10);
}

TEST_F(MessagingTest, OtherThreadsPostAndTheVirtualClockWaitsForBackgroundWork) {
    std::vector<WPARAM> received;
    Handler recording = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == kPing) {
            received.push_back(wParam);
            return 0;
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&recording, 0, RECT{0, 0, 10, 10});
    });
    std::atomic<bool> go{false};
    std::thread worker;
    {
        // The worker holds its work open until it has posted; meanwhile the
        // device does not move its virtual clock on without it.
        auto work =
            std::make_shared<std::unique_ptr<BackgroundWork>>(std::make_unique<BackgroundWork>());
        worker = std::thread([&, work] {
            while (!go.load()) {
                std::this_thread::yield();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            EXPECT_TRUE(PostMessageW(window, kPing, 5, 0));
            EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x7FFF0002), kPing, 6, 0));
            work->reset();
        });
    }
    go = true;
    ASSERT_TRUE(device->RunUntil([&] { return !received.empty(); }, 0));
    worker.join();
    const std::vector<WPARAM> expected = {5};
    EXPECT_EQ(received, expected);
    EXPECT_EQ(device->Now(), 0u);
}

TEST_F(MessagingTest, PaintingFollowsInvalidationAndBeginPaintValidates) {
    std::vector<RECT> painted;
    Handler painting = [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            painted.push_back(paint.rcPaint);
            EndPaint(window, &paint);
            return 0;
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&painting, 0, RECT{0, 26, 100, 126});
    });
    // Hidden: nothing is painted yet.
    EXPECT_TRUE(painted.empty());
    OnProgram(program, [&] { ShowWindow(window, SW_SHOW); });
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].right, 100);
    painted.clear();
    ASSERT_TRUE(device->Advance(100));
    EXPECT_TRUE(painted.empty());
    // Two invalidations before the program runs make one paint of their union.
    OnProgram(program, [&] {
        const RECT first{10, 10, 20, 20};
        const RECT second{30, 5, 40, 15};
        InvalidateRect(window, &first, FALSE);
        InvalidateRect(window, &second, FALSE);
    });
    ASSERT_EQ(painted.size(), 1u);
    EXPECT_EQ(painted[0].left, 10);
    EXPECT_EQ(painted[0].top, 5);
    EXPECT_EQ(painted[0].right, 40);
    EXPECT_EQ(painted[0].bottom, 20);
    // Invalidation outside the client area is nothing to paint.
    painted.clear();
    OnProgram(program, [&] {
        const RECT outside{200, 200, 300, 300};
        InvalidateRect(window, &outside, TRUE);
    });
    EXPECT_TRUE(painted.empty());
}

class RealClockTest : public ::testing::Test {};

TEST_F(RealClockTest, TimersAndPostsFromOtherThreadsRunOnTheHostsClock) {
    sim::TemporaryDirectory directory;
    sim::DeviceConfig config;
    config.directory = directory.Path();
    config.clock = sim::ClockMode::Real;
    sim::Device device(config);
    int ticks = 0;
    std::vector<WPARAM> posted;
    Handler counting = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_TIMER) {
            ++ticks;
            return 0;
        }
        if (message == kPing) {
            posted.push_back(wParam);
            return 0;
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    sim::ProgramImage image;
    image.entry = [&](HINSTANCE, LPWSTR) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&counting, 0, RECT{0, 0, 10, 10});
        SetTimer(window, 1, 50, nullptr);
        return simtest::RunMessageLoop();
    };
    sim::Program& program = device.Launch(image, u"");
    ASSERT_TRUE(device.RunUntilIdle());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(device.Advance(175));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // The host's clock really passed, and the timer followed it.
    EXPECT_GE(elapsed, std::chrono::milliseconds(170));
    EXPECT_GE(ticks, 2);
    EXPECT_LE(ticks, 4);
    // A post from another thread wakes a run that is waiting on the clock.
    std::thread poster([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        PostMessageW(window, kPing, 8, 0);
    });
    EXPECT_TRUE(device.RunUntil([&] { return !posted.empty(); }, 5000));
    poster.join();
    EXPECT_LT(device.Now() -
                  static_cast<sim::DeviceTime>(
                      std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()),
              3000u);
    device.RunOnProgram(program, [] { PostQuitMessage(0); });
    EXPECT_TRUE(device.RunUntil([&] { return program.Finished(); }, 5000));
}

} // namespace
