// The playback commands over the journal of dispatch calls and the device's
// state: play and pause with the backlight requirement and the two buttons,
// stop, the frame steps, the seek with the position slider, and the
// placement of the movie for the zoom and, in full screen, turned.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Input.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

class PlaybackTest : public PlayerFixture {
protected:
    void SetUp() override {
        StartPlayer();
        // The tests look at the toolbar's Play and Pause buttons.
        ChooseMenu({u"Screen", u"Show Toolbar"});
    }

    bool ButtonHidden(int command) const {
        return SendMessageW(ToolbarBar(), TB_ISBUTTONHIDDEN, static_cast<WPARAM>(command), 0) != 0;
    }

    // The frame numbers the player set since mark.
    std::vector<std::int64_t> FramesSet(std::size_t mark) const {
        std::vector<std::int64_t> frames;
        for (const sim::JournalEntry& call : Only(Since(mark), {"SetFrameNumber"})) {
            frames.push_back(call.args[0].Int());
        }
        return frames;
    }
};

TEST_F(PlaybackTest, PlayHoldsTheBacklightAndShowsPauseAndPauseUndoesBoth) {
    std::size_t mark = Mark();
    TapBarButton(ID_PLAY_PAUSE);
    EXPECT_EQ(
        Names(Only(Since(mark), {"GetPlaying", "SetPowerRequirement", "StopMovie", "SetPlaying"})),
        (std::vector<std::string>{"GetPlaying", "SetPowerRequirement", "SetPlaying"}));
    const auto requirement = Calls("SetPowerRequirement").back();
    EXPECT_EQ(requirement.args[0].Text(), "BKL1:");
    EXPECT_EQ(requirement.args[1].Int(), 0);
    EXPECT_EQ(requirement.args[2].Int(), 0x1001);
    EXPECT_TRUE(control->playing);
    EXPECT_EQ(HeldRequirements(), 1u);
    EXPECT_TRUE(ButtonHidden(ID_PLAY_PAUSE));
    EXPECT_FALSE(ButtonHidden(ID_PAUSE));

    mark = Mark();
    TapBarButton(ID_PAUSE);
    EXPECT_EQ(Names(Only(Since(mark), {"ReleasePowerRequirement", "StopMovie"})),
              (std::vector<std::string>{"ReleasePowerRequirement", "StopMovie"}));
    EXPECT_FALSE(control->playing);
    EXPECT_EQ(HeldRequirements(), 0u);
    EXPECT_FALSE(ButtonHidden(ID_PLAY_PAUSE));
    EXPECT_TRUE(ButtonHidden(ID_PAUSE));

    // Play/Pause on a playing movie pauses it.
    TapBarButton(ID_PLAY_PAUSE);
    mark = Mark();
    ChooseMenu({u"Play/Pause"});
    EXPECT_EQ(Names(Only(Since(mark), {"ReleasePowerRequirement", "StopMovie", "SetPlaying"})),
              (std::vector<std::string>{"ReleasePowerRequirement", "StopMovie"}));
}

TEST_F(PlaybackTest, StopWhilePlayingRewindsAndShowsPlay) {
    control->frameNumber = 30;
    TapBarButton(ID_PLAY_PAUSE);
    const std::size_t mark = Mark();
    TapBarButton(ID_STOP);
    EXPECT_EQ(Names(Only(Since(mark), {"ReleasePowerRequirement", "StopMovie", "RewindMovie"})),
              (std::vector<std::string>{"ReleasePowerRequirement", "StopMovie", "RewindMovie"}));
    EXPECT_EQ(control->frameNumber, 0);
    EXPECT_FALSE(control->playing);
    EXPECT_EQ(HeldRequirements(), 0u);
    EXPECT_FALSE(ButtonHidden(ID_PLAY_PAUSE));
    EXPECT_TRUE(ButtonHidden(ID_PAUSE));
    // Play after Stop plays again from the start.
    TapBarButton(ID_PLAY_PAUSE);
    EXPECT_TRUE(control->playing);
    EXPECT_TRUE(ButtonHidden(ID_PLAY_PAUSE));
}

