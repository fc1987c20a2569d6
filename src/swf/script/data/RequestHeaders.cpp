// The requests of LoadVars and XML: load, and addRequestHeader, whose
// headers wait in _customHeaders, name and value one after the other, for
// the next request.
#include "swf/script/ArrayObject.h"
#include "swf/script/data/DataClasses.h"

namespace swf::script::data {

namespace {

Completion PushPair(Vm& vm, const Value& headers, const Value& name, const Value& value) {
    if (!name.IsString() || !value.IsString()) {
        return Value();
    }
    const Value args[] = {name, value};
    return vm.CallMethod(headers, vm.Intern("push"), args);
}

} // namespace

Completion AddRequestHeader(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!self) {
        return Value();
    }
    String* headersName = vm.Intern("_customHeaders");
    Completion headers = vm.GetMember(Value(self), headersName);
    if (headers.IsAbrupt()) {
        return headers;
    }
    if (headers.GetValue().IsUndefined()) {
        headers = vm.Construct(Value(vm.Builtins().arrayConstructor), {});
        if (headers.IsAbrupt()) {
            return headers;
        }
        // Made for SWF 6 and later: SWF 5 code never sees the list.
        vm.DefineOwn(self, headersName, headers.GetValue(),
                     PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::Version6);
    }
    // One name and value, or an array of them in turn.
    if (auto* list = dynamic_cast<ArrayObject*>(call.Arg(0).ObjectOrNull())) {
        const std::vector<Value> items = list->Elements(vm);
        for (std::size_t i = 0; i + 1 < items.size(); i += 2) {
            const Completion pushed = PushPair(vm, headers.GetValue(), items[i], items[i + 1]);
            if (pushed.IsAbrupt()) {
                return pushed;
            }
        }
        return Value();
    }
    const Completion pushed = PushPair(vm, headers.GetValue(), call.Arg(0), call.Arg(1));
    return pushed.IsAbrupt() ? pushed : Value();
}

Completion LoadFromUrl(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!self || !call.Has(0)) {
        return Value(false);
    }
    const auto url = vm.ToString(call.Arg(0));
    if (!url) {
        return url.Abrupt();
    }
    for (const auto& [name, value] :
         {std::pair{"_bytesLoaded", Value(0)}, std::pair{"loaded", Value(false)}}) {
        const Completion set = vm.SetMember(self, vm.Intern(name), value);
        if (set.IsAbrupt()) {
            return set;
        }
    }
    Vm::Timer arrival;
    arrival.function = Value(self);
    arrival.method = vm.Intern("onData");
    arrival.args = {Value()};
    vm.CallAtFrameStart(std::move(arrival), 2);
    return Value(true);
}

} // namespace swf::script::data
