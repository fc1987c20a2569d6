// flash.geom.Matrix: the affine transformation (a b c d tx ty) mapping x, y to
// (a x + c y + tx, b x + d y + ty). The members are kept as given; the
// arithmetic reads them as numbers. Its members behave as the player's
// script-defined ones do: new Matrix() asks this.identity() for its values.
#include <array>
#include <cmath>

#include "swf/script/geom/GeomClasses.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::geom {

namespace {

constexpr std::string_view memberNames[] = {"a", "b", "c", "d", "tx", "ty"};

struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

ScriptResult<Affine> ReadAffine(Vm& vm, const Value& base) {
    Affine m;
    double* fields[] = {&m.a, &m.b, &m.c, &m.d, &m.tx, &m.ty};
    for (int i = 0; i < 6; ++i) {
        const Completion got = Read(vm, base, memberNames[i]);
        if (got.IsAbrupt()) {
            return got;
        }
        const auto n = vm.ToNumber(got.GetValue());
        if (!n) {
            return n.Abrupt();
        }
        *fields[i] = *n;
    }
    return m;
}

Completion WriteAffine(NativeCall& call, const Affine& m) {
    Object* self = call.ThisObject();
    if (!self) {
        return Value();
    }
    const double values[] = {m.a, m.b, m.c, m.d, m.tx, m.ty};
    for (int i = 0; i < 6; ++i) {
        const Completion set = Write(call.vm, self, memberNames[i], Value(values[i]));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

// first, then second.
Affine Then(const Affine& first, const Affine& second) {
    Affine r;
    r.a = first.a * second.a + first.b * second.c;
    r.b = first.a * second.b + first.b * second.d;
    r.c = first.c * second.a + first.d * second.c;
    r.d = first.c * second.b + first.d * second.d;
    r.tx = first.tx * second.a + first.ty * second.c + second.tx;
    r.ty = first.tx * second.b + first.ty * second.d + second.ty;
    return r;
}

// this = this followed by step.
Completion Append(NativeCall& call, const Affine& step) {
    const auto m = ReadAffine(call.vm, call.thisValue);
    if (!m) {
        return m.Abrupt();
    }
    return WriteAffine(call, Then(*m, step));
}

// The numbers of the arguments, as many as asked for.
template <std::size_t count>
ScriptResult<std::array<double, count>> NumberArgs(NativeCall& call) {
    std::array<double, count> numbers{};
    for (std::size_t i = 0; i < count; ++i) {
        const auto n = call.vm.ToNumber(call.Arg(i));
        if (!n) {
            return n.Abrupt();
        }
        numbers[i] = *n;
    }
    return numbers;
}

Completion Construct(NativeCall& call) {
    Object* self = call.ThisObject();
    if (!self) {
        return Value();
    }
    MarkInstance(call);
    if (call.Count() == 0) {
        const Completion done = call.vm.CallMethod(call.thisValue, call.vm.Intern("identity"), {});
        return done.IsAbrupt() ? done : Value();
    }
    for (std::size_t i = 0; i < 6; ++i) {
        const Completion set = Write(call.vm, self, memberNames[i], call.Arg(i));
        if (set.IsAbrupt()) {
            return set;
        }
    }
    return Value();
}

Completion ToText(NativeCall& call) {
    return JoinMembers(
        call.vm, call.thisValue,
        {{"a", "a"}, {"b", "b"}, {"c", "c"}, {"d", "d"}, {"tx", "tx"}, {"ty", "ty"}});
}

Completion Clone(NativeCall& call) {
    Value args[6];
    for (int i = 0; i < 6; ++i) {
        const Completion got = Read(call.vm, call.thisValue, memberNames[i]);
        if (got.IsAbrupt()) {
            return got;
        }
        args[i] = got.GetValue();
    }
    return ConstructGeom(call.vm, "Matrix", args);
}

Completion Identity(NativeCall& call) {
    return WriteAffine(call, Affine());
}

Completion Concat(NativeCall& call) {
    const auto other = ReadAffine(call.vm, call.Arg(0));
    if (!other) {
        return other.Abrupt();
    }
    return Append(call, *other);
}

Completion Invert(NativeCall& call) {
    const auto m = ReadAffine(call.vm, call.thisValue);
    if (!m) {
        return m.Abrupt();
    }
    const double det = m->a * m->d - m->b * m->c;
    if (det == 0) {
        return WriteAffine(call, Affine());
    }
    Affine r;
    r.a = m->d / det;
    r.b = -m->b / det;
    r.c = -m->c / det;
    r.d = m->a / det;
    r.tx = -(r.a * m->tx + r.c * m->ty);
    r.ty = -(r.b * m->tx + r.d * m->ty);
    return WriteAffine(call, r);
}

Completion Rotate(NativeCall& call) {
    const auto n = NumberArgs<1>(call);
    if (!n) {
        return n.Abrupt();
    }
    const double cos = std::cos((*n)[0]);
    const double sin = std::sin((*n)[0]);
    return Append(call, Affine{cos, sin, -sin, cos, 0, 0});
}

Completion Scale(NativeCall& call) {
    const auto n = NumberArgs<2>(call);
    if (!n) {
        return n.Abrupt();
    }
    return Append(call, Affine{(*n)[0], 0, 0, (*n)[1], 0, 0});
}

Completion Translate(NativeCall& call) {
    const auto n = NumberArgs<2>(call);
    if (!n) {
        return n.Abrupt();
    }
    return Append(call, Affine{1, 0, 0, 1, (*n)[0], (*n)[1]});
}

// scaleX, scaleY, rotation, tx, ty: scaled, then rotated, then moved.
Affine Box(double scaleX, double scaleY, double rotation, double tx, double ty) {
    const double cos = std::cos(rotation);
    const double sin = std::sin(rotation);
    return Affine{scaleX * cos, scaleX * sin, -scaleY * sin, scaleY * cos, tx, ty};
}

Completion CreateBox(NativeCall& call) {
    const auto n = NumberArgs<5>(call);
    if (!n) {
        return n.Abrupt();
    }
    const auto& v = *n;
    return WriteAffine(call, Box(v[0], v[1], v[2], call.Has(3) ? v[3] : 0, call.Has(4) ? v[4] : 0));
}

// The box that maps the gradient square (-819.2 to 819.2 twips, 1638.4
// wide) onto width by height pixels at tx, ty.
Completion CreateGradientBox(NativeCall& call) {
    const auto n = NumberArgs<5>(call);
    if (!n) {
        return n.Abrupt();
    }
    const auto& v = *n;
    const double tx = call.Has(3) ? v[3] : 0;
    const double ty = call.Has(4) ? v[4] : 0;
    return WriteAffine(call, Box(v[0] / 1638.4, v[1] / 1638.4, call.Has(2) ? v[2] : 0,
                                 tx + v[0] / 2, ty + v[1] / 2));
}

template <bool moved>
Completion MapPoint(NativeCall& call) {
    const auto m = ReadAffine(call.vm, call.thisValue);
    if (!m) {
        return m.Abrupt();
    }
    double xy[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        const Completion got = Read(call.vm, call.Arg(0), i == 0 ? "x" : "y");
        if (got.IsAbrupt()) {
            return got;
        }
        const auto number = call.vm.ToNumber(got.GetValue());
        if (!number) {
            return number.Abrupt();
        }
        xy[i] = *number;
    }
    const Value args[] = {Value(m->a * xy[0] + m->c * xy[1] + (moved ? m->tx : 0)),
                          Value(m->b * xy[0] + m->d * xy[1] + (moved ? m->ty : 0))};
    return ConstructGeom(call.vm, "Point", args);
}

constexpr ScriptMethod prototypeMethods[] = {
    {"clone", Clone},
    {"concat", Concat},
    {"createBox", CreateBox},
    {"createGradientBox", CreateGradientBox},
    {"deltaTransformPoint", MapPoint<false>},
    {"identity", Identity},
    {"invert", Invert},
    {"rotate", Rotate},
    {"scale", Scale},
    {"toString", ToText},
    {"transformPoint", MapPoint<true>},
    {"translate", Translate},
};

} // namespace

void InstallMatrix(Vm& vm) {
    const builtins::ClassParts parts =
        MakeScriptLikeClass(vm, Package(vm, "geom"), "Matrix", Construct);
    AddScriptMethods(vm, parts.prototype, prototypeMethods);
}

} // namespace swf::script::geom
