// Lines of DefineShape4: each end with the cap its style gives it, widths by
// the scaling mode, hinted lines on whole pixels, and miter limits.
#include <gtest/gtest.h>

#include "RenderHelpers.h"

namespace {

using swfwriter::Line;
using swfwriter::Matrix;

constexpr swfwriter::Color Black{0, 0, 0};

// A movie with one DefineShape4 of a line from (x0, y0) to (x1, y1) in
// pixels, placed through matrix.
std::unique_ptr<swf::MovieView> LineMovie(const Line& line, int x0, int y0, int x1, int y1,
                                          const Matrix& matrix = {}) {
    swfwriter::MovieWriter movie(8, 100, 60, 12.0);
    swfwriter::ShapeBuilder shape;
    shape.SetStyle(0, 0, shape.AddLine(line));
    shape.MoveTo(x0 * 20, y0 * 20);
    shape.LineTo(x1 * 20, y1 * 20);
    const auto id = movie.DefineShape(shape, 4);
    movie.Place(1, id, {.matrix = matrix});
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    return rendertest::RenderAtStageSize(parser->GetMovie(), 1);
}

bool Inked(const swf::MovieView& view, int x, int y) {
    return rendertest::Red(view.Pixel(x, y)) < 128;
}

TEST(Strokes, EachEndTakesItsOwnCap) {
    // 10 pixels wide, from (20, 30) to (60, 30): a round cap reaches 5
    // pixels beyond the start but not into the corners; a square one fills
    // the corners beyond the end.
    Line roundThenSquare{
        .width = 200, .color = Black, .startCap = Line::RoundCap, .endCap = Line::SquareCap};
    const auto view = LineMovie(roundThenSquare, 20, 30, 60, 30);
    EXPECT_TRUE(Inked(*view, 16, 30));
    EXPECT_FALSE(Inked(*view, 15, 25));
    EXPECT_TRUE(Inked(*view, 64, 26));
    EXPECT_TRUE(Inked(*view, 64, 33));
    EXPECT_FALSE(Inked(*view, 66, 30));

    Line squareThenNone = roundThenSquare;
    squareThenNone.startCap = Line::SquareCap;
    squareThenNone.endCap = Line::NoCap;
    const auto other = LineMovie(squareThenNone, 20, 30, 60, 30);
    EXPECT_TRUE(Inked(*other, 15, 25));
    EXPECT_FALSE(Inked(*other, 61, 30));
}

TEST(Strokes, ATranslucentLineIsEvenWhereItsCapMeetsIt) {
    Line line{
        .width = 200, .color = {0, 0, 255, 128}, .startCap = Line::RoundCap, .endCap = Line::NoCap};
    const auto view = LineMovie(line, 20, 30, 60, 30);
    const std::uint32_t middle = view->Pixel(40, 30);
    EXPECT_EQ(view->Pixel(20, 30), middle);
    EXPECT_EQ(view->Pixel(18, 30), middle);
}

// The rows a horizontal line covers at column x, counting those more than
// half inked.
int Thickness(const swf::MovieView& view, int x) {
    int rows = 0;
    for (int y = 0; y < view.Height(); ++y) {
        rows += Inked(view, x, y) ? 1 : 0;
    }
    return rows;
}

TEST(Strokes, ScalingModesChooseWhichStretchWidensTheLine) {
    // A 4-pixel line on a shape stretched 3 times across and 2 times down.
    const Matrix stretched{.scaleX = 3.0, .scaleY = 2.0, .translateX = 0, .translateY = 0};
    const auto width = [&](bool noH, bool noV) {
        Line line{.width = 80, .color = Black, .noHScale = noH, .noVScale = noV};
        return Thickness(*LineMovie(line, 5, 15, 25, 15, stretched), 40);
    };
    EXPECT_NEAR(width(false, false), 10, 1); // 4 x sqrt(6)
    EXPECT_NEAR(width(true, false), 8, 1);   // follows only the stretch down
    EXPECT_NEAR(width(false, true), 12, 1);  // follows only the stretch across
    EXPECT_NEAR(width(true, true), 4, 1);
}

TEST(Strokes, AHintedLineLiesOnWholePixels) {
    // A 1-pixel line 0.3 pixels below row 20: spread over two rows unless
    // hinted, when it fills one.
    swfwriter::MovieWriter movie(8, 100, 60, 12.0);
    const auto draw = [&](bool hinted) {
        Line line{.width = 20, .color = Black, .noClose = false};
        line.pixelHinting = hinted;
        swfwriter::ShapeBuilder shape;
        shape.SetStyle(0, 0, shape.AddLine(line));
        shape.MoveTo(200, 406);
        shape.LineTo(1600, 406);
        return shape;
    };
    const auto plain = movie.DefineShape(draw(false), 4);
    const auto hinted = movie.DefineShape(draw(true), 4);
    movie.Place(1, plain);
    movie.Place(2, hinted, {.matrix = Matrix::Translate(0, 400)});
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    const auto view = rendertest::RenderAtStageSize(parser->GetMovie(), 1);
    EXPECT_GT(rendertest::Red(view->Pixel(40, 20)), 40); // shared with the row below
    EXPECT_GT(rendertest::Red(view->Pixel(40, 21)), 40);
    EXPECT_LT(rendertest::Red(view->Pixel(40, 40)), 10); // one full row
    EXPECT_EQ(rendertest::Red(view->Pixel(40, 41)), 255);
}

TEST(Strokes, AMiterLongerThanItsLimitIsCutOff) {
    const auto corner = [](double limit) {
        swfwriter::MovieWriter movie(8, 100, 60, 12.0);
        Line line{.width = 100, .color = Black, .join = Line::MiterJoin, .miterLimit = limit};
        swfwriter::ShapeBuilder shape;
        shape.SetStyle(0, 0, shape.AddLine(line));
        // A sharp turn at (50, 20), opening downwards.
        shape.MoveTo(800, 1000);
        shape.LineTo(1000, 400);
        shape.LineTo(1200, 1000);
        movie.Place(1, movie.DefineShape(shape, 4));
        movie.ShowFrame();
        const auto parser = testmovies::Parse(movie.Finish());
        return rendertest::RenderAtStageSize(parser->GetMovie(), 1);
    };
    // The miter's tip lies about 8 pixels above the corner.
    EXPECT_TRUE(Inked(*corner(10), 50, 14));
    EXPECT_FALSE(Inked(*corner(1.5), 50, 14));
}

} // namespace
