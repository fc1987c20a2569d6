// The stylus and the keys reaching a movie. The pointer moves over the
// stage; the object under it that takes it (a button, or a clip acting as
// one) goes through the pointer states of Flash, and each transition shows
// the button's state for it, is reported as a ButtonStateChanged event and
// queues the button's actions for its condition and the handler's event.
// Every clip that handles them gets the mouse and key events; buttons and
// clips get the key presses their actions wait for.
//
// Nothing runs here: what input queues runs when the player's queue runs.
#pragma once

#include <cstdint>

#include "swf/format/ClipActions.h"
#include "swf/runtime/ButtonCondition.h"
#include "swf/runtime/DisplayHandle.h"
#include "swf/runtime/InputEvent.h"

namespace swf {

class DisplayObject;
class MovieClip;
class RuntimeContext;

class UserInput {
public:
    explicit UserInput(RuntimeContext& context) : context(context) {}

    void PointerMoved(MovieClip& root, double x, double y);
    void PointerDown(MovieClip& root, double x, double y);
    void PointerUp(MovieClip& root, double x, double y);
    void KeyDown(MovieClip& root, std::uint32_t virtualKey);
    void KeyUp(MovieClip& root, std::uint32_t virtualKey);
    void CharacterTyped(MovieClip& root, std::uint16_t character);
    // The stage changed under a pointer that stayed where it was: what is
    // under it now takes it.
    void Recheck(MovieClip& root);

    // Where the pointer is, in stage twips; (0, 0) until it first moves.
    double X() const { return x; }
    double Y() const { return y; }
    bool PointerSeen() const { return seen; }
    bool StylusDown() const { return down; }
    // The object the pointer is over or was pressed on, and its state there.
    DisplayHandle Target() const { return target; }
    PointerState TargetState() const { return state; }

private:
    // Brings the target up to date with what is under the pointer.
    void Follow(MovieClip& root);
    DisplayObject* Under(MovieClip& root) const;
    DisplayObject* CurrentTarget();
    // The target goes to the pointer state to, with what the transition does.
    void Enter(DisplayObject& object, PointerState to);
    void KeyPressed(MovieClip& root, std::uint8_t keyCode);
    void Broadcast(ClipEvent event, std::uint8_t keyCode = 0);
    void Notify(InputKind kind, std::uint32_t virtualKey = 0, std::uint16_t character = 0);

    RuntimeContext& context;
    double x = 0.0;
    double y = 0.0;
    bool seen = false;
    bool down = false;
    DisplayHandle target;
    PointerState state = PointerState::Idle;
};

} // namespace swf
