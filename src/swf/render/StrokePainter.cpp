#include "swf/render/StrokePainter.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace swf {

namespace {

enum Cap : std::uint8_t { RoundCap = 0, NoCap = 1, SquareCap = 2 };

cairo_line_cap_t CapOf(std::uint8_t cap) {
    switch (cap) {
    case NoCap:
        return CAIRO_LINE_CAP_BUTT;
    case SquareCap:
        return CAIRO_LINE_CAP_SQUARE;
    default:
        return CAIRO_LINE_CAP_ROUND;
    }
}

cairo_line_join_t JoinOf(std::uint8_t join) {
    switch (join) {
    case 1:
        return CAIRO_LINE_JOIN_BEVEL;
    case 2:
        return CAIRO_LINE_JOIN_MITER;
    default:
        return CAIRO_LINE_JOIN_ROUND;
    }
}

struct DevicePoint {
    double x = 0;
    double y = 0;
};

// Maps the shape's twips to device pixels; a hinted line's anchors land on
// pixel centres for an odd width and on pixel corners for an even one, so
// that it covers whole pixels.
struct PointMapper {
    Affine toDevice;
    std::optional<double> snap; // the offset from the grid, when hinted

    DevicePoint Anchor(const Point& p) const {
        const auto d = toDevice.Apply(p.x, p.y);
        if (!snap) {
            return {d[0], d[1]};
        }
        return {std::floor(d[0] - *snap + 0.5) + *snap, std::floor(d[1] - *snap + 0.5) + *snap};
    }
    DevicePoint Control(const Point& p) const {
        const auto d = toDevice.Apply(p.x, p.y);
        return {d[0], d[1]};
    }
};

bool IsOpen(const Contour& contour, Closing closing) {
    return !(closing == Closing::WhereClosed && contour.Closed());
}

void AddDeviceContours(cairo_t* cr, const std::vector<Contour>& contours, Closing closing,
                       const PointMapper& map) {
    for (const Contour& contour : contours) {
        if (contour.edges.empty()) {
            continue;
        }
        const DevicePoint start = map.Anchor(contour.edges.front().from);
        cairo_move_to(cr, start.x, start.y);
        DevicePoint at = start;
        for (const PathEdge& edge : contour.edges) {
            const DevicePoint to = map.Anchor(edge.to);
            if (edge.curved) {
                // The quadratic curve as the cubic that traces it exactly.
                const DevicePoint c = map.Control(edge.control);
                cairo_curve_to(cr, at.x + 2.0 / 3.0 * (c.x - at.x), at.y + 2.0 / 3.0 * (c.y - at.y),
                               to.x + 2.0 / 3.0 * (c.x - to.x), to.y + 2.0 / 3.0 * (c.y - to.y),
                               to.x, to.y);
            } else {
                cairo_line_to(cr, to.x, to.y);
            }
            at = to;
        }
        if (!IsOpen(contour, closing)) {
            cairo_close_path(cr);
        }
    }
}

// Fills a cap at end, the line leaving it along (dx, dy) away from the
// stroke. Each cap is filled on its own, so that caps meeting at one point
// (a line of no length) cannot cancel each other out.
void FillCap(cairo_t* cr, DevicePoint end, double dx, double dy, double halfWidth,
             std::uint8_t cap) {
    if (cap == NoCap) {
        return;
    }
    if (cap != SquareCap) {
        cairo_new_sub_path(cr);
        cairo_arc(cr, end.x, end.y, halfWidth, 0, 2 * M_PI);
        cairo_fill(cr);
        return;
    }
    const double length = std::hypot(dx, dy);
    if (!(length > 1e-9)) {
        dx = 1;
        dy = 0;
    } else {
        dx /= length;
        dy /= length;
    }
    const double ax = dx * halfWidth, ay = dy * halfWidth;  // along the line
    const double nx = -dy * halfWidth, ny = dx * halfWidth; // across it
    // From behind the end, so the square overlaps the stroke it caps.
    cairo_move_to(cr, end.x - ax + nx, end.y - ay + ny);
    cairo_line_to(cr, end.x + ax + nx, end.y + ay + ny);
    cairo_line_to(cr, end.x + ax - nx, end.y + ay - ny);
    cairo_line_to(cr, end.x - ax - nx, end.y - ay - ny);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Where a contour's ends point: away from the rest of it.
void FillCaps(cairo_t* cr, const Contour& contour, const PointMapper& map, double halfWidth,
              const LineStyle& line) {
    const PathEdge& first = contour.edges.front();
    const PathEdge& last = contour.edges.back();
    const DevicePoint start = map.Anchor(first.from);
    const DevicePoint afterStart = map.Control(first.curved ? first.control : first.to);
    FillCap(cr, start, start.x - afterStart.x, start.y - afterStart.y, halfWidth, line.startCap);
    const DevicePoint end = map.Anchor(last.to);
    const DevicePoint beforeEnd = map.Control(last.curved ? last.control : last.from);
    FillCap(cr, end, end.x - beforeEnd.x, end.y - beforeEnd.y, halfWidth, line.endCap);
}

void SetColor(cairo_t* cr, const Rgba& c) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

} // namespace

double StrokeWidth(const LineStyle& line, const Affine& toDevice, double stageScale) {
    double perTwip = 0.0;
    if (line.noHScale && line.noVScale) {
        perTwip = stageScale / TwipsPerPixel;
    } else if (line.noHScale) {
        // Keeps its width when the shape is stretched across: follows only
        // how it is stretched down.
        perTwip = std::hypot(toDevice.xy, toDevice.yy);
    } else if (line.noVScale) {
        perTwip = std::hypot(toDevice.xx, toDevice.yx);
    } else {
        // Scaled with the shape, by the geometric mean of its axes.
        perTwip = std::sqrt(std::abs(toDevice.Determinant()));
    }
    const double width = line.width * perTwip;
    return std::isfinite(width) ? std::max(width, 1.0) : 1.0;
}

namespace {

// The width the line is painted with: hinted lines in whole pixels.
double PaintedWidth(const LineStyle& line, const Affine& toDevice, double stageScale) {
    const double width = StrokeWidth(line, toDevice, stageScale);
    return line.pixelHinting ? std::max(1.0, std::round(width)) : width;
}

} // namespace

double StrokeReach(const LineStyle& line, const Affine& toDevice, double stageScale) {
    double stretch = 1.0;
    if (JoinOf(line.join) == CAIRO_LINE_JOIN_MITER) {
        stretch = std::max(1.0, line.miterLimit);
    }
    if (line.startCap == SquareCap || line.endCap == SquareCap) {
        stretch = std::max(stretch, M_SQRT2);
    }
    const double snap = line.pixelHinting ? 0.5 : 0.0;
    return PaintedWidth(line, toDevice, stageScale) / 2 * stretch + snap;
}

void PaintStroke(const PaintContext& context, const StrokePath& stroke, const LineStyle& line,
                 const Affine& toDevice, const ColorMath& color) {
    cairo_t* cr = context.cr;
    const cairo_matrix_t m = ToCairo(toDevice);
    cairo_set_matrix(cr, &m);
    bool drawn = false;
    if (line.fill) {
        drawn = SetFillSource(context, *line.fill, toDevice, color);
    } else if (context.maskOnly) {
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        drawn = true;
    } else {
        SetColor(cr, color.Apply(line.color));
        drawn = true;
    }
    if (!drawn) {
        return;
    }
    cairo_identity_matrix(cr);
    const double width = PaintedWidth(line, toDevice, context.stageScale);
    PointMapper map{toDevice, std::nullopt};
    if (line.pixelHinting) {
        map.snap = std::fmod(width, 2.0) == 1.0 ? 0.5 : 0.0;
    }
    const Closing closing = line.noClose ? Closing::Never : Closing::WhereClosed;
    const bool mixedCaps =
        line.startCap != line.endCap &&
        std::any_of(stroke.contours.begin(), stroke.contours.end(),
                    [&](const Contour& c) { return !c.edges.empty() && IsOpen(c, closing); });
    cairo_new_path(cr);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, JoinOf(line.join));
    cairo_set_miter_limit(cr, std::max(1.0, line.miterLimit));
    if (!mixedCaps) {
        cairo_set_line_cap(cr, CapOf(line.startCap));
        AddDeviceContours(cr, stroke.contours, closing, map);
        cairo_stroke(cr);
        return;
    }
    // cairo caps both ends alike: the line is drawn without caps, each end
    // gets its own, and the lot covers the line's paint as one shape so
    // that a translucent line is not darker where a cap meets it.
    cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    AddDeviceContours(cr, stroke.contours, closing, map);
    cairo_stroke(cr);
    for (const Contour& contour : stroke.contours) {
        if (!contour.edges.empty() && IsOpen(contour, closing)) {
            FillCaps(cr, contour, map, width / 2, line);
        }
    }
    cairo_pattern_t* coverage = cairo_pop_group(cr);
    cairo_mask(cr, coverage);
    cairo_pattern_destroy(coverage);
}

} // namespace swf
