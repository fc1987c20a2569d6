// Number: the wrapper of numbers, its constants, and toString with a radix.
#include <limits>

#include "swf/script/NumberText.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

Object* MakeInstance(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<Object>(ObjectClass::Number);
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    object->SetPrimitive(Value(0.0));
    return object;
}

Completion Construct(NativeCall& call) {
    double value = 0;
    if (call.Has(0)) {
        const auto n = call.vm.ToNumber(call.Arg(0));
        if (!n) {
            return n.Abrupt();
        }
        value = *n;
    }
    if (call.constructing) {
        if (Object* self = call.ThisObject()) {
            self->SetPrimitive(Value(value));
        }
        return call.thisValue;
    }
    return Value(value);
}

std::optional<double> ThisNumber(const NativeCall& call) {
    if (call.thisValue.IsNumber()) {
        return call.thisValue.AsNumber();
    }
    if (Object* self = ThisOfClass(call, ObjectClass::Number)) {
        return self->Primitive().IsNumber() ? self->Primitive().AsNumber() : 0.0;
    }
    return std::nullopt;
}

Completion ToString(NativeCall& call) {
    const auto value = ThisNumber(call);
    if (!value) {
        return Value();
    }
    int radix = 10;
    if (call.Has(0) && !call.Arg(0).IsUndefined()) {
        const auto r = call.vm.ToNumber(call.Arg(0));
        if (!r) {
            return r.Abrupt();
        }
        radix = ToInt32(*r);
    }
    return Value(call.vm.NewString(NumberToStringRadix(*value, radix)));
}

Completion ValueOf(NativeCall& call) {
    const auto value = ThisNumber(call);
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

void InstallNumber(Vm& vm) {
    const ClassParts parts = MakeClass(vm, Construct, vm.Builtins().objectPrototype);
    parts.constructor->makeInstance = MakeInstance;
    AddMethods(vm, parts.prototype, prototypeMethods);
    vm.RegisterNative(106, 1, ToString);
    vm.RegisterNative(106, 2, Construct);
    using limits = std::numeric_limits<double>;
    Object* c = parts.constructor;
    AddValue(vm, c, "MAX_VALUE", Value(limits::max()), 5, PropertyFlag::ReadOnly);
    AddValue(vm, c, "MIN_VALUE", Value(limits::denorm_min()), 5, PropertyFlag::ReadOnly);
    AddValue(vm, c, "NaN", Value(limits::quiet_NaN()), 5, PropertyFlag::ReadOnly);
    AddValue(vm, c, "NEGATIVE_INFINITY", Value(-limits::infinity()), 5, PropertyFlag::ReadOnly);
    AddValue(vm, c, "POSITIVE_INFINITY", Value(limits::infinity()), 5, PropertyFlag::ReadOnly);
    vm.Builtins().numberPrototype = parts.prototype;
    vm.Builtins().numberConstructor = parts.constructor;
    AddGlobal(vm, "Number", Value(parts.constructor));
}

} // namespace swf::script::builtins
