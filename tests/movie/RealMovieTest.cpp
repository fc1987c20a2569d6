// The player with the project's own movie engine as the movie control: a
// movie made by the SWF writer, opened through the dialog, plays; the slider
// follows it; Play/Pause, Stop, Forward, Back and the slider act on the
// frame the control shows; the movie's picture is on the device's screen
// and moves, for this movie and for the demo movie.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Canvas.h"
#include "playertest/EngineControl.h"
#include "playertest/PlayerFixture.h"
#include "resources/resource.h"
#include "swfwriter/MovieWriter.h"

namespace {

using playertest::PlayerFixture;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

// 100 frames at 10 frames a second on a white stage of 240 x 200: a red
// square of 20 x 20 that moves two stage pixels to the right each frame.
std::vector<std::uint8_t> MovingSquare() {
    swfwriter::MovieWriter movie(8, 240, 200, 10.0);
    movie.SetBackground({255, 255, 255});
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

std::vector<std::uint8_t> ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The control's pixels on the device's screen, opaque ARGB, row by row.
struct ControlPicture {
    int width = 0;
    std::vector<std::uint32_t> pixels;

    // The mean column of the pixels of that colour, or -1 when there is none.
    double MeanColumnOf(std::uint32_t colour) const {
        double sum = 0;
        int count = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            if (pixels[i] == colour) {
                sum += static_cast<double>(i % static_cast<std::size_t>(width));
                ++count;
            }
        }
        return count > 0 ? sum / count : -1;
    }
};

class RealMovieTest : public PlayerFixture {
protected:
    void SetUp() override {
        playertest::InstallEngineControl(*device);
        StartPlayer(u"", /*withControl=*/false);
        ChooseMenu({u"Screen", u"Show Toolbar"});
        WriteFile(u"\\My Documents\\square.swf", MovingSquare());
        ::testing::internal::CaptureStdout();
        OpenLocation(u"\\My Documents\\square.swf");
        ::testing::internal::GetCapturedStdout();
    }

    // What the control says of itself.
    std::string State() const { return playertest::ControlStateJson(*device, Control()); }
    long Frame() const { return Field("frameNumber"); }
    bool Playing() const { return State().find("\"playing\":true") != std::string::npos; }
    long Field(const std::string& name) const {
        std::smatch found;
        const std::string state = State();
        return std::regex_search(state, found, std::regex("\"" + name + "\":(-?[0-9]+)"))
                   ? std::stol(found[1])
                   : -1;
    }
    ControlPicture ControlOnScreen() const {
        const RECT area = ScreenRect(Control());
        const auto screen = automation->Screenshot();
        ControlPicture picture;
        picture.width = area.right - area.left;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                picture.pixels.push_back(screen->Pixel(x, y) | 0xFF000000);
            }
        }
        return picture;
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

TEST_F(RealMovieTest, TheMovingSquareIsOnTheScreenAndMovesRight) {
    Advance(1000);
    const ControlPicture early = ControlOnScreen();
    ASSERT_GT(early.pixels.size(), 0u) << Report();
    const double earlyColumn = early.MeanColumnOf(kRed);
    ASSERT_GE(earlyColumn, 0) << "no red square in the control's area\n" << Report();
    // The stage's white is drawn as well, not only the control's background.
    EXPECT_GE(early.MeanColumnOf(kWhite), 0);

    Advance(1000);
    const double laterColumn = ControlOnScreen().MeanColumnOf(kRed);
    ASSERT_GE(laterColumn, 0) << Report();
    // Ten frames of two stage pixels each, at the view's scale (at least 0.5
    // on this screen).
    EXPECT_GT(laterColumn - earlyColumn, 8) << earlyColumn << " -> " << laterColumn;
}

TEST_F(RealMovieTest, TheDemoMovieShowsAColourfulPictureThatChanges) {
    const auto demo = ReadHostFile(std::string(VANTREL_BINARY_DIR) + "/demo.swf");
    ASSERT_FALSE(demo.empty()) << "the build writes demo.swf";
    WriteFile(u"\\My Documents\\demo.swf", demo);
    ::testing::internal::CaptureStdout();
    OpenLocation(u"\\My Documents\\demo.swf");
    ::testing::internal::GetCapturedStdout();
    Advance(1500);
    const ControlPicture first = ControlOnScreen();
    Advance(700);
    const ControlPicture second = ControlOnScreen();
    ASSERT_EQ(first.pixels.size(), second.pixels.size());

    // Shapes with gradients, a bitmap and text give many colours; a control
    // that paints only its background gives one.
    const std::set<std::uint32_t> colours(first.pixels.begin(), first.pixels.end());
    EXPECT_GT(colours.size(), 50u) << Report();
    // The caption's pale blue is the text's alone, and a strong blue with
    // little red and green is found only in the bitmap's colour wheel.
    const auto count = [&first](auto matches) {
        return std::count_if(first.pixels.begin(), first.pixels.end(), [&](std::uint32_t pixel) {
            return matches(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
        });
    };
    EXPECT_GE(count([](int r, int g, int b) {
                  return r >= 180 && r <= 215 && g >= 200 && g <= 235 && b >= 235;
              }),
              40)
        << "no caption text";
    EXPECT_GE(count([](int r, int g, int b) { return b >= 200 && r < 100 && g < 100; }), 40)
        << "no colour wheel";
    std::size_t changed = 0;
    for (std::size_t i = 0; i < first.pixels.size(); ++i) {
        changed += first.pixels[i] != second.pixels[i] ? 1 : 0;
    }
    // The moving, turning shapes change a good part of the picture.
    EXPECT_GT(changed, first.pixels.size() / 50) << "changed " << changed;
}

} // namespace
