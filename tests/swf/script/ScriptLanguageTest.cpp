// The language as Flash Player runs it, on movies the writer makes: which
// conversion methods run, the order a sort compares in, what super finds,
// the device's time zone in Date, and the limits that stop a runaway script
// without stopping the movie.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

// Action codes the writer does not name.
constexpr std::uint8_t SetMember = 0x4F;
constexpr std::uint8_t Less2 = 0x48;
constexpr std::uint8_t StringAdd = 0x21;
constexpr std::uint8_t StackSwap = 0x4D;
constexpr std::uint8_t Throw = 0x2A;
constexpr std::uint8_t BitURShift = 0x65;
constexpr std::uint8_t Try = 0x8F;

struct Played {
    std::vector<std::string> lines;
    std::vector<std::string> notes;
};

// Plays one DoAction per frame.
Played Play(int version, const std::vector<ActionWriter>& frames,
            swf::script::TraceRunOptions options = {}) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    for (const ActionWriter& frame : frames) {
        movie.Tag(swf::tag::DoAction, frame.Finish());
        movie.ShowFrame();
    }
    Played run;
    const auto result = swf::script::RunForTrace(
        movie.Finish(), options, [&](std::string_view line) { run.lines.emplace_back(line); });
    run.notes = result.notes;
    return run;
}

// object.member = function () { trace(text); return value-of-variable; }
void DefineTracingMethod(ActionWriter& a, std::string_view object, std::string_view member,
                         std::string_view text, std::string_view returned) {
    ActionWriter body;
    body.Push(text).Op(action::Trace).Push(returned).Op(action::GetVariable).Op(action::Return);
    a.Push(object).Op(action::GetVariable).Push(member);
    a.DefineFunction("", {}, body);
    a.Op(SetMember);
}

TEST(ScriptLanguage, ConversionsAskOnlyTheMethodsFlashAsks) {
    ActionWriter a;
    // o = {}; o.valueOf traces "valueOf" and gives o itself; o.toString
    // traces "toString" and gives 5, a number.
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    DefineTracingMethod(a, "o", "valueOf", "valueOf", "o");
    a.Push("five").Push(5.0).Op(action::SetVariable);
    DefineTracingMethod(a, "o", "toString", "toString", "five");
    // "" + o: valueOf, then toString, and the number it gives.
    a.Push("").Push("o").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    // A string is asked of toString alone, and only a string counts.
    a.Push("").Push("o").Op(action::GetVariable).Op(StringAdd).Op(action::Trace);
    // A number is asked of valueOf alone: o is no number.
    a.Push(1.0).Push("o").Op(action::GetVariable).Op(action::Multiply).Op(action::Trace);
    // A String object is its own string without asking anything.
    a.Push("s").Push("text").Push(1.0).Push("String").Op(action::NewObject);
    a.Op(action::SetVariable);
    DefineTracingMethod(a, "s", "toString", "never", "five");
    a.Push("").Push("s").Op(action::GetVariable).Op(StringAdd).Op(action::Trace);
    EXPECT_EQ(Play(7, {a}).lines,
              (std::vector<std::string>{"valueOf", "toString", "5", "toString", "[type Object]",
                                        "valueOf", "NaN", "text"}));
}

