// Script filters to the display list's and back. Scripts give angles in
// degrees, alphas from 0 to 1 beside 24-bit colours, and quality for the
// number of passes; the display list keeps radians, RGBA and passes.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "swf/script/ArrayObject.h"
#include "swf/script/NumberText.h"
#include "swf/script/filters/FilterClasses.h"
#include "swf/script/filters/FilterObject.h"
#include "swf/script/geom/GeomSupport.h"

namespace swf::script::filters {

namespace {

struct KindName {
    FilterKind kind;
    std::string_view className;
};
constexpr KindName kindNames[] = {
    {FilterKind::DropShadow, "DropShadowFilter"},
    {FilterKind::Blur, "BlurFilter"},
    {FilterKind::Glow, "GlowFilter"},
    {FilterKind::Bevel, "BevelFilter"},
    {FilterKind::GradientGlow, "GradientGlowFilter"},
    {FilterKind::Convolution, "ConvolutionFilter"},
    {FilterKind::ColorMatrix, "ColorMatrixFilter"},
    {FilterKind::GradientBevel, "GradientBevelFilter"},
};

constexpr double degreesPerRadian = 180.0 / std::numbers::pi;

double NumberOf(FilterObject& f, std::string_view name) {
    const Value* v = f.Find(name);
    if (!v) {
        return 0;
    }
    if (v->IsBoolean()) {
        return v->AsBoolean() ? 1 : 0;
    }
    return v->IsNumber() && std::isfinite(v->AsNumber()) ? v->AsNumber() : 0;
}

bool FlagOf(FilterObject& f, std::string_view name) {
    return NumberOf(f, name) != 0;
}

std::uint8_t Byte(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}

Rgba ColorOf(double rgb, double alpha) {
    const unsigned c = ToUint32(rgb);
    return Rgba{std::uint8_t((c >> 16) & 0xFF), std::uint8_t((c >> 8) & 0xFF),
                std::uint8_t(c & 0xFF), Byte(alpha * 255)};
}

// The numbers of a list parameter (an array), each read as a number.
std::vector<double> ListOf(Vm& vm, FilterObject& f, std::string_view name) {
    std::vector<double> numbers;
    const Value* v = f.Find(name);
    Object* object = v ? v->ObjectOrNull() : nullptr;
    if (!object || object->Class() != ObjectClass::Array) {
        return numbers;
    }
    auto* array = static_cast<ArrayObject*>(object);
    for (std::size_t i = 0; i < array->Length(); ++i) {
        const Value element = array->Element(vm, i);
        const double n = element.IsNumber() ? element.AsNumber() : 0;
        numbers.push_back(std::isfinite(n) ? n : 0);
    }
    return numbers;
}

void PutNumber(FilterObject& f, std::string_view name, double value) {
    if (Value* v = f.Find(name)) {
        *v = Value(value);
    }
}

void PutFlag(FilterObject& f, std::string_view name, bool value) {
    if (Value* v = f.Find(name)) {
        *v = Value(value);
    }
}

void PutColor(FilterObject& f, std::string_view colorName, std::string_view alphaName,
              const Rgba& c) {
    PutNumber(f, colorName, double((c.r << 16) | (c.g << 8) | c.b));
    PutNumber(f, alphaName, c.a / 255.0);
}

void PutList(Vm& vm, FilterObject& f, std::string_view name, const std::vector<double>& numbers) {
    if (Value* v = f.Find(name)) {
        std::vector<Value> elements(numbers.begin(), numbers.end());
        *v = Value(vm.NewArray(elements));
    }
}

// The blur, shape and pass settings the shadow, glow and bevel kinds share.
void ReadCommon(FilterObject& f, Filter& out) {
    out.blurX = NumberOf(f, "blurX");
    out.blurY = NumberOf(f, "blurY");
    out.angle = NumberOf(f, "angle") / degreesPerRadian;
    out.distance = NumberOf(f, "distance");
    out.strength = NumberOf(f, "strength");
    out.passes = static_cast<std::uint8_t>(NumberOf(f, "quality"));
    out.knockout = FlagOf(f, "knockout");
    out.compositeSource = true;
}

void WriteCommon(FilterObject& f, const Filter& in) {
    PutNumber(f, "blurX", in.blurX);
    PutNumber(f, "blurY", in.blurY);
    PutNumber(f, "angle", in.angle * degreesPerRadian);
    PutNumber(f, "distance", in.distance);
    PutNumber(f, "strength", in.strength);
    PutNumber(f, "quality", in.passes);
    PutFlag(f, "knockout", in.knockout);
}

// "inner", "outer" or "full", as the bevels' type.
void ReadBevelType(FilterObject& f, Filter& out) {
    const Value* v = f.Find("type");
    const std::string_view type = v && v->IsString() ? v->AsString()->View() : "inner";
    out.onTop = type == "full";
    out.inner = type == "inner";
}

void WriteBevelType(Vm& vm, FilterObject& f, const Filter& in) {
    if (Value* v = f.Find("type")) {
        *v = Value(vm.Intern(in.onTop ? "full" : in.inner ? "inner" : "outer"));
    }
}

void ReadGradient(Vm& vm, FilterObject& f, Filter& out) {
    const std::vector<double> colors = ListOf(vm, f, "colors");
    const std::vector<double> alphas = ListOf(vm, f, "alphas");
    const std::vector<double> ratios = ListOf(vm, f, "ratios");
    const std::size_t count = std::min({colors.size(), alphas.size(), ratios.size()});
    for (std::size_t i = 0; i < count; ++i) {
        out.colors.push_back(ColorOf(colors[i], alphas[i]));
        out.ratios.push_back(Byte(ratios[i]));
    }
}

void WriteGradient(Vm& vm, FilterObject& f, const Filter& in) {
    std::vector<double> colors, alphas, ratios;
    for (std::size_t i = 0; i < in.colors.size(); ++i) {
        const Rgba& c = in.colors[i];
        colors.push_back(double((c.r << 16) | (c.g << 8) | c.b));
        alphas.push_back(c.a / 255.0);
        ratios.push_back(i < in.ratios.size() ? in.ratios[i] : 0);
    }
    PutList(vm, f, "colors", colors);
    PutList(vm, f, "alphas", alphas);
    PutList(vm, f, "ratios", ratios);
}

} // namespace

std::optional<Filter> ToDisplayFilter(Vm& vm, FilterObject& f) {
    const auto found =
        std::find_if(std::begin(kindNames), std::end(kindNames),
                     [&](const KindName& k) { return k.className == f.spec.className; });
    if (found == std::end(kindNames)) {
        return std::nullopt;
    }
    Filter out;
    out.kind = found->kind;
    switch (out.kind) {
    case FilterKind::Blur:
        out.blurX = NumberOf(f, "blurX");
        out.blurY = NumberOf(f, "blurY");
        out.passes = static_cast<std::uint8_t>(NumberOf(f, "quality"));
        break;
    case FilterKind::DropShadow:
        ReadCommon(f, out);
        out.colors = {ColorOf(NumberOf(f, "color"), NumberOf(f, "alpha"))};
        out.inner = FlagOf(f, "inner");
        out.compositeSource = !FlagOf(f, "hideObject");
        break;
    case FilterKind::Glow:
        ReadCommon(f, out);
        out.colors = {ColorOf(NumberOf(f, "color"), NumberOf(f, "alpha"))};
        out.inner = FlagOf(f, "inner");
        break;
    case FilterKind::Bevel:
        ReadCommon(f, out);
        out.colors = {ColorOf(NumberOf(f, "shadowColor"), NumberOf(f, "shadowAlpha")),
                      ColorOf(NumberOf(f, "highlightColor"), NumberOf(f, "highlightAlpha"))};
        ReadBevelType(f, out);
        break;
    case FilterKind::GradientGlow:
    case FilterKind::GradientBevel:
        ReadCommon(f, out);
        ReadGradient(vm, f, out);
        ReadBevelType(f, out);
        break;
    case FilterKind::Convolution: {
        out.matrixX = static_cast<std::uint8_t>(NumberOf(f, "matrixX"));
        out.matrixY = static_cast<std::uint8_t>(NumberOf(f, "matrixY"));
        for (const double n : ListOf(vm, f, "matrix")) {
            out.matrix.push_back(static_cast<float>(n));
        }
        out.matrix.resize(std::size_t(out.matrixX) * out.matrixY, 0.0f);
        out.divisor = static_cast<float>(NumberOf(f, "divisor"));
        out.bias = static_cast<float>(NumberOf(f, "bias"));
        out.defaultColor = ColorOf(NumberOf(f, "color"), NumberOf(f, "alpha"));
        out.clamp = FlagOf(f, "clamp");
        out.preserveAlpha = FlagOf(f, "preserveAlpha");
        break;
    }
    case FilterKind::ColorMatrix:
        for (const double n : ListOf(vm, f, "matrix")) {
            out.matrix.push_back(static_cast<float>(n));
        }
        out.matrix.resize(20, 0.0f);
        break;
    }
    return out;
}

Completion FromDisplayFilter(Vm& vm, const Filter& in) {
    const auto found = std::find_if(std::begin(kindNames), std::end(kindNames),
                                    [&](const KindName& k) { return k.kind == in.kind; });
    if (found == std::end(kindNames)) {
        return Value();
    }
    const Completion filterClass =
        geom::Read(vm, Value(geom::FindPackage(vm, "filters")), found->className);
    if (filterClass.IsAbrupt()) {
        return filterClass;
    }
    const Completion made = vm.Construct(filterClass.GetValue(), {});
    FilterObject* f = made.IsAbrupt() ? nullptr : AsFilter(made.GetValue().ObjectOrNull());
    if (!f) {
        return made;
    }
    switch (in.kind) {
    case FilterKind::Blur:
        PutNumber(*f, "blurX", in.blurX);
        PutNumber(*f, "blurY", in.blurY);
        PutNumber(*f, "quality", in.passes);
        break;
    case FilterKind::DropShadow:
    case FilterKind::Glow:
        WriteCommon(*f, in);
        if (!in.colors.empty()) {
            PutColor(*f, "color", "alpha", in.colors[0]);
        }
        PutFlag(*f, "inner", in.inner);
        PutFlag(*f, "hideObject", !in.compositeSource);
        break;
    case FilterKind::Bevel:
        WriteCommon(*f, in);
        if (in.colors.size() >= 2) {
            PutColor(*f, "shadowColor", "shadowAlpha", in.colors[0]);
            PutColor(*f, "highlightColor", "highlightAlpha", in.colors[1]);
        }
        WriteBevelType(vm, *f, in);
        break;
    case FilterKind::GradientGlow:
    case FilterKind::GradientBevel:
        WriteCommon(*f, in);
        WriteGradient(vm, *f, in);
        WriteBevelType(vm, *f, in);
        break;
    case FilterKind::Convolution: {
        PutNumber(*f, "matrixX", in.matrixX);
        PutNumber(*f, "matrixY", in.matrixY);
        PutList(vm, *f, "matrix", std::vector<double>(in.matrix.begin(), in.matrix.end()));
        PutNumber(*f, "divisor", in.divisor);
        PutNumber(*f, "bias", in.bias);
        PutColor(*f, "color", "alpha", in.defaultColor);
        PutFlag(*f, "clamp", in.clamp);
        PutFlag(*f, "preserveAlpha", in.preserveAlpha);
        break;
    }
    case FilterKind::ColorMatrix:
        PutList(vm, *f, "matrix", std::vector<double>(in.matrix.begin(), in.matrix.end()));
        break;
    }
    return made;
}

} // namespace swf::script::filters
