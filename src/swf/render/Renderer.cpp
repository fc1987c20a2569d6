#include "swf/render/Renderer.h"

#include <algorithm>
#include <cmath>

#include "swf/format/TagCodes.h"
#include "swf/render/BlendCompositing.h"
#include "swf/render/ShapePainter.h"
#include "swf/render/TextPainter.h"
#include "swf/render/VideoPainter.h"
#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/HitTesting.h"
#include "swf/runtime/filters/BitmapFilters.h"

namespace swf {

namespace {

bool IsVideo(const Character& character) {
    const auto* raw = std::get_if<RawCharacter>(&character.data);
    return raw != nullptr && raw->tag.code == tag::DefineVideoStream;
}

} // namespace

namespace {

// Objects nest at most as deep as the runtime lets them; this bounds the
// drawing on its own all the same.
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

std::vector<const DisplayObject*> ChildrenOf(const DisplayObject& object) {
    std::vector<const DisplayObject*> children;
    if (object.Kind() == DisplayKind::MovieClip) {
        for (const auto& [depth, child] : static_cast<const MovieClip&>(object).GetChildren()) {
            children.push_back(child.get());
        }
    } else if (object.Kind() == DisplayKind::Button) {
        for (const auto& part : static_cast<const ButtonObject&>(object).Parts()) {
            children.push_back(part.object.get());
        }
    }
    return children;
}

} // namespace

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
// the object's transformation less a whole-pixel origin, so that moving by whole
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

bool IsLayer(const DisplayObject& object) {
    return object.CacheAsBitmap() || !object.Filters().empty() || !IsNormal(object.GetBlendMode());
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

DeviceBox VisibleArea(cairo_t* cr) {
    const PixelRect area = TargetArea(cr);
    return {double(area.x), double(area.y), double(area.Right()), double(area.Bottom())};
}

} // namespace

MovieRenderer::MovieRenderer(const Movie& movie) : movie(movie), cache(movie), videos(movie) {}

void MovieRenderer::RenderFrame(cairo_t* target, const MovieClip& root, const Affine& stageToDevice,
                                double scale) {
    cr = target;
    visibleArea = VisibleArea(cr);
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

    State state;
    state.matrix = stageToDevice;
    RenderObject(root, state);
    layers.EndFrame();
    cr = nullptr;
}

bool MovieRenderer::MeasureStage(const MovieClip& root, const Affine& stageToDevice, double scale,
                                 std::vector<StageItem>& items) {
    items.clear();
    stageScale = scale;
    drawnOnlyWhole = false;
    if (!root.Visible()) {
        return true;
    }
    // As RenderObject enters root.
    State inner;
    inner.matrix = stageToDevice * Affine::FromMatrix(root.GetMatrix());
    inner.color = ColorMath::From(root.GetColorTransform());
    inner.nesting = 1;
    for (const DisplayObject* object : ChildrenOf(root)) {
        LayerMeasure measure;
        measure.Mix(object->GetDepth());
        measure.Mix(object->ClipDepth());
        drawnOnlyWhole = drawnOnlyWhole || object->ClipDepth() != 0;
        State state = inner;
        state.measure = &measure;
        RenderObject(*object, state);
        items.push_back({measure.Pixels(), measure.Digest()});
    }
    return !drawnOnlyWhole;
}

void MovieRenderer::RenderList(const std::vector<const DisplayObject*>& objects,
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
        for (const DisplayObject* object : objects) {
            state.measure->Mix(object->GetDepth());
            state.measure->Mix(object->ClipDepth());
            drawnOnlyWhole = drawnOnlyWhole || object->ClipDepth() != 0;
            State objectState = state;
            objectState.maskOnly = state.maskOnly || object->ClipDepth() != 0;
            RenderObject(*object, objectState);
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
    for (const DisplayObject* object : objects) {
        while (!masks.empty() && masks.back().clipDepth < object->GetDepth()) {
            endMask();
        }
        if (object->ClipDepth() == 0) {
            RenderObject(*object, state);
            continue;
        }
        if (openGroups + 2 > MaxOpenGroups) {
            continue; // the mask is dropped; what it covers draws unmasked
        }
        ++openGroups;
        cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
        State maskState = state;
        maskState.maskOnly = true;
        RenderObject(*object, maskState);
        --openGroups;
        masks.push_back({object->ClipDepth(), cairo_pop_group(cr)});
        cairo_push_group(cr);
        ++openGroups;
    }
    while (!masks.empty()) {
        endMask();
    }
}

void MovieRenderer::RenderObject(const DisplayObject& object, const State& state) {
    // A mask is drawn whatever its visibility says.
    if (!object.Visible() && !state.maskOnly) {
        return;
    }
    if (!state.maskOnly) {
        // A script's mask shows only through the object it masks.
        if (object.ScriptMasked() != nullptr) {
            return;
        }
        if (const DisplayObject* mask = object.ScriptMask()) {
            RenderScriptMasked(object, *mask, state);
            return;
        }
    }
    RenderPlaced(object, state);
}

void MovieRenderer::RenderScriptMasked(const DisplayObject& object, const DisplayObject& mask,
                                       const State& state) {
    // Device text cannot be masked: a field drawn with the device's fonts
    // is left out whole, background and border too, as Flash Player does.
    if (object.Kind() == DisplayKind::EditText &&
        !static_cast<const EditTextObject&>(object).Field().useOutlines) {
        return;
    }
    // The mask lies wherever it is on stage, so its matrix is found from
    // the root down and brought to the frame the object is drawn in.
    const auto toStage = [](const DisplayObject* parent) {
        return parent != nullptr ? GlobalMatrix(*parent) : Affine{};
    };
    const std::optional<Affine> rootFromParent = toStage(object.Parent()).Inverse();
    if (!rootFromParent) {
        return; // a flattened parent shows nothing
    }
    State maskState = state;
    maskState.maskOnly = true;
    maskState.matrix = state.matrix * *rootFromParent * toStage(mask.Parent());
    if (state.measure != nullptr) {
        // The mask's content counts as drawn, which can only make a layer
        // larger; the mask may lie anywhere, so the frame is drawn whole.
        drawnOnlyWhole = true;
        RenderPlaced(object, state);
        RenderObject(mask, maskState);
        return;
    }
    if (openGroups + 2 > MaxOpenGroups) {
        RenderPlaced(object, state); // the mask is dropped, as a timeline mask is
        return;
    }
    openGroups += 2;
    cairo_push_group(cr);
    RenderPlaced(object, state);
    cairo_pattern_t* content = cairo_pop_group(cr);
    cairo_push_group_with_content(cr, CAIRO_CONTENT_ALPHA);
    RenderObject(mask, maskState);
    cairo_pattern_t* coverage = cairo_pop_group(cr);
    openGroups -= 2;
    cairo_set_source(cr, content);
    cairo_mask(cr, coverage);
    cairo_pattern_destroy(content);
    cairo_pattern_destroy(coverage);
}

void MovieRenderer::RenderPlaced(const DisplayObject& object, const State& state) {
    State inner = state;
    inner.matrix = state.matrix * Affine::FromMatrix(object.GetMatrix());
    inner.color = state.color * ColorMath::From(object.GetColorTransform());
    ++inner.nesting;
    if (inner.nesting > MaxNesting) {
        return;
    }
    if (state.maskOnly || !IsLayer(object)) {
        RenderContent(object, inner);
    } else if (state.measure != nullptr) {
        drawnOnlyWhole = true;
        const LayerPlan plan = PlanLayer(object, inner);
        state.measure->AddPixels({plan.originX + plan.box.x, plan.originY + plan.box.y,
                                  plan.box.width, plan.box.height});
        state.measure->Mix(plan.digest);
        state.measure->Mix(object.GetBlendMode());
        state.measure->Mix(inner.color);
    } else if (openGroups < MaxOpenGroups) {
        RenderLayer(object, inner, state);
    } else {
        RenderContent(object, inner);
    }
}

MovieRenderer::LayerPlan MovieRenderer::PlanLayer(const DisplayObject& object, const State& inner) {
    LayerPlan plan;
    plan.blendMode = object.GetBlendMode();
    Affine matrix = inner.matrix;
    const bool bitmap = object.CacheAsBitmap() || !object.Filters().empty();
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
    RenderContent(object, measuring);
    const FilterScale scale = FilterScaleOf(stageScale);
    plan.box = FilterBox(object.Filters(), measure.Pixels(), scale);
    for (const Filter& filter : object.Filters()) {
        MixFilter(measure, filter);
    }
    measure.Mix(scale);
    measure.Mix(bitmap);
    plan.digest = measure.Digest();
    return plan;
}

void MovieRenderer::RenderLayer(const DisplayObject& object, const State& inner,
                                const State& outer) {
    LayerPlan plan = PlanLayer(object, inner);
    // Only what can show on the target is drawn, with the pixels around it
    // that the filters take in.
    const FilterReach influence = InfluenceOf(object.Filters(), FilterScaleOf(stageScale));
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
        RenderContent(object, inner);
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
        picture = &layers.Keep(plan.digest, DrawLayer(object, inner, plan));
    }
    CompositeLayer(*picture, plan, inner, outer);
}

LayerPicture MovieRenderer::DrawLayer(const DisplayObject& object, const State& inner,
                                      const LayerPlan& plan) {
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
    const DeviceBox outerArea = visibleArea;
    cr = layerCr;
    visibleArea = VisibleArea(cr);
    State drawing;
    drawing.matrix = plan.local;
    drawing.inLayer = true;
    drawing.nesting = inner.nesting;
    ++openGroups;
    RenderContent(object, drawing);
    --openGroups;
    cr = outerCr;
    visibleArea = outerArea;
    cairo_destroy(layerCr);
    cairo_surface_flush(picture.surface.get());
    cairo_surface_set_device_offset(picture.surface.get(), 0, 0);
    ApplyFilters(object.Filters(), FilterScaleOf(stageScale), picture.pixels);
    cairo_surface_mark_dirty(picture.surface.get());
    return picture;
}

void MovieRenderer::CompositeLayer(const LayerPicture& picture, const LayerPlan& plan,
                                   const State& inner, const State& outer) {
    if (!picture.surface) {
        return;
    }
    // The colour transformation works on the filtered picture, so that a faded
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

void MovieRenderer::RenderContent(const DisplayObject& object, const State& state) {
    if (object.Kind() == DisplayKind::MovieClip || object.Kind() == DisplayKind::Button) {
        RenderList(ChildrenOf(object), state);
        return;
    }
    if (state.measure != nullptr) {
        MeasureContent(object, state);
        return;
    }
    const Character* character = object.Definition();
    if (character == nullptr) {
        return;
    }
    const PaintContext context{cr, &cache, stageScale, state.maskOnly, visibleArea};
    if (object.Kind() == DisplayKind::EditText) {
        const auto& field = static_cast<const EditTextObject&>(object);
        if (field.Text() == field.Field().initialText.value_or(std::string())) {
            PaintEditText(context, cache, movie, field.Field(), state.matrix, state.color);
        } else {
            EditText shown = field.Field();
            shown.initialText = field.Text();
            PaintEditText(context, cache, movie, shown, state.matrix, state.color);
        }
    } else if (const auto* shape = std::get_if<Shape>(&character->data)) {
        PaintGeometry(context, cache.ShapeOutline(character->id, *shape), state.matrix,
                      state.color);
    } else if (const auto* morph = std::get_if<MorphShape>(&character->data)) {
        PaintGeometry(context, cache.MorphOutline(character->id, *morph, object.Ratio()),
                      state.matrix, state.color);
    } else if (const auto* text = std::get_if<Text>(&character->data)) {
        PaintText(context, cache, movie, *text, state.matrix, state.color);
    } else if (IsVideo(*character)) {
        PaintVideo(context, videos, *character, object.Ratio(), state.matrix, state.color);
    }
}

void MovieRenderer::MeasureContent(const DisplayObject& object, const State& state) {
    const Character* character = object.Definition();
    if (character == nullptr) {
        return;
    }
    LayerMeasure& measure = *state.measure;
    if (const auto* shape = std::get_if<Shape>(&character->data)) {
        measure.AddBounds(shape->bounds, state.matrix);
    } else if (const auto* morph = std::get_if<MorphShape>(&character->data)) {
        measure.AddBounds(morph->startBounds, state.matrix);
        measure.AddBounds(morph->endBounds, state.matrix);
    } else if (const auto* text = std::get_if<Text>(&character->data)) {
        measure.AddBounds(text->bounds, state.matrix);
        measure.AddBounds(text->bounds, state.matrix * Affine::FromMatrix(text->matrix));
    } else if (IsVideo(*character)) {
        drawnOnlyWhole = true;
        measure.AddBounds(VideoBounds(videos, *character), state.matrix);
    } else if (const auto* field = std::get_if<EditText>(&character->data)) {
        measure.AddBounds(field->bounds, state.matrix);
        const std::string& shown = static_cast<const EditTextObject&>(object).Text();
        measure.MixBytes(shown.data(), shown.size());
    }
    measure.Mix(character->id);
    measure.Mix(object.Ratio());
    measure.Mix(state.matrix);
    measure.Mix(state.color);
    measure.Mix(state.maskOnly);
    measure.Mix(stageScale);
}

} // namespace swf
