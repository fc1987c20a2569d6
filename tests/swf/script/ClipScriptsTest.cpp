// Clips as scripts see them, on movies the writer makes: what a script makes
// and moves on the stage, reads back as Flash Player gives it.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <vector>

#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

// Calls a method: pushes the arguments (last first), their count, the
// object's variable and the method's name.
ActionWriter& CallMethod(ActionWriter& a, std::string_view object, std::string_view method,
                         const std::vector<double>& numbers,
                         const std::vector<std::string>& texts = {}) {
    for (auto n = numbers.rbegin(); n != numbers.rend(); ++n) {
        a.Push(*n);
    }
    for (auto t = texts.rbegin(); t != texts.rend(); ++t) {
        a.Push(*t);
    }
    a.Push(double(numbers.size() + texts.size())).Push(object).Op(action::GetVariable);
    return a.Push(method).Op(action::CallMethod);
}

ActionWriter& TraceMember(ActionWriter& a, std::string_view object, std::string_view member) {
    return a.Push(object)
        .Op(action::GetVariable)
        .Push(member)
        .Op(action::GetMember)
        .Op(action::Trace);
}

using scripttest::Traces;

TEST(ClipScripts, DepthsOfMadeClipsReadBackAndSwap) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    ActionWriter a;
    // a = createEmptyMovieClip("a", 1); b = createEmptyMovieClip("b", 5)
    a.Push("a");
    CallMethod(a, "this", "createEmptyMovieClip", {1}, {"a"}).Op(action::SetVariable);
    a.Push("b");
    CallMethod(a, "this", "createEmptyMovieClip", {5}, {"b"}).Op(action::SetVariable);
    CallMethod(a, "a", "swapDepths", {}, {}).Op(action::Pop); // no argument: nothing
    a.Push("b").Op(action::GetVariable).Push(1.0).Push("a").Op(action::GetVariable);
    a.Push("swapDepths").Op(action::CallMethod).Op(action::Pop); // a.swapDepths(b)
    CallMethod(a, "a", "getDepth", {}).Op(action::Trace);
    CallMethod(a, "b", "getDepth", {}).Op(action::Trace);
    CallMethod(a, "this", "getInstanceAtDepth", {5}).Op(action::Trace);
    CallMethod(a, "this", "getNextHighestDepth", {}).Op(action::Trace);
    CallMethod(a, "this", "getDepth", {}).Op(action::Trace);
    // Depth 0 is a depth; an undefined one is none.
    CallMethod(a, "this", "createEmptyMovieClip", {0}, {"c"}).Op(action::Pop);
    CallMethod(a, "this", "getInstanceAtDepth", {0}).Op(action::Trace);
    a.PushUndefined().Push(1.0).Push("this").Op(action::GetVariable);
    a.Push("getInstanceAtDepth").Op(action::CallMethod).Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(
        Traces(movie.Finish()),
        (std::vector<std::string>{"5", "1", "_level0.a", "6", "-16384", "_level0.c", "undefined"}));
}

TEST(ClipScripts, AttachedClipGetsItsInitObjectBeforeItsRegisteredClassConstructs) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    swfwriter::TimelineWriter empty;
    empty.ShowFrame();
    const std::uint16_t sprite = movie.DefineSprite(empty);
    // The export tag: one symbol, "Ball".
    std::vector<std::uint8_t> exports{1, 0, static_cast<std::uint8_t>(sprite), 0};
    for (char c : std::string("Ball")) {
        exports.push_back(static_cast<std::uint8_t>(c));
    }
    exports.push_back(0);
    movie.Tag(swf::tag::Exports, exports);

    ActionWriter a;
    // function Ball() { trace("made " + this.speed); }
    ActionWriter body;
    body.Push("made ").Push("this").Op(action::GetVariable).Push("speed").Op(action::GetMember);
    body.Op(action::Add2).Op(action::Trace);
    a.DefineFunction("Ball", {}, body);
    // Object.registerClass("ball", Ball): names match without regard to case.
    a.Push("Ball").Op(action::GetVariable).Push("ball").Push(2.0).Push("Object");
    a.Op(action::GetVariable).Push("registerClass").Op(action::CallMethod).Op(action::Pop);
    // c = attachMovie("Ball", "c", 3, {speed: 7})
    a.Push("c").Push("speed").Push(7.0).Push(1.0).Op(action::InitObject);
    a.Push(3.0).Push("c").Push("BALL").Push(4.0).Push("this").Op(action::GetVariable);
    a.Push("attachMovie").Op(action::CallMethod).Op(action::SetVariable);
    a.Push("c").Op(action::GetVariable).Op(action::Trace);
    a.Push("c").Op(action::GetVariable).Push("__proto__").Op(action::GetMember);
    a.Push("Ball").Op(action::GetVariable).Push("prototype").Op(action::GetMember);
    a.Op(action::Equals2).Op(action::Trace);
    CallMethod(a, "this", "attachMovie", {4}, {"Nothing", "d"}).Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"made 7", "_level0.c", "true", "undefined"}));
}

