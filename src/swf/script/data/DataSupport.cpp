// What the data classes share: packages under _global and URL-encoded
// variables.
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/data/DataClasses.h"

namespace swf::script::data {

namespace {

// unescape, as the global function does it.
std::string Unescaped(Vm& vm, std::string_view text) {
    const NativeFunction unescape = vm.FindNative(100, 1);
    if (!unescape) {
        return std::string(text);
    }
    const Value args[] = {Value(vm.NewString(text))};
    NativeCall call{vm, Value(), args};
    const Completion result = unescape(call);
    const Value& value = result.GetValue();
    return value.IsString() ? std::string(value.AsString()->View()) : std::string(text);
}

} // namespace

Object* PackageObject(Vm& vm, std::string_view dottedName) {
    Object* holder = vm.Global();
    bool top = true;
    while (!dottedName.empty()) {
        const std::size_t dot = dottedName.find('.');
        const std::string_view part = dottedName.substr(0, dot);
        String* name = vm.Intern(part);
        const Property* p = holder->Properties().Find(name, 9);
        Object* next = p ? p->value.ObjectOrNull() : nullptr;
        if (!next) {
            next = vm.NewObject();
            if (top) {
                builtins::AddGlobal(vm, part, Value(next), 8);
            } else {
                vm.DefineOwn(holder, name, Value(next),
                             PropertyFlag::DontEnum | PropertyFlag::DontDelete);
            }
        }
        holder = next;
        top = false;
        dottedName =
            dot == std::string_view::npos ? std::string_view() : dottedName.substr(dot + 1);
    }
    return holder;
}

void HideInheritanceFromSwf5(Vm& vm, Object* prototype) {
    if (Property* proto = prototype->Properties().Find(vm.N().proto, 9)) {
        proto->flags |= PropertyFlag::Version6;
        prototype->SetPrototypeFlags(proto->flags);
    }
    if (Property* constructor = prototype->Properties().Find(vm.N().constructor, 9)) {
        constructor->flags |= PropertyFlag::Version6;
    }
}

void DecodeVariables(Vm& vm, Object* target, std::string_view text) {
    while (!text.empty()) {
        const std::size_t amp = text.find('&');
        const std::string_view pair = text.substr(0, amp);
        const std::size_t equals = pair.find('=');
        if (equals != std::string_view::npos) {
            String* name = vm.Intern(Unescaped(vm, pair.substr(0, equals)));
            const Value value(vm.NewString(Unescaped(vm, pair.substr(equals + 1))));
            if (vm.SetMember(target, name, value).IsAbort()) {
                return;
            }
        }
        text = amp == std::string_view::npos ? std::string_view() : text.substr(amp + 1);
    }
}

Completion DeliverData(NativeCall& call, std::string_view reader) {
    Vm& vm = call.vm;
    const bool arrived = !call.Arg(0).IsUndefined();
    if (arrived) {
        const Value args[] = {call.Arg(0)};
        const Completion read = vm.CallMethod(call.thisValue, vm.Intern(reader), args);
        if (read.IsAbrupt()) {
            return read;
        }
    }
    if (Object* self = call.ThisObject()) {
        const Completion set = vm.SetMember(self, vm.Intern("loaded"), Value(arrived));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    const Value args[] = {Value(arrived)};
    return vm.CallMethod(call.thisValue, vm.Intern("onLoad"), args);
}

} // namespace swf::script::data
