// What the trace log shows of a string's bytes: in SWF 5 each byte is the
// character of its value, bytes 0x80 to 0x9F included; from SWF 6 the
// string is UTF-8 already.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <string_view>
#include <vector>

#include "swf/format/TagCodes.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

std::vector<std::string> TraceCharacters(int version, const std::vector<double>& codes) {
    ActionWriter a;
    for (const double code : codes) {
        a.Push(code).Push(1.0).Push("String").Op(action::GetVariable);
        a.Push("fromCharCode").Op(action::CallMethod).Op(action::Trace);
    }
    return scripttest::Play(version, a);
}

TEST(TraceText, Swf5BytesAreTracedAsTheCharactersOfTheirValues) {
    EXPECT_EQ(TraceCharacters(5, {0x80, 0x9F, 0xE9}),
              (std::vector<std::string>{"\xC2\x80", "\xC2\x9F", "\xC3\xA9"}));
    EXPECT_EQ(TraceCharacters(6, {0x80, 0x20AC}),
              (std::vector<std::string>{"\xC2\x80", "\xE2\x82\xAC"}));
}

} // namespace
