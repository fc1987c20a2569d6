// TextFormat: a bag of character and paragraph properties, null until set.
// The constructor takes them in Flash's order: font, size, color, bold,
// italic, underline, url, target, align, leftMargin, rightMargin, indent,
// leading.
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>

#include "swf/base/Text.h"
#include "swf/script/ArrayObject.h"
#include "swf/script/NumberText.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/display/ClipObject.h"
#include "swf/script/text/TextClasses.h"

namespace swf::script {

namespace {

// The properties, each kept converted in a slot of the object: what a
// TextFormat holds is what its setters made of the values given.
enum class FormatSlot : std::uint8_t {
    Align,
    BlockIndent,
    Bold,
    Bullet,
    Color,
    Display,
    Font,
    Indent,
    Italic,
    Kerning,
    Leading,
    LeftMargin,
    LetterSpacing,
    RightMargin,
    Size,
    TabStops,
    Target,
    Underline,
    Url,
};

// How a slot converts what it is given.
enum class Conversion : std::uint8_t {
    Text,     // a string; undefined and null clear it
    Flag,     // a boolean; undefined and null clear it
    Color,    // an unsigned 32-bit number
    Margin,   // an integer, negative and NaN as 0
    Indent,   // a margin before SWF 8, then any integer
    Size,     // an integer
    Number,   // any number
    Align,    // left, center, right or justify (any case); else unchanged
    Display,  // inline, block or none; else block
    TabStops, // an array of integers
};

struct SlotEntry {
    const char* name;
    FormatSlot slot;
    Conversion conversion;
    int version;
};

constexpr SlotEntry slotTable[] = {
    {"align", FormatSlot::Align, Conversion::Align, 5},
    {"blockIndent", FormatSlot::BlockIndent, Conversion::Indent, 5},
    {"bold", FormatSlot::Bold, Conversion::Flag, 5},
    {"bullet", FormatSlot::Bullet, Conversion::Flag, 5},
    {"color", FormatSlot::Color, Conversion::Color, 5},
    {"display", FormatSlot::Display, Conversion::Display, 5},
    {"font", FormatSlot::Font, Conversion::Text, 5},
    {"indent", FormatSlot::Indent, Conversion::Indent, 5},
    {"italic", FormatSlot::Italic, Conversion::Flag, 5},
    {"kerning", FormatSlot::Kerning, Conversion::Flag, 8},
    {"leading", FormatSlot::Leading, Conversion::Indent, 5},
    {"leftMargin", FormatSlot::LeftMargin, Conversion::Margin, 5},
    {"letterSpacing", FormatSlot::LetterSpacing, Conversion::Number, 8},
    {"rightMargin", FormatSlot::RightMargin, Conversion::Margin, 5},
    {"size", FormatSlot::Size, Conversion::Size, 5},
    {"tabStops", FormatSlot::TabStops, Conversion::TabStops, 5},
    {"target", FormatSlot::Target, Conversion::Text, 5},
    {"underline", FormatSlot::Underline, Conversion::Flag, 5},
    {"url", FormatSlot::Url, Conversion::Text, 5},
};

constexpr std::size_t slotCount = std::size(slotTable);

class TextFormatObject final : public Object {
public:
    TextFormatObject() : Object(ObjectClass::Other) { slots.fill(Value::Null()); }
    std::array<Value, slotCount> slots;

