// Boolean: the wrapper of true and false.
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

Object* MakeInstance(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<Object>(ObjectClass::Boolean);
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    object->SetPrimitive(Value(false));
    return object;
}

Completion Construct(NativeCall& call) {
    const bool value = call.vm.ToBoolean(call.Arg(0));
    if (call.constructing) {
        if (Object* self = call.ThisObject()) {
            self->SetPrimitive(Value(value));
        }
        return call.thisValue;
    }
    if (!call.Has(0)) {
        return Value();
    }
    return Value(value);
}

// The boolean this stands for, if it is one.
std::optional<bool> ThisBoolean(const NativeCall& call) {
    if (call.thisValue.IsBoolean()) {
        return call.thisValue.AsBoolean();
    }
    if (Object* self = ThisOfClass(call, ObjectClass::Boolean)) {
        return self->Primitive().IsBoolean() && self->Primitive().AsBoolean();
    }
    return std::nullopt;
}

Completion ToString(NativeCall& call) {
    const auto value = ThisBoolean(call);
    if (!value) {
        return Value();
    }
    return Value(*value ? call.vm.N().trueName : call.vm.N().falseName);
}

Completion ValueOf(NativeCall& call) {
    const auto value = ThisBoolean(call);
    if (!value) {
        return Value();
    }
    return Value(*value);
}

constexpr Method prototypeMethods[] = {
    {"toString", ToString, 5},
    {"valueOf", ValueOf, 5},
};

} // namespace

void InstallBoolean(Vm& vm) {
    const ClassParts parts =
        MakeClass(vm, Construct, vm.Builtins().objectPrototype, /*readOnly=*/false);
    parts.constructor->makeInstance = MakeInstance;
    AddMethods(vm, parts.prototype, prototypeMethods);
    vm.Builtins().booleanPrototype = parts.prototype;
    vm.Builtins().booleanConstructor = parts.constructor;
    AddGlobal(vm, "Boolean", Value(parts.constructor));
}

} // namespace swf::script::builtins
