// The main frame: its two menu bars and "Show Toolbar", the check marks of
// the "Control" menu, the toolbar images for the screen's width, the layout
// in normal mode and in full screen, the Action key's registration and the
// activation that takes and gives back the hot keys.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/ToolbarState.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

class MainFrameTest : public PlayerFixture {};

TEST_F(MainFrameTest, TheFirstStartShowsTheMenuOnlyBarAndShowToolbarBringsTheButtons) {
    StartPlayer();
    EXPECT_EQ(VisibleBar(), PlainBar()) << Report();
    EXPECT_FALSE(IsVisible(ToolbarBar()));
    // Both bars carry the frame's toolbar window id.
    EXPECT_EQ(GetWindowLongW(PlainBar(), GWL_ID), 0xE800);
    EXPECT_EQ(GetWindowLongW(ToolbarBar(), GWL_ID), 0xE800);
    ChooseMenu({u"Screen"});
    EXPECT_FALSE(RowChecked(u"Show Toolbar"));
    ChoosePopupItem(u"Show Toolbar");
    EXPECT_EQ(VisibleBar(), ToolbarBar());
    EXPECT_FALSE(IsVisible(PlainBar()));
    ChooseMenu({u"Screen"});
    EXPECT_TRUE(RowChecked(u"Show Toolbar"));
    // Toggling writes nothing; the next save carries the new state.
    EXPECT_EQ(SettingsSaves(), 0);
    ChoosePopupItem(u"Show Toolbar");
    EXPECT_EQ(VisibleBar(), PlainBar());
    ChooseMenu({u"Screen", u"Show Toolbar"});
    ChooseMenu({u"Exit"});
    EXPECT_EQ(ReadText(playertest::kSettingsPath), "0 1 10 560 1 0 8");
}

TEST_F(MainFrameTest, TheMenuMarksTheScaleModeAndTheZoom) {
    StartPlayer();
    ChooseMenu({u"Screen", u"Scale Mode"});
    EXPECT_TRUE(RowChecked(u"Show All"));
    EXPECT_FALSE(RowChecked(u"No Scale"));
    ChoosePopupItem(u"No Scale");
    ChooseMenu({u"Zoom"});
    EXPECT_TRUE(RowChecked(u"100%"));
    ChoosePopupItem(u"125%");
    ChooseMenu({u"Zoom"});
    EXPECT_TRUE(RowChecked(u"125%"));
    EXPECT_FALSE(RowChecked(u"100%"));
    DismissPopups();
    ChooseMenu({u"Screen", u"Scale Mode"});
    EXPECT_TRUE(RowChecked(u"No Scale"));
    EXPECT_FALSE(RowChecked(u"Show All"));
    for (const sim::PopupMenuRow& row : FrontPopupRows()) {
        EXPECT_EQ(row.radio, row.checked) << "a radio mark, not a tick";
    }
}

TEST_F(MainFrameTest, AStoredScaleModeOutOfRangeShowsNoMark) {
    WriteText(playertest::kSettingsPath, "0 1 10 560 1 9 0");
    StartPlayer();
    ChooseMenu({u"Screen", u"Scale Mode"});
    for (const sim::PopupMenuRow& row : FrontPopupRows()) {
        EXPECT_FALSE(row.checked) << "\"" << text::ToUtf8(row.text) << "\" is marked";
    }
}

TEST_F(MainFrameTest, TheActionKeyIsTheFramesAndOnlyTheToolbarBarHearsOfIt) {
    StartPlayer();
    const auto registered = Calls("RegisterHotKey");
    const auto action = std::find_if(registered.begin(), registered.end(),
                                     [](const auto& call) { return call.args[1].Int() == 104; });
    ASSERT_NE(action, registered.end());
    EXPECT_EQ(action->args[0].Int(), reinterpret_cast<std::intptr_t>(Frame()));
    EXPECT_EQ(action->args[2].Int(), 0);
    EXPECT_EQ(action->args[3].Int(), VK_F23);
    const auto overrides = Calls("SHCMBM_OVERRIDEKEY");
    ASSERT_EQ(overrides.size(), 1u);
    EXPECT_EQ(overrides[0].args[0].Int(), reinterpret_cast<std::intptr_t>(ToolbarBar()));
    EXPECT_EQ(overrides[0].args[1].Int(), VK_F23);
    EXPECT_EQ(overrides[0].args[2].Int(), 3);
    EXPECT_EQ(overrides[0].args[3].Int(), 3);
}

