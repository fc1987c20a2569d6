#include "swf/runtime/GraphicObject.h"

namespace swf {

GraphicObject::GraphicObject(RuntimeContext& context, const Character& definition)
    : DisplayObject(context, DisplayKind::Graphic, &definition) {}

EditTextObject::EditTextObject(RuntimeContext& context, const Character& definition)
    : DisplayObject(context, DisplayKind::EditText, &definition) {}

EditTextObject::EditTextObject(RuntimeContext& context, std::unique_ptr<Character> own)
    : DisplayObject(context, DisplayKind::EditText, own.get()), owned(std::move(own)) {}

const EditText& EditTextObject::Field() const {
    return changed ? *changed : std::get<EditText>(Definition()->data);
}

EditText& EditTextObject::ChangeField() {
    if (!changed) {
        changed = std::get<EditText>(Definition()->data);
    }
    Changed();
    return *changed;
}

const std::string& EditTextObject::Text() const {
    static const std::string none;
    if (text) {
        return *text;
    }
    return Field().initialText ? *Field().initialText : none;
}

void EditTextObject::SetText(std::string value) {
    if (Text() != value) {
        text = std::move(value);
        Changed();
    }
}

} // namespace swf
