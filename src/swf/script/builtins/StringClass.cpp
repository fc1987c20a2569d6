// String: the wrapper of strings and every method on them, reading the
// bytes by the version of the calling code (characters are bytes in
// SWF 5, UTF-8 sequences from SWF 6).
#include <algorithm>
#include <cmath>
#include <limits>

#include "swf/script/ArrayObject.h"
#include "swf/script/NumberText.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

using Chars = std::vector<std::uint32_t>;

Object* MakeInstance(Vm& vm, Object* prototype) {
    Object* object = vm.GetHeap().Make<Object>(ObjectClass::String);
    if (prototype) {
        vm.SetPrototype(object, prototype);
    }
    object->SetPrimitive(Value(vm.N().empty));
    return object;
}

Completion Construct(NativeCall& call) {
    Vm& vm = call.vm;
    String* value = vm.N().empty;
    if (call.Has(0)) {
        const auto s = vm.ToString(call.Arg(0));
        if (!s) {
            return s.Abrupt();
        }
        value = *s;
    }
    if (call.constructing) {
        if (Object* self = call.ThisObject()) {
            self->SetPrimitive(Value(value));
            vm.DefineOwn(self, vm.N().length,
                         Value(double(CharacterCount(value->View(), call.Version()))),
                         PropertyFlag::DontEnum | PropertyFlag::DontDelete);
        }
        return call.thisValue;
    }
    return Value(value);
}

// this as a string: a string, a String object's own, or any value
// converted.
ScriptResult<String*> ThisString(NativeCall& call) {
    if (call.thisValue.IsString()) {
        return call.thisValue.AsString();
    }
    if (Object* self = ThisOfClass(call, ObjectClass::String)) {
        if (self->Primitive().IsString()) {
            return self->Primitive().AsString();
        }
    }
    return call.vm.ToString(call.thisValue);
}

ScriptResult<double> IntegerArg(NativeCall& call, std::size_t i, double fallback) {
    if (!call.Has(i) || call.Arg(i).IsUndefined()) {
        return fallback;
    }
    const auto n = call.vm.ToNumber(call.Arg(i));
    if (!n) {
        return n;
    }
    // Positions are 32-bit integers: infinities and NaN are 0.
    return double(ToInt32(*n));
}

Value MakeString(NativeCall& call, const Chars& chars) {
    return Value(call.vm.NewString(FromCharacters(chars, call.Version())));
}

Completion ToString(NativeCall& call) {
    if (call.thisValue.IsString()) {
        return call.thisValue;
    }
    Object* self = ThisOfClass(call, ObjectClass::String);
    if (!self) {
        return Value();
    }
    return self->Primitive();
}

Completion CharAt(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    const auto i = IntegerArg(call, 0, 0);
    if (!i) {
        return i.Abrupt();
    }
    const Chars chars = Characters((*s)->View(), call.Version());
    if (*i < 0 || *i >= double(chars.size())) {
        return Value(call.vm.N().empty);
    }
    return MakeString(call, {chars[std::size_t(*i)]});
}

Completion CharCodeAt(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    const auto i = IntegerArg(call, 0, 0);
    if (!i) {
        return i.Abrupt();
    }
    const Chars chars = Characters((*s)->View(), call.Version());
    if (*i < 0 || *i >= double(chars.size())) {
        return Value(std::numeric_limits<double>::quiet_NaN());
    }
    return Value(double(chars[std::size_t(*i)]));
}

Completion Concat(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    std::string out((*s)->View());
    for (const Value& v : call.args) {
        const auto part = call.vm.ToString(v);
        if (!part) {
            return part.Abrupt();
        }
        out += (*part)->View();
    }
    return Value(call.vm.NewString(std::move(out)));
}

// The first index at or after from where needle starts, or -1.
double Find(const Chars& hay, const Chars& needle, double from) {
    const std::size_t start = from < 0 ? 0 : std::size_t(std::min(from, 1e15));
    if (needle.empty()) {
        return start <= hay.size() ? double(start) : -1;
    }
    if (needle.size() > hay.size()) {
        return -1;
    }
    for (std::size_t i = start; i + needle.size() <= hay.size(); ++i) {
        if (std::equal(needle.begin(), needle.end(), hay.begin() + std::ptrdiff_t(i))) {
            return double(i);
        }
    }
    return -1;
}

Completion IndexOf(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    const auto needle = call.vm.ToString(call.Arg(0));
    if (!needle) {
        return needle.Abrupt();
    }
    const auto from = IntegerArg(call, 1, 0);
    if (!from) {
        return from.Abrupt();
    }
    return Value(Find(Characters((*s)->View(), call.Version()),
                      Characters((*needle)->View(), call.Version()), *from));
}

