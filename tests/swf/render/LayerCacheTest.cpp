// Layers kept between frames: a filtered clip that moves by whole pixels is
// not drawn again, one whose picture changes is, and a kept layer shows
// exactly what drawing it afresh would.
#include <gtest/gtest.h>

#include <cairo.h>

#include "RenderHelpers.h"
#include "swf/render/Renderer.h"

namespace {

using swfwriter::Filter;
using swfwriter::Matrix;

constexpr int Width = 100;
constexpr int Height = 80;

// Frame 1: a shadowed square at (10, 10) and a blurred one; frame 2: the
// first moved by whole pixels; frame 3: by a little less than half a pixel
// more; frame 4: turned; frame 5: faded to half.
std::vector<std::uint8_t> MovingMovie() {
    swfwriter::MovieWriter movie(8, Width, Height, 12.0);
    const auto square = movie.DefineShape(testmovies::Square({255, 0, 0}, 400));
    const Filter shadow{.kind = Filter::DropShadow,
                        .colors = {{0, 0, 0, 255}},
                        .blurX = 4,
                        .blurY = 4,
                        .angle = 0.7,
                        .distance = 3};
    movie.Place(1, square, {.matrix = Matrix::Translate(200, 200), .filters = {shadow}});
    movie.Place(2, square,
                {.matrix = Matrix::Translate(1200, 800), .filters = {Filter::BlurOf(3, 3, 2)}});
    movie.ShowFrame();
    movie.Move(1, {.matrix = Matrix::Translate(500, 400)});
    movie.ShowFrame();
    movie.Move(1, {.matrix = Matrix::Translate(509, 409)});
    movie.ShowFrame();
    movie.Move(1, {.matrix = Matrix::Transform(509, 409, 1, 1, 20)});
    movie.ShowFrame();
    movie.Move(1, {.matrix = Matrix::Translate(500, 400),
                   .colorTransform = swfwriter::ColorTransform::Fade(0.5)});
    movie.ShowFrame();
    return movie.Finish();
}

struct Canvas {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height);
    ~Canvas() { cairo_surface_destroy(surface); }
    std::vector<std::uint32_t> Pixels() {
        cairo_surface_flush(surface);
        const auto* data =
            reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface));
        return {data, data + Width * Height};
    }
};

void Draw(swf::MovieRenderer& renderer, const swf::MoviePlayer& player, Canvas& canvas) {
    cairo_t* cr = cairo_create(canvas.surface);
    renderer.RenderFrame(cr, player.Root(), swf::Affine::Scale(0.05, 0.05), 1.0);
    cairo_destroy(cr);
}

// The frame drawn by a renderer that has kept nothing.
std::vector<std::uint32_t> Fresh(const std::vector<std::uint8_t>& bytes, int frame) {
    auto played = rendertest::Play(bytes, frame);
    swf::MovieRenderer renderer(played.Movie());
    Canvas canvas;
    Draw(renderer, *played.player, canvas);
    return canvas.Pixels();
}

TEST(LayerCache, LayersAreDrawnAgainOnlyWhenTheirPictureChanges) {
    const auto bytes = MovingMovie();
    auto played = rendertest::Play(bytes, 1);
    swf::MovieRenderer renderer(played.Movie());
    Canvas canvas;
    Draw(renderer, *played.player, canvas);
    EXPECT_EQ(renderer.LayersDrawn(), 2u);
    EXPECT_EQ(renderer.Layers().Count(), 2u);

    const auto next = [&] {
        played.player->Tick();
        Draw(renderer, *played.player, canvas);
    };
    next(); // moved by whole pixels
    EXPECT_EQ(renderer.LayersDrawn(), 2u);
    EXPECT_EQ(canvas.Pixels(), Fresh(bytes, 2));
    next(); // lands on whole pixels again
    EXPECT_EQ(renderer.LayersDrawn(), 2u);
    EXPECT_EQ(canvas.Pixels(), Fresh(bytes, 3));
    next(); // turned: a new picture, and the old one is let go
    EXPECT_EQ(renderer.LayersDrawn(), 3u);
    EXPECT_EQ(renderer.Layers().Count(), 2u);
    EXPECT_EQ(canvas.Pixels(), Fresh(bytes, 4));
    next(); // faded: the colour transform works on the picture as kept
    EXPECT_EQ(renderer.LayersDrawn(), 4u);
    const auto faded = canvas.Pixels();
    EXPECT_EQ(faded, Fresh(bytes, 5));
    // Inside the square and inside its shadow, both half way to white.
    const auto at = [&](int x, int y) { return faded[std::size_t(y) * Width + x]; };
    EXPECT_NEAR(rendertest::Green(at(30, 25)), 128, 2);
    EXPECT_EQ(rendertest::Red(at(30, 25)), 255);
    const std::uint32_t shadow = at(46, 42);
    EXPECT_GT(rendertest::Red(shadow), 100);
    EXPECT_LT(rendertest::Red(shadow), 250);
}

} // namespace
