// Start-up and shutdown of the player as a user meets them: a launch with and
// without a movie, the hand-off file, the steps in their order, a device
// without the movie control or without sockets, and "Exit".
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Dialogs.h"
#include "platform/Input.h"
#include "platform/Text.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

std::vector<std::string> Urls(const std::vector<sim::JournalEntry>& calls) {
    std::vector<std::string> urls;
    for (const sim::JournalEntry& call : calls) {
        urls.push_back(call.args.empty() ? "" : call.args[0].Text());
    }
    return urls;
}

class LaunchTest : public PlayerFixture {};

TEST_F(LaunchTest, AnEmptyCommandLineHandsTheControlFileAloneAndRecordsNothing) {
    sim::Program& program = StartPlayer();
    ASSERT_FALSE(program.Finished()) << Report();
    EXPECT_TRUE(IsVisible(Frame()));
    EXPECT_EQ(automation->Foreground(), Frame());
    // The command line's movie with the menu and the quality; no play request.
    const auto calls = Only(
        Journal(), {"SetMovieUrl", "SetMenuEnabled", "SetQualityName", "SetPlaying", "PlayMovie"});
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(Names({calls.begin(), calls.begin() + 3}),
              (std::vector<std::string>{"SetMovieUrl", "SetMenuEnabled", "SetQualityName"}));
    EXPECT_EQ(calls[0].args[0].Text(), "file://");
    EXPECT_EQ(calls[1].args[0], sim::JournalValue(true));
    EXPECT_EQ(calls[2].args[0].Text(), "high");
    EXPECT_TRUE(Only(calls, {"SetPlaying", "PlayMovie"}).empty());
    EXPECT_FALSE(FileExists(playertest::kHandoffPath));
}

TEST_F(LaunchTest, TheStepsOfStartUpComeInTheirOrder) {
    StartPlayer(u"\\My Documents\\clip.swf");
    const auto journal = Journal();
    // Where the first call of each kind (with that first argument) is.
    auto at = [&](const std::string& call, std::int64_t second = -1) {
        for (std::size_t i = 0; i < journal.size(); ++i) {
            if (journal[i].call == call && (second < 0 || (journal[i].args.size() > 1 &&
                                                           journal[i].args[1].Int() == second))) {
                return static_cast<int>(i);
            }
        }
        ADD_FAILURE() << "no " << call;
        return -1;
    };
    // The marker, the sockets, the shell's controls; the view's control and
    // hot keys; the menu bars, then the Action key and the bar's key
    // override; the frame in front, then the movie.
    const std::vector<int> order{at("CreateMutexW"),        at("WSAStartup"),
                                 at("SHInitExtraControls"), at("CreateControlWindow"),
                                 at("RegisterHotKey", 1),   at("SHCreateMenuBar"),
                                 at("RegisterHotKey", 104), at("SHCMBM_OVERRIDEKEY"),
                                 at("SetForegroundWindow"), at("SetMovieUrl")};
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end())) << Report();
    EXPECT_EQ(Calls("SHCreateMenuBar").size(), 2u);
    // The marker is the program's path with forward slashes.
    EXPECT_EQ(Calls("CreateMutexW")[0].args[0].Text(), "/Program Files/Vantrel/Vantrel.exe");
    // The control comes by its class id, with the player's text and id.
    const auto created = Calls("CreateControlWindow");
    ASSERT_EQ(created.size(), 1u);
    EXPECT_EQ(created[0].args[0].Text(), "{D27CDB6E-AE6D-11CF-96B8-444553540000}");
    EXPECT_EQ(created[0].args[1].Text(), "Vantrel");
    EXPECT_EQ(created[0].args[2].Int(), ID_MOVIE_CONTROL);
}

TEST_F(LaunchTest, APathThatNamesNoFileIsHandedOverAllTheSameAndRecordsNothing) {
    // Quotes and blanks stay as they came.
    StartPlayer(u"\"\\My Documents\\no such movie.swf\" ");
    EXPECT_EQ(Urls(Calls("SetMovieUrl")).front(), "file://\"\\My Documents\\no such movie.swf\" ");
    EXPECT_FALSE(FileExists(playertest::kHandoffPath));
    EXPECT_EQ(WritesOf(playertest::kHandoffPath), 0);
}

