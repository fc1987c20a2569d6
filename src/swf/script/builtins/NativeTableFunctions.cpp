// ASnative, ASconstructor, ASSetNative and ASSetNativeAccessor: the
// built-ins by the numbers Flash gives them. ASnative and ASconstructor are
// functions with no members of their own at all.
#include "swf/script/NumberText.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

Completion Nothing(NativeCall&) {
    return Value();
}

// The built-in of the numbers args[first] and args[first + 1] name.
ScriptResult<NativeFunction> NativeOf(NativeCall& call, std::size_t first) {
    const auto group = call.vm.ToNumber(call.Arg(first));
    if (!group) {
        return group.Abrupt();
    }
    const auto index = call.vm.ToNumber(call.Arg(first + 1));
    if (!index) {
        return index.Abrupt();
    }
    const NativeFunction found = call.vm.FindNative(ToInt32(*group), ToInt32(*index));
    return found ? found : Nothing;
}

// ASnative(group, index): a new function each time, running the built-in
// of those numbers, or nothing for numbers no built-in has.
Completion AsNative(NativeCall& call) {
    const auto native = NativeOf(call, 0);
    if (!native) {
        return native.Abrupt();
    }
    return Value(MakeFunction(call.vm, *native));
}

// ASconstructor(group, index): the same, as a class with a prototype.
Completion AsConstructor(NativeCall& call) {
    const auto native = NativeOf(call, 0);
    if (!native) {
        return native.Abrupt();
    }
    FunctionObject* function = MakeFunction(call.vm, *native);
    GiveFunctionPrototype(call.vm, function);
    return Value(function);
}

// The names of a comma-separated list; a leading digit is the first SWF
// version that sees the name ("6name").
struct NativeName {
    std::string_view name;
    int version = 5;
};

std::vector<NativeName> NativeNames(std::string_view list) {
    std::vector<NativeName> names;
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        std::string_view name = list.substr(0, comma);
        NativeName entry;
        if (!name.empty() && name[0] >= '5' && name[0] <= '9') {
            entry.version = name[0] - '0';
            name.remove_prefix(1);
        }
        entry.name = name;
        if (!name.empty()) {
            names.push_back(entry);
        }
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    }
    return names;
}

struct NativeListCall {
    Object* target = nullptr;
    int group = 0;
    int index = 0;
    std::vector<NativeName> names;
    String* list = nullptr; // keeps the names' text alive
};

// (target, group, "names", first index).
ScriptResult<NativeListCall> ReadListCall(NativeCall& call) {
    NativeListCall parts;
    parts.target = call.Arg(0).ObjectOrNull();
    const auto group = call.vm.ToNumber(call.Arg(1));
    if (!group) {
        return group.Abrupt();
    }
    const auto list = call.vm.ToString(call.Arg(2));
    if (!list) {
        return list.Abrupt();
    }
    const auto index = call.vm.ToNumber(call.Arg(3));
    if (!index) {
        return index.Abrupt();
    }
    parts.group = ToInt32(*group);
    parts.index = call.Has(3) ? ToInt32(*index) : 0;
    parts.list = *list;
    parts.names = NativeNames(parts.list->View());
    return parts;
}

NativeFunction Numbered(Vm& vm, int group, int index) {
    const NativeFunction found = vm.FindNative(group, index);
    return found ? found : Nothing;
}

// ASSetNative(target, group, "a,b,...", first): target.a is the built-in
// (group, first), target.b (group, first + 1), ...
Completion AsSetNative(NativeCall& call) {
    const auto parts = ReadListCall(call);
    if (!parts) {
        return parts.Abrupt();
    }
    if (!parts->target) {
        return Value();
    }
    int index = parts->index;
    for (const NativeName& n : parts->names) {
        FunctionObject* function = MakeFunction(call.vm, Numbered(call.vm, parts->group, index++));
        call.vm.DefineOwn(parts->target, n.name, Value(function),
                          hiddenPermanent | VersionFlags(n.version));
    }
    return Value();
}

// ASSetNativeAccessor(target, group, "a,b,...", first): each name reads
// through one built-in and writes through the next.
Completion AsSetNativeAccessor(NativeCall& call) {
    const auto parts = ReadListCall(call);
    if (!parts) {
        return parts.Abrupt();
    }
    if (!parts->target) {
        return Value();
    }
    int index = parts->index;
    for (const NativeName& n : parts->names) {
        Property& p = parts->target->Properties().Add(call.vm.Intern(n.name), Value(),
                                                      hiddenPermanent | VersionFlags(n.version));
        p.getter = MakeFunction(call.vm, Numbered(call.vm, parts->group, index++));
        p.setter = MakeFunction(call.vm, Numbered(call.vm, parts->group, index++));
    }
    return Value();
}

// A function with no property at all, not even "__proto__".
FunctionObject* BareFunction(Vm& vm, NativeFunction native) {
    FunctionObject* function = vm.NewNativeFunction(native);
    if (Property* proto = function->Properties().Find(vm.N().proto, 9)) {
        function->Properties().Remove(proto);
    }
    function->SetPrototypeCache(nullptr);
    return function;
}

} // namespace

void InstallNativeTable(Vm& vm) {
    Object* global = vm.Global();
    AddValue(vm, global, "ASnative", Value(BareFunction(vm, AsNative)));
    AddValue(vm, global, "ASconstructor", Value(BareFunction(vm, AsConstructor)));
    AddValue(vm, global, "ASSetNative", Value(MakeFunction(vm, AsSetNative)));
    AddValue(vm, global, "ASSetNativeAccessor", Value(MakeFunction(vm, AsSetNativeAccessor)));
}

} // namespace swf::script::builtins
