#include "swf/render/ShapePainter.h"

#include <cmath>

#include "swf/render/GradientPattern.h"
#include "swf/render/StrokePainter.h"

namespace swf {

namespace {

void SetColor(cairo_t* cr, const Rgba& c) {
    cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

// Bitmap fills at one bitmap pixel per device pixel, on whole pixels, are
// drawn without resampling whatever their smoothing says.
bool IsPixelAligned(const cairo_matrix_t& m) {
    const auto whole = [](double v) { return std::abs(v - std::round(v)) < 1e-6; };
    return std::abs(m.xx - 1) < 1e-6 && std::abs(m.yy - 1) < 1e-6 && std::abs(m.xy) < 1e-6 &&
           std::abs(m.yx) < 1e-6 && whole(m.x0) && whole(m.y0);
}

} // namespace

void AddContours(cairo_t* cr, const std::vector<Contour>& contours, Closing closing) {
    for (const Contour& contour : contours) {
        if (contour.edges.empty()) {
            continue;
        }
        const Point start = contour.edges.front().from;
        cairo_move_to(cr, start.x, start.y);
        for (const PathEdge& edge : contour.edges) {
            if (edge.curved) {
                // The quadratic curve as the cubic that traces it exactly.
                const double c1x = edge.from.x + 2.0 / 3.0 * (edge.control.x - edge.from.x);
                const double c1y = edge.from.y + 2.0 / 3.0 * (edge.control.y - edge.from.y);
                const double c2x = edge.to.x + 2.0 / 3.0 * (edge.control.x - edge.to.x);
                const double c2y = edge.to.y + 2.0 / 3.0 * (edge.control.y - edge.to.y);
                cairo_curve_to(cr, c1x, c1y, c2x, c2y, edge.to.x, edge.to.y);
            } else {
                cairo_line_to(cr, edge.to.x, edge.to.y);
            }
        }
        if (closing == Closing::Always || (closing == Closing::WhereClosed && contour.Closed())) {
            cairo_close_path(cr);
        }
    }
}

bool SetFillSource(const PaintContext& context, const FillStyle& fill, const Affine& toDevice,
                   const ColorMath& color) {
    cairo_t* cr = context.cr;
    if (context.maskOnly) {
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        return true;
    }
    if (fill.kind == FillKind::Solid) {
        SetColor(cr, color.Apply(fill.color));
        return true;
    }
    const Affine fillMatrix = Affine::FromMatrix(fill.matrix);
    if (IsGradient(fill.kind)) {
        if (fill.gradient.stops.empty()) {
            return false;
        }
        if (!IsDrawable(fillMatrix)) {
            // A gradient squeezed to nothing shows its last colour.
            SetColor(cr, color.Apply(fill.gradient.stops.back().color));
            return true;
        }
        cairo_pattern_t* pattern = MakeGradientPattern(fill.kind, fill.gradient, color);
        cairo_matrix_t m = ToCairo(fillMatrix);
        cairo_matrix_invert(&m);
        cairo_pattern_set_matrix(pattern, &m);
        cairo_set_source(cr, pattern);
        cairo_pattern_destroy(pattern);
        return true;
    }
    if (context.bitmaps == nullptr || !IsDrawable(fillMatrix)) {
        return false;
    }
    cairo_surface_t* surface = context.bitmaps->BitmapSurface(fill.bitmapId, color);
    if (surface == nullptr) {
        return false;
    }
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(surface);
    const bool repeating =
        fill.kind == FillKind::RepeatingBitmap || fill.kind == FillKind::RepeatingBitmapUnsmoothed;
    cairo_pattern_set_extend(pattern, repeating ? CAIRO_EXTEND_REPEAT : CAIRO_EXTEND_PAD);
    const bool smoothed =
        fill.kind == FillKind::RepeatingBitmap || fill.kind == FillKind::ClippedBitmap;
    const cairo_matrix_t toPixels = ToCairo(toDevice * fillMatrix);
    cairo_pattern_set_filter(pattern, smoothed && !IsPixelAligned(toPixels) ? CAIRO_FILTER_BILINEAR
                                                                            : CAIRO_FILTER_NEAREST);
    cairo_matrix_t m = ToCairo(fillMatrix);
    cairo_matrix_invert(&m);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    return true;
}

cairo_matrix_t ToCairo(const Affine& a) {
    cairo_matrix_t m;
    cairo_matrix_init(&m, a.xx, a.yx, a.xy, a.yy, a.x0, a.y0);
    return m;
}

bool IsDrawable(const Affine& a) {
    const double det = a.Determinant();
    return std::isfinite(det) && std::abs(det) > 1e-12 && std::isfinite(a.x0) &&
           std::isfinite(a.y0);
}

void PaintGeometry(const PaintContext& context, const MeasuredOutline& outline,
                   const Affine& toDevice, const ColorMath& color) {
    if (!IsDrawable(toDevice)) {
        return;
    }
    cairo_t* cr = context.cr;
    const ShapeGeometry& geometry = outline.geometry;
    const OutlineBounds& bounds = outline.bounds;
    const cairo_matrix_t m = ToCairo(toDevice);
    // The state is kept only once something is painted: most of a frame
    // drawn in part lies outside the part.
    bool saved = false;
    const auto keepState = [&] {
        if (!saved) {
            cairo_save(cr);
            saved = true;
        }
    };
    for (std::size_t g = 0; g < geometry.groups.size(); ++g) {
        const StyleGroup& group = geometry.groups[g];
        for (std::size_t f = 0; f < group.fills.size(); ++f) {
            if (!Touches(DeviceBoxOf(bounds.fills[g][f], toDevice, AntialiasReach),
                         context.visible)) {
                continue;
            }
            keepState();
            cairo_set_fill_rule(cr, geometry.nonZeroWinding ? CAIRO_FILL_RULE_WINDING
                                                            : CAIRO_FILL_RULE_EVEN_ODD);
            cairo_set_matrix(cr, &m);
            const FillPath& fill = group.fills[f];
            if (!SetFillSource(context, group.styles.fills[fill.style], toDevice, color)) {
                continue;
            }
            cairo_new_path(cr);
            AddContours(cr, fill.contours, Closing::Always);
            cairo_fill(cr);
        }
        for (std::size_t s = 0; s < group.strokes.size(); ++s) {
            const StrokePath& stroke = group.strokes[s];
            const LineStyle& line = group.styles.lines[stroke.style];
            const double reach = StrokeReach(line, toDevice, context.stageScale) + AntialiasReach;
            if (!Touches(DeviceBoxOf(bounds.strokes[g][s], toDevice, reach), context.visible)) {
                continue;
            }
            keepState();
            PaintStroke(context, stroke, line, toDevice, color);
        }
    }
    if (saved) {
        cairo_restore(cr);
    }
}

void PaintGeometryFilled(const PaintContext& context, const MeasuredOutline& outline,
                         const Affine& toDevice, const Rgba& color) {
    if (!IsDrawable(toDevice) ||
        !Touches(DeviceBoxOf(outline.bounds.allFills, toDevice, AntialiasReach), context.visible)) {
        return;
    }
    const ShapeGeometry& geometry = outline.geometry;
    cairo_t* cr = context.cr;
    cairo_save(cr);
    const cairo_matrix_t m = ToCairo(toDevice);
    cairo_set_matrix(cr, &m);
    cairo_set_fill_rule(cr, geometry.nonZeroWinding ? CAIRO_FILL_RULE_WINDING
                                                    : CAIRO_FILL_RULE_EVEN_ODD);
    if (context.maskOnly) {
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
    } else {
        SetColor(cr, color);
    }
    cairo_new_path(cr);
    for (const StyleGroup& group : geometry.groups) {
        for (const FillPath& fill : group.fills) {
            AddContours(cr, fill.contours, Closing::Always);
        }
    }
    cairo_fill(cr);
    cairo_restore(cr);
}

} // namespace swf
