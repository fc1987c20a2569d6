#include "swf/format/BitmapDecoding.h"

#include <algorithm>
#include <array>
#include <zlib.h>

#include "swf/format/ImageCodecs.h"

namespace swf {

namespace {

// Rows of lossless bitmaps are padded to a multiple of 4 bytes.
std::size_t PaddedRow(std::size_t bytes) {
    return (bytes + 3) & ~std::size_t{3};
}

Result<DecodedImage> DecodeColorMapped(const Bitmap& bitmap, bool withAlpha,
                                       std::span<const std::uint8_t> data) {
    const std::size_t colors = bitmap.colorTableSize;
    const std::size_t entry = withAlpha ? 4 : 3;
    const std::size_t row = PaddedRow(bitmap.width);
    DecodedImage image{bitmap.width, bitmap.height, {}};
    image.pixels.resize(std::size_t{bitmap.width} * bitmap.height);
    std::array<std::uint32_t, 256> table{};
    for (std::size_t i = 0; i < colors; ++i) {
        const std::uint8_t* c = data.data() + i * entry;
        if (withAlpha) {
            // Stored premultiplied; a colour above its alpha would overflow
            // when composited, so it is held to the alpha.
            const std::uint8_t a = c[3];
            table[i] = PackPixel(a, std::min(c[0], a), std::min(c[1], a), std::min(c[2], a));
        } else {
            table[i] = PackPixel(255, c[0], c[1], c[2]);
        }
    }
    // Indices past the table draw nothing.
    const std::uint8_t* indices = data.data() + colors * entry;
    for (std::size_t y = 0; y < bitmap.height; ++y) {
        for (std::size_t x = 0; x < bitmap.width; ++x) {
            const std::uint8_t index = indices[y * row + x];
            image.pixels[y * bitmap.width + x] = index < colors ? table[index] : 0;
        }
    }
    return image;
}

DecodedImage DecodeRgb15(const Bitmap& bitmap, std::span<const std::uint8_t> data) {
    const std::size_t row = PaddedRow(std::size_t{bitmap.width} * 2);
    DecodedImage image{bitmap.width, bitmap.height, {}};
    image.pixels.resize(std::size_t{bitmap.width} * bitmap.height);
    // Five bits widened to eight by repeating the top bits, so full scale
    // stays full scale.
    const auto widen = [](unsigned v) { return static_cast<std::uint8_t>((v << 3) | (v >> 2)); };
    for (std::size_t y = 0; y < bitmap.height; ++y) {
        for (std::size_t x = 0; x < bitmap.width; ++x) {
            const std::uint8_t* p = data.data() + y * row + x * 2;
            const unsigned value = (unsigned{p[0]} << 8) | p[1];
            image.pixels[y * bitmap.width + x] = PackPixel(
                255, widen((value >> 10) & 0x1F), widen((value >> 5) & 0x1F), widen(value & 0x1F));
        }
    }
    return image;
}

DecodedImage DecodeArgb(const Bitmap& bitmap, bool withAlpha, std::span<const std::uint8_t> data) {
    DecodedImage image{bitmap.width, bitmap.height, {}};
    const std::size_t count = std::size_t{bitmap.width} * bitmap.height;
    image.pixels.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* p = data.data() + i * 4;
        if (withAlpha) {
            const std::uint8_t a = p[0];
            image.pixels[i] = PackPixel(a, std::min(p[1], a), std::min(p[2], a), std::min(p[3], a));
        } else {
            image.pixels[i] = PackPixel(255, p[1], p[2], p[3]);
        }
    }
    return image;
}

// Joins JPEG streams into one: movies keep the tables apart (JPEGTables)
// or put tables and image in one tag as two streams, and older tools put an
// end-and-start marker pair at the very front. Before the image's scan
// begins, stray start and end markers are dropped and every other segment
// is kept; from the scan on the data is copied as it stands, less any
// end-and-start pairs (which cannot occur in entropy-coded data, where 0xFF
// is always stuffed or a restart marker).
std::vector<std::uint8_t> JoinJpegStreams(std::span<const std::uint8_t> tables,
                                          std::span<const std::uint8_t> image) {
    std::vector<std::uint8_t> joined;
    joined.reserve(tables.size() + image.size());
    joined.insert(joined.end(), tables.begin(), tables.end());
    joined.insert(joined.end(), image.begin(), image.end());

    std::vector<std::uint8_t> clean{0xFF, 0xD8};
    clean.reserve(joined.size() + 2);
    std::size_t at = 0;
    while (at + 1 < joined.size() && joined[at] == 0xFF) {
        const std::uint8_t marker = joined[at + 1];
        if (marker == 0xFF) {
            ++at; // fill byte
        } else if (marker == 0xD8 || marker == 0xD9) {
            at += 2;
        } else if (marker == 0xDA) {
            break;
        } else if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            clean.insert(clean.end(), joined.begin() + at, joined.begin() + at + 2);
            at += 2;
        } else {
            if (at + 3 >= joined.size()) {
                break;
            }
            const std::size_t length = (std::size_t{joined[at + 2]} << 8) | joined[at + 3];
            const std::size_t end = std::min(joined.size(), at + 2 + length);
            clean.insert(clean.end(), joined.begin() + at, joined.begin() + end);
            at = end;
        }
    }
    for (std::size_t i = at; i < joined.size();) {
        if (i + 3 < joined.size() && joined[i] == 0xFF && joined[i + 1] == 0xD9 &&
            joined[i + 2] == 0xFF && joined[i + 3] == 0xD8) {
            i += 4;
            continue;
        }
        clean.push_back(joined[i++]);
    }
    return clean;
}

