// TextField and TextFormat as scripts see them.
#pragma once

#include "swf/script/Vm.h"
#include "swf/script/text/CharFormat.h"

namespace swf::script {

void InstallTextFormat(Vm& vm);
// TextField, and createTextField on MovieClip.prototype (after InstallMovieClip).
void InstallTextField(Vm& vm);
// TextField.StyleSheet, on the TextField constructor.
void InstallStyleSheet(Vm& vm, Object* textFieldConstructor);
// Selection (after AsBroadcaster).
void InstallSelection(Vm& vm);

// A text field's native properties, put on the current TextField.prototype
// when a field is made (from SWF 6), as Flash does.
void InstallTextFieldProperties(Vm& vm);
// _global.TextField.prototype as it is now, if it is an object.
Object* CurrentTextFieldPrototype(Vm& vm);

namespace text {

// What a TextFormat object sets (its null and undefined properties set nothing).
ScriptResult<FormatChange> ReadTextFormat(Vm& vm, Object* format);
// A new TextFormat with the change's values, null where it has none.
Object* MakeTextFormat(Vm& vm, const FormatChange& change);

} // namespace text

} // namespace swf::script
