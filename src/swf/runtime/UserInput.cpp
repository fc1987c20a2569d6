#include "swf/runtime/UserInput.h"

#include <array>

#include "swf/runtime/ButtonObject.h"
#include "swf/runtime/HitTesting.h"
#include "swf/runtime/MovieClip.h"
#include "swf/runtime/RuntimeContext.h"
#include "swf/runtime/ScriptHost.h"

namespace swf {

namespace {

// The events whose handlers make a clip act as a button.
constexpr std::array<ClipEvent, 7> buttonEvents{
    ClipEvent::Press,   ClipEvent::Release,  ClipEvent::ReleaseOutside, ClipEvent::RollOver,
    ClipEvent::RollOut, ClipEvent::DragOver, ClipEvent::DragOut,
};

// The frames a clip acting as a button shows for each state, when it has them.
const char* StateLabel(ButtonState state) {
    switch (state) {
    case ButtonState::Up:
        return "_up";
    case ButtonState::Over:
        return "_over";
    case ButtonState::Down:
        return "_down";
    }
    return "_up";
}

bool TracksAsMenu(const DisplayObject& object) {
    return object.Kind() == DisplayKind::Button &&
           static_cast<const ButtonObject&>(object).GetButton().trackAsMenu;
}

// Every object on stage but the parts of buttons, each before its children,
// in depth order.
template <typename Visit>
void VisitObjects(DisplayObject& object, const Visit& visit, int nesting = 0) {
    if (nesting > 64 || object.Unloading()) {
        return;
    }
    visit(object);
    if (object.Kind() == DisplayKind::MovieClip) {
        for (const auto& [depth, child] : static_cast<MovieClip&>(object).GetChildren()) {
            VisitObjects(*child, visit, nesting + 1);
        }
    }
}

} // namespace

void UserInput::PointerMoved(MovieClip& root, double toX, double toY) {
    const bool moved = !seen || toX != x || toY != y;
    x = toX;
    y = toY;
    seen = true;
    if (moved) {
        Broadcast(ClipEvent::MouseMove);
        Notify(InputKind::PointerMove);
    }
    Follow(root);
}

void UserInput::PointerDown(MovieClip& root, double atX, double atY) {
    // A stylus touches down where it was not before: it moves there first.
    PointerMoved(root, atX, atY);
    if (down) {
        return;
    }
    down = true;
    Broadcast(ClipEvent::MouseDown);
    Notify(InputKind::PointerDown);
    if (DisplayObject* object = CurrentTarget();
        object != nullptr && state == PointerState::OverUp) {
        Enter(*object, PointerState::OverDown);
    }
}

void UserInput::PointerUp(MovieClip& root, double atX, double atY) {
    PointerMoved(root, atX, atY);
    if (!down) {
        return; // the press went elsewhere (a hold the shell took)
    }
    down = false;
    Broadcast(ClipEvent::MouseUp);
    Notify(InputKind::PointerUp);
    if (DisplayObject* object = CurrentTarget()) {
        if (state == PointerState::OverDown) {
            Enter(*object, PointerState::OverUp);
        } else if (state == PointerState::OutDown) {
            Enter(*object, PointerState::Idle);
            target = {};
        }
    }
    // Released off the button it pressed: what is under the pointer now
    // takes it.
    Follow(root);
}

void UserInput::KeyDown(MovieClip& root, std::uint32_t virtualKey) {
    Broadcast(ClipEvent::KeyDown, static_cast<std::uint8_t>(virtualKey));
    Notify(InputKind::KeyDown, virtualKey);
    if (const std::uint8_t code = ButtonKeyOfVirtualKey(virtualKey); code != 0) {
        KeyPressed(root, code);
    }
}

void UserInput::KeyUp(MovieClip&, std::uint32_t virtualKey) {
    Broadcast(ClipEvent::KeyUp, static_cast<std::uint8_t>(virtualKey));
    Notify(InputKind::KeyUp, virtualKey);
}

void UserInput::CharacterTyped(MovieClip& root, std::uint16_t character) {
    Notify(InputKind::Character, 0, character);
    // Control characters come as their keys (enter, backspace, tab, escape).
    if (character >= 32 && character < 127) {
        KeyPressed(root, static_cast<std::uint8_t>(character));
    }
}

void UserInput::Recheck(MovieClip& root) {
    if (seen) {
        Follow(root);
    }
}

DisplayObject* UserInput::CurrentTarget() {
    DisplayObject* object = target ? context.objects.Find(target) : nullptr;
    if (object == nullptr || object->Unloading()) {
        // Gone from under the pointer: nothing holds it any more.
        target = {};
        state = PointerState::Idle;
        return nullptr;
    }
    return object;
}

DisplayObject* UserInput::Under(MovieClip& root) const {
    const auto takesPointer = [this](const MovieClip& clip) {
        if (clip.Unloading()) {
            return false;
        }
        for (const ClipEvent event : buttonEvents) {
            if (context.Handles(clip, event)) {
                return true;
            }
        }
        return false;
    };
    return FindPointerTarget(root, x, y, context.hitAreas, takesPointer);
}

void UserInput::Follow(MovieClip& root) {
    DisplayObject* under = Under(root);
    DisplayObject* current = CurrentTarget();
    if (!down) {
        if (current == under) {
            return;
        }
        if (current != nullptr) {
            Enter(*current, PointerState::Idle);
        }
        target = {};
        state = PointerState::Idle;
        if (under != nullptr) {
            target = under->Handle();
            Enter(*under, PointerState::OverUp);
        }
        return;
    }
    if (current != nullptr) {
        if (state == PointerState::OverDown && under != current) {
            if (TracksAsMenu(*current)) {
                Enter(*current, PointerState::Idle);
                target = {};
                current = nullptr;
            } else {
                Enter(*current, PointerState::OutDown);
            }
        } else if (state == PointerState::OutDown && under == current) {
            Enter(*current, PointerState::OverDown);
        }
    }
    // With the stylus down only a menu item takes the pointer from nothing.
    if (current == nullptr && under != nullptr && TracksAsMenu(*under)) {
        target = under->Handle();
        state = PointerState::Idle;
        Enter(*under, PointerState::OverDown);
    }
}

void UserInput::Enter(DisplayObject& object, PointerState to) {
    const PointerState from = state;
    state = to;
    const std::optional<PointerTransition> transition = FindTransition(from, to);
    if (!transition) {
        return;
    }
    const ButtonState shown = Appearance(to);
    ButtonState before = Appearance(from);
    if (object.Kind() == DisplayKind::Button) {
        auto& button = static_cast<ButtonObject&>(object);
        before = button.State();
        if (button.State() != shown) {
            button.ShowState(shown);
        }
    } else if (object.Kind() == DisplayKind::MovieClip) {
        static_cast<MovieClip&>(object).GotoLabel(StateLabel(shown), false);
    }
    context.Emit(ButtonStateChanged{object.Handle(), before, shown, transition->condition});
    if (object.Kind() == DisplayKind::Button) {
        for (const ButtonActionBlock& block :
             ActionBlocks(static_cast<ButtonObject&>(object).GetButton())) {
            if (ConditionHolds(block.conditions, transition->condition)) {
                QueuedAction action;
                action.kind = ActionKind::ButtonActions;
                action.target = object.Handle();
                action.actions = block.actions;
                action.condition = transition->condition;
                context.Queue(ActionPriority::Normal, action);
            }
        }
    }
    context.QueueEvent(object, transition->event, ActionPriority::Normal);
}

void UserInput::KeyPressed(MovieClip& root, std::uint8_t keyCode) {
    const std::uint16_t condition = buttoncondition::KeyPress(keyCode);
    VisitObjects(root, [&](DisplayObject& object) {
        if (object.Kind() == DisplayKind::MovieClip) {
            for (const ClipActionRecord& record : object.ClipActions()) {
                if (record.Handles(ClipEvent::KeyPress) && record.keyCode == keyCode) {
                    context.QueueEvent(object, ClipEvent::KeyPress, ActionPriority::Normal,
                                       keyCode);
                    break;
                }
            }
            return;
        }
        if (object.Kind() != DisplayKind::Button) {
            return;
        }
        auto& button = static_cast<ButtonObject&>(object);
        if (!button.Enabled()) {
            return;
        }
        bool reported = false;
        for (const ButtonActionBlock& block : ActionBlocks(button.GetButton())) {
            if (!ConditionHolds(block.conditions, condition)) {
                continue;
            }
            if (!reported) {
                context.Emit(
                    ButtonStateChanged{button.Handle(), button.State(), button.State(), condition});
                reported = true;
            }
            QueuedAction action;
            action.kind = ActionKind::ButtonActions;
            action.target = button.Handle();
            action.actions = block.actions;
            action.condition = condition;
            context.Queue(ActionPriority::Normal, action);
        }
    });
}

void UserInput::Broadcast(ClipEvent event, std::uint8_t keyCode) {
    for (std::size_t i = context.clipsByAge.size(); i-- > 0;) {
        const DisplayObject* clip = context.objects.Find(context.clipsByAge[i]);
        if (clip != nullptr && !clip->Unloading()) {
            context.QueueEvent(*clip, event, ActionPriority::Normal, keyCode);
        }
    }
}

void UserInput::Notify(InputKind kind, std::uint32_t virtualKey, std::uint16_t character) {
    if (context.host != nullptr) {
        context.host->InputArrived({kind, x, y, virtualKey, character});
    }
}

} // namespace swf
