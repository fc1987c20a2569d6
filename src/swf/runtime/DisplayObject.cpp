#include "swf/runtime/DisplayObject.h"

#include <type_traits>

#include "swf/runtime/MovieClip.h"
#include "swf/runtime/ObjectRemoval.h"
#include "swf/runtime/RuntimeContext.h"

namespace swf {

DisplayObject::DisplayObject(RuntimeContext& context, DisplayKind kind, const Character* definition)
    : context(context), kind(kind), definition(definition) {
    handle = context.objects.Add(*this);
    ++context.budget.liveObjects;
}

DisplayObject::~DisplayObject() {
    context.objects.Remove(handle);
    --context.budget.liveObjects;
}

MovieClip* DisplayObject::ParentClip() const {
    for (DisplayObject* above = parent; above != nullptr; above = above->parent) {
        if (above->kind == DisplayKind::MovieClip) {
            return static_cast<MovieClip*>(above);
        }
    }
    return nullptr;
}

DisplayObject* DisplayObject::ScriptMask() const {
    DisplayObject* mask = context.objects.Find(scriptMask);
    return mask != nullptr && mask->scriptMasked == handle ? mask : nullptr;
}

DisplayObject* DisplayObject::ScriptMasked() const {
    DisplayObject* masked = context.objects.Find(scriptMasked);
    return masked != nullptr && masked->scriptMask == handle ? masked : nullptr;
}

void DisplayObject::SetScriptMask(DisplayObject* mask) {
    if (DisplayObject* old = ScriptMask()) {
        old->scriptMasked = {};
    }
    scriptMask = {};
    if (mask != nullptr && mask != this) {
        if (DisplayObject* before = mask->ScriptMasked()) {
            before->scriptMask = {};
        }
        mask->scriptMasked = handle;
        scriptMask = mask->handle;
    }
    Changed();
}

void DisplayObject::Changed() {
    context.Changed();
}

bool DisplayObject::ScriptOwns(ScriptProperty property) const {
    return (scriptOwned & (1u << static_cast<unsigned>(property))) != 0;
}

void DisplayObject::MarkScriptOwned(ScriptProperty property) {
    scriptOwned |= static_cast<std::uint8_t>(1u << static_cast<unsigned>(property));
}

namespace {

// Sets field to value, returning whether it changed.
template <typename T>
bool Assign(T& field, const T& value) {
    if (field == value) {
        return false;
    }
    field = value;
    return true;
}

} // namespace

void DisplayObject::SetMatrix(const Matrix& value) {
    MarkScriptOwned(ScriptProperty::Matrix);
    if (Assign(matrix, value)) {
        Changed();
    }
}

void DisplayObject::SetColorTransform(const ColorTransform& value) {
    MarkScriptOwned(ScriptProperty::ColorTransform);
    if (Assign(colorTransform, value)) {
        Changed();
    }
}

void DisplayObject::SetVisible(bool value) {
    MarkScriptOwned(ScriptProperty::Visible);
    if (Assign(visible, value)) {
        Changed();
    }
}

void DisplayObject::SetBlendMode(std::uint8_t value) {
    MarkScriptOwned(ScriptProperty::BlendMode);
    if (Assign(blendMode, value)) {
        Changed();
    }
}

void DisplayObject::SetFilters(std::vector<Filter> value) {
    MarkScriptOwned(ScriptProperty::Filters);
    if (Assign(filters, value)) {
        Changed();
    }
}

void DisplayObject::SetCacheAsBitmap(bool value) {
    MarkScriptOwned(ScriptProperty::CacheAsBitmap);
    if (Assign(cacheAsBitmap, value)) {
        Changed();
    }
}

void DisplayObject::SetName(std::string value) {
    name = std::move(value);
}

void DisplayObject::ApplyPlacement(const PlaceObject& place) {
    bool changed = false;
    const auto apply = [&](auto& field, const auto& value, ScriptProperty owner) {
        if (value && !ScriptOwns(owner)) {
            changed |= Assign(field, *value);
        }
    };
    apply(matrix, place.matrix, ScriptProperty::Matrix);
    apply(colorTransform, place.colorTransform, ScriptProperty::ColorTransform);
    apply(visible, place.visible, ScriptProperty::Visible);
    apply(blendMode, place.blendMode, ScriptProperty::BlendMode);
    apply(filters, place.filters, ScriptProperty::Filters);
    apply(cacheAsBitmap, place.cacheAsBitmap, ScriptProperty::CacheAsBitmap);
    if (place.ratio) {
        changed |= Assign(ratio, *place.ratio);
    }
    if (place.clipDepth) {
        changed |= Assign(clipDepth, *place.clipDepth);
    }
    if (changed) {
        Changed();
    }
}

void DisplayObject::ResetPlacement(const PlaceObject& place) {
    // What the tag leaves out takes the value a new object would have.
    const auto reset = [&](auto& field, ScriptProperty owner) {
        if (!ScriptOwns(owner)) {
            field = std::remove_reference_t<decltype(field)>{};
        }
    };
    reset(matrix, ScriptProperty::Matrix);
    reset(colorTransform, ScriptProperty::ColorTransform);
    reset(blendMode, ScriptProperty::BlendMode);
    reset(filters, ScriptProperty::Filters);
    reset(cacheAsBitmap, ScriptProperty::CacheAsBitmap);
    if (!ScriptOwns(ScriptProperty::Visible)) {
        visible = true;
    }
    ratio = 0;
    clipDepth = 0;
    Changed();
    ApplyPlacement(place);
}

bool DisplayObject::Unloading() const {
    for (const DisplayObject* object = this; object != nullptr; object = object->parent) {
        if (object->unloading) {
            return true;
        }
    }
    return false;
}

bool DisplayObject::HasClipAction(ClipEvent event) const {
    for (const ClipActionRecord& record : clipActions) {
        if (record.Handles(event)) {
            return true;
        }
    }
    return false;
}

void DisplayObject::Remove() {
    ObjectRemoval::Remove(*this);
}

bool DisplayObject::SwapDepths(Depth target) {
    if (parent == nullptr || parent->kind != DisplayKind::MovieClip || Unloading()) {
        return false;
    }
    auto& children = static_cast<MovieClip*>(parent)->children;
    timelineOwned = false;
    if (target == depth) {
        return true;
    }
    const Depth from = depth;
    auto mine = children.extract(from);
    auto other = children.extract(target);
    mine.key() = target;
    depth = target;
    children.insert(std::move(mine));
    if (!other.empty()) {
        other.key() = from;
        other.mapped()->depth = from;
        other.mapped()->timelineOwned = false;
        children.insert(std::move(other));
    }
    Changed();
    return true;
}

} // namespace swf
