// Shapes and morph shapes as the file describes them: style arrays and a list
// of records (style changes and edges, in twips, relative to the pen), with
// new style arrays allowed in the middle of a shape. Nothing is tessellated
// here; that is the renderer's job.
#pragma once

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "swf/format/Basics.h"

namespace swf {

enum class FillKind : std::uint8_t {
    Solid = 0x00,
    LinearGradient = 0x10,
    RadialGradient = 0x12,
    FocalRadialGradient = 0x13,
    RepeatingBitmap = 0x40,
    ClippedBitmap = 0x41,
    RepeatingBitmapUnsmoothed = 0x42,
    ClippedBitmapUnsmoothed = 0x43,
};

constexpr bool IsGradient(FillKind kind) {
    return kind == FillKind::LinearGradient || kind == FillKind::RadialGradient ||
           kind == FillKind::FocalRadialGradient;
}
constexpr bool IsBitmap(FillKind kind) {
    return static_cast<std::uint8_t>(kind) >= 0x40;
}

struct GradientStop {
    std::uint8_t ratio = 0; // 0..255 along the gradient square
    Rgba color;
    bool operator==(const GradientStop&) const = default;
};

struct Gradient {
    std::uint8_t spreadMode = 0;        // 0 pad, 1 reflect, 2 repeat
    std::uint8_t interpolationMode = 0; // 0 RGB, 1 linear RGB
    std::vector<GradientStop> stops;
    double focalPoint = 0.0; // -1..1, focal radial gradients only
    bool operator==(const Gradient&) const = default;
};

struct FillStyle {
    FillKind kind = FillKind::Solid;
    Rgba color;               // Solid
    Matrix matrix;            // gradients and bitmaps
    Gradient gradient;        // gradients
    CharacterId bitmapId = 0; // bitmaps; 0xFFFF means none
    bool operator==(const FillStyle&) const = default;
};

struct LineStyle {
    std::uint16_t width = 0; // twips
    Rgba color;
    // Only DefineShape4 and DefineMorphShape2 set the fields below.
    std::uint8_t startCap = 0; // 0 round, 1 none, 2 square
    std::uint8_t endCap = 0;
    std::uint8_t join = 0; // 0 round, 1 bevel, 2 miter
    double miterLimit = 3.0;
    bool noHScale = false;
    bool noVScale = false;
    bool pixelHinting = false;
    bool noClose = false;
    std::optional<FillStyle> fill; // a line filled with a gradient or bitmap
    bool operator==(const LineStyle&) const = default;
};

struct StyleArrays {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
    bool operator==(const StyleArrays&) const = default;
};

// A style-change record. Style indices are 1-based into the style arrays in
// force (0 means none); a record with newStyles replaces those arrays from
// here on, and its indices refer to the new ones.
struct StyleChange {
    std::optional<Point> moveTo; // absolute, in the shape's coordinates
    std::optional<std::uint32_t> fill0;
    std::optional<std::uint32_t> fill1;
    std::optional<std::uint32_t> line;
    std::optional<StyleArrays> newStyles;
    bool operator==(const StyleChange&) const = default;
};

struct StraightEdge {
    Twips dx = 0;
    Twips dy = 0;
    bool operator==(const StraightEdge&) const = default;
};

// A quadratic curve: control point relative to the pen, anchor relative to
// the control point.
struct CurvedEdge {
    Twips controlDx = 0;
    Twips controlDy = 0;
    Twips anchorDx = 0;
    Twips anchorDy = 0;
    bool operator==(const CurvedEdge&) const = default;
};

using ShapeRecord = std::variant<StyleChange, StraightEdge, CurvedEdge>;

// DefineShape 1 to 4, and the glyphs of fonts (which have no style arrays:
// fill style 1 is the text colour).
struct Shape {
    std::uint8_t version = 1; // 1..4 as in DefineShapeN; 0 for a glyph
    Rect bounds;
    Rect edgeBounds; // DefineShape4; otherwise equal to bounds
    bool usesFillWindingRule = false;
    bool usesNonScalingStrokes = false;
    bool usesScalingStrokes = false;
    StyleArrays styles;
    std::vector<ShapeRecord> records;
};

// A fill or line style of a morph shape: the same style at the start and at
// the end of the morph; the renderer interpolates each field by the ratio.
struct MorphFillStyle {
    FillStyle start;
    FillStyle end;
};

struct MorphLineStyle {
    LineStyle start;
    LineStyle end;
};

// DefineMorphShape 1 and 2. The end records hold only edges and moves, in
// step with the start records.
struct MorphShape {
    std::uint8_t version = 1;
    Rect startBounds;
    Rect endBounds;
    Rect startEdgeBounds; // version 2
    Rect endEdgeBounds;   // version 2
    bool usesNonScalingStrokes = false;
    bool usesScalingStrokes = false;
    std::vector<MorphFillStyle> fills;
    std::vector<MorphLineStyle> lines;
    std::vector<ShapeRecord> startRecords;
    std::vector<ShapeRecord> endRecords;
};

} // namespace swf