TEST(ClipScripts, BoundsAndSizesFollowTheShapesUnderTheirTransforms) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    const std::uint16_t square = movie.DefineShape(testmovies::Square({255, 0, 0}, 400));
    swfwriter::TimelineWriter inner;
    inner.Place(1, square, {.matrix = swfwriter::Matrix::Translate(200, 0)});
    inner.ShowFrame();
    const std::uint16_t sprite = movie.DefineSprite(inner);
    movie.Place(1, sprite,
                {.matrix = swfwriter::Matrix::Transform(1000, 2000, 2.0, 1.0, 0.0), .name = "s"});
    ActionWriter a;
    TraceMember(a, "s", "_width");
    TraceMember(a, "s", "_height");
    // b = s.getBounds(_root): the square at x 50 + 2 * 10 .. 50 + 2 * 30, y 100 .. 120.
    a.Push("b").Push("_root").Op(action::GetVariable).Push(1.0).Push("s");
    a.Op(action::GetVariable).Push("getBounds").Op(action::CallMethod).Op(action::SetVariable);
    for (const char* side : {"xMin", "xMax", "yMin", "yMax"}) {
        TraceMember(a, "b", side);
    }
    // s._width = 20 halves the scale across: 100 % of the square's 20 pixels.
    a.Push("s").Op(action::GetVariable).Push("_width").Push(20.0).Op(action::SetMember);
    TraceMember(a, "s", "_xscale");
    // p = {x: 0, y: 0}; s.localToGlobal(p)
    a.Push("p").Push("x").Push(0.0).Push("y").Push(0.0).Push(2.0).Op(action::InitObject);
    a.Op(action::SetVariable);
    a.Push("p").Op(action::GetVariable).Push(1.0).Push("s").Op(action::GetVariable);
    a.Push("localToGlobal").Op(action::CallMethod).Op(action::Pop);
    TraceMember(a, "p", "x");
    TraceMember(a, "p", "y");
    CallMethod(a, "s", "hitTest", {75, 105, 0}).Op(action::Trace);
    CallMethod(a, "s", "hitTest", {5, 105, 0}).Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"40", "20", "70", "110", "100", "120", "100", "50", "100",
                                        "true", "false"}));
}

TEST(ClipScripts, ReferenceToARemovedClipReadsTheClipPlacedAtItsPathSince) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    ActionWriter a;
    a.Push("x");
    CallMethod(a, "this", "createEmptyMovieClip", {0}, {"a"}).Op(action::SetVariable);
    a.Push("x").Op(action::GetVariable).Push("answer").Push(42.0).Op(action::SetMember);
    TraceMember(a, "x", "answer");
    CallMethod(a, "this", "createEmptyMovieClip", {0}, {"a"}).Op(action::Pop);
    TraceMember(a, "x", "answer");
    a.Push("a").Op(action::GetVariable).Push("answer").Push(43.0).Op(action::SetMember);
    TraceMember(a, "x", "answer");
    CallMethod(a, "x", "removeMovieClip", {}).Op(action::Pop);
    TraceMember(a, "x", "answer");
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"42", "undefined", "43", "undefined"}));
}

