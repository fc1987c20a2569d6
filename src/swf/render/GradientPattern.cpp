#include "swf/render/GradientPattern.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

constexpr double GradientHalfSize = 16384.0;

double ToLinear(double c) {
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}
double FromLinear(double c) {
    return c <= 0.0031308 ? c * 12.92 : 1.055 * std::pow(c, 1.0 / 2.4) - 0.055;
}

void AddStop(cairo_pattern_t* pattern, double offset, const Rgba& c) {
    cairo_pattern_add_color_stop_rgba(pattern, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0,
                                      c.a / 255.0);
}

bool Ascending(const std::vector<GradientStop>& stops) {
    return std::is_sorted(
        stops.begin(), stops.end(),
        [](const GradientStop& a, const GradientStop& b) { return a.ratio < b.ratio; });
}

// Stops whose ratios go back are read as players read them, one table
// entry at a time: each of the 256 entries moves on by at most one stop,
// and a stop at or behind the entry shows its colour flat.
void AddIrregularStops(cairo_pattern_t* pattern, const std::vector<GradientStop>& stops,
                       const ColorMath& color) {
    std::size_t j = 0;
    for (int i = 0; i < 256; ++i) {
        if (i > stops[j].ratio && j + 1 < stops.size()) {
            ++j;
        }
        Rgba c = stops[j].color;
        if (j > 0 && i <= stops[j].ratio && stops[j].ratio > stops[j - 1].ratio) {
            const double t = double(i - stops[j - 1].ratio) / (stops[j].ratio - stops[j - 1].ratio);
            const Rgba& a = stops[j - 1].color;
            const Rgba& b = stops[j].color;
            const auto mix = [t](std::uint8_t x, std::uint8_t y) {
                return static_cast<std::uint8_t>(std::lround(x + (y - x) * t));
            };
            c = {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
        }
        AddStop(pattern, i / 255.0, color.Apply(c));
    }
}

} // namespace

cairo_pattern_t* MakeGradientPattern(FillKind kind, const Gradient& gradient,
                                     const ColorMath& color) {
    if (gradient.stops.empty()) {
        return nullptr;
    }
    cairo_pattern_t* pattern = nullptr;
    if (kind == FillKind::LinearGradient) {
        pattern = cairo_pattern_create_linear(-GradientHalfSize, 0, GradientHalfSize, 0);
    } else {
        // The focal point lies on the horizontal axis, a fraction of the
        // radius from the centre; a focus on the rim would make a cone.
        const double focal = kind == FillKind::FocalRadialGradient
                                 ? std::clamp(gradient.focalPoint, -0.98, 0.98)
                                 : 0.0;
        pattern =
            cairo_pattern_create_radial(focal * GradientHalfSize, 0, 0, 0, 0, GradientHalfSize);
    }
    switch (gradient.spreadMode) {
    case 1:
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REFLECT);
        break;
    case 2:
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
        break;
    default:
        cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        break;
    }
    if (!Ascending(gradient.stops)) {
        AddIrregularStops(pattern, gradient.stops, color);
        return pattern;
    }
    const bool linearRgb = gradient.interpolationMode == 1;
    const GradientStop* previous = nullptr;
    for (const GradientStop& stop : gradient.stops) {
        const Rgba c = color.Apply(stop.color);
        if (linearRgb && previous != nullptr && stop.ratio > previous->ratio) {
            const Rgba p = color.Apply(previous->color);
            for (int step = 1; step < LinearRgbSubsteps; ++step) {
                const double t = double(step) / LinearRgbSubsteps;
                const auto mix = [&](std::uint8_t a, std::uint8_t b) {
                    const double v = ToLinear(a / 255.0) * (1 - t) + ToLinear(b / 255.0) * t;
                    return static_cast<std::uint8_t>(std::lround(FromLinear(v) * 255.0));
                };
                const Rgba between{mix(p.r, c.r), mix(p.g, c.g), mix(p.b, c.b),
                                   static_cast<std::uint8_t>(std::lround(p.a * (1 - t) + c.a * t))};
                AddStop(pattern, (previous->ratio + (stop.ratio - previous->ratio) * t) / 255.0,
                        between);
            }
        }
        AddStop(pattern, stop.ratio / 255.0, c);
        previous = &stop;
    }
    return pattern;
}

} // namespace swf