Completion LastIndexOf(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    const auto needleText = call.vm.ToString(call.Arg(0));
    if (!needleText) {
        return needleText.Abrupt();
    }
    const Chars hay = Characters((*s)->View(), call.Version());
    const Chars needle = Characters((*needleText)->View(), call.Version());
    const auto from = IntegerArg(call, 1, double(hay.size()));
    if (!from) {
        return from.Abrupt();
    }
    if (*from < 0 || needle.size() > hay.size()) {
        return Value(-1.0);
    }
    std::size_t start = std::min(hay.size() - needle.size(), std::size_t(std::min(*from, 1e15)));
    for (std::size_t i = start + 1; i-- > 0;) {
        if (std::equal(needle.begin(), needle.end(), hay.begin() + std::ptrdiff_t(i))) {
            return Value(double(i));
        }
    }
    return Value(-1.0);
}

// A position counted from the end when negative, clamped to [0, size].
std::size_t Relative(double position, std::size_t size) {
    if (position < 0) {
        position += double(size);
    }
    return std::size_t(std::clamp(position, 0.0, double(size)));
}

Completion Slice(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    if (!call.Has(0)) {
        return Value();
    }
    const Chars chars = Characters((*s)->View(), call.Version());
    const auto start = IntegerArg(call, 0, 0);
    if (!start) {
        return start.Abrupt();
    }
    const auto end = IntegerArg(call, 1, double(chars.size()));
    if (!end) {
        return end.Abrupt();
    }
    const std::size_t from = Relative(*start, chars.size());
    const std::size_t to = Relative(*end, chars.size());
    if (from >= to) {
        return Value(call.vm.N().empty);
    }
    return MakeString(
        call, Chars(chars.begin() + std::ptrdiff_t(from), chars.begin() + std::ptrdiff_t(to)));
}

Completion Substr(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    const Chars chars = Characters((*s)->View(), call.Version());
    const auto start = IntegerArg(call, 0, 0);
    if (!start) {
        return start.Abrupt();
    }
    const std::size_t from = Relative(*start, chars.size());
    const auto length = IntegerArg(call, 1, double(chars.size() - from));
    if (!length) {
        return length.Abrupt();
    }
    // A negative length is the whole string's less that much, and gives
    // nothing when that reaches the end.
    double count = *length;
    if (count < 0) {
        count += double(chars.size());
        if (count < 0 || double(from) + count >= double(chars.size())) {
            count = 0;
        }
    }
    const std::size_t to = std::min(chars.size(), from + std::size_t(std::min(count, 1e15)));
    return MakeString(
        call, Chars(chars.begin() + std::ptrdiff_t(from), chars.begin() + std::ptrdiff_t(to)));
}

Completion Substring(NativeCall& call) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    const Chars chars = Characters((*s)->View(), call.Version());
    const auto start = IntegerArg(call, 0, 0);
    if (!start) {
        return start.Abrupt();
    }
    const auto end = IntegerArg(call, 1, double(chars.size()));
    if (!end) {
        return end.Abrupt();
    }
    std::size_t from = std::size_t(std::clamp(*start, 0.0, double(chars.size())));
    std::size_t to = std::size_t(std::clamp(*end, 0.0, double(chars.size())));
    // A start at or past the end gives nothing, whatever the end: the two
    // are swapped only within the string.
    if (from == chars.size()) {
        return MakeString(call, Chars());
    }
    if (from > to) {
        std::swap(from, to);
    }
    return MakeString(
        call, Chars(chars.begin() + std::ptrdiff_t(from), chars.begin() + std::ptrdiff_t(to)));
}

