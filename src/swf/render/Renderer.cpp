#include "swf/render/Renderer.h"

#include <algorithm>
#include <cmath>

#include "swf/render/BlendCompositing.h"
#include "swf/render/ShapePainter.h"
#include "swf/render/TextPainter.h"

namespace swf {

namespace {

// Sprites and buttons drawn from their definitions (no instance) may nest
// each other; this bounds the depth a damaged movie can reach.
constexpr int MaxNesting = 64;

// Every mask and blended or cached clip draws into a group the size of the
// target. A movie nesting thousands of them would take that much memory
// over, so past this many open groups masks and blend modes are left out.
constexpr int MaxOpenGroups = 32;

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
};

MovieRenderer::MovieRenderer(const Movie& movie) : movie(movie), cache(movie) {}

void MovieRenderer::RenderFrame(cairo_t* target, const TimelineInstance& root,
                                const Affine& stageToDevice, double scale) {
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

    std::vector<Item> items;
    for (const auto& [depth, object] : root.Objects()) {
        items.push_back({depth, &object.placement, object.character, object.sprite.get()});
    }
    State state;
    state.matrix = stageToDevice;
    RenderItems(items, 0, items.size(), state);
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
    const bool cached = placement.cacheAsBitmap || !placement.filters.empty();
    const bool group =
        !state.maskOnly && (!IsNormal(placement.blendMode) || cached) && openGroups < MaxOpenGroups;
    if (!group) {
        RenderCharacter(item, inner);
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
    RenderCharacter(item, inner);
    --openGroups;
    cairo_pattern_t* pattern = cairo_pop_group(cr);
    Composite(pattern, placement.blendMode, state);
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

void MovieRenderer::RenderCharacter(const Item& item, const State& state) {
    if (item.sprite != nullptr) {
        std::vector<Item> children;
        for (const auto& [depth, object] : item.sprite->Objects()) {
            children.push_back({depth, &object.placement, object.character, object.sprite.get()});
        }
        RenderItems(children, 0, children.size(), state);
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
