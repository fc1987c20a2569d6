// flash.filters: the bitmap filters as script objects. Each class keeps its
// parameters natively, behind getter and setter properties of its
// prototype, and brings every value into the parameter's range as it is
// set (blurs 0 to 255, quality a whole number 0 to 15, alphas 0 to 1,
// colours 24 bits). A class's prototype is made as a subclass's is, from
// BitmapFilter.
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "swf/script/ArrayObject.h"
#include "swf/script/NumberText.h"
#include "swf/script/filters/FilterClasses.h"
#include "swf/script/filters/FilterObject.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::filters {

namespace {

using geom::Package;

constexpr double unbounded = 0;

// The colour matrix that changes nothing.
constexpr double identityColorMatrix[20] = {1, 0, 0, 0, 0, 0, 1, 0, 0, 0,
                                            0, 0, 1, 0, 0, 0, 0, 0, 1, 0};

} // namespace

const std::vector<FilterSpec>& Specs() {
    static const std::vector<FilterSpec> specs = {
        {"BlurFilter",
         {{"blurX", Rule::Number, 0, 255, 4},
          {"blurY", Rule::Number, 0, 255, 4},
          {"quality", Rule::Whole, 0, 15, 1}}},
        {"DropShadowFilter",
         {{"distance", Rule::Number, unbounded, unbounded, 4},
          {"angle", Rule::Number, unbounded, unbounded, 45},
          {"color", Rule::Color, 0, 0, 0},
          {"alpha", Rule::Number, 0, 1, 1},
          {"blurX", Rule::Number, 0, 255, 4},
          {"blurY", Rule::Number, 0, 255, 4},
          {"strength", Rule::Number, 0, 255, 1},
          {"quality", Rule::Whole, 0, 15, 1},
          {"inner", Rule::Flag, 0, 0, 0},
          {"knockout", Rule::Flag, 0, 0, 0},
          {"hideObject", Rule::Flag, 0, 0, 0}}},
        {"GlowFilter",
         {{"color", Rule::Color, 0, 0, 0xFF0000},
          {"alpha", Rule::Number, 0, 1, 1},
          {"blurX", Rule::Number, 0, 255, 6},
          {"blurY", Rule::Number, 0, 255, 6},
          {"strength", Rule::Number, 0, 255, 2},
          {"quality", Rule::Whole, 0, 15, 1},
          {"inner", Rule::Flag, 0, 0, 0},
          {"knockout", Rule::Flag, 0, 0, 0}}},
        {"BevelFilter",
         {{"distance", Rule::Number, unbounded, unbounded, 4},
          {"angle", Rule::Number, unbounded, unbounded, 45},
          {"highlightColor", Rule::Color, 0, 0, 0xFFFFFF},
          {"highlightAlpha", Rule::Number, 0, 1, 1},
          {"shadowColor", Rule::Color, 0, 0, 0},
          {"shadowAlpha", Rule::Number, 0, 1, 1},
          {"blurX", Rule::Number, 0, 255, 4},
          {"blurY", Rule::Number, 0, 255, 4},
          {"strength", Rule::Number, 0, 255, 1},
          {"quality", Rule::Whole, 0, 15, 1},
          {"type", Rule::Text, 0, 0, 0, "inner"},
          {"knockout", Rule::Flag, 0, 0, 0}}},
        {"GradientGlowFilter",
         {{"distance", Rule::Number, unbounded, unbounded, 4},
          {"angle", Rule::Number, unbounded, unbounded, 45},
          {"colors", Rule::List},
          {"alphas", Rule::List},
          {"ratios", Rule::List},
          {"blurX", Rule::Number, 0, 255, 4},
          {"blurY", Rule::Number, 0, 255, 4},
          {"strength", Rule::Number, 0, 255, 1},
          {"quality", Rule::Whole, 0, 15, 1},
          {"type", Rule::Text, 0, 0, 0, "inner"},
          {"knockout", Rule::Flag, 0, 0, 0}}},
        {"GradientBevelFilter",
         {{"distance", Rule::Number, unbounded, unbounded, 4},
          {"angle", Rule::Number, unbounded, unbounded, 45},
          {"colors", Rule::List},
          {"alphas", Rule::List},
          {"ratios", Rule::List},
          {"blurX", Rule::Number, 0, 255, 4},
          {"blurY", Rule::Number, 0, 255, 4},
          {"strength", Rule::Number, 0, 255, 1},
          {"quality", Rule::Whole, 0, 15, 1},
          {"type", Rule::Text, 0, 0, 0, "inner"},
          {"knockout", Rule::Flag, 0, 0, 0}}},
        {"ConvolutionFilter",
         {{"matrixX", Rule::Whole, 0, 15, 0},
          {"matrixY", Rule::Whole, 0, 15, 0},
          {"matrix", Rule::List},
          {"divisor", Rule::Number, unbounded, unbounded, 1},
          {"bias", Rule::Number, unbounded, unbounded, 0},
          {"preserveAlpha", Rule::Flag, 0, 0, 1},
          {"clamp", Rule::Flag, 0, 0, 1},
          {"color", Rule::Color, 0, 0, 0},
          {"alpha", Rule::Number, 0, 1, 0}}},
        {"ColorMatrixFilter", {{"matrix", Rule::List, 0, 0, 0, {}, identityColorMatrix}}},
        {"DisplacementMapFilter",
         {{"mapBitmap", Rule::Thing},
          {"mapPoint", Rule::Thing},
          {"componentX", Rule::Whole, 0, 8, 0},
          {"componentY", Rule::Whole, 0, 8, 0},
          {"scaleX", Rule::Number, -65535, 65535, 0},
          {"scaleY", Rule::Number, -65535, 65535, 0},
          {"mode", Rule::Text, 0, 0, 0, "wrap"},
          {"color", Rule::Color, 0, 0, 0},
          {"alpha", Rule::Number, 0, 1, 0}}},
    };
    return specs;
}

