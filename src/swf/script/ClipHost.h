// What scripts need of the display list, declared here and provided by the
// display side: the clips by level, parent and name, their properties, their
// timelines, and the actions that change the stage. A clip is seen through
// its script object (a ClipObject); the display side keeps the link between
// the two and resolves a script object whose clip is gone by its target path
// again, as Flash does.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/script/Value.h"

namespace swf::script {

class Object;
class RuntimeClips;
class String;
class Vm;

// The properties GetProperty and SetProperty address by number.
enum class ClipProperty : std::uint8_t {
    X = 0,
    Y = 1,
    XScale = 2,
    YScale = 3,
    CurrentFrame = 4,
    TotalFrames = 5,
    Alpha = 6,
    Visible = 7,
    Width = 8,
    Height = 9,
    Rotation = 10,
    Target = 11,
    FramesLoaded = 12,
    Name = 13,
    DropTarget = 14,
    Url = 15,
    HighQuality = 16,
    FocusRect = 17,
    SoundBufTime = 18,
    Quality = 19,
    XMouse = 20,
    YMouse = 21,
};
constexpr int ClipPropertyCount = 22;

// How GetURL2 sends variables, and what it loads.
struct UrlRequest {
    std::string url;
    std::string target;
    int method = 0;             // 0 none, 1 GET, 2 POST
    bool loadTarget = false;    // the target is a clip path, not a window
    bool loadVariables = false; // load variables rather than a movie
};

class ClipHost {
public:
    virtual ~ClipHost() = default;

    // The clips of a movie in the runtime, for the methods of MovieClip and
    // the other classes that act on the stage; null where there is none.
    virtual RuntimeClips* Runtime() { return nullptr; }

    // _level0 (the root), or another level when one is loaded.
    virtual Object* Level(int level) = 0;
    // The clip's parent, or null for a level.
    virtual Object* Parent(Object* clip) = 0;
    // The child clip (or button, text field) of that instance name.
    virtual Object* Child(Object* clip, String* name, int version) = 0;
    // "/a/b" and "_level0.a.b"; the clip's own name.
    virtual std::string SlashPath(Object* clip) = 0;
    virtual std::string DotPath(Object* clip) = 0;
    // The clip the object stands for is still on stage.
    virtual bool Alive(Object* clip) = 0;
    // The object a reference stands for now: itself while its clip lives,
    // else the script object of what is at its target path, else null.
    virtual Object* Live(Object* clip) = 0;
    // The instance names of its children that for..in lists.
    virtual void ChildNames(Object* clip, std::vector<String*>& names) = 0;

    virtual Value GetProperty(Object* clip, ClipProperty property) = 0;
    virtual void SetProperty(Object* clip, ClipProperty property, const Value& value) = 0;

    // Timeline control. Frames are 0-based; a goto beyond the last frame
    // goes to the last.
    virtual void GotoFrame(Object* clip, std::size_t frame, bool play) = 0;
    virtual bool GotoLabel(Object* clip, std::string_view label, bool play) = 0;
    virtual void Play(Object* clip) = 0;
    virtual void Stop(Object* clip) = 0;
    virtual void NextFrame(Object* clip) = 0;
    virtual void PrevFrame(Object* clip) = 0;
    virtual std::size_t CurrentFrame(Object* clip) = 0; // 0-based
    virtual std::size_t FramesLoaded(Object* clip) = 0;
    virtual std::size_t TotalFrames(Object* clip) = 0;
    // The frame of a label in the clip's timeline.
    virtual std::optional<std::size_t> FindLabel(Object* clip, std::string_view label) = 0;
    // Queues the frame's actions to run now (the Call action).
    virtual void CallFrame(Object* clip, std::size_t frame) = 0;

    // CloneSprite: the copy at depth (the timeline's number, as the action
    // gives it), or null.
    virtual Object* Duplicate(Object* clip, std::string_view name, int depth) = 0;
    virtual void Remove(Object* clip) = 0;
    virtual void StartDrag(Object* clip, bool lockCenter,
                           std::optional<std::array<double, 4>> bounds) = 0;
    virtual void StopDrag() = 0;

    virtual void StopSounds() = 0;
    virtual void ToggleQuality() = 0;
    // getURL and its variants; FSCommand: URLs go to the host.
    virtual void RequestUrl(Object* clip, const UrlRequest& request) = 0;
};

} // namespace swf::script