TEST_F(PlaybackTest, StepsAreAFiftiethOfTheMovieOrFiveFrames) {
    control->totalFrames = 40;
    control->frameNumber = 10;
    std::size_t mark = Mark();
    ChooseMenu({u"Seek", u"Forward"});
    ChooseMenu({u"Seek", u"Back"});
    EXPECT_EQ(FramesSet(mark), (std::vector<std::int64_t>{15, 10}));

    control->totalFrames = 500;
    mark = Mark();
    ChooseMenu({u"Seek", u"Forward"});
    EXPECT_EQ(FramesSet(mark), (std::vector<std::int64_t>{20}));

    // Back below frame 0 stops at 0; Forward past the end goes past it.
    control->totalFrames = 40;
    control->frameNumber = 3;
    mark = Mark();
    ChooseMenu({u"Seek", u"Back"});
    control->frameNumber = 39;
    ChooseMenu({u"Seek", u"Forward"});
    EXPECT_EQ(FramesSet(mark), (std::vector<std::int64_t>{0, 44}));
    // Neither plays nor stops.
    EXPECT_TRUE(Only(Since(mark), {"PlayMovie", "StopMovie", "SetPlaying"}).empty());
}

TEST_F(PlaybackTest, TheSliderSeeksAndKeepsPlayingOnlyWhenItWasPlaying) {
    TapBarButton(ID_POSITION_BAR);
    const HWND slider = Child(ID_POSITION_SLIDER);
    ASSERT_TRUE(IsVisible(slider));
    EXPECT_EQ(automation->Focus(), slider);

    // A key press moves the slider a step and ends the move: two
    // notifications, each a seek to where the slider is.
    std::size_t mark = Mark();
    PressKey(VK_RIGHT);
    const LRESULT position = SendMessageW(slider, TBM_GETPOS, 0, 0);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(FramesSet(mark), (std::vector<std::int64_t>{position, position}));
    EXPECT_TRUE(Only(Since(mark), {"PlayMovie"}).empty());

    control->playing = true;
    mark = Mark();
    PressKey(VK_RIGHT);
    EXPECT_EQ(Names(Only(Since(mark), {"GetPlaying", "SetFrameNumber", "PlayMovie"})),
              (std::vector<std::string>{"GetPlaying", "SetFrameNumber", "PlayMovie", "GetPlaying",
                                        "SetFrameNumber", "PlayMovie"}));
    EXPECT_EQ(FramesSet(mark), (std::vector<std::int64_t>{2, 2}));
}

TEST_F(PlaybackTest, ScaleModesReachTheControlAndAreRemembered) {
    const std::size_t mark = Mark();
    ChooseMenu({u"Screen", u"Scale Mode", u"Exact Fit"});
    ChooseMenu({u"Screen", u"Scale Mode", u"No Border"});
    std::vector<std::int64_t> modes;
    for (const sim::JournalEntry& call : Only(Since(mark), {"SetScaleMode"})) {
        modes.push_back(call.args[0].Int());
    }
    EXPECT_EQ(modes, (std::vector<std::int64_t>{2, 1}));
    ChooseMenu({u"Exit"});
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "0 1 10 560 1 1 8");
}

// The placement a tick with a complete movie sends.
class PlacementTest : public PlayerFixture {
protected:
    explicit PlacementTest(playertest::DeviceSpec spec = {}) : PlayerFixture(spec) {}

    // A property set on "_root": a text, or a number (compared as numbers,
    // so -0 is 0), or the scale mode read between them.
    struct Property {
        std::string call;
        std::int64_t index = -1;
        std::string text;
        double number = 0;
        bool operator==(const Property&) const = default;
    };
    static Property Text(std::int64_t index, std::string text) {
        return {"SetClipProperty", index, std::move(text), 0};
    }
    static Property Number(std::int64_t index, double number) {
        return {"SetClipPropertyNumber", index, "", number};
    }
    static Property ScaleModeRead() { return {"GetScaleMode", -1, "", 0}; }

