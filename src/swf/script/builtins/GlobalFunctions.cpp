// The functions and constants of _global that belong to no class:
// ASSetPropFlags, escape and unescape, parseInt and parseFloat, isNaN and
// isFinite, the interval timers, and the few that do nothing here.
#include <cmath>
#include <limits>

#include "swf/script/ArrayObject.h"
#include "swf/script/NumberText.h"
#include "swf/script/TextEncoding.h"
#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

// ASSetPropFlags(object, names, set, clear): names is null (every
// property), a comma-separated string, or an array of names.
Completion SetPropFlags(NativeCall& call) {
    Vm& vm = call.vm;
    Object* object = call.Arg(0).ObjectOrNull();
    if (!object || call.Count() < 3) {
        return Value();
    }
    const auto setValue = vm.ToNumber(call.Arg(2));
    if (!setValue) {
        return setValue.Abrupt();
    }
    double clearNumber = 0;
    if (call.Has(3)) {
        const auto clearValue = vm.ToNumber(call.Arg(3));
        if (!clearValue) {
            return clearValue.Abrupt();
        }
        clearNumber = *clearValue;
    }
    const auto set = static_cast<std::uint16_t>(ToInt32(*setValue) & PropertyFlag::Settable);
    const auto clear = static_cast<std::uint16_t>(ToInt32(clearNumber) & PropertyFlag::Settable);
    auto change = [&](Property& p) {
        p.flags = static_cast<std::uint16_t>((p.flags & ~clear) | set);
        if (p.name == vm.N().proto) {
            object->SetPrototypeFlags(p.flags);
        }
    };
    const Value names = call.Arg(1);
    if (names.IsNull()) {
        object->Properties().ForEachMutable(change);
        return Value();
    }
    std::vector<String*> list;
    if (Object* array = names.ObjectOrNull()) {
        const Completion length = vm.GetMember(array, vm.N().length);
        if (length.IsAbrupt()) {
            return length;
        }
        const double n = vm.PrimitiveToNumber(length.GetValue());
        for (std::size_t i = 0; n > 0 && i < std::size_t(std::min(n, 1e6)); ++i) {
            const Completion element = vm.GetMember(array, vm.IndexName(i));
            if (element.IsAbrupt()) {
                return element;
            }
            const auto name = vm.ToString(element.GetValue());
            if (!name) {
                return name.Abrupt();
            }
            list.push_back(vm.Intern(*name));
        }
    } else if (!names.IsUndefined()) {
        const auto joined = vm.ToString(names);
        if (!joined) {
            return joined.Abrupt();
        }
        const std::string_view text = (*joined)->View();
        std::size_t start = 0;
        while (start <= text.size()) {
            const std::size_t comma = std::min(text.find(',', start), text.size());
            list.push_back(vm.Intern(text.substr(start, comma - start)));
            start = comma + 1;
        }
    } else {
        return Value();
    }
    // Names are matched in every version: the flags may hide them from this one.
    for (String* name : list) {
        object->Properties().ForEachMutable([&](Property& p) {
            if (call.Version() >= 7 ? p.name == name : p.name->Folded() == name->Folded()) {
                change(p);
            }
        });
    }
    return Value();
}

bool KeptByEscape(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

Completion Escape(NativeCall& call) {
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    std::string out;
    for (const char c : (*text)->View()) {
        const auto b = static_cast<unsigned char>(c);
        if (KeptByEscape(b)) {
            out += c;
        } else {
            out += '%';
            out += "0123456789ABCDEF"[b >> 4];
            out += "0123456789ABCDEF"[b & 15];
        }
    }
    return Value(call.vm.NewString(std::move(out)));
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

Completion Unescape(NativeCall& call) {
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    const std::string_view in = (*text)->View();
    std::string out;
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] == '%' && i + 2 < in.size() && HexValue(in[i + 1]) >= 0 &&
            HexValue(in[i + 2]) >= 0) {
            const char c = static_cast<char>(HexValue(in[i + 1]) * 16 + HexValue(in[i + 2]));
            if (c == 0) {
                break;
            }
            out += c;
            i += 2;
        } else if (in[i] == '%') {
            // A % not followed by a code takes the next character with it.
            ++i;
        } else if (in[i] == '+') {
            out += ' ';
        } else {
            out += in[i];
        }
    }
    return Value(call.vm.NewString(std::move(out)));
}

Completion ParseIntFunction(NativeCall& call) {
    if (!call.Has(0)) {
        return Value();
    }
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    int radix = 0;
    if (call.Has(1)) {
        const auto r = call.vm.ToNumber(call.Arg(1));
        if (!r) {
            return r.Abrupt();
        }
        radix = ToInt32(*r);
        if (radix < 2 || radix > 36) {
            return Value(std::numeric_limits<double>::quiet_NaN());
        }
    }
    return Value(ParseInt((*text)->View(), radix));
}

Completion ParseFloatFunction(NativeCall& call) {
    if (!call.Has(0)) {
        return Value();
    }
    const auto text = call.vm.ToString(call.Arg(0));
    if (!text) {
        return text.Abrupt();
    }
    return Value(ParseFloat((*text)->View()));
}

