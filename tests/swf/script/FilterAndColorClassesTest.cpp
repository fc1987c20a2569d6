// The filter classes, ColorTransform and Transform on movies the writer
// makes: parameters brought into range as they are set, lists and clones
// that are copies, colour arithmetic, the SWF 8 rule of the colour
// properties, and a clip's transforms through its parents.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <variant>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

constexpr std::uint8_t NewMethod = 0x53;

using scripttest::Play;

// An argument: a number, a string, or the value of a variable.
struct Variable {
    std::string name;
};
using Arg = std::variant<double, std::string, Variable>;

void PushArg(ActionWriter& a, const Arg& arg) {
    if (const auto* n = std::get_if<double>(&arg)) {
        a.Push(*n);
    } else if (const auto* s = std::get_if<std::string>(&arg)) {
        a.Push(*s);
    } else {
        a.Push(std::get<Variable>(arg).name).Op(action::GetVariable);
    }
}

void PushArgs(ActionWriter& a, const std::vector<Arg>& args) {
    for (auto it = args.rbegin(); it != args.rend(); ++it) {
        PushArg(a, *it);
    }
    a.Push(double(args.size()));
}

// variable = new flash.<package>.<className>(args)
void New(ActionWriter& a, std::string_view variable, std::string_view package,
         std::string_view className, const std::vector<Arg>& args) {
    a.Push(variable);
    PushArgs(a, args);
    a.Push("flash").Op(action::GetVariable).Push(package).Op(action::GetMember);
    a.Push(className).Op(NewMethod).Op(action::SetVariable);
}

// variable.method(args), the result left on the stack.
void Call(ActionWriter& a, std::string_view variable, std::string_view method,
          const std::vector<Arg>& args) {
    PushArgs(a, args);
    a.Push(variable).Op(action::GetVariable).Push(method).Op(action::CallMethod);
}

void Set(ActionWriter& a, std::string_view variable, std::string_view member, const Arg& value) {
    a.Push(variable).Op(action::GetVariable).Push(member);
    PushArg(a, value);
    a.Op(action::SetMember);
}

void TraceMember(ActionWriter& a, std::string_view variable, std::string_view member) {
    a.Push(variable).Op(action::GetVariable).Push(member).Op(action::GetMember);
    a.Op(action::Trace);
}

TEST(FilterClasses, ParametersComeIntoRangeAsTheyAreSet) {
    ActionWriter a;
    New(a, "b", "filters", "BlurFilter", {300.0, -2.0, 20.0});
    TraceMember(a, "b", "blurX");
    TraceMember(a, "b", "blurY");
    TraceMember(a, "b", "quality");
    Set(a, "b", "quality", 2.7);
    TraceMember(a, "b", "quality");
    New(a, "d", "filters", "DropShadowFilter", {});
    TraceMember(a, "d", "distance");
    TraceMember(a, "d", "angle");
    Set(a, "d", "color", -1.0);
    TraceMember(a, "d", "color");
    Set(a, "d", "alpha", 3.0);
    TraceMember(a, "d", "alpha");
    Set(a, "d", "inner", std::string("yes"));
    TraceMember(a, "d", "inner");
    // A colour matrix starts as the one that changes nothing.
    New(a, "m", "filters", "ColorMatrixFilter", {});
    TraceMember(a, "m", "matrix");
    EXPECT_EQ(Play(8, a),
              (std::vector<std::string>{"255", "0", "15", "2", "4", "45", "16777215", "1", "true",
                                        "1,0,0,0,0,0,1,0,0,0,0,0,1,0,0,0,0,0,1,0"}));
}

TEST(FilterClasses, ListsAndClonesAreCopies) {
    ActionWriter a;
    // colors = [1, 2]; g = new GradientGlowFilter(0, 0, colors); colors.push(3)
    a.Push("colors").Push(2.0).Push(1.0).Push(2.0).Op(action::InitArray);
    a.Op(action::SetVariable);
    New(a, "g", "filters", "GradientGlowFilter", {0.0, 0.0, Variable{"colors"}});
    Call(a, "colors", "push", {3.0});
    a.Op(action::Pop);
    TraceMember(a, "g", "colors");
    // What the getter gives is a copy too.
    a.Push("given").Push("g").Op(action::GetVariable).Push("colors").Op(action::GetMember);
    a.Op(action::SetVariable);
    Call(a, "given", "push", {9.0});
    a.Op(action::Pop);
    TraceMember(a, "g", "colors");
    New(a, "b", "filters", "BlurFilter", {7.0, 8.0, 2.0});
    a.Push("c");
    Call(a, "b", "clone", {});
    a.Op(action::SetVariable);
    Set(a, "b", "blurX", 1.0);
    TraceMember(a, "c", "blurX");
    TraceMember(a, "c", "blurY");
    // c instanceof BlurFilter
    a.Push("c").Op(action::GetVariable);
    a.Push("flash").Op(action::GetVariable).Push("filters").Op(action::GetMember);
    a.Push("BlurFilter").Op(action::GetMember).Op(0x54).Op(action::Trace);
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"1,2", "1,2", "7", "8", "true"}));
}

