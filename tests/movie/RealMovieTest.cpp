// The player with the project's own movie engine as the movie control: a
// movie made by the SWF writer, opened through the dialog, plays; the slider
// follows it; Play/Pause, Stop, Forward, Back and the slider act on the
// frame the control shows.
#include <gtest/gtest.h>

#include <regex>

#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/Text.h"
#include "platform/sim/WindowManager.h"
#include "platform/sim/WindowObject.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"
#include "swf/HostFiles.h"
#include "swf/MovieControl.h"
#include "swfwriter/MovieWriter.h"

namespace {

using playertest::PlayerFixture;

// 100 frames at 10 frames a second, a red square moving along.
std::vector<std::uint8_t> MovingSquare() {
    swfwriter::MovieWriter movie(8, 240, 200, 10.0);
    swfwriter::ShapeBuilder square;
    square.SetStyle(0, square.AddFill(swfwriter::Fill::Solid({255, 0, 0})), 0);
    square.Rectangle(0, 0, 400, 400);
    const auto id = movie.DefineShape(square, 3);
    movie.Place(1, id);
    for (int frame = 0; frame < 100; ++frame) {
        movie.Move(1, {.matrix = swfwriter::Matrix::Translate(frame * 40, 1000)});
        movie.ShowFrame();
    }
    return movie.Finish(swfwriter::Compression::Zlib);
}

class RealMovieTest : public PlayerFixture {
protected:
    void SetUp() override {
        // The engine reads "file://" movies through the device's storage.
        swf::InstallMovieControl(std::make_shared<swf::HostFiles>(
            [this](const std::string& path) -> std::optional<std::filesystem::path> {
                return device->HostPath(text::FromUtf8(path));
            }));
        StartPlayer(u"", /*withControl=*/false);
        ChooseMenu({u"Screen", u"Show Toolbar"});
        WriteFile(u"\\My Documents\\square.swf", MovingSquare());
        ::testing::internal::CaptureStdout();
        OpenLocation(u"\\My Documents\\square.swf");
        ::testing::internal::GetCapturedStdout();
    }

    // What the control says of itself.
    std::string State() const {
        const sim::Window* window = device->Windows().Find(Control());
        return window != nullptr && window->hostedControl ? window->hostedControl->StateJson() : "";
    }
    long Frame() const { return Field("frameNumber"); }
    bool Playing() const { return State().find("\"playing\":true") != std::string::npos; }
    long Field(const std::string& name) const {
        std::smatch found;
        const std::string state = State();
        return std::regex_search(state, found, std::regex("\"" + name + "\":(-?[0-9]+)"))
                   ? std::stol(found[1])
                   : -1;
    }
    LRESULT SliderPosition() const {
        return SendMessageW(Child(ID_POSITION_SLIDER), TBM_GETPOS, 0, 0);
    }
};

TEST_F(RealMovieTest, AMovieOpenedThroughTheDialogPlaysAndTheSliderFollowsIt) {
    Advance(1000);
    ASSERT_EQ(Field("readyState"), 4) << State();
    EXPECT_EQ(Field("totalFrames"), 100);
    EXPECT_TRUE(Playing()) << State();
    const long early = Frame();
    EXPECT_GT(early, 0);
    TapBarButton(ID_POSITION_BAR);
    Advance(1000);
    EXPECT_GE(Frame(), early + 8) << State();
    // The slider shows the frame the last tick found.
    EXPECT_GE(SliderPosition(), Frame() - 1);
    EXPECT_LE(SliderPosition(), Frame());
    EXPECT_EQ(SendMessageW(Child(ID_POSITION_SLIDER), TBM_GETRANGEMAX, 0, 0), 100);
}

TEST_F(RealMovieTest, TheCommandsActOnTheFrameTheControlShows) {
    Advance(1000);
    ASSERT_TRUE(Playing()) << State();
    // Pause: the movie stands still.
    TapBarButton(ID_PAUSE);
    const long paused = Frame();
    Advance(1000);
    EXPECT_FALSE(Playing());
    EXPECT_EQ(Frame(), paused);
    // Forward and Back: a fiftieth of 100 frames.
    ChooseMenu({u"Seek", u"Forward"});
    EXPECT_EQ(Frame(), paused + 2);
    ChooseMenu({u"Seek", u"Back"});
    ChooseMenu({u"Seek", u"Back"});
    EXPECT_EQ(Frame(), paused - 2);
    EXPECT_FALSE(Playing());
    // The slider takes the movie to its position and leaves it paused.
    TapBarButton(ID_POSITION_BAR);
    PressKey(VK_RIGHT);
    EXPECT_EQ(Frame(), SliderPosition());
    Advance(500);
    EXPECT_FALSE(Playing());
    // Play: on from there.
    const long resumed = Frame();
    TapBarButton(ID_PLAY_PAUSE);
    Advance(1000);
    EXPECT_TRUE(Playing());
    EXPECT_GE(Frame(), resumed + 8) << State();
    // Stop: back to the first frame, and it stays there.
    TapBarButton(ID_STOP);
    const long stopped = Frame();
    Advance(1000);
    EXPECT_FALSE(Playing());
    EXPECT_EQ(Frame(), stopped);
    EXPECT_LE(stopped, 1);
}

} // namespace