TEST(ClipScripts, SetTargetStartsFromTheScriptsOwnTimelineEachTime) {
    constexpr std::uint8_t SetTarget = 0x8B;
    auto setTarget = [&](ActionWriter& a, std::string_view path) -> ActionWriter& {
        std::vector<std::uint8_t> data(path.begin(), path.end());
        data.push_back(0);
        return a.Action(SetTarget, data);
    };
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    ActionWriter a;
    a.Push("seen").Push("root").Op(action::SetVariable);
    CallMethod(a, "this", "createEmptyMovieClip", {1}, {"a"}).Op(action::Pop);
    CallMethod(a, "a", "createEmptyMovieClip", {1}, {"a"}).Op(action::Pop);
    // Twice "a" is still "/a"; a path leading nowhere is the timeline itself.
    setTarget(a, "a");
    setTarget(a, "a").Push("_target").Op(action::GetVariable).Op(action::Trace);
    setTarget(a, "a/a").Push("_target").Op(action::GetVariable).Op(action::Trace);
    setTarget(a, "nowhere").Push("_target").Op(action::GetVariable).Op(action::Trace);
    // Names are looked up in the timeline again once the target is gone.
    setTarget(a, "a").Push("seen").Op(action::GetVariable).Op(action::Trace);
    CallMethod(a, "_root.a", "removeMovieClip", {}).Op(action::Pop);
    a.Push("seen").Op(action::GetVariable).Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"/a", "/a/a", "/", "undefined", "root"}));
}

TEST(ClipScripts, RotationKeepsMinus180AndReadsNoNumberAfterAnInfiniteOne) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    ActionWriter a;
    a.Push("a");
    CallMethod(a, "this", "createEmptyMovieClip", {1}, {"a"}).Op(action::SetVariable);
    for (const double degrees : {-180.0, -540.0, 540.0, 1000.0, 0.0 / 0.0, 1.0 / 0.0, 127.0}) {
        a.Push("a").Op(action::GetVariable).Push("_rotation").Push(degrees);
        a.Op(action::SetMember);
        TraceMember(a, "a", "_rotation");
    }
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"-180", "-180", "180", "-80", "-80", "NaN", "127"}));
}

TEST(ClipScripts, AClipIsNoPrototype) {
    swfwriter::MovieWriter movie(7, 200, 150, 12.0);
    ActionWriter a;
    // this.answer = 42; o = {}; o.__proto__ = this: o inherits nothing,
    // not even from Object.prototype.
    a.Push("this").Op(action::GetVariable).Push("answer").Push(42.0).Op(action::SetMember);
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("o").Op(action::GetVariable).Push("__proto__").Push("this").Op(action::GetVariable);
    a.Op(action::SetMember);
    TraceMember(a, "o", "answer");
    TraceMember(a, "o", "hasOwnProperty");
    TraceMember(a, "this", "answer");
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()), (std::vector<std::string>{"undefined", "undefined", "42"}));
}

TEST(ClipScripts, ReferencesToRemovedClipsCompareByWhatTheyStandForNow) {
    constexpr std::uint8_t StrictEquals = 0x66;
    swfwriter::MovieWriter movie(7, 200, 150, 12.0);
    ActionWriter a;
    auto make = [&](std::string_view variable, std::string_view name, double depth) {
        a.Push(variable);
        CallMethod(a, "this", "createEmptyMovieClip", {depth}, {std::string(name)});
        a.Op(action::SetVariable);
    };
    auto compare = [&](std::string_view left, std::string_view right) {
        a.Push(left).Op(action::GetVariable).Push(right).Op(action::GetVariable);
        a.Op(StrictEquals).Op(action::Trace);
    };
    make("x", "a", 1);
    make("y", "b", 2);
    make("z", "c", 3);
    a.Push("z").Op(action::GetVariable).Push("_name").Push("d").Op(action::SetMember);
    for (const char* gone : {"x", "y", "z"}) {
        CallMethod(a, gone, "removeMovieClip", {}).Op(action::Pop);
    }
    compare("x", "y"); // both stand for nothing
    make("newB", "b", 4);
    make("newD", "d", 5);
    compare("y", "newB"); // y stands for the new b
    compare("x", "y");
    compare("z", "newD"); // z keeps the path it was made with
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()), (std::vector<std::string>{"true", "true", "false", "false"}));
}

