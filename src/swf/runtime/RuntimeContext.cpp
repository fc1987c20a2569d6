#include "swf/runtime/RuntimeContext.h"

#include "swf/runtime/DisplayObject.h"
#include "swf/runtime/ScriptHost.h"

namespace swf {

void RuntimeContext::Emit(RuntimeEvent event) {
    if (events.size() < MaxEvents) {
        events.push_back(std::move(event));
    }
}

bool RuntimeContext::Handles(const DisplayObject& object, ClipEvent event) const {
    return host != nullptr ? host->Handles(object, event) : object.HasClipAction(event);
}

void RuntimeContext::QueueEvent(const DisplayObject& object, ClipEvent event,
                                ActionPriority priority, std::uint8_t keyCode) {
    if (Handles(object, event)) {
        QueuedAction action;
        action.kind = ActionKind::ClipEvent;
        action.target = object.Handle();
        action.event = event;
        action.keyCode = keyCode;
        queue.Push(priority, action);
    }
}

} // namespace swf
