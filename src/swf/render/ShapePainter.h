// Paints shape geometry with cairo: each fill with its solid colour,
// gradient or bitmap, then each line with its width, caps and joins; all
// through the colour transformation in force. In mask mode every fill and line
// paints opaque, since a mask is the area a shape covers.
#pragma once

#include <cairo.h>

#include "swf/render/PaintBounds.h"
#include "swf/runtime/ShapeTessellation.h"
#include "swf/runtime/Transforms.h"

namespace swf {

// Where painters find decoded bitmaps (as premultiplied image surfaces).
class BitmapSource {
public:
    virtual ~BitmapSource() = default;
    // The bitmap through the colour transformation, or nullptr when there is no
    // such bitmap or it cannot be decoded. Owned by the source.
    virtual cairo_surface_t* BitmapSurface(CharacterId id, const ColorMath& color) = 0;
};

struct PaintContext {
    cairo_t* cr = nullptr;
    BitmapSource* bitmaps = nullptr; // borrowed
    // Device pixels per stage pixel, for strokes that do not scale.
    double stageScale = 1.0;
    bool maskOnly = false;
    // The device pixels the target lets through: paints that cannot reach
    // them are left out.
    DeviceBox visible;
};

// How far past its points a paint's antialiasing can reach, in pixels.
constexpr double AntialiasReach = 1.0;

// toDevice maps the outline's twips to device pixels.
void PaintGeometry(const PaintContext& context, const MeasuredOutline& outline,
                   const Affine& toDevice, const ColorMath& color);

// An outline filled with one colour (glyphs): every fill, no lines.
void PaintGeometryFilled(const PaintContext& context, const MeasuredOutline& outline,
                         const Affine& toDevice, const Rgba& color);

cairo_matrix_t ToCairo(const Affine& affine);

// For the painters of fills and strokes: fills always close their
// outlines; a stroke closes (joining its ends) only where it returns to its
// start and its style does not forbid it.
enum class Closing { Always, WhereClosed, Never };
void AddContours(cairo_t* cr, const std::vector<Contour>& contours, Closing closing);

// Sets the source for a fill style with the geometry's matrix in force.
// Returns false when the style draws nothing.
bool SetFillSource(const PaintContext& context, const FillStyle& fill, const Affine& toDevice,
                   const ColorMath& color);

// A transformation cairo can draw with: finite and not collapsing the plane.
bool IsDrawable(const Affine& affine);

} // namespace swf
