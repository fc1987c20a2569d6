#include "swf/runtime/HitTesting.h"

#include <algorithm>
#include <vector>

#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/MorphInterpolation.h"
#include "swf/runtime/MovieClip.h"

namespace swf {

namespace {

// Objects nest no deeper than the runtime lets them; the walks here stop
// at this depth on their own all the same.
constexpr int MaxNesting = 64;
// A sprite in a button's hit state is looked into this deep.
constexpr int MaxHitStateNesting = 8;

std::vector<const DisplayObject*> ListOf(const DisplayObject& object) {
    std::vector<const DisplayObject*> list;
    if (object.Kind() == DisplayKind::MovieClip) {
        const auto& children = static_cast<const MovieClip&>(object).GetChildren();
        list.reserve(children.size());
        for (const auto& [depth, child] : children) {
            list.push_back(child.get());
        }
    } else if (object.Kind() == DisplayKind::Button) {
        for (const auto& part : static_cast<const ButtonObject&>(object).Parts()) {
            list.push_back(part.object.get());
        }
    }
    return list;
}

bool InRect(const Rect& rect, const std::array<double, 2>& point) {
    return point[0] >= rect.xMin && point[0] <= rect.xMax && point[1] >= rect.yMin &&
           point[1] <= rect.yMax;
}

class Walker {
public:
    Walker(double x, double y, HitAreas& areas) : x(x), y(y), areas(areas) {}

    bool CharacterHits(const Character& character, const Affine& matrix, std::uint16_t ratio,
                       int nesting) const {
        const auto inverse = matrix.Inverse();
        if (!inverse) {
            return false;
        }
        const auto local = inverse->Apply(x, y);
        if (const auto* shape = std::get_if<Shape>(&character.data)) {
            return InRect(shape->bounds, local) &&
                   areas.OfShape(character.id, *shape).Contains(local[0], local[1]);
        }
        if (const auto* morph = std::get_if<MorphShape>(&character.data)) {
            if (!InRect(morph->startBounds, local) && !InRect(morph->endBounds, local)) {
                // A morph between its two shapes can lie outside both, but
                // not outside the rectangle round both.
                const Rect& a = morph->startBounds;
                const Rect& b = morph->endBounds;
                const Rect around{std::min(a.xMin, b.xMin), std::max(a.xMax, b.xMax),
                                  std::min(a.yMin, b.yMin), std::max(a.yMax, b.yMax)};
                if (!InRect(around, local)) {
                    return false;
                }
            }
            return ShapeHitArea(MorphShapeAt(*morph, ratio)).Contains(local[0], local[1]);
        }
        if (const auto* text = std::get_if<Text>(&character.data)) {
            return InRect(text->bounds, local);
        }
        if (const auto* field = std::get_if<EditText>(&character.data)) {
            return InRect(field->bounds, local);
        }
        if (const auto* sprite = std::get_if<Sprite>(&character.data)) {
            return SpriteHits(*sprite, matrix, nesting);
        }
        return false;
    }

    // What a sprite's first frame places, for a sprite in a hit state,
    // which is never made into objects.
    bool SpriteHits(const Sprite& sprite, const Affine& matrix, int nesting) const {
        if (nesting >= MaxHitStateNesting || sprite.timeline.frames.empty()) {
            return false;
        }
        for (const DisplayTag& tag : sprite.timeline.frames.front().displayTags) {
            const auto* place = std::get_if<PlaceObject>(&tag);
            if (place == nullptr || place->move || !place->characterId ||
                place->clipDepth.value_or(0) != 0) {
                continue;
            }
            const Character* character = areas.GetMovie().Find(*place->characterId);
            const Affine placed = matrix * Affine::FromMatrix(place->matrix.value_or(Matrix{}));
            if (character != nullptr &&
                CharacterHits(*character, placed, place->ratio.value_or(0), nesting + 1)) {
                return true;
            }
        }
        return false;
    }

