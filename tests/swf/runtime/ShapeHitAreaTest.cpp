// Where shapes are solid for the pointer: fills by their winding rule with
// curves followed closely, and lines as wide as they are drawn.
#include <gtest/gtest.h>

#include <cmath>

#include "TestMovies.h"
#include "swf/runtime/ShapeHitArea.h"

namespace {

using swfwriter::ShapeBuilder;

// The shape a writer movie defines as its only character.
swf::Shape Read(const ShapeBuilder& shape) {
    swfwriter::MovieWriter movie(8, 200, 200, 12);
    const auto id = movie.DefineShape(shape);
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    return std::get<swf::Shape>(parser->GetMovie().Find(id)->data);
}

bool Hits(const swf::ShapeHitArea& area, double radius, double degrees) {
    const double radians = degrees * M_PI / 180.0;
    return area.Contains(2000 + radius * std::cos(radians), 2000 + radius * std::sin(radians));
}

TEST(ShapeHitArea, ARingHasAHoleByEvenOddButNotByNonZeroAndItsCurvesAreFollowed) {
    ShapeBuilder ring;
    ring.SetStyle(0, ring.AddFill(swfwriter::Fill::Solid({255, 0, 0})), 0);
    ring.Ellipse(2000, 2000, 1000, 1000);
    ring.Ellipse(2000, 2000, 500, 500);
    const swf::Shape shape = Read(ring);
    const swf::ShapeHitArea evenOdd(shape);
    for (const double degrees : {0.0, 22.5, 45.0, 100.0, 200.0, 315.0}) {
        EXPECT_TRUE(Hits(evenOdd, 750, degrees)) << degrees;
        EXPECT_FALSE(Hits(evenOdd, 300, degrees)) << degrees;
        // The outline between its anchors, within a pixel of the circle.
        EXPECT_TRUE(Hits(evenOdd, 985, degrees)) << degrees;
        EXPECT_FALSE(Hits(evenOdd, 1015, degrees)) << degrees;
    }
    const swf::ShapeHitArea nonZero(swf::BuildShapeGeometry(shape.styles, shape.records, true));
    EXPECT_TRUE(Hits(nonZero, 300, 45));
    EXPECT_FALSE(Hits(nonZero, 1015, 45));
}

TEST(ShapeHitArea, LinesAreSolidAsWideAsTheyAreDrawnAndHairlinesAPixel) {
    ShapeBuilder lines;
    lines.SetStyle(0, 0, lines.AddLine({.width = 100, .color = {0, 0, 0}}));
    lines.MoveTo(0, 0);
    lines.LineTo(2000, 0);
    lines.SetStyle(0, 0, lines.AddLine({.width = 0, .color = {0, 0, 0}}));
    lines.MoveTo(0, 1000);
    lines.LineTo(2000, 1000);
    const swf::ShapeHitArea area(Read(lines));
    EXPECT_TRUE(area.Contains(1000, 45));
    EXPECT_TRUE(area.Contains(2040, -20)); // round at its end
    EXPECT_FALSE(area.Contains(1000, 60));
    EXPECT_FALSE(area.Contains(1000, 500));
    EXPECT_TRUE(area.Contains(1000, 1008));
    EXPECT_FALSE(area.Contains(1000, 1015));
}

} // namespace
