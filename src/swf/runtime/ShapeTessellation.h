// Turns a shape's records into paths: for every fill style the closed
// outlines it covers, and for every line style the strokes it draws.
//
// An edge carries a fill on each side (fill0 on its left, fill1 on its
// right, walking along it), so the outlines of one fill are found by taking
// its right-hand edges as they come and its left-hand edges reversed, then
// joining them end to start. Records that bring new style arrays start a new
// group that draws over the ones before it.
#pragma once

#include <cstddef>
#include <vector>

#include "swf/format/ShapeModel.h"

namespace swf {

// A straight edge (control unused) or a quadratic curve, in twips.
struct PathEdge {
    Point from;
    Point control;
    Point to;
    bool curved = false;
    bool operator==(const PathEdge&) const = default;
};

// Edges joined end to start; closed when the last ends where the first began.
struct Contour {
    std::vector<PathEdge> edges;
    bool Closed() const { return !edges.empty() && edges.front().from == edges.back().to; }
};

struct FillPath {
    std::size_t style = 0; // 0-based into the group's fills
    std::vector<Contour> contours;
};

struct StrokePath {
    std::size_t style = 0; // 0-based into the group's lines
    std::vector<Contour> contours;
};

struct StyleGroup {
    StyleArrays styles;
    std::vector<FillPath> fills;     // by style index
    std::vector<StrokePath> strokes; // by style index
};

struct ShapeGeometry {
    std::vector<StyleGroup> groups;
    bool nonZeroWinding = false; // otherwise even-odd
};

// styles are the arrays in force at the first record (a glyph has none and
// draws its fill 1 with the text colour). References to styles the arrays
// do not hold are ignored.
ShapeGeometry BuildShapeGeometry(const StyleArrays& styles, const std::vector<ShapeRecord>& records,
                                 bool nonZeroWinding);

inline ShapeGeometry BuildShapeGeometry(const Shape& shape) {
    return BuildShapeGeometry(shape.styles, shape.records, shape.usesFillWindingRule);
}

// A glyph's outline: every edge bounding fill 1 on either side, as one fill.
ShapeGeometry BuildGlyphGeometry(const Shape& glyph);

} // namespace swf
