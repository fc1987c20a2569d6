#include "swf/runtime/ShapeHitArea.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace swf {

namespace {

// A curve is cut into pieces of about two pixels, and never more than this
// many, so that a damaged shape of huge curves stays cheap.
constexpr double PieceTwips = 40.0;
constexpr int MaxPieces = 32;
// Hairlines (width 0) are drawn one pixel wide.
constexpr double HairlineHalfWidth = 10.0;

std::vector<std::array<double, 2>> Flatten(const Contour& contour) {
    std::vector<std::array<double, 2>> points;
    if (contour.edges.empty()) {
        return points;
    }
    points.push_back({double(contour.edges.front().from.x), double(contour.edges.front().from.y)});
    for (const PathEdge& edge : contour.edges) {
        if (edge.curved) {
            const double length =
                std::hypot(double(edge.control.x - edge.from.x),
                           double(edge.control.y - edge.from.y)) +
                std::hypot(double(edge.to.x - edge.control.x), double(edge.to.y - edge.control.y));
            const int pieces =
                std::clamp(static_cast<int>(std::ceil(length / PieceTwips)), 2, MaxPieces);
            for (int i = 1; i < pieces; ++i) {
                const double t = double(i) / pieces;
                const double a = (1 - t) * (1 - t);
                const double b = 2 * t * (1 - t);
                const double c = t * t;
                points.push_back({a * edge.from.x + b * edge.control.x + c * edge.to.x,
                                  a * edge.from.y + b * edge.control.y + c * edge.to.y});
            }
        }
        points.push_back({double(edge.to.x), double(edge.to.y)});
    }
    return points;
}

template <typename Box, typename Lines>
Box BoxOf(const Lines& lines, double margin) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    Box box{inf, inf, -inf, -inf};
    for (const auto& line : lines) {
        for (const auto& [x, y] : line) {
            box.xMin = std::min(box.xMin, x - margin);
            box.yMin = std::min(box.yMin, y - margin);
            box.xMax = std::max(box.xMax, x + margin);
            box.yMax = std::max(box.yMax, y + margin);
        }
    }
    return box;
}

double DistanceToSegment(double x, double y, const std::array<double, 2>& a,
                         const std::array<double, 2>& b) {
    const double dx = b[0] - a[0];
    const double dy = b[1] - a[1];
    const double lengthSquared = dx * dx + dy * dy;
    double t = 0.0;
    if (lengthSquared > 0) {
        t = std::clamp(((x - a[0]) * dx + (y - a[1]) * dy) / lengthSquared, 0.0, 1.0);
    }
    return std::hypot(x - (a[0] + t * dx), y - (a[1] + t * dy));
}

} // namespace

ShapeHitArea::ShapeHitArea(const ShapeGeometry& geometry)
    : nonZeroWinding(geometry.nonZeroWinding) {
    for (const StyleGroup& group : geometry.groups) {
        for (const FillPath& fill : group.fills) {
            Area area;
            for (const Contour& contour : fill.contours) {
                Polyline ring = Flatten(contour);
                if (ring.size() >= 3) {
                    area.rings.push_back(std::move(ring));
                }
            }
            if (!area.rings.empty()) {
                area.box = BoxOf<Box>(area.rings, 0.0);
                areas.push_back(std::move(area));
            }
        }
        for (const StrokePath& stroke : group.strokes) {
            Lines lines;
            const std::uint16_t width = stroke.style < group.styles.lines.size()
                                            ? group.styles.lines[stroke.style].width
                                            : 0;
            lines.halfWidth = width == 0 ? HairlineHalfWidth : width / 2.0;
            for (const Contour& contour : stroke.contours) {
                Polyline line = Flatten(contour);
                if (!line.empty()) {
                    lines.lines.push_back(std::move(line));
                }
            }
            if (!lines.lines.empty()) {
                lines.box = BoxOf<Box>(lines.lines, lines.halfWidth);
                strokes.push_back(std::move(lines));
            }
        }
    }
}

bool ShapeHitArea::Contains(double x, double y) const {
    for (const Area& area : areas) {
        if (area.box.Holds(x, y) && InArea(area, x, y)) {
            return true;
        }
    }
    for (const Lines& lines : strokes) {
        if (lines.box.Holds(x, y) && OnLines(lines, x, y)) {
            return true;
        }
    }
    return false;
}

bool ShapeHitArea::InArea(const Area& area, double x, double y) const {
    // The winding number of the rings round the point, counting each edge
    // that crosses the horizontal line through it.
    int winding = 0;
    for (const Polyline& ring : area.rings) {
        for (std::size_t i = 0; i < ring.size(); ++i) {
            const Vertex& a = ring[i];
            const Vertex& b = ring[(i + 1) % ring.size()];
            if ((a[1] <= y) == (b[1] <= y)) {
                continue;
            }
            const double crossX = a[0] + (y - a[1]) * (b[0] - a[0]) / (b[1] - a[1]);
            if (crossX > x) {
                winding += b[1] > a[1] ? 1 : -1;
            }
        }
    }
    return nonZeroWinding ? winding != 0 : (winding % 2) != 0;
}

bool ShapeHitArea::OnLines(const Lines& lines, double x, double y) {
    for (const Polyline& line : lines.lines) {
        if (line.size() == 1 && std::hypot(x - line[0][0], y - line[0][1]) <= lines.halfWidth) {
            return true;
        }
        for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            if (DistanceToSegment(x, y, line[i], line[i + 1]) <= lines.halfWidth) {
                return true;
            }
        }
    }
    return false;
}

} // namespace swf
