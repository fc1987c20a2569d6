// Object: the root of every prototype chain, and the methods every object
// has: addProperty, hasOwnProperty, isPropertyEnumerable, isPrototypeOf,
// watch and unwatch, toString, toLocaleString, valueOf; and
// Object.registerClass.
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

Completion Construct(NativeCall& call) {
    Vm& vm = call.vm;
    if (call.Has(0) && call.Arg(0).IsObject()) {
        return call.Arg(0);
    }
    if (call.Has(0) && !call.Arg(0).IsNullish()) {
        return Value(vm.ToObject(call.Arg(0)));
    }
    if (call.constructing) {
        if (Object* self = call.ThisObject()) {
            // From SWF 7 new objects know their maker by __constructor__ only.
            if (call.Version() < 7) {
                vm.DefineOwn(self, vm.N().constructor, Value(call.callee), PropertyFlag::DontEnum);
            }
            return Value(self);
        }
    }
    // Object() as a function gives a bare object, with no prototype.
    return Value(vm.GetHeap().Make<Object>());
}

ScriptResult<String*> NameArgument(NativeCall& call) {
    const auto name = call.vm.ToString(call.Arg(0));
    if (!name) {
        return name;
    }
    return call.vm.Intern(*name);
}

Completion AddProperty(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!self || call.Count() < 3) {
        return Value(false);
    }
    const auto name = NameArgument(call);
    if (!name) {
        return name.Abrupt();
    }
    Object* getter = call.Arg(1).ObjectOrNull();
    Object* setter = call.Arg(2).ObjectOrNull();
    if ((*name)->Empty() || !getter || !getter->IsFunction()) {
        return Value(false);
    }
    if (setter && !setter->IsFunction()) {
        return Value(false);
    }
    if (!setter && !call.Arg(2).IsNull()) {
        return Value(false);
    }
    Property* p = vm.FindOwn(self, *name);
    if (!p) {
        p = &self->Properties().Add(*name, Value(), 0);
    }
    // The value stays underneath: __resolve is still read from it.
    p->getter = getter;
    p->setter = setter;
    return Value(true);
}

Completion HasOwnProperty(NativeCall& call) {
    // A primitive is asked as its wrapper object.
    Object* self = call.vm.ToObject(call.thisValue);
    if (!self || !call.Has(0)) {
        return Value(false);
    }
    const auto name = NameArgument(call);
    if (!name) {
        return name.Abrupt();
    }
    // A member of a later version counts, though this version cannot read it.
    return Value(self->Properties().FindListed(*name, call.Version()) != nullptr);
}

Completion IsPropertyEnumerable(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!self || !call.Has(0)) {
        return Value(false);
    }
    const auto name = NameArgument(call);
    if (!name) {
        return name.Abrupt();
    }
    const Property* p = call.vm.FindOwn(self, *name);
    return Value(p && p->Enumerable());
}

Completion IsPrototypeOf(NativeCall& call) {
    Object* self = call.ThisObject();
    Object* other = call.Arg(0).ObjectOrNull();
    if (!self || !other) {
        return Value(false);
    }
    int depth = 0;
    for (Object* o = other->VisiblePrototypeIn(call.Version()); o && depth < 256;
         o = o->VisiblePrototypeIn(call.Version()), ++depth) {
        if (o == self) {
            return Value(true);
        }
    }
    return Value(false);
}

Completion ToString(NativeCall& call) {
    Object* self = call.ThisObject();
    if (self && self->IsFunction()) {
        return Value(call.vm.N().typeFunction);
    }
    return Value(call.vm.N().objectObject);
}

Completion ToLocaleString(NativeCall& call) {
    return call.vm.CallMethod(call.thisValue, call.vm.N().toString, {});
}

Completion ValueOf(NativeCall& call) {
    return call.thisValue;
}

