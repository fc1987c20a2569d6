// What the runtime asks of a script engine. The runtime queues frame
// actions and events in Flash Player's order; the script engine says which
// objects have handlers for an event and runs what is queued. A player
// without a script engine runs nothing and knows only the clip actions of
// PlaceObject.
#pragma once

#include "swf/format/ClipActions.h"
#include "swf/runtime/ActionQueue.h"
#include "swf/runtime/InputEvent.h"

namespace swf {

class DisplayObject;

class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // Whether anything runs when event reaches object: its clip actions, a
    // handler a script set, its class. The runtime asks before it queues an
    // event, and when a removed clip may have to stay until its unload event
    // has run.
    virtual bool Handles(const DisplayObject& object, ClipEvent event) = 0;

    // Runs one queued action. It may call back into the runtime (gotos,
    // clips made and removed, properties set); what that queues runs after.
    virtual void Run(const QueuedAction& action) = 0;

    // Input has reached the movie: the clips' mouse and key events are
    // queued, the buttons' transitions not yet. For what listens to the
    // mouse and the keys (and the state Key and _xmouse read); it may run
    // scripts at once. By default nothing listens.
    virtual void InputArrived(const InputEvent& event) { (void)event; }
    // A text field has joined the stage: scripts see it, and the variable
    // it is bound to, from now.
    virtual void FieldPlaced(DisplayObject& field) { (void)field; }
};

} // namespace swf
