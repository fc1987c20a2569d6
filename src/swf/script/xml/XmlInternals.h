// What the XMLNode and XML classes share.
#pragma once

#include "swf/script/xml/XmlNodeObject.h"

namespace swf::script::xml {

// The XMLNode class _global has, if it is a function.
FunctionObject* NodeConstructor(Vm& vm);
// Puts a node's accessors on a prototype that lacks them.
void AddNodeAccessors(Vm& vm, Object* prototype);
// A node as the parser makes it: of XMLNode's prototype, with its own
// constructor.
XmlNodeObject* NewNode(Vm& vm, int type, const Value& nameOrValue);
XmlNodeObject* CloneTree(Vm& vm, XmlNodeObject* node, bool deep);
FunctionObject* InstallXmlNode(Vm& vm);

} // namespace swf::script::xml
