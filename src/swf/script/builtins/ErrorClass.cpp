// Error: what scripts throw by convention; message and name live on the
// prototype, and toString gives the message.
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

Completion Construct(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        self = vm.MakeInstance(call.callee);
    }
    if (call.Has(0) && !call.Arg(0).IsUndefined()) {
        const Completion set = vm.SetMember(self, vm.N().message, call.Arg(0));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value(self);
}

Completion ToString(NativeCall& call) {
    Vm& vm = call.vm;
    const Completion message = vm.GetMember(call.thisValue, vm.N().message);
    if (message.IsAbrupt()) {
        return message;
    }
    const auto text = vm.ToString(message.GetValue());
    if (!text) {
        return text.Abrupt();
    }
    return Value(*text);
}

constexpr Method prototypeMethods[] = {
    {"toString", ToString, 5},
};

} // namespace

void InstallError(Vm& vm) {
    const ClassParts parts = MakeClass(vm, Construct, vm.Builtins().objectPrototype);
    AddMethods(vm, parts.prototype, prototypeMethods);
    AddValue(vm, parts.prototype, "message", Value(vm.Intern("Error")));
    AddValue(vm, parts.prototype, "name", Value(vm.Intern("Error")));
    vm.Builtins().errorPrototype = parts.prototype;
    vm.Builtins().errorConstructor = parts.constructor;
    AddGlobal(vm, "Error", Value(parts.constructor));
}

} // namespace swf::script::builtins
