// Full screen and rotation as the user meets them: the hardware buttons that
// toggle full screen and those held and ignored, a movie's playing state
// across two toggles, the placement that waits for the tick when the
// landscape option is off, and the display turned left, right and back.
#include <gtest/gtest.h>

#include "platform/Display.h"
#include "platform/sim/DisplayService.h"
#include "platform/sim/SystemServices.h"
#include "playertest/PlayerFixture.h"

namespace {

using playertest::PlayerFixture;

constexpr RECT kNormal{0, 26, 240, 294};
constexpr RECT kFull{0, 0, 240, 320};

class FullScreenTest : public PlayerFixture {
protected:
    DWORD Orientation() const { return device->Services().Display().Orientation(); }

    // The orientations the player asked for, in order.
    std::vector<std::int64_t> TurnsAsked(std::size_t mark) const {
        std::vector<std::int64_t> turns;
        for (const sim::JournalEntry& call : Only(Since(mark), {"ChangeDisplaySettingsExW"})) {
            // A query (CDS_TEST for the orientation), then the change with the
            // paper orientation as well.
            if (call.args[0].Int() == 0) {
                EXPECT_EQ(call.args[1].Int(), 0x00800001);
                turns.push_back(call.args[2].Int());
            } else {
                EXPECT_EQ(call.args[0].Int(), CDS_TEST);
                EXPECT_EQ(call.args[1].Int(), 0x00800000);
            }
        }
        return turns;
    }
};

TEST_F(FullScreenTest, TheButtonsThatActToggleOnceAPressAndTheOthersAreHeld) {
    StartPlayer();
    for (const sim::HardwareButton button :
         {sim::HardwareButton::App1, sim::HardwareButton::App6, sim::HardwareButton::Record,
          sim::HardwareButton::Action}) {
        Press(button);
        EXPECT_EQ(ScreenRect(Frame()), kFull) << "after the first press";
        Press(button);
        EXPECT_EQ(ScreenRect(Frame()), kNormal) << "after the second press";
    }
    // The phone's End and Talk keys are the player's while it is in front,
    // and do nothing.
    Press(sim::HardwareButton::End);
    Press(sim::HardwareButton::Talk);
    EXPECT_EQ(ScreenRect(Frame()), kNormal);
}

TEST_F(FullScreenTest, APlayingMovieGoesOnPlayingAcrossTwoTogglesAndAPausedOneStaysPaused) {
    StartPlayer();
    control->playing = true;
    std::size_t mark = Mark();
    Press(sim::HardwareButton::App2);
    Press(sim::HardwareButton::App2);
    std::vector<sim::JournalValue> written;
    for (const sim::JournalEntry& call : Only(Since(mark), {"SetPlaying"})) {
        written.push_back(call.args[0]);
    }
    EXPECT_EQ(written, (std::vector<sim::JournalValue>{true, true}));
    EXPECT_TRUE(control->playing);

    control->playing = false;
    mark = Mark();
    Press(sim::HardwareButton::App2);
    Press(sim::HardwareButton::App2);
    EXPECT_FALSE(control->playing);
    // Without a movie there is nothing to write back.
    control->readyState = 1;
    mark = Mark();
    Press(sim::HardwareButton::App2);
    EXPECT_TRUE(Only(Since(mark), {"GetPlaying", "SetPlaying"}).empty());
    EXPECT_EQ(ScreenRect(Frame()), kFull);
}

TEST_F(FullScreenTest, WithoutTheLandscapeOptionTheMovieTurnsAtTheNextTick) {
    WriteText(playertest::kSettingsPath, "0 0 10 560 1 0 0");
    StartPlayer();
    OpenMovieOfStage(320, 240);
    std::size_t mark = Mark();
    Press(sim::HardwareButton::Action);
    EXPECT_TRUE(Only(Since(mark), {"SetClipProperty"}).empty());
    mark = Mark();
    Ticks(1);
    const auto turned = Only(Since(mark), {"SetClipProperty"});
    ASSERT_FALSE(turned.empty());
    EXPECT_EQ(turned[0].args[2].Text(), "-90");
}

TEST_F(FullScreenTest, RotationTurnsLeftOrRightFromUprightAndAlwaysBackUpright) {
    StartPlayer();
    std::size_t mark = Mark();
    ChooseMenu({u"Screen", u"Rotate Left"});
    EXPECT_EQ(Orientation(), DMDO_270);
    ChooseMenu({u"Screen", u"Rotate Left"});
    EXPECT_EQ(Orientation(), DMDO_0);
    ChooseMenu({u"Screen", u"Rotate Right"});
    EXPECT_EQ(Orientation(), DMDO_90);
    ChooseMenu({u"Screen", u"Rotate Right"});
    EXPECT_EQ(Orientation(), DMDO_0);
    EXPECT_EQ(TurnsAsked(mark), (std::vector<std::int64_t>{4, 0, 1, 0}));

    // Turned by another program: either command brings it upright.
    RunOnDevice([] {
        DEVMODEW mode;
        mode.dmSize = sizeof(DEVMODEW);
        mode.dmFields = DM_DISPLAYORIENTATION;
        mode.dmDisplayOrientation = DMDO_180;
        ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
    });
    ASSERT_EQ(Orientation(), DMDO_180);
    ChooseMenu({u"Screen", u"Rotate Right"});
    EXPECT_EQ(Orientation(), DMDO_0);
}

} // namespace
