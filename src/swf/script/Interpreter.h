// Runs the actions of an activation's range, one action record at a time,
// until the range ends, a Return, or a throw or abort it cannot handle.
#pragma once

#include "swf/script/Completion.h"

namespace swf::script {

class Vm;
struct Activation;

Completion Interpret(Vm& vm, Activation& activation);

} // namespace swf::script
