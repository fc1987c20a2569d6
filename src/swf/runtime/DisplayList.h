// The display list of one timeline: the objects on stage by depth, each with
// the placement its timeline gave it, and, for a sprite, a timeline of its own.
//
// Going to a frame works as players do: the placements of the target frame
// are worked out from the tags (from the current frame when going forward,
// from the first frame when going back), then compared with what is on
// stage. An object that is still there, at the same depth, from the same
// PlaceObject (same character, placed in the same frame), stays, with its own
// state (a sprite keeps its frame); anything else is removed or created.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "swf/format/Movie.h"

namespace swf {

// What the timeline says about one depth.
struct Placement {
    CharacterId characterId = 0;
    std::size_t placedFrame = 0; // the frame whose PlaceObject created it
    Matrix matrix;
    ColorTransform colorTransform;
    std::uint16_t ratio = 0;
    std::string name;
    Depth clipDepth = 0; // 0: not a mask
    std::vector<Filter> filters;
    std::uint8_t blendMode = 0;
    bool cacheAsBitmap = false;
    bool visible = true;
    bool operator==(const Placement&) const = default;
};

class TimelineInstance;

struct DisplayObject {
    Placement placement;
    const Character* character = nullptr;     // borrowed from the movie; null if undefined
    std::unique_ptr<TimelineInstance> sprite; // for sprites
};

// Bounds the sprites a movie may nest and create, so that a sprite placing
// itself, or sprites placing each other many times over, cannot exhaust
// memory or the stack. One per movie instance.
struct SpriteBudget {
    std::size_t live = 0;
    std::size_t maxLive = 20000;
    int maxNesting = 32;
};

class TimelineInstance {
public:
    // movie, timeline and budget are borrowed and must outlive the instance;
    // the timeline may still be growing while the movie loads. nesting is 0
    // for the main timeline.
    TimelineInstance(const Movie& movie, const Timeline& timeline, SpriteBudget& budget,
                     int nesting = 0);
    ~TimelineInstance();
    TimelineInstance(const TimelineInstance&) = delete;
    TimelineInstance& operator=(const TimelineInstance&) = delete;

    // The frame shown, 0-based; nullopt before the first frame is shown.
    std::optional<std::size_t> CurrentFrame() const { return current; }
    std::size_t FramesAvailable() const { return timeline.frames.size(); }

    // Shows frame (clamped to the frames available); does nothing while no
    // frame is available.
    void GotoFrame(std::size_t frame);
    // The next frame, back to the first after the last when loop is set.
    // Returns whether the frame changed.
    bool NextFrame(bool loop);
    // Advances every sprite on this list (and theirs) by one frame.
    void AdvanceSprites();

    const std::map<Depth, DisplayObject>& Objects() const { return objects; }

private:
    void Reconcile(std::map<Depth, Placement>& plan);

    const Movie& movie;
    const Timeline& timeline;
    SpriteBudget& budget;
    const int nesting;
    std::optional<std::size_t> current;
    std::map<Depth, DisplayObject> objects;
};

// Applies one frame's PlaceObject and RemoveObject tags to a plan of
// placements by depth; frameIndex is recorded as the frame of new objects.
void ApplyFrame(const Frame& frame, std::size_t frameIndex, std::map<Depth, Placement>& plan);

} // namespace swf
