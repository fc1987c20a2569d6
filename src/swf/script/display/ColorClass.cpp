// Color: the colour transformation of a clip, in the terms of SWF 5's Color
// class: percentages (ra, ga, ba, aa) and offsets (rb, gb, bb, ab). The
// target is kept as given (a clip or a path) and found again on every call;
// the transformation itself is the clip's, in 8.8 fixed point as the format
// stores it, so a percentage reads back as the multiplier it became.
#include <cmath>

#include "swf/script/NumberText.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/ClipMethods.h"
#include "swf/script/display/RuntimeClips.h"

namespace swf::script {

namespace {

using builtins::Method;

constexpr std::uint16_t hiddenPermanentConstant =
    PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::ReadOnly;

// The display object the Color's target names now.
DisplayObject* TargetOf(NativeCall& call) {
    Vm& vm = call.vm;
    ClipHost* host = vm.Clips();
    RuntimeClips* clips = host ? host->Runtime() : nullptr;
    Object* self = call.ThisObject();
    if (!clips || !self) {
        return nullptr;
    }
    const Property* p = self->Properties().Find(vm.Intern("target"), vm.Version());
    if (!p) {
        return nullptr;
    }
    if (Object* object = p->value.ObjectOrNull(); object && IsDisplayObject(object)) {
        return clips->Display(object);
    }
    if (p->value.IsString()) {
        return clips->FindTarget(p->value.AsString()->View(), vm.CurrentTarget());
    }
    return nullptr;
}

Completion Construct(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        return Value();
    }
    Vm& vm = call.vm;
    vm.DefineOwn(self, "target", call.Arg(0), hiddenPermanentConstant);
    // A Color's own links are read-only too.
    // (keeping the version bits that hide __constructor__ from SWF 5).
    for (String* name : {vm.N().proto, vm.N().constructorHidden, vm.N().constructor}) {
        self->Properties().ForEachMutable([&](Property& p) {
            if (p.name == name) {
                p.flags |= hiddenPermanentConstant;
            }
        });
    }
    return call.thisValue;
}

Completion SetRgb(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    if (!target || !call.Has(0)) {
        return Value();
    }
    const auto n = call.vm.ToNumber(call.Arg(0));
    if (!n) {
        return n.Abrupt();
    }
    const int rgb = ToInt32(*n);
    ColorTransform c = target->GetColorTransform();
    c.multR = c.multG = c.multB = 0;
    c.addR = static_cast<std::int16_t>((rgb >> 16) & 0xFF);
    c.addG = static_cast<std::int16_t>((rgb >> 8) & 0xFF);
    c.addB = static_cast<std::int16_t>(rgb & 0xFF);
    target->SetColorTransform(c);
    return Value();
}

Completion GetRgb(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    if (!target) {
        return Value();
    }
    const ColorTransform& c = target->GetColorTransform();
    return Value(double((int(c.addR) << 16) | (int(c.addG) << 8) | int(c.addB)));
}

// The fields of a transformation object, each with its member of ColorTransform
// and whether it is a percentage.
struct Field {
    std::string_view name;
    std::int16_t ColorTransform::*member;
    bool percent;
};
constexpr Field fields[] = {
    {"ra", &ColorTransform::multR, true}, {"rb", &ColorTransform::addR, false},
    {"ga", &ColorTransform::multG, true}, {"gb", &ColorTransform::addG, false},
    {"ba", &ColorTransform::multB, true}, {"bb", &ColorTransform::addB, false},
    {"aa", &ColorTransform::multA, true}, {"ab", &ColorTransform::addA, false},
};

std::int16_t ToFixed(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<std::int16_t>(ToInt32(value));
}

Completion SetTransform(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    Object* given = call.Arg(0).ObjectOrNull();
    if (!target || !given) {
        return Value();
    }
    Vm& vm = call.vm;
    ColorTransform c = target->GetColorTransform();
    for (const Field& f : fields) {
        String* name = vm.Intern(f.name);
        if (!vm.FindInChain(given, name)) {
            continue;
        }
        const Completion got = vm.GetMember(given, name);
        if (got.IsAbrupt()) {
            return got;
        }
        const auto n = vm.ToNumber(got.GetValue());
        if (!n) {
            return n.Abrupt();
        }
        c.*f.member = ToFixed(f.percent ? *n * 256.0 / 100.0 : *n);
    }
    target->SetColorTransform(c);
    return Value();
}

Completion GetTransform(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    if (!target) {
        return Value();
    }
    Vm& vm = call.vm;
    const ColorTransform& c = target->GetColorTransform();
    Object* result = vm.NewObject();
    for (const Field& f : fields) {
        const double value = c.*f.member;
        vm.SetMember(result, vm.Intern(f.name), Value(f.percent ? value * 100.0 / 256.0 : value));
    }
    return Value(result);
}

constexpr Method methods[] = {
    {"getRGB", GetRgb, 5},
    {"getTransform", GetTransform, 5},
    {"setRGB", SetRgb, 5},
    {"setTransform", SetTransform, 5},
};

} // namespace

void InstallColor(Vm& vm) {
    const builtins::ClassParts parts =
        builtins::MakeClass(vm, Construct, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, parts.prototype, methods, PropertyFlag::ReadOnly);
    // Flash's Color.prototype is all hidden, permanent and read-only.
    vm.DefineOwn(parts.prototype, vm.N().constructor, Value(parts.constructor),
                 hiddenPermanentConstant);
    Property* proto = parts.prototype->Properties().Find(vm.N().proto, vm.Version());
    if (proto) {
        proto->flags = hiddenPermanentConstant;
    }
    builtins::AddGlobal(vm, "Color", Value(parts.constructor));
}

} // namespace swf::script
