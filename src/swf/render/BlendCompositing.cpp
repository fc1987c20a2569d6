#include "swf/render/BlendCompositing.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "swf/format/TimelineModel.h"

namespace swf {

namespace {

std::optional<cairo_operator_t> OperatorFor(BlendMode mode) {
    switch (mode) {
    case BlendMode::Normal:
    case BlendMode::Layer:
        return CAIRO_OPERATOR_OVER;
    case BlendMode::Multiply:
        return CAIRO_OPERATOR_MULTIPLY;
    case BlendMode::Screen:
        return CAIRO_OPERATOR_SCREEN;
    case BlendMode::Lighten:
        return CAIRO_OPERATOR_LIGHTEN;
    case BlendMode::Darken:
        return CAIRO_OPERATOR_DARKEN;
    case BlendMode::Difference:
        return CAIRO_OPERATOR_DIFFERENCE;
    case BlendMode::Add:
        return CAIRO_OPERATOR_ADD;
    case BlendMode::Alpha:
        // The layer keeps only what this object covers...
        return CAIRO_OPERATOR_DEST_IN;
    case BlendMode::Erase:
        // ... or only what it does not.
        return CAIRO_OPERATOR_DEST_OUT;
    case BlendMode::Overlay:
        return CAIRO_OPERATOR_OVERLAY;
    case BlendMode::HardLight:
        return CAIRO_OPERATOR_HARD_LIGHT;
    default:
        if (static_cast<std::uint8_t>(mode) <= 1 || static_cast<std::uint8_t>(mode) > 14) {
            return CAIRO_OPERATOR_OVER;
        }
        return std::nullopt;
    }
}

std::uint32_t Channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

// Premultiplied pixels, one blend of source s over destination d.
std::uint32_t Blend(BlendMode mode, std::uint32_t s, std::uint32_t d) {
    const std::uint32_t sa = Channel(s, 24);
    const std::uint32_t da = Channel(d, 24);
    std::uint32_t out = 0;
    if (mode == BlendMode::Subtract) {
        // The destination less the source, colour by colour, never below 0.
        const std::uint32_t a = std::min<std::uint32_t>(255, da + sa - da * sa / 255);
        out = a << 24;
        for (int shift : {16, 8, 0}) {
            const std::int32_t c =
                std::int32_t(Channel(d, shift)) - std::int32_t(Channel(s, shift));
            out |= std::uint32_t(std::clamp<std::int32_t>(c, 0, std::int32_t(a))) << shift;
        }
        return out;
    }
    // Invert: where the source covers, the destination's colours turn over;
    // a clear destination turns white. The coverage adds to the alpha as
    // drawing over would.
    const std::uint32_t a = std::min<std::uint32_t>(255, sa + da - (sa * da + 127) / 255);
    out = a << 24;
    for (int shift : {16, 8, 0}) {
        const std::uint32_t dc = Channel(d, shift);
        const std::uint32_t c = (dc * (255 - sa) + (255 - dc) * sa + 127) / 255;
        out |= std::min(c, a) << shift;
    }
    return out;
}

bool IsArgbImage(cairo_surface_t* surface) {
    return surface != nullptr && cairo_surface_get_type(surface) == CAIRO_SURFACE_TYPE_IMAGE &&
           cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32;
}

} // namespace

bool CompositeWithOperator(cairo_t* cr, cairo_pattern_t* group, std::uint8_t blendMode) {
    const auto op = OperatorFor(static_cast<BlendMode>(blendMode));
    if (!op) {
        return false;
    }
    cairo_set_operator(cr, *op);
    cairo_set_source(cr, group);
    cairo_paint(cr);
    return true;
}

void CompositeByPixels(cairo_t* cr, cairo_surface_t* source, int x, int y, std::uint8_t blendMode) {
    const auto mode = static_cast<BlendMode>(blendMode);
    cairo_surface_t* target = cairo_get_group_target(cr);
    if ((mode != BlendMode::Subtract && mode != BlendMode::Invert) || !IsArgbImage(source) ||
        !IsArgbImage(target)) {
        cairo_set_source_surface(cr, source, x, y);
        cairo_paint(cr);
        return;
    }
    double targetX = 0, targetY = 0;
    cairo_surface_get_device_offset(target, &targetX, &targetY);
    // A source pixel (sx, sy) lies over target pixel (sx + dx, sy + dy).
    const int dx = x + static_cast<int>(std::lround(targetX));
    const int dy = y + static_cast<int>(std::lround(targetY));
    cairo_surface_flush(source);
    cairo_surface_flush(target);
    const int sw = cairo_image_surface_get_width(source);
    const int sh = cairo_image_surface_get_height(source);
    const int tw = cairo_image_surface_get_width(target);
    const int th = cairo_image_surface_get_height(target);
    const int sStride = cairo_image_surface_get_stride(source);
    const int tStride = cairo_image_surface_get_stride(target);
    const unsigned char* sData = cairo_image_surface_get_data(source);
    unsigned char* tData = cairo_image_surface_get_data(target);
    for (int y = std::max(0, -dy); y < std::min(sh, th - dy); ++y) {
        const auto* s = reinterpret_cast<const std::uint32_t*>(sData + std::size_t(y) * sStride);
        auto* t = reinterpret_cast<std::uint32_t*>(tData + std::size_t(y + dy) * tStride);
        for (int x = std::max(0, -dx); x < std::min(sw, tw - dx); ++x) {
            if (Channel(s[x], 24) != 0) {
                t[x + dx] = Blend(mode, s[x], t[x + dx]);
            }
        }
    }
    cairo_surface_mark_dirty(target);
}

} // namespace swf
