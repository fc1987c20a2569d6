// Sound: a clip's sound transformation (or, made without a target, the movie's
// own, which every such Sound shares), the exported sound attachSound
// names, and the voices start begins. The transformation's parts are stored as
// scripts give them, whole 32-bit numbers, and read back unchanged; the pan
// is worked out from them when asked.
#include <cmath>
#include <cstdlib>

#include "swf/format/TagCodes.h"
#include "swf/script/NumberText.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/ClipObject.h"
#include "swf/script/display/RuntimeClips.h"
#include "swf/script/sound/SoundClasses.h"
#include "swf/script/sound/SoundObject.h"

namespace swf::script::sound {

namespace {

using builtins::Method;

constexpr std::uint16_t hiddenPermanent = PropertyFlag::DontEnum | PropertyFlag::DontDelete;

SoundObject* ThisSound(const NativeCall& call) {
    return dynamic_cast<SoundObject*>(call.ThisObject());
}

RuntimeClips* ClipsOf(Vm& vm) {
    ClipHost* host = vm.Clips();
    return host ? host->Runtime() : nullptr;
}

// Where a Sound acts now: its own transformation, a display object's, or the
// movie's. Nothing when its target is not found (a path naming nothing, a
// clip gone).
struct SoundPlace {
    SoundTransform* own = nullptr;
    DisplayObject* object = nullptr;
    MoviePlayer* player = nullptr;

