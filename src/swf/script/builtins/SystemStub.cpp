#include "swf/script/builtins/Builtins.h"

namespace swf::script::builtins {

void InstallSystem(Vm&) {}

} // namespace swf::script::builtins
