// Selection: which object has the keyboard focus (a text field, a button,
// and from SWF 6 a movie clip), the events a change of focus sends (the old
// object's onKillFocus, the new one's onSetFocus, then onSetFocus to
// Selection's listeners), and the selection within the focused field, which
// on this device is always empty at its start.
#include "swf/runtime/MovieClip.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/RuntimeClips.h"
#include "swf/script/text/TextClasses.h"

namespace swf::script {

namespace {

using builtins::Method;

RuntimeClips* ClipsOf(Vm& vm) {
    ClipHost* host = vm.Clips();
    return host ? host->Runtime() : nullptr;
}

Object* FocusedObject(RuntimeClips& clips) {
    const std::optional<DisplayHandle>& focus = clips.Focus();
    DisplayObject* object = focus ? clips.Player().Find(*focus) : nullptr;
    return object ? clips.ObjectFor(object) : nullptr;
}

bool Focusable(const DisplayObject& object, int version) {
    switch (object.Kind()) {
    case DisplayKind::EditText:
    case DisplayKind::Button:
        return true;
    case DisplayKind::MovieClip:
        return version >= 6;
    case DisplayKind::Graphic:
        break;
    }
    return false;
}

Completion GetFocus(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    Object* focused = clips ? FocusedObject(*clips) : nullptr;
    return focused ? Value(call.vm.NewString(clips->DotPath(focused))) : Value::Null();
}

Completion SetFocus(NativeCall& call) {
    Vm& vm = call.vm;
    RuntimeClips* clips = ClipsOf(vm);
    if (!clips || !call.Has(0)) {
        return Value(false);
    }
    const Value target = call.Arg(0);
    DisplayObject* next = nullptr;
    if (Object* object = target.ObjectOrNull(); object && IsDisplayObject(object)) {
        next = clips->Display(object);
    } else if (target.IsString()) {
        next = clips->FindTarget(target.AsString()->View(), vm.CurrentTarget());
    } else if (!target.IsNullish()) {
        return Value(false);
    }
    if ((next && !Focusable(*next, vm.Version())) || (!next && !target.IsNullish())) {
        return Value(false);
    }
    Object* before = FocusedObject(*clips);
    Object* after = next ? clips->ObjectFor(next) : nullptr;
    if (before == after) {
        return Value(true);
    }
    TemporaryRoot keepBefore(vm, Value(before));
    TemporaryRoot keepAfter(vm, Value(after));
    const Value beforeValue = before ? Value(before) : Value::Null();
    const Value afterValue = after ? Value(after) : Value::Null();
    if (before) {
        const Value args[] = {afterValue};
        const Completion done = vm.CallMethod(beforeValue, vm.Intern("onKillFocus"), args);
        if (done.IsAbrupt()) {
            return done;
        }
    }
    if (next) {
        clips->Focus() = next->Handle();
    } else {
        clips->Focus().reset();
    }
    if (after) {
        const Value args[] = {beforeValue};
        const Completion done = vm.CallMethod(afterValue, vm.Intern("onSetFocus"), args);
        if (done.IsAbrupt()) {
            return done;
        }
    }
    const Value message[] = {Value(vm.Intern("onSetFocus")), beforeValue, afterValue};
    const Completion sent = vm.CallMethod(call.thisValue, vm.Intern("broadcastMessage"), message);
    if (sent.IsAbrupt()) {
        return sent;
    }
    return Value(true);
}

// Where the selection in the focused field begins and ends, and the caret:
// -1 without a focused field.
Completion SelectionIndex(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    Object* focused = clips ? FocusedObject(*clips) : nullptr;
    return Value(focused && focused->Class() == ObjectClass::TextField ? 0.0 : -1.0);
}

Completion SetSelection(NativeCall&) {
    return Value();
}

constexpr Method selectionMethods[] = {
    {"getBeginIndex", SelectionIndex, 5},
    {"getCaretIndex", SelectionIndex, 5},
    {"getEndIndex", SelectionIndex, 5},
    {"getFocus", GetFocus, 5},
    {"setFocus", SetFocus, 5},
    {"setSelection", SetSelection, 5},
};

} // namespace

void InstallSelection(Vm& vm) {
    Object* selection = vm.NewObject();
    if (const Property* p = vm.Global()->Properties().Find(vm.Intern("AsBroadcaster"), 8)) {
        if (Object* broadcaster = p->value.ObjectOrNull()) {
            const Value args[] = {Value(selection)};
            vm.CallMethod(Value(broadcaster), vm.Intern("initialize"), args);
        }
    }
    builtins::AddMethods(vm, selection, selectionMethods);
    builtins::AddGlobal(vm, "Selection", Value(selection));
}

} // namespace swf::script
