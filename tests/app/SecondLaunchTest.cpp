// One player per device: a second launch on the same device hands its movie
// over, brings the running player forward and ends with -1; while the first
// player is still starting, it waits and looks again, 40 times at most.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Program.h"
#include "platform/Window.h"
#include "platform/sim/SystemServices.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

constexpr char16_t kMarkerName[] = u"/Program Files/Vantrel/Vantrel.exe";

LRESULT PlainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

class SecondLaunchTest : public PlayerFixture {
protected:
    // A first player still starting: it holds the marker from the start, but
    // its window comes only after windowAfter ms (never, when 0).
    sim::Program& LaunchSlowFirstPlayer(DWORD windowAfter) {
        sim::ProgramImage image;
        image.modulePath = playertest::kProgramPath;
        image.entry = [this, windowAfter](HINSTANCE instance, LPWSTR) {
            const HANDLE marker = CreateMutexW(nullptr, FALSE, kMarkerName);
            if (windowAfter == 0) {
                Sleep(60 * 1000);
                CloseHandle(marker);
                return 0;
            }
            Sleep(windowAfter);
            WNDCLASSW windowClass;
            windowClass.lpfnWndProc = &PlainProcedure;
            windowClass.hInstance = instance;
            windowClass.lpszClassName = u"SlowPlayer";
            RegisterClassW(&windowClass);
            slowWindow = CreateWindowExW(0, u"SlowPlayer", u"Vantrel", WS_VISIBLE, 0, 26, 240, 268,
                                         nullptr, nullptr, instance, nullptr);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                DispatchMessageW(&message);
            }
            CloseHandle(marker);
            return 0;
        };
        sim::Program& program = device->Launch(image, u"");
        Settle();
        return program;
    }

    // The thread priorities the launch set, in order.
    std::vector<std::int64_t> Priorities(DWORD pid) const {
        std::vector<std::int64_t> priorities;
        for (const sim::JournalEntry& call : Calls("SetThreadPriority")) {
            if (call.pid == pid) {
                priorities.push_back(call.args.back().Int());
            }
        }
        return priorities;
    }

    HWND slowWindow = nullptr;
};

TEST_F(SecondLaunchTest, ASecondPlayerHandsItsMovieToTheFirstAndEndsWithMinusOne) {
    StartPlayer();
    Advance(100);
    const HWND first = Frame();
    // The user goes to the Today screen; the player stays behind it.
    device->Services().ShowTodayScreen();
    Settle();
    ASSERT_NE(automation->Foreground(), first);

    WriteText(u"\\My Documents\\second.swf", "FWS");
    sim::Program& second = LaunchAnother(u"\\My Documents\\second.swf");
    Settle();
    ASSERT_TRUE(second.Finished()) << Report();
    EXPECT_EQ(second.ExitCode(), -1);
    // Brought forward with the low bit set, before any window of its own.
    const auto forward = Calls("SetForegroundWindow");
    ASSERT_FALSE(forward.empty());
    EXPECT_EQ(forward.back().pid, second.Pid());
    EXPECT_EQ(forward.back().args[0].Int(), reinterpret_cast<std::intptr_t>(first) | 1);
    EXPECT_EQ(automation->Foreground(), first);
    EXPECT_TRUE(Calls("CreateControlWindow").size() == 1u);
    EXPECT_TRUE(FileExists(playertest::kHandoffPath));

    // The running player takes the movie at its next tick.
    const std::size_t mark = Mark();
    Ticks(1);
    const auto loads = Only(Since(mark), {"SetMovieUrl"});
    ASSERT_EQ(loads.size(), 1u) << Report();
    EXPECT_EQ(loads[0].args[0].Text(), "file://\\My Documents\\second.swf");
    EXPECT_FALSE(FileExists(playertest::kHandoffPath));
}

TEST_F(SecondLaunchTest, ALaunchWhileTheOpenDialogIsUpLeavesTheDialogInFrontToTypeInto) {
    StartPlayer();
    Advance(100);
    TapBarButton(ID_FILE_OPEN);
    const HWND dialog = Dialog();
    ASSERT_NE(dialog, nullptr) << Report();
    Type(u"\\My Doc");
    device->Services().ShowTodayScreen();
    Settle();
    ASSERT_NE(automation->Foreground(), dialog);

    WriteText(u"\\My Documents\\second.swf", "FWS");
    sim::Program& second = LaunchAnother(u"\\My Documents\\second.swf");
    Settle();
    ASSERT_TRUE(second.Finished()) << Report();
    EXPECT_EQ(second.ExitCode(), -1);
    EXPECT_EQ(automation->Foreground(), dialog) << Report();
    const HWND entry =
        automation->FindWindow(sim::WindowQuery().Within(dialog).Id(IDC_OPEN_LOCATION));
    EXPECT_EQ(automation->Focus(), entry);
    Type(u"uments\\typed.swf");
    EXPECT_EQ(automation->TextOf(entry), u"\\My Documents\\typed.swf");
    // The tick goes on behind the dialog and takes the movie handed over.
    const std::size_t mark = Mark();
    Ticks(1);
    const auto loads = Only(Since(mark), {"SetMovieUrl"});
    ASSERT_EQ(loads.size(), 1u) << Report();
    EXPECT_EQ(loads[0].args[0].Text(), "file://\\My Documents\\second.swf");
    EXPECT_EQ(Dialog(), dialog);
    TapDialogSoftKey(IDCANCEL);
}

