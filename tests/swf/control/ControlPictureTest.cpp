// The control's picture follows the control's movie, scale mode and "_root",
// and keeps the state's counts of frames rendered and skipped.
#include "swf/control/ControlPicture.h"

#include <gtest/gtest.h>

#include "LoaderHarness.h"
#include "RenderHelpers.h"

namespace {

using namespace swfwriter;

class FixedClock final : public swf::Clock {
public:
    std::uint64_t now = 1000;
    std::uint64_t NowMilliseconds() const override { return now; }
};

class NoFetcher final : public swf::Fetcher {
public:
    std::unique_ptr<swf::Fetch> Start(const std::string&, std::function<void()>) override {
        return nullptr;
    }
};

// 10 frames at 10 fps: a red square that moves in frames 5 and up, on white.
std::vector<std::uint8_t> SquareMovie() {
    MovieWriter movie(8, 40, 20, 10);
    movie.SetBackground({255, 255, 255});
    movie.Place(1, movie.DefineShape(testmovies::Square({255, 0, 0}, 200)));
    for (int frame = 0; frame < 10; ++frame) {
        if (frame >= 4) {
            movie.Move(1, {.matrix = Matrix::Translate(frame * 40, 0)});
        }
        movie.ShowFrame();
    }
    return movie.Finish();
}

class ControlPictureTest : public testing::Test {
protected:
    ControlPictureTest() {
        files.files["\\square.swf"] = SquareMovie();
        Variant url = Variant::Text(u"file://\\square.swf");
        Variant result;
        state.Invoke(swf::dispid::MovieUrl, DISPATCH_PROPERTYPUT, std::span(&url, 1), result);
        for (int i = 0; i < 1000 && wakes > 0; ++i) {
            --wakes;
            state.Pump();
        }
    }
    void Tick(std::uint64_t milliseconds) {
        clock.now += milliseconds;
        state.Tick();
    }

    harness::MemoryFiles files;
    NoFetcher fetcher;
    FixedClock clock;
    int wakes = 0;
    swf::MovieControlState state{files, fetcher, clock, [this] { ++wakes; }, [] {}};
    swf::ControlPicture picture;
};

TEST_F(ControlPictureTest, RendersChangedFramesAndCountsTheRestAsSkipped) {
    ASSERT_EQ(state.ReadyState(), 4);
    EXPECT_TRUE(picture.Update(state, 80, 40));
    ASSERT_NE(picture.View(), nullptr);
    EXPECT_EQ(rendertest::Red(picture.View()->Pixel(2, 2)), 255);
    EXPECT_EQ(rendertest::Green(picture.View()->Pixel(2, 2)), 0);
    // Frames 2 to 4 show the same stage: no rendering.
    for (int i = 0; i < 3; ++i) {
        Tick(100);
        EXPECT_FALSE(picture.Update(state, 80, 40));
    }
    Tick(100); // frame 5 moves the square
    EXPECT_TRUE(picture.Update(state, 80, 40));
    EXPECT_EQ(state.framesRendered, 2u);
    EXPECT_EQ(state.framesSkipped, 3u);
    EXPECT_NE(state.StateJson().find("\"framesRendered\":2,\"framesSkipped\":3"), std::string::npos)
        << state.StateJson();
}

TEST_F(ControlPictureTest, FollowsTheScaleModeAndRootProperties) {
    picture.Update(state, 80, 80);
    // Show all: the 40 x 20 stage doubled, centred with bands above and below.
    EXPECT_EQ(rendertest::Green(picture.View()->Pixel(2, 10)), 255);
    EXPECT_EQ(rendertest::Green(picture.View()->Pixel(2, 22)), 0);

    Variant mode = Variant::Int(2); // exact fit
    Variant result;
    state.Invoke(swf::dispid::ScaleMode, DISPATCH_PROPERTYPUT, std::span(&mode, 1), result);
    EXPECT_TRUE(picture.Update(state, 80, 80));
    EXPECT_EQ(rendertest::Green(picture.View()->Pixel(2, 2)), 0);

    std::vector<Variant> args = {Variant::Text(u"_root"), Variant::Int(0), Variant::Double(20)};
    state.Invoke(swf::dispid::SetClipPropertyNumber, DISPATCH_METHOD, args, result);
    EXPECT_TRUE(picture.Update(state, 80, 80));
    EXPECT_EQ(rendertest::Green(picture.View()->Pixel(2, 2)), 255); // moved right
}

TEST(ControlPicture, NoMovieNoPicture) {
    harness::MemoryFiles files;
    NoFetcher fetcher;
    FixedClock clock;
    swf::MovieControlState state{files, fetcher, clock, [] {}, [] {}};
    swf::ControlPicture picture;
    EXPECT_FALSE(picture.Update(state, 80, 80));
    EXPECT_EQ(picture.View(), nullptr);
    EXPECT_EQ(state.framesRendered + state.framesSkipped, 0u);
}

} // namespace
