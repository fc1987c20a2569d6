// The command bar of the test program's frame: the shell's menu bar from
// menu-bar resource 128 (soft keys "Open" and "Menu"), then the buttons of
// toolbar resource 130 (two buttons, a separator, a button).
#include "ProgramFixture.h"

#include "TestIds.h"
#include "platform/Controls.h"
#include "platform/Window.h"

namespace {

class CommandBarTest : public ProgramFixture {
protected:
    void SetUp() override {
        Start();
        ASSERT_TRUE(log.frameLoaded) << Diagnostics();
        ASSERT_NE(log.bar, nullptr);
    }

    TBBUTTON Button(int index) const {
        TBBUTTON button;
        EXPECT_NE(SendMessageW(log.bar, TB_GETBUTTON, static_cast<WPARAM>(index),
                               reinterpret_cast<LPARAM>(&button)),
                  0);
        return button;
    }
};

TEST_F(CommandBarTest, AppendsTheToolbarButtonsWithTheirImagesAfterTheSoftKeys) {
    ASSERT_EQ(SendMessageW(log.bar, TB_BUTTONCOUNT, 0, 0), 2 + 4);
    EXPECT_EQ(Button(0).idCommand, ID_OPEN_BUTTON);
    EXPECT_EQ(Button(1).idCommand, ID_MENU_BUTTON);

    const TBBUTTON first = Button(2);
    EXPECT_EQ(first.idCommand, ID_VIEW_AND_FRAME);
    EXPECT_EQ(Button(3).fsStyle & TBSTYLE_SEP, TBSTYLE_SEP);
    // One image a button, in order; the separator takes none.
    EXPECT_EQ(Button(4).idCommand, ID_FRAME_AND_APP);
    EXPECT_EQ(Button(4).iBitmap, first.iBitmap + 1);
    EXPECT_EQ(Button(5).idCommand, ID_APP_ONLY);
    EXPECT_EQ(Button(5).iBitmap, first.iBitmap + 2);
}

TEST_F(CommandBarTest, ItsButtonsSendTheirCommandsToTheFrame) {
    RECT button;
    ASSERT_NE(SendMessageW(log.bar, TB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&button)), 0);
    const RECT bar = ScreenRect(log.bar);
    const std::size_t mark = log.events.size();
    Tap(POINT{bar.left + (button.left + button.right) / 2,
              bar.top + (button.top + button.bottom) / 2});

    ASSERT_GT(log.events.size(), mark) << Diagnostics();
    EXPECT_EQ(log.events[mark], "frame:frame-and-app");
}

} // namespace
