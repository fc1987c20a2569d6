// LoadVars: variables sent to and loaded from a server as URL-encoded text.
// toString and decode do the encoding; the loading methods answer as Flash
// does when the request cannot be made.
#include "swf/script/ArrayObject.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/data/DataClasses.h"

namespace swf::script::data {

namespace {

using builtins::Method;

Completion Construct(NativeCall& call) {
    return call.constructing ? call.thisValue : Value();
}

// Looks up a global function by name and calls it with one argument, as
// Flash's own script does (a movie may replace the global).
ScriptResult<String*> CallGlobalOnText(Vm& vm, std::string_view name, const Value& argument) {
    const Completion function = vm.GetMember(Value(vm.Global()), vm.Intern(name));
    if (function.IsAbrupt()) {
        return function;
    }
    const Value args[] = {argument};
    const Completion result = vm.Call(function.GetValue(), Value(vm.Global()), args);
    if (result.IsAbrupt()) {
        return result;
    }
    return vm.ToString(result.GetValue());
}

// name=value for every enumerable property, escaped, joined by "&". The
// pairs go through the array's push, as Flash's script builds them.
Completion ToString(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!self) {
        return Value(vm.Intern(""));
    }
    ArrayObject* pairs = vm.NewArray();
    TemporaryRoot keepPairs(vm, Value(pairs));
    // In for..in order: the newest property first.
    const std::vector<String*> names = vm.EnumerableNames(self);
    for (auto it = names.rbegin(); it != names.rend(); ++it) {
        String* name = *it;
        const auto escapedName = CallGlobalOnText(vm, "escape", Value(name));
        if (!escapedName) {
            return escapedName.Abrupt();
        }
        const Completion value = vm.GetMember(Value(self), name);
        if (value.IsAbrupt()) {
            return value;
        }
        const auto escapedValue = CallGlobalOnText(vm, "escape", value.GetValue());
        if (!escapedValue) {
            return escapedValue.Abrupt();
        }
        std::string text((*escapedName)->View());
        text += '=';
        text += (*escapedValue)->View();
        const Value pair(vm.NewString(std::move(text)));
        const Value args[] = {pair};
        const Completion pushed = vm.CallMethod(Value(pairs), vm.Intern("push"), args);
        if (pushed.IsAbrupt()) {
            return pushed;
        }
    }
    const Value separator[] = {Value(vm.Intern("&"))};
    return vm.CallMethod(Value(pairs), vm.Intern("join"), separator);
}

Completion Decode(NativeCall& call) {
    if (!call.Has(0)) {
        return Value(false);
    }
    Object* self = call.ThisObject();
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    if (self) {
        DecodeVariables(call.vm, self, (*text)->View());
    }
    return Value();
}

Completion Send(NativeCall&) {
    return Value(false);
}

Completion BytesLoaded(NativeCall& call) {
    return call.vm.GetMember(call.thisValue, call.vm.Intern("_bytesLoaded"));
}

Completion BytesTotal(NativeCall& call) {
    return call.vm.GetMember(call.thisValue, call.vm.Intern("_bytesTotal"));
}

// onData: decodes what came and reports whether anything did.
Completion OnData(NativeCall& call) {
    return DeliverData(call, "decode");
}

Completion OnLoad(NativeCall&) {
    return Value();
}

constexpr Method prototypeMethods[] = {
    {"addRequestHeader", AddRequestHeader, 6, true},
    {"decode", Decode, 6},
    {"getBytesLoaded", BytesLoaded, 6, true},
    {"getBytesTotal", BytesTotal, 6, true},
    {"load", LoadFromUrl, 6},
    {"onData", OnData, 6, true},
    {"onLoad", OnLoad, 6, true},
    {"send", Send, 6},
    {"sendAndLoad", Send, 6},
    {"toString", ToString, 6, true},
};

} // namespace

void InstallLoadVars(Vm& vm) {
    const auto parts = builtins::MakeClass(vm, Construct, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, parts.prototype, prototypeMethods);
    HideInheritanceFromSwf5(vm, parts.prototype);
    builtins::AddValue(vm, parts.prototype, "contentType",
                       Value(vm.Intern("application/x-www-form-urlencoded")), 6);
    builtins::AddGlobal(vm, "LoadVars", Value(parts.constructor));
    vm.RegisterNative(301, 0, LoadFromUrl);
    vm.RegisterNative(301, 1, Send);
    vm.RegisterNative(301, 2, Send);
    vm.RegisterNative(301, 3, Decode);
}

} // namespace swf::script::data
