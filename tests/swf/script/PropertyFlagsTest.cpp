// The version bits of a property's flags, as movies of each SWF version see
// them: a member of a later version hides its value from older code but is
// still listed by for..in and found by hasOwnProperty, so that a movie that
// clears the bits reads it; what new and the built-in classes give objects.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using scripttest::Play;
using swfwriter::ActionWriter;
namespace action = swfwriter::action;

constexpr std::uint8_t TypeOf = 0x44;
constexpr std::uint8_t Enumerate2 = 0x55;
constexpr std::uint8_t StrictEquals = 0x66;
constexpr std::uint8_t DeleteMember = 0x3A;

// ASSetPropFlags(object, name, set, clear), object a variable.
void SetFlags(ActionWriter& a, std::string_view object, std::string_view name, double set,
              double clear) {
    a.Push(clear).Push(set).Push(name).Push(object).Op(action::GetVariable);
    a.Push(4.0).Push("ASSetPropFlags").Op(action::CallFunction).Op(action::Pop);
}

// trace(typeof object.member)
void TraceTypeOf(ActionWriter& a, std::string_view object, std::string_view member) {
    a.Push(object).Op(action::GetVariable).Push(member).Op(action::GetMember);
    a.Op(TypeOf).Op(action::Trace);
}

// trace(object.has(member)), has being Object.prototype.hasOwnProperty
// fetched with ASnative so that SWF 5 code can call it too.
void TraceHasOwn(ActionWriter& a, std::string_view object, std::string_view member) {
    a.Push(object).Op(action::GetVariable).Push("has");
    a.Push(5.0).Push(101.0).Push(2.0).Push("ASnative").Op(action::CallFunction);
    a.Op(action::SetMember);
    a.Push(member).Push(1.0).Push(object).Op(action::GetVariable).Push("has");
    a.Op(action::CallMethod).Op(action::Trace);
}

// for (name in object) trace(name);
void TraceNames(ActionWriter& a, std::string_view object) {
    const auto top = a.NewLabel();
    const auto done = a.NewLabel();
    a.Push(object).Op(action::GetVariable).Op(Enumerate2);
    a.Bind(top);
    a.Op(action::PushDuplicate).PushNull().Op(action::Equals2).If(done);
    a.Op(action::Trace).Jump(top);
    a.Bind(done);
    a.Op(action::Pop);
}

// o = {}; o.x = 1; o.y = 2 with the flags given to y.
void MakeObjectWithFlaggedMember(ActionWriter& a, double flags) {
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("o").Op(action::GetVariable).Push("x").Push(1.0).Op(action::SetMember);
    a.Push("o").Op(action::GetVariable).Push("y").Push(2.0).Op(action::SetMember);
    SetFlags(a, "o", "y", flags, 0.0);
}

TEST(PropertyFlags, AMemberOfALaterVersionIsListedButUnreadUntilUnhidden) {
    ActionWriter a;
    MakeObjectWithFlaggedMember(a, 128.0); // from SWF 6 on
    TraceNames(a, "o");
    TraceTypeOf(a, "o", "y");
    TraceHasOwn(a, "o", "y");
    SetFlags(a, "o", "y", 0.0, 128.0);
    TraceTypeOf(a, "o", "y");
    EXPECT_EQ(Play(5, a), (std::vector<std::string>{"y", "x", "undefined", "true", "number"}));
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"y", "x", "number", "true", "number"}));
}

TEST(PropertyFlags, AMemberHiddenFromSwf6IsNotListedThere) {
    ActionWriter a;
    MakeObjectWithFlaggedMember(a, 256.0); // all but SWF 6
    TraceNames(a, "o");
    TraceHasOwn(a, "o", "y");
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"x", "false"}));
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"y", "x", "true"}));
}

TEST(PropertyFlags, ClassesAndInstancesCarryTheirSwf6MembersInSwf5) {
    ActionWriter a;
    a.Push("b").Push(0.0).Push("Boolean").Op(action::NewObject).Op(action::SetVariable);
    TraceTypeOf(a, "b", "__constructor__");
    TraceHasOwn(a, "b", "__constructor__");
    a.Push("B").Push("Boolean").Op(action::GetVariable).Op(action::SetVariable);
    TraceTypeOf(a, "B", "__proto__");
    SetFlags(a, "B", "__proto__", 0.0, 128.0);
    TraceTypeOf(a, "B", "__proto__");
    // Boolean's own members may be written, as Object's may not.
    a.Push("B").Op(action::GetVariable).Push("prototype").Push(7.0).Op(action::SetMember);
    TraceTypeOf(a, "B", "prototype");
    EXPECT_EQ(Play(5, a),
              (std::vector<std::string>{"undefined", "true", "undefined", "object", "number"}));
    EXPECT_EQ(Play(6, a),
              (std::vector<std::string>{"function", "true", "object", "object", "number"}));
}

