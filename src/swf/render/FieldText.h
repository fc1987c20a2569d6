// What an edit field's text comes to before it is laid out: its characters
// with HTML taken away, and the device font that stands in for its font.
#pragma once

#include <string>

#include "swf/format/CharacterModel.h"

namespace swf {

// The text an edit field shows: HTML reduced to its characters, with line
// breaks for <br> and </p>, and the common entities decoded.
std::string PlainFieldText(const EditText& field);

// The device font that stands in for a font name a movie asks for: Flash's
// own names (_sans, _serif, _typewriter and their Japanese forms) and the
// common faces of the time, each with the device's face of its kind.
std::string DeviceFontFamily(const std::string& name);

// How an HTML field spaces its characters, from its first <font> tag's
// LETTERSPACING (pixels, may be negative) and KERNING attributes.
struct FieldSpacing {
    double letterSpacing = 0.0; // twips added after each character
    bool kerning = false;
    bool operator==(const FieldSpacing&) const = default;
};
FieldSpacing SpacingOf(const EditText& field);

} // namespace swf