namespace {

constexpr std::size_t maxParameters = 12;

FilterObject* ThisFilter(const NativeCall& call) {
    return AsFilter(call.ThisObject());
}

// A number in [low, high] (NaN stays NaN), or a whole one (as a 32-bit
// integer first: NaN and the infinities are 0).
double Bounded(const Parameter& p, double n) {
    if (p.rule == Rule::Whole) {
        n = ToInt32(n);
    }
    if (p.low == unbounded && p.high == unbounded) {
        return n;
    }
    return std::isnan(n) ? n : std::clamp(n, p.low, p.high);
}

// An array's copy: the filter keeps its own list.
Value CopyList(Vm& vm, const Value& given) {
    Object* object = given.ObjectOrNull();
    if (!object || object->Class() != ObjectClass::Array) {
        return object ? given : Value(vm.NewArray());
    }
    auto* source = static_cast<ArrayObject*>(object);
    std::vector<Value> elements;
    for (std::size_t i = 0; i < source->Length(); ++i) {
        elements.push_back(source->Element(vm, i));
    }
    return Value(vm.NewArray(elements));
}

ScriptResult<Value> Converted(Vm& vm, const Parameter& p, const Value& given) {
    switch (p.rule) {
    case Rule::Flag:
        return Value(vm.ToBoolean(given));
    case Rule::Text: {
        const auto text = vm.ToString(given);
        if (!text) {
            return text.Abrupt();
        }
        return Value(*text);
    }
    case Rule::List:
        return CopyList(vm, given);
    case Rule::Thing:
        return given.IsObject() ? given : Value::Null();
    case Rule::Color: {
        const auto n = vm.ToNumber(given);
        if (!n) {
            return n.Abrupt();
        }
        return Value(double(ToUint32(*n) & 0xFFFFFF));
    }
    default: {
        const auto n = vm.ToNumber(given);
        if (!n) {
            return n.Abrupt();
        }
        return Value(Bounded(p, *n));
    }
    }
}

Value Initial(Vm& vm, const Parameter& p) {
    switch (p.rule) {
    case Rule::Flag:
        return Value(p.initial != 0);
    case Rule::Text:
        return Value(vm.Intern(p.initialText));
    case Rule::List: {
        const std::vector<Value> elements(p.initialList.begin(), p.initialList.end());
        return Value(vm.NewArray(elements));
    }
    case Rule::Thing:
        return Value::Null();
    default:
        return Value(p.initial);
    }
}

template <std::size_t slot>
Completion GetSlot(NativeCall& call) {
    FilterObject* self = ThisFilter(call);
    if (!self || slot >= self->values.size()) {
        return Value();
    }
    const Value& v = self->values[slot];
    // Lists go out as copies, so that changing one changes no filter.
    return self->spec.parameters[slot].rule == Rule::List ? CopyList(call.vm, v) : v;
}

template <std::size_t slot>
Completion SetSlot(NativeCall& call) {
    FilterObject* self = ThisFilter(call);
    if (!self || slot >= self->values.size()) {
        return Value();
    }
    const auto value = Converted(call.vm, self->spec.parameters[slot], call.Arg(0));
    if (!value) {
        return value.Abrupt();
    }
    self->values[slot] = *value;
    return Value();
}

template <std::size_t... slots>
constexpr std::array<std::pair<NativeFunction, NativeFunction>, sizeof...(slots)>
SlotAccessors(std::index_sequence<slots...>) {
    return {std::pair<NativeFunction, NativeFunction>{GetSlot<slots>, SetSlot<slots>}...};
}
constexpr auto accessors = SlotAccessors(std::make_index_sequence<maxParameters>());

// Fills a new filter from the constructor's arguments, in order.
Completion Construct(NativeCall& call) {
    FilterObject* self = ThisFilter(call);
    if (!call.constructing || !self) {
        return Value();
    }
    geom::MarkInstance(call);
    // A filter's link to its constructor is an ordinary member.
    call.vm.DefineOwn(self, call.vm.N().constructorHidden, Value(call.callee));
    const auto& parameters = self->spec.parameters;
    self->values.clear();
    for (const Parameter& p : parameters) {
        self->values.push_back(Initial(call.vm, p));
    }
    for (std::size_t i = 0; i < parameters.size() && i < call.Count(); ++i) {
        const auto value = Converted(call.vm, parameters[i], call.Arg(i));
        if (!value) {
            return value.Abrupt();
        }
        self->values[i] = *value;
    }
    return Value();
}

template <std::size_t index>
Object* MakeFilter(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<FilterObject>(Specs()[index]);
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    return object;
}

template <std::size_t... indices>
constexpr std::array<Object* (*)(Vm&, Object*), sizeof...(indices)>
Makers(std::index_sequence<indices...>) {
    return {MakeFilter<indices>...};
}

// clone(): a filter of the same class with the same parameters.
Completion Clone(NativeCall& call) {
    FilterObject* self = ThisFilter(call);
    if (!self) {
        return Value();
    }
    Vm& vm = call.vm;
    const Completion found =
        vm.GetMember(Value(geom::FindPackage(vm, "filters")), vm.Intern(self->spec.className));
    if (found.IsAbrupt()) {
        return found;
    }
    std::vector<Value> args = self->values;
    return vm.Construct(found.GetValue(), args);
}

Completion ConstructBase(NativeCall& call) {
    geom::MarkInstance(call);
    return Value();
}

} // namespace