TEST(ClipScripts, TextFieldsGetDepthAnswersForTextFieldsAlone) {
    swfwriter::MovieWriter movie(7, 200, 150, 12.0);
    ActionWriter a;
    a.Push("m");
    CallMethod(a, "this", "createEmptyMovieClip", {4}, {"m"}).Op(action::SetVariable);
    CallMethod(a, "this", "createTextField", {5, 0, 0, 10, 10}, {"t"}).Op(action::Pop);
    // m.d = t.d = TextField.prototype.getDepth
    for (const char* holder : {"m", "t"}) {
        a.Push(holder).Op(action::GetVariable).Push("d").Push("TextField").Op(action::GetVariable);
        a.Push("prototype").Op(action::GetMember).Push("getDepth").Op(action::GetMember);
        a.Op(action::SetMember);
    }
    CallMethod(a, "m", "d", {}).Op(action::Trace);
    CallMethod(a, "t", "d", {}).Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()), (std::vector<std::string>{"undefined", "5"}));
}

TEST(ClipScripts, RecursionWithoutEndStopsEveryScriptOfTheMovie) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    ActionWriter a;
    // this.onEnterFrame = function () { trace("tick"); }
    ActionWriter tick;
    tick.Push("tick").Op(action::Trace);
    a.Push("this").Op(action::GetVariable).Push("onEnterFrame");
    a.DefineFunction("", {}, tick).Op(action::SetMember);
    // function f() { f(); } f(); trace("after");
    ActionWriter body;
    body.Push(0.0).Push("f").Op(action::CallFunction).Op(action::Pop);
    a.DefineFunction("f", {}, body);
    a.Push(0.0).Push("f").Op(action::CallFunction).Op(action::Pop);
    a.Push("after").Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_TRUE(Traces(movie.Finish(), 3).empty());
}

TEST(ClipScripts, ColorActsOnItsTargetsTransformInFixedPoint) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    swfwriter::TimelineWriter empty;
    empty.ShowFrame();
    movie.Place(1, movie.DefineSprite(empty), {.name = "m"});
    ActionWriter a;
    // c = new Color("m"); c.setTransform({aa: 50, rb: 300, ga: 1}); c.setRGB(0x102030) later
    a.Push("c").Push("m").Push(1.0).Push("Color").Op(action::NewObject).Op(action::SetVariable);
    a.Push("aa").Push(50.0).Push("rb").Push(300.0).Push("ga").Push(1.0).Push(3.0);
    a.Op(action::InitObject).Push(1.0).Push("c").Op(action::GetVariable);
    a.Push("setTransform").Op(action::CallMethod).Op(action::Pop);
    TraceMember(a, "m", "_alpha");
    a.Push("t");
    CallMethod(a, "c", "getTransform", {}).Op(action::SetVariable);
    for (const char* field : {"ga", "rb", "ra"}) {
        TraceMember(a, "t", field);
    }
    CallMethod(a, "c", "setRGB", {0x102030}).Op(action::Pop);
    CallMethod(a, "c", "getRGB", {}).Op(action::Trace);
    TraceMember(a, "m", "_alpha");
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"50", "0.78125", "300", "100", "1056816", "50"}));
}

TEST(ClipScripts, StageAndMouseKeepWhatTheMovieSets) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    ActionWriter a;
    TraceMember(a, "Stage", "width");
    a.Push("Stage").Op(action::GetVariable).Push("align").Push("brxt").Op(action::SetMember);
    TraceMember(a, "Stage", "align");
    a.Push("Stage").Op(action::GetVariable).Push("scaleMode").Push("NOSCALE");
    a.Op(action::SetMember);
    TraceMember(a, "Stage", "scaleMode");
    CallMethod(a, "Mouse", "hide", {}).Op(action::Trace);
    CallMethod(a, "Mouse", "hide", {}).Op(action::Trace);
    CallMethod(a, "Mouse", "show", {}).Op(action::Trace);
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"200", "TRB", "noScale", "1", "0", "0"}));
}

} // namespace