TEST_F(MainFrameTest, NormalModeSitsBetweenTheBarsAndFullScreenCoversTheScreen) {
    StartPlayer();
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 26, 240, 294})) << Report();
    // The frame has no border of its own: the view can fill it.
    EXPECT_EQ(ClientRect(Frame()), ScreenRect(Frame()));
    EXPECT_TRUE(IsVisible(VisibleBar()));
    const std::size_t mark = Mark();
    ChooseMenu({u"Screen", u"Toggle Fullscreen"});
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 0, 240, 320}));
    EXPECT_FALSE(IsVisible(PlainBar()));
    EXPECT_FALSE(IsVisible(ToolbarBar()));
    Press(sim::HardwareButton::Action);
    EXPECT_EQ(ScreenRect(Frame()), (RECT{0, 26, 240, 294}));
    EXPECT_EQ(VisibleBar(), PlainBar());
    // Hide the task bar and the input-panel button, then show the task bar.
    std::vector<std::int64_t> flags;
    for (const sim::JournalEntry& call : Only(Since(mark), {"SHFullScreen"})) {
        flags.push_back(call.args[1].Int());
    }
    EXPECT_EQ(flags, (std::vector<std::int64_t>{0x0A, 0x09}));
}

TEST_F(MainFrameTest, InTheBackgroundTheKeysAreFreeAndTheModeWaitsForTheReturn) {
    StartPlayer();
    const HWND frame = Frame();
    const std::size_t mark = Mark();
    device->Services().ShowTodayScreen();
    Settle();
    // The application buttons are given back, then the ten keys.
    const auto released = Only(Since(mark), {"SHSetAppKeyWndAssoc", "UnregisterHotKey"});
    ASSERT_EQ(released.size(), 16u) << Report();
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(released[i].call, "SHSetAppKeyWndAssoc");
        EXPECT_EQ(released[i].args[0].Int(), 0xC1 + i);
        EXPECT_EQ(released[i].args[1].Int(), 0);
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(released[6 + i].call, "UnregisterHotKey");
        EXPECT_EQ(released[6 + i].args[1].Int(), i + 1);
    }
    // The Action key is still the player's: the flag changes, the frame not.
    Press(sim::HardwareButton::Action);
    Ticks(2);
    EXPECT_EQ(ScreenRect(frame), (RECT{0, 26, 240, 294}));
    device->Services().BringToFront(frame);
    Settle();
    EXPECT_EQ(ScreenRect(frame), (RECT{0, 0, 240, 320})) << Report();
}

TEST_F(MainFrameTest, AHelpRequestStartsTheHelpViewer) {
    StartPlayer();
    auto log = device->Recorders().Record({Frame()}, true);
    // The platform asks the main window for help.
    SendMessageW(Frame(), 0x0053, 0, 0);
    Settle();
    // The request goes on to the default processing afterwards.
    bool defaultProcessed = false;
    for (const sim::RecordedMessage& message : log->Of(Frame())) {
        defaultProcessed = defaultProcessed ||
                           (message.message == 0x0053 && message.arrival == sim::Arrival::Default);
    }
    EXPECT_TRUE(defaultProcessed);
    const auto started = Calls("CreateProcessW");
    ASSERT_EQ(started.size(), 1u) << Report();
    EXPECT_EQ(started[0].args[0].Text(), "peghelp.exe");
    EXPECT_EQ(started[0].args[1].Text(), "file:vantrel.htm#Main_Contents");
    EXPECT_FALSE(player->Finished());
}

// The toolbar images by the screen's width.
struct ToolbarCase {
    playertest::DeviceSpec device;
    int imageWidth;
    int imageHeight;
};

class ToolbarImagesTest : public PlayerFixture, public ::testing::WithParamInterface<ToolbarCase> {
protected:
    ToolbarImagesTest() : PlayerFixture(GetParam().device) {}
};

TEST_P(ToolbarImagesTest, FollowTheScreenWidth) {
    StartPlayer();
    const auto* state = sim::StateOf<sim::ToolbarState>(ToolbarBar());
    ASSERT_NE(state, nullptr) << Report();
    EXPECT_EQ(state->bitmapWidth, GetParam().imageWidth);
    EXPECT_EQ(state->bitmapHeight, GetParam().imageHeight);
    // The soft keys and the seven toolbar items, the Pause button hidden.
    EXPECT_EQ(SendMessageW(ToolbarBar(), TB_BUTTONCOUNT, 0, 0), 9);
    EXPECT_NE(SendMessageW(ToolbarBar(), TB_ISBUTTONHIDDEN, ID_PAUSE, 0), 0);
    EXPECT_EQ(SendMessageW(ToolbarBar(), TB_ISBUTTONHIDDEN, ID_PLAY_PAUSE, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(Screens, ToolbarImagesTest,
                         ::testing::Values(ToolbarCase{{240, 320, 96}, 16, 15},
                                           ToolbarCase{{320, 240, 96}, 16, 15},
                                           ToolbarCase{{480, 640, 192}, 32, 31}));

} // namespace
