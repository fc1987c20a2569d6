// The view renders only when what is on stage changes, and counts what it
// rendered and skipped; the stage sits in the window by the scale modes,
// with the "_root" properties on top.
#include <gtest/gtest.h>

#include "RenderHelpers.h"

namespace {

using namespace swfwriter;
using rendertest::Blue;
using rendertest::Green;
using rendertest::Red;

bool IsRed(std::uint32_t p) {
    return Red(p) > 240 && Green(p) < 15 && Blue(p) < 15;
}
bool IsWhite(std::uint32_t p) {
    return Red(p) > 240 && Green(p) > 240 && Blue(p) > 240;
}

// A stage of 100 x 50 filled red, on a white background.
std::vector<std::uint8_t> RedStage() {
    MovieWriter movie(8, 100, 50, 12);
    movie.SetBackground({255, 255, 255});
    ShapeBuilder shape;
    shape.SetStyle(0, shape.AddFill(Fill::Solid({255, 0, 0})), 0);
    shape.Rectangle(0, 0, 2000, 1000);
    movie.Place(1, movie.DefineShape(shape));
    movie.ShowFrame();
    return movie.Finish();
}

TEST(MovieView, ScaleModesPlaceTheStageCentredInTheWindow) {
    const auto bytes = RedStage();
    auto played = rendertest::Play(bytes);
    swf::MovieView view(played.Movie());

    // Show all: twice the size, 50-pixel bands above and below.
    view.Update(*played.player, {200, 200, swf::ScaleMode::ShowAll});
    EXPECT_TRUE(IsWhite(view.Pixel(100, 45)));
    EXPECT_TRUE(IsRed(view.Pixel(100, 55)));
    EXPECT_TRUE(IsRed(view.Pixel(1, 144)));
    EXPECT_TRUE(IsWhite(view.Pixel(100, 155)));

    // No border and exact fit: the window is all stage.
    for (const auto mode : {swf::ScaleMode::NoBorder, swf::ScaleMode::ExactFit}) {
        view.Update(*played.player, {200, 200, mode});
        EXPECT_TRUE(IsRed(view.Pixel(0, 0)));
        EXPECT_TRUE(IsRed(view.Pixel(199, 199)));
    }

    // No scale: the stage at its size in the middle.
    view.Update(*played.player, {200, 200, swf::ScaleMode::NoScale});
    EXPECT_TRUE(IsWhite(view.Pixel(49, 100)));
    EXPECT_TRUE(IsRed(view.Pixel(50, 75)));
    EXPECT_TRUE(IsRed(view.Pixel(149, 124)));
    EXPECT_TRUE(IsWhite(view.Pixel(150, 100)));
    EXPECT_TRUE(IsWhite(view.Pixel(100, 125)));
}

TEST(MovieView, RotatedRootTurnsTheStageAQuarterTurn) {
    // A landscape movie turned for a portrait screen, as the player does in
    // full screen: rotation -90, scaled by 320/240 and moved down by 333.
    MovieWriter movie(8, 320, 240, 12);
    movie.SetBackground({255, 255, 255});
    ShapeBuilder left;
    left.SetStyle(0, left.AddFill(Fill::Solid({255, 0, 0})), 0);
    left.Rectangle(0, 0, 1000, 4800); // the left 50 pixels
    movie.Place(1, movie.DefineShape(left));
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    auto played = rendertest::Play(bytes);
    swf::RootProperties root;
    root.rotation = -90;
    root.y = 333;
    root.xScale = root.yScale = 100.0 * 320.0 / 240.0;
    played.player->SetRootProperties(root);
    swf::MovieView view(played.Movie());
    view.Update(*played.player, {240, 320, swf::ScaleMode::ShowAll});
    // The movie's left edge now runs along the bottom of the window.
    EXPECT_TRUE(IsRed(view.Pixel(5, 315)));
    EXPECT_TRUE(IsRed(view.Pixel(235, 280)));
    EXPECT_TRUE(IsWhite(view.Pixel(120, 260)));
    EXPECT_TRUE(IsWhite(view.Pixel(5, 5)));
}

TEST(MovieView, RootPositionAndScaleMoveTheMovieInStagePixels) {
    const auto bytes = RedStage();
    auto played = rendertest::Play(bytes);
    swf::RootProperties root;
    root.x = -50;
    root.y = -25;
    root.xScale = 150;
    root.yScale = 150;
    played.player->SetRootProperties(root);
    swf::MovieView view(played.Movie());
    view.Update(*played.player, {100, 50, swf::ScaleMode::ShowAll});
    // Grown by half about its centre, the red stage covers the window.
    EXPECT_TRUE(IsRed(view.Pixel(0, 0)));
    EXPECT_TRUE(IsRed(view.Pixel(99, 49)));
}

TEST(MovieView, RendersOnlyWhenTheStageChanges) {
    // Frame 1 and 2 show a square in one place; frame 3 moves it.
    MovieWriter movie(8, 40, 40, 12);
    ShapeBuilder shape;
    shape.SetStyle(0, shape.AddFill(Fill::Solid({255, 0, 0})), 0);
    shape.Rectangle(0, 0, 200, 200);
    movie.Place(1, movie.DefineShape(shape));
    movie.ShowFrame();
    movie.ShowFrame();
    movie.Move(1, {.matrix = Matrix::Translate(400, 400)});
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    auto played = rendertest::Play(bytes);
    swf::MoviePlayer& player = *played.player;
    swf::MovieView view(played.Movie());
    const swf::ViewSettings settings{40, 40, swf::ScaleMode::ShowAll};

    EXPECT_TRUE(view.Update(player, settings)); // the first picture
    player.Tick();
    EXPECT_FALSE(view.Update(player, settings)); // frame 2 equals frame 1
    EXPECT_TRUE(IsRed(view.Pixel(5, 5)));
    player.Tick();
    EXPECT_TRUE(view.Update(player, settings)); // moved
    EXPECT_TRUE(IsWhite(view.Pixel(5, 5)));
    EXPECT_TRUE(IsRed(view.Pixel(25, 25)));

    // Stopped: every frame period costs nothing.
    player.Stop();
    for (int i = 0; i < 5; ++i) {
        player.Tick();
        EXPECT_FALSE(view.Update(player, settings));
    }
    // A new size, scale mode or "_root" property is a new picture.
    EXPECT_TRUE(view.Update(player, {80, 40, swf::ScaleMode::ShowAll}));
    EXPECT_TRUE(view.Update(player, {80, 40, swf::ScaleMode::NoBorder}));
    swf::RootProperties turned;
    turned.rotation = 90;
    player.SetRootProperties(turned);
    EXPECT_TRUE(view.Update(player, {80, 40, swf::ScaleMode::NoBorder}));
    EXPECT_EQ(view.Width(), 80);
    EXPECT_EQ(view.FramesRendered(), 5u);
    EXPECT_EQ(view.FramesSkipped(), 6u);
}

TEST(MovieView, SpriteAnimationRendersWhileTheMainTimelineIsStopped) {
    MovieWriter movie(8, 40, 40, 12);
    ShapeBuilder shape;
    shape.SetStyle(0, shape.AddFill(Fill::Solid({0, 0, 255})), 0);
    shape.Rectangle(0, 0, 200, 200);
    const auto square = movie.DefineShape(shape);
    TimelineWriter spin;
    spin.Place(1, square);
    spin.ShowFrame();
    spin.Move(1, {.matrix = Matrix::Translate(200, 0)});
    spin.ShowFrame();
    movie.Place(1, movie.DefineSprite(spin));
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    auto played = rendertest::Play(bytes);
    played.player->Stop();
    swf::MovieView view(played.Movie());
    const swf::ViewSettings settings{40, 40, swf::ScaleMode::ShowAll};
    view.Update(*played.player, settings);
    played.player->Tick();
    EXPECT_TRUE(view.Update(*played.player, settings));
    EXPECT_EQ(Blue(view.Pixel(15, 5)), 255);
    EXPECT_EQ(Red(view.Pixel(5, 5)), 255); // the square moved right
}

TEST(MovieView, AnEmptyWindowRendersNothing) {
    const auto bytes = RedStage();
    auto played = rendertest::Play(bytes);
    swf::MovieView view(played.Movie());
    EXPECT_FALSE(view.Update(*played.player, {0, 100, swf::ScaleMode::ShowAll}));
    EXPECT_TRUE(view.Pixels().empty());
    EXPECT_EQ(view.Pixel(0, 0), 0u);
    EXPECT_EQ(view.FramesRendered(), 0u);
}

} // namespace
