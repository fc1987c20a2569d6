// makedemo OUTPUT: writes the demo movie that a new device gets as its
// default movie: ten seconds at 15 frames a second (150 frames, looping) of
// shapes that move, turn, scale and fade, with solid and gradient fills, a
// bitmap, text in an embedded font and a sprite with a timeline of its own.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "swfwriter/BlockFont.h"
#include "swfwriter/MovieWriter.h"

namespace {

using namespace swfwriter;

constexpr int Width = 240;
constexpr int Height = 320;
constexpr int Frames = 150;
constexpr double Rate = 15.0;
constexpr int Px = 20; // twips per pixel

// A 48 x 48 bitmap: a colour wheel fading to the corners, with a white ring.
std::vector<Color> WheelPixels() {
    std::vector<Color> pixels;
    const double pi = std::acos(-1.0);
    for (int y = 0; y < 48; ++y) {
        for (int x = 0; x < 48; ++x) {
            const double dx = x - 23.5;
            const double dy = y - 23.5;
            const double angle = std::atan2(dy, dx);
            const double radius = std::sqrt(dx * dx + dy * dy);
            const auto channel = [&](double phase) {
                return static_cast<std::uint8_t>(127.5 + 127.5 * std::cos(angle + phase));
            };
            Color pixel{channel(0), channel(2 * pi / 3), channel(4 * pi / 3), 255};
            if (radius > 17 && radius < 20) {
                pixel = {255, 255, 255, 255};
            }
            pixel.a = static_cast<std::uint8_t>(radius > 24 ? 0 : 255);
            pixels.push_back(pixel);
        }
    }
    return pixels;
}

// A five-pointed star of outer radius r around (0, 0).
ShapeBuilder Star(int r, std::uint32_t fill, std::uint32_t line, ShapeBuilder shape) {
    const double pi = std::acos(-1.0);
    shape.SetStyle(0, fill, line);
    for (int i = 0; i <= 10; ++i) {
        const double angle = -pi / 2 + i * pi / 5;
        const double radius = i % 2 == 0 ? r : r * 0.45;
        const auto x = static_cast<std::int32_t>(std::lround(std::cos(angle) * radius));
        const auto y = static_cast<std::int32_t>(std::lround(std::sin(angle) * radius));
        if (i == 0) {
            shape.MoveTo(x, y);
        } else {
            shape.LineTo(x, y);
        }
    }
    return shape;
}

std::vector<std::uint8_t> MakeDemo() {
    MovieWriter movie(7, Width, Height, Rate);
    movie.SetBackground({16, 24, 48});

    // The backdrop: a vertical gradient from deep blue to violet.
    ShapeBuilder backdrop;
    Fill sky =
        Fill::Linear({{0, {20, 40, 110}}, {255, {90, 30, 100}}}, 0, 0, Width * Px, Height * Px);
    // Linear gradients run left to right; this one is turned to run downwards.
    sky.matrix = Matrix::Transform(Width * Px / 2, Height * Px / 2, Height * Px / 32768.0,
                                   Width * Px / 32768.0, 90.0);
    backdrop.SetStyle(0, backdrop.AddFill(sky), 0);
    backdrop.Rectangle(0, 0, Width * Px, Height * Px);
    const auto backdropId = movie.DefineShape(backdrop);

    // A glowing ball: a radial gradient.
    ShapeBuilder ball;
    ball.SetStyle(0,
                  ball.AddFill(Fill::Radial(
                      {{0, {255, 250, 200}}, {90, {255, 170, 40}}, {255, {200, 40, 20, 0}}},
                      -30 * Px, -30 * Px, 60 * Px, 60 * Px)),
                  0);
    ball.Ellipse(0, 0, 30 * Px, 30 * Px);
    const auto ballId = movie.DefineShape(ball);

    // A solid star with an outline, to turn.
    ShapeBuilder starShape;
    const auto starFill = starShape.AddFill(Fill::Solid({250, 220, 60}));
    const auto starLine = starShape.AddLine({2 * Px, {255, 255, 255}});
    const auto starId = movie.DefineShape(Star(36 * Px, starFill, starLine, starShape));

    // A green square, to fade in and out.
    ShapeBuilder square;
    square.SetStyle(0, square.AddFill(Fill::Solid({60, 200, 120, 255})), 0);
    square.Rectangle(-25 * Px, -25 * Px, 50 * Px, 50 * Px);
    const auto squareId = movie.DefineShape(square);

    // The bitmap, on a shape of its size.
    const auto wheel = WheelPixels();
    const auto bitmapId = movie.DefineBitmap(48, 48, wheel);
    ShapeBuilder picture;
    picture.SetStyle(0, picture.AddFill(Fill::Bitmap(bitmapId, -24 * Px, -24 * Px)), 0);
    picture.Rectangle(-24 * Px, -24 * Px, 48 * Px, 48 * Px);
    const auto pictureId = movie.DefineShape(picture);

    // Text in the block font.
    const auto font = movie.DefineFont("Vantrel Blocks", BlockFontGlyphs());
    const auto title = movie.DefineText({{font, 26 * Px, {255, 255, 255}, 0, 0, "VANTREL"}});
    const auto caption =
        movie.DefineText({{font, 11 * Px, {200, 220, 255}, 0, 0, "MOVIE PLAYER DEMO"}});

    // A sprite with its own 12-frame timeline: a bar that sweeps round a dial.
    ShapeBuilder bar;
    bar.SetStyle(0, bar.AddFill(Fill::Solid({255, 90, 90})), 0);
    bar.Rectangle(-2 * Px, -18 * Px, 4 * Px, 16 * Px);
    const auto barId = movie.DefineShape(bar);
    ShapeBuilder dial;
    dial.SetStyle(0, dial.AddFill(Fill::Solid({40, 40, 60, 200})),
                  dial.AddLine({Px, {255, 90, 90}}));
    dial.Ellipse(0, 0, 20 * Px, 20 * Px);
    const auto dialId = movie.DefineShape(dial);
    TimelineWriter spinner;
    spinner.Place(1, dialId);
    spinner.Place(2, barId);
    for (int frame = 0; frame < 12; ++frame) {
        spinner.Move(2, {.matrix = Matrix::Transform(0, 0, 1.0, 1.0, frame * 30.0)});
        spinner.ShowFrame();
    }
    const auto spinnerId = movie.DefineSprite(spinner);

    const double pi = std::acos(-1.0);
    for (int frame = 0; frame < Frames; ++frame) {
        const double t = static_cast<double>(frame) / Frames; // 0..1 over the loop
        const double wave = std::sin(2 * pi * t);
        if (frame == 0) {
            movie.Label("start");
            movie.Place(1, backdropId);
            movie.Place(2, ballId);
            movie.Place(3, starId);
            movie.Place(4, squareId);
            movie.Place(5, pictureId);
            movie.Place(6, title);
            movie.Place(7, caption, {.matrix = Matrix::Translate(22 * Px, 300 * Px)});
            movie.Place(8, spinnerId,
                        {.matrix = Matrix::Translate(200 * Px, 40 * Px), .name = "spinner"});
            movie.Place(
                9, spinnerId,
                {.matrix = Matrix::Transform(40 * Px, 40 * Px, 0.7, 0.7, 0), .name = "small"});
        }
        if (frame == Frames / 2) {
            movie.Label("middle");
        }
        // The ball travels a figure of eight and swells.
        const auto ballX = static_cast<std::int32_t>((120 + 80 * std::sin(2 * pi * t)) * Px);
        const auto ballY = static_cast<std::int32_t>((150 + 50 * std::sin(4 * pi * t)) * Px);
        const double swell = 0.8 + 0.4 * (0.5 + 0.5 * std::cos(4 * pi * t));
        movie.Move(2, {.matrix = Matrix::Transform(ballX, ballY, swell, swell, 0)});
        // The star turns a full turn per loop and pulses.
        movie.Move(3, {.matrix = Matrix::Transform(60 * Px, 240 * Px, 1.0 + 0.2 * wave,
                                                   1.0 + 0.2 * wave, 360.0 * t)});
        // The square fades out and back in, and stretches.
        movie.Move(4, {.matrix = Matrix::Transform(180 * Px, 240 * Px, 1.0 + 0.5 * wave, 1.0, 0),
                       .colorTransform = ColorTransform::Fade(0.5 + 0.5 * std::cos(2 * pi * t))});
        // The bitmap slides across the bottom and turns the other way.
        const auto pictureX = static_cast<std::int32_t>((30 + 180 * t) * Px);
        movie.Move(5, {.matrix = Matrix::Transform(pictureX, 190 * Px, 1.0, 1.0, -720.0 * t)});
        // The title drops in over the first second, then sways.
        const double drop = std::min(1.0, frame / Rate);
        const auto titleY = static_cast<std::int32_t>((30 + 60 * drop) * Px);
        movie.Move(6, {.matrix = Matrix::Transform(static_cast<std::int32_t>((30 + 6 * wave) * Px),
                                                   titleY, 1.0, 1.0, 3.0 * wave),
                       .colorTransform = ColorTransform::Fade(drop)});
        movie.ShowFrame();
    }
    return movie.Finish(Compression::Zlib);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: makedemo OUTPUT\n");
        return 2;
    }
    const std::vector<std::uint8_t> bytes = MakeDemo();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "makedemo: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
