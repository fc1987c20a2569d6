#include "swf/render/Renderer.h"

#include <algorithm>
#include <cmath>

#include "swf/render/BlendCompositing.h"
#include "swf/render/ShapePainter.h"
#include "swf/render/TextPainter.h"
#include "swf/runtime/filters/BitmapFilters.h"

namespace swf {

namespace {

// Sprites and buttons drawn from their definitions (no instance) may nest
// each other; this bounds the depth a damaged movie can reach.
constexpr int MaxNesting = 64;

// Every mask draws into a group the size of the target, and every layer
// into a surface of its own. A movie nesting thousands of them would take
// that much memory over, so past this many open groups masks and layers are
// left out.
constexpr int MaxOpenGroups = 32;

// A layer larger than this is drawn as it is, without its filters: a
// 4096 x 4096 picture is 64 MiB already. Layers are cut to what can show
// on the target first, so only a damaged movie's filters come near it.
constexpr long long MaxLayerPixels = 4096LL * 4096LL;

bool IsNormal(std::uint8_t blendMode) {
    return blendMode <= static_cast<std::uint8_t>(BlendMode::Normal) ||
           blendMode > static_cast<std::uint8_t>(BlendMode::HardLight);
}

// The placements a timeline's first frame makes, for sprites drawn without
// an instance of their own (inside buttons).
std::map<Depth, Placement> FirstFramePlacements(const Timeline& timeline) {
    std::map<Depth, Placement> plan;
    if (!timeline.frames.empty()) {
        ApplyFrame(timeline.frames.front(), 0, plan);
    }
    return plan;
}

} // namespace

// One object to draw: a display-list entry, or a placement from a
// definition (button records, sprites without an instance).
struct MovieRenderer::Item {
    Depth depth = 0;
    const Placement* placement = nullptr;
    const Character* character = nullptr;
    const TimelineInstance* sprite = nullptr;
};

struct MovieRenderer::State {
    Affine matrix;
    ColorMath color;
    bool maskOnly = false;
    bool inLayer = false; // drawing into an isolated group
    int nesting = 0;
    // Set while a layer's content is measured rather than drawn.
    LayerMeasure* measure = nullptr;
};

// Where a layer lies and what it shows. Its content is drawn through local,
// the object's transform less a whole-pixel origin, so that moving by whole
// pixels leaves its picture as it was.
struct MovieRenderer::LayerPlan {
    int originX = 0;
    int originY = 0;
    Affine local;
    PixelRect box; // the filtered picture, in pixels from the origin
    std::uint64_t digest = 0;
    std::uint8_t blendMode = 0;
};

namespace {

bool IsLayer(const Placement& placement) {
    return placement.cacheAsBitmap || !placement.filters.empty() || !IsNormal(placement.blendMode);
}

FilterScale FilterScaleOf(double stageScale) {
    return {stageScale, stageScale};
}

void MixFilter(LayerMeasure& measure, const Filter& filter) {
    measure.Mix(filter.kind);
    measure.MixBytes(filter.colors.data(), filter.colors.size() * sizeof(Rgba));
    measure.MixBytes(filter.ratios.data(), filter.ratios.size());
    measure.MixBytes(filter.matrix.data(), filter.matrix.size() * sizeof(float));
    for (const double value :
         {filter.blurX, filter.blurY, filter.angle, filter.distance, filter.strength}) {
        measure.Mix(value);
    }
    for (const bool flag : {filter.inner, filter.knockout, filter.compositeSource, filter.onTop,
                            filter.clamp, filter.preserveAlpha}) {
        measure.Mix(flag);
    }
    measure.Mix(filter.passes);
    measure.Mix(filter.matrixX);
    measure.Mix(filter.matrixY);
    measure.Mix(filter.divisor);
    measure.Mix(filter.bias);
    measure.Mix(filter.defaultColor);
}

// The target's clip in its own pixels.
PixelRect TargetArea(cairo_t* cr) {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
    cairo_restore(cr);
    const int left = static_cast<int>(std::floor(x1));
    const int top = static_cast<int>(std::floor(y1));
    return {left, top, static_cast<int>(std::ceil(x2)) - left,
            static_cast<int>(std::ceil(y2)) - top};
}

} // namespace

MovieRenderer::MovieRenderer(const Movie& movie) : movie(movie), cache(movie) {}

void MovieRenderer::RenderFrame(cairo_t* target, const TimelineInstance& root,
                                const Affine& stageToDevice, double scale) {
    cr = target;
    stageScale = scale;
    openGroups = 0;
    layers.BeginFrame();
    const Rgba background = movie.backgroundColor.value_or(Rgba{255, 255, 255, 255});
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgba(cr, background.r / 255.0, background.g / 255.0, background.b / 255.0,
                          1.0);
    cairo_paint(cr);
    cairo_restore(cr);

    std::vector<Item> items;
    for (const auto& [depth, object] : root.Objects()) {
        items.push_back({depth, &object.placement, object.character, object.sprite.get()});
    }
    State state;
    state.matrix = stageToDevice;
    RenderItems(items, 0, items.size(), state);
    layers.EndFrame();
    cr = nullptr;
}

void MovieRenderer::RenderItems(const std::vector<Item>& items, std::size_t begin, std::size_t end,
                                const State& state) {
    // Masks work as a stack, as players keep them: a mask stays until an
    // object lies above its clip depth and every mask above it has ended.
    // Whatever is drawn while a mask is on the stack (later masks included)
    // goes into that mask's group, so it is cut by every mask beneath it.
    struct ActiveMask {
        Depth clipDepth = 0;
        cairo_pattern_t* coverage = nullptr;
    };
    if (state.measure != nullptr) {
        // What masks what is part of the picture; the masks' own content
        // counts as drawn, which can only make the layer larger.
        for (std::size_t i = begin; i < end; ++i) {
            state.measure->Mix(items[i].depth);
            state.measure->Mix(items[i].placement->clipDepth);
            State itemState = state;
            itemState.maskOnly = state.maskOnly || items[i].placement->clipDepth != 0;
            RenderItem(items[i], itemState);
        }
        return;
    }
    std::vector<ActiveMask> masks;
    const auto endMask = [&] {
        cairo_pattern_t* content = cairo_pop_group(cr);
        cairo_set_source(cr, content);
        cairo_mask(cr, masks.back().coverage);
        cairo_pattern_destroy(content);
        cairo_pattern_destroy(masks.back().coverage);
        masks.pop_back();
        --openGroups;
    };
    for (std::size_t i = begin; i < end; ++i) {
        const Item& item = items[i];
        while (!masks.empty() && masks.back().clipDepth < item.depth) {
            endMask();
        }
        if (item.placement->clipDepth == 0) {
            RenderItem(item, state);
            continue;
        }
        if (openGroups + 2 > MaxOpenGroups) {
            continue; // the mask is dropped; what it covers draws unmasked
        }
        ++openGroups;
        cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
        State maskState = state;
        maskState.maskOnly = true;
        // A mask is drawn whatever its visibility says.
        Placement shown = *item.placement;
        shown.visible = true;
        Item maskItem = item;
        maskItem.placement = &shown;
        RenderItem(maskItem, maskState);
        --openGroups;
        masks.push_back({item.placement->clipDepth, cairo_pop_group(cr)});
        cairo_push_group(cr);
        ++openGroups;
    }
    while (!masks.empty()) {
        endMask();
    }
}

void MovieRenderer::RenderItem(const Item& item, const State& state) {
    const Placement& placement = *item.placement;
    if (!placement.visible || item.character == nullptr) {
        return;
    }
    State inner = state;
    inner.matrix = state.matrix * Affine::FromMatrix(placement.matrix);
    inner.color = state.color * ColorMath::From(placement.colorTransform);
    ++inner.nesting;
    if (inner.nesting > MaxNesting) {
        return;
    }
    if (state.maskOnly || !IsLayer(placement)) {
        RenderCharacter(item, inner);
    } else if (state.measure != nullptr) {
        const LayerPlan plan = PlanLayer(item, inner);
        state.measure->AddPixels({plan.originX + plan.box.x, plan.originY + plan.box.y,
                                  plan.box.width, plan.box.height});
        state.measure->Mix(plan.digest);
        state.measure->Mix(placement.blendMode);
        state.measure->Mix(inner.color);
    } else if (openGroups < MaxOpenGroups) {
        RenderLayer(item, inner, state);
    } else {
        RenderCharacter(item, inner);
    }
}

MovieRenderer::LayerPlan MovieRenderer::PlanLayer(const Item& item, const State& inner) {
    const Placement& placement = *item.placement;
    LayerPlan plan;
    plan.blendMode = placement.blendMode;
    Affine matrix = inner.matrix;
    const bool bitmap = placement.cacheAsBitmap || !placement.filters.empty();
    if (bitmap) {
        // A cached or filtered clip is a bitmap drawn on whole pixels.
        matrix.x0 = std::round(matrix.x0);
        matrix.y0 = std::round(matrix.y0);
    }
    const double limit = 1 << 30;
    plan.originX = static_cast<int>(std::floor(std::clamp(matrix.x0, -limit, limit)));
    plan.originY = static_cast<int>(std::floor(std::clamp(matrix.y0, -limit, limit)));
    plan.local = matrix;
    plan.local.x0 -= plan.originX;
    plan.local.y0 -= plan.originY;

    LayerMeasure measure;
    State measuring;
    measuring.matrix = plan.local;
    measuring.inLayer = true;
    measuring.nesting = inner.nesting;
    measuring.measure = &measure;
    RenderCharacter(item, measuring);
    const FilterScale scale = FilterScaleOf(stageScale);
    plan.box = FilterBox(placement.filters, measure.Pixels(), scale);
    for (const Filter& filter : placement.filters) {
        MixFilter(measure, filter);
    }
    measure.Mix(scale);
    measure.Mix(bitmap);
    plan.digest = measure.Digest();
    return plan;
}

void MovieRenderer::RenderLayer(const Item& item, const State& inner, const State& outer) {
    LayerPlan plan = PlanLayer(item, inner);
    // Only what can show on the target is drawn, with the pixels around it
    // that the filters take in.
    const FilterReach influence = InfluenceOf(item.placement->filters, FilterScaleOf(stageScale));
    const PixelRect area = TargetArea(cr);
    const PixelRect reachable{area.x - plan.originX - influence.left,
                              area.y - plan.originY - influence.top,
                              area.width + influence.left + influence.right,
                              area.height + influence.top + influence.bottom};
    const PixelRect box = plan.box.Intersect(reachable);
    if (box.Empty()) {
        return;
    }
    if (static_cast<long long>(box.width) * box.height > MaxLayerPixels) {
        RenderCharacter(item, inner);
        return;
    }
    if (box != plan.box) {
        LayerMeasure cut;
        cut.Mix(plan.digest);
        cut.Mix(box);
        plan.digest = cut.Digest();
        plan.box = box;
    }
    const LayerPicture* picture = layers.Find(plan.digest);
    if (picture == nullptr) {
        ++layersDrawn;
        picture = &layers.Keep(plan.digest, DrawLayer(item, inner, plan));
    }
    CompositeLayer(*picture, plan, inner, outer);
}

LayerPicture MovieRenderer::DrawLayer(const Item& item, const State& inner, const LayerPlan& plan) {
    LayerPicture picture = MakeLayerPicture(plan.box);
    if (!picture.surface) {
        return picture;
    }
    // The layer's pixels from its origin: (box.x, box.y) is the surface's
    // first pixel.
    cairo_surface_set_device_offset(picture.surface.get(), -plan.box.x, -plan.box.y);
    cairo_t* layerCr = cairo_create(picture.surface.get());
    cairo_set_antialias(layerCr, cairo_get_antialias(cr));
    cairo_t* const outerCr = cr;
    cr = layerCr;
    State drawing;
    drawing.matrix = plan.local;
    drawing.inLayer = true;
    drawing.nesting = inner.nesting;
    ++openGroups;
    RenderCharacter(item, drawing);
    --openGroups;
    cr = outerCr;
    cairo_destroy(layerCr);
    cairo_surface_flush(picture.surface.get());
    cairo_surface_set_device_offset(picture.surface.get(), 0, 0);
    ApplyFilters(item.placement->filters, FilterScaleOf(stageScale), picture.pixels);
    cairo_surface_mark_dirty(picture.surface.get());
    return picture;
}

void MovieRenderer::CompositeLayer(const LayerPicture& picture, const LayerPlan& plan,
                                   const State& inner, const State& outer) {
    if (!picture.surface) {
        return;
    }
    // The colour transform works on the filtered picture, so that a faded
    // clip's shadow fades with it.
    SurfacePtr transformed;
    cairo_surface_t* source = picture.surface.get();
    if (!inner.color.IsIdentity()) {
        transformed = TransformSurface(source, inner.color);
        if (!transformed) {
            return;
        }
        source = transformed.get();
    }
    const int x = plan.originX + picture.box.x;
    const int y = plan.originY + picture.box.y;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
    cairo_matrix_t placed;
    cairo_matrix_init_translate(&placed, -x, -y);
    cairo_pattern_set_matrix(pattern, &placed);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    const std::uint8_t blendMode = plan.blendMode;
    const auto mode = static_cast<BlendMode>(blendMode);
    if ((mode == BlendMode::Alpha || mode == BlendMode::Erase) && !outer.inLayer) {
        // Without a layer beneath them these modes have nothing of their
        // own to cut into, and draw as usual.
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
    } else if (!CompositeWithOperator(cr, pattern, blendMode)) {
        CompositeByPixels(cr, source, x, y, blendMode);
    }
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
}

void MovieRenderer::RenderCharacter(const Item& item, const State& state) {
    if (item.sprite != nullptr) {
        std::vector<Item> children;
        for (const auto& [depth, object] : item.sprite->Objects()) {
            children.push_back({depth, &object.placement, object.character, object.sprite.get()});
        }
        RenderItems(children, 0, children.size(), state);
        return;
    }
    if (state.measure != nullptr) {
        MeasureDefinition(*item.character, item.placement->ratio, state);
        return;
    }
    if (const auto* morph = std::get_if<MorphShape>(&item.character->data)) {
        const PaintContext context{cr, &cache, stageScale, state.maskOnly};
        PaintGeometry(context,
                      cache.MorphOutline(item.character->id, *morph, item.placement->ratio),
                      state.matrix, state.color);
        return;
    }
    RenderDefinition(*item.character, state);
}

void MovieRenderer::MeasureDefinition(const Character& character, std::uint16_t ratio,
                                      const State& state) {
    LayerMeasure& measure = *state.measure;
    if (std::holds_alternative<Sprite>(character.data) ||
        std::holds_alternative<Button>(character.data)) {
        RenderDefinition(character, state);
        return;
    }
    if (const auto* shape = std::get_if<Shape>(&character.data)) {
        measure.AddBounds(shape->bounds, state.matrix);
    } else if (const auto* morph = std::get_if<MorphShape>(&character.data)) {
        measure.AddBounds(morph->startBounds, state.matrix);
        measure.AddBounds(morph->endBounds, state.matrix);
    } else if (const auto* text = std::get_if<Text>(&character.data)) {
        measure.AddBounds(text->bounds, state.matrix);
        measure.AddBounds(text->bounds, state.matrix * Affine::FromMatrix(text->matrix));
    } else if (const auto* field = std::get_if<EditText>(&character.data)) {
        measure.AddBounds(field->bounds, state.matrix);
    }
    measure.Mix(character.id);
    measure.Mix(ratio);
    measure.Mix(state.matrix);
    measure.Mix(state.color);
    measure.Mix(state.maskOnly);
    measure.Mix(stageScale);
}

void MovieRenderer::RenderDefinition(const Character& character, const State& state) {
    const PaintContext context{cr, &cache, stageScale, state.maskOnly};
    if (const auto* shape = std::get_if<Shape>(&character.data)) {
        PaintGeometry(context, cache.ShapeOutline(character.id, *shape), state.matrix, state.color);
    } else if (const auto* text = std::get_if<Text>(&character.data)) {
        PaintText(context, cache, movie, *text, state.matrix, state.color);
    } else if (const auto* field = std::get_if<EditText>(&character.data)) {
        PaintEditText(context, cache, movie, *field, state.matrix, state.color);
    } else if (const auto* sprite = std::get_if<Sprite>(&character.data)) {
        const auto plan = FirstFramePlacements(sprite->timeline);
        std::vector<Item> children;
        for (const auto& [depth, placement] : plan) {
            children.push_back({depth, &placement, movie.Find(placement.characterId), nullptr});
        }
        RenderItems(children, 0, children.size(), state);
    } else if (const auto* button = std::get_if<Button>(&character.data)) {
        // The up state, by depth.
        std::vector<Placement> placements;
        std::vector<Depth> depths;
        for (const ButtonRecord& record : button->records) {
            if (!record.up) {
                continue;
            }
            Placement placement;
            placement.characterId = record.characterId;
            placement.matrix = record.matrix;
            placement.colorTransform = button->legacyColorTransform.value_or(record.colorTransform);
            placement.filters = record.filters;
            placement.blendMode = record.blendMode;
            placements.push_back(std::move(placement));
            depths.push_back(record.depth);
        }
        std::vector<Item> children;
        for (std::size_t i = 0; i < placements.size(); ++i) {
            children.push_back(
                {depths[i], &placements[i], movie.Find(placements[i].characterId), nullptr});
        }
        std::stable_sort(children.begin(), children.end(),
                         [](const Item& a, const Item& b) { return a.depth < b.depth; });
        RenderItems(children, 0, children.size(), state);
    }
}

} // namespace swf