    bool ContentHits(const DisplayObject& object, const Affine& parent, bool maskMode,
                     int nesting) const {
        if ((!maskMode && !object.Visible()) || nesting > MaxNesting) {
            return false;
        }
        const Affine matrix = parent * Affine::FromMatrix(object.GetMatrix());
        switch (object.Kind()) {
        case DisplayKind::Graphic:
        case DisplayKind::EditText:
            return object.Definition() != nullptr &&
                   CharacterHits(*object.Definition(), matrix, object.Ratio(), MaxHitStateNesting);
        case DisplayKind::MovieClip:
        case DisplayKind::Button:
            return ListHits(ListOf(object), matrix, maskMode, nesting + 1);
        }
        return false;
    }

    bool ListHits(const std::vector<const DisplayObject*>& list, const Affine& matrix,
                  bool maskMode, int nesting) const {
        const bool masks = HasMasks(list);
        for (std::size_t i = list.size(); i-- > 0;) {
            if (list[i]->ClipDepth() != 0 || (masks && MaskedOut(list, i, matrix, nesting))) {
                continue;
            }
            if (ContentHits(*list[i], matrix, maskMode, nesting)) {
                return true;
            }
        }
        return false;
    }

    static bool HasMasks(const std::vector<const DisplayObject*>& list) {
        return std::any_of(list.begin(), list.end(),
                           [](const DisplayObject* object) { return object->ClipDepth() != 0; });
    }

    // Whether a mask among the objects below list[index] covers it and
    // leaves the point out.
    bool MaskedOut(const std::vector<const DisplayObject*>& list, std::size_t index,
                   const Affine& matrix, int nesting) const {
        const Depth depth = list[index]->GetDepth();
        for (std::size_t j = 0; j < index; ++j) {
            const DisplayObject& mask = *list[j];
            if (mask.ClipDepth() != 0 && mask.GetDepth() < depth && depth <= mask.ClipDepth() &&
                !ContentHits(mask, matrix, true, nesting)) {
                return true;
            }
        }
        return false;
    }

    bool ButtonAreaHits(const ButtonObject& button, const Affine& matrix) const {
        const Button& definition = button.GetButton();
        for (const ButtonRecord& record : definition.records) {
            if (!record.hitTest) {
                continue;
            }
            const Character* character = areas.GetMovie().Find(record.characterId);
            if (character != nullptr &&
                CharacterHits(*character, matrix * Affine::FromMatrix(record.matrix), 0, 0)) {
                return true;
            }
        }
        return false;
    }

