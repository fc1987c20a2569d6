#include "swf/runtime/filters/BitmapFilters.h"

#include <algorithm>

#include "swf/runtime/filters/FilterParts.h"

namespace swf {

namespace {

void ApplyBlur(const Filter& filter, FilterScale scale, PixelBuffer& image) {
    auto planes = SplitChannels(image);
    for (Plane& plane : planes) {
        BlurPlane(plane, filter.blurX * scale.x, filter.blurY * scale.y, filter.passes);
    }
    JoinChannels(planes, image);
}

} // namespace

std::array<Plane, 4> SplitChannels(const PixelBuffer& image) {
    std::array<Plane, 4> planes;
    for (Plane& plane : planes) {
        plane = Plane(image.Width(), image.Height());
    }
    const std::uint32_t* pixels = image.Data();
    for (std::size_t i = 0; i < image.Size(); ++i) {
        planes[0].values[i] = static_cast<std::uint8_t>(AlphaOf(pixels[i]));
        planes[1].values[i] = static_cast<std::uint8_t>(RedOf(pixels[i]));
        planes[2].values[i] = static_cast<std::uint8_t>(GreenOf(pixels[i]));
        planes[3].values[i] = static_cast<std::uint8_t>(BlueOf(pixels[i]));
    }
    return planes;
}

void JoinChannels(const std::array<Plane, 4>& planes, PixelBuffer& image) {
    std::uint32_t* pixels = image.Data();
    for (std::size_t i = 0; i < image.Size(); ++i) {
        const std::uint32_t a = planes[0].values[i];
        // Rounding each channel on its own may leave a colour a step above
        // its alpha; a premultiplied pixel never has one.
        pixels[i] = PackPixel(a, std::min<std::uint32_t>(planes[1].values[i], a),
                              std::min<std::uint32_t>(planes[2].values[i], a),
                              std::min<std::uint32_t>(planes[3].values[i], a));
    }
}

Plane AlphaPlane(const PixelBuffer& image) {
    Plane plane(image.Width(), image.Height());
    const std::uint32_t* pixels = image.Data();
    for (std::size_t i = 0; i < image.Size(); ++i) {
        plane.values[i] = static_cast<std::uint8_t>(AlphaOf(pixels[i]));
    }
    return plane;
}

std::uint32_t CoverColor(const Rgba& color, std::uint32_t coverage) {
    const std::uint32_t a = Mul255(color.a, coverage);
    return PackPixel(a, Mul255(color.r, a), Mul255(color.g, a), Mul255(color.b, a));
}

std::array<std::uint32_t, 256> GradientTable(const std::vector<Rgba>& colors,
                                             const std::vector<std::uint8_t>& ratios) {
    std::array<std::uint32_t, 256> table{};
    const std::size_t count = std::min(colors.size(), ratios.size());
    if (count == 0) {
        return table;
    }
    std::size_t next = 0; // the first stop at or after the position
    for (int position = 0; position < 256; ++position) {
        while (next < count && ratios[next] < position) {
            ++next;
        }
        Rgba color;
        if (next == 0) {
            color = colors[0];
        } else if (next == count) {
            color = colors[count - 1];
        } else {
            const Rgba& from = colors[next - 1];
            const Rgba& to = colors[next];
            const int span = ratios[next] - ratios[next - 1];
            const int along = position - ratios[next - 1];
            const auto mix = [&](std::uint8_t a, std::uint8_t b) {
                return static_cast<std::uint8_t>(
                    span <= 0 ? b : (a * (span - along) + b * along + span / 2) / span);
            };
            color = {mix(from.r, to.r), mix(from.g, to.g), mix(from.b, to.b), mix(from.a, to.a)};
        }
        table[position] = CoverColor(color, 255);
    }
    return table;
}

FilterReach ReachOf(const Filter& filter, FilterScale scale) {
    switch (filter.kind) {
    case FilterKind::Blur: {
        const int across = BlurReach(filter.blurX * scale.x, filter.passes);
        const int down = BlurReach(filter.blurY * scale.y, filter.passes);
        return {across, down, across, down};
    }
    case FilterKind::ColorMatrix:
    case FilterKind::Convolution:
        return {};
    default:
        return ShadowReach(filter, scale);
    }
}

FilterReach InfluenceOf(std::span<const Filter> filters, FilterScale scale) {
    FilterReach total;
    for (const Filter& filter : filters) {
        FilterReach reach;
        if (filter.kind == FilterKind::Convolution) {
            reach = {filter.matrixX, filter.matrixY, filter.matrixX, filter.matrixY};
        } else if (filter.kind != FilterKind::ColorMatrix) {
            // Inner effects reach no further than the picture, but what
            // they show depends on pixels as far off as an outer one's.
            Filter outer = filter;
            outer.inner = false;
            outer.onTop = true;
            const FilterReach own = ReachOf(outer, scale);
            const int side = std::max({own.left, own.top, own.right, own.bottom});
            reach = {side, side, side, side};
        }
        total.left += reach.left;
        total.top += reach.top;
        total.right += reach.right;
        total.bottom += reach.bottom;
    }
    return total;
}

PixelRect FilterBox(const Filter& filter, const PixelRect& drawn, FilterScale scale) {
    if (drawn.Empty()) {
        return drawn;
    }
    const FilterReach reach = ReachOf(filter, scale);
    return {drawn.x - reach.left, drawn.y - reach.top, drawn.width + reach.left + reach.right,
            drawn.height + reach.top + reach.bottom};
}

PixelRect FilterBox(std::span<const Filter> filters, const PixelRect& drawn, FilterScale scale) {
    PixelRect box = drawn;
    for (const Filter& filter : filters) {
        box = FilterBox(filter, box, scale);
    }
    return box;
}

void ApplyFilter(const Filter& filter, FilterScale scale, PixelBuffer& image) {
    if (image.Empty()) {
        return;
    }
    switch (filter.kind) {
    case FilterKind::Blur:
        ApplyBlur(filter, scale, image);
        break;
    case FilterKind::ColorMatrix:
        ApplyColorMatrix(filter, image);
        break;
    case FilterKind::Convolution:
        ApplyConvolution(filter, image);
        break;
    default:
        ApplyShadowFilter(filter, scale, image);
        break;
    }
}

void ApplyFilters(std::span<const Filter> filters, FilterScale scale, PixelBuffer& image) {
    for (const Filter& filter : filters) {
        ApplyFilter(filter, scale, image);
    }
}

} // namespace swf
