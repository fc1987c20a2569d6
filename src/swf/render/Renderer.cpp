#include "swf/render/Renderer.h"

#include <algorithm>
#include <cmath>

#include "swf/render/BlendCompositing.h"
#include "swf/render/ShapePainter.h"
#include "swf/render/TextPainter.h"
#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/GraphicObject.h"

namespace swf {

namespace {

// Objects nest at most as deep as the runtime lets them; this bounds the
// drawing on its own all the same.
constexpr int MaxNesting = 64;

// Every mask and blended or cached clip draws into a group the size of the
// target. A movie nesting thousands of them would take that much memory
// over, so past this many open groups masks and blend modes are left out.
constexpr int MaxOpenGroups = 32;

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
};

MovieRenderer::MovieRenderer(const Movie& movie) : movie(movie), cache(movie) {}

void MovieRenderer::RenderFrame(cairo_t* target, const MovieClip& root, const Affine& stageToDevice,
                                double scale) {
    cr = target;
    stageScale = scale;
    openGroups = 0;
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
    cr = nullptr;
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
    State inner = state;
    inner.matrix = state.matrix * Affine::FromMatrix(object.GetMatrix());
    inner.color = state.color * ColorMath::From(object.GetColorTransform());
    ++inner.nesting;
    if (inner.nesting > MaxNesting) {
        return;
    }
    const bool cached = object.CacheAsBitmap() || !object.Filters().empty();
    const bool group = !state.maskOnly && (!IsNormal(object.GetBlendMode()) || cached) &&
                       openGroups < MaxOpenGroups;
    if (!group) {
        RenderContent(object, inner);
        return;
    }
    if (cached) {
        // A cached clip is a bitmap drawn on whole device pixels.
        inner.matrix.x0 = std::round(inner.matrix.x0);
        inner.matrix.y0 = std::round(inner.matrix.y0);
    }
    inner.inLayer = true;
    cairo_push_group(cr);
    ++openGroups;
    RenderContent(object, inner);
    --openGroups;
    cairo_pattern_t* pattern = cairo_pop_group(cr);
    Composite(pattern, object.GetBlendMode(), state);
    cairo_pattern_destroy(pattern);
}

void MovieRenderer::Composite(cairo_pattern_t* group, std::uint8_t blendMode, const State& state) {
    const auto mode = static_cast<BlendMode>(blendMode);
    cairo_save(cr);
    if ((mode == BlendMode::Alpha || mode == BlendMode::Erase) && !state.inLayer) {
        // Without a layer beneath them these modes have nothing of their
        // own to cut into, and draw as usual.
        cairo_set_source(cr, group);
        cairo_paint(cr);
    } else if (!CompositeWithOperator(cr, group, blendMode)) {
        CompositeByPixels(cr, group, blendMode);
    }
    cairo_restore(cr);
}

void MovieRenderer::RenderContent(const DisplayObject& object, const State& state) {
    if (object.Kind() == DisplayKind::MovieClip || object.Kind() == DisplayKind::Button) {
        RenderList(ChildrenOf(object), state);
        return;
    }
    const Character* character = object.Definition();
    if (character == nullptr) {
        return;
    }
    const PaintContext context{cr, &cache, stageScale, state.maskOnly};
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
    }
}

} // namespace swf
