#include "swf/script/builtins/Builtins.h"

namespace swf::script::builtins {

void InstallDate(Vm&) {}

} // namespace swf::script::builtins
