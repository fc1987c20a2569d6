// The status tick: the slider's range that only grows and its position that
// follows a playing movie, the Play and Pause buttons, the backlight and the
// system power state under each backlight choice, the activity key, slide
// mode, a refused backlight, the hot keys while in front, and a tick that
// serves a hand-off.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Power.h"
#include "platform/sim/SystemServices.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

class StatusTickTest : public PlayerFixture {
protected:
    explicit StatusTickTest(playertest::DeviceSpec spec = {}) : PlayerFixture(spec) {}

    // Starts with the backlight choice of the settings file, past the first
    // tick (which tries the default movie).
    void StartWithBacklight(int option) {
        WriteText(playertest::kSettingsPath, std::to_string(option) + " 1 10 560 1 0 8");
        StartPlayer();
        Ticks(1);
    }

    LRESULT SliderMaximum() const {
        return SendMessageW(Child(ID_POSITION_SLIDER), TBM_GETRANGEMAX, 0, 0);
    }
    bool ButtonHidden(int command) const {
        return SendMessageW(ToolbarBar(), TB_ISBUTTONHIDDEN, static_cast<WPARAM>(command), 0) != 0;
    }
};

TEST_F(StatusTickTest, TheSlidersRangeOnlyGrows) {
    StartPlayer();
    control->totalFrames = 40;
    Ticks(1);
    EXPECT_EQ(SliderMaximum(), 100);
    control->totalFrames = 500;
    Ticks(1);
    EXPECT_EQ(SliderMaximum(), 500);
    control->totalFrames = 40;
    Ticks(1);
    EXPECT_EQ(SliderMaximum(), 500);
    // Nothing changes while the movie is not completely loaded.
    control->readyState = 3;
    control->totalFrames = 900;
    Ticks(1);
    EXPECT_EQ(SliderMaximum(), 500);
}

TEST_F(StatusTickTest, APlayingMovieMovesTheSliderAndShowsPause) {
    StartWithBacklight(0);
    control->playing = true;
    control->frameNumber = 42;
    Ticks(1);
    EXPECT_EQ(SendMessageW(Child(ID_POSITION_SLIDER), TBM_GETPOS, 0, 0), 42);
    EXPECT_TRUE(ButtonHidden(ID_PLAY_PAUSE));
    EXPECT_FALSE(ButtonHidden(ID_PAUSE));
    // The movie stops by itself: the next tick shows Play and lets go.
    control->playing = false;
    Ticks(1);
    EXPECT_FALSE(ButtonHidden(ID_PLAY_PAUSE));
    EXPECT_TRUE(ButtonHidden(ID_PAUSE));
    EXPECT_EQ(HeldRequirements(), 0u);
}

// One row of the backlight table: the choice, slide mode, and what a
// playing tick leaves.
struct BacklightRow {
    int option;
    bool slides;
    bool requirementHeld;
    bool systemOn;
};

class BacklightTest : public StatusTickTest, public ::testing::WithParamInterface<BacklightRow> {};

TEST_P(BacklightTest, APlayingTickFollowsTheBacklightChoice) {
    const BacklightRow row = GetParam();
    StartWithBacklight(row.option);
    OpenMovieOfStage(100, 100, row.slides);
    control->playing = true;
    for (int tick = 0; tick < 3; ++tick) {
        const std::size_t mark = Mark();
        Ticks(1);
        const auto since = Since(mark);
        EXPECT_EQ(HeldRequirements(), row.requirementHeld ? 1u : 0u) << "tick " << tick;
        const auto systemOn = Only(since, {"SetSystemPowerState"});
        EXPECT_EQ(systemOn.size(), row.systemOn ? 1u : 0u);
        if (!systemOn.empty()) {
            EXPECT_EQ(systemOn[0].args[1].Int(), POWER_STATE_ON);
            EXPECT_EQ(systemOn[0].args[2].Int(), 0);
        }
        // The activity key goes with every playing tick, whatever the choice.
        const auto keys = Only(since, {"keybd_event"});
        ASSERT_EQ(keys.size(), 1u);
        EXPECT_EQ(keys[0].args[0].Int(), 0x87);
        EXPECT_EQ(keys[0].args[1].Int(), 0);
        EXPECT_EQ(keys[0].args[2].Int(), 6);
        EXPECT_EQ(keys[0].args[3].Int(), 0);
    }
    EXPECT_TRUE(control->playing);
}

