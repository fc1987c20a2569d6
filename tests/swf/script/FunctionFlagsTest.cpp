// What a called function starts with: the registers DefineFunction2's flags
// ask for, and the this Function.call gives it.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

constexpr std::uint8_t DefineFunction2 = 0x8E;
constexpr std::uint8_t PushAction = 0x96;
constexpr std::uint16_t PreloadThis = 0x0001;
constexpr std::uint16_t SuppressThis = 0x0002;

// function f() { trace(r1); } with the flags given, called as f().
std::vector<std::string> TraceFirstRegister(std::uint16_t flags) {
    ActionWriter a;
    // Name "f", no parameters, two registers, the flags, and the size of
    // the body that follows: a push of r1 (5 bytes) and a trace (1).
    a.Action(DefineFunction2, {'f', 0, 0, 0, 2, static_cast<std::uint8_t>(flags & 0xFF),
                               static_cast<std::uint8_t>(flags >> 8), 6, 0});
    a.Action(PushAction, {4, 1});
    a.Op(action::Trace);
    a.Push(0.0).Push("f").Op(action::CallFunction).Op(action::Pop);
    return scripttest::Play(7, a);
}

TEST(FunctionFlags, SuppressingThisAlsoKeepsItFromItsRegister) {
    EXPECT_EQ(TraceFirstRegister(PreloadThis), std::vector<std::string>{"_level0"});
    EXPECT_EQ(TraceFirstRegister(PreloadThis | SuppressThis),
              std::vector<std::string>{"undefined"});
}

TEST(FunctionFlags, CallGivesAnObjectForThisEvenWithoutOne) {
    // function g() { this.x = 42; trace(this.x); } g.call(true); g.call();
    ActionWriter body;
    body.Push("this").Op(action::GetVariable).Push("x").Push(42.0).Op(action::SetMember);
    body.Push("this").Op(action::GetVariable).Push("x").Op(action::GetMember).Op(action::Trace);
    ActionWriter a;
    a.DefineFunction("g", {}, body);
    a.Push(true).Push(1.0).Push("g").Op(action::GetVariable).Push("call");
    a.Op(action::CallMethod).Op(action::Pop);
    a.Push(0.0).Push("g").Op(action::GetVariable).Push("call").Op(action::CallMethod);
    a.Op(action::Pop);
    const std::vector<std::string> lines = scripttest::Play(7, a);
    EXPECT_EQ(lines, (std::vector<std::string>{"42", "42"}));
}

} // namespace
