// The flash.geom classes on movies the writer makes: the arithmetic of
// Point, Rectangle and Matrix, members kept as given and joined as the +
// operator joins them, and the package hidden from movies before SWF 8.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <initializer_list>
#include <string>
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

// Pushes new flash.geom.<className>(numbers...).
void PushNew(ActionWriter& a, std::string_view className, std::initializer_list<double> args) {
    for (auto it = std::rbegin(args); it != std::rend(args); ++it) {
        a.Push(*it);
    }
    a.Push(double(args.size()));
    a.Push("flash").Op(action::GetVariable).Push("geom").Op(action::GetMember);
    a.Push(className).Op(NewMethod);
}

// Pushes variable.method(the value on the stack), or with no argument.
void CallWithPushed(ActionWriter& a, std::string_view variable, std::string_view method,
                    int count) {
    a.Push(double(count)).Push(variable).Op(action::GetVariable).Push(method);
    a.Op(action::CallMethod);
}

void TraceMember(ActionWriter& a, std::string_view variable, std::string_view member) {
    a.Push(variable).Op(action::GetVariable).Push(member).Op(action::GetMember);
    a.Op(action::Trace);
}

TEST(GeomClasses, RectangleEdgesAndCombinations) {
    ActionWriter a;
    a.Push("r");
    PushNew(a, "Rectangle", {10, 20, 30, 40});
    a.Op(action::SetVariable);
    TraceMember(a, "r", "right");
    TraceMember(a, "r", "bottomRight");
    PushNew(a, "Rectangle", {0, 0, 5, 5});
    CallWithPushed(a, "r", "union", 1);
    a.Op(action::Trace);
    PushNew(a, "Rectangle", {30, 50, 100, 100});
    CallWithPushed(a, "r", "intersection", 1);
    a.Op(action::Trace);
    PushNew(a, "Rectangle", {100, 100, 1, 1});
    CallWithPushed(a, "r", "intersection", 1);
    a.Op(action::Trace);
    PushNew(a, "Point", {39.5, 59});
    CallWithPushed(a, "r", "containsPoint", 1);
    a.Op(action::Trace);
    PushNew(a, "Point", {40, 59});
    CallWithPushed(a, "r", "containsPoint", 1);
    a.Op(action::Trace);
    a.Push(2.0).Push(1.0);
    CallWithPushed(a, "r", "inflate", 2);
    a.Op(action::Pop);
    a.Push("r").Op(action::GetVariable).Op(action::Trace);
    EXPECT_EQ(Play(8, a),
              (std::vector<std::string>{"40", "(x=40, y=60)", "(x=0, y=0, w=40, h=60)",
                                        "(x=30, y=50, w=10, h=10)", "(x=0, y=0, w=0, h=0)", "true",
                                        "false", "(x=9, y=18, w=32, h=44)"}));
}

TEST(GeomClasses, MatrixMapsPointsAndInverts) {
    ActionWriter a;
    a.Push("m");
    PushNew(a, "Matrix", {});
    a.Op(action::SetVariable);
    a.Push(3.0).Push(2.0);
    CallWithPushed(a, "m", "scale", 2);
    a.Op(action::Pop);
    a.Push(7.0).Push(5.0);
    CallWithPushed(a, "m", "translate", 2);
    a.Op(action::Pop);
    a.Push("m").Op(action::GetVariable).Op(action::Trace);
    PushNew(a, "Point", {1, 1});
    CallWithPushed(a, "m", "transformPoint", 1);
    a.Op(action::Trace);
    PushNew(a, "Point", {1, 1});
    CallWithPushed(a, "m", "deltaTransformPoint", 1);
    a.Op(action::Trace);
    CallWithPushed(a, "m", "invert", 0);
    a.Op(action::Pop);
    PushNew(a, "Point", {7, 10});
    CallWithPushed(a, "m", "transformPoint", 1);
    a.Op(action::Trace);
    // The gradient square of 1638.4 twips maps onto the box given.
    a.Push(0.0).Push(0.0).Push(0.0).Push(1638.4).Push(3276.8);
    CallWithPushed(a, "m", "createGradientBox", 5);
    a.Op(action::Pop);
    a.Push("m").Op(action::GetVariable).Op(action::Trace);
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"(a=2, b=0, c=0, d=3, tx=5, ty=7)",
                                                    "(x=7, y=10)", "(x=2, y=3)", "(x=1, y=1)",
                                                    "(a=2, b=0, c=0, d=1, tx=1638.4, ty=819.2)"}));
}

TEST(GeomClasses, PointKeepsMembersAsGivenAndAddsAsScriptsDo) {
    ActionWriter a;
    // new Point("1", 2).add(new Point(3, 4)): "1" + 3 joins as text.
    a.Push("p");
    a.Push(2.0).Push("1").Push(2.0);
    a.Push("flash").Op(action::GetVariable).Push("geom").Op(action::GetMember);
    a.Push("Point").Op(NewMethod);
    a.Op(action::SetVariable);
    PushNew(a, "Point", {3, 4});
    CallWithPushed(a, "p", "add", 1);
    a.Op(action::Trace);
    PushNew(a, "Point", {4, 6});
    PushNew(a, "Point", {1, 2});
    a.Push(2.0).Push("flash").Op(action::GetVariable).Push("geom").Op(action::GetMember);
    a.Push("Point").Op(action::GetMember).Push("distance").Op(action::CallMethod);
    a.Op(action::Trace);
    a.Push("flash").Op(action::GetVariable).Op(action::Trace);
    const std::vector<std::string> eight = Play(8, a);
    ASSERT_EQ(eight.size(), 3u);
    EXPECT_EQ(eight[0], "(x=13, y=6)");
    EXPECT_EQ(eight[1], "5");
    EXPECT_EQ(eight[2], "[object Object]");
    // Before SWF 8 the package is hidden.
    EXPECT_EQ(Play(7, a).back(), "undefined");
}

} // namespace

namespace {

TEST(GeomClasses, MethodsFindTheClassesWhereScriptsLeftThem) {
    ActionWriter a;
    a.Push("p");
    PushNew(a, "Point", {1, 2});
    a.Op(action::SetVariable);
    // flash.geom = 5: clone finds no Point class now, and 5 stays.
    a.Push("flash").Op(action::GetVariable).Push("geom").Push(5.0).Op(action::SetMember);
    CallWithPushed(a, "p", "clone", 0);
    a.Op(action::Trace);
    a.Push("flash").Op(action::GetVariable).Push("geom").Op(action::GetMember);
    a.Op(action::Trace);
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"undefined", "5"}));
}

} // namespace
