#include "swf/render/RenderCache.h"

#include <algorithm>
#include <cstring>

#include "swf/format/BitmapDecoding.h"
#include "swf/runtime/MorphInterpolation.h"

namespace swf {

namespace {

// Morphs tween through many ratios; past this many outlines the oldest
// ratios are dropped. Transformed bitmaps are kept a few per bitmap.
constexpr std::size_t MaxMorphOutlines = 512;
constexpr std::size_t MaxTransformedPerBitmap = 4;

} // namespace

SurfacePtr SurfaceFromImage(const DecodedImage& image) {
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, image.width, image.height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    cairo_surface_flush(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());
    const int stride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < image.height; ++y) {
        std::memcpy(data + static_cast<std::size_t>(y) * stride,
                    image.pixels.data() + static_cast<std::size_t>(y) * image.width,
                    static_cast<std::size_t>(image.width) * 4);
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

SurfacePtr TransformSurface(cairo_surface_t* source, const ColorMath& color) {
    const int width = cairo_image_surface_get_width(source);
    const int height = cairo_image_surface_get_height(source);
    SurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    cairo_surface_flush(source);
    cairo_surface_flush(surface.get());
    const unsigned char* in = cairo_image_surface_get_data(source);
    unsigned char* out = cairo_image_surface_get_data(surface.get());
    const int inStride = cairo_image_surface_get_stride(source);
    const int outStride = cairo_image_surface_get_stride(surface.get());
    for (int y = 0; y < height; ++y) {
        const auto* src = reinterpret_cast<const std::uint32_t*>(in + std::size_t(y) * inStride);
        auto* dst = reinterpret_cast<std::uint32_t*>(out + std::size_t(y) * outStride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = src[x];
            const std::uint8_t a = p >> 24;
            if (a == 0) {
                // What a bitmap leaves clear stays clear, whatever the
                // transformation adds.
                dst[x] = 0;
                continue;
            }
            const auto straight = [a](std::uint32_t c) -> std::uint8_t {
                return a == 0 ? 0
                              : static_cast<std::uint8_t>(std::min(255u, (c * 255 + a / 2) / a));
            };
            const Rgba c = color.Apply(
                {straight((p >> 16) & 0xFF), straight((p >> 8) & 0xFF), straight(p & 0xFF), a});
            dst[x] = PackStraight(c.a, c.r, c.g, c.b);
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

RenderCache::RenderCache(const Movie& movie) : movie(movie) {}

const MeasuredOutline& RenderCache::ShapeOutline(CharacterId id, const Shape& shape) {
    auto found = shapes.find(id);
    if (found == shapes.end()) {
        found = shapes.emplace(id, MeasuredOutline(BuildShapeGeometry(shape))).first;
    }
    return found->second;
}

const MeasuredOutline& RenderCache::MorphOutline(CharacterId id, const MorphShape& morph,
                                                 std::uint16_t ratio) {
    const auto key = std::pair{id, ratio};
    auto found = morphs.find(key);
    if (found == morphs.end()) {
        if (morphs.size() >= MaxMorphOutlines) {
            morphs.clear();
        }
        found = morphs.emplace(key, MeasuredOutline(BuildShapeGeometry(MorphShapeAt(morph, ratio))))
                    .first;
    }
    return found->second;
}

const MeasuredOutline* RenderCache::GlyphOutline(CharacterId fontId, const Font& font,
                                                 std::size_t index) {
    if (index >= font.glyphs.size()) {
        return nullptr;
    }
    const auto key = std::pair{fontId, index};
    auto found = glyphs.find(key);
    if (found == glyphs.end()) {
        found = glyphs.emplace(key, MeasuredOutline(BuildGlyphGeometry(font.glyphs[index].shape)))
                    .first;
    }
    return &found->second;
}

const RenderCache::BitmapEntry& RenderCache::Decoded(CharacterId id) {
    auto found = bitmaps.find(id);
    if (found != bitmaps.end()) {
        return found->second;
    }
    BitmapEntry entry;
    const Character* character = movie.Find(id);
    const auto* bitmap = character != nullptr ? std::get_if<Bitmap>(&character->data) : nullptr;
    if (bitmap == nullptr) {
        entry.error = "no bitmap " + std::to_string(id);
    } else if (auto image = DecodeBitmap(*bitmap, movie.jpegTables)) {
        entry.plain = SurfaceFromImage(*image);
        if (!entry.plain) {
            entry.error = "no memory for bitmap " + std::to_string(id);
        }
    } else {
        entry.error = image.GetError().message;
    }
    return bitmaps.emplace(id, std::move(entry)).first->second;
}

cairo_surface_t* RenderCache::BitmapSurface(CharacterId id, const ColorMath& color) {
    Decoded(id);
    BitmapEntry& entry = bitmaps.at(id);
    if (!entry.plain || color.IsIdentity()) {
        return entry.plain.get();
    }
    auto& variants = entry.transformed;
    const auto found = std::find_if(variants.begin(), variants.end(),
                                    [&](const auto& v) { return v.first == color; });
    if (found != variants.end()) {
        return found->second.get();
    }
    if (variants.size() >= MaxTransformedPerBitmap) {
        variants.erase(variants.begin());
    }
    variants.emplace_back(color, TransformSurface(entry.plain.get(), color));
    return variants.back().second.get();
}

std::optional<std::string> RenderCache::BitmapError(CharacterId id) const {
    const auto found = bitmaps.find(id);
    if (found == bitmaps.end() || found->second.plain) {
        return std::nullopt;
    }
    return found->second.error;
}

} // namespace swf
