// AsBroadcaster: turns any object into one that keeps listeners and calls a
// method of each. initialize copies AsBroadcaster's addListener and
// removeListener as they are now (a script may have replaced them) and
// gives broadcastMessage from ASnative, as Flash's own initialize does.
#include <algorithm>

#include "swf/script/ArrayObject.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

// The listeners array of this, if it is an array.
ArrayObject* ListenersOf(NativeCall& call, Completion& failure) {
    Object* self = call.ThisObject();
    if (!self) {
        return nullptr;
    }
    const Completion listeners = call.vm.GetMember(self, call.vm.Intern("_listeners"));
    if (listeners.IsAbrupt()) {
        failure = listeners;
        return nullptr;
    }
    Object* array = listeners.GetValue().ObjectOrNull();
    return array && array->Class() == ObjectClass::Array ? static_cast<ArrayObject*>(array)
                                                         : nullptr;
}

// The index of a listener equal to value, or -1.
Completion IndexOf(NativeCall& call, ArrayObject* listeners, const Value& value, double& at) {
    at = -1;
    const std::vector<Value> elements = listeners->Elements(call.vm);
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const auto equal = call.vm.LooseEquals(elements[i], value);
        if (!equal) {
            return equal.Abrupt();
        }
        if (*equal) {
            at = double(i);
            return Value();
        }
    }
    return Value();
}

Completion Splice(NativeCall& call, ArrayObject* listeners, double at) {
    const Value args[] = {Value(at), Value(1.0)};
    return call.vm.CallMethod(Value(listeners), call.vm.Intern("splice"), args);
}

Completion AddListener(NativeCall& call) {
    Completion failure;
    ArrayObject* listeners = ListenersOf(call, failure);
    if (!listeners) {
        return failure.IsAbrupt() ? failure : Value(true);
    }
    // A listener is there once: added again, it moves to the end.
    double at = -1;
    const Completion found = IndexOf(call, listeners, call.Arg(0), at);
    if (found.IsAbrupt()) {
        return found;
    }
    if (at >= 0) {
        const Completion removed = Splice(call, listeners, at);
        if (removed.IsAbrupt()) {
            return removed;
        }
    }
    const Value args[] = {call.Arg(0)};
    const Completion pushed = call.vm.CallMethod(Value(listeners), call.vm.Intern("push"), args);
    return pushed.IsAbrupt() ? pushed : Value(true);
}

Completion RemoveListener(NativeCall& call) {
    Completion failure;
    ArrayObject* listeners = ListenersOf(call, failure);
    if (!listeners) {
        return failure.IsAbrupt() ? failure : Value(false);
    }
    double at = -1;
    const Completion found = IndexOf(call, listeners, call.Arg(0), at);
    if (found.IsAbrupt() || at < 0) {
        return found.IsAbrupt() ? found : Value(false);
    }
    const Completion removed = Splice(call, listeners, at);
    return removed.IsAbrupt() ? removed : Value(true);
}

// The elements of a listener list: an array's, or, for any other object,
// those its length counts.
Completion ListElements(Vm& vm, Object* list, std::vector<Value>& elements) {
    if (list->Class() == ObjectClass::Array) {
        elements = static_cast<ArrayObject*>(list)->Elements(vm);
        return Value();
    }
    const Completion length = vm.GetMember(list, vm.N().length);
    if (length.IsAbrupt()) {
        return length;
    }
    const auto n = vm.ToNumber(length.GetValue());
    if (!n) {
        return n.Abrupt();
    }
    for (std::size_t i = 0; *n > 0 && i < std::size_t(std::min(*n, 1e6)); ++i) {
        const Completion element = vm.GetMember(list, vm.IndexName(i));
        if (element.IsAbrupt()) {
            return element;
        }
        elements.push_back(element.GetValue());
    }
    return Value();
}