    bool Found() const { return own || object || player; }
    SoundTransform Get() const {
        if (own) {
            return *own;
        }
        return object ? object->GetSoundTransform() : player->GlobalSound();
    }
    void Set(const SoundTransform& value) const {
        if (own) {
            *own = value;
        } else if (object) {
            object->SetSoundTransform(value);
        } else if (player) {
            player->GlobalSound() = value;
        }
    }
    // The clip whose sounds a start belongs to; none for the movie's own.
    std::optional<DisplayHandle> Owner() const {
        return object ? std::optional(object->Handle()) : std::nullopt;
    }
};

// The display object the Sound's target names now; null for the movie's
// own sound, and found is false when the target names nothing.
DisplayObject* TargetObject(Vm& vm, RuntimeClips& clips, const Value& target, bool& found) {
    found = true;
    if (target.IsUndefined() || target.IsNull()) {
        return nullptr;
    }
    DisplayObject* object = nullptr;
    if (Object* given = target.ObjectOrNull(); given && IsDisplayObject(given)) {
        object = clips.Display(given);
    } else if (target.IsString()) {
        object = clips.FindTarget(target.AsString()->View(), vm.CurrentTarget());
    }
    found = object != nullptr;
    return object;
}

SoundPlace PlaceOf(NativeCall& call, SoundObject& self, bool ignoreOwn = false) {
    SoundPlace place;
    if (self.ownTransform && !ignoreOwn) {
        place.own = &*self.ownTransform;
        return place;
    }
    RuntimeClips* clips = ClipsOf(call.vm);
    if (!clips) {
        return place;
    }
    bool found = false;
    place.object = TargetObject(call.vm, *clips, self.target, found);
    if (found && !place.object) {
        place.player = &clips->Player();
    }
    return place;
}

SoundPlayback* PlaybackOf(Vm& vm) {
    RuntimeClips* clips = ClipsOf(vm);
    return clips ? clips->Player().GetSoundPlayback() : nullptr;
}

// A number as the transformation keeps it: NaN, the infinities and undefined
// become 0, the rest wraps to 32 bits.
std::optional<std::int32_t> WholeNumber(Vm& vm, const Value& value, Completion& failed) {
    const auto n = vm.ToNumber(value);
    if (!n) {
        failed = n.Abrupt();
        return std::nullopt;
    }
    return ToInt32(*n);
}

std::int32_t Wrap(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::int32_t PanOf(const SoundTransform& t) {
    // Full left and right levels are 100: whichever side is turned down
    // says where the sound is.
    if (t.leftToLeft != 100) {
        return Wrap(100 - std::llabs(t.leftToLeft));
    }
    return Wrap(std::llabs(t.rightToRight) - 100);
}

Completion Construct(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    if (!call.constructing || !self) {
        return Value();
    }
    self->target = call.Arg(0);
    return Value();
}

Completion GetVolume(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    const SoundPlace place = self ? PlaceOf(call, *self) : SoundPlace{};
    return place.Found() ? Value(double(place.Get().volume)) : Value();
}

Completion SetVolume(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    const SoundPlace place = self ? PlaceOf(call, *self) : SoundPlace{};
    if (!place.Found()) {
        return Value();
    }
    Completion failed = Value();
    const auto volume = WholeNumber(call.vm, call.Arg(0), failed);
    if (!volume) {
        return failed;
    }
    SoundTransform t = place.Get();
    t.volume = *volume;
    place.Set(t);
    return Value();
}

Completion GetPan(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    const SoundPlace place = self ? PlaceOf(call, *self) : SoundPlace{};
    return place.Found() ? Value(double(PanOf(place.Get()))) : Value();
}

Completion SetPan(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    const SoundPlace place = self ? PlaceOf(call, *self) : SoundPlace{};
    if (!place.Found()) {
        return Value();
    }
    Completion failed = Value();
    const auto pan = WholeNumber(call.vm, call.Arg(0), failed);
    if (!pan) {
        return failed;
    }
    // A pan turns one side down and leaves the other full; the channels no
    // longer cross.
    SoundTransform t = place.Get();
    t.leftToRight = t.rightToLeft = 0;
    t.leftToLeft = *pan >= 0 ? Wrap(100 - std::int64_t{*pan}) : 100;
    t.rightToRight = *pan >= 0 ? 100 : Wrap(100 + std::int64_t{*pan});
    place.Set(t);
    return Value();
}

// The transformation's parts as getTransform and setTransform name them.
struct Part {
    std::string_view partName;
    std::int32_t SoundTransform::*member;
};
constexpr Part parts[] = {
    {"ll", &SoundTransform::leftToLeft},
    {"lr", &SoundTransform::leftToRight},
    {"rl", &SoundTransform::rightToLeft},
    {"rr", &SoundTransform::rightToRight},
};

Completion GetTransform(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    const SoundPlace place = self ? PlaceOf(call, *self) : SoundPlace{};
    if (!place.Found()) {
        return Value();
    }
    Vm& vm = call.vm;
    const SoundTransform t = place.Get();
    Object* result = vm.NewObject();
    for (const Part& part : parts) {
        vm.SetMember(result, vm.Intern(part.partName), Value(double(t.*part.member)));
    }
    return Value(result);
}

// Only the given object's own parts count, read as they are stored: a part
// made by addProperty is not asked for its value and counts as undefined.
Completion SetTransform(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    Object* given = call.Arg(0).ObjectOrNull();
    const SoundPlace place = self ? PlaceOf(call, *self) : SoundPlace{};
    if (!place.Found() || !given) {
        return Value();
    }
    Vm& vm = call.vm;
    SoundTransform t = place.Get();
    // They are read in this order, which shows when reading one runs a
    // script (a valueOf).
    for (const std::size_t index : {0, 1, 3, 2}) {
        const Part& part = parts[index];
        const Property* own = vm.FindOwn(given, vm.Intern(part.partName));
        if (!own) {
            continue;
        }
        Completion failed = Value();
        const auto whole = WholeNumber(vm, own->IsAccessor() ? Value() : own->value, failed);
        if (!whole) {
            return failed;
        }
        t.*part.member = *whole;
    }
    place.Set(t);
    return Value();
}

// The sound exported under the name, if it is one.
std::optional<CharacterId> ExportedSound(Vm& vm, const Value& linkage) {
    RuntimeClips* clips = ClipsOf(vm);
    if (!clips || !linkage.IsString()) {
        return std::nullopt;
    }
    const Movie& movie = clips->Player().GetMovie();
    const auto id = clips->Exports().Find(movie, linkage.AsString()->View());
    const Character* character = id ? movie.Find(*id) : nullptr;
    if (!character || character->tagCode != tag::DefineSound) {
        return std::nullopt;
    }
    return id;
}

Completion AttachSound(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    if (!self) {
        return Value();
    }
    const auto linkage = call.vm.ToString(call.Arg(0));
    if (!linkage) {
        return linkage.Abrupt();
    }
    const auto id = ExportedSound(call.vm, Value(*linkage));
    self->attached = id.value_or(0);
    self->voice = 0;
    self->lastPositionMs = 0;
    return Value();
}

// The sound's length in milliseconds, from what its DefineSound declares:
// the sample frames and the rate.
std::optional<double> DurationMs(Vm& vm, CharacterId id) {
    RuntimeClips* clips = ClipsOf(vm);
    const Character* character = clips ? clips->Player().GetMovie().Find(id) : nullptr;
    const auto* raw = character ? std::get_if<RawCharacter>(&character->data) : nullptr;
    if (!raw || raw->tag.body.size() < 7) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t>& body = raw->tag.body;
    static constexpr double rates[] = {5512.5, 11025, 22050, 44100};
    const double rate = rates[(body[2] >> 2) & 3];
    const std::uint32_t frames = std::uint32_t{body[3]} | std::uint32_t{body[4]} << 8 |
                                 std::uint32_t{body[5]} << 16 | std::uint32_t{body[6]} << 24;
    return std::floor(double(frames) * 1000.0 / rate);
}

// Runs at the start of each frame while a started voice plays; when it has
// played out (not stopped), the Sound's onSoundComplete runs.
Completion WatchVoice(NativeCall& call) {
    Vm& vm = call.vm;
    auto* self = dynamic_cast<SoundObject*>(call.Arg(0).ObjectOrNull());
    const auto n = vm.ToNumber(call.Arg(1));
    SoundPlayback* playback = PlaybackOf(vm);
    if (!self || !n || !playback || self->voice != static_cast<SoundVoiceId>(*n)) {
        return Value();
    }
    if (playback->VoicePlaying(self->voice)) {
        self->lastPositionMs = playback->VoicePositionMs(self->voice);
        Vm::Timer again;
        again.function = Value(call.callee);
        again.args = {call.Arg(0), call.Arg(1)};
        vm.CallAtFrameStart(std::move(again), 1);
        return Value();
    }
    self->voice = 0;
    if (const auto duration = DurationMs(vm, self->attached)) {
        self->lastPositionMs = *duration;
    }
    return vm.CallMethod(call.Arg(0), vm.Intern("onSoundComplete"), {});
}

Completion Start(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    SoundPlayback* playback = PlaybackOf(call.vm);
    if (!self || self->attached == 0) {
        return Value();
    }
    Vm& vm = call.vm;
    double offset = 0;
    int loops = 1;
    if (call.Has(0)) {
        const auto n = vm.ToNumber(call.Arg(0));
        if (!n) {
            return n.Abrupt();
        }
        offset = std::isfinite(*n) ? *n : 0;
    }
    if (call.Has(1)) {
        const auto n = vm.ToNumber(call.Arg(1));
        if (!n) {
            return n.Abrupt();
        }
        loops = ToInt32(*n);
    }
    const SoundPlace place = PlaceOf(call, *self, true);
    if (!playback || !place.Found()) {
        return Value();
    }
    self->voice = playback->StartScriptSound(place.Owner(), self->attached, offset, loops);
    self->lastPositionMs = 0;
    if (self->voice != 0) {
        Vm::Timer watch;
        watch.function = Value(builtins::MakeFunction(vm, WatchVoice));
        watch.args = {call.thisValue, Value(double(self->voice))};
        vm.CallAtFrameStart(std::move(watch), 1);
    }
    return Value();
}

// stop(): the sounds started on the Sound's target (on the movie's own
// sound: every sound); stop(name): only that exported sound.
Completion Stop(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    SoundPlayback* playback = PlaybackOf(call.vm);
    if (!self || !playback) {
        return Value();
    }
    std::optional<CharacterId> only;
    if (call.Has(0)) {
        const auto linkage = call.vm.ToString(call.Arg(0));
        if (!linkage) {
            return linkage.Abrupt();
        }
        only = ExportedSound(call.vm, Value(*linkage));
        if (!only) {
            return Value();
        }
    }
    const SoundPlace place = PlaceOf(call, *self, true);
    if (!place.Found()) {
        return Value();
    }
    if (self->voice != 0 && (!only || *only == self->attached)) {
        self->lastPositionMs = playback->VoicePositionMs(self->voice);
        self->voice = 0;
    }
    playback->StopScriptSounds(place.Owner(), only);
    return Value();
}

Value DurationOf(Vm& vm, const SoundObject& self) {
    const auto duration = self.attached != 0 ? DurationMs(vm, self.attached) : std::nullopt;
    return duration ? Value(*duration) : Value();
}

Value PositionOf(Vm& vm, SoundObject& self) {
    if (self.attached == 0) {
        return Value();
    }
    SoundPlayback* playback = PlaybackOf(vm);
    if (playback && self.voice != 0 && playback->VoicePlaying(self.voice)) {
        self.lastPositionMs = playback->VoicePositionMs(self.voice);
    }
    return Value(std::floor(self.lastPositionMs));
}

Completion GetDuration(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    return self ? DurationOf(call.vm, *self) : Value();
}

Completion GetPosition(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    return self ? PositionOf(call.vm, *self) : Value();
}

// loadSound(url, streaming): nothing is fetched yet; the Sound gets a
// transformation of its own, as a loaded sound has, and hears at the start of
// the second frame after that the load failed.
Completion LoadSound(NativeCall& call) {
    SoundObject* self = ThisSound(call);
    if (!self) {
        return Value();
    }
    Vm& vm = call.vm;
    if (const auto url = vm.ToString(call.Arg(0)); !url) {
        return url.Abrupt();
    }
    // What was attached is let go: the load stands in its place.
    self->voice = 0;
    self->attached = 0;
    self->ownTransform = SoundTransform{};
    Vm::Timer notice;
    notice.function = call.thisValue;
    notice.method = vm.Intern("onLoad");
    notice.args = {Value(false)};
    vm.CallAtFrameStart(std::move(notice), 2);
    return Value();
}

Completion Nothing(NativeCall&) {
    return Value();
}

Completion NoSoundsInaccessible(NativeCall&) {
    return Value(false);
}

constexpr Method methods[] = {
    {"areSoundsInaccessible", NoSoundsInaccessible, 9},
    {"attachSound", AttachSound, 5},
    {"getBytesLoaded", Nothing, 6},
    {"getBytesTotal", Nothing, 6},
    {"getDuration", GetDuration, 6},
    {"getPan", GetPan, 5},
    {"getPosition", GetPosition, 6},
    {"getTransform", GetTransform, 5},
    {"getVolume", GetVolume, 5},
    {"loadSound", LoadSound, 6},
    {"setDuration", Nothing, 6},
    {"setPan", SetPan, 5},
    {"setPosition", Nothing, 6},
    {"setTransform", SetTransform, 5},
    {"setVolume", SetVolume, 5},
    {"start", Start, 5},
    {"stop", Stop, 5},
};

Object* MakeInstance(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<SoundObject>();
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    return object;
}

} // namespace

bool SoundObject::GetSpecial(Vm& vm, String* member, Value& out) {
    if (vm.Version() < 6 || attached == 0) {
        return false;
    }
    const auto named = [&](std::string_view wanted) {
        return vm.Version() >= 7 ? member->View() == wanted
                                 : EqualsIgnoringAsciiCase(member->View(), wanted);
    };
    if (named("duration")) {
        out = DurationOf(vm, *this);
        return true;
    }
    if (named("position")) {
        out = PositionOf(vm, *this);
        return true;
    }
    return false;
}

void InstallSound(Vm& vm) {
    const builtins::ClassParts classParts =
        builtins::MakeClass(vm, Construct, vm.Builtins().objectPrototype, false);
    classParts.constructor->makeInstance = MakeInstance;
    builtins::AddMethods(vm, classParts.prototype, methods, PropertyFlag::ReadOnly);
    // checkPolicyFile reads as nothing until loading over the network exists.
    Property& policy = classParts.prototype->Properties().Add(vm.Intern("checkPolicyFile"), Value(),
                                                              hiddenPermanent);
    policy.getter = builtins::MakeFunction(vm, Nothing);
    policy.setter = builtins::MakeFunction(vm, Nothing);
    for (String* link : {vm.N().proto, vm.N().constructor}) {
        if (Property* p = classParts.prototype->Properties().Find(link, vm.Version())) {
            p->flags |= PropertyFlag::ReadOnly;
        }
    }
    builtins::AddGlobal(vm, "Sound", Value(classParts.constructor));
}

} // namespace swf::script::sound