TEST(ScriptLanguage, AddConvertsAnObjectAgainOnceItKnowsWhatItAdds) {
    // o.valueOf and o.toString trace their names and give o itself.
    ActionWriter a;
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    DefineTracingMethod(a, "o", "valueOf", "valueOf", "o");
    DefineTracingMethod(a, "o", "toString", "toString", "o");
    // "s" + o joins strings: toString is asked after valueOf.
    a.Push("s").Push("o").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    // 0 + o adds numbers: valueOf is asked again, and o is no number.
    a.Push(0.0).Push("o").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    // A function is no number, but 0 in SWF 5.
    a.Push(2.0).Push("Number").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    // SWF 5 asks valueOf of each side even of o == o.
    a.Push("o").Op(action::GetVariable).Push("o").Op(action::GetVariable);
    a.Op(action::Equals2).Op(action::Trace);
    const std::vector<std::string> joined = {"valueOf", "toString", "s[type Object]",
                                             "valueOf", "valueOf",  "NaN"};
    auto expected = joined;
    expected.insert(expected.end(), {"NaN", "true"});
    EXPECT_EQ(Play(7, {a}).lines, expected);
    expected = joined;
    expected.insert(expected.end(), {"2", "valueOf", "valueOf", "true"});
    EXPECT_EQ(Play(5, {a}).lines, expected);
}

TEST(ScriptLanguage, ArrayLiteralsTakeThePrototypeOfTheGlobalArrayOfTheMoment) {
    constexpr std::uint8_t Delete2 = 0x3B;
    ActionWriter a;
    // _global.Array = function () {}: [7] and Array(7, 8) are no arrays to
    // trace, yet still have their elements; new of the old class is one.
    a.Push("Old").Push("Array").Op(action::GetVariable).Op(action::SetVariable);
    a.Push("_global").Op(action::GetVariable).Push("Array");
    a.DefineFunction("", {}, ActionWriter());
    a.Op(SetMember);
    a.Push(7.0).Push(1.0).Op(action::InitArray).Op(action::Trace);
    a.Push(8.0).Push(7.0).Push(2.0).Push("Old").Op(action::CallFunction);
    a.Push(0.0).Op(action::GetMember);
    a.Op(action::Trace);
    a.Push(7.0).Push(8.0).Push(2.0).Push("Old").Op(action::NewObject).Op(action::Trace);
    // Deleted, it leaves arrays with no prototype at all.
    a.Push("Array").Op(Delete2).Op(action::Trace);
    a.Push(7.0).Push(1.0).Op(action::InitArray).Op(action::Trace);
    EXPECT_EQ(Play(7, {a}).lines,
              (std::vector<std::string>{"[object Object]", "7", "8,7", "true", "[type Object]"}));
}

TEST(ScriptLanguage, SortComparesInFlashPlayersOrder) {
    ActionWriter a;
    // function order(x, y) { trace(x + y); return x < y ? -1 : y < x ? 1 : 0; }
    ActionWriter body;
    const auto greater = body.NewLabel();
    const auto less = body.NewLabel();
    body.Push("x").Op(action::GetVariable).Push("y").Op(action::GetVariable).Op(action::Add2);
    body.Op(action::Trace);
    body.Push("x").Op(action::GetVariable).Push("y").Op(action::GetVariable).Op(Less2);
    body.If(less);
    body.Push("y").Op(action::GetVariable).Push("x").Op(action::GetVariable).Op(Less2);
    body.If(greater);
    body.Push(0.0).Op(action::Return);
    body.Bind(greater).Push(1.0).Op(action::Return);
    body.Bind(less).Push(-1.0).Op(action::Return);
    a.DefineFunction("order", {"x", "y"}, body);
    // trace(["a", "c", "b", "d"].sort(order))
    a.Push("order").Op(action::GetVariable).Push(1.0);
    a.Push("d").Push("b").Push("c").Push("a").Push(4.0).Op(action::InitArray);
    a.Push("sort").Op(action::CallMethod).Op(action::Trace);
    // The comparisons Flash Player makes for this array, pivot first.
    EXPECT_EQ(Play(7, {a}).lines,
              (std::vector<std::string>{"ac", "ad", "ab", "ac", "cb", "cd", "cb", "a,b,c,d"}));
}

