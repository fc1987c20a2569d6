// Stage, Key and Mouse: the player as the movie sees it. Stage gives the
// movie's size and takes the scale mode and alignment; Key tells which keys
// are down and which was pressed last; Mouse shows and hides the pointer
// (the stylus has none to show on the device, but the movie keeps its
// state). Each can take listeners through AsBroadcaster.
#include <cmath>

#include "swf/script/MovieScripts.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/ClipMethods.h"
#include "swf/script/display/RuntimeClips.h"

namespace swf::script {

namespace {

using builtins::Method;

RuntimeClips* ClipsOf(Vm& vm) {
    ClipHost* host = vm.Clips();
    return host ? host->Runtime() : nullptr;
}

// A property read through getter and, when there is one, written through
// setter, hidden and permanent as Flash's own are.
void AddAccessor(Vm& vm, Object* target, std::string_view name, NativeFunction getter,
                 NativeFunction setter) {
    String* key = vm.Intern(name);
    Property& p =
        target->Properties().Add(key, Value(), PropertyFlag::DontEnum | PropertyFlag::DontDelete);
    p.getter = builtins::MakeFunction(vm, getter);
    p.setter = setter ? builtins::MakeFunction(vm, setter) : nullptr;
}

// Stage.

Completion StageWidth(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    if (!clips) {
        return Value();
    }
    const Rect& frame = clips->Player().GetMovie().header.frameSize;
    return Value(std::round(double(frame.Width()) / TwipsPerPixel));
}

Completion StageHeight(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    if (!clips) {
        return Value();
    }
    const Rect& frame = clips->Player().GetMovie().header.frameSize;
    return Value(std::round(double(frame.Height()) / TwipsPerPixel));
}

Completion StageScaleMode(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    return Value(call.vm.Intern(clips ? clips->StageSettings().scaleMode : "showAll"));
}

Completion SetStageScaleMode(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    // Only the four modes are taken, in any case; anything else is "showAll".
    static constexpr std::string_view modes[] = {"showAll", "noBorder", "exactFit", "noScale"};
    std::string_view mode = modes[0];
    for (std::string_view m : modes) {
        if (EqualsIgnoringAsciiCase((*text)->View(), m)) {
            mode = m;
        }
    }
    if (clips) {
        clips->StageSettings().scaleMode = std::string(mode);
    }
    return Value();
}

Completion StageAlign(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    return Value(call.vm.NewString(clips ? clips->StageSettings().align : std::string()));
}

Completion SetStageAlign(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    // The sides named anywhere in the text, in Flash's order.
    std::string align;
    for (char side : std::string_view("LTRB")) {
        for (char c : (*text)->View()) {
            if (c == side || c == side + ('a' - 'A')) {
                align += side;
                break;
            }
        }
    }
    if (clips) {
        clips->StageSettings().align = align;
    }
    return Value();
}

Completion StageShowMenu(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    return Value(clips ? clips->StageSettings().showMenu : true);
}

Completion SetStageShowMenu(NativeCall& call) {
    if (RuntimeClips* clips = ClipsOf(call.vm)) {
        clips->StageSettings().showMenu = call.vm.ToBoolean(call.Arg(0));
    }
    return Value();
}

Completion StageDisplayState(NativeCall& call) {
    return Value(call.vm.Intern("normal"));
}

Completion Ignore(NativeCall&) {
    return Value();
}

// Key.

Completion KeyIsDown(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    const auto code = call.vm.ToNumber(call.Arg(0));
    if (!code) {
        return code.Abrupt();
    }
    if (!clips || !std::isfinite(*code) || *code < 0 || *code >= 256) {
        return Value(false);
    }
    return Value(clips->Scripts().KeyIsDown(static_cast<unsigned>(*code)));
}

Completion KeyGetCode(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    return Value(double(clips ? clips->Scripts().LastKeyCode() : 0));
}

Completion KeyGetAscii(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    return Value(double(clips ? clips->Scripts().LastCharacter() : 0));
}

Completion KeyIsToggled(NativeCall&) {
    return Value(false);
}

Completion KeyIsAccessible(NativeCall&) {
    return Value(false);
}

struct KeyCode {
    std::string_view name;
    int code;
};
constexpr KeyCode keyCodes[] = {
    {"ALT", 18},    {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46},
    {"DOWN", 40},   {"END", 35},      {"ENTER", 13},    {"ESCAPE", 27},  {"HOME", 36},
    {"INSERT", 45}, {"LEFT", 37},     {"PGDN", 34},     {"PGUP", 33},    {"RIGHT", 39},
    {"SHIFT", 16},  {"SPACE", 32},    {"TAB", 9},       {"UP", 38},
};

constexpr Method keyMethods[] = {
    {"getAscii", KeyGetAscii, 5},         {"getCode", KeyGetCode, 5},
    {"isAccessible", KeyIsAccessible, 5}, {"isDown", KeyIsDown, 5},
    {"isToggled", KeyIsToggled, 5},
};

// Mouse: hide and show answer whether the pointer was shown before.

Completion MouseHide(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    if (!clips) {
        return Value(1);
    }
    const bool was = clips->StageSettings().pointerShown;
    clips->StageSettings().pointerShown = false;
    return Value(was ? 1 : 0);
}

Completion MouseShow(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    if (!clips) {
        return Value(1);
    }
    const bool was = clips->StageSettings().pointerShown;
    clips->StageSettings().pointerShown = true;
    return Value(was ? 1 : 0);
}

constexpr Method mouseMethods[] = {
    {"hide", MouseHide, 5},
    {"show", MouseShow, 5},
};

// Everything the object has becomes hidden, permanent and read-only, as
// Flash leaves Key and Mouse.
void Seal(Object* object) {
    object->Properties().ForEachMutable([](Property& p) {
        p.flags |= PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::ReadOnly;
    });
}

} // namespace

void InstallPlayerObjects(Vm& vm) {
    constexpr std::uint16_t constant =
        PropertyFlag::DontEnum | PropertyFlag::DontDelete | PropertyFlag::ReadOnly;

    Object* stage = vm.NewObject();
    builtins::MakeBuiltInBroadcaster(vm, stage, PropertyFlag::Version6);
    AddAccessor(vm, stage, "align", StageAlign, SetStageAlign);
    AddAccessor(vm, stage, "height", StageHeight, Ignore);
    AddAccessor(vm, stage, "scaleMode", StageScaleMode, SetStageScaleMode);
    AddAccessor(vm, stage, "showMenu", StageShowMenu, SetStageShowMenu);
    AddAccessor(vm, stage, "width", StageWidth, Ignore);
    AddAccessor(vm, stage, "displayState", StageDisplayState, Ignore);
    builtins::AddGlobal(vm, "Stage", Value(stage));

    Object* key = vm.NewObject();
    for (const KeyCode& k : keyCodes) {
        vm.DefineOwn(key, k.name, Value(double(k.code)), constant);
    }
    vm.DefineOwn(key, vm.N().constructor, Value(vm.Builtins().objectConstructor));
    builtins::MakeBuiltInBroadcaster(vm, key, PropertyFlag::Version6);
    builtins::AddMethods(vm, key, keyMethods, PropertyFlag::ReadOnly);
    Seal(key);
    builtins::AddGlobal(vm, "Key", Value(key));

    Object* mouse = vm.NewObject();
    vm.DefineOwn(mouse, vm.N().constructor, Value(vm.Builtins().objectConstructor));
    builtins::MakeBuiltInBroadcaster(vm, mouse, PropertyFlag::Version6);
    builtins::AddMethods(vm, mouse, mouseMethods, PropertyFlag::ReadOnly);
    Seal(mouse);
    builtins::AddGlobal(vm, "Mouse", Value(mouse));
}

} // namespace swf::script
