// Buttons and bitmaps in the forms the writer does not make, field by field.
#include "swf/format/DefinitionReader.h"

#include <gtest/gtest.h>

#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swfwriter/RecordWriter.h"

namespace {

using swfwriter::BitWriter;

std::unique_ptr<swf::MovieParser>
ParseTags(const std::vector<std::pair<std::uint16_t, std::vector<std::uint8_t>>>& tags) {
    swfwriter::MovieWriter movie(8, 100, 100, 12);
    for (const auto& [code, body] : tags) {
        movie.Tag(code, body);
    }
    movie.ShowFrame();
    return testmovies::Parse(movie.Finish());
}

TEST(DefinitionReader, ButtonsKeepTheirStatesTransformsAndActions) {
    BitWriter button;
    button.U16(3);
    button.U8(0x0A); // hit test and over
    button.U16(1);   // character
    button.U16(2);   // depth
    swfwriter::WriteMatrix(button, swfwriter::Matrix::Translate(40, 60));
    button.U8(0);    // end of records
    button.U8(0x07); // actions: Stop
    button.U8(0x00); //          end

    BitWriter cxform;
    cxform.U16(3);
    swfwriter::ColorTransform half;
    half.multR = 128;
    swfwriter::WriteColorTransform(cxform, half, false);

    BitWriter button2;
    button2.U16(4);
    button2.U8(0x01);                      // track as menu
    button2.U16(0);                        // no separate action offset
    button2.U8(0x20 | 0x10 | 0x04 | 0x01); // blend mode, filters, down, up
    button2.U16(1);
    button2.U16(5);
    swfwriter::WriteMatrix(button2, {});
    swfwriter::WriteColorTransform(button2, half, true);
    button2.U8(1); // one filter
    button2.U8(1); // blur
    button2.Fixed16(4.0);
    button2.Fixed16(2.0);
    button2.U8(2 << 3); // two passes
    button2.U8(3);      // multiply
    button2.U8(0);      // end of records

    const auto parser = ParseTags({{swf::tag::DefineButton, button.Take()},
                                   {swf::tag::DefineButtonCxform, cxform.Take()},
                                   {swf::tag::DefineButton2, button2.Take()}});
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const auto& first = std::get<swf::Button>(parser->GetMovie().Find(3)->data);
    ASSERT_EQ(first.records.size(), 1u);
    const auto& record = first.records[0];
    EXPECT_TRUE(record.hitTest);
    EXPECT_FALSE(record.down);
    EXPECT_TRUE(record.over);
    EXPECT_FALSE(record.up);
    EXPECT_EQ(record.characterId, 1);
    EXPECT_EQ(record.depth, 2);
    EXPECT_EQ(record.matrix.translateY, 60);
    EXPECT_EQ(first.actions, (std::vector<std::uint8_t>{0x07, 0x00}));
    ASSERT_TRUE(first.legacyColorTransform);
    EXPECT_EQ(first.legacyColorTransform->multR, 128);

    const auto& second = std::get<swf::Button>(parser->GetMovie().Find(4)->data);
    EXPECT_EQ(second.version, 2);
    EXPECT_TRUE(second.trackAsMenu);
    ASSERT_EQ(second.records.size(), 1u);
    EXPECT_TRUE(second.records[0].up);
    EXPECT_TRUE(second.records[0].down);
    EXPECT_FALSE(second.records[0].over);
    EXPECT_FALSE(second.records[0].hitTest);
    EXPECT_EQ(second.records[0].colorTransform.multR, 128);
    ASSERT_EQ(second.records[0].filters.size(), 1u);
    EXPECT_DOUBLE_EQ(second.records[0].filters[0].blurY, 2.0);
    EXPECT_EQ(second.records[0].filters[0].passes, 2);
    EXPECT_EQ(second.records[0].blendMode, 3);
    EXPECT_TRUE(second.actions.empty());
}

TEST(DefinitionReader, BitmapsKeepTheirEncodedData) {
    BitWriter tables;
    tables.Bytes(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xD9});
    BitWriter bits;
    bits.U16(1);
    bits.Bytes(std::vector<std::uint8_t>{0xFF, 0xD8, 1, 2, 0xFF, 0xD9});
    BitWriter jpeg3;
    jpeg3.U16(2);
    jpeg3.U32(4); // image bytes
    jpeg3.Bytes(std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xD9});
    jpeg3.Bytes(std::vector<std::uint8_t>{0x78, 0x9C, 0x03}); // alpha
    BitWriter jpeg4;
    jpeg4.U16(3);
    jpeg4.U32(2);
    jpeg4.U16(0x0180); // deblocking 1.5
    jpeg4.Bytes(std::vector<std::uint8_t>{0xAA, 0xBB, 0xCC});
    BitWriter mapped;
    mapped.U16(4);
    mapped.U8(3);  // colour-mapped
    mapped.U16(5); // width
    mapped.U16(6); // height
    mapped.U8(15); // 16 colours
    mapped.Bytes(std::vector<std::uint8_t>{0x78, 0x9C});

    const auto parser = ParseTags({{swf::tag::JpegTables, tables.Take()},
                                   {swf::tag::DefineBits, bits.Take()},
                                   {swf::tag::DefineBitsJpeg3, jpeg3.Take()},
                                   {swf::tag::DefineBitsJpeg4, jpeg4.Take()},
                                   {swf::tag::DefineBitsLossless, mapped.Take()}});
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const swf::Movie& movie = parser->GetMovie();
    EXPECT_EQ(movie.jpegTables, (std::vector<std::uint8_t>{0xFF, 0xD8, 0xFF, 0xD9}));
    const auto& shared = std::get<swf::Bitmap>(movie.Find(1)->data);
    EXPECT_EQ(shared.kind, swf::BitmapKind::JpegWithSharedTables);
    EXPECT_EQ(shared.imageData.size(), 6u);
    const auto& withAlpha = std::get<swf::Bitmap>(movie.Find(2)->data);
    EXPECT_EQ(withAlpha.kind, swf::BitmapKind::JpegWithAlpha);
    EXPECT_EQ(withAlpha.imageData.size(), 4u);
    EXPECT_EQ(withAlpha.alphaData, (std::vector<std::uint8_t>{0x78, 0x9C, 0x03}));
    const auto& deblocked = std::get<swf::Bitmap>(movie.Find(3)->data);
    EXPECT_DOUBLE_EQ(deblocked.deblocking, 1.5);
    EXPECT_EQ(deblocked.imageData, (std::vector<std::uint8_t>{0xAA, 0xBB}));
    EXPECT_EQ(deblocked.alphaData, (std::vector<std::uint8_t>{0xCC}));
    const auto& lossless = std::get<swf::Bitmap>(movie.Find(4)->data);
    EXPECT_EQ(lossless.kind, swf::BitmapKind::Lossless);
    EXPECT_EQ(lossless.losslessFormat, 3);
    EXPECT_EQ(lossless.colorTableSize, 16);
    EXPECT_EQ(lossless.width, 5);
    EXPECT_EQ(lossless.height, 6);
}

TEST(DefinitionReader, BitmapsThatLieAboutTheirLayoutAreErrors) {
    BitWriter jpeg3;
    jpeg3.U16(2);
    jpeg3.U32(1000); // more image bytes than the tag holds
    jpeg3.Bytes(std::vector<std::uint8_t>{1, 2, 3});
    auto parser = ParseTags({{swf::tag::DefineBitsJpeg3, jpeg3.Take()}});
    ASSERT_TRUE(parser->Failure());
    EXPECT_NE(parser->Failure()->message.find("bitmap 2"), std::string::npos);

    BitWriter lossless;
    lossless.U16(4);
    lossless.U8(7); // no such format
    lossless.U16(1);
    lossless.U16(1);
    parser = ParseTags({{swf::tag::DefineBitsLossless2, lossless.Take()}});
    ASSERT_TRUE(parser->Failure());
    EXPECT_NE(parser->Failure()->message.find("unknown lossless bitmap format"), std::string::npos);
}

} // namespace