TEST(ScriptLanguage, SuperLooksUpFromAboveThisAndAPlainCallHasNone) {
    ActionWriter a;
    // function A() {}  A.prototype.f = function () { trace("A.f"); }
    a.DefineFunction("A", {}, ActionWriter());
    ActionWriter af;
    af.Push("A.f").Op(action::Trace);
    a.Push("A").Op(action::GetVariable).Push("prototype").Op(action::GetMember).Push("f");
    a.DefineFunction("", {}, af).Op(SetMember);
    // function B() {}  B.prototype.__proto__ = A.prototype
    a.DefineFunction("B", {}, ActionWriter());
    a.Push("B").Op(action::GetVariable).Push("prototype").Op(action::GetMember).Push("__proto__");
    a.Push("A").Op(action::GetVariable).Push("prototype").Op(action::GetMember).Op(SetMember);
    // bf = function () { super.f(); trace("B.f"); }  B.prototype.f = bf
    ActionWriter bf;
    bf.Push(0.0).Push("super").Op(action::GetVariable).Push("f").Op(action::CallMethod);
    bf.Op(action::Pop).Push("B.f").Op(action::Trace);
    a.Push("bf").DefineFunction("", {}, bf).Op(action::SetVariable);
    a.Push("B").Op(action::GetVariable).Push("prototype").Op(action::GetMember).Push("f");
    a.Push("bf").Op(action::GetVariable).Op(SetMember);
    // new B().f(), then bf() called plainly.
    a.Push(0.0).Push(0.0).Push("B").Op(action::NewObject).Push("f").Op(action::CallMethod);
    a.Op(action::Pop);
    a.Push(0.0).Push("bf").Op(action::CallFunction).Op(action::Pop);
    EXPECT_EQ(Play(7, {a}).lines, (std::vector<std::string>{"A.f", "B.f", "B.f"}));
}

TEST(ScriptLanguage, BroadcastersCallEachListenerOnceInTheOrderAdded) {
    ActionWriter a;
    // e = {}; AsBroadcaster.initialize(e); l1.hit traces "one", l2.hit "two"
    a.Push("e").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("e").Op(action::GetVariable).Push(1.0).Push("AsBroadcaster").Op(action::GetVariable);
    a.Push("initialize").Op(action::CallMethod).Op(action::Pop);
    for (const char* name : {"l1", "l2"}) {
        a.Push(name).Push(0.0).Op(action::InitObject).Op(action::SetVariable);
        DefineTracingMethod(a, name, "hit", name, name);
    }
    auto call = [&](const char* method, const char* argument) {
        a.Push(argument).Op(action::GetVariable).Push(1.0).Push("e").Op(action::GetVariable);
        a.Push(method).Op(action::CallMethod);
    };
    auto broadcast = [&]() {
        a.Push("hit").Push(1.0).Push("e").Op(action::GetVariable).Push("broadcastMessage");
        a.Op(action::CallMethod);
    };
    broadcast();
    a.Op(action::Trace); // nobody listens: undefined
    // Adding l1 again moves it behind l2.
    call("addListener", "l1");
    a.Op(action::Pop);
    call("addListener", "l2");
    a.Op(action::Pop);
    call("addListener", "l1");
    a.Op(action::Trace);
    broadcast();
    a.Op(action::Trace);
    call("removeListener", "l2");
    a.Op(action::Trace);
    call("removeListener", "l2");
    a.Op(action::Trace);
    broadcast();
    a.Op(action::Pop);
    EXPECT_EQ(Play(7, {a}).lines, (std::vector<std::string>{"undefined", "true", "l2", "l1", "true",
                                                            "true", "false", "l1"}));
}

TEST(ScriptLanguage, DateReadsTheDevicesTimeZone) {
    swf::script::TraceRunOptions options;
    options.timeZoneOffsetMinutes = [](double) { return 60; };
    ActionWriter a;
    // d = new Date(2000, 0, 1, 12): noon local, 11:00 UTC.
    a.Push("d").Push(12.0).Push(1.0).Push(0.0).Push(2000.0).Push(4.0).Push("Date");
    a.Op(action::NewObject).Op(action::SetVariable);
    for (const char* method : {"getHours", "getUTCHours", "getTimezoneOffset", "toString"}) {
        a.Push(0.0).Push("d").Op(action::GetVariable).Push(method).Op(action::CallMethod);
        a.Op(action::Trace);
    }
    EXPECT_EQ(Play(7, {a}, options).lines,
              (std::vector<std::string>{"12", "11", "-60", "Sat Jan 1 12:00:00 GMT+0100 2000"}));
}

