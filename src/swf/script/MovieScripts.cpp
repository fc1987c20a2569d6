#include "swf/script/MovieScripts.h"

#include <array>

#include "swf/format/TagCodes.h"
#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/MovieClip.h"
#include "swf/script/display/RuntimeClips.h"
#include "swf/script/text/FieldAccess.h"

namespace swf::script {

namespace {

// The method a script sets on a clip or button to handle each event, in the
// order of ClipEvent; empty where only clip actions handle it.
constexpr std::array<std::string_view, 19> handlerNames = {
    "onLoad",
    "onEnterFrame",
    "onUnload",
    "onMouseMove",
    "onMouseDown",
    "onMouseUp",
    "onKeyDown",
    "onKeyUp",
    "onData",
    "",
    "onPress",
    "onRelease",
    "onReleaseOutside",
    "onRollOver",
    "onRollOut",
    "onDragOver",
    "onDragOut",
    "",
    "",
};

std::string_view HandlerName(ClipEvent event) {
    return handlerNames[static_cast<std::size_t>(event)];
}

// The heap is collected once scripts have made this much since the last time.
constexpr std::size_t collectionStep = std::size_t{8} << 20;

} // namespace

MovieScripts::MovieScripts(MoviePlayer& player, VmHost& host, VmLimits limits)
    : player(player), host(host), collectAfterBytes(collectionStep) {
    vm = std::make_unique<Vm>(host, player.GetMovie().header.version, limits);
    clips = std::make_unique<RuntimeClips>(player, *vm, *this);
    vm->SetClipHost(clips.get());
    player.SetScriptHost(this);
}

MovieScripts::~MovieScripts() {
    player.SetScriptHost(nullptr);
    vm->SetClipHost(nullptr);
    clips.reset();
}

ActionBytes MovieScripts::BytesOf(std::span<const std::uint8_t> data) {
    auto& kept = blocks[data.data()];
    if (!kept || kept->size() != data.size()) {
        kept = std::make_shared<const std::vector<std::uint8_t>>(data.begin(), data.end());
    }
    return kept;
}

void MovieScripts::RunBlock(std::span<const std::uint8_t> code, Object* target) {
    if (code.empty() || !target || vm->ScriptsDisabled()) {
        return;
    }
    const ActionBytes bytes = BytesOf(code);
    // A throw nobody caught ends the block, as does a limit; the movie goes on.
    vm->RunActions(bytes, 0, bytes->size(), target, vm->MovieVersion());
}

bool MovieScripts::Handles(const DisplayObject& object, ClipEvent event) {
    if (object.HasClipAction(event)) {
        return true;
    }
    if (event == ClipEvent::Construct) {
        return clips->RegisteredClass(object) != nullptr;
    }
    const std::string_view name = HandlerName(event);
    if (name.empty()) {
        return false;
    }
    ClipObject* self = clips->ObjectFor(const_cast<DisplayObject*>(&object));
    if (!self) {
        return false;
    }
    return vm->FindInChain(self, vm->Intern(name)) != nullptr;
}

void MovieScripts::RunEvent(DisplayObject& object, ClipEvent event, std::uint8_t keyCode) {
    ClipObject* self = clips->ObjectFor(&object);
    if (!self) {
        return;
    }
    const DisplayHandle handle = object.Handle();
    // Copied: a handler may remove the object and its records with it.
    const std::vector<ClipActionRecord> records = object.ClipActions();
    for (const ClipActionRecord& record : records) {
        if (!record.Handles(event) || (event == ClipEvent::KeyPress && record.keyCode != keyCode)) {
            continue;
        }
        RunBlock(record.actions, self);
    }
    TemporaryRoot keep(*vm, Value(self));
    if (event == ClipEvent::Construct) {
        RunClass(object, *self);
        return;
    }
    const std::string_view name = HandlerName(event);
    if (name.empty() || !player.Find(handle)) {
        return;
    }
    vm->CallMethod(Value(self), vm->Intern(name), {});
}

void MovieScripts::RunClass(DisplayObject& object, ClipObject& self) {
    Object* constructor = clips->RegisteredClass(object);
    if (!constructor) {
        return;
    }
    // The clip becomes an instance of the class, then its constructor runs
    // on it as new would run it.
    const Property* p = constructor->Properties().Find(vm->N().prototype, vm->Version());
    if (p && p->value.IsObject()) {
        vm->SetPrototype(&self, p->value.AsObject());
    }
    vm->Call(Value(constructor), Value(&self), {});
}

void MovieScripts::Run(const QueuedAction& action) {
    DisplayObject* object = player.Find(action.target);
    if (!object || vm->ScriptsDisabled()) {
        return;
    }
    switch (action.kind) {
    case ActionKind::FrameActions:
        if (action.tag) {
            RunBlock(action.tag->body, clips->ObjectFor(object));
        }
        break;
    case ActionKind::InitActions:
        // The body starts with the id of the sprite it belongs to.
        if (action.tag && action.tag->body.size() > 2) {
            RunBlock(std::span(action.tag->body).subspan(2), clips->ObjectFor(object));
        }
        break;
    case ActionKind::ClipEvent:
        RunEvent(*object, action.event, action.keyCode);
        break;
    case ActionKind::ButtonActions:
        // A button's actions act on the timeline that holds it.
        RunBlock(action.actions, clips->ObjectFor(object->ParentClip()));
        break;
    }
}

void MovieScripts::InputArrived(const InputEvent& event) {
    switch (event.kind) {
    case InputKind::KeyDown:
        lastKeyCode = event.virtualKey;
        if (event.virtualKey < keysDown.size()) {
            keysDown[event.virtualKey] = true;
        }
        break;
    case InputKind::KeyUp:
        if (event.virtualKey < keysDown.size()) {
            keysDown[event.virtualKey] = false;
        }
        break;
    case InputKind::Character:
        lastCharacter = event.character;
        break;
    default:
        break;
    }
}

void MovieScripts::RunFrameActionsNow(MovieClip& clip, const Frame& frame) {
    Object* target = clips->ObjectFor(&clip);
    for (const RawTag& tag : frame.actionTags) {
        if (tag.code == tag::DoAction) {
            RunBlock(tag.body, target);
        }
    }
}

void MovieScripts::ConstructNow(MovieClip& clip) {
    if (Handles(clip, ClipEvent::Construct)) {
        RunEvent(clip, ClipEvent::Construct, 0);
    }
}

void MovieScripts::RequestUrl(const UrlRequest& request) {
    host.RequestUrl(request);
}

std::string MovieScripts::MovieUrl() {
    return host.MovieUrl();
}

void MovieScripts::FieldPlaced(DisplayObject& field) {
    text::FieldPlaced(*vm, *clips, static_cast<EditTextObject&>(field));
}

void MovieScripts::Start() {
    vm->NewFrame();
    player.FramesAdded();
    text::ShowBoundVariables(*vm, *clips);
    CollectIfGrown();
}

void MovieScripts::Tick() {
    vm->NewFrame();
    if (!vm->ScriptsDisabled()) {
        vm->RunFrameStartCalls();
    }
    player.AdvanceTimelines();
    player.RunActions();
    if (!vm->ScriptsDisabled()) {
        vm->RunTimers(double(host.MovieMilliseconds()));
    }
    player.RunActions();
    text::ShowBoundVariables(*vm, *clips);
    player.FinishFrame();
    CollectIfGrown();
}

void MovieScripts::CollectIfGrown() {
    if (vm->GetHeap().AllocatedSinceCollection() < collectAfterBytes) {
        return;
    }
    clips->Prune();
    vm->Collect();
    // Collect again once the heap has grown by half of what lives, so that
    // a large live heap is not walked over and over.
    collectAfterBytes = std::max(collectionStep, vm->GetHeap().Bytes() / 2);
}

} // namespace swf::script