Completion Split(NativeCall& call) {
    Vm& vm = call.vm;
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    ArrayObject* result = vm.NewArray();
    const int version = call.Version();
    if (!call.Has(0) || call.Arg(0).IsUndefined()) {
        result->Push(vm, Value(*s));
        return Value(result);
    }
    const auto delimiterText = vm.ToString(call.Arg(0));
    if (!delimiterText) {
        return delimiterText.Abrupt();
    }
    double limit = 4294967295.0;
    if (call.Has(1) && !call.Arg(1).IsUndefined()) {
        const auto l = vm.ToNumber(call.Arg(1));
        if (!l) {
            return l.Abrupt();
        }
        limit = double(ToInt32(*l));
        if (limit <= 0) {
            return Value(result);
        }
    }
    const Chars chars = Characters((*s)->View(), version);
    const Chars delimiter = Characters((*delimiterText)->View(), version);
    if (delimiter.empty() || (version < 6 && delimiter.size() > 1)) {
        // SWF 5 splits at single characters only.
        if (version < 6) {
            result->Push(vm, Value(*s));
            return Value(result);
        }
        for (std::size_t i = 0; i < chars.size() && double(result->Length()) < limit; ++i) {
            result->Push(vm, MakeString(call, {chars[i]}));
        }
        return Value(result);
    }
    if (chars.empty() && version >= 6) {
        result->Push(vm, Value(vm.N().empty));
        return Value(result);
    }
    std::size_t start = 0;
    while (double(result->Length()) < limit) {
        const double found = Find(chars, delimiter, double(start));
        const std::size_t end = found < 0 ? chars.size() : std::size_t(found);
        result->Push(vm, MakeString(call, Chars(chars.begin() + std::ptrdiff_t(start),
                                                chars.begin() + std::ptrdiff_t(end))));
        if (found < 0) {
            break;
        }
        start = end + delimiter.size();
    }
    return Value(result);
}

std::uint32_t LowerCase(std::uint32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 32;
    }
    if (c >= 0x100 && c < 0x180 && (c & 1) == 0 && c != 0x130 && c != 0x138) {
        return c + 1;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) {
        return c + 32;
    }
    if (c >= 0x410 && c <= 0x42F) {
        return c + 32;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 80;
    }
    return c;
}

std::uint32_t UpperCase(std::uint32_t c) {
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
        return c - 32;
    }
    if (c == 0xFF) {
        return 0x178;
    }
    if (c >= 0x100 && c < 0x180 && (c & 1) == 1 && c != 0x131 && c != 0x149) {
        return c - 1;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) {
        return c - 32;
    }
    if (c >= 0x430 && c <= 0x44F) {
        return c - 32;
    }
    if (c >= 0x450 && c <= 0x45F) {
        return c - 80;
    }
    return c;
}

Completion ChangeCase(NativeCall& call, bool upper) {
    const auto s = ThisString(call);
    if (!s) {
        return s.Abrupt();
    }
    Chars chars = Characters((*s)->View(), call.Version());
    for (std::uint32_t& c : chars) {
        if (call.Version() < 6 && c >= 0x80) {
            continue;
        }
        c = upper ? UpperCase(c) : LowerCase(c);
    }
    return MakeString(call, chars);
}

Completion ToLowerCase(NativeCall& call) {
    return ChangeCase(call, false);
}
Completion ToUpperCase(NativeCall& call) {
    return ChangeCase(call, true);
}

Completion FromCharCode(NativeCall& call) {
    std::string out;
    for (const Value& v : call.args) {
        const auto n = call.vm.ToNumber(v);
        if (!n) {
            return n.Abrupt();
        }
        const std::uint32_t code = static_cast<std::uint32_t>(ToInt32(*n)) & 0xFFFF;
        if (code == 0) {
            break;
        }
        if (call.Version() >= 6) {
            AppendUtf8(out, code);
        } else if (code > 0xFF) {
            // SWF 5 makes a double-byte character of the code, high byte first.
            out += static_cast<char>(code >> 8);
            if ((code & 0xFF) == 0) {
                break;
            }
            out += static_cast<char>(code & 0xFF);
        } else {
            out += static_cast<char>(code);
        }
    }
    return Value(call.vm.NewString(std::move(out)));
}

constexpr Method prototypeMethods[] = {
    {"charAt", CharAt, 5},
    {"charCodeAt", CharCodeAt, 5},
    {"concat", Concat, 5},
    {"indexOf", IndexOf, 5},
    {"lastIndexOf", LastIndexOf, 5},
    {"slice", Slice, 5},
    {"split", Split, 5},
    {"substr", Substr, 5},
    {"substring", Substring, 5},
    {"toLowerCase", ToLowerCase, 5},
    {"toString", ToString, 5},
    {"toUpperCase", ToUpperCase, 5},
    {"valueOf", ToString, 5},
};

constexpr Method staticMethods[] = {
    {"fromCharCode", FromCharCode, 5},
};

} // namespace

void InstallString(Vm& vm) {
    const ClassParts parts =
        MakeClass(vm, Construct, vm.Builtins().objectPrototype, /*readOnly=*/false);
    parts.constructor->makeInstance = MakeInstance;
    AddMethods(vm, parts.prototype, prototypeMethods);
    AddMethods(vm, parts.constructor, staticMethods);
    vm.Builtins().stringPrototype = parts.prototype;
    vm.Builtins().stringConstructor = parts.constructor;
    AddGlobal(vm, "String", Value(parts.constructor));
}

} // namespace swf::script::builtins
