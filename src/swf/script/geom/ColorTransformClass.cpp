// flash.geom.ColorTransform: channel * multiplier + offset for red, green,
// blue and alpha, the values behind getter and setter properties of the
// prototype. Those properties work for SWF 8 code; older code reads
// undefined from them and what it stores stays a plain member, as in the
// player this class comes from.
#include <cmath>
#include <utility>

#include "swf/script/NumberText.h"
#include "swf/script/geom/ColorTransformObject.h"
#include "swf/script/geom/GeomClasses.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::geom {

ColorTransformObject* AsColorTransform(Object* object) {
    return object && object->Class() == ObjectClass::Other
               ? dynamic_cast<ColorTransformObject*>(object)
               : nullptr;
}

void FromClipTransform(ColorTransformObject& target, const ColorTransform& from) {
    target.multipliers = {from.multR / 256.0, from.multG / 256.0, from.multB / 256.0,
                          from.multA / 256.0};
    target.offsets = {double(from.addR), double(from.addG), double(from.addB), double(from.addA)};
}

namespace {

std::int16_t ToFixedPart(double value) {
    return static_cast<std::int16_t>(std::isfinite(value) ? ToInt32(value) : 0);
}

} // namespace

ColorTransform ToClipTransform(const ColorTransformObject& from) {
    ColorTransform c;
    c.multR = ToFixedPart(from.multipliers[0] * 256);
    c.multG = ToFixedPart(from.multipliers[1] * 256);
    c.multB = ToFixedPart(from.multipliers[2] * 256);
    c.multA = ToFixedPart(from.multipliers[3] * 256);
    c.addR = ToFixedPart(from.offsets[0]);
    c.addG = ToFixedPart(from.offsets[1]);
    c.addB = ToFixedPart(from.offsets[2]);
    c.addA = ToFixedPart(from.offsets[3]);
    return c;
}

namespace {

// The properties, in the constructor's order: four multipliers, then four
// offsets.
constexpr std::string_view fieldNames[] = {
    "redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
    "redOffset",     "greenOffset",     "blueOffset",     "alphaOffset",
};

double& Field(ColorTransformObject& c, std::size_t slot) {
    return slot < 4 ? c.multipliers[slot] : c.offsets[slot - 4];
}

Object* MakeInstance(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<ColorTransformObject>();
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    return object;
}

ColorTransformObject* ThisColorTransform(const NativeCall& call) {
    return AsColorTransform(call.ThisObject());
}

template <std::size_t slot>
Completion GetField(NativeCall& call) {
    ColorTransformObject* self = ThisColorTransform(call);
    if (!self || call.vm.Version() < 8) {
        return Value();
    }
    return Value(Field(*self, slot));
}

template <std::size_t slot>
Completion SetField(NativeCall& call) {
    ColorTransformObject* self = ThisColorTransform(call);
    if (!self) {
        return Value();
    }
    if (call.vm.Version() < 8) {
        call.vm.DefineOwn(self, fieldNames[slot], call.Arg(0));
        return Value();
    }
    const auto n = call.vm.ToNumber(call.Arg(0));
    if (!n) {
        return n.Abrupt();
    }
    Field(*self, slot) = *n;
    return Value();
}

template <std::size_t... slots>
constexpr std::array<std::pair<NativeFunction, NativeFunction>, sizeof...(slots)>
FieldAccessors(std::index_sequence<slots...>) {
    return {std::pair<NativeFunction, NativeFunction>{GetField<slots>, SetField<slots>}...};
}

// rgb: the offsets as one colour; setting it also zeroes the multipliers.
Completion GetRgb(NativeCall& call) {
    ColorTransformObject* self = ThisColorTransform(call);
    if (!self || call.vm.Version() < 8) {
        return Value();
    }
    const auto channel = [&](int i) { return ToUint32(self->offsets[i]) & 0xFF; };
    return Value(double((channel(0) << 16) | (channel(1) << 8) | channel(2)));
}

Completion SetRgb(NativeCall& call) {
    ColorTransformObject* self = ThisColorTransform(call);
    if (!self) {
        return Value();
    }
    if (call.vm.Version() < 8) {
        call.vm.DefineOwn(self, "rgb", call.Arg(0));
        return Value();
    }
    const auto n = call.vm.ToNumber(call.Arg(0));
    if (!n) {
        return n.Abrupt();
    }
    const unsigned rgb = ToUint32(*n);
    self->multipliers = {0, 0, 0, self->multipliers[3]};
    self->offsets = {double((rgb >> 16) & 0xFF), double((rgb >> 8) & 0xFF), double(rgb & 0xFF),
                     self->offsets[3]};
    return Value();
}

Completion Construct(NativeCall& call) {
    ColorTransformObject* self = ThisColorTransform(call);
    if (!call.constructing || !self) {
        return Value();
    }
    MarkInstance(call);
    for (std::size_t slot = 0; slot < 8 && slot < call.Count(); ++slot) {
        const auto n = call.vm.ToNumber(call.Arg(slot));
        if (!n) {
            return n.Abrupt();
        }
        Field(*self, slot) = *n;
    }
    return Value();
}

// this, then second: offsets go through this's multipliers.
Completion Concat(NativeCall& call) {
    ColorTransformObject* self = ThisColorTransform(call);
    ColorTransformObject* second = AsColorTransform(call.Arg(0).ObjectOrNull());
    if (!self || !second) {
        return Value();
    }
    for (std::size_t i = 0; i < 4; ++i) {
        self->offsets[i] += second->offsets[i] * self->multipliers[i];
        self->multipliers[i] *= second->multipliers[i];
    }
    return Value();
}

Completion ToText(NativeCall& call) {
    return JoinMembers(call.vm, call.thisValue,
                       {{"redMultiplier", "redMultiplier"},
                        {"greenMultiplier", "greenMultiplier"},
                        {"blueMultiplier", "blueMultiplier"},
                        {"alphaMultiplier", "alphaMultiplier"},
                        {"redOffset", "redOffset"},
                        {"greenOffset", "greenOffset"},
                        {"blueOffset", "blueOffset"},
                        {"alphaOffset", "alphaOffset"}});
}

constexpr ScriptMethod scriptMethods[] = {{"toString", ToText}};

} // namespace

void InstallColorTransform(Vm& vm) {
    const builtins::ClassParts parts =
        MakeScriptLikeClass(vm, Package(vm, "geom"), "ColorTransform", Construct);
    parts.constructor->makeInstance = MakeInstance;
    static constexpr auto accessors = FieldAccessors(std::make_index_sequence<8>());
    for (std::size_t slot = 0; slot < accessors.size(); ++slot) {
        AddAccessor(vm, parts.prototype, fieldNames[slot], accessors[slot].first,
                    accessors[slot].second);
    }
    AddAccessor(vm, parts.prototype, "rgb", GetRgb, SetRgb);
    // concat is a plain native function, for SWF 8 code.
    vm.DefineOwn(parts.prototype, "concat", Value(builtins::MakeFunction(vm, Concat)),
                 PropertyFlag::Version8);
    AddScriptMethods(vm, parts.prototype, scriptMethods);
}

} // namespace swf::script::geom
