// ContextMenu and ContextMenuItem: the menu the player shows for the movie,
// as scripts describe it. The device has no such menu; the objects keep
// what scripts put in them.
#include "swf/script/ArrayObject.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/data/DataClasses.h"

namespace swf::script::data {

namespace {

using builtins::Method;

// The player's own items, all shown at first.
constexpr std::string_view builtInItemNames[] = {"forward_back", "loop",   "play", "print",
                                                 "quality",      "rewind", "save", "zoom"};

Completion SetAll(Vm& vm, Object* target, std::string_view name, const Value& value) {
    return vm.SetMember(target, vm.Intern(name), value);
}

Completion ConstructMenu(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        return Value();
    }
    Completion done = SetAll(vm, self, "onSelect", call.Arg(0));
    if (done.IsAbrupt()) {
        return done;
    }
    done = SetAll(vm, self, "customItems", Value(vm.NewArray()));
    if (done.IsAbrupt()) {
        return done;
    }
    Object* builtIn = vm.NewObject();
    for (std::string_view name : builtInItemNames) {
        vm.DefineOwn(builtIn, name, Value(true));
    }
    done = SetAll(vm, self, "builtInItems", Value(builtIn));
    return done.IsAbrupt() ? done : call.thisValue;
}

Completion HideBuiltInItems(NativeCall& call) {
    Vm& vm = call.vm;
    const Completion items = vm.GetMember(call.thisValue, vm.Intern("builtInItems"));
    if (items.IsAbrupt()) {
        return items;
    }
    if (Object* builtIn = items.GetValue().ObjectOrNull()) {
        for (std::string_view name : builtInItemNames) {
            const Completion done = SetAll(vm, builtIn, name, Value(false));
            if (done.IsAbrupt()) {
                return done;
            }
        }
    }
    return Value();
}

// A copy has its own list of copied custom items; the built-in items'
// object is the same.
Completion CopyMenu(NativeCall& call) {
    Vm& vm = call.vm;
    const Completion menuClass = vm.GetMember(Value(vm.Global()), vm.Intern("ContextMenu"));
    const Completion onSelect = vm.GetMember(call.thisValue, vm.Intern("onSelect"));
    if (menuClass.IsAbrupt() || onSelect.IsAbrupt()) {
        return menuClass.IsAbrupt() ? menuClass : onSelect;
    }
    const Value args[] = {onSelect.GetValue()};
    const Completion made = vm.Construct(menuClass.GetValue(), args);
    Object* copy = made.GetValue().ObjectOrNull();
    if (made.IsAbrupt() || !copy) {
        return made;
    }
    TemporaryRoot keepCopy(vm, made.GetValue());
    const Completion builtIn = vm.GetMember(call.thisValue, vm.Intern("builtInItems"));
    if (builtIn.IsAbrupt()) {
        return builtIn;
    }
    Completion done = SetAll(vm, copy, "builtInItems", builtIn.GetValue());
    if (done.IsAbrupt()) {
        return done;
    }
    const Completion custom = vm.GetMember(call.thisValue, vm.Intern("customItems"));
    if (custom.IsAbrupt()) {
        return custom;
    }
    ArrayObject* items = vm.NewArray();
    done = SetAll(vm, copy, "customItems", Value(items));
    if (done.IsAbrupt()) {
        return done;
    }
    if (auto* list = dynamic_cast<ArrayObject*>(custom.GetValue().ObjectOrNull())) {
        for (const Value& item : list->Elements(vm)) {
            Value copied = item;
            if (Object* object = item.ObjectOrNull()) {
                const Completion method = vm.GetMember(Value(object), vm.Intern("copy"));
                if (method.IsAbrupt()) {
                    return method;
                }
                if (method.GetValue().IsObject()) {
                    const Completion itemCopy = vm.Call(method.GetValue(), item, {});
                    if (itemCopy.IsAbrupt()) {
                        return itemCopy;
                    }
                    copied = itemCopy.GetValue();
                }
            }
            items->Push(vm, copied);
        }
    }
    return made.GetValue();
}

constexpr Method menuMethods[] = {
    {"copy", CopyMenu, 7},
    {"hideBuiltInItems", HideBuiltInItems, 7},
};

// ContextMenuItem(caption, onSelect, separatorBefore, enabled, visible).
constexpr std::string_view itemFields[] = {"caption", "onSelect", "separatorBefore", "enabled",
                                           "visible"};

Completion ConstructItem(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        return Value();
    }
    for (std::size_t i = 0; i < std::size(itemFields); ++i) {
        // separatorBefore is false, enabled and visible true, unless given.
        Value value = call.Arg(i);
        if (i >= 2 && value.IsUndefined()) {
            value = Value(i != 2);
        } else if (i >= 2) {
            value = Value(vm.ToBoolean(value));
        }
        const Completion done = SetAll(vm, self, itemFields[i], value);
        if (done.IsAbrupt()) {
            return done;
        }
    }
    return call.thisValue;
}

Completion CopyItem(NativeCall& call) {
    Vm& vm = call.vm;
    std::vector<Value> args;
    for (std::string_view field : itemFields) {
        const Completion value = vm.GetMember(call.thisValue, vm.Intern(field));
        if (value.IsAbrupt()) {
            return value;
        }
        args.push_back(value.GetValue());
    }
    const Completion itemClass = vm.GetMember(Value(vm.Global()), vm.Intern("ContextMenuItem"));
    if (itemClass.IsAbrupt()) {
        return itemClass;
    }
    return vm.Construct(itemClass.GetValue(), args);
}

constexpr Method itemMethods[] = {
    {"copy", CopyItem, 5},
};

} // namespace

void InstallContextMenu(Vm& vm) {
    const auto menu = builtins::MakeClass(vm, ConstructMenu, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, menu.prototype, menuMethods);
    builtins::AddGlobal(vm, "ContextMenu", Value(menu.constructor));
    const auto item = builtins::MakeClass(vm, ConstructItem, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, item.prototype, itemMethods);
    builtins::AddGlobal(vm, "ContextMenuItem", Value(item.constructor));
}

} // namespace swf::script::data
