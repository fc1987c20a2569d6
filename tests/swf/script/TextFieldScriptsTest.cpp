// Text fields made by scripts, on movies the writer makes: their native
// properties and methods exist from SWF 6, where SWF 5 code sees plain
// properties of an object.
#include <gtest/gtest.h>

#include "ScriptTraces.h"

#include <string>
#include <vector>

#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swf/script/TraceRun.h"
#include "swfwriter/ActionWriter.h"
#include "swfwriter/BitWriter.h"
#include "swfwriter/RecordWriter.h"

namespace {

using swfwriter::ActionWriter;
namespace action = swfwriter::action;

using scripttest::Traces;

// this.createTextField("t", 1, 0, 0, 100, 20)
void CreateField(ActionWriter& a) {
    a.Push(20.0).Push(100.0).Push(0.0).Push(0.0).Push(1.0).Push("t").Push(6.0);
    a.Push("this").Op(action::GetVariable).Push("createTextField").Op(action::CallMethod);
    a.Op(action::Pop);
}

void SetMember(ActionWriter& a, std::string_view member, std::string_view value) {
    a.Push("t").Op(action::GetVariable).Push(member).Push(value).Op(action::SetMember);
}

void SetFlag(ActionWriter& a, std::string_view member, bool value) {
    a.Push("t").Op(action::GetVariable).Push(member).Push(value).Op(action::SetMember);
}

void TraceMember(ActionWriter& a, std::string_view member) {
    a.Push("t").Op(action::GetVariable).Push(member).Op(action::GetMember).Op(action::Trace);
}

std::vector<std::uint8_t> FieldMovie(int version) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    ActionWriter a;
    CreateField(a);
    SetFlag(a, "html", true);
    SetMember(a, "htmlText", "<b>bold</b>\nnext");
    TraceMember(a, "text");
    TraceMember(a, "length");
    SetMember(a, "text", "plain");
    TraceMember(a, "htmlText");
    // t.replaceText(0, 1, "P")
    a.Push("P").Push(1.0).Push(0.0).Push(3.0).Push("t").Op(action::GetVariable);
    a.Push("replaceText").Op(action::CallMethod).Op(action::Pop);
    TraceMember(a, "text");
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    return movie.Finish();
}

TEST(TextFieldScripts, FieldsReadTheirHtmlAndWriteItBackFromSwf7) {
    EXPECT_EQ(Traces(FieldMovie(7)),
              (std::vector<std::string>{
                  "bold\rnext", "9",
                  R"(<P ALIGN="LEFT"><FONT FACE="Times New Roman" SIZE="12" COLOR="#000000" )"
                  R"(LETTERSPACING="0" KERNING="0">plain</FONT></P>)",
                  "Plain"}));
}

TEST(TextFieldScripts, ReplaceTextComesWithSwf7) {
    const std::vector<std::string> lines = Traces(FieldMovie(6));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3], "plain");
}

TEST(TextFieldScripts, Swf5CodeSeesPlainPropertiesOfTheField) {
    EXPECT_EQ(Traces(FieldMovie(5)),
              (std::vector<std::string>{"undefined", "undefined", "<b>bold</b>\nnext", "plain"}));
}

void SetNumber(ActionWriter& a, std::string_view member, double value) {
    a.Push("t").Op(action::GetVariable).Push(member).Push(value).Op(action::SetMember);
}

TEST(TextFieldScripts, PropertiesConvertWhatTheyAreGivenAsFlashDoes) {
    swfwriter::MovieWriter movie(8, 200, 150, 12.0);
    ActionWriter a;
    CreateField(a);
    SetNumber(a, "maxChars", -3.7); // negative counts stay, cut to integers
    TraceMember(a, "maxChars");
    SetNumber(a, "maxChars", 0.5); // none
    TraceMember(a, "maxChars");
    SetMember(a, "restrict", "abc");
    SetMember(a, "restrict", ""); // a set restriction becomes ""
    TraceMember(a, "restrict");
    a.Push("t").Op(action::GetVariable).Push("restrict").PushNull().Op(action::SetMember);
    SetMember(a, "restrict", ""); // none stays none
    TraceMember(a, "restrict");
    // t.html = {valueOf: function () { trace("asked"); return false; }}
    ActionWriter valueOf;
    valueOf.Push("asked").Op(action::Trace).Push(false).Op(action::Return);
    a.Push("t").Op(action::GetVariable).Push("html").Push("valueOf");
    a.DefineFunction("", {}, valueOf).Push(1.0).Op(action::InitObject).Op(action::SetMember);
    TraceMember(a, "html");
    // A clip is no style sheet.
    a.Push("t").Op(action::GetVariable).Push("styleSheet").Push("this").Op(action::GetVariable);
    a.Op(action::SetMember);
    TraceMember(a, "styleSheet");
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"-3", "null", "", "null", "asked", "true", "undefined"}));
}

