// What an edit field's text comes to before it is laid out: its characters
// with HTML taken away, and the device font that stands in for its font.
#pragma once

#include <string>

#include "swf/format/CharacterModel.h"

namespace swf {

// The text an edit field shows: HTML reduced to its characters, with line
// breaks for <br> and </p>, and the common entities decoded.
std::string PlainFieldText(const EditText& field);

// The device font that stands in for a font name a movie asks for.
std::string DeviceFontFamily(const std::string& name);

} // namespace swf
