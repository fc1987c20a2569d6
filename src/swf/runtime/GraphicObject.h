// The objects drawn from their definition alone: shapes, morph shapes (at
// their ratio), static text and video; and text fields, which hold the text
// a script gives them.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "swf/runtime/DisplayObject.h"

namespace swf {

class GraphicObject final : public DisplayObject {
public:
    GraphicObject(RuntimeContext& context, const Character& definition);
};

class EditTextObject final : public DisplayObject {
public:
    EditTextObject(RuntimeContext& context, const Character& definition);
    // A field a script made (createTextField): it owns its definition.
    EditTextObject(RuntimeContext& context, std::unique_ptr<Character> own);

    // The definition with what scripts changed since (border, html, ...).
    const EditText& Field() const;
    // The settings a script changes; the first change copies the definition.
    EditText& ChangeField();
    // What the field shows: the text a script set, or the definition's initial text.
    const std::string& Text() const;
    void SetText(std::string value);

private:
    std::unique_ptr<Character> owned;
    std::optional<EditText> changed;
    std::optional<std::string> text;
};

} // namespace swf