// Joins a separate alpha plane to an opaque image. The image's colours are
// stored already multiplied by that alpha, so they are only held to it. A
// plane that inflates short leaves the rest of the image opaque.
void ApplyAlphaPlane(DecodedImage& image, std::span<const std::uint8_t> alphaData) {
    const std::size_t count = image.pixels.size();
    const Inflated alpha = InflateExactly(alphaData, count);
    for (std::size_t i = 0; i < alpha.bytes.size(); ++i) {
        const std::uint32_t p = image.pixels[i];
        const std::uint32_t a = alpha.bytes[i];
        const auto held = [a](std::uint32_t c) {
            return static_cast<std::uint8_t>(std::min(c, a));
        };
        image.pixels[i] = PackPixel(static_cast<std::uint8_t>(a), held((p >> 16) & 0xFF),
                                    held((p >> 8) & 0xFF), held(p & 0xFF));
    }
}

Result<DecodedImage> DecodeEmbeddedImage(std::span<const std::uint8_t> data,
                                         std::span<const std::uint8_t> tables,
                                         const ImageLimits& limits) {
    switch (SniffImageFormat(data)) {
    case ImageFormat::Png:
        return DecodePng(data, limits);
    case ImageFormat::Gif:
        return DecodeGif(data, limits);
    default:
        return DecodeJpeg(JoinJpegStreams(tables, data), limits);
    }
}

} // namespace

Inflated InflateExactly(std::span<const std::uint8_t> data, std::size_t expectedSize) {
    Inflated result;
    result.bytes.resize(expectedSize);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) {
        result.bytes.clear();
        return result;
    }
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = static_cast<uInt>(std::min<std::size_t>(data.size(), UINT32_MAX));
    stream.next_out = result.bytes.data();
    stream.avail_out = static_cast<uInt>(expectedSize);
    int status = Z_OK;
    while (status == Z_OK && stream.avail_out > 0) {
        status = inflate(&stream, Z_NO_FLUSH);
    }
    const std::size_t produced = expectedSize - stream.avail_out;
    inflateEnd(&stream);
    result.bytes.resize(produced);
    result.complete = produced == expectedSize;
    return result;
}

Result<DecodedImage> DecodeLossless(const Bitmap& bitmap, const ImageLimits& limits) {
    const bool withAlpha = bitmap.kind == BitmapKind::LosslessWithAlpha;
    if (!limits.Allows(bitmap.width, bitmap.height)) {
        return Error{"lossless bitmap of " + std::to_string(bitmap.width) + " x " +
                     std::to_string(bitmap.height) + " pixels is empty or too large"};
    }
    std::size_t expected = 0;
    switch (bitmap.losslessFormat) {
    case 3:
        if (bitmap.colorTableSize == 0 || bitmap.colorTableSize > 256) {
            return Error{"colour-mapped bitmap with a table of " +
                         std::to_string(bitmap.colorTableSize) + " colours"};
        }
        expected = std::size_t{bitmap.colorTableSize} * (withAlpha ? 4 : 3) +
                   PaddedRow(bitmap.width) * bitmap.height;
        break;
    case 4:
        if (withAlpha) {
            return Error{"15-bit bitmaps cannot carry alpha"};
        }
        expected = PaddedRow(std::size_t{bitmap.width} * 2) * bitmap.height;
        break;
    case 5:
        expected = std::size_t{bitmap.width} * bitmap.height * 4;
        break;
    default:
        return Error{"unknown lossless bitmap format " + std::to_string(bitmap.losslessFormat)};
    }
    const Inflated inflated = InflateExactly(bitmap.imageData, expected);
    if (!inflated.complete) {
        return Error{"lossless bitmap data holds " + std::to_string(inflated.bytes.size()) +
                     " of " + std::to_string(expected) + " bytes"};
    }
    switch (bitmap.losslessFormat) {
    case 3:
        return DecodeColorMapped(bitmap, withAlpha, inflated.bytes);
    case 4:
        return DecodeRgb15(bitmap, inflated.bytes);
    default:
        return DecodeArgb(bitmap, withAlpha, inflated.bytes);
    }
}

Result<DecodedImage> DecodeBitmap(const Bitmap& bitmap, std::span<const std::uint8_t> jpegTables,
                                  const ImageLimits& limits) {
    switch (bitmap.kind) {
    case BitmapKind::Lossless:
    case BitmapKind::LosslessWithAlpha:
        return DecodeLossless(bitmap, limits);
    case BitmapKind::JpegWithSharedTables:
        return DecodeEmbeddedImage(bitmap.imageData, jpegTables, limits);
    case BitmapKind::Jpeg:
        return DecodeEmbeddedImage(bitmap.imageData, {}, limits);
    case BitmapKind::JpegWithAlpha: {
        const ImageFormat format = SniffImageFormat(bitmap.imageData);
        auto image = DecodeEmbeddedImage(bitmap.imageData, {}, limits);
        // PNG and GIF images carry their own transparency.
        if (image && format != ImageFormat::Png && format != ImageFormat::Gif) {
            ApplyAlphaPlane(image.Value(), bitmap.alphaData);
        }
        return image;
    }
    }
    return Error{"unknown bitmap kind"};
}

} // namespace swf
