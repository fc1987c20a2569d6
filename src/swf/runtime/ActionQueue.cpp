#include "swf/runtime/ActionQueue.h"

namespace swf {

bool ActionQueue::Push(ActionPriority priority, const QueuedAction& action) {
    if (size >= MaxQueued) {
        return false;
    }
    levels[static_cast<std::size_t>(priority)].push_back(action);
    ++size;
    return true;
}

std::optional<QueuedAction> ActionQueue::Pop() {
    for (auto& level : levels) {
        if (!level.empty()) {
            QueuedAction action = level.front();
            level.pop_front();
            --size;
            return action;
        }
    }
    return std::nullopt;
}

void ActionQueue::Clear() {
    for (auto& level : levels) {
        level.clear();
    }
    size = 0;
}

} // namespace swf
