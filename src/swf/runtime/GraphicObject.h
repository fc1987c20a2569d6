// The objects drawn from their definition alone: shapes, morph shapes (at
// their ratio), static text and video; and text fields, which hold the text
// a script gives them.
#pragma once

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

    const EditText& Field() const;
    // What the field shows: the text a script set, or the definition's initial text.
    const std::string& Text() const;
    void SetText(std::string value);

private:
    std::optional<std::string> text;
};

} // namespace swf
