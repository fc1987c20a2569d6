// Composites a drawn group onto what lies beneath it by a blend mode: most
// modes are cairo operators; subtract and invert, which cairo lacks, are
// worked out pixel by pixel on the image surfaces.
#pragma once

#include <cairo.h>
#include <cstdint>

namespace swf {

// Paints group with the operator for blendMode; false for modes cairo has
// no operator for.
bool CompositeWithOperator(cairo_t* cr, cairo_pattern_t* group, std::uint8_t blendMode);

// Subtract and invert of source, whose first pixel lies at (x, y) in the
// target's pixels, on image surfaces; any other mode (or surfaces that are
// not images) paints as usual.
void CompositeByPixels(cairo_t* cr, cairo_surface_t* source, int x, int y, std::uint8_t blendMode);

} // namespace swf
