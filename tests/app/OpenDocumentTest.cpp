// A movie opened from the device's shell after "Associate SWF with me!": the
// shell starts the player with the movie's path, or, with a player running,
// the new launch hands the movie over and ends with -1.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Program.h"
#include "platform/Window.h"
#include "platform/sim/BuiltInPrograms.h"
#include "platform/sim/SystemServices.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

constexpr char16_t kMovie[] = u"\\My Documents\\movie.swf";

class OpenDocumentTest : public PlayerFixture {
protected:
    void SetUp() override {
        WriteText(kMovie, "FWS");
        // The player associates the movies with itself and ends.
        StartPlayer();
        ChooseMenu({u"Options..."});
        TapWindow(
            automation->FindWindow(sim::WindowQuery().Within(Dialog()).Id(IDC_OPTIONS_ASSOCIATE)));
        TapDialogSoftKey(IDOK);
        TapDialogSoftKey(IDOK);
        ChooseMenu({u"Exit"});
        Advance(100);
        ASSERT_TRUE(player->Finished()) << Report();
        first = player;
    }

    bool Open(const std::u16string& path) {
        DWORD error = 0;
        const bool opened = device->Services().OpenDocument(path, error);
        Settle();
        return opened;
    }

    // The players the shell started, oldest first.
    std::vector<sim::Program*> ShellStarted() const {
        std::vector<sim::Program*> started;
        for (const auto& program : device->Programs()) {
            if (program.get() != first && program->GetModule().Path() == playertest::kProgramPath) {
                started.push_back(program.get());
            }
        }
        return started;
    }

    sim::Program* first = nullptr;
};

TEST_F(OpenDocumentTest, WithNoPlayerRunningTheShellStartsOneWithTheMovie) {
    const std::size_t mark = Mark();
    ASSERT_TRUE(Open(kMovie)) << Report();
    const auto started = ShellStarted();
    ASSERT_EQ(started.size(), 1u) << Report();
    EXPECT_EQ(started[0]->CommandLine(), kMovie);
    player = started[0];
    Advance(100);
    EXPECT_TRUE(IsVisible(Frame())) << Report();
    const auto loads = Only(Since(mark), {"SetMovieUrl"});
    ASSERT_FALSE(loads.empty());
    EXPECT_EQ(loads.front().args[0].Text(), "file://\\My Documents\\movie.swf");
}

TEST_F(OpenDocumentTest, WithAPlayerRunningTheNewLaunchHandsTheMovieOver) {
    ASSERT_TRUE(Open(kMovie));
    player = ShellStarted().front();
    Advance(200);
    WriteText(u"\\My Documents\\other.swf", "FWS");
    ASSERT_TRUE(Open(u"\\My Documents\\other.swf"));
    const auto started = ShellStarted();
    ASSERT_EQ(started.size(), 2u);
    ASSERT_TRUE(started[1]->Finished()) << Report();
    EXPECT_EQ(started[1]->ExitCode(), -1);
    EXPECT_EQ(automation->Foreground(), Frame());
    const std::size_t mark = Mark();
    Ticks(1);
    const auto loads = Only(Since(mark), {"SetMovieUrl"});
    ASSERT_EQ(loads.size(), 1u) << Report();
    EXPECT_EQ(loads[0].args[0].Text(), "file://\\My Documents\\other.swf");
}

TEST_F(OpenDocumentTest, ATapOnTheMovieInTheTodayScreensListStartsThePlayer) {
    const HWND today = device->Services().ShowTodayScreen();
    Settle();
    const HWND list = automation->FindWindow(sim::WindowQuery().Within(today).Class(WC_LISTBOXW));
    ASSERT_NE(list, nullptr) << Report();
    ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
    RECT row{};
    SendMessageW(list, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    POINT centre{(row.left + row.right) / 2, (row.top + row.bottom) / 2};
    ClientToScreen(list, &centre);
    Tap(centre);
    const auto started = ShellStarted();
    ASSERT_EQ(started.size(), 1u) << Report();
    EXPECT_EQ(started[0]->CommandLine(), kMovie);
}

} // namespace