TEST(ScriptLanguage, RunawayScriptsStopWithANoteAndTheNextFrameRuns) {
    swf::script::TraceRunOptions options;
    options.limits.actionsPerFrame = 20000;
    // Frame 1: a loop that never ends.
    ActionWriter loop;
    const auto top = loop.NewLabel();
    loop.Bind(top).Push("n").Push("n").Op(action::GetVariable).Op(action::Increment);
    loop.Op(action::SetVariable).Jump(top);
    // Frame 2: sorting 2,000 equal strings takes millions of comparisons.
    ActionWriter sort;
    for (int i = 0; i < 2000; ++i) {
        sort.Push("x");
    }
    sort.Push(2000.0).Op(action::InitArray).Push(0.0).Op(StackSwap).Push("sort");
    sort.Op(action::CallMethod).Op(action::Pop).Push("sorted").Op(action::Trace);
    // Frame 3: still running.
    ActionWriter last;
    last.Push("third frame").Op(action::Trace).Op(action::Stop);
    const Played run = Play(7, {loop, sort, last}, options);
    EXPECT_EQ(run.lines, (std::vector<std::string>{"third frame"}));
    ASSERT_FALSE(run.notes.empty());
    EXPECT_NE(run.notes[0].find("too many actions"), std::string::npos);
}

TEST(ScriptLanguage, AScriptThatKeepsEverythingStopsAtTheMemoryBound) {
    swf::script::TraceRunOptions options;
    options.limits.heapBytes = std::size_t{2} << 20;
    // a = []; forever: a.push(a.length + "...") (a string of its own each time)
    ActionWriter a;
    a.Push("a").Push(0.0).Op(action::InitArray).Op(action::SetVariable);
    const auto top = a.NewLabel();
    a.Bind(top).Push("a").Op(action::GetVariable).Push("length").Op(action::GetMember);
    a.Push(" is how many strings this array keeps").Op(action::Add2).Push(1.0);
    a.Push("a").Op(action::GetVariable).Push("push").Op(action::CallMethod).Op(action::Pop);
    a.Jump(top);
    const Played run = Play(7, {a}, options);
    ASSERT_FALSE(run.notes.empty());
    EXPECT_NE(run.notes[0].find("memory"), std::string::npos);
}

TEST(ScriptLanguage, RecursionStopsAtTheBlockAnd255Calls) {
    // function f() { trace(i); i++; f(); }  f(); trace("after")
    ActionWriter body;
    body.Push("i").Op(action::GetVariable).Op(action::Trace);
    body.Push("i").Push("i").Op(action::GetVariable).Op(action::Increment).Op(action::SetVariable);
    body.Push(0.0).Push("f").Op(action::CallFunction).Op(action::Pop);
    ActionWriter a;
    a.Push("i").Push(1.0).Op(action::SetVariable);
    a.DefineFunction("f", {}, body);
    a.Push(0.0).Push("f").Op(action::CallFunction).Op(action::Pop);
    a.Push("after").Op(action::Trace);
    const Played run = Play(7, {a});
    ASSERT_EQ(run.lines.size(), 255u);
    EXPECT_EQ(run.lines.back(), "255");
    ASSERT_FALSE(run.notes.empty());
    EXPECT_NE(run.notes[0].find("recursion"), std::string::npos);
}