    const DisplayObject* TargetIn(const DisplayObject& container, const Affine& matrix,
                                  const std::function<bool(const MovieClip&)>& takesPointer,
                                  int nesting) const {
        if (nesting > MaxNesting) {
            return nullptr;
        }
        const std::vector<const DisplayObject*> list = ListOf(container);
        const bool masks = HasMasks(list);
        for (std::size_t i = list.size(); i-- > 0;) {
            const DisplayObject& object = *list[i];
            if (object.ClipDepth() != 0 || !object.Visible() ||
                (masks && MaskedOut(list, i, matrix, nesting))) {
                continue;
            }
            const Affine inner = matrix * Affine::FromMatrix(object.GetMatrix());
            if (object.Kind() == DisplayKind::Button) {
                const auto& button = static_cast<const ButtonObject&>(object);
                if (button.Enabled() && ButtonAreaHits(button, inner)) {
                    return &object;
                }
            } else if (object.Kind() == DisplayKind::MovieClip) {
                const auto& clip = static_cast<const MovieClip&>(object);
                if (takesPointer(clip)) {
                    // A clip acting as a button takes the pointer for
                    // everything inside it.
                    if (ListHits(ListOf(clip), inner, false, nesting + 1)) {
                        return &object;
                    }
                } else if (const DisplayObject* found =
                               TargetIn(clip, inner, takesPointer, nesting + 1)) {
                    return found;
                }
            }
        }
        return nullptr;
    }

private:
    double x;
    double y;
    HitAreas& areas;
};

void AddCorners(std::optional<Bounds>& bounds, const Rect& rect, const Affine& matrix) {
    for (const auto& [cx, cy] : {std::array<double, 2>{double(rect.xMin), double(rect.yMin)},
                                 std::array<double, 2>{double(rect.xMax), double(rect.yMin)},
                                 std::array<double, 2>{double(rect.xMin), double(rect.yMax)},
                                 std::array<double, 2>{double(rect.xMax), double(rect.yMax)}}) {
        const auto [px, py] = matrix.Apply(cx, cy);
        if (!bounds) {
            bounds = Bounds{px, py, px, py};
        } else {
            bounds->xMin = std::min(bounds->xMin, px);
            bounds->yMin = std::min(bounds->yMin, py);
            bounds->xMax = std::max(bounds->xMax, px);
            bounds->yMax = std::max(bounds->yMax, py);
        }
    }
}

void CollectBounds(std::optional<Bounds>& bounds, const DisplayObject& object, const Affine& matrix,
                   int nesting) {
    if (nesting > MaxNesting) {
        return;
    }
    if (object.Kind() == DisplayKind::MovieClip || object.Kind() == DisplayKind::Button) {
        for (const DisplayObject* child : ListOf(object)) {
            if (child->ClipDepth() == 0) {
                CollectBounds(bounds, *child, matrix * Affine::FromMatrix(child->GetMatrix()),
                              nesting + 1);
            }
        }
        return;
    }
    const Character* character = object.Definition();
    if (character == nullptr) {
        return;
    }
    if (const auto* shape = std::get_if<Shape>(&character->data)) {
        AddCorners(bounds, shape->bounds, matrix);
    } else if (const auto* morph = std::get_if<MorphShape>(&character->data)) {
        AddCorners(bounds, MorphShapeAt(*morph, object.Ratio()).bounds, matrix);
    } else if (const auto* text = std::get_if<Text>(&character->data)) {
        AddCorners(bounds, text->bounds, matrix);
    } else if (const auto* field = std::get_if<EditText>(&character->data)) {
        AddCorners(bounds, field->bounds, matrix);
    }
}

} // namespace

const ShapeHitArea& HitAreas::OfShape(CharacterId id, const Shape& shape) {
    auto found = shapes.find(id);
    if (found == shapes.end()) {
        found = shapes.emplace(id, ShapeHitArea(shape)).first;
    }
    return found->second;
}

Affine GlobalMatrix(const DisplayObject& object) {
    Affine matrix = Affine::FromMatrix(object.GetMatrix());
    int nesting = 0;
    for (const DisplayObject* parent = object.Parent(); parent != nullptr && nesting < MaxNesting;
         parent = parent->Parent(), ++nesting) {
        matrix = Affine::FromMatrix(parent->GetMatrix()) * matrix;
    }
    return matrix;
}

std::optional<std::array<double, 2>> StageToLocal(const DisplayObject& object, double x, double y) {
    const auto inverse = GlobalMatrix(object).Inverse();
    if (!inverse) {
        return std::nullopt;
    }
    return inverse->Apply(x, y);
}

bool HitsObject(const DisplayObject& object, double x, double y, HitAreas& areas) {
    const Affine parent = object.Parent() != nullptr ? GlobalMatrix(*object.Parent()) : Affine{};
    return Walker(x, y, areas).ContentHits(object, parent, object.ClipDepth() != 0, 0);
}

bool HitsButtonArea(const ButtonObject& button, double x, double y, HitAreas& areas) {
    return Walker(x, y, areas).ButtonAreaHits(button, GlobalMatrix(button));
}

std::optional<Bounds> BoundsOf(const DisplayObject& object, const Affine& matrix) {
    std::optional<Bounds> bounds;
    CollectBounds(bounds, object, matrix, 0);
    return bounds;
}

DisplayObject* FindPointerTarget(const MovieClip& root, double x, double y, HitAreas& areas,
                                 const std::function<bool(const MovieClip&)>& takesPointer) {
    if (!root.Visible()) {
        return nullptr;
    }
    const Walker walker(x, y, areas);
    const Affine matrix = Affine::FromMatrix(root.GetMatrix());
    const DisplayObject* found = nullptr;
    if (takesPointer(root)) {
        found = walker.ListHits(ListOf(root), matrix, false, 1) ? &root : nullptr;
    } else {
        found = walker.TargetIn(root, matrix, takesPointer, 1);
    }
    // The walk reads the display list; the caller changes what it finds.
    return const_cast<DisplayObject*>(found);
}

} // namespace swf
