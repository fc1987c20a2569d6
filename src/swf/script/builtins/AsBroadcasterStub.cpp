#include "swf/script/builtins/Builtins.h"

namespace swf::script::builtins {

void InstallAsBroadcaster(Vm&) {}

} // namespace swf::script::builtins
