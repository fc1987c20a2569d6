#include "swf/script/display/RuntimeClips.h"

#include <cmath>
#include <numbers>

#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/MovieClip.h"
#include "swf/runtime/ScriptDepths.h"
#include "swf/script/MovieScripts.h"
#include "swf/script/NumberText.h"
#include "swf/script/TargetPathSyntax.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/Vm.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/display/ClipGeometry.h"
#include "swf/script/text/TextClasses.h"

namespace swf::script {

namespace {

constexpr double degreesPerRadian = 180.0 / std::numbers::pi;

ObjectClass ClassOf(const DisplayObject& object) {
    switch (object.Kind()) {
    case DisplayKind::MovieClip:
        return ObjectClass::Clip;
    case DisplayKind::Button:
        return ObjectClass::Button;
    case DisplayKind::EditText:
        return ObjectClass::TextField;
    case DisplayKind::Graphic:
        break;
    }
    return ObjectClass::Other;
}

Object* PrototypeFor(Vm& vm, ObjectClass kind) {
    switch (kind) {
    case ObjectClass::Clip:
        return vm.Builtins().clipPrototype;
    case ObjectClass::Button:
        return vm.Builtins().buttonPrototype;
    case ObjectClass::TextField:
        return vm.Builtins().textFieldPrototype;
    default:
        return vm.Builtins().objectPrototype;
    }
}

// Twips from pixels, as Flash stores positions: cut to the twip, toward zero.
Twips ToTwips(double pixels) {
    const double twips = std::trunc(pixels * TwipsPerPixel);
    return static_cast<Twips>(std::clamp(twips, -2147483648.0, 2147483647.0));
}

double NormalizedDegrees(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d > 180.0) {
        d -= 360.0;
    } else if (d < -180.0) {
        d += 360.0;
    }
    return d;
}

} // namespace

RuntimeClips::RuntimeClips(MoviePlayer& player, Vm& vm, MovieScripts& scripts)
    : player(player), vm(vm), scripts(scripts) {
    vm.GetHeap().AddRoots(this);
}

RuntimeClips::~RuntimeClips() {
    vm.GetHeap().RemoveRoots(this);
}

ClipObject* RuntimeClips::ObjectFor(DisplayObject* object) {
    if (!object) {
        return nullptr;
    }
    const auto found = objects.find(object->Handle());
    if (found != objects.end()) {
        return found->second;
    }
    const ObjectClass kind = ClassOf(*object);
    if (kind == ObjectClass::Other) {
        return nullptr;
    }
    ClipObject* made = vm.GetHeap().Make<ClipObject>(kind, object->Handle(), PathOf(*object));
    Object* prototype = PrototypeFor(vm, kind);
    if (kind == ObjectClass::TextField) {
        // A field takes the TextField.prototype of the moment, and gives it
        // the native properties if it has none yet.
        InstallTextFieldProperties(vm);
        if (Object* current = CurrentTextFieldPrototype(vm)) {
            prototype = current;
        }
    }
    if (Object* registered = RegisteredClass(*object)) {
        const Property* p = registered->Properties().Find(vm.N().prototype, vm.Version());
        if (p && p->value.IsObject()) {
            prototype = p->value.AsObject();
        }
    }
    if (prototype) {
        vm.SetPrototype(made, prototype);
    }
    objects.emplace(object->Handle(), made);
    if (!object->Parent()) {
        // The main movie's timeline starts with the player's version.
        vm.DefineOwn(made, "$version", Value(vm.Intern(builtins::PlayerVersion())));
    }
    return made;
}

DisplayObject* RuntimeClips::Display(Object* clip) {
    if (!clip || !IsDisplayObject(clip)) {
        return nullptr;
    }
    auto* object = static_cast<ClipObject*>(clip);
    if (DisplayObject* alive = player.Find(object->Handle())) {
        return alive;
    }
    return FindByPath(object->Path());
}

