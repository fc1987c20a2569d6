// Where a paint can land on the target, so that a paint wholly outside
// what the target lets through is never handed to cairo. The boxes come
// from an outline's own points, control points included (a curve stays
// inside the hull of its anchors and control point), never from the bounds
// a movie declares, which a damaged movie may get wrong.
#pragma once

#include <limits>
#include <vector>

#include "swf/runtime/ShapeTessellation.h"
#include "swf/runtime/Transforms.h"

namespace swf {

// The smallest upright box holding some points, in the outline's twips.
struct PointBox {
    double xMin = std::numeric_limits<double>::infinity();
    double yMin = std::numeric_limits<double>::infinity();
    double xMax = -std::numeric_limits<double>::infinity();
    double yMax = -std::numeric_limits<double>::infinity();

    bool Empty() const { return !(xMin <= xMax && yMin <= yMax); }
    void Add(const Point& p);
    void Add(const PointBox& other);
};

// A box in device pixels: x from left to right, y from top to bottom. The
// default holds the whole plane.
struct DeviceBox {
    double left = -std::numeric_limits<double>::infinity();
    double top = -std::numeric_limits<double>::infinity();
    double right = std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
};

// The boxes of every path of one outline, made once with it.
struct OutlineBounds {
    std::vector<std::vector<PointBox>> fills;   // by style group, then fill path
    std::vector<std::vector<PointBox>> strokes; // by style group, then stroke path
    PointBox allFills;
};

OutlineBounds MeasureOutline(const ShapeGeometry& geometry);

// An outline as the renderer keeps it: its paths and their boxes.
struct MeasuredOutline {
    explicit MeasuredOutline(ShapeGeometry paths)
        : geometry(std::move(paths)), bounds(MeasureOutline(geometry)) {}

    ShapeGeometry geometry;
    OutlineBounds bounds;
};

// The device pixels a paint of the points in box can touch through
// toDevice, reach pixels around them (a stroke's half width, a pixel of
// antialiasing, ...). Anything not finite gives the whole plane.
DeviceBox DeviceBoxOf(const PointBox& box, const Affine& toDevice, double reach);

// False only when the two boxes surely share no pixel.
bool Touches(const DeviceBox& paint, const DeviceBox& visible);

} // namespace swf
