// A button (DefineButton, DefineButton2) on stage: it shows the characters
// of its current state (up, over or down), made as objects of their own so
// that sprites in a state play, and it is hit where its hit-state
// characters are. The pointer changes its state (see UserInput.h).
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "swf/format/CharacterModel.h"
#include "swf/runtime/DisplayObject.h"
#include "swf/runtime/RuntimeEvents.h"

namespace swf {

class ButtonObject final : public DisplayObject {
public:
    struct Part {
        std::size_t record = 0; // index into the definition's records
        Depth depth = 0;
        std::unique_ptr<DisplayObject> object;
    };

    // Made only by the runtime; shows the up state.
    ButtonObject(RuntimeContext& context, const Character& definition, int nesting);
    ~ButtonObject() override;

    const Button& GetButton() const;
    ButtonState State() const { return state; }
    // The objects of the current state, by depth (then record order).
    const std::vector<Part>& Parts() const { return parts; }
    int Nesting() const { return nesting; }

    // Whether it takes input; a script may turn it off (enabled = false).
    bool Enabled() const { return enabled; }
    void SetEnabled(bool value) { enabled = value; }

private:
    friend class UserInput;
    friend class TimelineExecutor;
    friend class ObjectRemoval;

    // Shows the characters of state: parts both states show stay as they are.
    void ShowState(ButtonState next);

    const int nesting;
    ButtonState state = ButtonState::Up;
    bool enabled = true;
    std::vector<Part> parts;
};

} // namespace swf
