// Function: the prototype of every function, with call and apply.
#include "swf/script/ArrayObject.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

Completion Construct(NativeCall& call) {
    // Flash cannot compile code at run time: new Function() is a plain
    // object, Function(x) gives x back.
    if (call.constructing) {
        return call.thisValue;
    }
    return call.Arg(0);
}

// call and apply with undefined or null for this call the function with no
// this at all.
Completion Call(NativeCall& call) {
    const Value self = call.Arg(0);
    const std::span<const Value> rest =
        call.args.size() > 1 ? call.args.subspan(1) : std::span<const Value>();
    // The function's this is always an object: a primitive is boxed once
    // for the call, and without one (none, undefined or null) the function
    // gets a fresh object of no class, unlike apply.
    const Value thisValue =
        Value(self.IsNullish() ? call.vm.NewObject(nullptr) : call.vm.ToObject(self));
    return call.vm.Call(call.thisValue, thisValue, rest);
}

Completion Apply(NativeCall& call) {
    Vm& vm = call.vm;
    const Value self = call.Arg(0);
    std::vector<Value> args;
    if (Object* list = call.Arg(1).ObjectOrNull()) {
        const Completion length = vm.GetMember(list, vm.N().length);
        if (length.IsAbrupt()) {
            return length;
        }
        const auto n = vm.ToNumber(length.GetValue());
        if (!n) {
            return n.Abrupt();
        }
        const double count = *n > 0 ? std::min(*n, 65536.0) : 0;
        for (std::size_t i = 0; i < std::size_t(count); ++i) {
            const Completion element = vm.GetMember(list, vm.IndexName(i));
            if (element.IsAbrupt()) {
                return element;
            }
            args.push_back(element.GetValue());
        }
    }
    return vm.Call(call.thisValue, self.IsNullish() ? Value() : self, args);
}

constexpr Method prototypeMethods[] = {
    {"apply", Apply, 6},
    {"call", Call, 6},
};

} // namespace

void InstallFunction(Vm& vm) {
    BuiltinObjects& b = vm.Builtins();
    FunctionObject* constructor = vm.NewNativeFunction(Construct);
    b.functionConstructor = constructor;
    constexpr std::uint16_t classFlags = PropertyFlag::DontEnum | PropertyFlag::DontDelete;
    vm.DefineOwn(constructor, vm.N().proto, Value(b.functionPrototype),
                 classFlags | PropertyFlag::Version6);
    vm.DefineOwn(constructor, vm.N().constructor, Value(constructor), classFlags);
    vm.DefineOwn(constructor, vm.N().prototype, Value(b.functionPrototype), classFlags);
    vm.DefineOwn(b.functionPrototype, vm.N().constructor, Value(constructor),
                 PropertyFlag::DontEnum | PropertyFlag::DontDelete);
    AddMethods(vm, b.functionPrototype, prototypeMethods);
    AddGlobal(vm, "Function", Value(constructor), 6);
}

} // namespace swf::script::builtins
