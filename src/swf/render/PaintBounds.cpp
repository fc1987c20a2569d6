#include "swf/render/PaintBounds.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

PointBox BoxOfContours(const std::vector<Contour>& contours) {
    PointBox box;
    for (const Contour& contour : contours) {
        for (const PathEdge& edge : contour.edges) {
            box.Add(edge.from);
            box.Add(edge.to);
            if (edge.curved) {
                box.Add(edge.control);
            }
        }
    }
    return box;
}

} // namespace

void PointBox::Add(const Point& p) {
    xMin = std::min(xMin, double(p.x));
    yMin = std::min(yMin, double(p.y));
    xMax = std::max(xMax, double(p.x));
    yMax = std::max(yMax, double(p.y));
}

void PointBox::Add(const PointBox& other) {
    if (other.Empty()) {
        return;
    }
    xMin = std::min(xMin, other.xMin);
    yMin = std::min(yMin, other.yMin);
    xMax = std::max(xMax, other.xMax);
    yMax = std::max(yMax, other.yMax);
}

OutlineBounds MeasureOutline(const ShapeGeometry& geometry) {
    OutlineBounds bounds;
    for (const StyleGroup& group : geometry.groups) {
        std::vector<PointBox>& fills = bounds.fills.emplace_back();
        for (const FillPath& fill : group.fills) {
            fills.push_back(BoxOfContours(fill.contours));
            bounds.allFills.Add(fills.back());
        }
        std::vector<PointBox>& strokes = bounds.strokes.emplace_back();
        for (const StrokePath& stroke : group.strokes) {
            strokes.push_back(BoxOfContours(stroke.contours));
        }
    }
    return bounds;
}

DeviceBox DeviceBoxOf(const PointBox& box, const Affine& toDevice, double reach) {
    constexpr double Infinite = std::numeric_limits<double>::infinity();
    if (box.Empty()) {
        // Nothing is painted: a box that meets no area.
        return {Infinite, Infinite, -Infinite, -Infinite};
    }
    DeviceBox out{Infinite, Infinite, -Infinite, -Infinite};
    for (const double x : {box.xMin, box.xMax}) {
        for (const double y : {box.yMin, box.yMax}) {
            const auto [dx, dy] = toDevice.Apply(x, y);
            if (!std::isfinite(dx) || !std::isfinite(dy)) {
                return {};
            }
            out.left = std::min(out.left, dx);
            out.top = std::min(out.top, dy);
            out.right = std::max(out.right, dx);
            out.bottom = std::max(out.bottom, dy);
        }
    }
    if (!std::isfinite(reach)) {
        return {};
    }
    return {out.left - reach, out.top - reach, out.right + reach, out.bottom + reach};
}

bool Touches(const DeviceBox& paint, const DeviceBox& visible) {
    // Written as "not surely apart", so that anything unordered touches.
    const bool apart = paint.right <= visible.left || paint.left >= visible.right ||
                       paint.bottom <= visible.top || paint.top >= visible.bottom;
    return !apart;
}

} // namespace swf
