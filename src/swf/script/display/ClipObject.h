// The script object of a display object (a movie clip, a button or a text
// field): the variables of its timeline are its properties; its display
// properties ("_x", "_alpha", ...) and its children by instance name are
// read through the ClipHost. It keeps the display object's handle and the
// target path it was last known by, so that a reference kept after the
// object left finds the object placed at that path since, as Flash does.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "swf/format/Basics.h"
#include "swf/runtime/DisplayHandle.h"
#include "swf/script/Object.h"
#include "swf/script/text/FieldModel.h"

namespace swf::script {

class ClipObject final : public Object {
public:
    ClipObject(ObjectClass kind, DisplayHandle handle, std::string path)
        : Object(kind), handle(handle), path(std::move(path)) {}
    ~ClipObject() override;

    DisplayHandle Handle() const { return handle; }
    // "_level0.a.b", as it was when the object was last seen.
    const std::string& Path() const { return path; }
    void SetPath(std::string value) { path = std::move(value); }

    // _xscale, _yscale and _rotation as a script set them, so that they read
    // back as set rather than as the matrix's rounded decomposition. Valid
    // while the object's matrix is still `matrix`.
    struct Decomposition {
        Matrix matrix;
        double xScale = 100.0;
        double yScale = 100.0;
        double rotation = 0.0;
        bool valid = false;
    };
    Decomposition& Transform() { return decomposition; }

    // A text field's characters and settings as scripts see them, made
    // from its definition when a script first needs them.
    std::unique_ptr<text::FieldModel>& TextModel() { return textModel; }

    // _focusrect as a script set it on this object; none until then.
    std::optional<bool>& FocusRect() { return focusRect; }
    // A text field's styleSheet: the object a script gave it, or undefined.
    Value& StyleSheet() { return styleSheet; }

    void Trace(Tracer& tracer) const override {
        Object::Trace(tracer);
        tracer.Visit(styleSheet);
    }

    bool GetSpecial(Vm& vm, String* name, Value& out) override;
    bool SetSpecial(Vm& vm, String* name, const Value& value) override;
    void ExtraEnumerable(Vm& vm, std::vector<String*>& names) override;

private:
    const DisplayHandle handle;
    std::string path;
    Decomposition decomposition;
    std::unique_ptr<text::FieldModel> textModel;
    std::optional<bool> focusRect;
    Value styleSheet;
};

inline bool IsDisplayObject(const Object* object) {
    const ObjectClass kind = object->Class();
    return kind == ObjectClass::Clip || kind == ObjectClass::Button ||
           kind == ObjectClass::TextField;
}

} // namespace swf::script