INSTANTIATE_TEST_SUITE_P(Choices, BacklightTest,
                         ::testing::Values(BacklightRow{0, false, true, true},
                                           BacklightRow{1, false, false, true},
                                           BacklightRow{2, false, true, true},
                                           BacklightRow{2, true, false, false},
                                           // Any other value acts as 0.
                                           BacklightRow{7, false, true, true}));

TEST_F(StatusTickTest, DoNotKeepBacklightReleasesWhatPlayPlacedAtTheNextTick) {
    StartWithBacklight(1);
    TapBarButton(ID_PLAY_PAUSE);
    EXPECT_EQ(HeldRequirements(), 1u);
    const std::size_t mark = Mark();
    Ticks(1);
    EXPECT_EQ(HeldRequirements(), 0u);
    EXPECT_EQ(Names(Only(Since(mark), {"SetSystemPowerState", "SetPowerRequirement",
                                       "ReleasePowerRequirement", "keybd_event"})),
              (std::vector<std::string>{"SetSystemPowerState", "ReleasePowerRequirement",
                                        "keybd_event"}));
}

TEST_F(StatusTickTest, APausedSlideMovieIsStoppedOnEveryTick) {
    StartWithBacklight(0);
    OpenMovieOfStage(100, 100, /*slides=*/true);
    const std::size_t mark = Mark();
    Ticks(3);
    EXPECT_EQ(Only(Since(mark), {"StopMovie"}).size(), 3u);
    // Play/Pause on it stops it once more before playing.
    const std::size_t play = Mark();
    TapBarButton(ID_PLAY_PAUSE);
    EXPECT_EQ(Names(Only(Since(play), {"StopMovie", "SetPlaying"})),
              (std::vector<std::string>{"StopMovie", "SetPlaying"}));
}

TEST_F(StatusTickTest, PlayBeforeTheMovieIsCompleteIsCorrectedOnceItIs) {
    StartWithBacklight(0);
    control->readyState = 2;
    TapBarButton(ID_PLAY_PAUSE);
    // The control has not started: it says it is not playing.
    control->playing = false;
    Ticks(2);
    EXPECT_TRUE(ButtonHidden(ID_PLAY_PAUSE));
    EXPECT_EQ(HeldRequirements(), 1u);
    control->readyState = 4;
    Ticks(1);
    EXPECT_FALSE(ButtonHidden(ID_PLAY_PAUSE));
    EXPECT_EQ(HeldRequirements(), 0u);
}

TEST_F(StatusTickTest, TheHotKeysAreRenewedOnEveryTickWhileThePlayerIsInFront) {
    StartPlayer();
    std::size_t mark = Mark();
    Ticks(2);
    EXPECT_EQ(Only(Since(mark), {"RegisterHotKey"}).size(), 20u);
    device->Services().ShowTodayScreen();
    Settle();
    mark = Mark();
    Ticks(2);
    EXPECT_TRUE(Only(Since(mark), {"RegisterHotKey"}).empty());
}

TEST_F(StatusTickTest, ATickThatServesAHandOffEndsThere) {
    StartPlayer();
    Ticks(1);
    WriteText(u"\\clip.swf", "FWS");
    sim::Program& second = LaunchAnother(u"\\clip.swf");
    Settle();
    ASSERT_EQ(second.ExitCode(), -1);
    const std::size_t mark = Mark();
    Ticks(1);
    EXPECT_EQ(Names(Only(Since(mark), {"DeleteFileW", "StopMovie", "RewindMovie", "SetMovieUrl",
                                       "GetReadyState"})),
              (std::vector<std::string>{"DeleteFileW", "StopMovie", "RewindMovie", "SetMovieUrl"}));
    EXPECT_FALSE(FileExists(playertest::kHandoffPath));
}

class RefusedBacklightTest : public StatusTickTest {
protected:
    RefusedBacklightTest() : StatusTickTest(Spec()) {}
    static playertest::DeviceSpec Spec() {
        playertest::DeviceSpec spec;
        spec.refuseRequirements = true;
        return spec;
    }
};

TEST_F(RefusedBacklightTest, APlayingMovieWhoseBacklightIsRefusedIsStopped) {
    StartWithBacklight(0);
    control->frameNumber = 17;
    TapBarButton(ID_PLAY_PAUSE);
    // Play went on unchecked; the tick tries again and stops.
    EXPECT_TRUE(control->playing);
    Ticks(1);
    EXPECT_FALSE(control->playing);
    EXPECT_EQ(control->frameNumber, 0);
    EXPECT_FALSE(ButtonHidden(ID_PLAY_PAUSE));
}

} // namespace