TEST_F(LaunchTest, AMovieOnTheCommandLineIsRecordedAndOpenedAgainAtTheFirstTick) {
    WriteText(u"\\My Documents\\clip.swf", "FWS");
    LaunchPlayer(u"\\My Documents\\clip.swf");
    // 255 bytes: the path as UTF-16LE with its terminator, zeros after it.
    const std::string recorded = ReadText(playertest::kHandoffPath);
    ASSERT_EQ(recorded.size(), 255u);
    const std::u16string path = u"\\My Documents\\clip.swf";
    for (std::size_t i = 0; i < path.size(); ++i) {
        EXPECT_EQ(static_cast<unsigned char>(recorded[2 * i]), path[i] & 0xFF);
        EXPECT_EQ(recorded[2 * i + 1], 0);
    }
    EXPECT_EQ(recorded.find_first_not_of('\0', 2 * path.size()), std::string::npos);

    // Start-up loads the movie; the first tick takes the request: stop,
    // rewind, and the same movie loaded again; the file is gone.
    Advance(50);
    const auto calls = Only(Journal(), {"DeleteFileW", "StopMovie", "RewindMovie", "SetMovieUrl"});
    EXPECT_EQ(Names(calls), (std::vector<std::string>{"SetMovieUrl", "DeleteFileW", "StopMovie",
                                                      "RewindMovie", "SetMovieUrl"}));
    EXPECT_EQ(Urls(Only(calls, {"SetMovieUrl"})),
              (std::vector<std::string>{"file://\\My Documents\\clip.swf",
                                        "file://\\My Documents\\clip.swf"}));
    EXPECT_FALSE(FileExists(playertest::kHandoffPath));
    // The hand-off took the place of the default movie, for good.
    Ticks(5);
    EXPECT_EQ(Calls("SetMovieUrl").size(), 2u);
}

TEST_F(LaunchTest, TheDefaultMovieIsTriedOnceAtTheFirstTickWithoutAHandOff) {
    StartPlayer();
    Advance(50 * 20);
    EXPECT_EQ(
        Urls(Calls("SetMovieUrl")),
        (std::vector<std::string>{"file://", "file://\\Program Files\\Vantrel\\Vantrel.exe.swf"}));
}

TEST_F(LaunchTest, ALongProgramPathIsNotCutShort) {
    // 258 characters: more than a 255-character buffer holds.
    programPath = u"\\Program Files\\Vantrel\\" + std::u16string(231, u'v') + u".exe";
    ASSERT_EQ(programPath.size(), 258u);
    StartPlayer();
    const auto loads = Urls(Calls("SetMovieUrl"));
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_EQ(loads[1], "file://" + text::ToUtf8(programPath) + ".swf");
    EXPECT_EQ(Calls("CreateMutexW")[0].args[0].Text().size(), 258u);
}

TEST_F(LaunchTest, WithoutTheMovieControlThePlayerSaysSoAndGoesOn) {
    StartPlayer(u"", /*withControl=*/false);
    const HWND box = Dialog();
    ASSERT_NE(box, nullptr) << Report();
    PressKey(VK_RETURN);
    ASSERT_EQ(Calls("MessageBoxW").size(), 1u);
    EXPECT_EQ(Calls("MessageBoxW")[0].args[1].Text(), "Macromedia Flash ActiveX not installed!");
    Advance(500);
    ASSERT_FALSE(player->Finished()) << Report();
    EXPECT_TRUE(IsVisible(Frame()));
    EXPECT_EQ(Control(), nullptr);
    // Nothing reaches a control that is not there; the ticks go on quietly.
    EXPECT_TRUE(Calls("SetMovieUrl").empty());
    EXPECT_EQ(Dialog(), nullptr);
}

class NoSocketsTest : public PlayerFixture {
protected:
    NoSocketsTest() : PlayerFixture(ConfigWithoutSockets()) {}
    static playertest::DeviceSpec ConfigWithoutSockets() {
        playertest::DeviceSpec spec;
        spec.failSockets = true;
        return spec;
    }
};

TEST_F(NoSocketsTest, AFailedSocketStartIsReportedAndStartUpGoesOn) {
    StartPlayer();
    const HWND box = Dialog();
    ASSERT_NE(box, nullptr) << Report();
    // Nothing of the frame exists while the message is up.
    EXPECT_EQ(Frame(), nullptr);
    PressKey(VK_RETURN);
    ASSERT_EQ(Calls("MessageBoxW").size(), 1u) << Report();
    EXPECT_EQ(Calls("MessageBoxW")[0].args[1].Text(), "AfxSocketInit failed.");
    Advance(100);
    EXPECT_TRUE(IsVisible(Frame())) << Report();
    EXPECT_EQ(Urls(Calls("SetMovieUrl")).front(), "file://");
}

TEST_F(LaunchTest, ExitEndsThePlayerWithCodeZeroAndWritesTheSettingsTwice) {
    StartPlayer();
    Advance(100);
    const std::size_t mark = Mark();
    ChooseMenu({u"Exit"});
    Advance(100);
    ASSERT_TRUE(player->Finished()) << Report();
    EXPECT_EQ(player->ExitCode(), 0);
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "0 1 10 560 1 0 0");
    // The frame's destroy handling and then the view's write the same file.
    EXPECT_EQ(SettingsSaves(mark), 2);
}

TEST_F(LaunchTest, StoredSettingsComeBackAtTheNextStart) {
    WriteText(playertest::kSettingsPath, "1 0 12 34 0 3 8");
    StartPlayer();
    // Toolbar state 8: the bar with the toolbar buttons stays.
    EXPECT_TRUE(IsVisible(ToolbarBar())) << Report();
    EXPECT_FALSE(IsVisible(PlainBar()));
    ChooseMenu({u"Exit"});
    Advance(100);
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "1 0 12 34 0 3 8");
}

} // namespace
