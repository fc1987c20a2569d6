// What the objects of one player share: the movie, the table of handles,
// the action queue, the events of the tick, the order clips were made in
// (the frame loop's order) and the limits. The player owns it; objects
// borrow it. Not for use outside the runtime.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "swf/format/Movie.h"
#include "swf/runtime/ActionQueue.h"
#include "swf/runtime/HitTesting.h"
#include "swf/runtime/ObjectTable.h"
#include "swf/runtime/RuntimeEvents.h"
#include "swf/runtime/SoundControl.h"

namespace swf {

class DisplayObject;
class ScriptHost;

// Bounds what a movie can make, so that sprites placing themselves, or
// placing each other many times over, cannot exhaust memory or the stack.
struct ObjectBudget {
    std::size_t liveClips = 0;
    std::size_t maxClips = 20000;
    std::size_t liveObjects = 0;
    std::size_t maxObjects = 200000;
    int maxNesting = 32;
};

class RuntimeContext {
public:
    // Events a tick keeps at most; a movie placing and removing without end
    // loses the rest rather than memory.
    static constexpr std::size_t MaxEvents = std::size_t{1} << 16;

    explicit RuntimeContext(const Movie& movie) : movie(movie), hitAreas(movie) {}
    RuntimeContext(const RuntimeContext&) = delete;
    RuntimeContext& operator=(const RuntimeContext&) = delete;

    std::uint8_t SwfVersion() const { return movie.header.version; }
    // Something the picture shows changed.
    void Changed() { ++version; }
    void Emit(RuntimeEvent event);
    // Whether the event reaches a handler of object: the script host's
    // answer, or without one the clip actions.
    bool Handles(const DisplayObject& object, ClipEvent event) const;
    // Queues the event for object when it has a handler for it.
    void QueueEvent(const DisplayObject& object, ClipEvent event, ActionPriority priority,
                    std::uint8_t keyCode = 0);
    void Queue(ActionPriority priority, const QueuedAction& action) {
        queue.Push(priority, action);
    }

    const Movie& movie; // borrowed; may grow while it loads, never during a tick
    HitAreas hitAreas;
    ObjectTable objects;
    ActionQueue queue;
    std::vector<RuntimeEvent> events;
    // Movie clips in the order they were made: the frame loop visits them
    // newest first, as Flash Player does. Handles of clips gone are skipped
    // and swept out now and then.
    std::vector<DisplayHandle> clipsByAge;
    // Removed objects waiting for their unload events to run.
    std::vector<DisplayHandle> unloading;
    ObjectBudget budget;
    std::uint64_t version = 0;
    ScriptHost* host = nullptr; // borrowed; none: nothing runs
    bool movieComplete = false; // the main timeline may loop
    // Sprites whose DoInitAction has been queued: each runs once.
    std::unordered_set<CharacterId> initActionsQueued;
    // Unnamed clips and buttons the timeline places are named "instanceN".
    std::uint32_t instanceCount = 0;
    // The movie's own sound transformation, over every sound it plays.
    SoundTransform globalSound;
    SoundPlayback* soundPlayback = nullptr; // borrowed; none: scripts start no sound
};

} // namespace swf
