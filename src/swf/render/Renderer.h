// Draws what the runtime holds with cairo: every object on stage, from the
// main timeline down, through the nested matrices and colour transformations of
// the objects that hold them; shapes, morph shapes, texts, text fields,
// clips and the parts of buttons' current states; masks by clip depth.
// Objects with filters, a blend mode or cached as bitmaps are layers: drawn
// offscreen (see LayerCache.h), filtered, and composited by their blend
// mode through their colour transformation.
#pragma once

#include <cairo.h>
#include <cstdint>
#include <vector>

#include "swf/format/Movie.h"
#include "swf/render/LayerCache.h"
#include "swf/render/RenderCache.h"
#include "swf/render/VideoPictures.h"
#include "swf/runtime/DisplayObject.h"
#include "swf/runtime/MovieClip.h"
#include "swf/runtime/Transforms.h"

namespace swf {

// One object of the main timeline as a frame draws it: the pixels its
// drawing may touch (by the bounds its definitions declare) and a digest of
// everything its drawing depends on. Two frames whose objects have the same
// items look the same outside the pixels of the items that differ.
struct StageItem {
    PixelRect pixels;
    std::uint64_t digest = 0;
    bool operator==(const StageItem&) const = default;
};

class MovieRenderer {
public:
    // movie is borrowed and must outlive the renderer.
    explicit MovieRenderer(const Movie& movie);

    // Paints the whole target with the background colour, then root (with
    // its own transformation) and everything in it. stageToDevice maps the
    // movie's twips to device pixels; stageScale is device pixels per stage
    // pixel (for strokes that keep their width).
    void RenderFrame(cairo_t* cr, const MovieClip& root, const Affine& stageToDevice,
                     double stageScale);

    // What RenderFrame would draw, object by object of root's display list.
    // False when the frame holds what cannot be drawn in part (masks,
    // layers, video): such a frame is drawn whole.
    bool MeasureStage(const MovieClip& root, const Affine& stageToDevice, double stageScale,
                      std::vector<StageItem>& items);

    RenderCache& Cache() { return cache; }
    const LayerCache& Layers() const { return layers; }
    // Layers drawn (not found kept from an earlier frame) since the start.
    std::uint64_t LayersDrawn() const { return layersDrawn; }

private:
    struct State;
    struct LayerPlan;

    // objects are in depth order.
    void RenderList(const std::vector<const DisplayObject*>& objects, const State& state);
    void RenderObject(const DisplayObject& object, const State& state);
    // Drawn through mask, the object a script made its mask.
    void RenderScriptMasked(const DisplayObject& object, const DisplayObject& mask,
                            const State& state);
    // Drawn as placed, without a script's mask.
    void RenderPlaced(const DisplayObject& object, const State& state);
    void RenderContent(const DisplayObject& object, const State& state);
    void MeasureContent(const DisplayObject& object, const State& state);

    LayerPlan PlanLayer(const DisplayObject& object, const State& inner);
    void RenderLayer(const DisplayObject& object, const State& inner, const State& outer);
    LayerPicture DrawLayer(const DisplayObject& object, const State& inner, const LayerPlan& plan);
    void CompositeLayer(const LayerPicture& picture, const LayerPlan& plan, const State& inner,
                        const State& outer);

    const Movie& movie;
    RenderCache cache;
    VideoPictures videos;
    LayerCache layers;
    std::uint64_t layersDrawn = 0;
    cairo_t* cr = nullptr;
    // What cr's clip lets through, in its device pixels.
    DeviceBox visibleArea;
    double stageScale = 1.0;
    int openGroups = 0; // cairo groups pushed and not yet popped
    // Set while measuring when the content has masks, layers or video.
    bool drawnOnlyWhole = false;
};

} // namespace swf
