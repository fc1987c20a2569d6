// What the renderer keeps between frames so that a frame costs only its
// drawing: shape outlines and glyph outlines with their boxes, morph shapes at the ratios in
// use, and decoded bitmaps (also through the colour transformations they are
// drawn with). Everything is made on first use.
#pragma once

#include <cairo.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "swf/format/DecodedImage.h"
#include "swf/format/Movie.h"
#include "swf/render/ShapePainter.h"
#include "swf/runtime/ShapeTessellation.h"

namespace swf {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// A decoded image as a cairo surface; nullptr when there is no memory for it.
SurfacePtr SurfaceFromImage(const DecodedImage& image);

// The picture of source through a colour transformation, which works on straight
// colours: each pixel is unpremultiplied, transformed and premultiplied
// again. nullptr when there is no memory for it.
SurfacePtr TransformSurface(cairo_surface_t* source, const ColorMath& color);

class RenderCache final : public BitmapSource {
public:
    // movie is borrowed and must outlive the cache.
    explicit RenderCache(const Movie& movie);

    const MeasuredOutline& ShapeOutline(CharacterId id, const Shape& shape);
    const MeasuredOutline& MorphOutline(CharacterId id, const MorphShape& morph,
                                        std::uint16_t ratio);
    // nullptr when the font has no such glyph.
    const MeasuredOutline* GlyphOutline(CharacterId fontId, const Font& font, std::size_t index);

    cairo_surface_t* BitmapSurface(CharacterId id, const ColorMath& color) override;

    // Why a bitmap could not be drawn, for tools; nullopt when it could.
    std::optional<std::string> BitmapError(CharacterId id) const;

private:
    struct BitmapEntry {
        SurfacePtr plain; // null when decoding failed
        std::string error;
        std::vector<std::pair<ColorMath, SurfacePtr>> transformed; // most recent last
    };

    const BitmapEntry& Decoded(CharacterId id);

    const Movie& movie;
    std::map<CharacterId, MeasuredOutline> shapes;
    std::map<std::pair<CharacterId, std::uint16_t>, MeasuredOutline> morphs;
    std::map<std::pair<CharacterId, std::size_t>, MeasuredOutline> glyphs;
    std::map<CharacterId, BitmapEntry> bitmaps;
};

} // namespace swf
