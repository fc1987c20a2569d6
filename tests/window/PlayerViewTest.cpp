// The player view: the control over the view, one pixel larger; the bottom
// strip's height for the screen's resolution; the movie's tap-and-hold popup,
// whose commands reach the view only.
#include <gtest/gtest.h>

#include "platform/Window.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

int Width(const RECT& rect) {
    return rect.right - rect.left;
}
int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

struct StripCase {
    playertest::DeviceSpec device;
    int strip;
};

class StripLayoutTest : public PlayerFixture, public ::testing::WithParamInterface<StripCase> {
protected:
    StripLayoutTest() : PlayerFixture(GetParam().device) {}
};

TEST_P(StripLayoutTest, TheControlIsOnePixelLargerAndTheStripHasTheScaledHeight) {
    StartPlayer();
    const RECT view = ScreenRect(View());
    const int width = Width(view);
    const int height = Height(view);
    // The view covers the frame's client area.
    EXPECT_EQ(view, ClientRect(Frame()));
    EXPECT_EQ(Width(ScreenRect(Control())), width + 1);
    EXPECT_EQ(Height(ScreenRect(Control())), height + 1);

    ChooseMenu({u"Screen", u"Show Toolbar"});
    TapBarButton(ID_POSITION_BAR);
    const int strip = GetParam().strip;
    const RECT slider = ScreenRect(Child(ID_POSITION_SLIDER));
    ASSERT_TRUE(IsVisible(Child(ID_POSITION_SLIDER))) << Report();
    EXPECT_EQ(slider, (RECT{view.left, view.bottom - strip, view.right, view.bottom}));
    EXPECT_EQ(Height(ScreenRect(Control())), height - strip + 1);
    EXPECT_EQ(Width(ScreenRect(Control())), width + 1);

    // The volume bar: the label over the first fifth, the slider after it.
    TapBarButton(ID_VOLUME_BAR);
    EXPECT_FALSE(IsVisible(Child(ID_POSITION_SLIDER)));
    const RECT label = ScreenRect(Child(ID_VOLUME_LABEL));
    const RECT volume = ScreenRect(Child(ID_VOLUME_SLIDER));
    EXPECT_EQ(label,
              (RECT{view.left, view.bottom - strip, view.left + width * 20 / 100, view.bottom}));
    EXPECT_EQ(volume, (RECT{view.left + width * 20 / 100, view.bottom - strip,
                            view.left + width * 20 / 100 + width * 80 / 100, view.bottom}));
    EXPECT_EQ(Height(ScreenRect(Control())), height - strip + 1);
    // Once more: the strip empties and the control covers the view again.
    TapBarButton(ID_VOLUME_BAR);
    EXPECT_FALSE(IsVisible(Child(ID_VOLUME_SLIDER)));
    EXPECT_FALSE(IsVisible(Child(ID_VOLUME_LABEL)));
    EXPECT_EQ(Height(ScreenRect(Control())), height + 1);
}

// At 96 pixels per inch the strip is the menu bar's 26 pixels; at 192 the
// menu bar is 52 and 52 x 192 / 96 = 104 is halved back to 52.
INSTANTIATE_TEST_SUITE_P(Resolutions, StripLayoutTest,
                         ::testing::Values(StripCase{{240, 320, 96}, 26},
                                           StripCase{{480, 640, 192}, 52}));

class MoviePopupTest : public PlayerFixture {
protected:
    POINT ControlCentre() const {
        const RECT rect = ScreenRect(Control());
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
};

TEST_F(MoviePopupTest, APlainTapGoesToTheMovieAndAHoldOpensTheControlMenu) {
    StartPlayer();
    Tap(ControlCentre());
    EXPECT_EQ(control->presses, 1);
    EXPECT_TRUE(Popups().empty());

    HoldOn(ControlCentre());
    EXPECT_EQ(control->presses, 1);
    ASSERT_FALSE(Popups().empty()) << Report();
    const auto rows = FrontPopupRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().text, u"Play/Pause");
    EXPECT_EQ(rows.back().text, u"Exit");
    // The view acts on what it handles.
    const std::size_t mark = Mark();
    ChoosePopupItem(u"Stop");
    EXPECT_EQ(Names(Only(Since(mark), {"StopMovie", "RewindMovie"})),
              (std::vector<std::string>{"StopMovie", "RewindMovie"}));
}

TEST_F(MoviePopupTest, ExitFromTheMoviesPopupDoesNotEndThePlayer) {
    StartPlayer();
    HoldOn(ControlCentre());
    ChoosePopupItem(u"Exit");
    Advance(200);
    EXPECT_FALSE(player->Finished());
    EXPECT_TRUE(IsVisible(Frame()));
    // "Show Toolbar" is the frame's: nothing changes from here either.
    HoldOn(ControlCentre());
    ChoosePopupItem(u"Screen");
    ChoosePopupItem(u"Show Toolbar");
    EXPECT_EQ(VisibleBar(), PlainBar());
}

} // namespace
