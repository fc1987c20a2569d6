// Draws a movie's display list with cairo: shapes, morph shapes, texts,
// edit fields, sprites and buttons (their up state), through the nested
// matrices and colour transforms of the objects that hold them, with masks
// by clip depth, blend modes through cairo's operators and groups, and
// clips cached as bitmaps drawn on whole pixels.
#pragma once

#include <cairo.h>
#include <memory>
#include <optional>
#include <string>

#include "swf/format/Movie.h"
#include "swf/render/RenderCache.h"
#include "swf/runtime/DisplayList.h"
#include "swf/runtime/Transforms.h"

namespace swf {

class MovieRenderer {
public:
    // movie is borrowed and must outlive the renderer.
    explicit MovieRenderer(const Movie& movie);

    // Paints the whole target with the background colour, then the objects
    // of root. stageToDevice maps the movie's twips to device pixels;
    // stageScale is device pixels per stage pixel (for strokes that keep
    // their width).
    void RenderFrame(cairo_t* cr, const TimelineInstance& root, const Affine& stageToDevice,
                     double stageScale);

    RenderCache& Cache() { return cache; }

private:
    struct Item;
    struct State;

    void RenderItems(const std::vector<Item>& items, std::size_t begin, std::size_t end,
                     const State& state);
    void RenderItem(const Item& item, const State& state);
    void RenderCharacter(const Item& item, const State& state);
    void RenderDefinition(const Character& character, const State& state);
    void Composite(cairo_pattern_t* group, std::uint8_t blendMode, const State& state);

    const Movie& movie;
    RenderCache cache;
    cairo_t* cr = nullptr;
    double stageScale = 1.0;
    int openGroups = 0; // cairo groups pushed and not yet popped
};

} // namespace swf