    void Trace(Tracer& tracer) const override {
        Object::Trace(tracer);
        for (const Value& v : slots) {
            tracer.Visit(v);
        }
    }
    std::size_t Footprint() const override {
        return sizeof(TextFormatObject) + Properties().Footprint();
    }
};

// The integer the player makes of a number: out of range and NaN give the
// lowest one.
double PlayerInteger(double n) {
    if (!std::isfinite(n) || n >= 2147483648.0 || n <= -2147483649.0) {
        return -2147483648.0;
    }
    return std::trunc(n);
}

// Integers as each version makes them: wrapped to 32 bits before SWF 8.
double IntegerIn(int version, double n) {
    return version >= 8 ? PlayerInteger(n) : double(ToInt32(n));
}

constexpr std::array<std::string_view, 4> alignNames = {"left", "center", "right", "justify"};
constexpr std::array<std::string_view, 3> displayNames = {"inline", "block", "none"};

// An object given to a TextFormat is asked for valueOf twice and toString
// once (display asks toString again), as Flash does; the conversions work on
// what those gave.
struct AskedObject {
    Value primitive; // from valueOf, or the toString text where valueOf gave an object
    Value text;      // from toString
};

ScriptResult<std::optional<AskedObject>> Ask(Vm& vm, const Value& value, Conversion conversion) {
    if (!value.IsObject()) {
        return std::optional<AskedObject>();
    }
    AskedObject asked;
    for (int i = 0; i < 2; ++i) {
        const Completion got = vm.CallMethod(value, vm.Intern("valueOf"), {});
        if (got.IsAbrupt()) {
            return got;
        }
        asked.primitive = got.GetValue();
    }
    const int texts = conversion == Conversion::Display ? 2 : 1;
    for (int i = 0; i < texts; ++i) {
        const Completion got = vm.CallMethod(value, vm.Intern("toString"), {});
        if (got.IsAbrupt()) {
            return got;
        }
        asked.text = got.GetValue();
    }
    if (IsDisplayObject(value.AsObject())) {
        // A clip's text is its path.
        const auto path = vm.ToString(value);
        if (!path) {
            return path.Abrupt();
        }
        asked.text = Value(*path);
    } else if (!asked.text.IsString()) {
        asked.text = Value(vm.Intern("[type Object]"));
    }
    if (asked.primitive.IsObject()) {
        asked.primitive = asked.text;
    }
    return std::optional<AskedObject>(asked);
}

ScriptResult<Value> Convert(Vm& vm, Conversion conversion, const Value& given,
                            const Value& current) {
    const auto asked = Ask(vm, given, conversion);
    if (!asked) {
        return asked.Abrupt();
    }
    const bool nullish = given.IsNullish();
    if (*asked && conversion == Conversion::Flag) {
        return Value(true);
    }
    const bool textual = conversion == Conversion::Text || conversion == Conversion::Align ||
                         conversion == Conversion::Display;
    const Value value = *asked ? (textual ? (*asked)->text : (*asked)->primitive) : given;
    switch (conversion) {
    case Conversion::Text: {
        if (nullish) {
            return Value::Null();
        }
        const auto s = vm.ToString(value);
        if (!s) {
            return s.Abrupt();
        }
        return Value(*s);
    }
    case Conversion::Flag:
        return nullish ? Value::Null() : Value(vm.ToBoolean(value));
    case Conversion::Color:
    case Conversion::Margin:
    case Conversion::Indent:
    case Conversion::Size:
    case Conversion::Number: {
        if (nullish) {
            return Value::Null();
        }
        const auto n = vm.ToNumber(value);
        if (!n) {
            return n.Abrupt();
        }
        if (conversion == Conversion::Color) {
            return Value(static_cast<double>(static_cast<std::uint32_t>(ToInt32(*n))));
        }
        // Before SWF 8 margins wrap to 32 bits, then lose their sign.
        if ((conversion == Conversion::Margin || conversion == Conversion::Indent) &&
            vm.Version() < 8) {
            return Value(double(std::max(0, ToInt32(*n))));
        }
        if (conversion == Conversion::Margin) {
            return Value(std::isnan(*n) || *n < 0 ? 0.0 : PlayerInteger(*n));
        }
        if (conversion == Conversion::Number) {
            return Value(*n);
        }
        return Value(IntegerIn(vm.Version(), *n));
    }
    case Conversion::Align:
    case Conversion::Display: {
        // An alignment Flash does not know leaves the one set; a display it
        // does not know is "block".
        const Value fallback =
            conversion == Conversion::Align ? current : Value(vm.Intern("block"));
        if (nullish) {
            return fallback;
        }
        const auto s = vm.ToString(value);
        if (!s) {
            return s.Abrupt();
        }
        const bool align = conversion == Conversion::Align;
        const std::span<const std::string_view> names =
            align ? std::span<const std::string_view>(alignNames)
                  : std::span<const std::string_view>(displayNames);
        for (const std::string_view name : names) {
            if (align ? EqualsIgnoringAsciiCase((*s)->View(), name) : (*s)->View() == name) {
                return Value(vm.Intern(name));
            }
        }
        return fallback;
    }
    case Conversion::TabStops: {
        // Flash reads any object (and a string) as a list by its length,
        // each element as an integer; another value, like an empty list,
        // empties a list set before and leaves none as none.
        if (nullish || (given.IsString() && given.AsString()->Empty())) {
            return Value::Null();
        }
        Object* source = given.ObjectOrNull();
        if (!source && !given.IsString()) {
            return current.IsNull() ? Value::Null() : Value(vm.NewArray());
        }
        ArrayObject* stops = vm.NewArray();
        TemporaryRoot keep(vm, Value(stops));
        double length = 0;
        if (source) {
            const Completion got = vm.GetMember(source, vm.N().length);
            if (got.IsAbrupt()) {
                return got;
            }
            const auto n = vm.ToNumber(got.GetValue());
            if (!n) {
                return n.Abrupt();
            }
            length = std::isfinite(*n) && *n > 0 ? std::trunc(*n) : 0;
        } else {
            length = static_cast<double>(CharacterCount(given.AsString()->View(), vm.Version()));
        }
        constexpr double maxStops = 1 << 16;
        for (double i = 0; i < std::min(length, maxStops); ++i) {
            double n = std::nan("");
            if (source) {
                const Completion element =
                    vm.GetMember(source, vm.IndexName(static_cast<std::size_t>(i)));
                if (element.IsAbrupt()) {
                    return element;
                }
                const auto number = vm.ToNumber(element.GetValue());
                if (!number) {
                    return number.Abrupt();
                }
                n = *number;
            }
            stops->Push(vm, Value(IntegerIn(vm.Version(), n)));
        }
        if (stops->Length() == 0 && current.IsNull()) {
            return Value::Null();
        }
        return Value(stops);
    }
    }
    return Value();
}

TextFormatObject* ThisFormat(NativeCall& call) {
    Object* self = call.ThisObject();
    return dynamic_cast<TextFormatObject*>(self);
}

template <std::size_t I>
Completion GetSlot(NativeCall& call) {
    TextFormatObject* format = ThisFormat(call);
    return format ? format->slots[I] : Value();
}

template <std::size_t I>
Completion SetSlot(NativeCall& call) {
    TextFormatObject* format = ThisFormat(call);
    if (!format) {
        return Value();
    }
    const auto converted = Convert(call.vm, slotTable[I].conversion, call.Arg(0), format->slots[I]);
    if (!converted) {
        return converted.Abrupt();
    }
    format->slots[I] = *converted;
    return Value();
}

struct SlotAccessors {
    NativeFunction getter;
    NativeFunction setter;
};

template <std::size_t... I>
constexpr auto MakeSlotAccessors(std::index_sequence<I...>) {
    return std::array<SlotAccessors, sizeof...(I)>{SlotAccessors{GetSlot<I>, SetSlot<I>}...};
}

constexpr auto slotAccessors = MakeSlotAccessors(std::make_index_sequence<slotCount>());

Object* MakeInstance(Vm& vm, Object* prototype) {
    auto* format = vm.GetHeap().Make<TextFormatObject>();
    format->slots[static_cast<std::size_t>(FormatSlot::Display)] = Value(vm.Intern("block"));
    if (prototype) {
        vm.SetPrototype(format, prototype);
    }
    return format;
}

// The constructor's arguments, in Flash's order.
constexpr FormatSlot constructorOrder[] = {
    FormatSlot::Font,    FormatSlot::Size,       FormatSlot::Color,       FormatSlot::Bold,
    FormatSlot::Italic,  FormatSlot::Underline,  FormatSlot::Url,         FormatSlot::Target,
    FormatSlot::Align,   FormatSlot::LeftMargin, FormatSlot::RightMargin, FormatSlot::Indent,
    FormatSlot::Leading,
};

Completion Construct(NativeCall& call) {
    auto* self = ThisFormat(call);
    if (!call.constructing || !self) {
        return call.thisValue;
    }
    for (std::size_t i = 0; i < std::size(constructorOrder) && i < call.Count(); ++i) {
        const auto slot = static_cast<std::size_t>(constructorOrder[i]);
        const auto converted =
            Convert(call.vm, slotTable[slot].conversion, call.Arg(i), self->slots[slot]);
        if (!converted) {
            return converted.Abrupt();
        }
        self->slots[slot] = *converted;
    }
    return call.thisValue;
}

// The member's value, if the object has one that is neither null nor undefined.
ScriptResult<std::optional<Value>> Member(Vm& vm, Object* format, const char* name) {
    const Completion got = vm.GetMember(format, vm.Intern(name));
    if (got.IsAbrupt()) {
        return got;
    }
    const Value v = got.GetValue();
    if (v.IsUndefined() || v.IsNull()) {
        return std::optional<Value>();
    }
    return std::optional<Value>(v);
}

} // namespace

void InstallTextFormat(Vm& vm) {
    const builtins::ClassParts parts =
        builtins::MakeClass(vm, Construct, vm.Builtins().objectPrototype);
    parts.constructor->makeInstance = MakeInstance;
    for (std::size_t i = 0; i < slotCount; ++i) {
        Property& p =
            parts.prototype->Properties().Add(vm.Intern(slotTable[i].name), Value(),
                                              PropertyFlag::DontEnum | PropertyFlag::DontDelete |
                                                  builtins::VersionFlags(slotTable[i].version));
        p.getter = builtins::MakeFunction(vm, slotAccessors[i].getter);
        p.setter = builtins::MakeFunction(vm, slotAccessors[i].setter);
    }
    builtins::AddGlobal(vm, "TextFormat", Value(parts.constructor), 5);
}

namespace text {

ScriptResult<FormatChange> ReadTextFormat(Vm& vm, Object* format) {
    FormatChange change;
    if (!format) {
        return change;
    }
    const auto text = [&](const char* name, std::optional<std::string>& out) -> Completion {
        const auto m = Member(vm, format, name);
        if (!m) {
            return m.Abrupt();
        }
        if (*m) {
            const auto s = vm.ToString(**m);
            if (!s) {
                return s.Abrupt();
            }
            out = std::string((*s)->View());
        }
        return Value();
    };
    const auto number = [&](const char* name, std::optional<double>& out) -> Completion {
        const auto m = Member(vm, format, name);
        if (!m) {
            return m.Abrupt();
        }
        if (*m) {
            const auto n = vm.ToNumber(**m);
            if (!n) {
                return n.Abrupt();
            }
            if (std::isfinite(*n)) {
                out = std::trunc(*n);
            }
        }
        return Value();
    };
    const auto flag = [&](const char* name, std::optional<bool>& out) -> Completion {
        const auto m = Member(vm, format, name);
        if (!m) {
            return m.Abrupt();
        }
        if (*m) {
            out = vm.ToBoolean(**m);
        }
        return Value();
    };
    std::optional<double> color;
    std::optional<std::string> align;
    const Completion steps[] = {
        text("font", change.font),
        number("size", change.size),
        number("color", color),
        flag("bold", change.bold),
        flag("italic", change.italic),
        flag("underline", change.underline),
        text("url", change.url),
        text("target", change.target),
        text("align", align),
        number("leftMargin", change.leftMargin),
        number("rightMargin", change.rightMargin),
        number("indent", change.indent),
        number("leading", change.leading),
        number("blockIndent", change.blockIndent),
        flag("bullet", change.bullet),
        number("letterSpacing", change.letterSpacing),
        flag("kerning", change.kerning),
    };
    for (const Completion& step : steps) {
        if (step.IsAbrupt()) {
            return step;
        }
    }
    if (color) {
        change.color = static_cast<std::uint32_t>(ToInt32(*color)) & 0xFFFFFF;
    }
    if (align) {
        const std::string a = swf::text::LowerAscii(*align);
        if (a == "left" || a == "right" || a == "center" || a == "justify") {
            change.align = a;
        }
    }
    return change;
}

Object* MakeTextFormat(Vm& vm, const FormatChange& change) {
    const Property* found = vm.Global()->Properties().Find(vm.Intern("TextFormat"), 8);
    Object* constructor = found ? found->value.ObjectOrNull() : nullptr;
    Object* format = nullptr;
    if (constructor && constructor->IsFunction()) {
        format = MakeInstance(vm, nullptr);
        const Property* prototype = constructor->Properties().Find(vm.N().prototype, 8);
        if (prototype && prototype->value.IsObject()) {
            vm.SetPrototype(format, prototype->value.AsObject());
        }
    } else {
        format = vm.NewObject();
    }
    TemporaryRoot keep(vm, Value(format));
    const auto string = [&](const std::optional<std::string>& v) {
        return v ? Value(vm.NewString(*v)) : Value::Null();
    };
    const auto number = [](const auto& v) { return v ? Value(double(*v)) : Value::Null(); };
    const auto flag = [](const std::optional<bool>& v) { return v ? Value(*v) : Value::Null(); };
    const auto set = [&](const char* name, const Value& value) {
        vm.SetMember(format, vm.Intern(name), value);
    };
    set("font", string(change.font));
    set("size", number(change.size));
    set("color", number(change.color));
    set("bold", flag(change.bold));
    set("italic", flag(change.italic));
    set("underline", flag(change.underline));
    set("url", string(change.url));
    set("target", string(change.target));
    set("align", string(change.align));
    set("leftMargin", number(change.leftMargin));
    set("rightMargin", number(change.rightMargin));
    set("indent", number(change.indent));
    set("leading", number(change.leading));
    set("blockIndent", number(change.blockIndent));
    set("bullet", flag(change.bullet));
    if (change.tabStops) {
        ArrayObject* stops = vm.NewArray();
        TemporaryRoot keepStops(vm, Value(stops));
        for (const double stop : *change.tabStops) {
            stops->Push(vm, Value(stop));
        }
        // Straight into its slot: a field's empty list reads as one.
        if (auto* slots = dynamic_cast<TextFormatObject*>(format)) {
            slots->slots[static_cast<std::size_t>(FormatSlot::TabStops)] = Value(stops);
        } else {
            set("tabStops", Value(stops));
        }
    } else {
        set("tabStops", Value::Null());
    }
    if (vm.Version() >= 8) {
        set("kerning", flag(change.kerning));
        set("letterSpacing", number(change.letterSpacing));
    }
    return format;
}

} // namespace text

} // namespace swf::script
