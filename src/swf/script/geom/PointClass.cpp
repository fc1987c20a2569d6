// flash.geom.Point: a position, x and y kept as given (the class does no
// conversions of its own), with the vector arithmetic of the language
// reference. Its members behave as the player's script-defined ones do.
#include <cmath>

#include "swf/script/geom/GeomClasses.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::geom {

namespace {

ScriptResult<double> NumberMember(Vm& vm, const Value& base, std::string_view name) {
    const Completion got = Read(vm, base, name);
    if (got.IsAbrupt()) {
        return got;
    }
    return vm.ToNumber(got.GetValue());
}

Completion MakePoint(Vm& vm, Value x, Value y) {
    const Value args[] = {x, y};
    return ConstructGeom(vm, "Point", args);
}

Completion Construct(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!self) {
        return Value();
    }
    MarkInstance(call);
    const bool none = call.Count() == 0;
    Completion set = Write(call.vm, self, "x", none ? Value(0) : call.Arg(0));
    if (set.IsAbrupt()) {
        return set;
    }
    set = Write(call.vm, self, "y", none ? Value(0) : call.Arg(1));
    return set.IsAbrupt() ? set : Value();
}

Completion ToText(NativeCall& call) {
    return JoinMembers(call.vm, call.thisValue, {{"x", "x"}, {"y", "y"}});
}

Completion Length(NativeCall& call) {
    const auto x = NumberMember(call.vm, call.thisValue, "x");
    if (!x) {
        return x.Abrupt();
    }
    const auto y = NumberMember(call.vm, call.thisValue, "y");
    if (!y) {
        return y.Abrupt();
    }
    return Value(std::sqrt(*x * *x + *y * *y));
}

Completion Clone(NativeCall& call) {
    const Completion x = Read(call.vm, call.thisValue, "x");
    if (x.IsAbrupt()) {
        return x;
    }
    const Completion y = Read(call.vm, call.thisValue, "y");
    if (y.IsAbrupt()) {
        return y;
    }
    return MakePoint(call.vm, x.GetValue(), y.GetValue());
}

// this.x op other.x, this.y op other.y: into a new point, or into this.
template <bool adding>
Completion Combine(NativeCall& call) {
    Vm& vm = call.vm;
    Value parts[2];
    const std::string_view names[2] = {"x", "y"};
    for (int i = 0; i < 2; ++i) {
        const Completion mine = Read(vm, call.thisValue, names[i]);
        if (mine.IsAbrupt()) {
            return mine;
        }
        const Completion theirs = Read(vm, call.Arg(0), names[i]);
        if (theirs.IsAbrupt()) {
            return theirs;
        }
        if (adding) {
            const auto sum = vm.Add(mine.GetValue(), theirs.GetValue());
            if (!sum) {
                return sum.Abrupt();
            }
            parts[i] = *sum;
        } else {
            const auto a = vm.ToNumber(mine.GetValue());
            if (!a) {
                return a.Abrupt();
            }
            const auto b = vm.ToNumber(theirs.GetValue());
            if (!b) {
                return b.Abrupt();
            }
            parts[i] = Value(*a - *b);
        }
    }
    return MakePoint(vm, parts[0], parts[1]);
}

Completion Equals(NativeCall& call) {
    Vm& vm = call.vm;
    const Completion pointClass = Read(vm, Value(FindPackage(vm, "geom")), "Point");
    if (pointClass.IsAbrupt()) {
        return pointClass;
    }
    Object* constructor = pointClass.GetValue().ObjectOrNull();
    if (!constructor || !vm.InstanceOf(call.Arg(0), constructor)) {
        return Value(false);
    }
    for (std::string_view name : {"x", "y"}) {
        const Completion mine = Read(vm, call.thisValue, name);
        if (mine.IsAbrupt()) {
            return mine;
        }
        const Completion theirs = Read(vm, call.Arg(0), name);
        if (theirs.IsAbrupt()) {
            return theirs;
        }
        const auto same = vm.LooseEquals(mine.GetValue(), theirs.GetValue());
        if (!same) {
            return same.Abrupt();
        }
        if (!*same) {
            return Value(false);
        }
    }
    return Value(true);
}