TEST(TextFieldScripts, StyleSheetsKeepCopiesOfTheirStylesAndNameDeviceFonts) {
    swfwriter::MovieWriter movie(7, 200, 150, 12.0);
    ActionWriter a;
    // sheet = new TextField.StyleSheet()
    a.Push("sheet").Push(0.0).Push("TextField").Op(action::GetVariable).Push("StyleSheet");
    a.Op(0x53).Op(action::SetVariable); // NewMethod
    // style = {color: "#ff0000"}; sheet.setStyle("h", style); style.color = "#000000"
    a.Push("style").Push("color").Push("#ff0000").Push(1.0).Op(action::InitObject);
    a.Op(action::SetVariable);
    a.Push("style").Op(action::GetVariable).Push("h").Push(2.0).Push("sheet");
    a.Op(action::GetVariable).Push("setStyle").Op(action::CallMethod).Op(action::Pop);
    a.Push("style").Op(action::GetVariable).Push("color").Push("#000000").Op(action::SetMember);
    a.Push("h").Push(1.0).Push("sheet").Op(action::GetVariable).Push("getStyle");
    a.Op(action::CallMethod).Push("color").Op(action::GetMember).Op(action::Trace);
    for (const char* family : {"SANS-serif", "mono", "Arial"}) {
        a.Push(family).Push(1.0).Push("sheet").Op(action::GetVariable);
        a.Push("parseCSSFontFamily").Op(action::CallMethod).Op(action::Trace);
    }
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    EXPECT_EQ(Traces(movie.Finish()),
              (std::vector<std::string>{"#ff0000", "_sans", "_typewriter", "Arial"}));
}

// A DefineEditText bound to variable, with its initial text.
std::uint16_t DefineBoundField(swfwriter::MovieWriter& movie, std::string_view variable,
                               std::string_view initial) {
    swfwriter::BitWriter body;
    swfwriter::WriteRect(body, 0, 2000, 0, 400);
    body.U8(0x80); // has text
    body.U8(0x00);
    body.String(variable);
    body.String(initial);
    return movie.DefineRaw(swf::tag::DefineEditText, body.Data());
}

void TraceVariable(ActionWriter& a, std::string_view name) {
    a.Push(name).Op(action::GetVariable).Op(action::Trace);
}

// A field bound to "shown": the variable starts as the field's text; the
// field's text reads as the variable at once, and in SWF 6 a new binding
// gives the new variable the text the field showed last.
std::vector<std::uint8_t> BoundFieldMovie(int version) {
    swfwriter::MovieWriter movie(version, 200, 150, 12.0);
    const std::uint16_t field = DefineBoundField(movie, "shown", "first");
    movie.Place(1, field, {.name = std::string("t")});
    ActionWriter a;
    TraceVariable(a, "shown");
    a.Push("shown").Push("second").Op(action::SetVariable);
    TraceMember(a, "text");
    SetMember(a, "variable", "other");
    TraceVariable(a, "other");
    movie.Tag(swf::tag::DoAction, a.Finish());
    movie.ShowFrame();
    return movie.Finish();
}

TEST(TextFieldScripts, BoundFieldsStartTheirVariableAndReadIt) {
    EXPECT_EQ(Traces(BoundFieldMovie(6)), (std::vector<std::string>{"first", "second", "first"}));
    // SWF 5 code has no text property, but the binding is there.
    EXPECT_EQ(Traces(BoundFieldMovie(5)),
              (std::vector<std::string>{"first", "undefined", "undefined"}));
}

} // namespace
