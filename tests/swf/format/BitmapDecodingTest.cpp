// The bitmap decoders: each lossless format, JPEG alone, with shared tables
// and with an alpha plane, GIF and PNG inside the JPEG tags; and damaged or
// oversized images, which give errors without reading or allocating past
// their bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <jpeglib.h>
#include <zlib.h>

#include "swf/format/BitmapDecoding.h"
#include "swf/format/ImageCodecs.h"

namespace {

using swf::Bitmap;
using swf::BitmapKind;
using swf::PackPixel;

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data) {
    uLongf size = compressBound(data.size());
    std::vector<std::uint8_t> out(size);
    EXPECT_EQ(compress(out.data(), &size, data.data(), data.size()), Z_OK);
    out.resize(size);
    return out;
}

Bitmap Lossless(BitmapKind kind, std::uint8_t format, std::uint16_t width, std::uint16_t height,
                const std::vector<std::uint8_t>& pixels, std::uint16_t colors = 0) {
    Bitmap bitmap;
    bitmap.kind = kind;
    bitmap.losslessFormat = format;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.colorTableSize = colors;
    bitmap.imageData = Deflate(pixels);
    return bitmap;
}

// A solid-colour JPEG made with libjpeg.
std::vector<std::uint8_t> EncodeJpeg(int width, int height, std::uint8_t r, std::uint8_t g,
                                     std::uint8_t b) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = width;
    info.image_height = height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<std::uint8_t> row;
    for (int x = 0; x < width; ++x) {
        row.push_back(r);
        row.push_back(g);
        row.push_back(b);
    }
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// Splits a JPEG into a tables stream (SOI, the DQT and DHT segments, EOI)
// and an image stream without them, as DefineBits and JPEGTables hold it.
std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>>
SplitTables(const std::vector<std::uint8_t>& jpeg) {
    std::vector<std::uint8_t> tables{0xFF, 0xD8};
    std::vector<std::uint8_t> image{0xFF, 0xD8};
    std::size_t at = 2;
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA) {
        const std::size_t length = (jpeg[at + 2] << 8) | jpeg[at + 3];
        auto& to = (jpeg[at + 1] == 0xDB || jpeg[at + 1] == 0xC4) ? tables : image;
        to.insert(to.end(), jpeg.begin() + at, jpeg.begin() + at + 2 + length);
        at += 2 + length;
    }
    image.insert(image.end(), jpeg.begin() + at, jpeg.end());
    tables.push_back(0xFF);
    tables.push_back(0xD9);
    return {tables, image};
}

void ExpectNear(std::uint32_t pixel, std::uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8) {
        EXPECT_NEAR(int((pixel >> shift) & 0xFF), int((expected >> shift) & 0xFF), tolerance)
            << std::hex << pixel << " vs " << expected;
    }
}

TEST(BitmapDecoding, LosslessFormatsGiveTheirPixels) {
    // Colour-mapped, 2 x 2: rows padded to 4 bytes; index 7 is past the table.
    const auto mapped = swf::DecodeBitmap(
        Lossless(BitmapKind::Lossless, 3, 2, 2,
                 {255, 0, 0, 0, 0, 255, /* row 0 */ 0, 1, 0, 0, /* row 1 */ 1, 7, 0, 0}, 2),
        {});
    ASSERT_TRUE(mapped) << mapped.GetError().message;
    EXPECT_EQ(mapped->At(0, 0), PackPixel(255, 255, 0, 0));
    EXPECT_EQ(mapped->At(1, 0), PackPixel(255, 0, 0, 255));
    EXPECT_EQ(mapped->At(0, 1), PackPixel(255, 0, 0, 255));
    EXPECT_EQ(mapped->At(1, 1), 0u);

    // 15-bit: 0x7C00 is full red, 0x03E0 full green; one pixel per row, padded.
    const auto rgb15 = swf::DecodeBitmap(
        Lossless(BitmapKind::Lossless, 4, 1, 2, {0x7C, 0x00, 0, 0, 0x03, 0xE0, 0, 0}), {});
    ASSERT_TRUE(rgb15) << rgb15.GetError().message;
    EXPECT_EQ(rgb15->At(0, 0), PackPixel(255, 255, 0, 0));
    EXPECT_EQ(rgb15->At(0, 1), PackPixel(255, 0, 255, 0));

    // 32-bit with alpha, stored premultiplied; a colour above its alpha is held to it.
    const auto argb = swf::DecodeBitmap(
        Lossless(BitmapKind::LosslessWithAlpha, 5, 2, 1, {128, 100, 50, 0, 10, 200, 0, 0}), {});
    ASSERT_TRUE(argb) << argb.GetError().message;
    EXPECT_EQ(argb->At(0, 0), PackPixel(128, 100, 50, 0));
    EXPECT_EQ(argb->At(1, 0), PackPixel(10, 10, 0, 0));

    // Without alpha the first byte is ignored.
    const auto rgb = swf::DecodeBitmap(Lossless(BitmapKind::Lossless, 5, 1, 1, {0, 1, 2, 3}), {});
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->At(0, 0), PackPixel(255, 1, 2, 3));
}

