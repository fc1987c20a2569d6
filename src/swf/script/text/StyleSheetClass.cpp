// TextField.StyleSheet: named styles (each a copy of the object given), and
// the CSS font names Flash maps to its own device fonts.
#include "swf/script/ArrayObject.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/ClassBuilder.h"
#include "swf/script/text/TextClasses.h"

namespace swf::script {

namespace {

using builtins::Method;

constexpr std::uint16_t hidden = PropertyFlag::DontEnum;

Completion Construct(NativeCall& call) {
    Object* self = call.ThisObject();
    if (call.constructing && self) {
        call.vm.DefineOwn(self, "_styles", Value(call.vm.NewObject()), hidden);
    }
    return call.thisValue;
}

Object* StylesOf(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!self) {
        return nullptr;
    }
    const Property* p = self->Properties().Find(call.vm.Intern("_styles"), call.vm.Version());
    return p ? p->value.ObjectOrNull() : nullptr;
}

// A copy of the object's enumerable properties.
ScriptResult<Object*> CopyOf(Vm& vm, Object* source) {
    Object* copy = vm.NewObject();
    TemporaryRoot keep(vm, Value(copy));
    for (String* name : vm.EnumerableNames(source)) {
        const Completion value = vm.GetMember(source, name);
        if (value.IsAbrupt()) {
            return value;
        }
        vm.DefineOwn(copy, name, value.GetValue());
    }
    return copy;
}

Completion SetStyle(NativeCall& call) {
    Object* styles = StylesOf(call);
    if (!styles || !call.Has(0)) {
        return Value();
    }
    const auto name = call.vm.ToString(call.Arg(0));
    if (!name) {
        return name.Abrupt();
    }
    String* key = call.vm.Intern(*name);
    Object* style = call.Arg(1).ObjectOrNull();
    if (!style) {
        call.vm.DeleteMember(styles, key);
        return Value();
    }
    const auto copy = CopyOf(call.vm, style);
    if (!copy) {
        return copy.Abrupt();
    }
    call.vm.DefineOwn(styles, key, Value(*copy));
    return Value();
}

Completion GetStyle(NativeCall& call) {
    Object* styles = StylesOf(call);
    if (!styles || !call.Has(0)) {
        return Value();
    }
    const auto name = call.vm.ToString(call.Arg(0));
    if (!name) {
        return name.Abrupt();
    }
    const Property* p = styles->Properties().Find(call.vm.Intern(*name), call.vm.Version());
    Object* style = p ? p->value.ObjectOrNull() : nullptr;
    if (!style) {
        return Value::Null();
    }
    const auto copy = CopyOf(call.vm, style);
    if (!copy) {
        return copy.Abrupt();
    }
    return Value(*copy);
}

Completion GetStyleNames(NativeCall& call) {
    Object* styles = StylesOf(call);
    if (!styles) {
        return Value();
    }
    ArrayObject* names = call.vm.NewArray();
    TemporaryRoot keep(call.vm, Value(names));
    for (String* name : call.vm.EnumerableNames(styles)) {
        names->Push(call.vm, Value(name));
    }
    return Value(names);
}

Completion Clear(NativeCall& call) {
    Object* self = call.ThisObject();
    if (self && StylesOf(call)) {
        call.vm.DefineOwn(self, "_styles", Value(call.vm.NewObject()), hidden);
    }
    return Value();
}

// The generic CSS families become Flash's device fonts; any other name
// stays as it is.
Completion ParseCssFontFamily(NativeCall& call) {
    if (!call.Has(0)) {
        return Value();
    }
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    const std::string_view name = (*text)->View();
    static constexpr std::pair<std::string_view, std::string_view> families[] = {
        {"mono", "_typewriter"},
        {"sans-serif", "_sans"},
        {"serif", "_serif"},
    };
    for (const auto& [family, font] : families) {
        if (EqualsIgnoringAsciiCase(name, family)) {
            return Value(call.vm.Intern(font));
        }
    }
    return Value(*text);
}

constexpr Method styleSheetMethods[] = {
    {"clear", Clear, 7},
    {"getStyle", GetStyle, 7},
    {"getStyleNames", GetStyleNames, 7},
    {"parseCSSFontFamily", ParseCssFontFamily, 7},
    {"setStyle", SetStyle, 7},
};

} // namespace

void InstallStyleSheet(Vm& vm, Object* textFieldConstructor) {
    const builtins::ClassParts parts =
        builtins::MakeClass(vm, Construct, vm.Builtins().objectPrototype, false);
    builtins::AddMethods(vm, parts.prototype, styleSheetMethods);
    builtins::AddValue(vm, textFieldConstructor, "StyleSheet", Value(parts.constructor), 7);
}

} // namespace swf::script
