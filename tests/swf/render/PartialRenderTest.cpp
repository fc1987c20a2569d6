// A view draws again only the pixels of what changed since its last
// picture; each of its pictures must be exactly the frame drawn whole.
#include <gtest/gtest.h>

#include <cmath>

#include "CorpusFiles.h"
#include "RenderHelpers.h"
#include "swfwriter/BlockFont.h"

namespace {

using namespace swfwriter;

// Frames played with a view that draws in part and one drawn whole each
// time: the number of frames whose pixels differ anywhere. copied counts
// the frames the first view copied from earlier pictures.
int FramesDiffering(std::span<const std::uint8_t> bytes, int frames,
                    const swf::ViewSettings& settings, std::uint64_t* copied = nullptr) {
    auto played = rendertest::Play(bytes);
    swf::MovieView kept(played.Movie());
    swf::MovieView whole(played.Movie());
    int differing = 0;
    for (int frame = 0; frame < frames; ++frame) {
        kept.Update(*played.player, settings);
        whole.Invalidate();
        whole.Update(*played.player, settings);
        const auto a = kept.Pixels();
        const auto b = whole.Pixels();
        if (a.size() != b.size() || !std::equal(a.begin(), a.end(), b.begin())) {
            ++differing;
        }
        played.player->Tick();
    }
    if (copied != nullptr) {
        *copied = kept.FramesCopied();
    }
    return differing;
}

// Shapes that move, turn, scale, fade, appear and go over a gradient,
// overlapping, with text and a sprite of its own timeline.
std::vector<std::uint8_t> BusyStage() {
    MovieWriter movie(8, 120, 90, 12);
    movie.SetBackground({10, 20, 40});
    ShapeBuilder backdrop;
    backdrop.SetStyle(0,
                      backdrop.AddFill(Fill::Linear({{0, {20, 40, 110}}, {255, {90, 30, 100}}}, 0,
                                                    0, 2400, 1800)),
                      0);
    backdrop.Rectangle(0, 0, 2400, 1800);
    const auto backdropId = movie.DefineShape(backdrop);
    ShapeBuilder disc;
    disc.SetStyle(0,
                  disc.AddFill(Fill::Radial({{0, {255, 250, 200}}, {255, {200, 40, 20, 0}}}, -300,
                                            -300, 600, 600)),
                  disc.AddLine({30, {255, 255, 255}}));
    disc.Ellipse(0, 0, 300, 300);
    const auto discId = movie.DefineShape(disc);
    ShapeBuilder bar;
    bar.SetStyle(0, bar.AddFill(Fill::Solid({60, 200, 120, 200})), 0);
    bar.Rectangle(-200, -60, 400, 120);
    const auto barId = movie.DefineShape(bar);
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    const auto title = movie.DefineText({{font, 300, {255, 255, 255}, 0, 0, "MOVE"}});
    TimelineWriter spinner;
    spinner.Place(1, barId);
    for (int frame = 0; frame < 6; ++frame) {
        spinner.Move(1, {.matrix = Matrix::Transform(0, 0, 0.5, 0.5, frame * 30.0)});
        spinner.ShowFrame();
    }
    const auto spinnerId = movie.DefineSprite(spinner);
    for (int frame = 0; frame < 24; ++frame) {
        const double t = frame / 24.0;
        const double pi = std::acos(-1.0);
        if (frame == 0) {
            movie.Place(1, backdropId);
            movie.Place(2, discId);
            movie.Place(3, barId);
            movie.Place(5, title);
            movie.Place(6, spinnerId, {.matrix = Matrix::Translate(2000, 300)});
        }
        if (frame == 8) {
            movie.Place(4, discId, {.matrix = Matrix::Translate(600, 1200)});
        }
        if (frame == 16) {
            movie.Remove(4);
        }
        const auto x = static_cast<std::int32_t>(1200 + 800 * std::sin(2 * pi * t));
        movie.Move(2, {.matrix = Matrix::Transform(x, 900, 1.0 + 0.3 * t, 1.0, 0)});
        movie.Move(3, {.matrix = Matrix::Transform(1200, 600, 1.0, 1.0, 360.0 * t),
                       .colorTransform = ColorTransform::Fade(0.5 + 0.5 * std::cos(2 * pi * t))});
        if (frame % 6 == 0) {
            movie.Move(5, {.matrix = Matrix::Translate(100 + frame * 20, 1500)});
        }
        movie.ShowFrame();
    }
    return movie.Finish();
}

// Still paints a few pixels either side of the edges of the band of rows
// that a moving square has drawn again each frame: miters, curves bulging
// past their anchors, hairlines, square caps and glyphs, whose anchors lie
// outside the band while their paint may reach into it.
std::vector<std::uint8_t> PaintsAtTheBandsEdges() {
    constexpr std::int32_t Px = 20;
    MovieWriter movie(8, 320, 120, 12);
    movie.SetBackground({250, 250, 250});
    ShapeBuilder square;
    square.SetStyle(0, square.AddFill(Fill::Solid({200, 40, 40})), 0);
    square.Rectangle(-5 * Px, -5 * Px, 10 * Px, 10 * Px);
    const auto squareId = movie.DefineShape(square);
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    // The square's rows are 55 to 65; the view draws two rows more on each side.
    struct Edge {
        std::int32_t y; // pixels
        std::int32_t outward;
    };
    std::uint16_t depth = 1;
    for (const Edge edge : {Edge{53, -1}, Edge{67, 1}}) {
        // y pixels beyond the edge, in twips (less than 0: inside the band).
        const auto out = [&](double pixels) {
            return static_cast<std::int32_t>((edge.y + edge.outward * pixels) * Px);
        };
        for (int k = -3; k <= 3; ++k) {
            const std::int32_t x = (4 + (k + 3) * 44) * Px;
            ShapeBuilder paints;
            // A sharp corner 5 + k pixels out, its miter reaching about 8 in.
            paints.SetStyle(0, 0,
                            paints.AddLine({.width = 6 * Px,
                                            .color = {20, 20, 160},
                                            .join = Line::MiterJoin,
                                            .miterLimit = 8}));
            paints.MoveTo(x, out(15 + k));
            paints.LineTo(x + 3 * Px, out(5 + k));
            paints.LineTo(x + 6 * Px, out(15 + k));
            // A curve from anchors 6 pixels out, bulging to k pixels out.
            paints.SetStyle(0, paints.AddFill(Fill::Solid({30, 140, 60})),
                            paints.AddLine({.width = 0, .color = {0, 0, 0}}));
            paints.MoveTo(x + 8 * Px, out(6));
            paints.CurveTo(x + 14 * Px, out(2 * k - 6), x + 20 * Px, out(6));
            paints.LineTo(x + 8 * Px, out(6));
            // A hairline k pixels out, and a hinted line of three pixels.
            paints.SetStyle(0, 0, paints.AddLine({.width = 0, .color = {0, 0, 0}}));
            paints.MoveTo(x + 22 * Px, out(k));
            paints.LineTo(x + 26 * Px, out(k));
            paints.SetStyle(
                0, 0,
                paints.AddLine({.width = 3 * Px, .color = {120, 0, 120}, .pixelHinting = true}));
            paints.MoveTo(x + 22 * Px, out(k + 3));
            paints.LineTo(x + 26 * Px, out(k + 3));
            // A wide diagonal line ending 8 + k pixels out: its square cap's
            // corner reaches 7 pixels further.
            paints.SetStyle(0, 0,
                            paints.AddLine({.width = 10 * Px,
                                            .color = {200, 120, 0, 180},
                                            .startCap = Line::SquareCap,
                                            .endCap = Line::SquareCap}));
            paints.MoveTo(x + 28 * Px, out(16 + k));
            paints.LineTo(x + 36 * Px, out(8 + k));
            movie.Place(depth++, movie.DefineShape(paints, 4));
            // Glyphs whose nearest edge lies about k pixels out.
            const std::int32_t baseline = edge.outward < 0 ? out(k) : out(k + 8);
            movie.Place(depth++, movie.DefineText({{font, 10 * Px, {0, 0, 0}, 0, 0, "HI"}}),
                        {.matrix = Matrix::Translate(x + 36 * Px, baseline)});
        }
    }
    const std::uint16_t squareDepth = depth;
    for (int frame = 0; frame < 8; ++frame) {
        if (frame == 0) {
            movie.Place(squareDepth, squareId);
        }
        movie.Move(squareDepth, {.matrix = Matrix::Translate((310 + frame % 3) * Px, 60 * Px)});
        movie.ShowFrame();
    }
    return movie.Finish();
}

TEST(PartialRender, PaintsReachingIntoTheBandAreDrawnThere) {
    const auto bytes = PaintsAtTheBandsEdges();
    EXPECT_EQ(FramesDiffering(bytes, 8, {320, 120, swf::ScaleMode::ShowAll}), 0);
    EXPECT_EQ(FramesDiffering(bytes, 8, {437, 173, swf::ScaleMode::ShowAll}), 0);
}

// A square that comes back to where it was from three other places, so
// with different bands of rows around it, over a gradient and under text.
std::vector<std::uint8_t> ReturningSquare() {
    MovieWriter movie(8, 120, 140, 12);
    ShapeBuilder backdrop;
    backdrop.SetStyle(0,
                      backdrop.AddFill(Fill::Linear({{0, {20, 40, 110}}, {255, {90, 30, 100}}}, 0,
                                                    0, 2400, 2800)),
                      0);
    backdrop.Rectangle(0, 0, 2400, 2800);
    ShapeBuilder square;
    square.SetStyle(0, square.AddFill(Fill::Solid({250, 200, 40, 180})), 0);
    square.Rectangle(-200, -200, 400, 400);
    const auto squareId = movie.DefineShape(square);
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    movie.Place(1, movie.DefineShape(backdrop));
    movie.Place(3, movie.DefineText({{font, 400, {255, 255, 255}, 0, 0, "BACK"}}),
                {.matrix = Matrix::Translate(300, 500)});
    // Back in the middle each time: from a larger square around it, from
    // just below it (rows inside the larger one's band) and from far below.
    struct Place {
        std::int32_t y;
        double scale;
    };
    const Place places[] = {{1200, 1}, {1200, 4}, {1200, 1}, {1400, 1}, {1200, 1}, {2400, 1}};
    for (int frame = 0; frame < 12; ++frame) {
        if (frame == 0) {
            movie.Place(2, squareId);
        }
        const Place& at = places[frame % 6];
        movie.Move(2, {.matrix = Matrix::Transform(1200, at.y, at.scale, at.scale, 0)});
        movie.ShowFrame();
    }
    return movie.Finish();
}

TEST(PartialRender, AStageThatComesBackIsCopiedAsItWasDrawn) {
    const auto bytes = ReturningSquare();
    for (const swf::ViewSettings settings :
         {swf::ViewSettings{120, 140, swf::ScaleMode::ShowAll},
          swf::ViewSettings{173, 211, swf::ScaleMode::ShowAll}}) {
        std::uint64_t copied = 0;
        EXPECT_EQ(FramesDiffering(bytes, 20, settings, &copied), 0);
        EXPECT_GT(copied, 0u);
    }
}

TEST(PartialRender, EveryPictureIsTheFrameDrawnWhole) {
    const auto bytes = BusyStage();
    EXPECT_EQ(FramesDiffering(bytes, 30, {120, 90, swf::ScaleMode::ShowAll}), 0);
    // Scaled, with the stage's borders in the window.
    EXPECT_EQ(FramesDiffering(bytes, 30, {173, 211, swf::ScaleMode::ShowAll}), 0);
}

TEST(PartialRender, TheCorpusMoviesFramesAreThoseDrawnWhole) {
    const auto movies = corpus::Movies();
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus beside the project";
    }
    for (const auto& path : movies) {
        const auto bytes = corpus::ReadFile(path);
        EXPECT_EQ(FramesDiffering(bytes, 12, {240, 320, swf::ScaleMode::ShowAll}), 0)
            << path.filename();
    }
}

} // namespace
