// Where a shape is solid for the pointer: its fills, by the shape's winding
// rule, and its lines, as wide as they are drawn. Curves are flattened once,
// finely enough that a tap lands where the picture shows the shape.
#pragma once

#include <array>
#include <vector>

#include "swf/format/ShapeModel.h"
#include "swf/runtime/ShapeTessellation.h"

namespace swf {

class ShapeHitArea {
public:
    ShapeHitArea() = default;
    explicit ShapeHitArea(const ShapeGeometry& geometry);
    explicit ShapeHitArea(const Shape& shape) : ShapeHitArea(BuildShapeGeometry(shape)) {}

    // Whether the point (twips, in the shape's own coordinates) is on it.
    bool Contains(double x, double y) const;

private:
    using Vertex = std::array<double, 2>;
    using Polyline = std::vector<Vertex>;
    struct Box {
        double xMin = 0, yMin = 0, xMax = 0, yMax = 0;
        bool Holds(double x, double y) const {
            return x >= xMin && x <= xMax && y >= yMin && y <= yMax;
        }
    };
    struct Area {
        std::vector<Polyline> rings; // each closed back to its start
        Box box;
    };
    struct Lines {
        double halfWidth = 0;
        std::vector<Polyline> lines;
        Box box;
    };

    bool InArea(const Area& area, double x, double y) const;
    static bool OnLines(const Lines& lines, double x, double y);

    std::vector<Area> areas;
    std::vector<Lines> strokes;
    bool nonZeroWinding = false;
};

} // namespace swf
