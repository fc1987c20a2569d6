// Video: the class of video objects. A video object shows what attachVideo
// gives it, a camera or a network stream; the device has neither (no camera,
// and streams are not played), so attachVideo takes nothing to show and
// clear has no picture to clear.
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/ClipMethods.h"

namespace swf::script {

namespace {

Completion Construct(NativeCall& call) {
    return call.constructing ? call.thisValue : Value();
}

Completion NothingToShow(NativeCall&) {
    return Value();
}

constexpr builtins::Method methods[] = {
    {"attachVideo", NothingToShow, 5},
    {"clear", NothingToShow, 5},
};

} // namespace

void InstallVideo(Vm& vm) {
    const builtins::ClassParts parts =
        builtins::MakeClass(vm, Construct, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, parts.prototype, methods);
    builtins::AddGlobal(vm, "Video", Value(parts.constructor), 6);
}

} // namespace swf::script
