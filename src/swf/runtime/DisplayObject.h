// An object on stage: what the timeline placed or a script made, with its
// own identity (a handle that tells when it is gone), a parent, a depth and
// the properties a script can set. A property a script set stays as the
// script set it: the timeline's later moves leave it alone.
//
// Objects own their children; the player owns the root. Nothing outside the
// runtime makes or destroys them: the timeline does, and scripts ask their
// clips (MovieClip::CreateEmptyClip, DisplayObject::Remove, ...).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "swf/format/Basics.h"
#include "swf/format/CharacterModel.h"
#include "swf/format/ClipActions.h"
#include "swf/format/TimelineModel.h"
#include "swf/runtime/DisplayHandle.h"
#include "swf/runtime/SoundControl.h"

namespace swf {

class RuntimeContext;
class MovieClip;

enum class DisplayKind : std::uint8_t {
    Graphic,   // shape, morph shape, static text, video: drawn from its definition
    EditText,  // a text field
    Button,    // DefineButton, DefineButton2
    MovieClip, // a sprite, the main timeline, or a clip a script made
};

// The properties a script can take over from the timeline.
enum class ScriptProperty : std::uint8_t {
    Matrix,
    ColorTransform,
    Visible,
    BlendMode,
    Filters,
    CacheAsBitmap,
};

class DisplayObject {
public:
    virtual ~DisplayObject();
    DisplayObject(const DisplayObject&) = delete;
    DisplayObject& operator=(const DisplayObject&) = delete;

    DisplayKind Kind() const { return kind; }
    DisplayHandle Handle() const { return handle; }
    // The character it shows; nullptr for a clip a script made empty.
    const Character* Definition() const { return definition; }
    CharacterId CharacterIdOrZero() const { return definition ? definition->id : 0; }

    // The object holding it (a clip, or a button for the parts of its
    // states); nullptr for the root.
    DisplayObject* Parent() const { return parent; }
    // The nearest clip above it.
    MovieClip* ParentClip() const;
    Depth GetDepth() const { return depth; }
    const std::string& Name() const { return name; }

    const Matrix& GetMatrix() const { return matrix; }
    const ColorTransform& GetColorTransform() const { return colorTransform; }
    bool Visible() const { return visible; }
    std::uint8_t GetBlendMode() const { return blendMode; } // as BlendMode; 0 is normal
    const std::vector<Filter>& Filters() const { return filters; }
    bool CacheAsBitmap() const { return cacheAsBitmap; }
    std::uint16_t Ratio() const { return ratio; } // morph position
    Depth ClipDepth() const { return clipDepth; } // a mask up to this depth; 0: none

    // setMask: the object a script made this one's mask, and the object this
    // one masks (a mask is not drawn itself); nullptr when none or gone.
    DisplayObject* ScriptMask() const;
    DisplayObject* ScriptMasked() const;
    // Makes mask (nullptr: none) this object's mask. An object masks one
    // other at a time: taking it for a second frees the first.
    void SetScriptMask(DisplayObject* mask);

    // Setting a property from a script: the timeline no longer changes it.
    void SetMatrix(const Matrix& value);
    void SetColorTransform(const ColorTransform& value);
    void SetVisible(bool value);
    void SetBlendMode(std::uint8_t value);
    void SetFilters(std::vector<Filter> value);
    void SetCacheAsBitmap(bool value);
    void SetName(std::string value);
    bool ScriptOwns(ScriptProperty property) const;
    // What the clip's sounds pass through (a script's Sound on it sets it).
    const SoundTransform& GetSoundTransform() const { return soundTransform; }
    void SetSoundTransform(const SoundTransform& value) { soundTransform = value; }

    // Placed by the timeline (and still the timeline's: a script has not
    // made it or moved it to another depth), and in which frame.
    bool TimelineOwned() const { return timelineOwned; }
    std::size_t PlacedFrame() const { return placedFrame; }
    // Removed, and waiting for its unload event (or its parent's) to run.
    bool Unloading() const;

    // The clip actions PlaceObject gave it (event handlers of clips).
    const std::vector<ClipActionRecord>& ClipActions() const { return clipActions; }
    bool HasClipAction(ClipEvent event) const;

    // removeMovieClip: the object leaves its parent now, or, when it or an
    // object inside it handles unload, once its unload events have run.
    // Does nothing for the root or an object already leaving.
    void Remove();
    // swapDepths: moves to depth among its siblings, changing places with
    // the object there. Both become the script's. Returns false (and does
    // nothing) for the root or an object leaving.
    bool SwapDepths(Depth target);

protected:
    DisplayObject(RuntimeContext& context, DisplayKind kind, const Character* definition);

    // Something the picture shows changed.
    void Changed();

    RuntimeContext& context;

private:
    friend class TimelineExecutor;
    friend class ObjectRemoval;
    friend class MovieClip;
    friend class ButtonObject;

    // Sets the properties a PlaceObject carries, leaving what a script set.
    void ApplyPlacement(const PlaceObject& place);
    // The same, with what the tag leaves out as a new object has it.
    void ResetPlacement(const PlaceObject& place);
    void MarkScriptOwned(ScriptProperty property);

    const DisplayKind kind;
    DisplayHandle handle;
    const Character* definition; // borrowed from the movie
    DisplayObject* parent = nullptr;
    Depth depth = 0;
    std::string name;
    Matrix matrix;
    ColorTransform colorTransform;
    SoundTransform soundTransform;
    bool visible = true;
    std::uint8_t blendMode = 0;
    std::vector<Filter> filters;
    bool cacheAsBitmap = false;
    std::uint16_t ratio = 0;
    Depth clipDepth = 0;
    DisplayHandle scriptMask;     // what masks this object
    DisplayHandle scriptMasked;   // what this object masks
    std::uint8_t scriptOwned = 0; // ScriptProperty bits
    bool timelineOwned = false;
    std::size_t placedFrame = 0;
    bool unloading = false;
    std::vector<ClipActionRecord> clipActions;
};

} // namespace swf
