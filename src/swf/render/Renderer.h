// Draws a movie's display list with cairo: shapes, morph shapes, texts,
// edit fields, sprites and buttons (their up state), through the nested
// matrices and colour transforms of the objects that hold them, with masks
// by clip depth. Clips with filters, a blend mode or cached as bitmaps are
// layers: drawn offscreen (see LayerCache.h), filtered, and composited by
// their blend mode through their colour transform.
#pragma once

#include <cairo.h>
#include <memory>
#include <optional>
#include <string>

#include "swf/format/Movie.h"
#include "swf/render/LayerCache.h"
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
    const LayerCache& Layers() const { return layers; }
    // Layers drawn (not found kept from an earlier frame) since the start.
    std::uint64_t LayersDrawn() const { return layersDrawn; }

private:
    struct Item;
    struct State;
    struct LayerPlan;

    void RenderItems(const std::vector<Item>& items, std::size_t begin, std::size_t end,
                     const State& state);
    void RenderItem(const Item& item, const State& state);
    void RenderCharacter(const Item& item, const State& state);
    void RenderDefinition(const Character& character, const State& state);
    void MeasureDefinition(const Character& character, std::uint16_t ratio, const State& state);

    LayerPlan PlanLayer(const Item& item, const State& inner);
    void RenderLayer(const Item& item, const State& inner, const State& outer);
    LayerPicture DrawLayer(const Item& item, const State& inner, const LayerPlan& plan);
    void CompositeLayer(const LayerPicture& picture, const LayerPlan& plan, const State& inner,
                        const State& outer);

    const Movie& movie;
    RenderCache cache;
    LayerCache layers;
    std::uint64_t layersDrawn = 0;
    cairo_t* cr = nullptr;
    double stageScale = 1.0;
    int openGroups = 0; // cairo groups pushed and not yet popped
};

} // namespace swf