TEST(ColorTransformClass, ConcatAndRgbForSwf8CodeOnly) {
    ActionWriter a;
    // ASSetPropFlags(_global, "flash", 0, 4096): the package for older movies too.
    a.Push(4096.0).Push(0.0).Push("flash").Push("_global").Op(action::GetVariable);
    a.Push(4.0).Push("ASSetPropFlags").Op(action::CallFunction).Op(action::Pop);
    New(a, "c", "geom", "ColorTransform", {0.5, 1.0, 2.0, 1.0, 10.0, 0.0, -4.0, 0.0});
    New(a, "d", "geom", "ColorTransform", {2.0, 1.0, 1.0, 0.5, 4.0, 6.0, 8.0, 10.0});
    Call(a, "c", "concat", {Variable{"d"}});
    a.Op(action::Pop);
    a.Push("c").Op(action::GetVariable).Op(action::Trace);
    Set(a, "c", "rgb", double(0x102030));
    TraceMember(a, "c", "rgb");
    TraceMember(a, "c", "redMultiplier");
    TraceMember(a, "c", "greenOffset");
    const std::vector<std::string> eight = Play(8, a);
    EXPECT_EQ(eight, (std::vector<std::string>{
                         "(redMultiplier=1, greenMultiplier=1, blueMultiplier=2, "
                         "alphaMultiplier=0.5, redOffset=12, greenOffset=6, blueOffset=12, "
                         "alphaOffset=10)",
                         "1056816", "0", "32"}));
    // SWF 7 code reads nothing from the properties; what it sets stays as set.
    const std::vector<std::string> seven = Play(7, a);
    ASSERT_EQ(seven.size(), 4u);
    EXPECT_EQ(seven[1], "1056816");
    EXPECT_EQ(seven[2], "undefined");
}

TEST(TransformClass, ColorsAndMatricesGoThroughTheParents) {
    ActionWriter a;
    // createEmptyMovieClip("p", 1); p.createEmptyMovieClip("k", 1)
    a.Push(1.0).Push("p").Push(2.0).Push("this").Op(action::GetVariable);
    a.Push("createEmptyMovieClip").Op(action::CallMethod).Op(action::Pop);
    a.Push(1.0).Push("k").Push(2.0).Push("p").Op(action::GetVariable);
    a.Push("createEmptyMovieClip").Op(action::CallMethod).Op(action::Pop);
    Set(a, "p", "_x", 10.0);
    Set(a, "p", "_xscale", 200.0);
    a.Push("k").Push("p").Op(action::GetVariable).Push("k").Op(action::GetMember);
    a.Op(action::SetVariable);
    Set(a, "k", "_x", 5.0);
    New(a, "pt", "geom", "Transform", {Variable{"p"}});
    New(a, "kt", "geom", "Transform", {Variable{"k"}});
    New(a, "half", "geom", "ColorTransform", {0.5, 0.5, 0.5, 1.0, 100.0, 0.0, 0.0, 0.0});
    Set(a, "pt", "colorTransform", Variable{"half"});
    New(a, "odd", "geom", "ColorTransform", {0.3, 1.0, 1.0, 1.0, 50.5, 0.0, 0.0, 0.0});
    Set(a, "kt", "colorTransform", Variable{"odd"});
    TraceMember(a, "kt", "colorTransform");
    TraceMember(a, "kt", "concatenatedColorTransform");
    TraceMember(a, "kt", "concatenatedMatrix");
    // A matrix missing a member is not taken.
    a.Push("partial").Push("a").Push(3.0).Push(1.0).Op(action::InitObject);
    a.Op(action::SetVariable);
    Set(a, "kt", "matrix", Variable{"partial"});
    TraceMember(a, "kt", "matrix");
    EXPECT_EQ(Play(8, a),
              (std::vector<std::string>{
                  "(redMultiplier=0.296875, greenMultiplier=1, blueMultiplier=1, "
                  "alphaMultiplier=1, redOffset=50, greenOffset=0, blueOffset=0, "
                  "alphaOffset=0)",
                  "(redMultiplier=0.1484375, greenMultiplier=0.5, "
                  "blueMultiplier=0.5, alphaMultiplier=1, redOffset=125, "
                  "greenOffset=0, blueOffset=0, alphaOffset=0)",
                  "(a=2, b=0, c=0, d=1, tx=20, ty=0)", "(a=1, b=0, c=0, d=1, tx=5, ty=0)"}));
}

} // namespace

