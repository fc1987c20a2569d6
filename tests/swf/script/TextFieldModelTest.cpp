// A text field's characters and formats: the HTML fields read and the form
// they write back, and how replacing and formatting ranges treat formats.
#include <gtest/gtest.h>

#include "swf/script/text/FieldModel.h"

namespace {

using swf::script::text::CharFormat;
using swf::script::text::FieldModel;
using swf::script::text::FormatChange;

constexpr int version = 8;

FieldModel EmptyField() {
    return FieldModel(swf::EditText{}, version);
}

const std::string defaultFont =
    R"(<FONT FACE="Times New Roman" SIZE="12" COLOR="#000000" LETTERSPACING="0" KERNING="0">)";

TEST(TextFieldModel, HtmlWritesOneParagraphPerLineWithNestedFontWhereTheFormatChanges) {
    FieldModel field = EmptyField();
    field.SetHtml("a<b>b</b><font size='20' color='#ff0000'>c</font>\rd &amp; &lt;e&gt;",
                  field.newFormat, version);
    EXPECT_EQ(field.Text(version), "abc\rd & <e>");
    EXPECT_EQ(field.Html(version),
              R"(<P ALIGN="LEFT">)" + defaultFont +
                  R"(a<B>b</B><FONT SIZE="20" COLOR="#FF0000">c</FONT></FONT></P>)" +
                  R"(<P ALIGN="LEFT">)" + defaultFont + "d &amp; &lt;e&gt;</FONT></P>");
}

TEST(TextFieldModel, ClosedParagraphBreaksTheLineOnlyWhenTextFollows) {
    FieldModel field = EmptyField();
    field.SetHtml("<p align='right'>a</p>b<p>c</p>", field.newFormat, version);
    EXPECT_EQ(field.Text(version), "a\rbc");
    // A paragraph takes its alignment from its first character.
    const std::string html = field.Html(version);
    EXPECT_EQ(html.find(R"(<P ALIGN="RIGHT">)"), 0u);
    EXPECT_NE(html.find(R"(<P ALIGN="LEFT">)"), std::string::npos);

    field.SetHtml("<p>a</p>\rb", field.newFormat, version);
    EXPECT_EQ(field.Text(version), "a\rb");

    // Before SWF 7 the paragraph ends its line at once, in its own format.
    field.SetHtml("<p align='right'>a</p>\rb", field.newFormat, 6);
    EXPECT_EQ(field.Text(6), "a\r\rb");
    EXPECT_EQ(field.FormatOf(1, 2).align, std::optional<std::string>("right"));
    EXPECT_EQ(field.FormatOf(2, 3).align, std::optional<std::string>("left"));
}

TEST(TextFieldModel, UnclosedFontLastsToTheEndAndBecomesTheNewTextFormat) {
    FieldModel field = EmptyField();
    field.SetHtml("x<font size='100'>y", field.newFormat, version);
    EXPECT_EQ(field.newFormat.size, 100.0);
    field.SetText("plain\nlines\r\nhere", version);
    // Each line end is a break of its own: "\r\n" makes two.
    EXPECT_EQ(field.Text(version), "plain\rlines\r\rhere");
    EXPECT_EQ(field.FormatOf(0, field.Length()).size, 100.0);
}

TEST(TextFieldModel, HtmlWhiteSpaceDependsOnTheFieldsSettings) {
    FieldModel field = EmptyField();
    // A single-line field drops <br>; runs of nothing but white space go.
    field.SetHtml("<tab>a<br> \t\r\n<b> b </b>", field.newFormat, version);
    EXPECT_EQ(field.Text(version), "\ta b ");
    field.multiline = true;
    field.SetHtml("a<br>b", field.newFormat, version);
    EXPECT_EQ(field.Text(version), "a\rb");
    field.condenseWhite = true;
    field.SetHtml(" x \t y<i>\r\n</i>z", field.newFormat, version);
    EXPECT_EQ(field.Text(version), " x yz");
}

TEST(TextFieldModel, RangesKeepOnlyWhatTheirCharactersShare) {
    FieldModel field = EmptyField();
    field.SetText("abcd", version);
    FormatChange bold;
    bold.bold = true;
    field.ApplyFormat(1, 3, bold);
    EXPECT_EQ(field.FormatOf(1, 3).bold, std::optional<bool>(true));
    EXPECT_FALSE(field.FormatOf(0, 3).bold.has_value());
    EXPECT_EQ(field.FormatOf(0, 3).font, std::optional<std::string>("Times New Roman"));
}

TEST(TextFieldModel, ReplacedTextTakesTheFormatOfTheCharacterAfterIt) {
    FieldModel field = EmptyField();
    field.SetText("abcd", version);
    FormatChange big;
    big.size = 30.0;
    field.ApplyFormat(2, 3, big);
    field.Replace(0, 2, "xy\nz", version);
    EXPECT_EQ(field.Text(version), "xy\rzcd");
    EXPECT_EQ(field.FormatOf(0, 4).size, std::optional<double>(30.0));
    EXPECT_EQ(field.FormatOf(5, 6).size, std::optional<double>(12.0));
    // Past the end, new text takes the new-text format.
    field.newFormat.size = 7.0;
    field.Replace(6, 6, "!", version);
    EXPECT_EQ(field.FormatOf(6, 7).size, std::optional<double>(7.0));
}

TEST(TextFieldModel, DefinitionGivesTheStartingFormatAndText) {
    swf::EditText definition;
    definition.fontHeight = 360;
    definition.textColor = swf::Rgba{0x12, 0x34, 0x56, 255};
    definition.hasLayout = true;
    definition.align = 2;
    definition.html = true;
    definition.initialText = "<b>hi</b>";
    definition.variableName = "v";
    const FieldModel field(definition, version);
    EXPECT_EQ(field.Text(version), "hi");
    const FormatChange format = field.FormatOf(0, 2);
    EXPECT_EQ(format.size, std::optional<double>(18.0));
    EXPECT_EQ(format.color, std::optional<std::uint32_t>(0x123456));
    EXPECT_EQ(format.align, std::optional<std::string>("center"));
    EXPECT_EQ(format.bold, std::optional<bool>(true));
    EXPECT_EQ(field.variable, std::optional<std::string>("v"));
}

} // namespace
