// The filters of movie clips, buttons and text fields (SWF 8): reading gives new filter objects
// made from what the clip is drawn with; setting takes copies of the filters in an array (other
// values in it are passed over) and the clip is drawn with them from then on.
#include "swf/script/ArrayObject.h"
#include "swf/script/display/RuntimeClips.h"
#include "swf/script/filters/FilterClasses.h"
#include "swf/script/filters/FilterObject.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::filters {

namespace {

DisplayObject* DisplayOf(NativeCall& call) {
    ClipHost* host = call.vm.Clips();
    RuntimeClips* clips = host ? host->Runtime() : nullptr;
    Object* self = call.ThisObject();
    return clips && self ? clips->Display(self) : nullptr;
}

Completion GetFilters(NativeCall& call) {
    DisplayObject* target = DisplayOf(call);
    if (!target) {
        return Value();
    }
    ArrayObject* result = call.vm.NewArray();
    TemporaryRoot keep(call.vm, Value(result));
    for (const Filter& filter : target->Filters()) {
        const Completion made = FromDisplayFilter(call.vm, filter);
        if (made.IsAbrupt()) {
            return made;
        }
        if (made.GetValue().IsObject()) {
            result->Push(call.vm, made.GetValue());
        }
    }
    return Value(result);
}

Completion SetFilters(NativeCall& call) {
    DisplayObject* target = DisplayOf(call);
    Object* given = call.Arg(0).ObjectOrNull();
    if (!target || !given || given->Class() != ObjectClass::Array) {
        return Value();
    }
    auto* array = static_cast<ArrayObject*>(given);
    std::vector<Filter> list;
    for (std::size_t i = 0; i < array->Length(); ++i) {
        if (FilterObject* f = AsFilter(array->Element(call.vm, i).ObjectOrNull())) {
            if (auto converted = ToDisplayFilter(call.vm, *f)) {
                list.push_back(std::move(*converted));
            }
        }
    }
    target->SetFilters(std::move(list));
    return Value();
}

} // namespace

void InstallClipFilters(Vm& vm) {
    BuiltinObjects& builtins = vm.Builtins();
    for (Object* prototype :
         {builtins.clipPrototype, builtins.buttonPrototype, builtins.textFieldPrototype}) {
        if (prototype) {
            geom::AddAccessor(vm, prototype, "filters", GetFilters, SetFilters,
                              PropertyFlag::DontEnum | PropertyFlag::DontDelete |
                                  PropertyFlag::Version8);
        }
    }
}

} // namespace swf::script::filters