TEST(PropertyFlags, AFunctionWithoutValueOfAddsAsUndefinedInSwf5) {
    ActionWriter a;
    a.Push(2.0).Push("Number").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    EXPECT_EQ(Play(5, a), (std::vector<std::string>{"2"}));
}

} // namespace

namespace {

TEST(PropertyFlags, KeyListensFromSwf6WithAsBroadcastersOwnFunctions) {
    ActionWriter a;
    a.Push("K").Push("Key").Op(action::GetVariable).Op(action::SetVariable);
    a.Push("A").Push("AsBroadcaster").Op(action::GetVariable).Op(action::SetVariable);
    TraceTypeOf(a, "K", "addListener");
    TraceHasOwn(a, "K", "_listeners");
    SetFlags(a, "K", "addListener", 0.0, 128.0);
    SetFlags(a, "A", "addListener", 0.0, 128.0);
    // trace(K.addListener === A.addListener)
    a.Push("K").Op(action::GetVariable).Push("addListener").Op(action::GetMember);
    a.Push("A").Op(action::GetVariable).Push("addListener").Op(action::GetMember);
    a.Op(StrictEquals).Op(action::Trace);
    EXPECT_EQ(Play(5, a), (std::vector<std::string>{"undefined", "true", "true"}));
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"function", "true", "true"}));
}

TEST(PropertyFlags, Swf5SeesThePlayersOwnGlobalFunctions) {
    ActionWriter a;
    a.Push("AsSetupError").Op(action::GetVariable).Op(TypeOf).Op(action::Trace);
    TraceTypeOf(a, "AsSetupError", "prototype");
    a.Push("showRedrawRegions").Op(action::GetVariable).Op(TypeOf).Op(action::Trace);
    a.Push("RemoteLSOUsage").Op(action::GetVariable).Op(TypeOf).Op(action::Trace);
    // The debugger's function has not even a __proto__.
    a.Push("D").Push("enableDebugConsole").Op(action::GetVariable).Op(action::SetVariable);
    TraceHasOwn(a, "D", "__proto__");
    EXPECT_EQ(Play(5, a),
              (std::vector<std::string>{"function", "object", "function", "function", "false"}));
}

} // namespace

namespace {

TEST(PropertyFlags, ObjectLiteralsNameObjectAndNewObjectsOnlyBeforeSwf7) {
    ActionWriter a;
    a.Push("c").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    TraceHasOwn(a, "c", "constructor");
    // delete c.constructor fails: it is permanent.
    a.Push("c").Op(action::GetVariable).Push("constructor").Op(DeleteMember).Op(action::Trace);
    a.Push("n").Push(0.0).Push("Object").Op(action::NewObject).Op(action::SetVariable);
    TraceHasOwn(a, "n", "constructor");
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"true", "false", "true"}));
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"true", "false", "false"}));
}

} // namespace

namespace {

// trace(value.member === Class.member2) for a pushed primitive value.
void TraceNumberLink(ActionWriter& a, std::string_view member, std::string_view classMember) {
    a.Push(42.0).Push(member).Op(action::GetMember);
    a.Push("Number").Op(action::GetVariable);
    if (!classMember.empty()) {
        a.Push(classMember).Op(action::GetMember);
    }
    a.Op(StrictEquals).Op(action::Trace);
}

TEST(PropertyFlags, PrimitivesHaveTheLinksOfTheirWrappersAndArrayLiteralsTheirConstructor) {
    ActionWriter a;
    TraceNumberLink(a, "__proto__", "prototype");
    TraceNumberLink(a, "__constructor__", "");
    // trace((42).hasOwnProperty("constructor"))
    a.Push("constructor").Push(1.0).Push(42.0).Push("hasOwnProperty").Op(action::CallMethod);
    a.Op(action::Trace);
    a.Push("l").Push(0.0).Op(action::InitArray).Op(action::SetVariable);
    TraceHasOwn(a, "l", "constructor");
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"true", "true", "true", "true"}));
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"true", "true", "false", "true"}));
}

} // namespace

