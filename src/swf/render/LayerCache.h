// Clips drawn offscreen (filtered, cached as bitmaps, or blended), kept
// between frames: a layer is drawn once into a surface on whole pixels and
// used again while what it shows and its transformation stay the same, wherever
// on the screen it moves by whole pixels.
//
// What a layer shows is known by a digest of everything drawn into it (the
// characters, their transformations relative to the layer, colours, ratios,
// filters), so a layer is redrawn exactly when its picture would change.
#pragma once

#include <cairo.h>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <unordered_map>

#include "swf/format/Basics.h"
#include "swf/render/RenderCache.h"
#include "swf/runtime/Transforms.h"
#include "swf/runtime/filters/PixelBuffer.h"

namespace swf {

// Where a layer's content lies in its pixels, and a digest of it.
class LayerMeasure {
public:
    // A rectangle in twips drawn through toPixels.
    void AddBounds(const Rect& bounds, const Affine& toPixels);
    void AddPixels(const PixelRect& pixels);

    void MixBytes(const void* data, std::size_t size);
    template <typename T>
    void Mix(const T& value) {
        static_assert(std::is_trivially_copyable_v<T>);
        MixBytes(&value, sizeof value);
    }

    bool Empty() const { return !(xMin <= xMax && yMin <= yMax); }
    // The whole pixels the content touches, with the one more on the right
    // and at the bottom that Flash Player gives a clip's bitmap.
    PixelRect Pixels() const;
    std::uint64_t Digest() const { return digest; }

private:
    double xMin = std::numeric_limits<double>::infinity();
    double yMin = std::numeric_limits<double>::infinity();
    double xMax = -std::numeric_limits<double>::infinity();
    double yMax = -std::numeric_limits<double>::infinity();
    std::uint64_t digest = 14695981039346656037ull; // FNV-1a
};

// A layer's picture: pixels covering box (in the layer's own pixels, whose
// origin the layer's transformation places on the screen), and a cairo surface
// over them.
struct LayerPicture {
    PixelRect box;
    PixelBuffer pixels;
    SurfacePtr surface;
};

// Makes a picture of box's size, transparent, with its surface.
LayerPicture MakeLayerPicture(const PixelRect& box);

class LayerCache {
public:
    // Layers not used in a frame are dropped at its end.
    void BeginFrame();
    void EndFrame();

    // nullptr when no layer with this digest is kept.
    const LayerPicture* Find(std::uint64_t digest);
    // Keeps the picture if the cache has room; returns where it now is.
    const LayerPicture& Keep(std::uint64_t digest, LayerPicture picture);

    std::size_t Count() const { return entries.size(); }
    std::size_t Bytes() const { return bytes; }

private:
    struct Entry {
        LayerPicture picture;
        std::uint64_t lastUsed = 0;
    };

    std::unordered_map<std::uint64_t, Entry> entries;
    std::uint64_t frame = 0;
    std::size_t bytes = 0;
    LayerPicture uncached; // the last picture there was no room for
};

} // namespace swf