TEST(BitmapDecoding, DamagedOrHugeLosslessBitmapsAreRefused) {
    // Short data: 4 bytes where a 2 x 2 bitmap needs 16.
    EXPECT_FALSE(swf::DecodeBitmap(Lossless(BitmapKind::Lossless, 5, 2, 2, {1, 2, 3, 4}), {}));
    // Not zlib at all.
    Bitmap garbage = Lossless(BitmapKind::Lossless, 5, 1, 1, {1, 2, 3, 4});
    garbage.imageData = {1, 2, 3};
    EXPECT_FALSE(swf::DecodeBitmap(garbage, {}));
    // Sizes past the limits are refused before anything is inflated.
    EXPECT_FALSE(swf::DecodeBitmap(Lossless(BitmapKind::Lossless, 5, 62525, 17173, {0}), {}));
    EXPECT_FALSE(swf::DecodeBitmap(Lossless(BitmapKind::Lossless, 5, 0, 10, {}), {}));
    // Unknown formats, empty colour tables, 15 bits with alpha.
    EXPECT_FALSE(swf::DecodeBitmap(Lossless(BitmapKind::Lossless, 6, 1, 1, {0, 0, 0, 0}), {}));
    EXPECT_FALSE(swf::DecodeBitmap(Lossless(BitmapKind::Lossless, 3, 1, 1, {0, 0, 0, 0}, 0), {}));
    EXPECT_FALSE(
        swf::DecodeBitmap(Lossless(BitmapKind::LosslessWithAlpha, 4, 1, 1, {0, 0, 0, 0}), {}));
}

TEST(BitmapDecoding, JpegAloneWithSharedTablesAndWithAnAlphaPlane) {
    const auto jpeg = EncodeJpeg(16, 8, 200, 40, 10);
    Bitmap whole;
    whole.kind = BitmapKind::Jpeg;
    whole.imageData = jpeg;
    const auto plain = swf::DecodeBitmap(whole, {});
    ASSERT_TRUE(plain) << plain.GetError().message;
    EXPECT_EQ(plain->width, 16);
    EXPECT_EQ(plain->height, 8);
    ExpectNear(plain->At(7, 3), PackPixel(255, 200, 40, 10), 4);

    // The tables apart, and the image after the end-and-start markers that
    // older movies put in front.
    const auto [tables, image] = SplitTables(jpeg);
    Bitmap shared;
    shared.kind = BitmapKind::JpegWithSharedTables;
    shared.imageData = image;
    // 0xFF 0xD9 0xFF 0xD8 in front of its own start marker.
    shared.imageData[1] = 0xD9;
    for (std::uint8_t byte : {0xD8, 0xFF}) {
        shared.imageData.insert(shared.imageData.begin() + 2, byte);
    }
    const auto joined = swf::DecodeBitmap(shared, tables);
    ASSERT_TRUE(joined) << joined.GetError().message;
    ExpectNear(joined->At(0, 0), PackPixel(255, 200, 40, 10), 4);
    // Without its tables the image cannot be decoded.
    EXPECT_FALSE(swf::DecodeBitmap(shared, {}));

    // An alpha plane: the colours are held to the alpha, the plane's rows
    // beyond what it holds stay opaque.
    Bitmap withAlpha;
    withAlpha.kind = BitmapKind::JpegWithAlpha;
    withAlpha.imageData = jpeg;
    std::vector<std::uint8_t> alpha(16 * 4, 100);
    withAlpha.alphaData = Deflate(alpha);
    const auto faded = swf::DecodeBitmap(withAlpha, {});
    ASSERT_TRUE(faded) << faded.GetError().message;
    ExpectNear(faded->At(0, 0), PackPixel(100, 100, 40, 10), 4);
    EXPECT_EQ(faded->At(0, 7) >> 24, 255u);
}

