// The actions waiting to run: frame actions, init actions, clip events and
// button actions, as the timeline and the input queue them. They run in
// priority order, and in the order they were queued within a priority, as
// Flash Player runs them: a sprite's init actions before anything else, a
// placed clip's initialize and construct events before the frame actions
// and load events queued ahead of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>

#include "swf/format/ClipActions.h"
#include "swf/format/TimelineModel.h"
#include "swf/runtime/DisplayHandle.h"

namespace swf {

enum class ActionPriority : std::uint8_t { InitActions, Initialize, Construct, Normal };

enum class ActionKind : std::uint8_t {
    FrameActions, // a DoAction tag of a frame entered; `this` is the clip
    InitActions,  // a DoInitAction tag, run once per sprite; `this` is the clip
    ClipEvent,    // an event of a clip or button: its clip actions and handlers
    ButtonActions // a button's action block for a state change or key press
};

struct QueuedAction {
    ActionKind kind = ActionKind::FrameActions;
    DisplayHandle target;
    const RawTag* tag = nullptr; // FrameActions, InitActions: borrowed from the movie
    ClipEvent event = ClipEvent::Load;
    std::uint8_t keyCode = 0;              // key events and key presses
    std::span<const std::uint8_t> actions; // ButtonActions: borrowed from the movie
    std::uint16_t condition = 0;           // ButtonActions: the condition that held
};

class ActionQueue {
public:
    // A movie that queues more than this before its actions run loses the
    // rest (a script re-entering frames in a loop), so memory stays bounded.
    static constexpr std::size_t MaxQueued = std::size_t{1} << 18;

    // Returns false when the queue is full and the action was dropped.
    bool Push(ActionPriority priority, const QueuedAction& action);
    // The next action to run: the oldest of the highest priority.
    std::optional<QueuedAction> Pop();
    bool Empty() const { return size == 0; }
    std::size_t Size() const { return size; }
    void Clear();

private:
    std::array<std::deque<QueuedAction>, 4> levels;
    std::size_t size = 0;
};

} // namespace swf