TEST(ScriptLanguage, TryBlocksTakeRoomOnlyWhenTheirFlagIsSet) {
    // try { try {throw "Try"} catch {throw "Catch"} finally {throw "Finally"} }
    // catch (e) {}  trace(e): the inner statement with each of its flags.
    const std::vector<std::string> texts = {"Try", "Catch", "Finally"};
    auto sizeOf = [](const std::string& text) {
        ActionWriter block;
        block.Push(text).Op(Throw);
        return block.Body().size();
    };
    auto tryData = [](std::uint8_t flags, std::size_t trySize, std::size_t catchSize,
                      std::size_t finallySize) {
        return std::vector<std::uint8_t>{flags,
                                         std::uint8_t(trySize),
                                         std::uint8_t(trySize >> 8),
                                         std::uint8_t(catchSize),
                                         std::uint8_t(catchSize >> 8),
                                         std::uint8_t(finallySize),
                                         std::uint8_t(finallySize >> 8),
                                         'e',
                                         0};
    };
    const auto innerData = tryData(0, sizeOf(texts[0]), sizeOf(texts[1]), sizeOf(texts[2]));
    const std::size_t innerSize =
        3 + innerData.size() + sizeOf(texts[0]) + sizeOf(texts[1]) + sizeOf(texts[2]);
    ActionWriter a;
    for (const std::uint8_t flags : {3, 1, 2, 0}) {
        a.Action(Try, tryData(1, innerSize, 0, 0));
        a.Action(Try, tryData(flags, sizeOf(texts[0]), sizeOf(texts[1]), sizeOf(texts[2])));
        for (const std::string& text : texts) {
            a.Push(text).Op(Throw);
        }
        a.Push("e").Op(action::GetVariable).Op(action::Trace);
    }
    // Without its flag a catch block is no catch: with a finally flag it is
    // where the finally starts.
    EXPECT_EQ(Play(7, {a}).lines, (std::vector<std::string>{"Finally", "Catch", "Catch", "Try"}));
}

TEST(ScriptLanguage, NumbersAndStringsAtTheirEdges) {
    ActionWriter a;
    // The root of a half, to the last of its fifteen digits.
    a.Push("Math").Op(action::GetVariable).Push("SQRT1_2").Op(action::GetMember);
    a.Op(action::Trace);
    a.Push(-1.0).Push(0.0).Op(BitURShift).Op(action::Trace);
    a.Push(-1.0).Push(32.0).Op(BitURShift).Op(action::Trace);
    a.Push(-1.0).Push(1.0).Op(BitURShift).Op(action::Trace);
    // "Hello".substring(start, end): swapped when start is inside the
    // string, nothing when it is at or past its end.
    for (const auto& [start, end] : {std::pair{4.0, 1.0}, {5.0, 1.0}, {9.0, 0.0}}) {
        a.Push(end).Push(start).Push(2.0).Push("Hello").Push("substring");
        a.Op(action::CallMethod).Op(action::Trace);
    }
    EXPECT_EQ(Play(7, {a}).lines, (std::vector<std::string>{"0.707106781186548", "-1", "-1",
                                                            "2147483647", "ell", "", ""}));
}

TEST(ScriptLanguage, CallMethodWithAnEmptyNameCallsTheObjectWithNoThis) {
    // f = function () { trace(this); }; o.toString gives "":
    // CallMethod(f, o) calls f itself.
    ActionWriter body;
    body.Push("this").Op(action::GetVariable).Op(action::Trace);
    ActionWriter a;
    a.Push("f");
    a.DefineFunction("", {}, body);
    a.Op(action::SetVariable);
    a.Push("empty").Push("").Op(action::SetVariable);
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    DefineTracingMethod(a, "o", "toString", "toString", "empty");
    a.Push(0.0).Push("f").Op(action::GetVariable).Push("o").Op(action::GetVariable);
    a.Op(action::CallMethod).Op(action::Pop);
    EXPECT_EQ(Play(7, {a}).lines, (std::vector<std::string>{"toString", "undefined"}));
}

} // namespace
