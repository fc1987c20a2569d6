// Gradient fills as cairo patterns: linear, radial and focal radial
// gradients over the format's gradient square (-16384..16384 twips before
// the fill's matrix), with their spread mode, their stops through the
// colour transformation, and interpolation in RGB or linear RGB.
#pragma once

#include <cairo.h>

#include "swf/format/ShapeModel.h"
#include "swf/runtime/Transforms.h"

namespace swf {

// A new pattern in the gradient square's coordinates (the caller sets its
// matrix), or nullptr for a gradient without stops. The caller owns it.
cairo_pattern_t* MakeGradientPattern(FillKind kind, const Gradient& gradient,
                                     const ColorMath& color);

// How many intermediate stops stand in for one step of linear-RGB
// interpolation, which cairo does not have.
constexpr int LinearRgbSubsteps = 8;

} // namespace swf
