// The frame on the device: command routing from the view to the frame to the
// application (commands sent by the frame's accelerators, F5 and up), the view
// laid out over the frame, the focus passed to the view, and the popup
// notification that reaches the frame.
#include "ProgramFixture.h"

#include "TestIds.h"
#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/Menus.h"
#include "platform/Window.h"
#include "platform/sim/WindowManager.h"

namespace {

using Events = std::vector<std::string>;

class FrameWindowTest : public ProgramFixture {
protected:
    void SetUp() override {
        Start();
        ASSERT_TRUE(log.frameLoaded) << Diagnostics();
    }

    // The events logged from here on.
    Events EventsSince(std::size_t mark) const {
        return Events(log.events.begin() + static_cast<std::ptrdiff_t>(mark), log.events.end());
    }

    static std::string Describe(const RECT& r) {
        return std::to_string(r.left) + "," + std::to_string(r.top) + " - " +
               std::to_string(r.right) + "," + std::to_string(r.bottom);
    }
};

TEST_F(FrameWindowTest, RoutesCommandsToTheViewThenTheFrameThenTheApplication) {
    const std::size_t mark = log.events.size();
    PressKey(VK_F5); // the view and the frame have it: the view takes it
    PressKey(VK_F6); // the frame and the application: the frame
    PressKey(VK_F7); // the application alone
    PressKey(VK_F9); // the view's handler declines it: on to the frame
    PressKey(VK_F8); // nobody's: goes unhandled, and nothing breaks

    EXPECT_EQ(EventsSince(mark), (Events{"view:view-and-frame", "frame:frame-and-app",
                                         "app:app-only", "view:declined", "frame:declined"}));
    EXPECT_FALSE(Finished());
}

TEST_F(FrameWindowTest, ARangeEntryTakesEachIdOfItsRange) {
    const std::size_t mark = log.events.size();
    PressKey(VK_F10); // the first id of the view's range
    PressKey(VK_F11); // the last
    PressKey(VK_F12); // the one after it

    EXPECT_EQ(EventsSince(mark), (Events{"view:mode:40011", "view:mode:40014"}));
}

TEST_F(FrameWindowTest, LaysTheViewOutOverItsClientAreaAndGivesItTheFocus) {
    sim::Window* frame = device->Windows().Find(log.frame);
    ASSERT_NE(frame, nullptr);
    // The title is the frame's string of its resource id.
    EXPECT_EQ(frame->text, u"Framework Test");
    EXPECT_EQ(Describe(ScreenRect(log.view)), Describe(device->Windows().ScreenClientRect(*frame)));
    ASSERT_NE(device->Windows().Focus(), nullptr);
    EXPECT_EQ(device->Windows().Focus()->handle, log.view);

    ASSERT_TRUE(
        device->RunOnProgram(*program, [&] { MoveWindow(log.frame, 0, 30, 200, 150, TRUE); }));
    ASSERT_EQ(frame->Width(), 200);
    EXPECT_EQ(Describe(ScreenRect(log.view)), Describe(device->Windows().ScreenClientRect(*frame)));
}

TEST_F(FrameWindowTest, ThePopupOfTheMenuBarReachesTheFrameBeforeItOpens) {
    RECT button;
    ASSERT_NE(SendMessageW(log.bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&button)), 0);
    const RECT bar = ScreenRect(log.bar);
    Tap(POINT{bar.left + (button.left + button.right) / 2,
              bar.top + (button.top + button.bottom) / 2});

    ASSERT_NE(log.lastPopup, nullptr) << Diagnostics();
    // What the frame's handler marked is what the user sees.
    UINT viewAndFrame = 0;
    UINT modeStates[4] = {};
    ASSERT_TRUE(device->RunOnProgram(*program, [&] {
        MENUITEMINFOW info;
        info.fMask = MIIM_STATE;
        GetMenuItemInfoW(log.lastPopup, ID_VIEW_AND_FRAME, FALSE, &info);
        viewAndFrame = info.fState;
        for (int position = 0; position < 4; ++position) {
            MENUITEMINFOW item;
            item.fMask = MIIM_STATE;
            GetMenuItemInfoW(GetSubMenu(log.lastPopup, 2), position, TRUE, &item);
            modeStates[position] = item.fState;
        }
    }));
    EXPECT_NE(viewAndFrame & MFS_CHECKED, 0u);
    EXPECT_EQ(modeStates[0] & MFS_CHECKED, 0u);
    EXPECT_EQ(modeStates[1] & MFS_CHECKED, 0u);
    EXPECT_NE(modeStates[2] & MFS_CHECKED, 0u);
    EXPECT_EQ(modeStates[3] & MFS_CHECKED, 0u);

    PressKey(VK_ESCAPE);
    EXPECT_FALSE(Finished());
}

} // namespace
