// Paints the strokes of one line style: the width as the line's scaling
// mode says (scaled with the shape, only across, only down, or not at all),
// each open end with its own cap, the joins with their miter limit, and a
// hinted line's corners on the pixel grid.
#pragma once

#include "swf/render/ShapePainter.h"

namespace swf {

void PaintStroke(const PaintContext& context, const StrokePath& stroke, const LineStyle& line,
                 const Affine& toDevice, const ColorMath& color);

// The width of a line in device pixels (never below one, so hairlines show).
double StrokeWidth(const LineStyle& line, const Affine& toDevice, double stageScale);

// How far from its path, in device pixels, a line's paint can reach before
// antialiasing: half its painted width, as far as a miter or a square
// cap's corner sticks out, and half a pixel where hinting moves its
// corners to the grid.
double StrokeReach(const LineStyle& line, const Affine& toDevice, double stageScale);

} // namespace swf
