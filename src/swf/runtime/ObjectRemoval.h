// Removing objects as Flash Player does. An object that handles unload (or
// holds one that does) does not leave at once: it moves to a depth of its
// own below everything (script depth -32769 - depth), where it can still be
// found by name, its unload events are queued (children before parents),
// and it leaves when the frame's actions have run. Anything else leaves at
// once. An object leaving drops the actions queued for it.
#pragma once

#include <memory>

namespace swf {

class DisplayObject;
class RuntimeContext;

class ObjectRemoval {
public:
    // As RemoveObject and removeMovieClip remove a child of a clip. Does
    // nothing for the root, a button's part or an object already leaving.
    static void Remove(DisplayObject& object);
    // Out of its clip at once, without unload events (the timeline puts
    // another object in its place).
    static void Discard(DisplayObject& object);
    // Out of its clip without a trace: the caller keeps it.
    static std::unique_ptr<DisplayObject> Detach(DisplayObject& object);
    // Destroys an object already out of its parent.
    static void Destroy(std::unique_ptr<DisplayObject> object);
    // Objects whose unload events have run leave for good.
    static void FinishUnloads(RuntimeContext& context);
    // Reports the clips and buttons of a subtree as removed.
    static void ReportRemoved(RuntimeContext& context, const DisplayObject& object);

private:
    // Whether object or anything inside it handles unload.
    static bool HandlesUnload(const DisplayObject& object);
    static void BeginUnload(DisplayObject& object, bool keepChildren);
};

} // namespace swf
