// Drop shadow, glow, gradient glow, bevel and gradient bevel.
//
// Each blurs the picture's alpha (inner shadows and glows the alpha turned
// over, so that the outside casts into the shape), moves it by the distance
// at the angle (whole pixels: the filters work in pixels), multiplies it by
// the strength and colours it. A bevel takes the blurred alpha twice, moved
// towards and away from the light, and colours their difference: shadow
// where the shape lies on the light's side, highlight where it lies away.
// Inner effects are kept to the shape, outer ones to what lies outside it;
// knockout leaves the shape out, and a shadow that hides its object
// (composite source unset) shows alone.
#include <algorithm>
#include <cmath>

#include "swf/runtime/filters/FilterParts.h"

namespace swf {

namespace {

bool IsBevel(FilterKind kind) {
    return kind == FilterKind::Bevel || kind == FilterKind::GradientBevel;
}

bool IsGradient(FilterKind kind) {
    return kind == FilterKind::GradientGlow || kind == FilterKind::GradientBevel;
}

// Where the effect may show: inside the shape, outside it, or (a bevel on
// top) anywhere.
enum class EffectArea { Inner, Outer, Full };

EffectArea AreaOf(const Filter& filter) {
    if (IsBevel(filter.kind) && filter.onTop) {
        return EffectArea::Full;
    }
    return filter.inner ? EffectArea::Inner : EffectArea::Outer;
}

struct ShadowGeometry {
    double boxX = 0.0;
    double boxY = 0.0;
    int passes = 1;
    int dx = 0; // the effect's offset, in whole pixels
    int dy = 0;
};

ShadowGeometry GeometryOf(const Filter& filter, FilterScale scale) {
    ShadowGeometry geometry;
    geometry.boxX = filter.blurX * scale.x;
    geometry.boxY = filter.blurY * scale.y;
    geometry.passes = filter.passes;
    if (filter.kind != FilterKind::Glow && std::isfinite(filter.distance) &&
        std::isfinite(filter.angle)) {
        // A movie's distance is at most a few hundred pixels; this keeps a
        // damaged one's from overflowing.
        const double distance = std::clamp(filter.distance, -4096.0, 4096.0);
        geometry.dx = static_cast<int>(std::lround(distance * std::cos(filter.angle) * scale.x));
        geometry.dy = static_cast<int>(std::lround(distance * std::sin(filter.angle) * scale.y));
    }
    return geometry;
}

// The strength as Flash holds it, in 256ths.
std::int32_t StrengthOf(const Filter& filter) {
    if (!std::isfinite(filter.strength)) {
        return 0;
    }
    return static_cast<std::int32_t>(std::lround(std::clamp(filter.strength, 0.0, 255.0) * 256));
}

Rgba ColorAt(const Filter& filter, std::size_t index) {
    return index < filter.colors.size() ? filter.colors[index] : Rgba{0, 0, 0, 255};
}

// The picture's alpha with room around it for the blur and the offset: what
// a shift brings in from beyond the picture must be what the blur spread
// there, not nothing.
struct Margins {
    int x = 0;
    int y = 0;
};

Margins MarginsOf(const ShadowGeometry& geometry) {
    return {BlurReach(geometry.boxX, geometry.passes) + std::abs(geometry.dx),
            BlurReach(geometry.boxY, geometry.passes) + std::abs(geometry.dy)};
}

Plane Pad(const Plane& plane, Margins margins, std::uint8_t outside) {
    Plane padded(plane.width + 2 * margins.x, plane.height + 2 * margins.y, outside);
    for (int y = 0; y < plane.height; ++y) {
        std::copy_n(plane.values.data() + std::size_t(y) * plane.width, plane.width,
                    &padded.At(margins.x, y + margins.y));
    }
    return padded;
}

// The value at (x, y) of the picture in a plane padded by margins.
std::uint8_t Inside(const Plane& padded, Margins margins, std::size_t index, int width) {
    const int x = int(index % std::size_t(width));
    const int y = int(index / std::size_t(width));
    return padded.At(x + margins.x, y + margins.y);
}

// The effect of a shadow or glow, before it meets the picture.
PixelBuffer ShadowEffect(const Filter& filter, const ShadowGeometry& geometry, const Plane& alpha) {
    const bool inner = filter.inner;
    const std::uint8_t outside = inner ? 255 : 0;
    const Margins margins = MarginsOf(geometry);
    Plane mask = Pad(alpha, margins, 0);
    if (inner) {
        for (std::uint8_t& v : mask.values) {
            v = static_cast<std::uint8_t>(255 - v);
        }
    }
    BlurPlane(mask, geometry.boxX, geometry.boxY, geometry.passes, outside);
    ShiftPlane(mask, geometry.dx, geometry.dy, outside);
    const std::int32_t strength = StrengthOf(filter);
    const bool gradient = IsGradient(filter.kind);
    const auto table =
        gradient ? GradientTable(filter.colors, filter.ratios) : std::array<std::uint32_t, 256>{};
    const Rgba color = ColorAt(filter, 0);
    PixelBuffer effect(alpha.width, alpha.height);
    std::uint32_t* out = effect.Data();
    for (std::size_t i = 0; i < alpha.values.size(); ++i) {
        const std::int32_t value = Inside(mask, margins, i, alpha.width);
        const auto level =
            static_cast<std::uint32_t>(std::min<std::int32_t>(255, (value * strength) >> 8));
        out[i] = gradient ? table[level] : CoverColor(color, level);
        if (inner) {
            out[i] = ScalePixel(out[i], alpha.values[i]);
        }
    }
    return effect;
}

// The effect of a bevel, kept to where its placement lets it show.
PixelBuffer BevelEffect(const Filter& filter, const ShadowGeometry& geometry, const Plane& alpha) {
    const Margins margins = MarginsOf(geometry);
    Plane blurred = Pad(alpha, margins, 0);
    BlurPlane(blurred, geometry.boxX, geometry.boxY, geometry.passes);
    Plane towards = blurred; // the shape seen from the light: moved along the offset
    ShiftPlane(towards, geometry.dx, geometry.dy);
    Plane away = std::move(blurred);
    ShiftPlane(away, -geometry.dx, -geometry.dy);
    const std::int32_t strength = StrengthOf(filter);
    const bool gradient = IsGradient(filter.kind);
    const auto table =
        gradient ? GradientTable(filter.colors, filter.ratios) : std::array<std::uint32_t, 256>{};
    const Rgba shadow = ColorAt(filter, 0);
    const Rgba highlight = ColorAt(filter, 1);
    const EffectArea area = AreaOf(filter);
    PixelBuffer effect(alpha.width, alpha.height);
    std::uint32_t* out = effect.Data();
    for (std::size_t i = 0; i < alpha.values.size(); ++i) {
        // Positive towards the shadow, negative towards the highlight.
        const std::int32_t difference = std::int32_t(Inside(towards, margins, i, alpha.width)) -
                                        Inside(away, margins, i, alpha.width);
        const std::int32_t level = std::clamp((difference * strength) / 256, -255, 255);
        if (gradient) {
            // The gradient runs from the highlight (ratio 0) through the
            // face (128) to the shadow (255).
            out[i] = table[std::size_t((level + 256) / 2)];
        } else if (level > 0) {
            out[i] = CoverColor(shadow, std::uint32_t(level));
        } else {
            out[i] = CoverColor(highlight, std::uint32_t(-level));
        }
        if (area == EffectArea::Inner) {
            out[i] = ScalePixel(out[i], alpha.values[i]);
        } else if (area == EffectArea::Outer) {
            out[i] = ScalePixel(out[i], 255 - alpha.values[i]);
        }
    }
    return effect;
}

} // namespace

FilterReach ShadowReach(const Filter& filter, FilterScale scale) {
    const ShadowGeometry geometry = GeometryOf(filter, scale);
    const EffectArea area = AreaOf(filter);
    if (area == EffectArea::Inner) {
        return {};
    }
    const int across = BlurReach(geometry.boxX, geometry.passes);
    const int down = BlurReach(geometry.boxY, geometry.passes);
    if (IsBevel(filter.kind)) {
        const int x = across + std::abs(geometry.dx);
        const int y = down + std::abs(geometry.dy);
        return {x, y, x, y};
    }
    return {std::max(0, across - geometry.dx), std::max(0, down - geometry.dy),
            std::max(0, across + geometry.dx), std::max(0, down + geometry.dy)};
}

void ApplyShadowFilter(const Filter& filter, FilterScale scale, PixelBuffer& image) {
    const ShadowGeometry geometry = GeometryOf(filter, scale);
    const Plane alpha = AlphaPlane(image);
    const bool bevel = IsBevel(filter.kind);
    const PixelBuffer effect =
        bevel ? BevelEffect(filter, geometry, alpha) : ShadowEffect(filter, geometry, alpha);
    const EffectArea area = AreaOf(filter);
    std::uint32_t* pixels = image.Data();
    const std::uint32_t* made = effect.Data();
    for (std::size_t i = 0; i < image.Size(); ++i) {
        if (filter.knockout) {
            // An outer bevel is kept outside the shape already.
            const bool cut = area == EffectArea::Outer && !bevel;
            pixels[i] = cut ? ScalePixel(made[i], 255 - alpha.values[i]) : made[i];
        } else if (!filter.compositeSource) {
            pixels[i] = made[i];
        } else if (area == EffectArea::Outer) {
            pixels[i] = OverPixel(pixels[i], made[i]);
        } else {
            pixels[i] = OverPixel(made[i], pixels[i]);
        }
    }
}

} // namespace swf