Completion Offset(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!self) {
        return Value();
    }
    const std::string_view names[2] = {"x", "y"};
    for (std::size_t i = 0; i < 2; ++i) {
        const Completion mine = Read(vm, call.thisValue, names[i]);
        if (mine.IsAbrupt()) {
            return mine;
        }
        const auto sum = vm.Add(mine.GetValue(), call.Arg(i));
        if (!sum) {
            return sum.Abrupt();
        }
        const Completion set = Write(vm, self, names[i], *sum);
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

Completion Normalize(NativeCall& call) {
    Vm& vm = call.vm;
    Object* self = call.ThisObject();
    if (!self) {
        return Value();
    }
    const auto x = NumberMember(vm, call.thisValue, "x");
    if (!x) {
        return x.Abrupt();
    }
    const auto y = NumberMember(vm, call.thisValue, "y");
    if (!y) {
        return y.Abrupt();
    }
    const auto wanted = vm.ToNumber(call.Arg(0));
    if (!wanted) {
        return wanted.Abrupt();
    }
    const double now = std::sqrt(*x * *x + *y * *y);
    if (now > 0) {
        const double scale = *wanted / now;
        Completion set = Write(vm, self, "x", Value(*x * scale));
        if (set.IsAbrupt()) {
            return set;
        }
        set = Write(vm, self, "y", Value(*y * scale));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

Completion Distance(NativeCall& call) {
    Vm& vm = call.vm;
    double delta[2] = {0, 0};
    const std::string_view names[2] = {"x", "y"};
    for (int i = 0; i < 2; ++i) {
        const auto a = NumberMember(vm, call.Arg(0), names[i]);
        if (!a) {
            return a.Abrupt();
        }
        const auto b = NumberMember(vm, call.Arg(1), names[i]);
        if (!b) {
            return b.Abrupt();
        }
        delta[i] = *a - *b;
    }
    return Value(std::sqrt(delta[0] * delta[0] + delta[1] * delta[1]));
}

// The point a fraction f of the way from the second point to the first.
Completion Interpolate(NativeCall& call) {
    Vm& vm = call.vm;
    const auto f = vm.ToNumber(call.Arg(2));
    if (!f) {
        return f.Abrupt();
    }
    Value parts[2];
    const std::string_view names[2] = {"x", "y"};
    for (int i = 0; i < 2; ++i) {
        const auto a = NumberMember(vm, call.Arg(0), names[i]);
        if (!a) {
            return a.Abrupt();
        }
        const auto b = NumberMember(vm, call.Arg(1), names[i]);
        if (!b) {
            return b.Abrupt();
        }
        parts[i] = Value(*b + (*a - *b) * *f);
    }
    return MakePoint(vm, parts[0], parts[1]);
}

Completion Polar(NativeCall& call) {
    Vm& vm = call.vm;
    const auto length = vm.ToNumber(call.Arg(0));
    if (!length) {
        return length.Abrupt();
    }
    const auto angle = vm.ToNumber(call.Arg(1));
    if (!angle) {
        return angle.Abrupt();
    }
    return MakePoint(vm, Value(*length * std::cos(*angle)), Value(*length * std::sin(*angle)));
}

constexpr ScriptMethod prototypeMethods[] = {
    {"add", Combine<true>},   {"clone", Clone},   {"equals", Equals},
    {"normalize", Normalize}, {"offset", Offset}, {"subtract", Combine<false>},
    {"toString", ToText},
};

constexpr ScriptMethod classMethods[] = {
    {"distance", Distance},
    {"interpolate", Interpolate},
    {"polar", Polar},
};

} // namespace

void InstallPoint(Vm& vm) {
    const builtins::ClassParts parts =
        MakeScriptLikeClass(vm, Package(vm, "geom"), "Point", Construct);
    AddScriptMethods(vm, parts.prototype, prototypeMethods);
    AddAccessor(vm, parts.prototype, "length", Length, nullptr);
    AddScriptMethods(vm, parts.constructor, classMethods);
}

} // namespace swf::script::geom