MovieClip* RuntimeClips::DisplayClip(Object* clip) {
    DisplayObject* object = Display(clip);
    return object && object->Kind() == DisplayKind::MovieClip ? static_cast<MovieClip*>(object)
                                                              : nullptr;
}

std::vector<EditTextObject*> RuntimeClips::BoundFields() {
    std::vector<EditTextObject*> fields;
    for (const auto& [handle, object] : objects) {
        const auto& model = object->TextModel();
        if (!model || !model->variable) {
            continue;
        }
        DisplayObject* display = player.Find(handle);
        if (display && display->Kind() == DisplayKind::EditText) {
            fields.push_back(static_cast<EditTextObject*>(display));
        }
    }
    return fields;
}

void RuntimeClips::Prune() {
    std::erase_if(objects, [this](const auto& entry) { return !player.Find(entry.first); });
}

std::string RuntimeClips::PathOf(const DisplayObject& object) const {
    const MovieClip* parent = object.ParentClip();
    return parent ? PathOf(*parent) + "." + object.Name() : std::string("_level0");
}

DisplayObject* RuntimeClips::FindByPath(std::string_view path) const {
    constexpr std::string_view level0 = "_level0";
    if (!path.starts_with(level0)) {
        return nullptr;
    }
    const bool caseSensitive = vm.Version() >= 7;
    DisplayObject* current = &player.Root();
    std::size_t at = level0.size();
    while (current && at < path.size()) {
        const std::size_t end = std::min(path.find('.', at + 1), path.size());
        const std::string_view name = path.substr(at + 1, end - at - 1);
        current = current->Kind() == DisplayKind::MovieClip
                      ? static_cast<MovieClip*>(current)->FindChild(name, caseSensitive)
                      : nullptr;
        at = end;
    }
    return current;
}

Object* RuntimeClips::Level(int level) {
    return level == 0 ? ObjectFor(&player.Root()) : nullptr;
}

Object* RuntimeClips::Parent(Object* clip) {
    DisplayObject* object = Display(clip);
    return object ? ObjectFor(object->ParentClip()) : nullptr;
}

Object* RuntimeClips::Child(Object* clip, String* name, int version) {
    MovieClip* parent = DisplayClip(clip);
    if (!parent || name->Empty()) {
        return nullptr;
    }
    return ObjectFor(parent->FindChild(name->View(), version >= 7));
}

std::string RuntimeClips::SlashPath(Object* clip) {
    DisplayObject* object = Display(clip);
    if (!object) {
        return {};
    }
    std::string path;
    for (const DisplayObject* o = object; o->ParentClip(); o = o->ParentClip()) {
        path.insert(0, "/" + o->Name());
    }
    return path.empty() ? "/" : path;
}

std::string RuntimeClips::DotPath(Object* clip) {
    DisplayObject* object = Display(clip);
    if (!object) {
        return clip && IsDisplayObject(clip) ? static_cast<ClipObject*>(clip)->Path()
                                             : std::string();
    }
    return PathOf(*object);
}

bool RuntimeClips::Alive(Object* clip) {
    return Display(clip) != nullptr;
}

Object* RuntimeClips::Live(Object* clip) {
    auto* object = static_cast<ClipObject*>(clip);
    if (player.Find(object->Handle())) {
        return clip;
    }
    return ObjectFor(FindByPath(object->Path()));
}

void RuntimeClips::ChildNames(Object* clip, std::vector<String*>& names) {
    MovieClip* parent = DisplayClip(clip);
    if (!parent) {
        return;
    }
    for (const auto& [depth, child] : parent->GetChildren()) {
        if (!child->Name().empty() && ClassOf(*child) != ObjectClass::Other) {
            names.push_back(vm.Intern(child->Name()));
        }
    }
}

