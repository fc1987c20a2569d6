// The filters by family, for BitmapFilters.cpp: what they share is how a
// picture's channels come apart and go back together.
#pragma once

#include <array>

#include "swf/runtime/filters/BitmapFilters.h"
#include "swf/runtime/filters/BoxBlur.h"

namespace swf {

// Drop shadow, glow, gradient glow, bevel and gradient bevel: a blurred
// copy of the picture's alpha, moved, strengthened, coloured and composited
// with the picture.
FilterReach ShadowReach(const Filter& filter, FilterScale scale);
void ApplyShadowFilter(const Filter& filter, FilterScale scale, PixelBuffer& image);

void ApplyColorMatrix(const Filter& filter, PixelBuffer& image);
void ApplyConvolution(const Filter& filter, PixelBuffer& image);

// The picture's channels as planes: alpha, red, green, blue.
std::array<Plane, 4> SplitChannels(const PixelBuffer& image);
void JoinChannels(const std::array<Plane, 4>& planes, PixelBuffer& image);
Plane AlphaPlane(const PixelBuffer& image);

// 256 premultiplied colours along a gradient of colours at ratios (0..255),
// as gradient fills spread them: the first colour before the first ratio,
// the last after the last, straight colours blended in between.
std::array<std::uint32_t, 256> GradientTable(const std::vector<Rgba>& colors,
                                             const std::vector<std::uint8_t>& ratios);

// A straight colour at coverage (0..255), premultiplied.
std::uint32_t CoverColor(const Rgba& color, std::uint32_t coverage);

} // namespace swf