TEST_F(SecondLaunchTest, OfTwoLaunchesBetweenTicksTheLatestIsServedAndTheFileAppearsOnlyWhole) {
    StartPlayer();
    Advance(100);
    WriteText(u"\\My Documents\\one.swf", "FWS");
    WriteText(u"\\My Documents\\two.swf", "FWS");
    const std::size_t mark = Mark();
    LaunchAnother(u"\\My Documents\\one.swf");
    Settle();
    LaunchAnother(u"\\My Documents\\two.swf");
    Settle();
    // The running player may look at any moment: the hand-off file is never
    // opened for writing, it takes its name complete.
    EXPECT_EQ(WritesOf(playertest::kHandoffPath, mark), 0);
    // The second finds the first's request in the way and puts its own in
    // its place.
    std::vector<std::int64_t> moves;
    for (const sim::JournalEntry& move : Only(Since(mark), {"MoveFileW", "DeleteFileW"})) {
        moves.push_back(move.call == "MoveFileW" ? move.result.Int() : -1);
    }
    EXPECT_EQ(moves, (std::vector<std::int64_t>{0, ERROR_ALREADY_EXISTS, -1, 0})) << Report();
    // Nothing else is left beside it.
    std::vector<std::string> leftBehind;
    for (const auto& entry : std::filesystem::directory_iterator(HostPath(u"\\"))) {
        if (entry.path().filename().string().starts_with("A347BD5F")) {
            leftBehind.push_back(entry.path().filename().string());
        }
    }
    EXPECT_EQ(leftBehind, std::vector<std::string>{"A347BD5F-BAD90-46785.txt"});

    const std::size_t tick = Mark();
    Ticks(3);
    const auto loads = Only(Since(tick), {"SetMovieUrl"});
    ASSERT_EQ(loads.size(), 1u) << Report();
    EXPECT_EQ(loads[0].args[0].Text(), "file://\\My Documents\\two.swf");
}

TEST_F(SecondLaunchTest, ASecondLaunchWithoutAMovieOnlyBringsTheFirstForward) {
    StartPlayer();
    Advance(100);
    sim::Program& second = LaunchAnother(u"");
    Settle();
    EXPECT_EQ(second.ExitCode(), -1);
    EXPECT_FALSE(FileExists(playertest::kHandoffPath));
    const std::size_t mark = Mark();
    Ticks(3);
    EXPECT_TRUE(Only(Since(mark), {"SetMovieUrl"}).empty());
}

TEST_F(SecondLaunchTest, ALaunchWhileTheFirstIsStillStartingWaitsAndLooksAgain) {
    sim::Program& first = LaunchSlowFirstPlayer(1000);
    sim::Program& second = LaunchAnother(u"");
    Settle();
    ASSERT_FALSE(second.Finished());
    Advance(900);
    EXPECT_FALSE(second.Finished()) << Report();
    Advance(400);
    ASSERT_TRUE(second.Finished()) << Report();
    EXPECT_EQ(second.ExitCode(), -1);
    ASSERT_NE(slowWindow, nullptr);
    EXPECT_EQ(Calls("SetForegroundWindow").back().args[0].Int(),
              reinterpret_cast<std::intptr_t>(slowWindow) | 1);
    // Each wait at idle priority, then back to the priority it had.
    const std::vector<std::int64_t> priorities = Priorities(second.Pid());
    ASSERT_EQ(priorities.size(), 8u);
    for (std::size_t i = 0; i < priorities.size(); i += 2) {
        EXPECT_EQ(priorities[i], THREAD_PRIORITY_IDLE);
        EXPECT_EQ(priorities[i + 1], THREAD_PRIORITY_NORMAL);
    }
    EXPECT_FALSE(first.Finished());
}

TEST_F(SecondLaunchTest, AfterFortyFruitlessLooksTheLaunchStartsAsAPlayerOfItsOwn) {
    LaunchSlowFirstPlayer(0);
    playertest::InstallTestControl(control);
    sim::Program& second = LaunchAnother(u"");
    player = &second;
    Settle();
    // 39 pauses of 250 ms between the 40 looks.
    Advance(39 * 250 - 50);
    EXPECT_EQ(Frame(), nullptr);
    Advance(100);
    EXPECT_TRUE(IsVisible(Frame())) << Report();
    EXPECT_FALSE(second.Finished());
    EXPECT_EQ(Priorities(second.Pid()).size(), 78u);
}

} // namespace