    std::vector<Property> PlacementSince(std::size_t mark) const {
        std::vector<Property> properties;
        for (const sim::JournalEntry& call :
             Only(Since(mark), {"SetClipProperty", "SetClipPropertyNumber", "GetScaleMode"})) {
            if (call.call == "GetScaleMode") {
                properties.push_back(ScaleModeRead());
                continue;
            }
            EXPECT_EQ(call.args[0].Text(), "_root");
            if (call.call == "SetClipProperty") {
                properties.push_back(Text(call.args[1].Int(), call.args[2].Text()));
            } else {
                properties.push_back(Number(call.args[1].Int(), std::stod(call.args[2].Json())));
            }
        }
        return properties;
    }
    std::vector<Property> NextTick() {
        const std::size_t mark = Mark();
        Ticks(1);
        return PlacementSince(mark);
    }
};

TEST_F(PlacementTest, NormalPlacementGrowsTheMovieAboutItsCentre) {
    StartPlayer();
    OpenMovieOfStage(240, 320);
    EXPECT_EQ(NextTick(), (std::vector<Property>{Text(10, "0"), Number(0, 0), Number(1, 0),
                                                 Text(2, "100"), Text(3, "100")}));
    // The zoom reaches the movie only at the next tick.
    const std::size_t mark = Mark();
    ChooseMenu({u"Zoom", u"150%"});
    EXPECT_TRUE(PlacementSince(mark).empty());
    EXPECT_EQ(NextTick(), (std::vector<Property>{Text(10, "0"), Number(0, -60), Number(1, -80),
                                                 Text(2, "150"), Text(3, "150")}));
    // No placement before the movie is completely loaded.
    control->readyState = 3;
    EXPECT_TRUE(NextTick().empty());
}

TEST_F(PlacementTest, FullScreenTurnsALandscapeMovieOnAPortraitScreen) {
    StartPlayer();
    OpenMovieOfStage(320, 240);
    const std::size_t mark = Mark();
    ChooseMenu({u"Screen", u"Toggle Fullscreen"});
    const auto placed = PlacementSince(mark);
    ASSERT_EQ(placed.size(), 6u) << Report();
    EXPECT_EQ(placed[0], Text(10, "-90"));
    EXPECT_EQ(placed[1], ScaleModeRead());
    EXPECT_EQ(placed[2], Number(0, 0));
    // (320 x 320 / 2) / 240 + 240 / 2 in whole numbers.
    EXPECT_EQ(placed[3], Number(1, 333));
    // 100 x (320 / 240), worked out in single precision.
    const float a = 32000.0f * 0.01f;
    const float b = 24000.0f * 0.01f;
    const double scale = static_cast<double>(100.0f * (a / b));
    EXPECT_NE(scale, 100.0 * 320.0 / 240.0);
    EXPECT_EQ(placed[4], Number(2, scale));
    EXPECT_EQ(placed[5], Number(3, scale));
    // The same on every tick while in full screen.
    EXPECT_EQ(NextTick(), placed);
}

TEST_F(PlacementTest, InScaleModeTwoOnlyTheRotationIsSet) {
    StartPlayer();
    OpenMovieOfStage(320, 240);
    control->scaleMode = 2;
    const std::size_t mark = Mark();
    Press(sim::HardwareButton::App1);
    EXPECT_EQ(PlacementSince(mark), (std::vector<Property>{Text(10, "-90"), ScaleModeRead()}));
}

TEST_F(PlacementTest, APortraitMovieOrAZeroHeightStageIsLeftAsItIsInFullScreen) {
    StartPlayer();
    OpenMovieOfStage(240, 320);
    ChooseMenu({u"Screen", u"Toggle Fullscreen"});
    EXPECT_TRUE(NextTick().empty());
    // Back to normal mode: the menu bar is hidden in full screen.
    Press(sim::HardwareButton::Action);
    // A stage as wide as it likes but without height: nothing to turn, and
    // no division by its height.
    OpenMovieOfStage(320, 0);
    ChooseMenu({u"Screen", u"Toggle Fullscreen"});
    EXPECT_TRUE(NextTick().empty());
    EXPECT_FALSE(player->Finished());
}

class LandscapePlacementTest : public PlacementTest {
protected:
    LandscapePlacementTest() : PlacementTest({320, 240, 96}) {}
};

TEST_F(LandscapePlacementTest, AScreenWiderThanTallLeavesTheMovieUnturned) {
    StartPlayer();
    OpenMovieOfStage(320, 240);
    ChooseMenu({u"Screen", u"Toggle Fullscreen"});
    EXPECT_TRUE(NextTick().empty());
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 0, 320, 240}));
}

} // namespace