Completion IsNaN(NativeCall& call) {
    const auto n = call.vm.ToNumber(call.Arg(0));
    if (!n) {
        return n.Abrupt();
    }
    return Value(std::isnan(*n));
}

Completion IsFinite(NativeCall& call) {
    const auto n = call.vm.ToNumber(call.Arg(0));
    if (!n) {
        return n.Abrupt();
    }
    return Value(std::isfinite(*n));
}

// setInterval(function, ms, args...) or setInterval(object, "method", ms,
// args...); setTimeout the same, once.
Completion StartTimer(NativeCall& call, bool repeat) {
    Vm& vm = call.vm;
    Vm::Timer timer;
    std::size_t next = 0;
    Object* first = call.Arg(0).ObjectOrNull();
    if (!first) {
        return Value();
    }
    if (first->IsFunction()) {
        timer.function = call.Arg(0);
        next = 1;
    } else {
        const auto method = vm.ToString(call.Arg(1));
        if (!method) {
            return method.Abrupt();
        }
        timer.function = call.Arg(0);
        timer.method = vm.Intern(*method);
        next = 2;
    }
    if (!call.Has(next)) {
        return Value();
    }
    const auto interval = vm.ToNumber(call.Arg(next));
    if (!interval) {
        return interval.Abrupt();
    }
    timer.intervalMs = std::isfinite(*interval) ? std::max(*interval, 0.0) : 0.0;
    for (std::size_t i = next + 1; i < call.Count(); ++i) {
        timer.args.push_back(call.args[i]);
    }
    timer.repeat = repeat;
    timer.id = vm.NextTimerId();
    timer.dueMs = double(vm.Host().MovieMilliseconds()) + timer.intervalMs;
    vm.Timers().push_back(std::move(timer));
    return Value(double(vm.Timers().back().id));
}

Completion SetInterval(NativeCall& call) {
    return StartTimer(call, true);
}
Completion SetTimeout(NativeCall& call) {
    return StartTimer(call, false);
}

Completion ClearInterval(NativeCall& call) {
    const auto id = call.vm.ToNumber(call.Arg(0));
    if (!id) {
        return id.Abrupt();
    }
    std::erase_if(call.vm.Timers(), [&](const Vm::Timer& t) { return double(t.id) == *id; });
    return Value();
}

Completion Nothing(NativeCall&) {
    return Value();
}

Completion TraceFunction(NativeCall& call) {
    Vm& vm = call.vm;
    const Value v = call.Arg(0);
    String* text = nullptr;
    if (v.IsUndefined()) {
        text = vm.N().undefined;
    } else {
        const auto s = vm.ToString(v);
        if (!s) {
            return s.Abrupt();
        }
        text = *s;
    }
    vm.Host().Trace(call.Version() < 6 ? Latin1ToUtf8(text->View()) : std::string(text->View()));
    return Value();
}

constexpr Method globalFunctions[] = {
    {"ASSetPropFlags", SetPropFlags, 5},
    {"escape", Escape, 5},
    {"unescape", Unescape, 5},
    {"parseInt", ParseIntFunction, 5},
    {"parseFloat", ParseFloatFunction, 5},
    {"isNaN", IsNaN, 5},
    {"isFinite", IsFinite, 5},
    {"setInterval", SetInterval, 5},
    {"setTimeout", SetTimeout, 5},
    {"updateAfterEvent", Nothing, 5},
    {"showRedrawRegions", Nothing, 5},
    // A script-written helper of the player's own error classes; movies
    // see it, but it sets up nothing a movie can observe.
    {"AsSetupError", Nothing, 5, true},
    {"trace", TraceFunction, 5},
};

} // namespace

void InstallGlobalFunctions(Vm& vm) {
    Object* global = vm.Global();
    AddMethods(vm, global, globalFunctions);
    vm.RegisterNative(100, 0, Escape);
    vm.RegisterNative(100, 1, Unescape);
    FunctionObject* clear = MakeFunction(vm, ClearInterval);
    AddValue(vm, global, "clearInterval", Value(clear));
    AddValue(vm, global, "clearTimeout", Value(clear), 5);
    // A function of the debugger that has no members at all.
    FunctionObject* debugConsole = vm.NewNativeFunction(Nothing);
    if (Property* proto = vm.FindOwn(debugConsole, vm.N().proto)) {
        debugConsole->Properties().Remove(proto);
        debugConsole->SetPrototypeCache(nullptr);
    }
    AddValue(vm, global, "enableDebugConsole", Value(debugConsole));
    vm.DefineOwn(global, "NaN", Value(std::numeric_limits<double>::quiet_NaN()), 0);
    vm.DefineOwn(global, "Infinity", Value(std::numeric_limits<double>::infinity()), 0);
    // Flash's _global has an "o" that is null.
    vm.DefineOwn(global, "o", Value::Null(), PropertyFlag::DontEnum);
}

} // namespace swf::script::builtins
