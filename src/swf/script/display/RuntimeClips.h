// The ClipHost of a movie playing in the runtime: the script objects of its
// clips, buttons and text fields (made when a script first sees them, kept
// while their display objects live), their display properties, timelines,
// and the operations scripts perform on the stage.
#pragma once

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/runtime/DisplayObject.h"
#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/script/ClipHost.h"
#include "swf/script/Heap.h"
#include "swf/script/display/ClipObject.h"
#include "swf/script/display/ExportNames.h"

namespace swf::script {

class MovieScripts;
class Vm;

class RuntimeClips final : public ClipHost, public RootSource {
public:
    RuntimeClips(MoviePlayer& player, Vm& vm, MovieScripts& scripts);
    ~RuntimeClips() override;
    RuntimeClips(const RuntimeClips&) = delete;
    RuntimeClips& operator=(const RuntimeClips&) = delete;

    // The script object of a clip, button or text field; null for shapes
    // and other objects scripts cannot see.
    ClipObject* ObjectFor(DisplayObject* object);
    // The display object a script object stands for now (see Live).
    DisplayObject* Display(Object* clip);
    MovieClip* DisplayClip(Object* clip);

    RuntimeClips* Runtime() override { return this; }
    MoviePlayer& Player() { return player; }
    Vm& GetVm() { return vm; }
    MovieScripts& Scripts() { return scripts; }
    ExportNames& Exports() { return exports; }

    // What Stage and Mouse set: kept for the movie, the device's view
    // placement is the player's own.
    struct Stage {
        std::string scaleMode = "showAll";
        std::string align;
        bool showMenu = true;
        bool pointerShown = true;
    };
    Stage& StageSettings() { return stage; }
    // The object with the keyboard focus (Selection).
    std::optional<DisplayHandle>& Focus() { return focus; }

    // The depth scripts see (getDepth); the root's is its own.
    std::int64_t ScriptDepth(const DisplayObject& object) const;
    // swapDepths to a script depth already checked to be in range.
    void SwapDepths(DisplayObject& object, std::int64_t scriptDepth);
    // getBytesLoaded and getBytesTotal.
    std::size_t BytesOf(const MovieClip& clip) const;
    // unloadMovie: the clip keeps its place and loses what it holds.
    void Unload(MovieClip& clip);
    // hitTest(x, y, shapeFlag) at a stage point in twips.
    bool HitTestPoint(const DisplayObject& object, double x, double y, bool shape);
    // setMask: mask (null to clear) masks object.
    void SetMask(DisplayObject& object, DisplayObject* mask);
    // The object a target path names ("/a/b", "_root.a", "../b", "b"),
    // relative to the clip `from` where it is relative.
    DisplayObject* FindTarget(std::string_view path, Object* from);
    // The class Object.registerClass gave the symbol the object shows.
    Object* RegisteredClass(const DisplayObject& object);

    // The text fields on stage bound to a variable.
    std::vector<EditTextObject*> BoundFields();
    // Forgets script objects whose display objects are gone (their objects
    // stay while a script holds them, resolving by path).
    void Prune();

    Object* Level(int level) override;
    Object* Parent(Object* clip) override;
    Object* Child(Object* clip, String* name, int version) override;
    std::string SlashPath(Object* clip) override;
    std::string DotPath(Object* clip) override;
    bool Alive(Object* clip) override;
    Object* Live(Object* clip) override;
    void ChildNames(Object* clip, std::vector<String*>& names) override;

    Value GetProperty(Object* clip, ClipProperty property) override;
    void SetProperty(Object* clip, ClipProperty property, const Value& value) override;

    void GotoFrame(Object* clip, std::size_t frame, bool play) override;
    bool GotoLabel(Object* clip, std::string_view label, bool play) override;
    void Play(Object* clip) override;
    void Stop(Object* clip) override;
    void NextFrame(Object* clip) override;
    void PrevFrame(Object* clip) override;
    std::size_t CurrentFrame(Object* clip) override;
    std::size_t FramesLoaded(Object* clip) override;
    std::size_t TotalFrames(Object* clip) override;
    std::optional<std::size_t> FindLabel(Object* clip, std::string_view label) override;
    void CallFrame(Object* clip, std::size_t frame) override;

    Object* Duplicate(Object* clip, std::string_view name, int depth) override;
    void Remove(Object* clip) override;
    void StartDrag(Object* clip, bool lockCenter,
                   std::optional<std::array<double, 4>> bounds) override;
    void StopDrag() override;
    void StopSounds() override;
    void ToggleQuality() override;
    void RequestUrl(Object* clip, const UrlRequest& request) override;

    void TraceRoots(Tracer& tracer) const override;

private:
    std::string PathOf(const DisplayObject& object) const;
    DisplayObject* FindByPath(std::string_view path) const;
    Value GetTransformProperty(DisplayObject& object, ClipObject& clip, ClipProperty property);
    void SetTransformProperty(DisplayObject& object, ClipObject& clip, ClipProperty property,
                              double value);

    MoviePlayer& player;
    Vm& vm;
    MovieScripts& scripts;
    std::unordered_map<DisplayHandle, ClipObject*> objects;
    ExportNames exports;
    Stage stage;
    std::optional<DisplayHandle> dragged;
    std::optional<DisplayHandle> focus;
    std::int64_t rootDepth = -16384;
    int quality = 2; // 0 low, 1 medium, 2 high, 3 best
    bool focusRectShown = true;
};

} // namespace swf::script
