// Runs timelines: makes the objects characters need, brings new clips to
// life (their creation events and first frame), plays a clip into its next
// frame, and goes to frames. Every change the timeline makes to the display
// list happens here, following TimelineRules.
#pragma once

#include <cstddef>
#include <map>
#include <memory>

#include "swf/format/CharacterModel.h"
#include "swf/format/TimelineModel.h"

namespace swf {

class DisplayObject;
class MovieClip;
class RuntimeContext;

class TimelineExecutor {
public:
    // The object that shows character (a clip, button, field or graphic),
    // or nullptr for a character nothing shows, past the player's limits
    // or nested too deep. nesting is that of the new object.
    static std::unique_ptr<DisplayObject> Make(RuntimeContext& context, const Character* character,
                                               int nesting);
    // An empty movie clip, as scripts make them.
    static std::unique_ptr<MovieClip> MakeEmptyClip(RuntimeContext& context, int nesting);

    // Puts object into clip at depth (which must be free) and brings it to
    // life: a clip joins the frame loop, gets its creation events queued
    // (initialize, construct unless the script making it runs that itself,
    // load) and shows its first frame; a button shows its up state.
    static DisplayObject* Insert(MovieClip& clip, std::unique_ptr<DisplayObject> object,
                                 Depth depth, bool queueConstruct);
    // The same for an object already in its parent (a button's part).
    static void BringToLife(DisplayObject& object, bool queueConstruct);

    // Shows the first frame of a clip that has not shown one (once it is in).
    static void EnterFirstFrame(MovieClip& clip);
    // One step of the frame loop: the next frame, or the first again after
    // the last (the main timeline only once the whole movie is in).
    static void Advance(MovieClip& clip);
    // A goto: target is 0-based and within the frames loaded.
    static void Goto(MovieClip& clip, std::size_t target);

private:
    // The timeline's objects a goto back keeps, taken out of the display
    // list until the replay reaches the tag that placed them.
    using KeptObjects = std::map<Depth, std::unique_ptr<DisplayObject>>;
    enum class FrameMode { Entered, Jumped, PassedOver };

    static void GoBack(MovieClip& clip, std::size_t target, FrameMode mode);
    // Returns false when a damaged placement stopped the frame (the clip
    // stays on the frame before).
    static bool RunFrame(MovieClip& clip, std::size_t index, FrameMode mode, KeptObjects* kept);
    static void Place(MovieClip& clip, const PlaceObject& place, std::size_t frameIndex,
                      KeptObjects* kept);
    static void RemoveAt(MovieClip& clip, Depth depth);
    static void QueueInitActions(MovieClip& clip, const Frame& frame);
    static void QueueFrameAction(MovieClip& clip, const RawTag& tag);
    static void ReportSounds(MovieClip& clip, const Frame& frame);
};

} // namespace swf
