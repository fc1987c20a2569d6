// Fonts and texts in the forms the writer does not make, written field by field.
#include "swf/format/TextReader.h"

#include <gtest/gtest.h>

#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swfwriter/RecordWriter.h"

namespace {

using swfwriter::BitWriter;

// A glyph: a unit square traced with fill1 = 1.
std::vector<std::uint8_t> SquareGlyph() {
    swfwriter::ShapeBuilder square;
    square.SetStyle(0, 1, 0);
    square.Rectangle(0, -512, 512, 512);
    BitWriter out;
    square.WriteGlyph(out);
    return out.Take();
}

std::unique_ptr<swf::MovieParser>
ParseTags(const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>& tags) {
    swfwriter::MovieWriter movie(6, 100, 100, 12);
    for (const auto& [code, body] : tags) {
        movie.Tag(code, body);
    }
    movie.ShowFrame();
    return testmovies::Parse(movie.Finish());
}

TEST(TextReader, DefineFontGetsItsCodesAndNameFromFontInfo) {
    const auto glyph = SquareGlyph();
    BitWriter font;
    font.U16(7);                                            // font id
    font.U16(4);                                            // offset of glyph 0 (two offsets)
    font.U16(static_cast<std::uint16_t>(4 + glyph.size())); // offset of glyph 1
    font.Bytes(glyph);
    font.Bytes(glyph);

    BitWriter info;
    info.U16(7);
    info.U8(5);
    info.Bytes(std::vector<std::uint8_t>{'S', 'e', 'r', 'i', 'f'});
    info.U8(0x04 | 0x02 | 0x01); // italic, bold, wide codes
    info.U16(u'A');
    info.U16(u'\u00e9');

    const auto parser =
        ParseTags({{swf::tag::DefineFont, font.Take()}, {swf::tag::DefineFontInfo, info.Take()}});
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const auto& parsed = std::get<swf::Font>(parser->GetMovie().Find(7)->data);
    EXPECT_EQ(parsed.version, 1);
    EXPECT_EQ(parsed.name, "Serif");
    EXPECT_TRUE(parsed.italic);
    EXPECT_TRUE(parsed.bold);
    EXPECT_TRUE(parsed.hasCodes);
    EXPECT_EQ(parsed.emSquare, 1024);
    ASSERT_EQ(parsed.glyphs.size(), 2u);
    EXPECT_EQ(parsed.glyphs[0].code, u'A');
    EXPECT_EQ(parsed.glyphs[1].code, u'\u00e9');
    EXPECT_EQ(parsed.glyphs[1].shape.records.size(),
              6u); // a move and style, four edges, as written
}

TEST(TextReader, GlyphOffsetsOutsideTheTagAreAnError) {
    BitWriter font;
    font.U16(7);
    font.U16(4);
    font.U16(900); // past the end
    font.Bytes(SquareGlyph());
    const auto parser = ParseTags({{swf::tag::DefineFont, font.Take()}});
    ASSERT_TRUE(parser->Failure());
    EXPECT_NE(parser->Failure()->message.find("glyph outside the font tag"), std::string::npos);
}

TEST(TextReader, DefineTextRecordsCarryFontColourPlaceAndGlyphs) {
    BitWriter text;
    text.U16(9);
    swfwriter::WriteRect(text, 0, 2000, -400, 100);
    swfwriter::WriteMatrix(text, swfwriter::Matrix::Translate(20, 0));
    text.U8(2); // glyph bits
    text.U8(9); // advance bits
    // First record: font, colour (RGB), x offset, height, two glyphs.
    text.U8(0x80 | 0x08 | 0x04 | 0x01);
    text.U16(7);
    swfwriter::WriteColor(text, {255, 128, 0}, false);
    text.S16(-40);
    text.U16(400);
    text.U8(2);
    text.UBits(1, 2);
    text.SBits(200, 9);
    text.UBits(3, 2);
    text.SBits(-100, 9);
    text.Align();
    // Second record: a y offset only, one glyph.
    text.U8(0x80 | 0x02);
    text.S16(480);
    text.U8(1);
    text.UBits(0, 2);
    text.SBits(0, 9);
    text.Align();
    text.U8(0); // end of records

    const auto parser = ParseTags({{swf::tag::DefineText, text.Take()}});
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const auto& parsed = std::get<swf::Text>(parser->GetMovie().Find(9)->data);
    EXPECT_EQ(parsed.matrix.translateX, 20);
    ASSERT_EQ(parsed.records.size(), 2u);
    const auto& first = parsed.records[0];
    EXPECT_EQ(first.fontId, 7);
    EXPECT_EQ(first.color, (swf::Rgba{255, 128, 0, 255}));
    EXPECT_EQ(first.xOffset, -40);
    EXPECT_FALSE(first.yOffset);
    EXPECT_EQ(first.height, 400);
    ASSERT_EQ(first.glyphs.size(), 2u);
    EXPECT_EQ(first.glyphs[1].index, 3u);
    EXPECT_EQ(first.glyphs[1].advance, -100);
    const auto& second = parsed.records[1];
    EXPECT_FALSE(second.fontId);
    EXPECT_EQ(second.yOffset, 480);
    EXPECT_EQ(second.glyphs.size(), 1u);
}

TEST(TextReader, EditTextKeepsItsLayoutVariableAndText) {
    BitWriter edit;
    edit.U16(11);
    swfwriter::WriteRect(edit, 0, 2000, 0, 400);
    edit.U8(0x80 | 0x20 | 0x04 | 0x02 | 0x01); // text, multiline, colour, max length, font
    edit.U8(0x20 | 0x08 | 0x02);               // layout, border, HTML
    edit.U16(7);                               // font
    edit.U16(240);                             // height
    swfwriter::WriteColor(edit, {0, 0, 0, 255}, true);
    edit.U16(64);  // max length
    edit.U8(2);    // centred
    edit.U16(40);  // left margin
    edit.U16(60);  // right margin
    edit.U16(20);  // indent
    edit.S16(-10); // leading
    edit.String("score");
    edit.String("<b>0</b>");

    const auto parser = ParseTags({{swf::tag::DefineEditText, edit.Take()}});
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const auto& parsed = std::get<swf::EditText>(parser->GetMovie().Find(11)->data);
    EXPECT_TRUE(parsed.multiline);
    EXPECT_FALSE(parsed.wordWrap);
    EXPECT_TRUE(parsed.border);
    EXPECT_TRUE(parsed.html);
    EXPECT_EQ(parsed.fontId, 7);
    EXPECT_EQ(parsed.fontHeight, 240);
    EXPECT_EQ(parsed.maxLength, 64);
    EXPECT_EQ(parsed.align, 2);
    EXPECT_EQ(parsed.rightMargin, 60);
    EXPECT_EQ(parsed.leading, -10);
    EXPECT_EQ(parsed.variableName, "score");
    EXPECT_EQ(parsed.initialText, "<b>0</b>");
}

} // namespace
