// MovieClip.prototype and Button.prototype. A method called on something
// that is not a clip (or on a clip that left the stage) does nothing and
// gives undefined, as Flash does; arguments missing where Flash needs them
// do the same.
#include "swf/script/display/ClipMethods.h"

#include <cmath>

#include "swf/runtime/MovieClip.h"
#include "swf/runtime/ScriptDepths.h"
#include "swf/script/ArrayObject.h"
#include "swf/script/MovieScripts.h"
#include "swf/script/NumberText.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/ClipGeometry.h"
#include "swf/script/display/RuntimeClips.h"

namespace swf::script {

namespace {

using builtins::Method;

RuntimeClips* ClipsOf(Vm& vm) {
    ClipHost* host = vm.Clips();
    return host ? host->Runtime() : nullptr;
}

// The display object this method was called on.
DisplayObject* ThisDisplay(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    Object* self = call.ThisObject();
    return clips && self ? clips->Display(self) : nullptr;
}

MovieClip* ThisClip(NativeCall& call) {
    DisplayObject* object = ThisDisplay(call);
    return object && object->Kind() == DisplayKind::MovieClip ? static_cast<MovieClip*>(object)
                                                              : nullptr;
}

ScriptResult<double> NumberArg(NativeCall& call, std::size_t i) {
    return call.vm.ToNumber(call.Arg(i));
}

// A depth argument as Flash reads it: a number, cut to an integer.
ScriptResult<std::int64_t> DepthArg(NativeCall& call, std::size_t i) {
    const auto n = NumberArg(call, i);
    if (!n) {
        return n.Abrupt();
    }
    return std::int64_t{ToInt32(*n)};
}

ScriptResult<std::string> TextArg(NativeCall& call, std::size_t i) {
    const auto s = call.vm.ToString(call.Arg(i));
    if (!s) {
        return s.Abrupt();
    }
    return std::string((*s)->View());
}

// Copies the enumerable properties of an initObject onto a new clip.
Completion CopyInit(Vm& vm, Object* clip, const Value& init) {
    Object* source = init.ObjectOrNull();
    if (!clip || !source) {
        return Value();
    }
    for (String* name : vm.EnumerableNames(source)) {
        const Completion value = vm.GetMember(source, name);
        if (value.IsAbrupt()) {
            return value;
        }
        const Completion set = vm.SetMember(clip, name, value.GetValue());
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

// A new clip's construct event and class, after its initObject is in.
Completion Construct(RuntimeClips& clips, DisplayObject* made, const Value& init) {
    Object* object = clips.ObjectFor(made);
    if (!object) {
        return Value();
    }
    TemporaryRoot keep(clips.GetVm(), Value(object));
    const Completion copied = CopyInit(clips.GetVm(), object, init);
    if (copied.IsAbrupt()) {
        return copied;
    }
    if (made->Kind() == DisplayKind::MovieClip) {
        clips.Scripts().ConstructNow(static_cast<MovieClip&>(*made));
    }
    return Value(clips.ObjectFor(made));
}

// Timeline.

Completion Goto(NativeCall& call, bool play) {
    MovieClip* clip = ThisClip(call);
    if (!clip || !call.Has(0)) {
        return Value();
    }
    const Value frame = call.Arg(0);
    if (frame.IsString()) {
        const std::string_view text = frame.AsString()->View();
        const double number = StringToNumber(text, 7);
        if (std::isnan(number)) {
            clip->GotoLabel(text, play);
            return Value();
        }
        if (number >= 1) {
            clip->GotoFrame(std::size_t(std::min(number, 1e9)) - 1, play);
        }
        return Value();
    }
    const auto number = call.vm.ToNumber(frame);
    if (!number) {
        return number.Abrupt();
    }
    if (*number >= 1) {
        clip->GotoFrame(std::size_t(std::min(*number, 1e9)) - 1, play);
    }
    return Value();
}

Completion GotoAndPlay(NativeCall& call) {
    return Goto(call, true);
}

Completion GotoAndStop(NativeCall& call) {
    return Goto(call, false);
}

Completion Play(NativeCall& call) {
    if (MovieClip* clip = ThisClip(call)) {
        clip->Play();
    }
    return Value();
}

Completion Stop(NativeCall& call) {
    if (MovieClip* clip = ThisClip(call)) {
        clip->Stop();
    }
    return Value();
}

Completion NextFrame(NativeCall& call) {
    if (MovieClip* clip = ThisClip(call)) {
        clip->NextFrame();
    }
    return Value();
}

Completion PrevFrame(NativeCall& call) {
    if (MovieClip* clip = ThisClip(call)) {
        clip->PrevFrame();
    }
    return Value();
}

// Depths.

Completion GetDepth(NativeCall& call) {
    DisplayObject* object = ThisDisplay(call);
    if (!object) {
        return Value();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    return Value(double(clips.ScriptDepth(*object)));
}

Completion GetNextHighestDepth(NativeCall& call) {
    MovieClip* clip = ThisClip(call);
    if (!clip) {
        return Value();
    }
    return Value(double(depths::ToScript(clip->NextHighestDepth())));
}

Completion GetInstanceAtDepth(NativeCall& call) {
    MovieClip* clip = ThisClip(call);
    // An undefined depth is no depth, not depth 0.
    if (!clip || !call.Has(0) || call.Arg(0).IsUndefined()) {
        return Value();
    }
    const auto depth = DepthArg(call, 0);
    if (!depth) {
        return depth.Abrupt();
    }
    DisplayObject* found = clip->ChildAt(depths::FromScript(*depth));
    if (!found) {
        return Value();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    // A shape has no script object: Flash gives the clip that holds it.
    Object* object = clips.ObjectFor(found);
    return object ? Value(object) : Value(clips.ObjectFor(clip));
}

Completion SwapDepths(NativeCall& call) {
    DisplayObject* object = ThisDisplay(call);
    if (!object || !call.Has(0)) {
        return Value();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    std::int64_t target = 0;
    if (Object* other = call.Arg(0).ObjectOrNull(); other && IsDisplayObject(other)) {
        DisplayObject* otherObject = clips.Display(other);
        if (!otherObject || otherObject->Parent() != object->Parent()) {
            return Value();
        }
        target = depths::ToScript(otherObject->GetDepth());
    } else {
        const auto depth = DepthArg(call, 0);
        if (!depth) {
            return depth.Abrupt();
        }
        target = *depth;
    }
    if (depths::SwapTarget(target)) {
        clips.SwapDepths(*object, target);
    }
    return Value();
}

// Making and removing clips.

Completion CreateEmptyMovieClip(NativeCall& call) {
    MovieClip* clip = ThisClip(call);
    if (!clip || call.Count() < 2) {
        return Value();
    }
    const auto name = TextArg(call, 0);
    if (!name) {
        return name.Abrupt();
    }
    const auto depth = DepthArg(call, 1);
    if (!depth) {
        return depth.Abrupt();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    MovieClip* made = clip->CreateEmptyClip(*name, depths::FromScript(*depth));
    if (!made) {
        return Value();
    }
    return Construct(clips, made, Value());
}

Completion AttachMovie(NativeCall& call) {
    MovieClip* clip = ThisClip(call);
    if (!clip || call.Count() < 3) {
        return Value();
    }
    const auto id = TextArg(call, 0);
    if (!id) {
        return id.Abrupt();
    }
    const auto name = TextArg(call, 1);
    if (!name) {
        return name.Abrupt();
    }
    const auto depth = DepthArg(call, 2);
    if (!depth) {
        return depth.Abrupt();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    const auto character = clips.Exports().Find(clips.Player().GetMovie(), *id);
    if (!character) {
        return Value();
    }
    DisplayObject* made = clip->AttachCharacter(*character, *name, depths::FromScript(*depth));
    if (!made) {
        return Value();
    }
    return Construct(clips, made, call.Arg(3));
}

Completion DuplicateMovieClip(NativeCall& call) {
    MovieClip* clip = ThisClip(call);
    if (!clip || call.Count() < 2) {
        return Value();
    }
    const auto name = TextArg(call, 0);
    if (!name) {
        return name.Abrupt();
    }
    const auto depth = DepthArg(call, 1);
    if (!depth) {
        return depth.Abrupt();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    MovieClip* made = clip->Duplicate(*name, depths::FromScript(*depth));
    if (!made) {
        return Value();
    }
    return Construct(clips, made, call.Arg(2));
}

Completion RemoveMovieClip(NativeCall& call) {
    if (call.ThisObject() && ThisDisplay(call)) {
        ClipsOf(call.vm)->Remove(call.ThisObject());
    }
    return Value();
}

// Loading.

Completion GetBytesLoaded(NativeCall& call) {
    MovieClip* clip = ThisClip(call);
    if (!clip) {
        return Value();
    }
    return Value(double(ClipsOf(call.vm)->BytesOf(*clip)));
}

Completion GetBytesTotal(NativeCall& call) {
    return GetBytesLoaded(call);
}

Completion GetSwfVersion(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    if (!ThisDisplay(call) || !clips) {
        return Value(-1);
    }
    return Value(double(clips->Player().GetMovie().header.version));
}

Completion RequestUrl(NativeCall& call, UrlRequest request, std::size_t methodArg) {
    if (call.Has(methodArg)) {
        const auto method = TextArg(call, methodArg);
        if (!method) {
            return method.Abrupt();
        }
        if (EqualsIgnoringAsciiCase(*method, "GET")) {
            request.method = 1;
        } else if (EqualsIgnoringAsciiCase(*method, "POST")) {
            request.method = 2;
        }
    }
    if (RuntimeClips* clips = ClipsOf(call.vm)) {
        clips->RequestUrl(call.ThisObject(), request);
    }
    return Value();
}

Completion GetUrl(NativeCall& call) {
    if (!call.Has(0)) {
        return Value();
    }
    UrlRequest request;
    const auto url = TextArg(call, 0);
    if (!url) {
        return url.Abrupt();
    }
    request.url = *url;
    if (call.Has(1)) {
        const auto target = TextArg(call, 1);
        if (!target) {
            return target.Abrupt();
        }
        request.target = *target;
    }
    return RequestUrl(call, request, 2);
}

// loadMovie and loadVariables on a clip load into it.
Completion LoadInto(NativeCall& call, bool variables) {
    DisplayObject* object = ThisDisplay(call);
    if (!object || !call.Has(0)) {
        return Value();
    }
    UrlRequest request;
    const auto url = TextArg(call, 0);
    if (!url) {
        return url.Abrupt();
    }
    request.url = *url;
    request.target = ClipsOf(call.vm)->DotPath(call.ThisObject());
    request.loadTarget = true;
    request.loadVariables = variables;
    return RequestUrl(call, request, 1);
}

Completion LoadMovie(NativeCall& call) {
    return LoadInto(call, false);
}

Completion LoadVariables(NativeCall& call) {
    return LoadInto(call, true);
}

Completion UnloadMovie(NativeCall& call) {
    MovieClip* clip = ThisClip(call);
    if (clip) {
        ClipsOf(call.vm)->Unload(*clip);
    }
    return Value();
}

// Geometry. Coordinates are pixels to scripts, twips to the runtime.

Value BoundsObject(Vm& vm, const TwipBounds& bounds) {
    // An object with nothing in it reports the largest coordinate there is.
    constexpr double nothing = 6710886.35;
    Object* result = vm.NewObject();
    const auto put = [&](std::string_view name, double twips) {
        vm.SetMember(result, vm.Intern(name),
                     Value(bounds.empty ? nothing : std::round(twips) / TwipsPerPixel));
    };
    put("xMin", bounds.xMin);
    put("xMax", bounds.xMax);
    put("yMin", bounds.yMin);
    put("yMax", bounds.yMax);
    return Value(result);
}

// The transformation from the object's coordinates into those of the clip a
// getBounds-style argument names (the object's own when there is none).
std::optional<Affine> IntoSpaceOf(NativeCall& call, DisplayObject& object) {
    if (!call.Has(0)) {
        return Affine{};
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    Object* target = call.Arg(0).ObjectOrNull();
    DisplayObject* space = target && IsDisplayObject(target) ? clips.Display(target) : nullptr;
    if (!space) {
        return std::nullopt;
    }
    const auto fromStage = Inverse(ToStage(*space));
    if (!fromStage) {
        return std::nullopt;
    }
    return *fromStage * ToStage(object);
}

Completion GetBounds(NativeCall& call) {
    DisplayObject* object = ThisDisplay(call);
    if (!object) {
        return Value();
    }
    const auto into = IntoSpaceOf(call, *object);
    if (!into) {
        return Value();
    }
    return BoundsObject(call.vm, LocalBounds(*object).Transformed(*into));
}

// Reads x and y of a point object, in pixels.
ScriptResult<std::optional<std::array<double, 2>>> PointOf(Vm& vm, const Value& value) {
    Object* point = value.ObjectOrNull();
    if (!point) {
        return std::optional<std::array<double, 2>>();
    }
    std::array<double, 2> xy{};
    for (int i = 0; i < 2; ++i) {
        const Completion got = vm.GetMember(point, vm.Intern(i == 0 ? "x" : "y"));
        if (got.IsAbrupt()) {
            return got;
        }
        const auto n = vm.ToNumber(got.GetValue());
        if (!n) {
            return n.Abrupt();
        }
        xy[i] = *n;
    }
    return std::optional(xy);
}

Completion TransformPoint(NativeCall& call, bool toGlobal) {
    DisplayObject* object = ThisDisplay(call);
    Object* point = call.Arg(0).ObjectOrNull();
    if (!object || !point) {
        return Value();
    }
    const auto xy = PointOf(call.vm, call.Arg(0));
    if (!xy) {
        return xy.Abrupt();
    }
    Affine mapping = ToStage(*object);
    if (!toGlobal) {
        const auto inverse = Inverse(mapping);
        if (!inverse) {
            return Value();
        }
        mapping = *inverse;
    }
    const auto p = mapping.Apply((**xy)[0] * TwipsPerPixel, (**xy)[1] * TwipsPerPixel);
    for (int i = 0; i < 2; ++i) {
        const Completion set = call.vm.SetMember(point, call.vm.Intern(i == 0 ? "x" : "y"),
                                                 Value(p[i] / TwipsPerPixel));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

Completion LocalToGlobal(NativeCall& call) {
    return TransformPoint(call, true);
}

Completion GlobalToLocal(NativeCall& call) {
    return TransformPoint(call, false);
}

Completion HitTest(NativeCall& call) {
    DisplayObject* object = ThisDisplay(call);
    if (!object || !call.Has(0)) {
        return Value();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    const TwipBounds mine = LocalBounds(*object).Transformed(ToStage(*object));
    if (call.Count() == 1) {
        Object* other = call.Arg(0).ObjectOrNull();
        DisplayObject* otherObject =
            other && IsDisplayObject(other) ? clips.Display(other) : nullptr;
        if (!otherObject) {
            return Value(false);
        }
        return Value(mine.Intersects(LocalBounds(*otherObject).Transformed(ToStage(*otherObject))));
    }
    const auto x = NumberArg(call, 0);
    if (!x) {
        return x.Abrupt();
    }
    const auto y = NumberArg(call, 1);
    if (!y) {
        return y.Abrupt();
    }
    const bool shape = call.Has(2) && call.vm.ToBoolean(call.Arg(2));
    return Value(clips.HitTestPoint(*object, *x * TwipsPerPixel, *y * TwipsPerPixel, shape));
}

// Dragging.

Completion StartDrag(NativeCall& call) {
    if (!ThisDisplay(call)) {
        return Value();
    }
    const bool lockCenter = call.Has(0) && call.vm.ToBoolean(call.Arg(0));
    std::optional<std::array<double, 4>> bounds;
    if (call.Count() >= 5) {
        std::array<double, 4> b{};
        for (std::size_t i = 0; i < 4; ++i) {
            const auto n = NumberArg(call, i + 1);
            if (!n) {
                return n.Abrupt();
            }
            b[i] = *n;
        }
        bounds = b;
    }
    ClipsOf(call.vm)->StartDrag(call.ThisObject(), lockCenter, bounds);
    return Value();
}

Completion StopDrag(NativeCall& call) {
    if (RuntimeClips* clips = ClipsOf(call.vm)) {
        clips->StopDrag();
    }
    return Value();
}

Completion SetMask(NativeCall& call) {
    DisplayObject* object = ThisDisplay(call);
    if (!object || !call.Has(0)) {
        return Value();
    }
    RuntimeClips& clips = *ClipsOf(call.vm);
    Object* mask = call.Arg(0).ObjectOrNull();
    clips.SetMask(*object, mask && IsDisplayObject(mask) ? clips.Display(mask) : nullptr);
    return Value(true);
}

Completion ClipConstructor(NativeCall& call) {
    return call.constructing ? call.thisValue : Value();
}

constexpr Method clipMethods[] = {
    {"attachMovie", AttachMovie, 5},
    {"createEmptyMovieClip", CreateEmptyMovieClip, 6},
    {"duplicateMovieClip", DuplicateMovieClip, 5},
    {"getBounds", GetBounds, 5},
    {"getBytesLoaded", GetBytesLoaded, 5},
    {"getBytesTotal", GetBytesTotal, 5},
    {"getDepth", GetDepth, 6},
    {"getInstanceAtDepth", GetInstanceAtDepth, 7},
    {"getNextHighestDepth", GetNextHighestDepth, 7},
    {"getRect", GetBounds, 8},
    {"getSWFVersion", GetSwfVersion, 5},
    {"getURL", GetUrl, 5},
    {"globalToLocal", GlobalToLocal, 5},
    {"gotoAndPlay", GotoAndPlay, 5},
    {"gotoAndStop", GotoAndStop, 5},
    {"hitTest", HitTest, 5},
    {"loadMovie", LoadMovie, 5},
    {"loadVariables", LoadVariables, 5},
    {"localToGlobal", LocalToGlobal, 5},
    {"nextFrame", NextFrame, 5},
    {"play", Play, 5},
    {"prevFrame", PrevFrame, 5},
    {"removeMovieClip", RemoveMovieClip, 5},
    {"setMask", SetMask, 6},
    {"startDrag", StartDrag, 5},
    {"stop", Stop, 5},
    {"stopDrag", StopDrag, 5},
    {"swapDepths", SwapDepths, 5},
    {"unloadMovie", UnloadMovie, 5},
};

constexpr Method buttonMethods[] = {
    {"getDepth", GetDepth, 6},
};

} // namespace

void InstallMovieClip(Vm& vm) {
    const builtins::ClassParts parts =
        builtins::MakeClass(vm, ClipConstructor, vm.Builtins().objectPrototype);
    builtins::AddMethods(vm, parts.prototype, clipMethods);
    vm.Builtins().clipPrototype = parts.prototype;
    vm.Builtins().clipConstructor = parts.constructor;
    builtins::AddGlobal(vm, "MovieClip", Value(parts.constructor));
}

void InstallButton(Vm& vm) {
    const builtins::ClassParts parts =
        builtins::MakeClass(vm, ClipConstructor, vm.Builtins().objectPrototype);
    builtins::AddMethods(vm, parts.prototype, buttonMethods);
    vm.Builtins().buttonPrototype = parts.prototype;
    builtins::AddGlobal(vm, "Button", Value(parts.constructor), 6);
}

} // namespace swf::script