namespace {

TEST(ClipFilters, SetFiltersAreCopiesAndReadBackAsNewObjects) {
    ActionWriter a;
    a.Push(1.0).Push("m").Push(2.0).Push("this").Op(action::GetVariable);
    a.Push("createEmptyMovieClip").Op(action::CallMethod).Op(action::Pop);
    New(a, "b", "filters", "BlurFilter", {3.0, 5.0, 2.0});
    New(a, "s", "filters", "DropShadowFilter", {6.0, 90.0, double(0x336699), 0.5});
    // m.filters = [b, 7, s]: what is no filter is passed over.
    a.Push("list").Push("s").Op(action::GetVariable).Push(7.0);
    a.Push("b").Op(action::GetVariable).Push(3.0).Op(action::InitArray).Op(action::SetVariable);
    Set(a, "m", "filters", Variable{"list"});
    Set(a, "b", "blurX", 100.0);
    a.Push("got").Push("m").Op(action::GetVariable).Push("filters").Op(action::GetMember);
    a.Op(action::SetVariable);
    TraceMember(a, "got", "length");
    a.Push("first").Push("got").Op(action::GetVariable).Push(0.0).Op(action::GetMember);
    a.Op(action::SetVariable);
    TraceMember(a, "first", "blurX");
    TraceMember(a, "first", "quality");
    a.Push("second").Push("got").Op(action::GetVariable).Push(1.0).Op(action::GetMember);
    a.Op(action::SetVariable);
    TraceMember(a, "second", "angle");
    TraceMember(a, "second", "color");
    TraceMember(a, "second", "distance");
    // Emptied by an empty array.
    a.Push("none").Push(0.0).Op(action::InitArray).Op(action::SetVariable);
    Set(a, "m", "filters", Variable{"none"});
    a.Push("m").Op(action::GetVariable).Push("filters").Op(action::GetMember);
    a.Push("length").Op(action::GetMember).Op(action::Trace);
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"2", "3", "2", "90", "3368601", "6", "0"}));
}

} // namespace

namespace {

TEST(TransformClass, StaysWithTheClipItWasMadeFor) {
    ActionWriter a;
    const auto makeClip = [&] {
        a.Push(1.0).Push("m").Push(2.0).Push("this").Op(action::GetVariable);
        a.Push("createEmptyMovieClip").Op(action::CallMethod).Op(action::Pop);
    };
    makeClip();
    a.Push("old").Push("m").Op(action::GetVariable).Op(action::SetVariable);
    New(a, "t", "geom", "Transform", {Variable{"old"}});
    Call(a, "old", "removeMovieClip", {});
    a.Op(action::Pop);
    makeClip();
    // The old reference names the new clip by its path; t does not.
    TraceMember(a, "t", "matrix");
    New(a, "u", "geom", "Transform", {Variable{"old"}});
    TraceMember(a, "u", "matrix");
    EXPECT_EQ(Play(8, a),
              (std::vector<std::string>{"undefined", "(a=1, b=0, c=0, d=1, tx=0, ty=0)"}));
}

} // namespace

namespace {

TEST(ClipFilters, TextFieldsTakeFiltersToo) {
    ActionWriter a;
    // createTextField("t", 1, 0, 0, 100, 20)
    a.Push(20.0).Push(100.0).Push(0.0).Push(0.0).Push(1.0).Push("t").Push(6.0);
    a.Push("this").Op(action::GetVariable).Push("createTextField").Op(action::CallMethod);
    a.Op(action::Pop);
    a.Push("field").Push("t").Op(action::GetVariable).Op(action::SetVariable);
    New(a, "g", "filters", "GlowFilter", {});
    a.Push("list").Push("g").Op(action::GetVariable).Push(1.0).Op(action::InitArray);
    a.Op(action::SetVariable);
    Set(a, "field", "filters", Variable{"list"});
    a.Push("field").Op(action::GetVariable).Push("filters").Op(action::GetMember);
    a.Push(0.0).Op(action::GetMember).Push("color").Op(action::GetMember).Op(action::Trace);
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"16711680"}));
}

} // namespace
