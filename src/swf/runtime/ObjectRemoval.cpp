#include "swf/runtime/ObjectRemoval.h"

#include <vector>

#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/MovieClip.h"
#include "swf/runtime/RuntimeContext.h"
#include "swf/runtime/ScriptDepths.h"

namespace swf {

namespace {

// Free depths below the unload depth tried before giving up on keeping the
// object (it then leaves at once).
constexpr int MaxUnloadDepthTries = 1024;

MovieClip* HoldingClip(const DisplayObject& object) {
    DisplayObject* parent = object.Parent();
    return parent != nullptr && parent->Kind() == DisplayKind::MovieClip
               ? static_cast<MovieClip*>(parent)
               : nullptr;
}

} // namespace

bool ObjectRemoval::HandlesUnload(const DisplayObject& object) {
    if (object.Kind() == DisplayKind::Button) {
        return object.context.Handles(object, ClipEvent::Unload);
    }
    if (object.Kind() != DisplayKind::MovieClip) {
        return false;
    }
    if (object.context.Handles(object, ClipEvent::Unload)) {
        return true;
    }
    for (const auto& [depth, child] : static_cast<const MovieClip&>(object).children) {
        if (HandlesUnload(*child)) {
            return true;
        }
    }
    return false;
}

void ObjectRemoval::Remove(DisplayObject& object) {
    MovieClip* clip = HoldingClip(object);
    if (clip == nullptr || object.Unloading()) {
        return;
    }
    if (!HandlesUnload(object)) {
        Discard(object);
        return;
    }
    auto& children = clip->children;
    Depth target = depths::UnloadDepth(object.depth);
    for (int tries = 0; children.contains(target) && tries < MaxUnloadDepthTries; ++tries) {
        --target;
    }
    if (children.contains(target)) {
        Discard(object);
        return;
    }
    auto node = children.extract(object.depth);
    node.key() = target;
    object.depth = target;
    children.insert(std::move(node));
    object.context.unloading.push_back(object.Handle());
    BeginUnload(object, false);
    object.Changed();
}

void ObjectRemoval::BeginUnload(DisplayObject& object, bool keepChildren) {
    object.unloading = true;
    RuntimeContext& context = object.context;
    const bool ownHandler = context.Handles(object, ClipEvent::Unload);
    // An object that handles unload keeps everything inside it until then;
    // otherwise only what handles unload itself stays.
    const bool keep = keepChildren || ownHandler;
    if (object.Kind() == DisplayKind::MovieClip) {
        std::vector<DisplayObject*> inside;
        for (const auto& [depth, child] : static_cast<MovieClip&>(object).children) {
            inside.push_back(child.get());
        }
        for (DisplayObject* child : inside) {
            if (HandlesUnload(*child)) {
                BeginUnload(*child, keep);
            } else if (!keep) {
                Discard(*child);
            }
        }
    }
    if (ownHandler) {
        context.QueueEvent(object, ClipEvent::Unload, ActionPriority::Normal);
    }
}

void ObjectRemoval::Discard(DisplayObject& object) {
    RuntimeContext& context = object.context;
    if (auto detached = Detach(object)) {
        ReportRemoved(context, *detached);
        context.Changed();
    }
}

std::unique_ptr<DisplayObject> ObjectRemoval::Detach(DisplayObject& object) {
    MovieClip* clip = HoldingClip(object);
    if (clip == nullptr) {
        return nullptr;
    }
    const auto found = clip->children.find(object.depth);
    if (found == clip->children.end() || found->second.get() != &object) {
        return nullptr;
    }
    std::unique_ptr<DisplayObject> taken = std::move(found->second);
    clip->children.erase(found);
    return taken;
}

void ObjectRemoval::Destroy(std::unique_ptr<DisplayObject> object) {
    if (object) {
        ReportRemoved(object->context, *object);
        object->context.Changed();
    }
}

void ObjectRemoval::FinishUnloads(RuntimeContext& context) {
    const std::vector<DisplayHandle> leaving = std::move(context.unloading);
    context.unloading.clear();
    for (const DisplayHandle handle : leaving) {
        DisplayObject* object = context.objects.Find(handle);
        if (object != nullptr && object->unloading) {
            Discard(*object);
        }
    }
}

void ObjectRemoval::ReportRemoved(RuntimeContext& context, const DisplayObject& object) {
    if (object.Kind() == DisplayKind::MovieClip) {
        for (const auto& [depth, child] : static_cast<const MovieClip&>(object).children) {
            ReportRemoved(context, *child);
        }
    } else if (object.Kind() == DisplayKind::Button) {
        for (const auto& part : static_cast<const ButtonObject&>(object).parts) {
            ReportRemoved(context, *part.object);
        }
    } else {
        return;
    }
    context.Emit(ObjectRemoved{object.Handle()});
}

} // namespace swf