// broadcastMessage(name, args...): calls name on every listener there was
// when it started; true when one of them was a value, else undefined. The
// listeners may be any object with a length.
Completion BroadcastMessage(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!self || !call.Has(0)) {
        return Value();
    }
    const Completion list = vm.GetMember(self, vm.Intern("_listeners"));
    if (list.IsAbrupt() || !list.GetValue().IsObject()) {
        return list.IsAbrupt() ? list : Value();
    }
    std::vector<Value> elements;
    const Completion listed = ListElements(vm, list.GetValue().AsObject(), elements);
    if (listed.IsAbrupt()) {
        return listed;
    }
    if (std::all_of(elements.begin(), elements.end(),
                    [](const Value& v) { return v.IsNullish(); })) {
        return Value();
    }
    const auto name = vm.ToString(call.Arg(0));
    if (!name) {
        return name.Abrupt();
    }
    const std::vector<Value> args(call.args.begin() + 1, call.args.end());
    for (const Value& listener : elements) {
        TemporaryRoot keep(vm, listener);
        const Completion called = vm.CallMethod(listener, *name, args);
        if (called.IsAbrupt()) {
            return called;
        }
    }
    return Value(true);
}

// The members initialize gives a target: AsBroadcaster's addListener and
// removeListener, a broadcastMessage of its own, and an empty _listeners.
struct BroadcasterMembers {
    Value addListener;
    Value removeListener;
    Value broadcastMessage;
};

void GiveBroadcasterMembers(Vm& vm, Object* target, const BroadcasterMembers& members,
                            std::uint16_t flags) {
    vm.DefineOwn(target, "broadcastMessage", members.broadcastMessage, flags);
    vm.DefineOwn(target, "addListener", members.addListener, flags);
    vm.DefineOwn(target, "removeListener", members.removeListener, flags);
    // An array Flash makes itself has its constructor as its own property.
    ArrayObject* listeners = vm.NewArray();
    vm.DefineOwn(listeners, vm.N().constructor, Value(vm.Builtins().arrayConstructor),
                 hiddenPermanent);
    vm.DefineOwn(target, "_listeners", Value(listeners), flags);
}

Completion Initialize(NativeCall& call) {
    Vm& vm = call.vm;
    Object* target = call.Arg(0).ObjectOrNull();
    if (!target) {
        return Value();
    }
    const Completion self = vm.GetMember(vm.Global(), vm.Intern("AsBroadcaster"));
    if (self.IsAbrupt()) {
        return self;
    }
    // broadcastMessage comes from ASnative as _global has it now.
    const Value numbers[] = {Value(101.0), Value(12.0)};
    const Completion broadcast = vm.CallMethod(Value(vm.Global()), vm.Intern("ASnative"), numbers);
    if (broadcast.IsAbrupt()) {
        return broadcast;
    }
    const Completion add = vm.GetMember(self.GetValue(), vm.Intern("addListener"));
    const Completion remove = vm.GetMember(self.GetValue(), vm.Intern("removeListener"));
    if (add.IsAbrupt() || remove.IsAbrupt()) {
        return add.IsAbrupt() ? add : remove;
    }
    GiveBroadcasterMembers(vm, target, {add.GetValue(), remove.GetValue(), broadcast.GetValue()},
                           hiddenPermanent);
    return Value();
}

Completion Construct(NativeCall&) {
    return Value();
}

constexpr Method staticMethods[] = {
    {"initialize", Initialize, 6},
    {"addListener", AddListener, 6},
    {"removeListener", RemoveListener, 6},
    {"broadcastMessage", BroadcastMessage, 6},
};

} // namespace

void MakeBuiltInBroadcaster(Vm& vm, Object* target, std::uint16_t extraFlags) {
    // The class as installed, read past the version bits that hide it from
    // older movies: the player's own objects have their members regardless.
    constexpr int everyVersion = 9;
    const Property* found =
        vm.Global()->Properties().Find(vm.Intern("AsBroadcaster"), everyVersion);
    Object* broadcaster = found ? found->value.ObjectOrNull() : nullptr;
    if (!broadcaster) {
        return;
    }
    auto member = [&](std::string_view name) {
        const Property* p = broadcaster->Properties().Find(vm.Intern(name), everyVersion);
        return p ? p->value : Value();
    };
    const BroadcasterMembers members{member("addListener"), member("removeListener"),
                                     Value(MakeFunction(vm, BroadcastMessage))};
    GiveBroadcasterMembers(vm, target, members, hiddenPermanent | extraFlags);
}

void InstallAsBroadcaster(Vm& vm) {
    const ClassParts parts = MakeClass(vm, Construct, vm.Builtins().objectPrototype);
    AddMethods(vm, parts.constructor, staticMethods);
    vm.RegisterNative(101, 12, BroadcastMessage);
    AddGlobal(vm, "AsBroadcaster", Value(parts.constructor));
}

} // namespace swf::script::builtins