Value RuntimeClips::GetTransformProperty(DisplayObject& object, ClipObject& clip,
                                         ClipProperty property) {
    const Matrix& m = object.GetMatrix();
    ClipObject::Decomposition& d = clip.Transform();
    if (!d.valid || !(d.matrix == m)) {
        d.matrix = m;
        d.xScale = std::hypot(m.scaleX, m.rotateSkew0) * 100.0;
        d.yScale = std::hypot(m.rotateSkew1, m.scaleY) * 100.0;
        d.rotation = std::atan2(m.rotateSkew0, m.scaleX) * degreesPerRadian;
        d.valid = true;
    }
    switch (property) {
    case ClipProperty::XScale:
        return Value(d.xScale);
    case ClipProperty::YScale:
        return Value(d.yScale);
    default:
        return Value(d.rotation);
    }
}

void RuntimeClips::SetTransformProperty(DisplayObject& object, ClipObject& clip,
                                        ClipProperty property, double value) {
    GetTransformProperty(object, clip, property); // brings the decomposition up to date
    ClipObject::Decomposition& d = clip.Transform();
    const Matrix& m = object.GetMatrix();
    double xAngle = std::atan2(m.rotateSkew0, m.scaleX);
    double yAngle = std::atan2(-m.rotateSkew1, m.scaleY);
    if (m.scaleX == 0 && m.rotateSkew0 == 0) {
        xAngle = d.rotation / degreesPerRadian;
    }
    if (m.scaleY == 0 && m.rotateSkew1 == 0) {
        yAngle = xAngle;
    }
    switch (property) {
    case ClipProperty::XScale:
        d.xScale = value;
        break;
    case ClipProperty::YScale:
        d.yScale = value;
        break;
    default: {
        // A rotation of no number is ignored; an infinite one reads back as
        // no number and leaves the clip as it was drawn.
        if (std::isnan(value)) {
            return;
        }
        const double degrees = NormalizedDegrees(value);
        if (std::isnan(degrees)) {
            d.rotation = degrees;
            return;
        }
        const double delta = degrees / degreesPerRadian - xAngle;
        xAngle += delta;
        yAngle += delta;
        d.rotation = degrees;
        break;
    }
    }
    Matrix next = m;
    next.scaleX = d.xScale / 100.0 * std::cos(xAngle);
    next.rotateSkew0 = d.xScale / 100.0 * std::sin(xAngle);
    next.rotateSkew1 = -d.yScale / 100.0 * std::sin(yAngle);
    next.scaleY = d.yScale / 100.0 * std::cos(yAngle);
    object.SetMatrix(next);
    d.matrix = next;
    d.valid = true;
}

