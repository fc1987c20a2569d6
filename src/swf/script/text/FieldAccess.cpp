#include "swf/script/text/FieldAccess.h"

#include "swf/script/TargetPathSyntax.h"
#include "swf/script/Vm.h"
#include "swf/script/display/RuntimeClips.h"
#include "swf/script/text/TextClasses.h"

namespace swf::script::text {

namespace {

struct VariablePlace {
    Object* timeline = nullptr;
    String* name = nullptr;
};

// The timeline and the name a field's variable path comes to.
VariablePlace PlaceOf(Vm& vm, RuntimeClips& clips, const FieldAccess& field) {
    const std::string& path = *field.model->variable;
    DisplayObject* parent = field.display->ParentClip();
    if (!parent) {
        return {};
    }
    Object* from = clips.ObjectFor(parent);
    const VariableReference reference = SplitVariableName(path);
    // A path alone is a plain name, as SetVariable takes it.
    if (reference.plain || reference.pathOnly) {
        return {from, vm.Intern(path)};
    }
    DisplayObject* target = clips.FindTarget(reference.holderPath, from);
    if (!target) {
        return {};
    }
    return {clips.ObjectFor(target), vm.Intern(reference.variable)};
}

} // namespace

FieldAccess AccessField(Vm& vm, RuntimeClips& clips, EditTextObject& display) {
    ClipObject* object = clips.ObjectFor(&display);
    if (!object) {
        return {};
    }
    auto& model = object->TextModel();
    if (!model) {
        model = std::make_unique<FieldModel>(display.Field(), vm.MovieVersion());
    }
    return {object, &display, model.get()};
}

FieldAccess AccessField(Vm& vm, RuntimeClips& clips, Object* self) {
    if (!self || self->Class() != ObjectClass::TextField) {
        return {};
    }
    Object* live = clips.Live(self);
    DisplayObject* object = live ? clips.Display(live) : nullptr;
    if (!object || object->Kind() != DisplayKind::EditText) {
        return {};
    }
    return AccessField(vm, clips, static_cast<EditTextObject&>(*object));
}

void Show(const FieldAccess& field, int version) {
    std::string shown = field.model->Text(version);
    for (char& c : shown) {
        if (c == '\r') {
            c = '\n';
        }
    }
    EditText& settings = field.display->ChangeField();
    settings.html = false;
    settings.border = field.model->border || field.model->background;
    settings.wordWrap = field.model->wordWrap;
    settings.multiline = field.model->multiline;
    settings.password = field.model->password;
    settings.useOutlines = field.model->embedFonts;
    const std::uint32_t color = field.model->newFormat.color;
    settings.textColor =
        Rgba{static_cast<std::uint8_t>(color >> 16), static_cast<std::uint8_t>(color >> 8),
             static_cast<std::uint8_t>(color), 255};
    field.display->SetText(std::move(shown));
}

std::optional<Value> BoundValue(Vm& vm, RuntimeClips& clips, const FieldAccess& field) {
    if (!field.model->variable) {
        return std::nullopt;
    }
    const VariablePlace place = PlaceOf(vm, clips, field);
    if (!place.timeline) {
        return std::nullopt;
    }
    const Completion got = vm.GetMember(place.timeline, place.name);
    if (!got.IsNormal() || got.GetValue().IsUndefined()) {
        return std::nullopt;
    }
    return got.GetValue();
}

bool SetBoundValue(Vm& vm, RuntimeClips& clips, const FieldAccess& field, const Value& value) {
    if (!field.model->variable) {
        return false;
    }
    const VariablePlace place = PlaceOf(vm, clips, field);
    if (!place.timeline) {
        return false;
    }
    vm.SetMember(place.timeline, place.name, value);
    return true;
}

void FieldPlaced(Vm& vm, RuntimeClips& clips, EditTextObject& display) {
    const FieldAccess field = AccessField(vm, clips, display);
    if (!field || !field.model->variable || !display.Field().initialText) {
        return;
    }
    if (!BoundValue(vm, clips, field)) {
        SetBoundValue(vm, clips, field, Value(vm.NewString(field.model->Text(vm.MovieVersion()))));
    }
}

void ShowBoundVariables(Vm& vm, RuntimeClips& clips) {
    for (EditTextObject* display : clips.BoundFields()) {
        const FieldAccess field = AccessField(vm, clips, *display);
        if (!field) {
            continue;
        }
        const std::optional<Value> value = BoundValue(vm, clips, field);
        if (!value) {
            continue;
        }
        const auto s = vm.ToString(*value);
        if (!s) {
            continue;
        }
        const int version = vm.MovieVersion();
        std::string text((*s)->View());
        if (field.model->boundText == text) {
            continue;
        }
        if (field.model->html) {
            field.model->SetHtml(text, field.model->initialFormat, version);
        } else {
            field.model->SetText(text, version);
        }
        field.model->boundText = std::move(text);
        Show(field, version);
    }
}

} // namespace swf::script::text
