// The bitmap filters of clips and bitmaps: drop shadow, blur, glow, bevel,
// gradient glow, gradient bevel, convolution and colour matrix, applied to a
// premultiplied picture in its own pixels, with Flash Player's 8-bit
// arithmetic.
//
// A filter spreads a picture (a blur, a shadow falling aside), so the
// picture it works on must have room: make the buffer FilterBox(filters,
// drawn area) large, draw into it, and apply the filters in order:
//
//   const PixelRect box = FilterBox(filters, drawn, scale);
//   PixelBuffer image(box.width, box.height);
//   ... draw with its origin at (box.x, box.y) ...
//   ApplyFilters(filters, scale, image);
//
// A filter's lengths (blur, distance) are in the movie's pixels; scale says
// how many of the picture's pixels one of them spans, across and down.
#pragma once

#include <span>

#include "swf/format/TimelineModel.h"
#include "swf/runtime/filters/PixelBuffer.h"

namespace swf {

struct FilterScale {
    double x = 1.0;
    double y = 1.0;
    bool operator==(const FilterScale&) const = default;
};

// How far beyond the picture it is given a filter's result reaches, in
// whole pixels on each side.
struct FilterReach {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

FilterReach ReachOf(const Filter& filter, FilterScale scale);

// How far from a result pixel the pixels it depends on may lie, for every
// filter of a list together: a picture cut to an area keeps its filtered
// pixels exact in the area when it reaches this far beyond it.
FilterReach InfluenceOf(std::span<const Filter> filters, FilterScale scale);

// The area a filter's result covers for a picture that covers drawn.
PixelRect FilterBox(const Filter& filter, const PixelRect& drawn, FilterScale scale);
// ... and a list of filters, each working on the one before it.
PixelRect FilterBox(std::span<const Filter> filters, const PixelRect& drawn, FilterScale scale);

// Applies the filter to the whole of image in place. Pixels beyond the
// image count as transparent.
void ApplyFilter(const Filter& filter, FilterScale scale, PixelBuffer& image);
void ApplyFilters(std::span<const Filter> filters, FilterScale scale, PixelBuffer& image);

} // namespace swf
