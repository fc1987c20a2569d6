#include "swf/render/LayerCache.h"

#include <algorithm>
#include <cmath>

namespace swf {

namespace {

// The most memory kept layers take: a full 480 x 640 screen's worth many
// times over, and little next to what a movie's bitmaps may take.
constexpr std::size_t MaxCacheBytes = 48u << 20;

} // namespace

void LayerMeasure::AddBounds(const Rect& bounds, const Affine& toPixels) {
    if (bounds.xMin > bounds.xMax || bounds.yMin > bounds.yMax) {
        return;
    }
    for (const auto& [x, y] :
         {std::pair{bounds.xMin, bounds.yMin}, std::pair{bounds.xMax, bounds.yMin},
          std::pair{bounds.xMin, bounds.yMax}, std::pair{bounds.xMax, bounds.yMax}}) {
        const auto p = toPixels.Apply(x, y);
        if (!std::isfinite(p[0]) || !std::isfinite(p[1])) {
            continue;
        }
        xMin = std::min(xMin, p[0]);
        xMax = std::max(xMax, p[0]);
        yMin = std::min(yMin, p[1]);
        yMax = std::max(yMax, p[1]);
    }
}

void LayerMeasure::AddPixels(const PixelRect& pixels) {
    if (pixels.Empty()) {
        return;
    }
    xMin = std::min(xMin, double(pixels.x));
    yMin = std::min(yMin, double(pixels.y));
    // Pixels() adds the extra pixel again; a nested layer already has it.
    xMax = std::max(xMax, double(pixels.Right() - 1));
    yMax = std::max(yMax, double(pixels.Bottom() - 1));
}

void LayerMeasure::MixBytes(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        digest = (digest ^ bytes[i]) * 1099511628211ull;
    }
}

PixelRect LayerMeasure::Pixels() const {
    if (Empty()) {
        return {};
    }
    // Content past a few million pixels is not drawn offscreen (the caller
    // clips the box to the screen first); this keeps the sums in range.
    constexpr double Limit = 1 << 24;
    // Bounds are whole twips; a twentieth in floating point leaves a bound
    // on a pixel's edge a hair off it, which must not count as the next one.
    constexpr double Hair = 1e-6;
    const double left = std::floor(std::clamp(xMin, -Limit, Limit) + Hair);
    const double top = std::floor(std::clamp(yMin, -Limit, Limit) + Hair);
    const double right = std::ceil(std::clamp(xMax, -Limit, Limit) - Hair) + 1;
    const double bottom = std::ceil(std::clamp(yMax, -Limit, Limit) - Hair) + 1;
    return {int(left), int(top), int(right - left), int(bottom - top)};
}

LayerPicture MakeLayerPicture(const PixelRect& box) {
    LayerPicture picture;
    picture.box = box;
    picture.pixels = PixelBuffer(box.width, box.height);
    picture.surface.reset(cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(picture.pixels.Data()), CAIRO_FORMAT_ARGB32,
        picture.pixels.Width(), picture.pixels.Height(), picture.pixels.Stride()));
    if (cairo_surface_status(picture.surface.get()) != CAIRO_STATUS_SUCCESS) {
        picture.surface.reset();
    }
    return picture;
}

void LayerCache::BeginFrame() {
    ++frame;
}

void LayerCache::EndFrame() {
    for (auto it = entries.begin(); it != entries.end();) {
        if (it->second.lastUsed != frame) {
            bytes -= it->second.picture.pixels.Size() * 4;
            it = entries.erase(it);
        } else {
            ++it;
        }
    }
    uncached = {};
}

const LayerPicture* LayerCache::Find(std::uint64_t digest) {
    const auto found = entries.find(digest);
    if (found == entries.end()) {
        return nullptr;
    }
    found->second.lastUsed = frame;
    return &found->second.picture;
}

const LayerPicture& LayerCache::Keep(std::uint64_t digest, LayerPicture picture) {
    const std::size_t size = picture.pixels.Size() * 4;
    if (bytes + size > MaxCacheBytes) {
        uncached = std::move(picture);
        return uncached;
    }
    bytes += size;
    Entry& entry = entries[digest];
    bytes -= entry.picture.pixels.Size() * 4;
    entry.picture = std::move(picture);
    entry.lastUsed = frame;
    return entry.picture;
}

} // namespace swf
