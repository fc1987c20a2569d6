#include "swf/script/geom/GeomSupport.h"

#include <string>

#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::geom {

namespace {

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

// holder.name: the object there, or a new one when there is nothing (a
// value a script put there instead is left alone: then there is none).
Object* OwnObject(Vm& vm, Object* holder, std::string_view name, std::uint16_t flags) {
    if (!holder) {
        return nullptr;
    }
    String* key = vm.Intern(name);
    if (const Property* p = holder->Properties().Find(key, 9)) {
        return p->IsAccessor() ? nullptr : p->value.ObjectOrNull();
    }
    Object* made = vm.NewObject();
    vm.DefineOwn(holder, key, Value(made), flags);
    return made;
}

} // namespace

Object* Package(Vm& vm, std::string_view name) {
    // The packages are there from SWF 8; older movies can uncover them.
    Object* flash =
        OwnObject(vm, vm.Global(), "flash", hiddenPermanent | builtins::VersionFlags(8));
    return OwnObject(vm, flash, name, hiddenPermanent);
}

Object* FindPackage(Vm& vm, std::string_view name) {
    const Property* flash = vm.Global()->Properties().Find(vm.Intern("flash"), 9);
    Object* holder = flash && !flash->IsAccessor() ? flash->value.ObjectOrNull() : nullptr;
    const Property* p = holder ? holder->Properties().Find(vm.Intern(name), 9) : nullptr;
    return p && !p->IsAccessor() ? p->value.ObjectOrNull() : nullptr;
}

void AddAccessor(Vm& vm, Object* target, std::string_view name, NativeFunction getter,
                 NativeFunction setter, std::uint16_t flags) {
    String* key = vm.Intern(name);
    Property* p = target->Properties().Find(key, 9);
    if (!p) {
        p = &target->Properties().Add(key, Value(), flags);
    }
    p->value = Value();
    p->flags = flags;
    p->getter = builtins::MakeFunction(vm, getter);
    p->setter = setter ? builtins::MakeFunction(vm, setter) : nullptr;
}

FunctionObject* MakeScriptLikeFunction(Vm& vm, NativeFunction function) {
    FunctionObject* f = builtins::MakeFunction(vm, function);
    Object* prototype = vm.NewObject();
    vm.DefineOwn(prototype, vm.N().constructor, Value(f), hiddenPermanent);
    vm.DefineOwn(f, vm.N().prototype, Value(prototype), hiddenPermanent);
    return f;
}

void AddScriptMethods(Vm& vm, Object* target, std::span<const ScriptMethod> methods) {
    for (const ScriptMethod& m : methods) {
        vm.DefineOwn(target, m.name, Value(MakeScriptLikeFunction(vm, m.function)));
    }
}

builtins::ClassParts MakeScriptLikeClass(Vm& vm, Object* package, std::string_view name,
                                         NativeFunction constructor) {
    builtins::ClassParts parts;
    parts.constructor = MakeScriptLikeFunction(vm, constructor);
    parts.prototype =
        parts.constructor->Properties().Find(vm.N().prototype, 9)->value.ObjectOrNull();
    vm.SetPrototype(parts.prototype, vm.Builtins().objectPrototype);
    vm.DefineOwn(package, name, Value(parts.constructor));
    return parts;
}

Completion ConstructGeom(Vm& vm, std::string_view className, std::span<const Value> args) {
    const Completion found = Read(vm, Value(FindPackage(vm, "geom")), className);
    if (found.IsAbrupt()) {
        return found;
    }
    return vm.Construct(found.GetValue(), args);
}

void MarkInstance(NativeCall& call) {
    Object* self = call.ThisObject();
    if (call.constructing && self && call.vm.Version() == 6) {
        call.vm.DefineOwn(self, call.vm.N().constructor, Value(call.callee),
                          PropertyFlag::DontEnum);
    }
}

Completion Read(Vm& vm, const Value& base, std::string_view name) {
    return vm.GetMember(base, vm.Intern(name));
}

Completion Write(Vm& vm, Object* object, std::string_view name, const Value& value) {
    return vm.SetMember(object, vm.Intern(name), value);
}

Completion JoinMembers(Vm& vm, const Value& self, std::initializer_list<LabelledMember> members) {
    // As "(x=" + this.x + ", y=" + this.y + ")" does: each member read and
    // converted in turn.
    std::string text = "(";
    bool first = true;
    for (const LabelledMember& member : members) {
        const Completion got = Read(vm, self, member.name);
        if (got.IsAbrupt()) {
            return got;
        }
        const auto primitive = vm.ToPrimitive(got.GetValue(), PrimitiveHint::Addend);
        if (!primitive) {
            return primitive.Abrupt();
        }
        const auto joined = vm.AddendToString(*primitive);
        if (!joined) {
            return joined.Abrupt();
        }
        text += first ? "" : ", ";
        first = false;
        text += member.label;
        text += '=';
        text += (*joined)->View();
    }
    text += ')';
    return Value(vm.NewString(std::move(text)));
}

} // namespace swf::script::geom
