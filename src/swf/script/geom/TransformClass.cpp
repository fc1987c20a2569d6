// flash.geom.Transform: a clip's matrix and colour transformation as geometry
// objects, its concatenation with every parent's, and its bounds on the
// stage in pixels. Each read makes new objects and each write copies
// values into the clip; the clip is found again on every use. Like
// ColorTransform's, the properties work for SWF 8 code only. MovieClip's
// Transform property gives a new Transform of the clip.
#include <cmath>

#include "swf/script/display/ClipGeometry.h"
#include "swf/script/display/ClipObject.h"
#include "swf/script/display/RuntimeClips.h"
#include "swf/script/geom/ColorTransformObject.h"
#include "swf/script/geom/GeomClasses.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::geom {

namespace {

class TransformObject final : public Object {
public:
    TransformObject() : Object(ObjectClass::Other) {}
    Object* clip = nullptr;
    // The display object the clip stood for when the Transform was made: a
    // Transform of a removed clip stays without one.
    DisplayHandle handle;

    void Trace(Tracer& tracer) const override {
        Object::Trace(tracer);
        tracer.Visit(clip);
    }
};

Object* MakeInstance(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<TransformObject>();
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    return object;
}

TransformObject* ThisTransform(const NativeCall& call) {
    Object* self = call.ThisObject();
    return self && self->Class() == ObjectClass::Other ? dynamic_cast<TransformObject*>(self)
                                                       : nullptr;
}

// The display object of this Transform's clip, for SWF 8 code.
DisplayObject* TargetOf(NativeCall& call) {
    TransformObject* self = ThisTransform(call);
    ClipHost* host = call.vm.Clips();
    RuntimeClips* clips = host ? host->Runtime() : nullptr;
    if (!self || !self->clip || !clips || call.vm.Version() < 8) {
        return nullptr;
    }
    return clips->Player().Find(self->handle);
}

Completion Construct(NativeCall& call) {
    TransformObject* self = ThisTransform(call);
    if (!call.constructing || !self) {
        return Value();
    }
    MarkInstance(call);
    Object* clip = call.Arg(0).ObjectOrNull();
    self->clip = clip && IsDisplayObject(clip) ? clip : nullptr;
    ClipHost* host = call.vm.Clips();
    RuntimeClips* clips = host ? host->Runtime() : nullptr;
    if (DisplayObject* shown = clips ? clips->Display(self->clip) : nullptr) {
        self->handle = shown->Handle();
    }
    return Value();
}

Completion NewColorTransform(Vm& vm, const ColorTransform& from) {
    const Completion made = ConstructGeom(vm, "ColorTransform", {});
    if (ColorTransformObject* c = AsColorTransform(made.GetValue().ObjectOrNull())) {
        FromClipTransform(*c, from);
    }
    return made;
}

Completion NewMatrix(Vm& vm, const Affine& m) {
    const Value args[] = {Value(m.xx),
                          Value(m.yx),
                          Value(m.xy),
                          Value(m.yy),
                          Value(m.x0 / TwipsPerPixel),
                          Value(m.y0 / TwipsPerPixel)};
    return ConstructGeom(vm, "Matrix", args);
}

Completion GetColorTransform(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    return target ? NewColorTransform(call.vm, target->GetColorTransform()) : Value();
}

Completion SetColorTransform(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    ColorTransformObject* given = AsColorTransform(call.Arg(0).ObjectOrNull());
    if (target && given) {
        target->SetColorTransform(ToClipTransform(*given));
    }
    return Value();
}

// Each channel through the object's own transformation, then every parent's,
// in the 8.8 fixed point the display list keeps.
Completion GetConcatenatedColorTransform(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    if (!target) {
        return Value();
    }
    ColorTransform total = target->GetColorTransform();
    std::int16_t ColorTransform::*const mults[] = {&ColorTransform::multR, &ColorTransform::multG,
                                                   &ColorTransform::multB, &ColorTransform::multA};
    std::int16_t ColorTransform::*const adds[] = {&ColorTransform::addR, &ColorTransform::addG,
                                                  &ColorTransform::addB, &ColorTransform::addA};
    for (const DisplayObject* p = target->Parent(); p; p = p->Parent()) {
        const ColorTransform& outer = p->GetColorTransform();
        for (int i = 0; i < 4; ++i) {
            const int mult = outer.*mults[i];
            total.*adds[i] =
                static_cast<std::int16_t>(((total.*adds[i] * mult) >> 8) + outer.*adds[i]);
            total.*mults[i] = static_cast<std::int16_t>((total.*mults[i] * mult) >> 8);
        }
    }
    return NewColorTransform(call.vm, total);
}

Completion GetMatrix(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    return target ? NewMatrix(call.vm, Affine::FromMatrix(target->GetMatrix())) : Value();
}

Completion GetConcatenatedMatrix(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    return target ? NewMatrix(call.vm, ToStage(*target)) : Value();
}

// Takes a matrix only when it has all six members; the clip's _xscale,
// _yscale and _rotation read back as they were.
Completion SetMatrix(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    Object* given = call.Arg(0).ObjectOrNull();
    if (!target || !given) {
        return Value();
    }
    Vm& vm = call.vm;
    double values[6] = {};
    const std::string_view names[] = {"a", "b", "c", "d", "tx", "ty"};
    for (int i = 0; i < 6; ++i) {
        String* name = vm.Intern(names[i]);
        if (!vm.FindInChain(given, name)) {
            return Value();
        }
        const Completion got = vm.GetMember(given, name);
        if (got.IsAbrupt()) {
            return got;
        }
        const auto n = vm.ToNumber(got.GetValue());
        if (!n) {
            return n.Abrupt();
        }
        values[i] = *n;
    }
    Object* clip = ThisTransform(call)->clip;
    // Brings the clip's own record of its scale and rotation up to date.
    const Completion scale = vm.GetMember(clip, vm.Intern("_xscale"));
    if (scale.IsAbrupt()) {
        return scale;
    }
    Matrix m;
    m.scaleX = values[0];
    m.rotateSkew0 = values[1];
    m.rotateSkew1 = values[2];
    m.scaleY = values[3];
    const auto twips = [](double pixels) {
        return std::isfinite(pixels) ? Twips(std::lround(pixels * TwipsPerPixel)) : Twips(0);
    };
    m.translateX = twips(values[4]);
    m.translateY = twips(values[5]);
    target->SetMatrix(m);
    if (clip->Class() == ObjectClass::Clip || clip->Class() == ObjectClass::Button ||
        clip->Class() == ObjectClass::TextField) {
        static_cast<ClipObject*>(clip)->Transform().matrix = m;
    }
    return Value();
}

// The bounds on the stage, in whole pixels.
Completion GetPixelBounds(NativeCall& call) {
    DisplayObject* target = TargetOf(call);
    if (!target) {
        return Value();
    }
    const TwipBounds bounds = LocalBounds(*target).Transformed(ToStage(*target));
    Value args[4] = {Value(0), Value(0), Value(0), Value(0)};
    if (!bounds.empty) {
        const double left = std::floor(bounds.xMin / TwipsPerPixel);
        const double top = std::floor(bounds.yMin / TwipsPerPixel);
        args[0] = Value(left);
        args[1] = Value(top);
        args[2] = Value(std::ceil(bounds.xMax / TwipsPerPixel) - left);
        args[3] = Value(std::ceil(bounds.yMax / TwipsPerPixel) - top);
    }
    return ConstructGeom(call.vm, "Rectangle", args);
}

// The clips' Transform accessor.
Completion ClipTransform(NativeCall& call) {
    return ConstructGeom(call.vm, "Transform", std::span<const Value>(&call.thisValue, 1));
}

Completion ClipSetTransform(NativeCall& call) {
    Object* given = call.Arg(0).ObjectOrNull();
    TransformObject* from = given && given->Class() == ObjectClass::Other
                                ? dynamic_cast<TransformObject*>(given)
                                : nullptr;
    if (!from || !from->clip) {
        return Value();
    }
    // Setting a Transform copies its clip's matrix and colour transformation.
    ClipHost* host = call.vm.Clips();
    RuntimeClips* clips = host ? host->Runtime() : nullptr;
    Object* self = call.ThisObject();
    DisplayObject* source = clips ? clips->Player().Find(from->handle) : nullptr;
    DisplayObject* target = clips && self ? clips->Display(self) : nullptr;
    if (source && target && source != target) {
        target->SetMatrix(source->GetMatrix());
        target->SetColorTransform(source->GetColorTransform());
    }
    return Value();
}

struct Member {
    std::string_view name;
    NativeFunction getter;
    NativeFunction setter;
};
constexpr Member members[] = {
    {"colorTransform", GetColorTransform, SetColorTransform},
    {"concatenatedColorTransform", GetConcatenatedColorTransform, nullptr},
    {"concatenatedMatrix", GetConcatenatedMatrix, nullptr},
    {"matrix", GetMatrix, SetMatrix},
    {"pixelBounds", GetPixelBounds, nullptr},
};

} // namespace

void InstallTransform(Vm& vm) {
    const builtins::ClassParts parts =
        MakeScriptLikeClass(vm, Package(vm, "geom"), "Transform", Construct);
    parts.constructor->makeInstance = MakeInstance;
    for (const Member& m : members) {
        AddAccessor(vm, parts.prototype, m.name, m.getter, m.setter);
    }
    if (Object* clipPrototype = vm.Builtins().clipPrototype) {
        AddAccessor(vm, clipPrototype, "transform", ClipTransform, ClipSetTransform,
                    PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::Version8);
    }
}

} // namespace swf::script::geom
