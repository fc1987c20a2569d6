// TextFormat: a bag of character and paragraph properties, null until set.
// The constructor takes them in Flash's order: font, size, color, bold,
// italic, underline, url, target, align, leftMargin, rightMargin, indent,
// leading.
#include <cmath>

#include "swf/script/ArrayObject.h"
#include "swf/script/NumberText.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/text/TextClasses.h"

namespace swf::script {

namespace {

constexpr const char* constructorOrder[] = {
    "font",   "size",  "color",      "bold",        "italic", "underline", "url",
    "target", "align", "leftMargin", "rightMargin", "indent", "leading",
};

constexpr const char* laterProperties[] = {"blockIndent", "bullet", "tabStops"};
// Flash 8's own.
constexpr const char* version8Properties[] = {"kerning", "letterSpacing"};

Completion Construct(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!call.constructing || !self) {
        return Value();
    }
    Vm& vm = call.vm;
    std::size_t i = 0;
    for (const char* name : constructorOrder) {
        const Value given = call.Arg(i++);
        vm.DefineOwn(self, name, given.IsUndefined() ? Value::Null() : given);
    }
    for (const char* name : laterProperties) {
        vm.DefineOwn(self, name, Value::Null());
    }
    if (vm.Version() >= 8) {
        for (const char* name : version8Properties) {
            vm.DefineOwn(self, name, Value::Null());
        }
    }
    vm.DefineOwn(self, "display", Value(vm.NewString(std::string_view("block"))));
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
    builtins::AddGlobal(vm, "TextFormat", Value(parts.constructor), 6);
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
        std::string a = *align;
        for (char& ch : a) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        if (a == "left" || a == "right" || a == "center" || a == "justify") {
            change.align = a;
        }
    }
    return change;
}

Object* MakeTextFormat(Vm& vm, const FormatChange& change) {
    const Property* found = vm.Global()->Properties().Find(vm.Intern("TextFormat"), 8);
    FunctionObject* constructor =
        found && found->value.ObjectOrNull() && found->value.ObjectOrNull()->IsFunction()
            ? static_cast<FunctionObject*>(found->value.ObjectOrNull())
            : nullptr;
    Object* format = nullptr;
    if (constructor) {
        const Completion made = vm.Construct(Value(constructor), {});
        format = made.IsNormal() ? made.GetValue().ObjectOrNull() : nullptr;
    }
    if (!format) {
        format = vm.NewObject();
    }
    TemporaryRoot keep(vm, Value(format));
    const auto string = [&](const std::optional<std::string>& v) {
        return v ? Value(vm.NewString(*v)) : Value::Null();
    };
    const auto number = [](const auto& v) { return v ? Value(double(*v)) : Value::Null(); };
    const auto flag = [](const std::optional<bool>& v) { return v ? Value(*v) : Value::Null(); };
    vm.DefineOwn(format, "font", string(change.font));
    vm.DefineOwn(format, "size", number(change.size));
    vm.DefineOwn(format, "color", number(change.color));
    vm.DefineOwn(format, "bold", flag(change.bold));
    vm.DefineOwn(format, "italic", flag(change.italic));
    vm.DefineOwn(format, "underline", flag(change.underline));
    vm.DefineOwn(format, "url", string(change.url));
    vm.DefineOwn(format, "target", string(change.target));
    vm.DefineOwn(format, "align", string(change.align));
    vm.DefineOwn(format, "leftMargin", number(change.leftMargin));
    vm.DefineOwn(format, "rightMargin", number(change.rightMargin));
    vm.DefineOwn(format, "indent", number(change.indent));
    vm.DefineOwn(format, "leading", number(change.leading));
    vm.DefineOwn(format, "blockIndent", number(change.blockIndent));
    vm.DefineOwn(format, "bullet", flag(change.bullet));
    if (change.tabStops) {
        ArrayObject* stops = vm.NewArray();
        for (const double stop : *change.tabStops) {
            stops->Push(vm, Value(stop));
        }
        vm.DefineOwn(format, "tabStops", Value(stops));
    } else {
        vm.DefineOwn(format, "tabStops", Value::Null());
    }
    if (vm.Version() >= 8) {
        vm.DefineOwn(format, "kerning", flag(change.kerning));
        vm.DefineOwn(format, "letterSpacing", number(change.letterSpacing));
    }
    return format;
}

} // namespace text

} // namespace swf::script
