// A movie clip: a sprite placed by a timeline, the main timeline itself, or
// a clip a script made. It plays or stops on its own, shows one frame of its
// timeline at a time, and holds its children by depth.
//
// Gotos run the target frame's display tags at once and queue its actions;
// the frames passed over only have their display tags run. Going back
// starts again from the first frame, keeping what Flash Player keeps: the
// timeline's objects still in place at the target frame (with their own
// state), and what scripts made outside the timeline's depths.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "swf/format/TimelineModel.h"
#include "swf/runtime/DisplayObject.h"

namespace swf {

class MovieClip final : public DisplayObject {
public:
    using Children = std::map<Depth, std::unique_ptr<DisplayObject>>;

    // Made only by the runtime (see RuntimeContext).
    MovieClip(RuntimeContext& context, const Character* definition, const Timeline* timeline,
              int nesting);
    ~MovieClip() override;

    // The frames it plays; nullptr for a clip a script made empty.
    const Timeline* GetTimeline() const { return timeline; }
    // The frame shown, 0-based; nullopt before the first frame is in.
    std::optional<std::size_t> CurrentFrame() const { return current; }
    // The frames it has (as declared while the main movie loads) and has in.
    std::size_t TotalFrames() const;
    std::size_t FramesLoaded() const;
    bool IsRoot() const { return Parent() == nullptr; }
    int Nesting() const { return nesting; }

    bool Playing() const { return playing; }
    void Play() { playing = true; }
    void Stop() { playing = false; }
    // gotoAndPlay / gotoAndStop with a 0-based frame (held to the frames
    // loaded); the target frame's actions are queued, not run.
    void GotoFrame(std::size_t frame, bool play);
    // The first frame with this label; false (and nothing happens) when none has it.
    bool GotoLabel(std::string_view label, bool play);
    // nextFrame and prevFrame: one frame on or back, then stopped.
    void NextFrame();
    void PrevFrame();

    const Children& GetChildren() const { return children; }
    DisplayObject* ChildAt(Depth depth) const;
    // The child with this name at the lowest depth; nullptr when none has it.
    DisplayObject* FindChild(std::string_view childName, bool caseSensitive) const;
    // getNextHighestDepth: one above the highest child, and at least script depth 0.
    Depth NextHighestDepth() const;

    // createEmptyMovieClip: replaces what is at depth. nullptr when the
    // player's limits are reached.
    MovieClip* CreateEmptyClip(std::string childName, Depth depth);
    // attachMovie (with the id of an exported character): replaces what is at depth.
    // createTextField: an empty field of that size (twips) at depth.
    DisplayObject* CreateTextField(std::string childName, Depth depth, Rect bounds);
    DisplayObject* AttachCharacter(CharacterId id, std::string childName, Depth depth);
    // duplicateMovieClip: a copy of this clip in its parent at depth, from
    // its first frame, with its transformations and clip actions. nullptr for the
    // root or when the limits are reached.
    MovieClip* Duplicate(std::string copyName, Depth depth);

private:
    friend class TimelineExecutor;
    friend class ObjectRemoval;
    friend class DisplayObject;

    const Timeline* timeline; // borrowed from the movie
    const int nesting;        // 0 for the root
    std::optional<std::size_t> current;
    bool playing = true;
    Children children;
};

} // namespace swf
