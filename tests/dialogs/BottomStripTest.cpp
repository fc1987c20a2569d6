// The bottom strip: the position slider or the volume bar, never both, with
// their toolbar buttons pressed while shown, and the volume slider that
// shows the left channel and sets both.
#include <gtest/gtest.h>

#include "platform/Controls.h"
#include "platform/Sound.h"
#include "platform/Window.h"
#include "platform/sim/SystemServices.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"

namespace {

using playertest::PlayerFixture;

class BottomStripTest : public PlayerFixture {
protected:
    void SetUp() override {
        StartPlayer();
        ChooseMenu({u"Screen", u"Show Toolbar"});
    }

    bool Pressed(int command) const {
        return SendMessageW(ToolbarBar(), TB_ISBUTTONPRESSED, static_cast<WPARAM>(command), 0) != 0;
    }
    HWND VolumeSlider() const { return Child(ID_VOLUME_SLIDER); }
    LRESULT VolumePosition() const { return SendMessageW(VolumeSlider(), TBM_GETPOS, 0, 0); }
    DWORD Volume() const { return device->Services().Volume(); }

    // Drags the volume slider's thumb past one end of its channel.
    void DragThumbTo(bool right) {
        RECT thumb{};
        SendMessageW(VolumeSlider(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        POINT from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
        ClientToScreen(VolumeSlider(), &from);
        const RECT slider = ScreenRect(VolumeSlider());
        automation->Drag(from, POINT{right ? slider.right + 20 : slider.left - 20, from.y});
        Advance(400);
    }
};

TEST_F(BottomStripTest, TheTwoButtonsShowOnePartOfTheStripAtATime) {
    TapBarButton(ID_POSITION_BAR);
    EXPECT_TRUE(IsVisible(Child(ID_POSITION_SLIDER)));
    EXPECT_TRUE(Pressed(ID_POSITION_BAR));
    TapBarButton(ID_VOLUME_BAR);
    EXPECT_FALSE(IsVisible(Child(ID_POSITION_SLIDER)));
    EXPECT_FALSE(Pressed(ID_POSITION_BAR));
    EXPECT_TRUE(IsVisible(VolumeSlider()));
    EXPECT_TRUE(IsVisible(Child(ID_VOLUME_LABEL)));
    EXPECT_TRUE(Pressed(ID_VOLUME_BAR));
    TapBarButton(ID_POSITION_BAR);
    EXPECT_FALSE(IsVisible(VolumeSlider()));
    EXPECT_FALSE(Pressed(ID_VOLUME_BAR));
    EXPECT_TRUE(Pressed(ID_POSITION_BAR));
    TapBarButton(ID_POSITION_BAR);
    EXPECT_FALSE(IsVisible(Child(ID_POSITION_SLIDER)));
    EXPECT_FALSE(Pressed(ID_POSITION_BAR));
    // Full screen leaves the strip as it is.
    TapBarButton(ID_VOLUME_BAR);
    Press(sim::HardwareButton::Action);
    EXPECT_TRUE(IsVisible(VolumeSlider()));
}

TEST_F(BottomStripTest, TheVolumeSliderSetsBothChannels) {
    TapBarButton(ID_VOLUME_BAR);
    EXPECT_EQ(SendMessageW(VolumeSlider(), TBM_GETRANGEMAX, 0, 0), 65535);
    EXPECT_EQ(VolumePosition(), 65535);
    DragThumbTo(false);
    EXPECT_EQ(VolumePosition(), 0);
    EXPECT_EQ(Volume(), 0u);
    DragThumbTo(true);
    EXPECT_EQ(Volume(), 0xFFFFFFFFu);
    for (const sim::JournalEntry& call : Calls("waveOutSetVolume")) {
        // The wave mapper, both channels alike.
        EXPECT_EQ(call.args[0].Int(), 0xFFFFFFFF);
        EXPECT_EQ(call.args[1].Int() & 0xFFFF, call.args[1].Int() >> 16);
    }
}

TEST_F(BottomStripTest, TheSliderShowsTheLeftChannelAndItsFirstMoveEvensThemOut) {
    RunOnDevice([] { waveOutSetVolume(WaveMapperHandle(), 0x2000C000); });
    ASSERT_EQ(Volume(), 0x2000C000u);
    TapBarButton(ID_VOLUME_BAR);
    EXPECT_EQ(VolumePosition(), 0xC000);
    // A tap on the channel left of the thumb moves it a page down.
    RECT channel{};
    SendMessageW(VolumeSlider(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    POINT point{channel.left + 2, (channel.top + channel.bottom) / 2};
    ClientToScreen(VolumeSlider(), &point);
    Tap(point);
    const auto position = static_cast<DWORD>(VolumePosition());
    EXPECT_LT(position, 0xC000u);
    EXPECT_EQ(Volume(), position << 16 | position);
}

} // namespace
