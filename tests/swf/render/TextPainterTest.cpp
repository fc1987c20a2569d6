// Edit fields drawn in their box: the embedded font's glyphs or the
// device's font, aligned, with a border, and their HTML reduced to text.
#include "swf/render/FieldText.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "RenderHelpers.h"
#include "swfwriter/BlockFont.h"

namespace {

using namespace swfwriter;

struct FieldSetup {
    std::uint16_t fontId = 0;
    bool outlines = true;
    bool border = true;
    bool html = false;
    std::uint8_t align = 0; // 0 left, 1 right, 2 centre
    std::string text;
    std::vector<FontKerning> kerning = {};
};

// A DefineEditText body (after its id) with a box of 0..2000 x 0..600 twips,
// a 20-pixel font and blue text.
std::vector<std::uint8_t> EditTextBody(const FieldSetup& field) {
    BitWriter out;
    const std::int32_t box[] = {0, 2000, 0, 600};
    out.UBits(13, 5);
    for (std::int32_t v : box) {
        out.SBits(v, 13);
    }
    out.Align();
    out.U8(0x80 | 0x04 | 0x01); // has text, colour and font
    out.U8(0x20 | (field.border ? 0x08 : 0) | (field.html ? 0x02 : 0) |
           (field.outlines ? 0x01 : 0));
    out.U16(field.fontId);
    out.U16(400);
    for (std::uint8_t c : {0, 0, 255, 255}) {
        out.U8(c);
    }
    out.U8(field.align);
    out.U16(0); // margins, indent, leading
    out.U16(0);
    out.U16(0);
    out.U16(0);
    out.String("field");
    out.String(field.text);
    return out.Take();
}

// The field placed at (10, 10) on a white 120 x 50 stage.
std::unique_ptr<swf::MovieView> RenderField(FieldSetup field, bool deviceFont = false) {
    MovieWriter movie(8, 120, 50, 12);
    movie.SetBackground({255, 255, 255});
    field.fontId = deviceFont ? movie.DefineFont("_sans", {})
                              : movie.DefineFont("Blocks", BlockFontGlyphs(), field.kerning);
    const auto fieldId = movie.DefineRaw(37, EditTextBody(field));
    movie.Place(1, fieldId, {.matrix = Matrix::Translate(200, 200)});
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    auto played = rendertest::Play(bytes);
    return rendertest::RenderAtStageSize(played.Movie(), 1);
}

// The columns that hold text-coloured (blue) pixels.
std::pair<int, int> BlueColumns(const swf::MovieView& view) {
    int first = view.Width(), last = -1;
    for (int y = 0; y < view.Height(); ++y) {
        for (int x = 0; x < view.Width(); ++x) {
            const std::uint32_t p = view.Pixel(x, y);
            if (rendertest::Blue(p) > 200 && rendertest::Red(p) < 60) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    return {first, last};
}

TEST(EditText, EmbeddedFontTextSitsInItsBorderedBox) {
    const auto view = RenderField({.text = "HI"});
    // The black border around the box (10..110, 10..40), white inside.
    EXPECT_LT(rendertest::Red(view->Pixel(60, 10)), 80);
    EXPECT_LT(rendertest::Red(view->Pixel(10, 25)), 80);
    EXPECT_EQ(rendertest::Red(view->Pixel(100, 35)), 255);
    // Left aligned: the text starts two pixels inside the box.
    const auto [first, last] = BlueColumns(*view);
    EXPECT_GE(first, 12);
    EXPECT_LE(first, 14);
    EXPECT_LT(last, 60);
}

TEST(EditText, AlignmentMovesTheLine) {
    const auto left = BlueColumns(*RenderField({.align = 0, .text = "HI"}));
    const auto right = BlueColumns(*RenderField({.align = 1, .text = "HI"}));
    const auto centre = BlueColumns(*RenderField({.align = 2, .text = "HI"}));
    EXPECT_GE(right.second, 100);
    EXPECT_LE(right.second, 108);
    EXPECT_EQ(right.second - right.first, left.second - left.first);
    // Centred: as far from the middle of the box on each side.
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 60.0, 2.0);
}

TEST(EditText, DeviceFontDrawsWhenTheMovieEmbedsNone) {
    const auto [first, last] =
        BlueColumns(*RenderField({.outlines = false, .text = "Hello"}, true));
    EXPECT_GE(first, 12);
    EXPECT_GT(last, first + 20); // five letters of a 20-pixel font
    EXPECT_LT(last, 110);
}

TEST(EditText, HtmlIsReducedToItsText) {
    swf::EditText field;
    field.html = true;
    field.initialText = "<p align=\"left\"><font face=\"x\">A &amp; B</font></p><p>C<br>D&lt;</p>";
    EXPECT_EQ(swf::PlainFieldText(field), "A & B\nC\nD<");
    field.html = false;
    EXPECT_EQ(swf::PlainFieldText(field), *field.initialText);
    field.html = true;
    field.initialText = "cut <b";
    EXPECT_EQ(swf::PlainFieldText(field), "cut ");
}

TEST(EditText, KerningAndLetterSpacingMoveTheCharactersAsTheFieldAsks) {
    // H and I drawn 300 units (about 6 pixels of a 20-pixel font) nearer.
    const std::vector<FontKerning> pairs{{'H', 'I', -300}};
    const auto last = [&](const std::string& html) {
        return BlueColumns(*RenderField({.html = true, .text = html, .kerning = pairs})).second;
    };
    const int plain = last("<p><font kerning=\"0\">HIH</font></p>");
    const int kerned = last("<p><font kerning=\"1\">HIH</font></p>");
    const int spaced = last("<p><font letterspacing=\"3\" kerning=\"0\">HIH</font></p>");
    EXPECT_NEAR(plain - kerned, 6, 1);
    EXPECT_NEAR(spaced - plain, 6, 1); // 3 pixels after each of the first two
    EXPECT_EQ(plain, last("HIH"));     // plain text has neither
}

TEST(EditText, FlashDeviceFontNamesFindADeviceFaceOfTheirKind) {
    EXPECT_EQ(swf::DeviceFontFamily("_sans"), "DejaVu Sans");
    EXPECT_EQ(swf::DeviceFontFamily("_SERIF"), "DejaVu Serif");
    EXPECT_EQ(swf::DeviceFontFamily("_typewriter"), "DejaVu Sans Mono");
    EXPECT_EQ(swf::DeviceFontFamily("_\xe7\xad\x89\xe5\xb9\x85"), "DejaVu Sans Mono");
    EXPECT_EQ(swf::DeviceFontFamily("Times New Roman"), "DejaVu Serif");
    EXPECT_EQ(swf::DeviceFontFamily("Courier New"), "DejaVu Sans Mono");
    EXPECT_EQ(swf::DeviceFontFamily("Arial"), "DejaVu Sans");
    EXPECT_EQ(swf::DeviceFontFamily("MS Sans Serif"), "DejaVu Sans");
}

} // namespace

namespace {

// Static text placed off whole pixels, with CSMTextSettings fitting it to
// the pixel grid (gridFit 1) or not.
std::vector<std::uint32_t> StaticText(std::int32_t xTwips, bool fitted) {
    MovieWriter movie(8, 120, 40, 12);
    movie.SetBackground({255, 255, 255});
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    const auto text = movie.DefineText({{font, 360, {0, 0, 255}, 0, 0, "HI"}});
    BitWriter settings;
    settings.U16(text);
    settings.U8(fitted ? (1 << 6) | (1 << 3) : 0); // advanced, whole pixels
    settings.Float(0);
    settings.Float(0);
    settings.U8(0);
    movie.Tag(74, settings.Data());
    movie.Place(1, text, {.matrix = Matrix::Translate(xTwips, 500)});
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    auto played = rendertest::Play(bytes);
    const auto view = rendertest::RenderAtStageSize(played.Movie(), 1);
    return {view->Pixels().begin(), view->Pixels().end()};
}

TEST(StaticText, TextFittedToThePixelGridDrawsAlikeAtNearbyPositions) {
    // 10.1 and 10.4 pixels from the left both fit to pixel 10.
    EXPECT_EQ(StaticText(202, true), StaticText(208, true));
    EXPECT_NE(StaticText(202, false), StaticText(208, false));
}

} // namespace