void InstallFilters(Vm& vm) {
    Object* package = Package(vm, "filters");
    const builtins::ClassParts base =
        geom::MakeScriptLikeClass(vm, package, "BitmapFilter", ConstructBase);
    constexpr geom::ScriptMethod baseMethods[] = {{"clone", Clone}};
    geom::AddScriptMethods(vm, base.prototype, baseMethods);

    static constexpr auto makers = Makers(std::make_index_sequence<9>());
    const auto& specs = Specs();
    for (std::size_t i = 0; i < specs.size() && i < makers.size(); ++i) {
        const FilterSpec& spec = specs[i];
        FunctionObject* constructor = builtins::MakeFunction(vm, Construct);
        constructor->makeInstance = makers[i];
        // The prototype is what new BitmapFilter() gives.
        Object* prototype = vm.NewObject(base.prototype);
        vm.DefineOwn(prototype, vm.N().constructorHidden, Value(base.constructor),
                     PropertyFlag::DontEnum);
        for (std::size_t slot = 0; slot < spec.parameters.size(); ++slot) {
            geom::AddAccessor(vm, prototype, spec.parameters[slot].name, accessors[slot].first,
                              accessors[slot].second);
        }
        vm.DefineOwn(constructor, vm.N().prototype, Value(prototype),
                     PropertyFlag::DontEnum | PropertyFlag::DontDelete);
        vm.DefineOwn(package, spec.className, Value(constructor));
    }
}

} // namespace swf::script::filters
