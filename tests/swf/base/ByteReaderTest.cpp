#include "swf/base/ByteReader.h"

#include <gtest/gtest.h>

#include "swfwriter/BitWriter.h"

namespace {

TEST(ByteReader, ReadsLittleEndianFieldsAndMsbFirstBitFields) {
    // 0x34 0x12: U16 0x1234; then bits 101 (5), 1101 (-3 as SB4), padding.
    const std::uint8_t bytes[] = {0x34, 0x12, 0xBA, 0x78, 0x56, 0x34, 0x12};
    swf::ByteReader reader(bytes);
    EXPECT_EQ(reader.U16(), 0x1234);
    EXPECT_EQ(reader.UBits(3), 5u);
    EXPECT_EQ(reader.SBits(4), -3);
    // A byte read drops the last bit of 0xBA.
    EXPECT_EQ(reader.U32(), 0x12345678u);
    EXPECT_TRUE(reader.Ok());
    EXPECT_TRUE(reader.AtEnd());
}

TEST(ByteReader, SignedBitFieldsRoundTripThroughTheWriter) {
    swfwriter::BitWriter writer;
    const std::int32_t values[] = {0, 1, -1, 255, -256, 65535, -65536, 0x3FFFFFFF, -0x40000000};
    for (const std::int32_t value : values) {
        const unsigned bits = swfwriter::SignedBits(value);
        writer.UBits(bits, 5);
        writer.SBits(value, bits);
    }
    const auto data = writer.Take();
    swf::ByteReader reader(data);
    for (const std::int32_t value : values) {
        const unsigned bits = reader.UBits(5);
        EXPECT_EQ(reader.SBits(bits), value) << "in " << bits << " bits";
    }
    EXPECT_TRUE(reader.Ok());
}

TEST(ByteReader, ReadingPastTheEndFailsWithTheOffsetAndYieldsZero) {
    const std::uint8_t bytes[] = {1, 2, 3};
    swf::ByteReader reader(bytes, 100);
    EXPECT_EQ(reader.U16(), 0x0201);
    EXPECT_EQ(reader.U32(), 0u);
    EXPECT_FALSE(reader.Ok());
    EXPECT_EQ(reader.Failure("test").offset, 102u);
    // Later reads stay failed and do not move past the data.
    EXPECT_EQ(reader.U8(), 0);
    EXPECT_TRUE(reader.Bytes(1).empty());
    EXPECT_EQ(reader.UBits(8), 0u);
    EXPECT_FALSE(reader.Ok());
}

TEST(ByteReader, StringsNeedTheirTerminator) {
    const std::uint8_t good[] = {'a', 'b', 0, 'c'};
    swf::ByteReader reader(good);
    EXPECT_EQ(reader.String(), "ab");
    EXPECT_EQ(reader.U8(), 'c');

    const std::uint8_t unterminated[] = {'a', 'b'};
    swf::ByteReader bad(unterminated);
    EXPECT_EQ(bad.String(), "");
    EXPECT_FALSE(bad.Ok());
}

TEST(ByteReader, SubReaderIsConfinedToItsRange) {
    const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
    swf::ByteReader reader(bytes, 10);
    reader.U8();
    swf::ByteReader sub = reader.Sub(2);
    EXPECT_EQ(sub.Offset(), 11u);
    EXPECT_EQ(sub.U16(), 0x0302);
    EXPECT_EQ(sub.U8(), 0);
    EXPECT_FALSE(sub.Ok());
    EXPECT_TRUE(reader.Ok());
    EXPECT_EQ(reader.U8(), 4);

    swf::ByteReader tooLong = reader.Sub(5);
    EXPECT_FALSE(tooLong.Ok());
    EXPECT_FALSE(reader.Ok());
}

TEST(ByteReader, BitFieldsWiderThan32BitsAreRefused) {
    const std::uint8_t bytes[8] = {};
    swf::ByteReader reader(bytes);
    reader.UBits(33);
    EXPECT_FALSE(reader.Ok());
}

} // namespace
