#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

} // namespace

std::uint16_t VersionFlags(int version) {
    switch (version) {
    case 6:
        return PropertyFlag::Version6;
    case 7:
        return PropertyFlag::Version7;
    case 8:
        return PropertyFlag::Version8;
    case 9:
        return PropertyFlag::Version9;
    default:
        return 0;
    }
}

FunctionObject* MakeFunction(Vm& vm, NativeFunction function, int) {
    FunctionObject* f = vm.NewNativeFunction(function);
    vm.DefineOwn(f, vm.N().proto, Value(vm.Builtins().functionPrototype),
                 hiddenPermanent | PropertyFlag::Version6);
    f->SetPrototypeCache(vm.Builtins().functionPrototype);
    vm.DefineOwn(f, vm.N().constructor, Value(vm.Builtins().functionConstructor), hiddenPermanent);
    return f;
}

void GiveFunctionPrototype(Vm& vm, FunctionObject* function) {
    Object* prototype = vm.NewObject();
    vm.DefineOwn(prototype, vm.N().constructor, Value(function), hiddenPermanent);
    vm.DefineOwn(function, vm.N().prototype, Value(prototype), hiddenPermanent);
}

void AddMethods(Vm& vm, Object* target, std::span<const Method> methods, std::uint16_t extraFlags) {
    for (const Method& m : methods) {
        FunctionObject* function = MakeFunction(vm, m.function, m.version);
        if (m.withPrototype) {
            GiveFunctionPrototype(vm, function);
        }
        vm.DefineOwn(target, m.name, Value(function),
                     hiddenPermanent | VersionFlags(m.version) | extraFlags);
    }
}

void AddValue(Vm& vm, Object* target, std::string_view name, Value value, int version,
              std::uint16_t extraFlags) {
    vm.DefineOwn(target, name, value, hiddenPermanent | VersionFlags(version) | extraFlags);
}

ClassParts MakeClass(Vm& vm, NativeFunction constructor, Object* parentPrototype, bool readOnly) {
    ClassParts parts;
    parts.constructor = vm.NewNativeFunction(constructor);
    const std::uint16_t classFlags =
        hiddenPermanent | (readOnly ? PropertyFlag::ReadOnly : std::uint16_t(0));
    vm.DefineOwn(parts.constructor, vm.N().proto, Value(vm.Builtins().functionPrototype),
                 classFlags | PropertyFlag::Version6);
    vm.DefineOwn(parts.constructor, vm.N().constructor, Value(vm.Builtins().functionConstructor),
                 classFlags);
    parts.prototype = vm.GetHeap().Make<Object>();
    if (parentPrototype) {
        vm.DefineOwn(parts.prototype, vm.N().proto, Value(parentPrototype), hiddenPermanent);
    }
    vm.DefineOwn(parts.prototype, vm.N().constructor, Value(parts.constructor), hiddenPermanent);
    vm.DefineOwn(parts.constructor, vm.N().prototype, Value(parts.prototype), classFlags);
    return parts;
}

void AddGlobal(Vm& vm, std::string_view name, Value value, int version) {
    // Hidden, but a script may delete a class of _global.
    vm.DefineOwn(vm.Global(), name, value, PropertyFlag::DontEnum | VersionFlags(version));
}

Object* ThisOfClass(const NativeCall& call, ObjectClass kind) {
    Object* self = call.ThisObject();
    return self && self->Class() == kind ? self : nullptr;
}

} // namespace swf::script::builtins