Value RuntimeClips::GetProperty(Object* clip, ClipProperty property) {
    DisplayObject* object = Display(clip);
    if (!object) {
        return Value();
    }
    auto* self = static_cast<ClipObject*>(ObjectFor(object));
    const MovieClip* movieClip =
        object->Kind() == DisplayKind::MovieClip ? static_cast<const MovieClip*>(object) : nullptr;
    switch (property) {
    case ClipProperty::X:
        return Value(double(object->GetMatrix().translateX) / TwipsPerPixel);
    case ClipProperty::Y:
        return Value(double(object->GetMatrix().translateY) / TwipsPerPixel);
    case ClipProperty::XScale:
    case ClipProperty::YScale:
    case ClipProperty::Rotation:
        return self ? GetTransformProperty(*object, *self, property) : Value();
    case ClipProperty::CurrentFrame:
        return movieClip ? Value(double(movieClip->CurrentFrame().value_or(0) + 1)) : Value();
    case ClipProperty::TotalFrames:
        return movieClip ? Value(double(movieClip->TotalFrames())) : Value();
    case ClipProperty::FramesLoaded:
        return movieClip ? Value(double(movieClip->FramesLoaded())) : Value();
    case ClipProperty::Alpha:
        return Value(object->GetColorTransform().multA * 100.0 / 256.0);
    case ClipProperty::Visible:
        return Value(object->Visible());
    case ClipProperty::Width:
    case ClipProperty::Height: {
        const TwipBounds bounds =
            LocalBounds(*object).Transformed(Affine::FromMatrix(object->GetMatrix()));
        const double twips = property == ClipProperty::Width ? bounds.Width() : bounds.Height();
        return Value(std::round(twips) / TwipsPerPixel);
    }
    case ClipProperty::Target:
        return Value(vm.NewString(SlashPath(clip)));
    case ClipProperty::Name:
        return Value(vm.NewString(object->Name()));
    case ClipProperty::DropTarget:
        return Value(vm.N().empty);
    case ClipProperty::Url:
        return Value(vm.NewString(scripts.MovieUrl()));
    case ClipProperty::HighQuality:
        return Value(double(quality >= 2 ? 1 : 0));
    case ClipProperty::FocusRect:
        // The root's is the player's own (a number to SWF 5 code); from
        // SWF 6 other objects have one of their own once set.
        if (!object->Parent()) {
            return vm.Version() < 6 ? Value(focusRectShown ? 1.0 : 0.0) : Value(focusRectShown);
        }
        if (vm.Version() < 6) {
            return Value();
        }
        return self && self->FocusRect() ? Value(*self->FocusRect()) : Value::Null();
    case ClipProperty::SoundBufTime:
        return Value(5.0);
    case ClipProperty::Quality: {
        static constexpr const char* names[] = {"LOW", "MEDIUM", "HIGH", "BEST"};
        return Value(vm.Intern(names[quality]));
    }
    case ClipProperty::XMouse:
    case ClipProperty::YMouse: {
        // The pointer in the object's own coordinates.
        const auto fromStage = Inverse(ToStage(*object));
        if (!fromStage) {
            return Value(0.0);
        }
        const auto p = fromStage->Apply(player.Input().X(), player.Input().Y());
        return Value(std::round(p[property == ClipProperty::XMouse ? 0 : 1]) / TwipsPerPixel);
    }
    }
    return Value();
}

void RuntimeClips::SetProperty(Object* clip, ClipProperty property, const Value& value) {
    DisplayObject* object = Display(clip);
    if (!object) {
        return;
    }
    auto* self = ObjectFor(object);
    auto number = [&]() -> std::optional<double> {
        const auto n = vm.ToNumber(value);
        if (!n || std::isnan(*n)) {
            return std::nullopt;
        }
        return *n;
    };
    switch (property) {
    case ClipProperty::X:
    case ClipProperty::Y:
        if (const auto n = number()) {
            Matrix m = object->GetMatrix();
            (property == ClipProperty::X ? m.translateX : m.translateY) = ToTwips(*n);
            object->SetMatrix(m);
        }
        return;
    case ClipProperty::XScale:
    case ClipProperty::YScale:
    case ClipProperty::Rotation:
        if (const auto n = number(); n && self) {
            SetTransformProperty(*object, *self, property, *n);
        }
        return;
    case ClipProperty::Alpha:
        if (const auto n = number()) {
            ColorTransform c = object->GetColorTransform();
            c.multA = static_cast<std::int16_t>(std::clamp(*n * 2.56, -32768.0, 32767.0));
            object->SetColorTransform(c);
        }
        return;
    case ClipProperty::Visible:
        if (value.IsBoolean()) {
            object->SetVisible(value.AsBoolean());
        } else if (const auto n = number()) {
            object->SetVisible(*n != 0);
        }
        return;
    case ClipProperty::Width:
    case ClipProperty::Height:
        if (const auto n = number(); n && self) {
            // The scale that gives the size asked, the rotation kept.
            const TwipBounds local = LocalBounds(*object);
            const bool width = property == ClipProperty::Width;
            const double size = width ? local.Width() : local.Height();
            if (size > 0) {
                SetTransformProperty(*object, *self,
                                     width ? ClipProperty::XScale : ClipProperty::YScale,
                                     *n * TwipsPerPixel / size * 100.0);
            }
        }
        return;
    case ClipProperty::Name:
        if (const auto name = vm.ToString(value)) {
            // A reference keeps the path the clip had when it was made: once
            // the clip is gone it stands for what is at that path.
            object->SetName(std::string((*name)->View()));
        }
        return;
    case ClipProperty::Quality: {
        const auto text = vm.ToString(value);
        if (!text) {
            return;
        }
        static constexpr std::string_view names[] = {"LOW", "MEDIUM", "HIGH", "BEST"};
        for (int i = 0; i < 4; ++i) {
            if (EqualsIgnoringAsciiCase((*text)->View(), names[i])) {
                quality = i;
            }
        }
        return;
    }
    case ClipProperty::HighQuality:
        if (const auto n = number()) {
            quality = *n >= 2 ? 3 : *n >= 1 ? 2 : 0;
        }
        return;
    case ClipProperty::FocusRect:
        // Undefined and null change nothing. The root's takes numbers (what
        // is not one leaves it); an object's own takes the value as a boolean.
        if (value.IsNullish()) {
            return;
        }
        if (!object->Parent()) {
            if (const auto n = number()) {
                focusRectShown = *n != 0.0;
            }
        } else if (self) {
            self->FocusRect() = vm.ToBoolean(value);
        }
        return;
    default:
        // The others are read-only, or have no effect on this device.
        return;
    }
}

