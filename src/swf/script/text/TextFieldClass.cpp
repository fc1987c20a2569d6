// TextField: the methods and the native properties of text fields. A field
// placed by the timeline and one made by createTextField are the same kind
// of object; what scripts change is kept in the field's FieldModel and
// passed on to the display object, which the renderer draws.
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/MovieClip.h"
#include "swf/runtime/ScriptDepths.h"
#include "swf/script/NumberText.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/RuntimeClips.h"
#include "swf/script/text/FieldAccess.h"
#include "swf/script/text/TextClasses.h"

namespace swf::script {

namespace {

using builtins::Method;

using text::FieldAccess;
using text::Show;

RuntimeClips* ClipsOf(Vm& vm) {
    ClipHost* host = vm.Clips();
    return host ? host->Runtime() : nullptr;
}

FieldAccess ThisField(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    return clips ? text::AccessField(call.vm, *clips, call.ThisObject()) : FieldAccess{};
}

Value StringValue(Vm& vm, const std::string& s) {
    return Value(vm.NewString(s));
}

ScriptResult<std::string> TextOf(Vm& vm, const Value& v) {
    const auto s = vm.ToString(v);
    if (!s) {
        return s.Abrupt();
    }
    return std::string((*s)->View());
}

// The native properties, in the order Flash lists them.
enum class FieldProperty : std::uint8_t {
    Text,
    HtmlText,
    Html,
    Length,
    TextColor,
    Border,
    BorderColor,
    Background,
    BackgroundColor,
    AutoSize,
    WordWrap,
    Multiline,
    Selectable,
    Type,
    MaxChars,
    Restrict,
    Variable,
    Password,
    EmbedFonts,
    CondenseWhite,
    MouseWheelEnabled,
    AntiAliasType,
    GridFitType,
    Sharpness,
    Thickness,
    Scroll,
    MaxScroll,
    HScroll,
    MaxHScroll,
    BottomScroll,
    StyleSheet,
};

struct PropertyEntry {
    const char* name;
    FieldProperty property;
    bool readOnly;
    int version;
};

constexpr PropertyEntry propertyTable[] = {
    {"text", FieldProperty::Text, false, 6},
    {"htmlText", FieldProperty::HtmlText, false, 6},
    {"html", FieldProperty::Html, false, 6},
    {"length", FieldProperty::Length, true, 6},
    {"textColor", FieldProperty::TextColor, false, 6},
    {"border", FieldProperty::Border, false, 6},
    {"borderColor", FieldProperty::BorderColor, false, 6},
    {"background", FieldProperty::Background, false, 6},
    {"backgroundColor", FieldProperty::BackgroundColor, false, 6},
    {"autoSize", FieldProperty::AutoSize, false, 6},
    {"wordWrap", FieldProperty::WordWrap, false, 6},
    {"multiline", FieldProperty::Multiline, false, 6},
    {"selectable", FieldProperty::Selectable, false, 6},
    {"type", FieldProperty::Type, false, 6},
    {"maxChars", FieldProperty::MaxChars, false, 6},
    {"restrict", FieldProperty::Restrict, false, 6},
    {"variable", FieldProperty::Variable, false, 6},
    {"password", FieldProperty::Password, false, 6},
    {"embedFonts", FieldProperty::EmbedFonts, false, 6},
    {"condenseWhite", FieldProperty::CondenseWhite, false, 6},
    {"mouseWheelEnabled", FieldProperty::MouseWheelEnabled, false, 6},
    {"antiAliasType", FieldProperty::AntiAliasType, false, 8},
    {"gridFitType", FieldProperty::GridFitType, false, 8},
    {"sharpness", FieldProperty::Sharpness, false, 8},
    {"thickness", FieldProperty::Thickness, false, 8},
    {"scroll", FieldProperty::Scroll, false, 6},
    {"maxscroll", FieldProperty::MaxScroll, true, 6},
    {"hscroll", FieldProperty::HScroll, false, 6},
    {"maxhscroll", FieldProperty::MaxHScroll, true, 6},
    {"bottomScroll", FieldProperty::BottomScroll, true, 6},
    {"styleSheet", FieldProperty::StyleSheet, false, 6},
};

Value ReadProperty(Vm& vm, RuntimeClips& clips, const FieldAccess& field, FieldProperty property) {
    const text::FieldModel& m = *field.model;
    const int version = vm.Version();
    const auto color = [](std::uint32_t c) { return Value(static_cast<double>(c)); };
    switch (property) {
    case FieldProperty::Text:
        // A bound field reads as its variable, before the frame shows it.
        if (const auto bound = text::BoundValue(vm, clips, field)) {
            if (const auto s = vm.ToString(*bound)) {
                return Value(*s);
            }
        }
        return StringValue(vm, m.Text(version));
    case FieldProperty::HtmlText:
        return StringValue(vm, m.html ? m.Html(version) : m.Text(version));
    case FieldProperty::Html:
        return Value(m.html);
    case FieldProperty::Length:
        return Value(static_cast<double>(m.Length()));
    case FieldProperty::TextColor:
        return color(m.newFormat.color);
    case FieldProperty::Border:
        return Value(m.border);
    case FieldProperty::BorderColor:
        return color(m.borderColor);
    case FieldProperty::Background:
        return Value(m.background);
    case FieldProperty::BackgroundColor:
        return color(m.backgroundColor);
    case FieldProperty::AutoSize:
        return StringValue(vm, m.autoSize);
    case FieldProperty::WordWrap:
        return Value(m.wordWrap);
    case FieldProperty::Multiline:
        return Value(m.multiline);
    case FieldProperty::Selectable:
        return Value(m.selectable);
    case FieldProperty::Type:
        return StringValue(vm, m.editable ? "input" : "dynamic");
    case FieldProperty::MaxChars:
        return m.maxChars ? Value(*m.maxChars) : Value::Null();
    case FieldProperty::Restrict:
        return m.restrict ? StringValue(vm, *m.restrict) : Value::Null();
    case FieldProperty::Variable:
        return m.variable ? StringValue(vm, *m.variable) : Value::Null();
    case FieldProperty::Password:
        return Value(m.password);
    case FieldProperty::EmbedFonts:
        return Value(m.embedFonts);
    case FieldProperty::CondenseWhite:
        return Value(m.condenseWhite);
    case FieldProperty::MouseWheelEnabled:
        return Value(m.mouseWheelEnabled);
    case FieldProperty::AntiAliasType:
        return StringValue(vm, m.antiAliasType);
    case FieldProperty::GridFitType:
        return StringValue(vm, m.gridFitType);
    case FieldProperty::Sharpness:
        return Value(m.sharpness);
    case FieldProperty::Thickness:
        return Value(m.thickness);
    case FieldProperty::Scroll:
        return Value(m.scroll);
    case FieldProperty::MaxScroll:
    case FieldProperty::BottomScroll:
        return Value(1.0);
    case FieldProperty::HScroll:
        return Value(m.hscroll);
    case FieldProperty::MaxHScroll:
        return Value(0.0);
    case FieldProperty::StyleSheet:
        return field.object->StyleSheet();
    }
    return Value();
}

// Flash asks an object given to a flag or a name for its valueOf, and then
// converts the object itself, whatever valueOf gave.
Completion AskValueOf(Vm& vm, const Value& value) {
    if (!value.IsObject()) {
        return Value();
    }
    return vm.CallMethod(value, vm.Intern("valueOf"), {});
}

bool IsFlag(FieldProperty property) {
    switch (property) {
    case FieldProperty::Html:
    case FieldProperty::Border:
    case FieldProperty::Background:
    case FieldProperty::WordWrap:
    case FieldProperty::Multiline:
    case FieldProperty::Selectable:
    case FieldProperty::Password:
    case FieldProperty::EmbedFonts:
    case FieldProperty::CondenseWhite:
    case FieldProperty::MouseWheelEnabled:
        return true;
    default:
        return false;
    }
}

Completion WriteProperty(Vm& vm, RuntimeClips& clips, const FieldAccess& field,
                         FieldProperty property, const Value& value) {
    text::FieldModel& m = *field.model;
    const int version = vm.Version();
    const auto number = [&]() { return vm.ToNumber(value); };
    // Flags take the value as a boolean (an object is always true).
    const bool flag = vm.ToBoolean(value);
    if (IsFlag(property)) {
        if (const Completion asked = AskValueOf(vm, value); asked.IsAbrupt()) {
            return asked;
        }
    }
    const auto setColor = [&](std::uint32_t& to) -> Completion {
        const auto n = number();
        if (!n) {
            return n.Abrupt();
        }
        to = static_cast<std::uint32_t>(ToInt32(*n)) & 0xFFFFFF;
        return Value();
    };
    switch (property) {
    case FieldProperty::Text: {
        const auto s = TextOf(vm, value);
        if (!s) {
            return s.Abrupt();
        }
        // A bound field's text is its variable's: the frame shows it.
        if (!text::SetBoundValue(vm, clips, field, Value(vm.NewString(*s)))) {
            m.SetText(*s, version);
        }
        break;
    }
    case FieldProperty::HtmlText: {
        const auto s = TextOf(vm, value);
        if (!s) {
            return s.Abrupt();
        }
        if (m.html) {
            // From SWF 8 the markup starts from the new-text format.
            m.SetHtml(*s, version >= 8 ? m.newFormat : m.initialFormat, version);
        } else {
            m.SetText(*s, version);
        }
        break;
    }
    case FieldProperty::Html:
        m.html = flag;
        break;
    case FieldProperty::TextColor: {
        std::uint32_t c = 0;
        if (Completion done = setColor(c); done.IsAbrupt()) {
            return done;
        }
        m.newFormat.color = c;
        text::FormatChange change;
        change.color = c;
        m.ApplyFormat(0, m.Length(), change);
        break;
    }
    case FieldProperty::Border:
        m.border = flag;
        break;
    case FieldProperty::BorderColor:
        return setColor(m.borderColor);
    case FieldProperty::Background:
        m.background = flag;
        break;
    case FieldProperty::BackgroundColor:
        return setColor(m.backgroundColor);
    case FieldProperty::AutoSize: {
        if (value.IsBoolean()) {
            m.autoSize = vm.ToBoolean(value) ? "left" : "none";
            break;
        }
        if (const Completion asked = AskValueOf(vm, value); asked.IsAbrupt()) {
            return asked;
        }
        const auto s = TextOf(vm, value);
        if (!s) {
            return s.Abrupt();
        }
        m.autoSize = (*s == "left" || *s == "right" || *s == "center") ? *s : "none";
        break;
    }
    case FieldProperty::WordWrap:
        m.wordWrap = flag;
        break;
    case FieldProperty::Multiline:
        m.multiline = flag;
        break;
    case FieldProperty::Selectable:
        m.selectable = flag;
        break;
    case FieldProperty::Type: {
        if (const Completion asked = AskValueOf(vm, value); asked.IsAbrupt()) {
            return asked;
        }
        const auto s = TextOf(vm, value);
        if (!s) {
            return s.Abrupt();
        }
        if (*s == "input" || *s == "dynamic") {
            m.editable = *s == "input";
        }
        break;
    }
    case FieldProperty::MaxChars: {
        // Flash reads the number twice: an object's valueOf runs twice.
        if (const auto first = number(); !first) {
            return first.Abrupt();
        }
        const auto n = number();
        if (!n) {
            return n.Abrupt();
        }
        const int chars = ToInt32(*n);
        m.maxChars = chars != 0 ? std::optional<double>(chars) : std::nullopt;
        break;
    }
    case FieldProperty::Restrict:
    case FieldProperty::Variable: {
        std::optional<std::string>& to =
            property == FieldProperty::Restrict ? m.restrict : m.variable;
        if (value.IsNullish()) {
            to.reset();
            break;
        }
        if (const Completion asked = AskValueOf(vm, value); asked.IsAbrupt()) {
            return asked;
        }
        const auto s = TextOf(vm, value);
        if (!s) {
            return s.Abrupt();
        }
        // An empty restriction clears a set one to "" and leaves none as
        // none; an empty variable name unbinds.
        if (s->empty() && (property == FieldProperty::Variable || !to)) {
            to.reset();
        } else {
            to = *s;
        }
        // A variable with no value yet starts with the field's text.
        if (property == FieldProperty::Variable && m.variable &&
            !text::BoundValue(vm, clips, field)) {
            text::SetBoundValue(vm, clips, field, Value(vm.NewString(m.Text(version))));
        }
        break;
    }
    case FieldProperty::Password:
        m.password = flag;
        break;
    case FieldProperty::EmbedFonts:
        m.embedFonts = flag;
        break;
    case FieldProperty::CondenseWhite:
        m.condenseWhite = flag;
        break;
    case FieldProperty::MouseWheelEnabled:
        m.mouseWheelEnabled = flag;
        break;
    case FieldProperty::AntiAliasType:
    case FieldProperty::GridFitType: {
        const auto s = TextOf(vm, value);
        if (!s) {
            return s.Abrupt();
        }
        if (property == FieldProperty::AntiAliasType) {
            if (*s == "normal" || *s == "advanced") {
                m.antiAliasType = *s;
            }
        } else if (*s == "none" || *s == "pixel" || *s == "subpixel") {
            m.gridFitType = *s;
        }
        break;
    }
    case FieldProperty::Sharpness:
    case FieldProperty::Thickness: {
        const auto n = number();
        if (!n) {
            return n.Abrupt();
        }
        double& to = property == FieldProperty::Sharpness ? m.sharpness : m.thickness;
        to = std::isnan(*n) ? to
                            : std::clamp(*n, property == FieldProperty::Sharpness ? -400.0 : -200.0,
                                         property == FieldProperty::Sharpness ? 400.0 : 200.0);
        break;
    }
    case FieldProperty::Scroll:
    case FieldProperty::HScroll:
        // One screen of text: there is nowhere to scroll to.
        break;
    case FieldProperty::StyleSheet:
        // Any object but a clip will do (asked for its valueOf, as Flash
        // does); anything else takes the style sheet away.
        if (value.IsObject() && !IsDisplayObject(value.AsObject())) {
            if (const Completion asked = AskValueOf(vm, value); asked.IsAbrupt()) {
                return asked;
            }
            field.object->StyleSheet() = value;
        } else {
            field.object->StyleSheet() = Value();
        }
        break;
    case FieldProperty::Length:
    case FieldProperty::MaxScroll:
    case FieldProperty::MaxHScroll:
    case FieldProperty::BottomScroll:
        break;
    }
    Show(field, version);
    return Value();
}

template <std::size_t I>
Completion GetThunk(NativeCall& call) {
    const FieldAccess field = ThisField(call);
    return field ? ReadProperty(call.vm, *ClipsOf(call.vm), field, propertyTable[I].property)
                 : Value();
}

template <std::size_t I>
Completion SetThunk(NativeCall& call) {
    const FieldAccess field = ThisField(call);
    return field ? WriteProperty(call.vm, *ClipsOf(call.vm), field, propertyTable[I].property,
                                 call.Arg(0))
                 : Value();
}

struct Accessors {
    NativeFunction getter;
    NativeFunction setter;
};

template <std::size_t... I>
constexpr auto MakeAccessors(std::index_sequence<I...>) {
    return std::array<Accessors, sizeof...(I)>{Accessors{GetThunk<I>, SetThunk<I>}...};
}

constexpr auto accessors = MakeAccessors(std::make_index_sequence<std::size(propertyTable)>());

// Range arguments: (), (index) or (begin, end), clamped to the text.
struct Range {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool valid = true;
};

ScriptResult<Range> RangeArgs(NativeCall& call, std::size_t count, std::size_t length) {
    Range range{0, length, true};
    if (count == 0) {
        return range;
    }
    const auto first = call.vm.ToNumber(call.Arg(0));
    if (!first) {
        return first.Abrupt();
    }
    const int begin = ToInt32(*first);
    int end = begin + 1;
    if (count >= 2) {
        const auto second = call.vm.ToNumber(call.Arg(1));
        if (!second) {
            return second.Abrupt();
        }
        end = ToInt32(*second);
    }
    // A range that starts before the text starts with it.
    const int from = count >= 2 ? std::max(begin, 0) : begin;
    if (from < 0 || end <= from || static_cast<std::size_t>(from) >= length) {
        range.valid = false;
        return range;
    }
    range.begin = static_cast<std::size_t>(from);
    range.end = std::min(static_cast<std::size_t>(end), length);
    return range;
}

Completion GetTextFormat(NativeCall& call) {
    const FieldAccess field = ThisField(call);
    if (!field) {
        return Value();
    }
    const auto range =
        RangeArgs(call, std::min<std::size_t>(call.Count(), 2), field.model->Length());
    if (!range) {
        return range.Abrupt();
    }
    if (!range->valid) {
        return Value(text::MakeTextFormat(call.vm, text::FormatChange{}));
    }
    return Value(text::MakeTextFormat(call.vm, field.model->FormatOf(range->begin, range->end)));
}

Completion SetTextFormat(NativeCall& call) {
    const FieldAccess field = ThisField(call);
    if (!field || call.Count() == 0) {
        return Value();
    }
    const std::size_t formatIndex = std::min<std::size_t>(call.Count() - 1, 2);
    Object* format = call.Arg(formatIndex).ObjectOrNull();
    if (!format) {
        return Value();
    }
    const auto range = RangeArgs(call, formatIndex, field.model->Length());
    if (!range) {
        return range.Abrupt();
    }
    const auto change = text::ReadTextFormat(call.vm, format);
    if (!change) {
        return change.Abrupt();
    }
    if (range->valid) {
        field.model->ApplyFormat(range->begin, range->end, *change);
        Show(field, call.vm.Version());
    }
    return Value();
}

Completion GetNewTextFormat(NativeCall& call) {
    const FieldAccess field = ThisField(call);
    if (!field) {
        return Value();
    }
    return Value(text::MakeTextFormat(call.vm, text::FullChange(field.model->newFormat)));
}

Completion SetNewTextFormat(NativeCall& call) {
    const FieldAccess field = ThisField(call);
    Object* format = call.Arg(0).ObjectOrNull();
    if (!field || !format) {
        return Value();
    }
    const auto change = text::ReadTextFormat(call.vm, format);
    if (!change) {
        return change.Abrupt();
    }
    text::ApplyChange(*change, field.model->newFormat);
    return Value();
}

Completion ReplaceText(NativeCall& call) {
    const FieldAccess field = ThisField(call);
    if (!field || call.Count() < 3) {
        return Value();
    }
    const auto begin = call.vm.ToNumber(call.Arg(0));
    if (!begin) {
        return begin.Abrupt();
    }
    const auto end = call.vm.ToNumber(call.Arg(1));
    if (!end) {
        return end.Abrupt();
    }
    const auto replacement = TextOf(call.vm, call.Arg(2));
    if (!replacement) {
        return replacement.Abrupt();
    }
    const int from = ToInt32(*begin);
    const int to = ToInt32(*end);
    if (from < 0 || to < from || replacement->empty()) {
        return Value();
    }
    const std::size_t length = field.model->Length();
    const std::size_t clampedFrom = std::min(static_cast<std::size_t>(from), length);
    field.model->Replace(clampedFrom, std::max(clampedFrom, static_cast<std::size_t>(to)),
                         *replacement, call.vm.Version());
    Show(field, call.vm.Version());
    return Value();
}

Completion RemoveTextField(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    Object* self = call.ThisObject();
    if (!clips || !self || self->Class() != ObjectClass::TextField) {
        return Value();
    }
    DisplayObject* object = clips->Display(self);
    // Only what a script made goes; fields of the timeline stay.
    if (object && object->Definition() && object->Definition()->id == 0) {
        clips->Remove(self);
    }
    return Value();
}

Completion GetDepth(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    Object* self = call.ThisObject();
    // A text field's getDepth answers for text fields alone.
    if (!self || self->Class() != ObjectClass::TextField) {
        return Value();
    }
    DisplayObject* object = clips ? clips->Display(self) : nullptr;
    return object ? Value(static_cast<double>(clips->ScriptDepth(*object))) : Value();
}

Completion TextFieldConstructor(NativeCall& call) {
    if (call.constructing) {
        InstallTextFieldProperties(call.vm);
    }
    return call.constructing ? call.thisValue : Value();
}

ScriptResult<double> NumberAt(NativeCall& call, std::size_t i) {
    return call.vm.ToNumber(call.Arg(i));
}

Twips PixelsToTwips(double pixels) {
    if (!std::isfinite(pixels)) {
        return 0;
    }
    return static_cast<Twips>(std::clamp(std::trunc(pixels * 20.0), -1.0e9, 1.0e9));
}

Completion CreateTextField(NativeCall& call) {
    RuntimeClips* clips = ClipsOf(call.vm);
    Object* self = call.ThisObject();
    DisplayObject* object = clips && self ? clips->Display(self) : nullptr;
    if (!object || object->Kind() != DisplayKind::MovieClip || call.Count() < 6) {
        return Value();
    }
    const auto name = TextOf(call.vm, call.Arg(0));
    if (!name) {
        return name.Abrupt();
    }
    double numbers[5] = {};
    for (std::size_t i = 0; i < 5; ++i) {
        const auto n = NumberAt(call, i + 1);
        if (!n) {
            return n.Abrupt();
        }
        numbers[i] = *n;
    }
    Rect bounds;
    bounds.xMax = std::max<Twips>(0, PixelsToTwips(numbers[3]));
    bounds.yMax = std::max<Twips>(0, PixelsToTwips(numbers[4]));
    auto& clip = static_cast<MovieClip&>(*object);
    DisplayObject* made =
        clip.CreateTextField(*name, depths::FromScript(ToInt32(numbers[0])), bounds);
    if (!made) {
        return Value();
    }
    Matrix placed = made->GetMatrix();
    placed.translateX = PixelsToTwips(numbers[1]);
    placed.translateY = PixelsToTwips(numbers[2]);
    made->SetMatrix(placed);
    Object* field = clips->ObjectFor(made);
    return call.vm.Version() >= 8 && field ? Value(field) : Value();
}

constexpr Method fieldMethods[] = {
    {"getDepth", GetDepth, 6},           {"getNewTextFormat", GetNewTextFormat, 6},
    {"getTextFormat", GetTextFormat, 6}, {"removeTextField", RemoveTextField, 6},
    {"replaceText", ReplaceText, 7},     {"setNewTextFormat", SetNewTextFormat, 6},
    {"setTextFormat", SetTextFormat, 6},
};

constexpr Method clipMethods[] = {
    {"createTextField", CreateTextField, 5},
};

} // namespace

Object* CurrentTextFieldPrototype(Vm& vm) {
    const Property* found = vm.Global()->Properties().Find(vm.Intern("TextField"), 8);
    Object* constructor = found ? found->value.ObjectOrNull() : nullptr;
    if (!constructor) {
        return nullptr;
    }
    const Property* prototypeSlot = constructor->Properties().Find(vm.N().prototype, 8);
    return prototypeSlot ? prototypeSlot->value.ObjectOrNull() : nullptr;
}

void InstallTextFieldProperties(Vm& vm) {
    if (vm.Version() < 6) {
        return;
    }
    Object* prototype = CurrentTextFieldPrototype(vm);
    if (!prototype) {
        return;
    }
    for (std::size_t i = 0; i < std::size(propertyTable); ++i) {
        String* name = vm.Intern(propertyTable[i].name);
        if (prototype->Properties().Find(name, 9)) {
            continue;
        }
        Property& p =
            prototype->Properties().Add(name, Value(),
                                        PropertyFlag::DontEnum | PropertyFlag::DontDelete |
                                            builtins::VersionFlags(propertyTable[i].version));
        p.getter = builtins::MakeFunction(vm, accessors[i].getter);
        p.setter = builtins::MakeFunction(vm, accessors[i].setter);
    }
}

void InstallTextField(Vm& vm) {
    // Scripts may give TextField a prototype of their own.
    const builtins::ClassParts parts =
        builtins::MakeClass(vm, TextFieldConstructor, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, parts.prototype, fieldMethods);
    vm.Builtins().textFieldPrototype = parts.prototype;
    builtins::AddGlobal(vm, "TextField", Value(parts.constructor), 6);
    InstallStyleSheet(vm, parts.constructor);
    builtins::AddMethods(vm, vm.Builtins().clipPrototype, clipMethods);
}

} // namespace swf::script