namespace {

// o = {x: 42}, then links objects above it, each the prototype of the next,
// and reads x through the whole chain.
std::vector<std::string> ReadThroughChain(int links) {
    ActionWriter a;
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("o").Op(action::GetVariable).Push("x").Push(42.0).Op(action::SetMember);
    a.Push("i").Push(0.0).Op(action::SetVariable);
    const auto top = a.NewLabel();
    const auto done = a.NewLabel();
    a.Bind(top);
    a.Push("i").Op(action::GetVariable).Push(double(links)).Op(action::Less2).Op(action::Not);
    a.If(done);
    a.Push("p").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("p").Op(action::GetVariable).Push("__proto__").Push("o").Op(action::GetVariable);
    a.Op(action::SetMember);
    a.Push("o").Push("p").Op(action::GetVariable).Op(action::SetVariable);
    a.Push("i").Push("i").Op(action::GetVariable).Op(action::Increment).Op(action::SetVariable);
    a.Jump(top);
    a.Bind(done);
    a.Push("o").Op(action::GetVariable).Push("x").Op(action::GetMember).Op(action::Trace);
    a.Push("after").Op(action::Trace);
    return Play(6, a);
}

TEST(PropertyFlags, AReadPast256PrototypeLinksStopsTheScript) {
    EXPECT_EQ(ReadThroughChain(256), (std::vector<std::string>{"42", "after"}));
    EXPECT_TRUE(ReadThroughChain(257).empty());
}

TEST(PropertyFlags, ASetterFurtherUpTheChainTakesTheValuePastAPlainMember) {
    ActionWriter a;
    // base.addProperty("x", function () { return "got"; }, function () { trace("set"); })
    ActionWriter getter;
    getter.Push("got").Op(action::Return);
    ActionWriter setter;
    setter.Push("set").Op(action::Trace);
    a.Push("base").Push(0.0).Push("Object").Op(action::NewObject).Op(action::SetVariable);
    a.DefineFunction("", {}, setter);
    a.DefineFunction("", {}, getter);
    a.Push("x").Push(3.0).Push("base").Op(action::GetVariable).Push("addProperty");
    a.Op(action::CallMethod).Op(action::Pop);
    // mid = {x: 1} (a plain x), then mid.__proto__ = base; top.__proto__ = mid
    a.Push("mid").Push("x").Push(1.0).Push(1.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("mid").Op(action::GetVariable).Push("__proto__").Push("base").Op(action::GetVariable);
    a.Op(action::SetMember);
    a.Push("top").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("top").Op(action::GetVariable).Push("__proto__").Push("mid").Op(action::GetVariable);
    a.Op(action::SetMember);
    a.Push("top").Op(action::GetVariable).Push("x").Push(5.0).Op(action::SetMember);
    a.Push("top").Op(action::GetVariable).Push("x").Op(action::GetMember).Op(action::Trace);
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"set", "1"}));
}

} // namespace

namespace {

TEST(PropertyFlags, Swf5SeesRegisterClassButRegistersNothing) {
    ActionWriter a;
    TraceTypeOf(a, "Object", "registerClass");
    // trace(Object.registerClass("symbol", Object))
    a.Push("Object").Op(action::GetVariable).Push("symbol").Push(2.0).Push("Object");
    a.Op(action::GetVariable).Push("registerClass").Op(action::CallMethod).Op(action::Trace);
    EXPECT_EQ(Play(5, a), (std::vector<std::string>{"function", "false"}));
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"function", "true"}));
}

} // namespace

namespace {

TEST(PropertyFlags, VideoIsAClassFromSwf6) {
    ActionWriter a;
    a.Push("Video").Op(action::GetVariable).Op(TypeOf).Op(action::Trace);
    a.Push("v").Push(0.0).Push("Video").Op(action::NewObject).Op(action::SetVariable);
    TraceTypeOf(a, "v", "attachVideo");
    // trace(v.__constructor__ === Video)
    a.Push("v").Op(action::GetVariable).Push("__constructor__").Op(action::GetMember);
    a.Push("Video").Op(action::GetVariable).Op(StrictEquals).Op(action::Trace);
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"function", "function", "true"}));
    EXPECT_EQ(Play(5, a), (std::vector<std::string>{"undefined", "undefined", "true"}));
}

} // namespace

namespace {

TEST(PropertyFlags, Swf5WritingALaterVersionsMemberTakesItOverWithItsFlags) {
    ActionWriter a;
    MakeObjectWithFlaggedMember(a, 128.0 + 2.0); // from SWF 6, permanent
    a.Push("o").Op(action::GetVariable).Push("y").Push(5.0).Op(action::SetMember);
    TraceTypeOf(a, "o", "y");
    a.Push("o").Op(action::GetVariable).Push("y").Op(DeleteMember).Op(action::Trace);
    // A read-only one keeps its value, and stays hidden.
    SetFlags(a, "o", "x", 128.0 + 4.0, 0.0);
    a.Push("o").Op(action::GetVariable).Push("x").Push("new").Op(action::SetMember);
    TraceTypeOf(a, "o", "x");
    EXPECT_EQ(Play(5, a), (std::vector<std::string>{"number", "false", "undefined"}));
}

} // namespace