void RuntimeClips::GotoFrame(Object* clip, std::size_t frame, bool play) {
    if (MovieClip* c = DisplayClip(clip)) {
        c->GotoFrame(frame, play);
    }
}

bool RuntimeClips::GotoLabel(Object* clip, std::string_view label, bool play) {
    MovieClip* c = DisplayClip(clip);
    return c && c->GotoLabel(label, play);
}

void RuntimeClips::Play(Object* clip) {
    if (MovieClip* c = DisplayClip(clip)) {
        c->Play();
    }
}

void RuntimeClips::Stop(Object* clip) {
    if (MovieClip* c = DisplayClip(clip)) {
        c->Stop();
    }
}

void RuntimeClips::NextFrame(Object* clip) {
    if (MovieClip* c = DisplayClip(clip)) {
        c->NextFrame();
    }
}

void RuntimeClips::PrevFrame(Object* clip) {
    if (MovieClip* c = DisplayClip(clip)) {
        c->PrevFrame();
    }
}

std::size_t RuntimeClips::CurrentFrame(Object* clip) {
    MovieClip* c = DisplayClip(clip);
    return c ? c->CurrentFrame().value_or(0) : 0;
}

std::size_t RuntimeClips::FramesLoaded(Object* clip) {
    MovieClip* c = DisplayClip(clip);
    return c ? c->FramesLoaded() : 0;
}

std::size_t RuntimeClips::TotalFrames(Object* clip) {
    MovieClip* c = DisplayClip(clip);
    return c ? c->TotalFrames() : 0;
}

std::optional<std::size_t> RuntimeClips::FindLabel(Object* clip, std::string_view label) {
    MovieClip* c = DisplayClip(clip);
    if (!c || !c->GetTimeline()) {
        return std::nullopt;
    }
    return c->GetTimeline()->FindLabel(std::string(label));
}

void RuntimeClips::CallFrame(Object* clip, std::size_t frame) {
    MovieClip* c = DisplayClip(clip);
    if (!c || !c->GetTimeline() || frame >= c->GetTimeline()->frames.size()) {
        return;
    }
    scripts.RunFrameActionsNow(*c, c->GetTimeline()->frames[frame]);
}

Object* RuntimeClips::Duplicate(Object* clip, std::string_view name, int depth) {
    MovieClip* source = DisplayClip(clip);
    if (!source || source->IsRoot()) {
        return nullptr;
    }
    // CloneSprite's depth is the timeline's already.
    MovieClip* made = source->Duplicate(std::string(name), Depth(depth));
    if (!made) {
        return nullptr;
    }
    const DisplayHandle handle = made->Handle();
    scripts.ConstructNow(*made);
    return ObjectFor(player.Find(handle));
}

std::int64_t RuntimeClips::ScriptDepth(const DisplayObject& object) const {
    return object.Parent() ? depths::ToScript(object.GetDepth()) : rootDepth;
}