TEST(BitmapDecoding, DamagedJpegsGiveErrorsOrWhatArrived) {
    Bitmap bitmap;
    bitmap.kind = BitmapKind::Jpeg;
    bitmap.imageData = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02};
    EXPECT_FALSE(swf::DecodeBitmap(bitmap, {}));
    bitmap.imageData = {};
    EXPECT_FALSE(swf::DecodeBitmap(bitmap, {}));
    // A truncated image decodes to its full size with what arrived.
    auto jpeg = EncodeJpeg(64, 64, 0, 0, 255);
    static constexpr std::uint8_t startOfScan[] = {0xFF, 0xDA};
    const auto scan =
        std::search(jpeg.begin(), jpeg.end(), std::begin(startOfScan), std::end(startOfScan));
    ASSERT_NE(scan, jpeg.end());
    jpeg.resize((scan - jpeg.begin()) + (jpeg.end() - scan) / 2);
    bitmap.imageData = jpeg;
    const auto partial = swf::DecodeBitmap(bitmap, {});
    ASSERT_TRUE(partial) << partial.GetError().message;
    EXPECT_EQ(partial->width, 64);
    // Every prefix of a good image decodes or fails cleanly.
    const auto good = EncodeJpeg(24, 24, 10, 200, 30);
    for (std::size_t length = 0; length < good.size(); length += 7) {
        bitmap.imageData.assign(good.begin(), good.begin() + length);
        (void)swf::DecodeBitmap(bitmap, {});
    }
}

TEST(BitmapDecoding, GifInsideAJpegTagHasItsColoursAndTransparency) {
    // A 2 x 1 GIF: colours red and green, index 1 transparent, LZW minimum
    // code size 2, codes: clear(4) 0 1 end(5) packed in 3-bit codes.
    const std::vector<std::uint8_t> gif = {
        'G',  'I',  'F',  '8',  '9', 'a', 2, 0, 1, 0, 0x80, 0, 0, // screen, 2-colour table
        255,  0,    0,    0,    255, 0,                           // red, green
        0x21, 0xF9, 4,    0x01, 0,   0,   1, 0,                   // transparent index 1
        0x2C, 0,    0,    0,    0,   2,   0, 1, 0, 0,             // image 2 x 1
        2,    2,    0x44, 0x0A, 0,                                // LZW data
        0x3B};
    ASSERT_EQ(swf::SniffImageFormat(gif), swf::ImageFormat::Gif);
    Bitmap bitmap;
    bitmap.kind = BitmapKind::Jpeg;
    bitmap.imageData = gif;
    const auto image = swf::DecodeBitmap(bitmap, {});
    ASSERT_TRUE(image) << image.GetError().message;
    EXPECT_EQ(image->width, 2);
    EXPECT_EQ(image->At(0, 0), PackPixel(255, 255, 0, 0));
    EXPECT_EQ(image->At(1, 0), 0u);
    // Cut short anywhere, it fails or decodes without reading past its end.
    for (std::size_t length = 0; length < gif.size(); ++length) {
        (void)swf::DecodeGif(std::span(gif).first(length), {});
    }
    // A logical screen past the limits is refused.
    auto huge = gif;
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;
    EXPECT_FALSE(swf::DecodeGif(huge, {}));
}

TEST(BitmapDecoding, DamagedPngsAreRefused) {
    const std::vector<std::uint8_t> header = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0};
    ASSERT_EQ(swf::SniffImageFormat(header), swf::ImageFormat::Png);
    Bitmap bitmap;
    bitmap.kind = BitmapKind::JpegWithAlpha;
    bitmap.imageData = header;
    EXPECT_FALSE(swf::DecodeBitmap(bitmap, {}));
}

TEST(BitmapDecoding, InflateExactlyStopsAtTheExpectedSize) {
    const auto data = Deflate(std::vector<std::uint8_t>(100, 7));
    const auto cut = swf::InflateExactly(data, 40);
    EXPECT_TRUE(cut.complete);
    EXPECT_EQ(cut.bytes.size(), 40u);
    const auto whole = swf::InflateExactly(data, 200);
    EXPECT_FALSE(whole.complete);
    EXPECT_EQ(whole.bytes.size(), 100u);
}

} // namespace