Completion Watch(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!self || call.Count() < 2) {
        return Value(false);
    }
    Object* callback = call.Arg(1).ObjectOrNull();
    if (!callback || !callback->IsFunction()) {
        return Value(false);
    }
    const auto name = NameArgument(call);
    if (!name) {
        return name.Abrupt();
    }
    const int version = call.Version();
    for (Watcher& w : self->Watchers()) {
        if (version >= 7 ? w.name == *name : w.name->Folded() == (*name)->Folded()) {
            w.callback = callback;
            w.userData = call.Arg(2);
            return Value(true);
        }
    }
    self->Watchers().push_back({*name, callback, call.Arg(2)});
    return Value(true);
}

Completion Unwatch(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!self || !call.Has(0) || !self->HasWatchers()) {
        return Value(false);
    }
    const auto name = NameArgument(call);
    if (!name) {
        return name.Abrupt();
    }
    const int version = call.Version();
    auto& watchers = self->Watchers();
    for (auto it = watchers.begin(); it != watchers.end(); ++it) {
        if (version >= 7 ? it->name == *name : it->name->Folded() == (*name)->Folded()) {
            watchers.erase(it);
            return Value(true);
        }
    }
    return Value(false);
}

Completion RegisterClass(NativeCall& call) {
    Vm& vm = call.vm;
    // SWF 5 code sees the function, but symbols get classes from SWF 6.
    if (call.Count() < 2 || call.Version() < 6) {
        return Value(false);
    }
    const auto name = NameArgument(call);
    if (!name) {
        return name.Abrupt();
    }
    Object* constructor = call.Arg(1).ObjectOrNull();
    auto& classes = vm.RegisteredClasses();
    for (auto& entry : classes) {
        if (entry.first->Folded() == (*name)->Folded()) {
            entry.second = constructor;
            return Value(true);
        }
    }
    classes.emplace_back(*name, constructor);
    return Value(true);
}

constexpr Method prototypeMethods[] = {
    {"addProperty", AddProperty, 6},
    {"hasOwnProperty", HasOwnProperty, 6},
    {"isPropertyEnumerable", IsPropertyEnumerable, 6},
    {"isPrototypeOf", IsPrototypeOf, 6},
    {"toLocaleString", ToLocaleString, 5, true},
    {"toString", ToString, 5},
    {"unwatch", Unwatch, 6},
    {"valueOf", ValueOf, 5},
    {"watch", Watch, 6},
};

constexpr Method staticMethods[] = {
    {"registerClass", RegisterClass, 5},
};

} // namespace

void InstallObject(Vm& vm) {
    BuiltinObjects& b = vm.Builtins();
    Heap& heap = vm.GetHeap();
    // The two prototypes every function needs exist before any function.
    b.objectPrototype = heap.Make<Object>();
    b.functionPrototype = heap.Make<Object>();
    vm.DefineOwn(b.functionPrototype, vm.N().proto, Value(b.objectPrototype),
                 PropertyFlag::DontEnum | PropertyFlag::DontDelete);

    FunctionObject* constructor = vm.NewNativeFunction(Construct);
    b.objectConstructor = constructor;
    constexpr std::uint16_t classFlags =
        PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::ReadOnly;
    vm.DefineOwn(constructor, vm.N().prototype, Value(b.objectPrototype), classFlags);
    vm.DefineOwn(b.objectPrototype, vm.N().constructor, Value(constructor),
                 PropertyFlag::DontEnum | PropertyFlag::DontDelete);

    Object* global = heap.Make<Object>();
    vm.SetPrototype(global, b.objectPrototype);
    vm.SetGlobal(global);
    AddGlobal(vm, "Object", Value(constructor));
}

// Called once Function exists: the methods need it for their constructor.
void InstallObjectMembers(Vm& vm) {
    BuiltinObjects& b = vm.Builtins();
    constexpr std::uint16_t classFlags =
        PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::ReadOnly;
    vm.DefineOwn(b.objectConstructor, vm.N().proto, Value(b.functionPrototype),
                 classFlags | PropertyFlag::Version6);
    vm.DefineOwn(b.objectConstructor, vm.N().constructor, Value(b.functionConstructor), classFlags);
    AddMethods(vm, b.objectPrototype, prototypeMethods);
    vm.RegisterNative(101, 5, HasOwnProperty);
    AddMethods(vm, b.objectConstructor, staticMethods, PropertyFlag::ReadOnly);
}

} // namespace swf::script::builtins
