// XMLNode and XML, the classes scripts build and read XML trees with.
#pragma once

#include "swf/script/Vm.h"

namespace swf::script::xml {

void InstallXml(Vm& vm);

} // namespace swf::script::xml
