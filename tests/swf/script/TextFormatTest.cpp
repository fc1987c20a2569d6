// TextFormat's properties, on movies the writer makes: each keeps what its
// setter made of the value given, by the movie's version.
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

using scripttest::Traces;

template <typename T>
void SetAndTrace(ActionWriter& a, std::string_view member, T value) {
    a.Push("f").Op(action::GetVariable).Push(member).Push(value).Op(action::SetMember);
    a.Push("f").Op(action::GetVariable).Push(member).Op(action::GetMember).Op(action::Trace);
}

std::vector<std::uint8_t> FormatMovie(int version) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    ActionWriter a;
    // f = new TextFormat("Arial", 12.7)
    a.Push("f").Push(12.7).Push("Arial").Push(2.0).Push("TextFormat").Op(0x40);
    a.Op(action::SetVariable);
    a.Push("f").Op(action::GetVariable).Push("size").Op(action::GetMember).Op(action::Trace);
    SetAndTrace(a, "color", -1.0);
    SetAndTrace(a, "align", "CENTER");
    SetAndTrace(a, "align", "middle"); // unknown: stays
    SetAndTrace(a, "display", "inline");
    SetAndTrace(a, "display", "hidden"); // unknown: block
    SetAndTrace(a, "leftMargin", -4.0);
    SetAndTrace(a, "size", 3e9);
    SetAndTrace(a, "bold", "");
    SetAndTrace(a, "tabStops", "ab"); // a string is a list of its length
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    return movie.Finish();
}

TEST(TextFormat, SettersConvertByVersion) {
    EXPECT_EQ(Traces(FormatMovie(8)),
              (std::vector<std::string>{"12", "4294967295", "center", "center", "inline", "block",
                                        "0", "-2147483648", "false", "-2147483648,-2147483648"}));
    // SWF 7 wraps integers to 32 bits.
    EXPECT_EQ(Traces(FormatMovie(7)),
              (std::vector<std::string>{"12", "4294967295", "center", "center", "inline", "block",
                                        "0", "-1294967296", "false", "0,0"}));
}

} // namespace
