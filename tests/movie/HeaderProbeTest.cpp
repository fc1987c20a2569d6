// The header probe: the stage rectangle's bit fields, the start of a zlib
// stream inflated a byte at a time, and whole files made by the project's
// SWF writer, plain and compressed, short and damaged.
#include <gtest/gtest.h>
#include <zlib.h>

#include <array>

#include "movie/HeaderProbe.h"
#include "playertest/PlayerFixture.h"
#include "swfwriter/BitWriter.h"
#include "swfwriter/MovieWriter.h"

namespace {

using player::DecodeStageRectangle;
using player::ProbeMovieFile;
using player::StageSize;

std::vector<std::uint8_t> Rectangle(unsigned n, std::int32_t xMin, std::int32_t xMax,
                                    std::int32_t yMin, std::int32_t yMax) {
    swfwriter::BitWriter bits;
    bits.UBits(n, 5);
    for (const std::int32_t value : {xMin, xMax, yMin, yMax}) {
        bits.SBits(value, n);
    }
    bits.Align();
    return bits.Take();
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& bytes) {
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::vector<std::uint8_t> out(size);
    compress(out.data(), &size, bytes.data(), static_cast<uLong>(bytes.size()));
    out.resize(size);
    return out;
}

TEST(StageRectangleTest, TheExampleRectangleIs550By400) {
    const std::vector<std::uint8_t> bytes{0x78, 0x00, 0x05, 0x5F, 0x00, 0x00, 0x0F, 0xA0, 0x00};
    const auto rectangle = DecodeStageRectangle(bytes);
    ASSERT_TRUE(rectangle);
    EXPECT_EQ(rectangle->xMin, 0);
    EXPECT_EQ(rectangle->xMax, 550 * 20);
    EXPECT_EQ(rectangle->yMin, 0);
    EXPECT_EQ(rectangle->yMax, 400 * 20);
    const auto size = StageSize(*rectangle);
    EXPECT_EQ(size.stageWidth, 550u);
    EXPECT_EQ(size.stageHeight, 400u);
}

TEST(StageRectangleTest, SignedFieldsAndTheirWidths) {
    // A negative x-min: the width is the difference.
    const auto shifted = DecodeStageRectangle(Rectangle(14, -200, 240 * 20 - 200, -1, 4799));
    ASSERT_TRUE(shifted);
    EXPECT_EQ(shifted->xMin, -200);
    EXPECT_EQ(StageSize(*shifted).stageWidth, 240u);
    EXPECT_EQ(StageSize(*shifted).stageHeight, 240u);
    // n = 0: four empty fields.
    const auto empty = DecodeStageRectangle(std::vector<std::uint8_t>{0x00});
    ASSERT_TRUE(empty);
    EXPECT_EQ(StageSize(*empty).stageWidth, 0u);
    EXPECT_EQ(StageSize(*empty).stageHeight, 0u);
    // The widest fields, 31 bits, at their extremes.
    const auto widest = DecodeStageRectangle(Rectangle(31, -0x40000000, 0x3FFFFFFF, 0, 20));
    ASSERT_TRUE(widest);
    EXPECT_EQ(widest->xMin, -0x40000000);
    EXPECT_EQ(widest->xMax, 0x3FFFFFFF);
    EXPECT_EQ(StageSize(*widest).stageHeight, 1u);
}

TEST(StageRectangleTest, BytesThatEndInsideTheFieldsGiveNoRectangle) {
    std::vector<std::uint8_t> bytes = Rectangle(15, 0, 11000, 0, 8000);
    bytes.pop_back();
    EXPECT_FALSE(DecodeStageRectangle(bytes));
    EXPECT_FALSE(DecodeStageRectangle(std::vector<std::uint8_t>{}));
}

TEST(InflateStartTest, TakesTheFirst64BytesOneByteAtATime) {
    std::vector<std::uint8_t> plain(300);
    for (std::size_t i = 0; i < plain.size(); ++i) {
        plain[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    std::array<std::uint8_t, player::kInflatedSize> out{};
    EXPECT_EQ(player::InflateStart(Deflate(plain), out), 64u);
    EXPECT_TRUE(std::equal(out.begin(), out.end(), plain.begin()));
}

TEST(InflateStartTest, ADamagedOrShortStreamStopsWhereItFails) {
    std::array<std::uint8_t, player::kInflatedSize> out{};
    // Not a zlib stream at all: nothing comes out, the buffer keeps its mark.
    const std::vector<std::uint8_t> noise(100, 0xFF);
    EXPECT_EQ(player::InflateStart(noise, out), 0u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(out.data())), "garbage");
    // A whole short stream comes out whole.
    const std::vector<std::uint8_t> few{1, 2, 3, 4, 5};
    EXPECT_EQ(player::InflateStart(Deflate(few), out), 5u);
    EXPECT_EQ(out[4], 5);
    // No input at all.
    EXPECT_EQ(player::InflateStart(std::vector<std::uint8_t>{}, out), 0u);
}

// Whole files, on a device's storage.
class ProbeFileTest : public playertest::PlayerFixture {
protected:
    std::optional<player::SwfHeaderInfo> Probe(const std::vector<std::uint8_t>& bytes,
                                               std::string* line = nullptr) {
        WriteFile(u"\\movie.swf", bytes);
        ::testing::internal::CaptureStdout();
        auto info = ProbeMovieFile(u"\\movie.swf");
        const std::string written = ::testing::internal::GetCapturedStdout();
        if (line != nullptr) {
            *line = written;
        }
        return info;
    }

    static std::vector<std::uint8_t> Movie(swfwriter::Compression compression, int width = 550,
                                           int height = 400) {
        swfwriter::MovieWriter movie(8, width, height, 12.0);
        movie.ShowFrame();
        return movie.Finish(compression);
    }
};

TEST_F(ProbeFileTest, PlainAndCompressedMoviesGiveTheirStage) {
    std::string line;
    const std::vector<std::uint8_t> plain = Movie(swfwriter::Compression::None);
    const auto info = Probe(plain, &line);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->stageWidth, 550u);
    EXPECT_EQ(info->stageHeight, 400u);
    EXPECT_EQ(info->version, 8);
    EXPECT_EQ(line, "F W S 8 " + std::to_string(plain.size()) + " 0");

    const std::vector<std::uint8_t> packed = Movie(swfwriter::Compression::Zlib, 320, 240);
    const auto unpacked = Probe(packed, &line);
    ASSERT_TRUE(unpacked);
    EXPECT_EQ(unpacked->stageWidth, 320u);
    EXPECT_EQ(unpacked->stageHeight, 240u);
    // The header gives the length the whole movie has once inflated.
    EXPECT_EQ(line.substr(0, 8), "C W S 8 ");
    EXPECT_EQ(line.substr(line.size() - 2), " 0");
}

TEST_F(ProbeFileTest, AFileThatDoesNotOpenWritesNoLine) {
    ::testing::internal::CaptureStdout();
    EXPECT_FALSE(ProbeMovieFile(u"\\no such movie.swf"));
    EXPECT_FALSE(ProbeMovieFile(u"http://example.com/movie.swf"));
    EXPECT_FALSE(ProbeMovieFile(u""));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
}

TEST_F(ProbeFileTest, ShortAndDamagedFilesLeaveTheStageUnknown) {
    const std::vector<std::uint8_t> plain = Movie(swfwriter::Compression::None);
    // Cut inside the rectangle.
    const auto cut = Probe(std::vector<std::uint8_t>(plain.begin(), plain.begin() + 10));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->stageWidth, 0u);
    EXPECT_EQ(cut->stageHeight, 0u);
    EXPECT_EQ(cut->version, 8);
    // Nothing but a part of the header.
    const auto tiny = Probe(std::vector<std::uint8_t>{'F', 'W'});
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->stageWidth, 0u);
    EXPECT_EQ(tiny->version, 0);
    // A compressed movie whose stream is damaged.
    std::vector<std::uint8_t> packed = Movie(swfwriter::Compression::Zlib);
    std::fill(packed.begin() + 8, packed.end(), 0xFF);
    const auto damaged = Probe(packed);
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->stageWidth, 0u);
    EXPECT_EQ(damaged->stageHeight, 0u);
    // An empty file.
    const auto empty = Probe({});
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->stageWidth, 0u);
}

} // namespace
