// How a missing member is answered: which __resolve along the prototype
// chain is asked in SWF 6 and SWF 7, whatever its version bits, and that a
// timeline keeps no variable without a name.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <string_view>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using scripttest::Play;
using swfwriter::ActionWriter;
namespace action = swfwriter::action;

// object[member] = function () { return text; }
void SetAnswering(ActionWriter& a, std::string_view object, std::string_view member,
                  std::string_view text) {
    ActionWriter body;
    body.Push(text).Op(action::Return);
    a.Push(object).Op(action::GetVariable).Push(member);
    a.DefineFunction("", {}, body);
    a.Op(action::SetMember);
}

void TraceMember(ActionWriter& a, std::string_view object, std::string_view member) {
    a.Push(object).Op(action::GetVariable).Push(member).Op(action::GetMember).Op(action::Trace);
}

ActionWriter ResolveChain() {
    ActionWriter a;
    // o = {}; o.__proto__ = p = {}; p.__resolve answers "proto".
    a.Push("p").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("o").Op(action::GetVariable).Push("__proto__").Push("p").Op(action::GetVariable);
    a.Op(action::SetMember);
    SetAnswering(a, "p", "__resolve", "proto");
    // A number in the way.
    a.Push("o").Op(action::GetVariable).Push("__resolve").Push(42.0).Op(action::SetMember);
    TraceMember(a, "o", "x");
    // An own function that addProperty then puts a getter over.
    SetAnswering(a, "o", "__resolve", "own");
    ActionWriter getter;
    getter.Push("getter").Op(action::Return);
    a.PushNull();
    a.DefineFunction("", {}, getter);
    a.Push("__resolve").Push(3.0).Push("o").Op(action::GetVariable).Push("addProperty");
    a.Op(action::CallMethod).Op(action::Pop);
    TraceMember(a, "o", "x");
    return a;
}

TEST(MemberLookup, ResolveHooksPassPrimitivesOverOnlyFromSwf7) {
    // The getter is never asked: __resolve is read from the value beneath.
    EXPECT_EQ(Play(6, ResolveChain()), (std::vector<std::string>{"undefined", "own"}));
    EXPECT_EQ(Play(7, ResolveChain()), (std::vector<std::string>{"proto", "own"}));
}

TEST(MemberLookup, VersionBitsDoNotHideResolveHooks) {
    ActionWriter a;
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    SetAnswering(a, "o", "__resolve", "answered");
    // Only SWF 7 and later see it, the bit says: a read does not, yet the
    // missing member is still resolved through it.
    constexpr double version7Bit = 1024;
    a.Push(0.0).Push(version7Bit).Push("__resolve").Push("o").Op(action::GetVariable);
    a.Push(4.0).Push("ASSetPropFlags").Op(action::CallFunction).Op(action::Pop);
    TraceMember(a, "o", "x");
    TraceMember(a, "o", "__resolve");
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"answered", "undefined"}));
}

TEST(MemberLookup, ATimelineKeepsNoVariableWithoutAName) {
    ActionWriter a;
    a.Push("this").Op(action::GetVariable).Push("").Push(42.0).Op(action::SetMember);
    TraceMember(a, "this", "");
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("o").Op(action::GetVariable).Push("").Push(42.0).Op(action::SetMember);
    TraceMember(a, "o", "");
    // Other objects do keep one.
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"undefined", "42"}));
}

} // namespace
