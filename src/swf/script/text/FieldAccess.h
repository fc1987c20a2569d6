// A text field's display object with its FieldModel, found from its script
// object (or the display object itself), and how what scripts change in the
// model reaches the display object the renderer draws.
#pragma once

#include <optional>
#include <string>

#include "swf/runtime/GraphicObject.h"
#include "swf/script/Value.h"
#include "swf/script/text/FieldModel.h"

namespace swf::script {

class ClipObject;
class Object;
class RuntimeClips;
class Vm;

namespace text {

struct FieldAccess {
    ClipObject* object = nullptr;
    EditTextObject* display = nullptr;
    FieldModel* model = nullptr;
    explicit operator bool() const { return model != nullptr; }
};

// The field a script object stands for now; empty when it is not a text
// field or has left the stage.
FieldAccess AccessField(Vm& vm, RuntimeClips& clips, Object* self);
FieldAccess AccessField(Vm& vm, RuntimeClips& clips, EditTextObject& display);

// Passes the model's text and settings on to the display object.
void Show(const FieldAccess& field, int version);

// Variables bound to fields ("name", "path.name", "/path:name"), read and
// written on the timeline the path names from the field's parent.
std::optional<Value> BoundValue(Vm& vm, RuntimeClips& clips, const FieldAccess& field);
// False when the field has no variable or its path names no timeline.
bool SetBoundValue(Vm& vm, RuntimeClips& clips, const FieldAccess& field, const Value& value);

// A field placed on the stage: scripts see it from now, and its variable
// starts with its text where the variable has no value yet.
void FieldPlaced(Vm& vm, RuntimeClips& clips, EditTextObject& display);
// Once a frame: each bound field shows its variable's value.
void ShowBoundVariables(Vm& vm, RuntimeClips& clips);

} // namespace text

} // namespace swf::script
