#include "swf/runtime/MorphInterpolation.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

struct Mixer {
    double t = 0.0;

    double Value(double a, double b) const { return a + (b - a) * t; }
    Twips Twip(double a, double b) const { return static_cast<Twips>(std::lround(Value(a, b))); }
    std::uint8_t Byte(std::uint8_t a, std::uint8_t b) const {
        return static_cast<std::uint8_t>(std::clamp(std::lround(Value(a, b)), 0L, 255L));
    }
    Rgba Color(const Rgba& a, const Rgba& b) const {
        return {Byte(a.r, b.r), Byte(a.g, b.g), Byte(a.b, b.b), Byte(a.a, b.a)};
    }
    Matrix Transform(const Matrix& a, const Matrix& b) const {
        return {Value(a.scaleX, b.scaleX),           Value(a.scaleY, b.scaleY),
                Value(a.rotateSkew0, b.rotateSkew0), Value(a.rotateSkew1, b.rotateSkew1),
                Twip(a.translateX, b.translateX),    Twip(a.translateY, b.translateY)};
    }
    FillStyle Fill(const FillStyle& a, const FillStyle& b) const {
        FillStyle out = a;
        out.color = Color(a.color, b.color);
        out.matrix = Transform(a.matrix, b.matrix);
        out.gradient.focalPoint = Value(a.gradient.focalPoint, b.gradient.focalPoint);
        const std::size_t stops = std::min(a.gradient.stops.size(), b.gradient.stops.size());
        out.gradient.stops.resize(stops);
        for (std::size_t i = 0; i < stops; ++i) {
            const GradientStop& sa = a.gradient.stops[i];
            const GradientStop& sb = b.gradient.stops[i];
            out.gradient.stops[i] = {Byte(sa.ratio, sb.ratio), Color(sa.color, sb.color)};
        }
        return out;
    }
    LineStyle Line(const LineStyle& a, const LineStyle& b) const {
        LineStyle out = a;
        out.width = static_cast<std::uint16_t>(
            std::clamp(std::lround(Value(a.width, b.width)), 0L, 65535L));
        out.color = Color(a.color, b.color);
        out.miterLimit = Value(a.miterLimit, b.miterLimit);
        if (a.fill && b.fill) {
            out.fill = Fill(*a.fill, *b.fill);
        }
        return out;
    }
};

// An edge in absolute twips; a straight edge as the curve through its midpoint.
struct AbsoluteEdge {
    double controlX = 0, controlY = 0, toX = 0, toY = 0;
    bool curved = false;
};

AbsoluteEdge Absolute(const ShapeRecord& record, double penX, double penY) {
    if (const auto* straight = std::get_if<StraightEdge>(&record)) {
        const double toX = penX + straight->dx;
        const double toY = penY + straight->dy;
        return {(penX + toX) / 2, (penY + toY) / 2, toX, toY, false};
    }
    const auto& curve = std::get<CurvedEdge>(record);
    const double cx = penX + curve.controlDx;
    const double cy = penY + curve.controlDy;
    return {cx, cy, cx + curve.anchorDx, cy + curve.anchorDy, true};
}

} // namespace

Shape MorphShapeAt(const MorphShape& morph, std::uint16_t ratio) {
    const Mixer mix{ratio / 65535.0};
    Shape shape;
    shape.version = morph.version == 2 ? 4 : 3;
    shape.usesNonScalingStrokes = morph.usesNonScalingStrokes;
    shape.usesScalingStrokes = morph.usesScalingStrokes;
    for (const MorphFillStyle& fill : morph.fills) {
        shape.styles.fills.push_back(mix.Fill(fill.start, fill.end));
    }
    for (const MorphLineStyle& line : morph.lines) {
        shape.styles.lines.push_back(mix.Line(line.start, line.end));
    }

    // Pens of the start and end shapes, and of the mixed shape in whole
    // twips: each mixed point is rounded once, from absolute positions, so
    // outlines that close at both ends close in between too.
    double startX = 0, startY = 0, endX = 0, endY = 0;
    Twips penX = 0, penY = 0;
    std::size_t next = 0; // into endRecords
    const auto& ends = morph.endRecords;
    for (const ShapeRecord& record : morph.startRecords) {
        if (const auto* change = std::get_if<StyleChange>(&record)) {
            StyleChange mixed = *change;
            const StyleChange* endChange =
                next < ends.size() ? std::get_if<StyleChange>(&ends[next]) : nullptr;
            if (endChange != nullptr) {
                ++next;
            }
            if (change->moveTo) {
                startX = change->moveTo->x;
                startY = change->moveTo->y;
                if (endChange != nullptr && endChange->moveTo) {
                    endX = endChange->moveTo->x;
                    endY = endChange->moveTo->y;
                }
                penX = mix.Twip(startX, endX);
                penY = mix.Twip(startY, endY);
                mixed.moveTo = Point{penX, penY};
            }
            // Morph shapes keep one set of styles.
            mixed.newStyles.reset();
            shape.records.push_back(mixed);
            continue;
        }
        // Skip end moves that have no counterpart here.
        while (next < ends.size() && std::holds_alternative<StyleChange>(ends[next])) {
            const auto& stray = std::get<StyleChange>(ends[next]);
            if (stray.moveTo) {
                endX = stray.moveTo->x;
                endY = stray.moveTo->y;
            }
            ++next;
        }
        const AbsoluteEdge a = Absolute(record, startX, startY);
        const AbsoluteEdge b = next < ends.size() ? Absolute(ends[next], endX, endY) : a;
        if (next < ends.size()) {
            ++next;
        }
        const Twips toX = mix.Twip(a.toX, b.toX);
        const Twips toY = mix.Twip(a.toY, b.toY);
        if (!a.curved && !b.curved) {
            shape.records.emplace_back(StraightEdge{toX - penX, toY - penY});
        } else {
            const Twips cx = mix.Twip(a.controlX, b.controlX);
            const Twips cy = mix.Twip(a.controlY, b.controlY);
            shape.records.emplace_back(CurvedEdge{cx - penX, cy - penY, toX - cx, toY - cy});
        }
        startX = a.toX;
        startY = a.toY;
        endX = b.toX;
        endY = b.toY;
        penX = toX;
        penY = toY;
    }
    return shape;
}

} // namespace swf
