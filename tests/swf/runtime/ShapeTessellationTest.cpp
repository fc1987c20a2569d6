// Shape records turned into outlines per fill and strokes per line, and
// morph shapes mixed at a ratio.
#include <gtest/gtest.h>

#include "swf/runtime/MorphInterpolation.h"
#include "swf/runtime/ShapeTessellation.h"

namespace {

using namespace swf;

StyleChange Style(std::optional<Point> move, std::uint32_t fill0, std::uint32_t fill1,
                  std::uint32_t line = 0) {
    StyleChange change;
    change.moveTo = move;
    change.fill0 = fill0;
    change.fill1 = fill1;
    change.line = line;
    return change;
}

StyleArrays Fills(int count, int lines = 0) {
    StyleArrays styles;
    for (int i = 0; i < count; ++i) {
        FillStyle fill;
        fill.color = {static_cast<std::uint8_t>(i), 0, 0, 255};
        styles.fills.push_back(fill);
    }
    styles.lines.resize(lines);
    return styles;
}

std::vector<Point> Corners(const Contour& contour) {
    std::vector<Point> points;
    for (const PathEdge& edge : contour.edges) {
        points.push_back(edge.from);
    }
    return points;
}

TEST(ShapeTessellation, SharedEdgesCloseTheOutlinesOfBothFills) {
    // Two squares side by side, drawn as one path: the middle edge has fill 1
    // on its left and fill 2 on its right, and is drawn only once.
    std::vector<ShapeRecord> records = {
        Style(Point{0, 0}, 0, 1),   StraightEdge{100, 0},  Style(std::nullopt, 2, 1),
        StraightEdge{0, 100}, // shared, down
        Style(std::nullopt, 0, 1),  StraightEdge{-100, 0}, StraightEdge{0, -100},
        Style(Point{100, 0}, 0, 2), StraightEdge{100, 0},  StraightEdge{0, 100},
        StraightEdge{-100, 0}};
    const ShapeGeometry geometry = BuildShapeGeometry(Fills(2), records, false);
    ASSERT_EQ(geometry.groups.size(), 1u);
    const auto& fills = geometry.groups[0].fills;
    ASSERT_EQ(fills.size(), 2u);
    for (const FillPath& fill : fills) {
        SCOPED_TRACE(fill.style);
        ASSERT_EQ(fill.contours.size(), 1u);
        EXPECT_TRUE(fill.contours[0].Closed());
        EXPECT_EQ(fill.contours[0].edges.size(), 4u);
    }
    // Fill 2 takes the shared edge reversed, going up at x = 100.
    const auto corners = Corners(fills[1].contours[0]);
    EXPECT_NE(std::find(corners.begin(), corners.end(), Point{100, 100}), corners.end());
    bool up = false;
    for (const PathEdge& edge : fills[1].contours[0].edges) {
        up = up || (edge.from == Point{100, 100} && edge.to == Point{100, 0});
    }
    EXPECT_TRUE(up);
}

TEST(ShapeTessellation, NewStylesStartANewGroupAndStrokesFollowTheirRuns) {
    StyleChange fresh = Style(Point{0, 0}, 0, 1, 1);
    fresh.newStyles = Fills(1, 1);
    std::vector<ShapeRecord> records = {Style(Point{0, 0}, 0, 0, 1),
                                        StraightEdge{50, 0},
                                        StraightEdge{0, 50},
                                        Style(Point{0, 0}, 0, 0, 1),
                                        StraightEdge{0, 50}, // a move breaks the stroke
                                        fresh,
                                        StraightEdge{10, 0},
                                        StraightEdge{0, 10},
                                        StraightEdge{-10, -10}};
    const ShapeGeometry geometry = BuildShapeGeometry(Fills(1, 1), records, false);
    ASSERT_EQ(geometry.groups.size(), 2u);
    ASSERT_EQ(geometry.groups[0].strokes.size(), 1u);
    EXPECT_EQ(geometry.groups[0].strokes[0].contours.size(), 2u);
    EXPECT_EQ(geometry.groups[0].strokes[0].contours[0].edges.size(), 2u);
    EXPECT_TRUE(geometry.groups[0].fills.empty());
    ASSERT_EQ(geometry.groups[1].fills.size(), 1u);
    EXPECT_TRUE(geometry.groups[1].fills[0].contours[0].Closed());
    ASSERT_EQ(geometry.groups[1].strokes.size(), 1u);
    EXPECT_EQ(geometry.groups[1].strokes[0].contours[0].edges.size(), 3u);
}

TEST(ShapeTessellation, StyleIndicesPastTheArraysAreIgnored) {
    std::vector<ShapeRecord> records = {Style(Point{0, 0}, 9, 1, 7), StraightEdge{10, 0},
                                        StraightEdge{0, 10}, StraightEdge{-10, -10}};
    const ShapeGeometry geometry = BuildShapeGeometry(Fills(1), records, false);
    ASSERT_EQ(geometry.groups.size(), 1u);
    EXPECT_EQ(geometry.groups[0].fills.size(), 1u);
    EXPECT_TRUE(geometry.groups[0].strokes.empty());
}

TEST(ShapeTessellation, CurvesKeepTheirControlPoints) {
    std::vector<ShapeRecord> records = {Style(Point{0, 0}, 0, 1), CurvedEdge{10, 0, 0, 10},
                                        StraightEdge{-10, -10}};
    const ShapeGeometry geometry = BuildShapeGeometry(Fills(1), records, false);
    const Contour& contour = geometry.groups.at(0).fills.at(0).contours.at(0);
    EXPECT_EQ(contour.edges[0], (PathEdge{{0, 0}, {10, 0}, {10, 10}, true}));
    EXPECT_TRUE(contour.Closed());
}

MorphShape Triangle() {
    MorphShape morph;
    MorphFillStyle fill;
    fill.start.color = {255, 0, 0, 255};
    fill.end.color = {0, 0, 255, 255};
    morph.fills.push_back(fill);
    morph.startRecords = {Style(Point{0, 0}, 0, 1), StraightEdge{100, 0}, StraightEdge{0, 100},
                          StraightEdge{-100, -100}};
    StyleChange endMove;
    endMove.moveTo = Point{51, 0};
    // The end shape is larger and its second edge a curve.
    morph.endRecords = {endMove, StraightEdge{200, 0}, CurvedEdge{0, 101, 0, 101},
                        StraightEdge{-200, -202}};
    return morph;
}

TEST(MorphInterpolation, RatiosGiveTheStartTheEndAndPointsBetween) {
    const MorphShape morph = Triangle();
    const Shape start = MorphShapeAt(morph, 0);
    EXPECT_EQ(std::get<StraightEdge>(start.records[1]), (StraightEdge{100, 0}));
    EXPECT_EQ(start.styles.fills[0].color, (Rgba{255, 0, 0, 255}));

    const Shape end = MorphShapeAt(morph, 65535);
    EXPECT_EQ(std::get<StyleChange>(end.records[0]).moveTo, (Point{51, 0}));
    EXPECT_EQ(std::get<StraightEdge>(end.records[1]), (StraightEdge{200, 0}));
    EXPECT_EQ(end.styles.fills[0].color, (Rgba{0, 0, 255, 255}));

    // Halfway: a mixed start point on odd twips, the straight edge mixed
    // with the curve as a curve, and the outline still closes exactly.
    const Shape half = MorphShapeAt(morph, 32768);
    EXPECT_EQ(std::get<StyleChange>(half.records[0]).moveTo, (Point{26, 0}));
    EXPECT_TRUE(std::holds_alternative<CurvedEdge>(half.records[2]));
    EXPECT_EQ(half.styles.fills[0].color, (Rgba{127, 0, 128, 255}));
    const ShapeGeometry geometry = BuildShapeGeometry(half);
    ASSERT_EQ(geometry.groups.size(), 1u);
    EXPECT_TRUE(geometry.groups[0].fills.at(0).contours.at(0).Closed());
}

TEST(MorphInterpolation, EndRecordsThatRunShortLeaveTheStartShape) {
    MorphShape morph = Triangle();
    morph.endRecords.resize(2);
    const Shape shape = MorphShapeAt(morph, 65535);
    ASSERT_EQ(shape.records.size(), 4u);
    EXPECT_EQ(std::get<StraightEdge>(shape.records[3]), (StraightEdge{-100, -100}));
}

} // namespace
