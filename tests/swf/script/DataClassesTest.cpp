// LoadVars' encoding both ways and the members the player-service classes
// make as a movie uses them, on movies the writer makes.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

constexpr std::uint8_t StackSwap = 0x4D;

using scripttest::Play;

// name = new className();
void MakeInstance(ActionWriter& a, std::string_view name, std::string_view className) {
    a.Push(name).Push(0.0).Push(className).Op(action::NewObject).Op(action::SetVariable);
}

// Leaves object.method(text) on the stack (no argument when text is null).
void CallWithText(ActionWriter& a, std::string_view object, std::string_view method,
                  const char* text) {
    if (text) {
        a.Push(text).Push(1.0);
    } else {
        a.Push(0.0);
    }
    a.Push(object).Op(action::GetVariable).Push(method).Op(action::CallMethod);
}

// Leaves object.member on the stack.
void Member(ActionWriter& a, std::string_view object, std::string_view member) {
    a.Push(object).Op(action::GetVariable).Push(member).Op(action::GetMember);
}

TEST(DataClasses, LoadVarsDecodesAndEncodesVariables) {
    ActionWriter a;
    MakeInstance(a, "v", "LoadVars");
    CallWithText(a, "v", "decode", "name=two%20words&sum=1+1&bare&=nameless");
    a.Op(action::Trace);
    Member(a, "v", "name");
    a.Op(action::Trace);
    Member(a, "v", "sum");
    a.Op(action::Trace);
    // A pair without "=" makes nothing; one with an empty name is kept.
    Member(a, "v", "bare");
    a.Op(action::Trace);
    CallWithText(a, "v", "toString", nullptr);
    a.Op(action::Trace);
    // Without an argument decode refuses.
    CallWithText(a, "v", "decode", nullptr);
    a.Op(action::Trace);
    EXPECT_EQ(Play(7, a),
              (std::vector<std::string>{"undefined", "two words", "1 1", "undefined",
                                        "=nameless&sum=1%201&name=two%20words", "false"}));
}

TEST(DataClasses, Swf5SeesNothingOfLoadVarsButTheClass) {
    ActionWriter a;
    MakeInstance(a, "v", "LoadVars");
    // Not even Object.prototype's members: the chain is hidden from SWF 5.
    CallWithText(a, "v", "toString", nullptr);
    a.Op(action::Trace);
    Member(a, "v", "decode");
    a.Op(action::Trace);
    EXPECT_EQ(Play(5, a), (std::vector<std::string>{"undefined", "undefined"}));
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"", "[type Function]"}));
}

TEST(DataClasses, Swf6InstancesKeepTheirConstructorUnderBothNames) {
    ActionWriter a;
    MakeInstance(a, "v", "LoadVars");
    for (const char* name : {"constructor", "__constructor__"}) {
        CallWithText(a, "v", "hasOwnProperty", name);
        a.Op(action::Trace);
    }
    EXPECT_EQ(Play(6, a), (std::vector<std::string>{"true", "true"}));
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"false", "true"}));
}

TEST(DataClasses, PrintJobGivesItsPrototypePagePropertiesWhenFirstMade) {
    ActionWriter a;
    const auto hasOrientation = [&] {
        a.Push("orientation").Push(1.0);
        Member(a, "PrintJob", "prototype");
        a.Push("hasOwnProperty").Op(action::CallMethod).Op(action::Trace);
    };
    hasOrientation();
    MakeInstance(a, "job", "PrintJob");
    hasOrientation();
    EXPECT_EQ(Play(7, a), (std::vector<std::string>{"false", "true"}));
}

TEST(DataClasses, MovieClipLoaderListensToItself) {
    ActionWriter a;
    MakeInstance(a, "loader", "MovieClipLoader");
    Member(a, "loader", "_listeners");
    a.Push("0").Op(action::GetMember);
    a.Push("loader").Op(action::GetVariable).Op(action::Equals2).Op(action::Trace);
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"true"}));
}

TEST(DataClasses, ContextMenuCopiesItsCustomItemsButSharesTheBuiltInOnes) {
    ActionWriter a;
    MakeInstance(a, "menu", "ContextMenu");
    CallWithText(a, "menu", "copy", nullptr);
    a.Push("other").Op(StackSwap).Op(action::SetVariable);
    a.Push("item").Push(1.0);
    Member(a, "menu", "customItems");
    a.Push("push").Op(action::CallMethod).Op(action::Pop);
    CallWithText(a, "menu", "hideBuiltInItems", nullptr);
    a.Op(action::Pop);
    for (const char* menu : {"menu", "other"}) {
        Member(a, menu, "customItems");
        a.Push("length").Op(action::GetMember).Op(action::Trace);
        Member(a, menu, "builtInItems");
        a.Push("zoom").Op(action::GetMember).Op(action::Trace);
    }
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"1", "false", "0", "false"}));
}

TEST(DataClasses, AsSetNativeNumbersTheFunctionsItMakes) {
    ActionWriter a;
    // ASSetNative(o, 100, "one,two") gives o.one (100, 0) and o.two (100, 1):
    // escape and unescape.
    a.Push("o").Push(0.0).Op(action::InitObject).Op(action::SetVariable);
    a.Push("one,two").Push(100.0).Push("o").Op(action::GetVariable).Push(3.0);
    a.Push("ASSetNative").Op(action::CallFunction).Op(action::Pop);
    CallWithText(a, "o", "one", "a b");
    a.Op(action::Trace);
    CallWithText(a, "o", "two", "a%21");
    a.Op(action::Trace);
    EXPECT_EQ(Play(8, a), (std::vector<std::string>{"a%20b", "a!"}));
}

TEST(DataClasses, LoadsReportTheirFailureOnALaterFrame) {
    ActionWriter a;
    a.Push("x").Push(0.0).Push("XML").Op(action::NewObject).Op(action::SetVariable);
    ActionWriter onLoad;
    onLoad.Push("onLoad ").Push("ok").Op(action::GetVariable).Op(action::Add2).Op(action::Trace);
    a.Push("x").Op(action::GetVariable).Push("onLoad");
    a.DefineFunction("", {"ok"}, onLoad);
    a.Op(action::SetMember);
    CallWithText(a, "x", "load", "missing.xml");
    a.Op(action::Trace);
    Member(a, "x", "loaded");
    a.Op(action::Trace);
    // A loader's listeners hear that a network address is refused.
    MakeInstance(a, "loader", "MovieClipLoader");
    ActionWriter onLoadError;
    onLoadError.Push("error").Op(action::GetVariable).Op(action::Trace);
    a.Push("loader").Op(action::GetVariable).Push("onLoadError");
    a.DefineFunction("", {"clip", "error"}, onLoadError);
    a.Op(action::SetMember);
    a.Push("_root").Push("http://example.com/a.swf").Push(2.0);
    a.Push("loader").Op(action::GetVariable).Push("loadClip").Op(action::CallMethod);
    a.Op(action::Trace);
    a.Push("after the first frame").Op(action::Trace);
    EXPECT_EQ(Play(8, a),
              (std::vector<std::string>{"true", "false", "true", "after the first frame",
                                        "onLoad false", "IllegalRequest"}));
}

} // namespace
