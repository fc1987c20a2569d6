// The About box: the icon and the version line where the upright or the
// landscape layout puts them, moved when the screen turns while the box is
// open, and the OK button in the task bar that closes it.
#include <gtest/gtest.h>

#include "platform/Display.h"
#include "platform/Window.h"
#include "platform/sim/Screen.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::DeviceSpec;
using playertest::PlayerFixture;

class AboutTest : public PlayerFixture {
protected:
    explicit AboutTest(DeviceSpec spec = {}) : PlayerFixture(spec) {}

    HWND OpenAbout() {
        ChooseMenu({u"About"});
        const HWND box = Dialog();
        EXPECT_NE(box, nullptr) << Report();
        return box;
    }

    // A control's rectangle in the box's client area: left, top, width,
    // height in pixels. The box's font makes 4 dialog units 7 pixels across
    // and 8 of them 15 pixels down: the icon at 7, 7 (upright) is at 12, 13,
    // at 12, 12 (landscape) at 21, 23.
    std::vector<LONG> Place(HWND box, int id) const {
        const HWND control = automation->FindWindow(sim::WindowQuery().Within(box).Id(id));
        const RECT screen = ScreenRect(control);
        const RECT client = ClientRect(box);
        return {screen.left - client.left, screen.top - client.top, screen.right - screen.left,
                screen.bottom - screen.top};
    }

    void Turn(DWORD orientation) {
        RunOnDevice([orientation] {
            DEVMODEW mode;
            mode.dmSize = sizeof(DEVMODEW);
            mode.dmFields = DM_DISPLAYORIENTATION;
            mode.dmDisplayOrientation = orientation;
            ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
        });
        Settle();
    }
};

TEST_F(AboutTest, TheUprightLayoutFollowsTheScreenAsItTurnsAndBack) {
    StartPlayer();
    const HWND box = OpenAbout();
    EXPECT_EQ(automation->TextOf(box), u"About Vantrel");
    EXPECT_EQ(Place(box, IDC_ABOUT_ICON), (std::vector<LONG>{12, 13, 35, 38}));
    EXPECT_EQ(Place(box, IDC_ABOUT_VERSION), (std::vector<LONG>{54, 13, 205, 15}));
    Turn(DMDO_90);
    ASSERT_EQ(Dialog(), box);
    EXPECT_EQ(Place(box, IDC_ABOUT_ICON), (std::vector<LONG>{21, 23, 35, 37}));
    EXPECT_EQ(Place(box, IDC_ABOUT_VERSION), (std::vector<LONG>{86, 13, 241, 15}));
    Turn(DMDO_0);
    EXPECT_EQ(Place(box, IDC_ABOUT_ICON), (std::vector<LONG>{12, 13, 35, 38}));
    EXPECT_EQ(Place(box, IDC_ABOUT_VERSION), (std::vector<LONG>{54, 13, 205, 15}));
}

TEST_F(AboutTest, TheOkButtonInTheTaskBarClosesTheBox) {
    StartPlayer();
    OpenAbout();
    const std::optional<RECT> ok = device->GetScreen().CaptionOkButton();
    ASSERT_TRUE(ok) << Report();
    Tap(POINT{(ok->left + ok->right) / 2, (ok->top + ok->bottom) / 2});
    EXPECT_EQ(Dialog(), nullptr) << Report();
    // The player's own frame has no OK button.
    EXPECT_FALSE(device->GetScreen().CaptionOkButton());
}

class LandscapeAboutTest : public AboutTest {
protected:
    LandscapeAboutTest() : AboutTest(DeviceSpec{320, 240}) {}
};

TEST_F(LandscapeAboutTest, ALandscapeScreenOpensTheBoxInTheLandscapeLayout) {
    StartPlayer();
    const HWND box = OpenAbout();
    EXPECT_EQ(Place(box, IDC_ABOUT_ICON), (std::vector<LONG>{21, 23, 35, 37}));
    EXPECT_EQ(Place(box, IDC_ABOUT_VERSION), (std::vector<LONG>{86, 13, 241, 15}));
}

} // namespace
