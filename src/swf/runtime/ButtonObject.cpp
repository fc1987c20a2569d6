#include "swf/runtime/ButtonObject.h"

#include <algorithm>

#include "swf/runtime/ObjectRemoval.h"
#include "swf/runtime/RuntimeContext.h"
#include "swf/runtime/TimelineExecutor.h"

namespace swf {

namespace {

bool ShownIn(const ButtonRecord& record, ButtonState state) {
    switch (state) {
    case ButtonState::Up:
        return record.up;
    case ButtonState::Over:
        return record.over;
    case ButtonState::Down:
        return record.down;
    }
    return false;
}

} // namespace

ButtonObject::ButtonObject(RuntimeContext& context, const Character& definition, int nesting)
    : DisplayObject(context, DisplayKind::Button, &definition), nesting(nesting) {}

ButtonObject::~ButtonObject() {
    parts.clear();
}

const Button& ButtonObject::GetButton() const {
    return std::get<Button>(Definition()->data);
}

void ButtonObject::ShowState(ButtonState next) {
    const Button& button = GetButton();
    std::vector<Part> shown;
    for (Part& part : parts) {
        if (ShownIn(button.records[part.record], next)) {
            shown.push_back(std::move(part));
        } else {
            ObjectRemoval::ReportRemoved(context, *part.object);
        }
    }
    std::vector<DisplayObject*> added;
    for (std::size_t i = 0; i < button.records.size(); ++i) {
        const ButtonRecord& record = button.records[i];
        const bool present = std::any_of(shown.begin(), shown.end(),
                                         [&](const Part& part) { return part.record == i; });
        if (!ShownIn(record, next) || present) {
            continue;
        }
        auto object =
            TimelineExecutor::Make(context, context.movie.Find(record.characterId), nesting + 1);
        if (!object) {
            continue;
        }
        DisplayObject& made = *object;
        made.parent = this;
        made.depth = record.depth;
        made.matrix = record.matrix;
        made.colorTransform = button.legacyColorTransform.value_or(record.colorTransform);
        made.filters = record.filters;
        made.blendMode = record.blendMode;
        shown.push_back({i, record.depth, std::move(object)});
        added.push_back(&made);
    }
    std::stable_sort(shown.begin(), shown.end(), [](const Part& a, const Part& b) {
        return a.depth != b.depth ? a.depth < b.depth : a.record < b.record;
    });
    parts = std::move(shown); // the parts not shown any more go here
    state = next;
    Changed();
    for (DisplayObject* object : added) {
        TimelineExecutor::BringToLife(*object, true);
    }
}

} // namespace swf
