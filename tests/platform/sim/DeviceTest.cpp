// The device itself: device paths, window handles unique among processes on
// one device directory, the journal's form, ending programs that are still
// running (even inside a modal loop), and a program that never waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "DeviceTestSupport.h"
#include "platform/Dialogs.h"
#include "platform/Program.h"
#include "platform/sim/HandleAllocator.h"
#include "platform/sim/Journal.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;

class DeviceRunTest : public DeviceTest {};

TEST_F(DeviceRunTest, DevicePathsLiveInStorageAndHostPathsStayAsTheyAre) {
    EXPECT_EQ(device->HostPath(u"\\A347BD5F-BAD90-46785.txt"),
              directory.Path() / "storage" / "A347BD5F-BAD90-46785.txt");
    EXPECT_EQ(device->HostPath(u"\\Program Files\\Vantrel\\Vantrel.exe.cfg"),
              directory.Path() / "storage" / "Program Files/Vantrel/Vantrel.exe.cfg");
    EXPECT_EQ(device->HostPath(u"/tmp/a.swf"), std::filesystem::path("/tmp/a.swf"));
    EXPECT_TRUE(std::filesystem::is_directory(directory.Path() / "storage"));
    EXPECT_TRUE(std::filesystem::is_directory(directory.Path() / "runtime"));
}

TEST_F(DeviceRunTest, WindowHandlesAreEvenAndUniqueAcrossAllocatorsOnOneDirectory) {
    // Two processes on one device directory each have an allocator of their
    // own; they take blocks from the same counter.
    sim::HandleAllocator first(directory.Path() / "runtime");
    sim::HandleAllocator second(directory.Path() / "runtime");
    std::set<HWND> seen;
    for (int i = 0; i < 40000; ++i) {
        const HWND a = first.NextWindow();
        const HWND b = second.NextWindow();
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % 2, 0u);
        EXPECT_LT(reinterpret_cast<std::uintptr_t>(a), 0x80000000u);
        EXPECT_TRUE(seen.insert(a).second);
        EXPECT_TRUE(seen.insert(b).second);
    }
}

TEST_F(DeviceRunTest, HandleWithTheLowBitSetNamesTheSameWindow) {
    Handler plain;
    HWND window = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
    });
    const HWND marked = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(window) | 1);
    EXPECT_TRUE(IsWindow(marked));
    OnProgram(program, [&] { EXPECT_TRUE(SetForegroundWindow(marked)); });
}

TEST(Journal, EntriesReadAsJsonObjects) {
    sim::JournalEntry entry;
    entry.time = 1250;
    entry.pid = 42;
    entry.call = "MessageBoxW";
    entry.args = {sim::JournalValue(std::u16string_view(u"Flash \"Movie\"\n")), 0x40, true, 2.5};
    entry.result = 1;
    EXPECT_EQ(entry.Json(), R"({"t": 1250, "pid": 42, "call": "MessageBoxW", "args": )"
                            R"(["Flash \"Movie\"\n", 64, true, 2.5], "result": 1})");
    sim::Journal journal;
    journal.Record(entry);
    entry.call = "RegisterHotKey";
    journal.Record(entry);
    EXPECT_EQ(journal.Calls("RegisterHotKey").size(), 1u);
    const std::string lines = journal.JsonLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 2);
}

TEST(DeviceLifetime, ProgramsStillRunningEndWhenTheDeviceGoesEvenInsideAModalLoop) {
    sim::TemporaryDirectory directory;
    bool loopReturned = false;
    bool windowDestroyed = false;
    Handler tracking = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) {
            windowDestroyed = true;
        }
        return std::nullopt;
    };
    {
        sim::DeviceConfig config;
        config.directory = directory.Path();
        sim::Device device(config);
        sim::ProgramImage image;
        image.entry = [&](HINSTANCE, LPWSTR) {
            simtest::RegisterTestClass();
            simtest::CreateTestWindow(&tracking, WS_VISIBLE, RECT{0, 26, 240, 294});
            // A modal loop that would wait for ever.
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                DispatchMessageW(&msg);
            }
            loopReturned = true;
            return static_cast<int>(msg.wParam);
        };
        device.Launch(image, u"");
        ASSERT_TRUE(device.RunUntilIdle());
    }
    // WM_QUIT ended the loop; the windows left went with their messages.
    EXPECT_TRUE(loopReturned);
    EXPECT_TRUE(windowDestroyed);
}

TEST(DeviceLifetime, OnlyOneDeviceRunsInAProcess) {
    sim::TemporaryDirectory directory;
    sim::DeviceConfig config;
    config.directory = directory.Path();
    sim::Device device(config);
    EXPECT_EQ(sim::Device::Current(), &device);
    EXPECT_THROW(sim::Device second(config), std::logic_error);
    EXPECT_EQ(sim::Device::Current(), &device);
}

TEST_F(DeviceRunTest, ProgramThatPaintsWithoutValidatingIsStoppedAndReported) {
    Handler neverValidates = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT) {
            return 0;
        }
        return std::nullopt;
    };
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        simtest::CreateTestWindow(&neverValidates, WS_VISIBLE, RECT{0, 26, 240, 294});
    });
    ASSERT_FALSE(device->Problems().empty());
    EXPECT_NE(device->Problems().front().find("never validated"), std::string::npos);
}

TEST_F(DeviceRunTest, ProgramThatPollsWithoutEndDoesNotStopTheClock) {
    int polls = 0;
    sim::ProgramImage image;
    image.entry = [&](HINSTANCE, LPWSTR) {
        MSG msg;
        while (GetTickCount() < 100) {
            PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
            ++polls;
        }
        return 0;
    };
    sim::Program& program = device->Launch(image, u"");
    ASSERT_TRUE(device->Advance(200));
    EXPECT_TRUE(program.Finished());
    EXPECT_GT(polls, 1000);
}

} // namespace