void RuntimeClips::SwapDepths(DisplayObject& object, std::int64_t scriptDepth) {
    if (!object.Parent()) {
        // The root has no siblings; it only takes the number.
        rootDepth = scriptDepth;
        return;
    }
    object.SwapDepths(depths::FromScript(scriptDepth));
}

std::size_t RuntimeClips::BytesOf(const MovieClip& clip) const {
    // A clip a script made empty has no bytes of its own; any other shares
    // the movie's.
    if (!clip.IsRoot() && !clip.GetTimeline()) {
        return 0;
    }
    return player.GetMovie().header.fileLength;
}

void RuntimeClips::Unload(MovieClip& clip) {
    std::vector<DisplayHandle> children;
    for (const auto& [depth, child] : clip.GetChildren()) {
        children.push_back(child->Handle());
    }
    for (const DisplayHandle& handle : children) {
        if (DisplayObject* child = player.Find(handle)) {
            child->Remove();
        }
    }
    clip.Stop();
}

bool RuntimeClips::HitTestPoint(const DisplayObject& object, double x, double y, bool shape) {
    return player.HitTest(object, x, y, shape);
}

void RuntimeClips::SetMask(DisplayObject& object, DisplayObject* mask) {
    object.SetScriptMask(mask);
}

DisplayObject* RuntimeClips::FindTarget(std::string_view path, Object* from) {
    DisplayObject* current = from ? Display(from) : &player.Root();
    const auto steps = ParseTargetPath(path);
    if (!current || !steps) {
        return nullptr;
    }
    const bool caseSensitive = vm.Version() >= 7;
    for (const PathStep& step : *steps) {
        if (!current) {
            break;
        }
        const std::string_view part = step.text;
        if (step.kind == PathStepKind::Root) {
            current = &player.Root();
        } else if (step.kind == PathStepKind::Parent) {
            current = current->ParentClip();
        } else if (EqualsIgnoringAsciiCase(part, "_root") ||
                   EqualsIgnoringAsciiCase(part, "_level0")) {
            current = &player.Root();
        } else if (EqualsIgnoringAsciiCase(part, "_parent")) {
            current = current->ParentClip();
        } else if (current->Kind() == DisplayKind::MovieClip) {
            current = static_cast<MovieClip*>(current)->FindChild(part, caseSensitive);
        } else {
            current = nullptr;
        }
    }
    return current;
}

Object* RuntimeClips::RegisteredClass(const DisplayObject& object) {
    const CharacterId id = object.CharacterIdOrZero();
    if (id == 0 || vm.RegisteredClasses().empty()) {
        return nullptr;
    }
    const std::string* name = exports.NameOf(player.GetMovie(), id);
    if (!name) {
        return nullptr;
    }
    for (const auto& [symbol, constructor] : vm.RegisteredClasses()) {
        if (EqualsIgnoringAsciiCase(symbol->View(), *name)) {
            return constructor;
        }
    }
    return nullptr;
}

void RuntimeClips::Remove(Object* clip) {
    DisplayObject* object = Display(clip);
    if (object && object->ParentClip() && depths::RemovableByScript(object->GetDepth())) {
        object->Remove();
    }
}

void RuntimeClips::StartDrag(Object* clip, bool, std::optional<std::array<double, 4>>) {
    if (DisplayObject* object = Display(clip)) {
        dragged = object->Handle();
    }
}

void RuntimeClips::StopDrag() {
    dragged.reset();
}

void RuntimeClips::StopSounds() {
    if (SoundPlayback* playback = player.GetSoundPlayback()) {
        playback->StopScriptSounds(std::nullopt, std::nullopt);
    }
}

void RuntimeClips::ToggleQuality() {
    quality = quality >= 2 ? 0 : 2;
}

void RuntimeClips::RequestUrl(Object*, const UrlRequest& request) {
    scripts.RequestUrl(request);
}

void RuntimeClips::TraceRoots(Tracer& tracer) const {
    for (const auto& [handle, object] : objects) {
        tracer.Visit(object);
    }
}

} // namespace swf::script
