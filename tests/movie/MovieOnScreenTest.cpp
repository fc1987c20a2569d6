// What a user sees: the player with the project's own movie engine paints
// the movie into the device's screen, and the picture moves as the movie
// plays.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/Text.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Canvas.h"
#include "playertest/PlayerFixture.h"
#include "swf/HostFiles.h"
#include "swf/MovieControl.h"
#include "swfwriter/MovieWriter.h"

namespace {

using playertest::PlayerFixture;

constexpr std::uint32_t kRed = 0xFFFF0000;

// A white stage of 240 x 200 with a red square of 20 x 20 that moves two
// stage pixels to the right each frame, ten frames a second.
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
    return movie.Finish(swfwriter::Compression::None);
}

std::vector<std::uint8_t> ReadHostFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class MovieOnScreenTest : public PlayerFixture {
protected:
    void SetUp() override {
        swf::InstallMovieControl(std::make_shared<swf::HostFiles>(
            [this](const std::string& path) -> std::optional<std::filesystem::path> {
                return device->HostPath(text::FromUtf8(path));
            }));
        StartPlayer(u"", /*withControl=*/false);
    }

    void Open(const std::u16string& devicePath, const std::vector<std::uint8_t>& bytes) {
        WriteFile(devicePath, bytes);
        ::testing::internal::CaptureStdout();
        OpenLocation(devicePath);
        ::testing::internal::GetCapturedStdout();
    }

    // The control's pixels on the device's screen, opaque ARGB.
    struct Picture {
        RECT area{};
        std::vector<std::uint32_t> pixels;
        std::uint32_t At(int x, int y) const {
            return pixels[static_cast<std::size_t>(y * (area.right - area.left) + x)];
        }
    };
    Picture ControlOnScreen() const {
        Picture picture;
        picture.area = ScreenRect(Control());
        const auto screen = automation->Screenshot();
        for (int y = picture.area.top; y < picture.area.bottom; ++y) {
            for (int x = picture.area.left; x < picture.area.right; ++x) {
                picture.pixels.push_back(screen->Pixel(x, y) | 0xFF000000);
            }
        }
        return picture;
    }

    // The mean column of the pixels of that colour, or -1 when there is none.
    static double MeanColumnOf(const Picture& picture, std::uint32_t colour) {
        double sum = 0;
        int count = 0;
        const int width = picture.area.right - picture.area.left;
        const int height = picture.area.bottom - picture.area.top;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (picture.At(x, y) == colour) {
                    sum += x;
                    ++count;
                }
            }
        }
        return count > 0 ? sum / count : -1;
    }
};

TEST_F(MovieOnScreenTest, TheMovingSquareIsOnTheScreenAndMovesRight) {
    Open(u"\\My Documents\\square.swf", MovingSquare());
    Advance(1000);
    const Picture early = ControlOnScreen();
    ASSERT_GT(early.pixels.size(), 0u) << Report();
    const double earlyColumn = MeanColumnOf(early, kRed);
    ASSERT_GE(earlyColumn, 0) << "no red square in the control's area\n" << Report();
    // The stage's white is drawn as well, not only the control's background.
    EXPECT_GE(MeanColumnOf(early, 0xFFFFFFFF), 0);

    Advance(1000);
    const double laterColumn = MeanColumnOf(ControlOnScreen(), kRed);
    ASSERT_GE(laterColumn, 0) << Report();
    // Ten frames of two stage pixels each, at the view's scale (at least 0.5
    // on this screen).
    EXPECT_GT(laterColumn - earlyColumn, 8) << earlyColumn << " -> " << laterColumn;
}

TEST_F(MovieOnScreenTest, TheDemoMovieShowsAColourfulPictureThatChanges) {
    const auto demo = ReadHostFile(std::string(VANTREL_BINARY_DIR) + "/demo.swf");
    ASSERT_FALSE(demo.empty()) << "the build writes demo.swf";
    Open(u"\\My Documents\\demo.swf", demo);
    Advance(1500);
    const Picture first = ControlOnScreen();
    Advance(700);
    const Picture second = ControlOnScreen();
    ASSERT_EQ(first.pixels.size(), second.pixels.size());

    // Shapes with gradients, a bitmap and text give many colours; a control
    // that paints only its background gives one.
    const std::set<std::uint32_t> colours(first.pixels.begin(), first.pixels.end());
    EXPECT_GT(colours.size(), 50u) << Report();
    std::size_t changed = 0;
    for (std::size_t i = 0; i < first.pixels.size(); ++i) {
        changed += first.pixels[i] != second.pixels[i] ? 1 : 0;
    }
    // The moving, turning shapes change a good part of the picture.
    EXPECT_GT(changed, first.pixels.size() / 50) << "changed " << changed;
}

} // namespace
