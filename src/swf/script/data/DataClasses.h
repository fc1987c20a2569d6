// The classes a movie uses to talk to the world outside it (LoadVars,
// XMLSocket, LocalConnection, SharedObject, MovieClipLoader, FileReference,
// ExternalInterface, PrintJob) and the Accessibility object, with the members
// Flash gives them. The device has no network: connections fail as they do
// when no server answers.
#pragma once

#include <string_view>

#include "swf/script/Vm.h"

namespace swf::script::data {

void InstallLoadVars(Vm& vm);
void InstallConnectionClasses(Vm& vm);
void InstallPlayerServices(Vm& vm);
void InstallContextMenu(Vm& vm);

// The object a dotted package name ("flash.net") names under _global, made
// where missing; the package is seen from SWF 8, as Flash has it.
Object* PackageObject(Vm& vm, std::string_view dottedName);

// load(url): nothing is fetched yet, so the file is not found: onData
// hears undefined at the start of the second frame after.
Completion LoadFromUrl(NativeCall& call);

// onData(text): hands what came to the object's reader method (decode,
// parseXML), sets loaded to whether anything came, and tells onLoad.
Completion DeliverData(NativeCall& call, std::string_view reader);

// addRequestHeader(name, value) or addRequestHeader([name, value, ...]).
Completion AddRequestHeader(NativeCall& call);

// Hides a prototype's own "__proto__" and "constructor" from SWF 5, so that
// SWF 5 code finds nothing of Object.prototype through it, nor the class
// (LoadVars and MovieClipLoader).
void HideInheritanceFromSwf5(Vm& vm, Object* prototype);

// Decodes "name=value&..." into properties of target, unescaping both.
void DecodeVariables(Vm& vm, Object* target, std::string_view text);

} // namespace swf::script::data
