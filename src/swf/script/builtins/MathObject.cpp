// Math: the constants and functions of the Math object.
#include <cmath>
#include <limits>
#include <numbers>

#include "swf/script/builtins/Builtins.h"
#include "swf/script/builtins/ClassBuilder.h"

namespace swf::script::builtins {

namespace {

// Every Math function converts its first two arguments to numbers, in
// order, whether it uses them or not; a missing one is NaN.
struct Operands {
    double x = std::numeric_limits<double>::quiet_NaN();
    double y = std::numeric_limits<double>::quiet_NaN();
};

ScriptResult<Operands> ConvertOperands(NativeCall& call) {
    Operands o;
    for (std::size_t i = 0; i < 2 && call.Has(i); ++i) {
        const auto n = call.vm.ToNumber(call.Arg(i));
        if (!n) {
            return n.Abrupt();
        }
        (i == 0 ? o.x : o.y) = *n;
    }
    return o;
}

template <double (*F)(double)>
Completion Unary(NativeCall& call) {
    const auto o = ConvertOperands(call);
    if (!o) {
        return o.Abrupt();
    }
    return Value(F(o->x));
}

template <double (*F)(double, double)>
Completion Binary(NativeCall& call) {
    const auto o = ConvertOperands(call);
    if (!o) {
        return o.Abrupt();
    }
    return Value(F(o->x, o->y));
}

double Abs(double x) {
    return std::fabs(x);
}
double Acos(double x) {
    return std::acos(x);
}
double Asin(double x) {
    return std::asin(x);
}
double Atan(double x) {
    return std::atan(x);
}
double Ceil(double x) {
    return std::ceil(x);
}
double Cos(double x) {
    return std::cos(x);
}
double Exp(double x) {
    return std::exp(x);
}
double Floor(double x) {
    return std::floor(x);
}
double Log(double x) {
    return std::log(x);
}
// Math.round rounds halves up, towards positive infinity.
double Round(double x) {
    return std::floor(x + 0.5);
}
double Sin(double x) {
    return std::sin(x);
}
double Sqrt(double x) {
    return std::sqrt(x);
}
double Tan(double x) {
    return std::tan(x);
}
double Atan2(double y, double x) {
    return std::atan2(y, x);
}
// An infinite base gives NaN in Flash, whatever the exponent.
double Pow(double x, double y) {
    return std::isinf(x) ? std::numeric_limits<double>::quiet_NaN() : std::pow(x, y);
}
double Max(double x, double y) {
    if (std::isnan(x) || std::isnan(y)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return x > y ? x : y;
}
double Min(double x, double y) {
    if (std::isnan(x) || std::isnan(y)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return x < y ? x : y;
}

Completion MinMax(NativeCall& call, bool max) {
    const auto o = ConvertOperands(call);
    if (!o) {
        return o.Abrupt();
    }
    if (!call.Has(0)) {
        return Value(max ? -std::numeric_limits<double>::infinity()
                         : std::numeric_limits<double>::infinity());
    }
    if (!call.Has(1)) {
        return Value(std::numeric_limits<double>::quiet_NaN());
    }
    return Value(max ? Max(o->x, o->y) : Min(o->x, o->y));
}

Completion MaxFunction(NativeCall& call) {
    return MinMax(call, true);
}
Completion MinFunction(NativeCall& call) {
    return MinMax(call, false);
}

Completion Random(NativeCall& call) {
    if (const auto o = ConvertOperands(call); !o) {
        return o.Abrupt();
    }
    const std::uint32_t bits = call.vm.Random()();
    return Value(double(bits) / 4294967296.0);
}

constexpr Method functions[] = {
    {"abs", Unary<Abs>, 5},   {"acos", Unary<Acos>, 5},    {"asin", Unary<Asin>, 5},
    {"atan", Unary<Atan>, 5}, {"atan2", Binary<Atan2>, 5}, {"ceil", Unary<Ceil>, 5},
    {"cos", Unary<Cos>, 5},   {"exp", Unary<Exp>, 5},      {"floor", Unary<Floor>, 5},
    {"log", Unary<Log>, 5},   {"max", MaxFunction, 5},     {"min", MinFunction, 5},
    {"pow", Binary<Pow>, 5},  {"random", Random, 5},       {"round", Unary<Round>, 5},
    {"sin", Unary<Sin>, 5},   {"sqrt", Unary<Sqrt>, 5},    {"tan", Unary<Tan>, 5},
};

} // namespace

void InstallMath(Vm& vm) {
    Object* math = vm.NewObject();
    AddMethods(vm, math, functions);
    constexpr std::uint16_t constant = PropertyFlag::ReadOnly;
    AddValue(vm, math, "E", Value(std::numbers::e), 5, constant);
    AddValue(vm, math, "LN10", Value(std::numbers::ln10), 5, constant);
    AddValue(vm, math, "LN2", Value(std::numbers::ln2), 5, constant);
    AddValue(vm, math, "LOG10E", Value(std::numbers::log10e), 5, constant);
    AddValue(vm, math, "LOG2E", Value(std::numbers::log2e), 5, constant);
    AddValue(vm, math, "PI", Value(std::numbers::pi), 5, constant);
    // Half the root of 2 is exact in binary; its inverse is not.
    AddValue(vm, math, "SQRT1_2", Value(std::numbers::sqrt2 / 2), 5, constant);
    AddValue(vm, math, "SQRT2", Value(std::numbers::sqrt2), 5, constant);
    AddGlobal(vm, "Math", Value(math));
}

} // namespace swf::script::builtins
