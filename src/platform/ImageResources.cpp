// Bitmaps and icons: device-independent bitmaps as resources hold them (an
// info header, a palette for 8 bits or fewer, then rows padded to 4 bytes,
// bottom row first unless the height is negative).
#include <cstdlib>

#include "platform/ByteReader.h"
#include "platform/ResourceFormats.h"

namespace res {
namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_BITFIELDS = 3;
// Larger images are damaged data, not resources of a handheld program.
constexpr int maximumSide = 8192;

struct DibHeader {
    int width = 0;
    int height = 0; // the height of the colour image, positive
    bool topDown = false;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = BI_RGB;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
};

std::size_t RowBytes(int width, int bitCount) {
    return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

Result<DibHeader> ReadDibHeader(ByteReader& reader, bool doubledHeight) {
    DibHeader header;
    std::uint32_t size = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t planes = 0;
    if (!reader.ReadU32(size) || size < 40 || !reader.ReadU32(width) || !reader.ReadU32(height) ||
        !reader.ReadU16(planes) || !reader.ReadU16(header.bitCount) ||
        !reader.ReadU32(header.compression) || !reader.Skip(12) ||
        !reader.ReadU32(header.colorsUsed) || !reader.Skip(size - 36)) {
        return reader.Fail("truncated bitmap header");
    }
    const auto signedHeight = static_cast<std::int32_t>(height);
    header.topDown = signedHeight < 0;
    const long long absoluteHeight = std::llabs(static_cast<long long>(signedHeight));
    header.width = static_cast<std::int32_t>(width);
    header.height = static_cast<int>(doubledHeight ? absoluteHeight / 2 : absoluteHeight);
    if (header.width <= 0 || header.width > maximumSide || header.height <= 0 ||
        header.height > maximumSide) {
        return Error{"bitmap size out of range", 4};
    }
    switch (header.bitCount) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (header.compression != BI_RGB) {
            return Error{"compressed bitmaps are not supported", 16};
        }
        break;
    case 16:
    case 32:
        if (header.compression == BI_BITFIELDS) {
            if (!reader.ReadU32(header.masks[0]) || !reader.ReadU32(header.masks[1]) ||
                !reader.ReadU32(header.masks[2])) {
                return reader.Fail("truncated bitmap colour masks");
            }
        } else if (header.compression != BI_RGB) {
            return Error{"compressed bitmaps are not supported", 16};
        } else if (header.bitCount == 32) {
            header.masks[0] = 0xFF0000;
            header.masks[1] = 0x00FF00;
            header.masks[2] = 0x0000FF;
        }
        break;
    default:
        return Error{"bitmaps of " + std::to_string(header.bitCount) + " bits are not supported",
                     14};
    }
    return header;
}

// Scales the bits of value under mask to 0..255.
std::uint32_t Channel(std::uint32_t value, std::uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const std::uint32_t maximum = mask >> shift;
    return ((value & mask) >> shift) * 255 / maximum;
}

// Reads the colour image into opaque 0xFFRRGGBB pixels (32-bit images keep
// their fourth byte in the alpha channel for the caller to use or drop).
Result<Image> ReadColourImage(ByteReader& reader, const DibHeader& header) {
    std::vector<std::uint32_t> palette;
    if (header.bitCount <= 8) {
        const std::uint32_t entries =
            header.colorsUsed != 0 ? header.colorsUsed : (1u << header.bitCount);
        if (entries > 256u || entries > reader.Remaining() / 4) {
            return reader.Fail("bitmap palette runs past the end");
        }
        palette.resize(entries);
        for (std::uint32_t& colour : palette) {
            std::uint32_t bgrx = 0;
            reader.ReadU32(bgrx);
            colour = 0xFF000000u | (bgrx & 0xFFFFFF);
        }
    }
    const std::size_t rowBytes = RowBytes(header.width, header.bitCount);
    std::span<const std::byte> bits;
    if (!reader.ReadBytes(rowBytes * header.height, bits)) {
        return reader.Fail("bitmap bits run past the end");
    }
    Image image{header.width, header.height, {}};
    image.pixels.resize(static_cast<std::size_t>(header.width) * header.height);
    for (int row = 0; row < header.height; ++row) {
        const int y = header.topDown ? row : header.height - 1 - row;
        const std::byte* line = bits.data() + rowBytes * row;
        for (int x = 0; x < header.width; ++x) {
            std::uint32_t pixel = 0;
            if (header.bitCount <= 8) {
                const int perByte = 8 / header.bitCount;
                const auto byte = std::to_integer<unsigned>(line[x / perByte]);
                const int shift = 8 - header.bitCount * (x % perByte + 1);
                const unsigned index = (byte >> shift) & ((1u << header.bitCount) - 1);
                if (index >= palette.size()) {
                    return Error{"bitmap colour index outside its palette", 0};
                }
                pixel = palette[index];
            } else if (header.bitCount == 24) {
                const std::byte* p = line + x * 3;
                pixel = 0xFF000000u | (std::to_integer<std::uint32_t>(p[2]) << 16) |
                        (std::to_integer<std::uint32_t>(p[1]) << 8) |
                        std::to_integer<std::uint32_t>(p[0]);
            } else {
                const int bytes = header.bitCount / 8;
                std::uint32_t value = 0;
                for (int k = bytes - 1; k >= 0; --k) {
                    value = (value << 8) | std::to_integer<std::uint32_t>(line[x * bytes + k]);
                }
                const std::uint32_t alpha = header.bitCount == 32 ? (value >> 24) : 0xFF;
                pixel = (alpha << 24) | (Channel(value, header.masks[0]) << 16) |
                        (Channel(value, header.masks[1]) << 8) | Channel(value, header.masks[2]);
            }
            image.pixels[static_cast<std::size_t>(y) * header.width + x] = pixel;
        }
    }
    return image;
}

} // namespace

Result<Image> ParseBitmap(std::span<const std::byte> data) {
    ByteReader reader(data);
    auto header = ReadDibHeader(reader, false);
    if (!header) {
        return header.GetError();
    }
    auto image = ReadColourImage(reader, *header);
    if (image && header->bitCount == 32) {
        // A plain bitmap has no alpha; its fourth byte is padding.
        for (std::uint32_t& pixel : image.Value().pixels) {
            pixel |= 0xFF000000u;
        }
    }
    return image;
}

Result<std::vector<IconGroupEntry>> ParseIconGroup(std::span<const std::byte> data) {
    ByteReader reader(data);
    std::uint16_t reserved = 0;
    std::uint16_t type = 0;
    std::uint16_t count = 0;
    if (!reader.ReadU16(reserved) || !reader.ReadU16(type) || !reader.ReadU16(count)) {
        return reader.Fail("truncated icon group");
    }
    if (type != 1) {
        return Error{"icon group of type " + std::to_string(type), 2};
    }
    constexpr std::size_t entrySize = 14;
    if (count > reader.Remaining() / entrySize) {
        return reader.Fail("icon group has fewer images than it counts");
    }
    std::vector<IconGroupEntry> entries(count);
    for (IconGroupEntry& entry : entries) {
        std::uint8_t width = 0;
        std::uint8_t height = 0;
        std::uint16_t planes = 0;
        std::uint32_t bytes = 0;
        reader.ReadU8(width);
        reader.ReadU8(height);
        reader.Skip(2);
        reader.ReadU16(planes);
        reader.ReadU16(entry.bitCount);
        reader.ReadU32(bytes);
        reader.ReadU16(entry.iconId);
        entry.width = width == 0 ? 256 : width;
        entry.height = height == 0 ? 256 : height;
    }
    return entries;
}

Result<Image> ParseIconImage(std::span<const std::byte> data) {
    ByteReader reader(data);
    auto header = ReadDibHeader(reader, true);
    if (!header) {
        return header.GetError();
    }
    auto colour = ReadColourImage(reader, *header);
    if (!colour) {
        return colour.GetError();
    }
    Image image = std::move(colour).Value();
    const std::size_t maskRowBytes = RowBytes(header->width, 1);
    std::span<const std::byte> mask;
    if (!reader.ReadBytes(maskRowBytes * header->height, mask)) {
        return reader.Fail("icon mask runs past the end");
    }
    // 32-bit images carry their own alpha; the mask serves the others, and
    // 32-bit images whose alpha is all zero.
    bool hasAlpha = false;
    if (header->bitCount == 32) {
        for (std::uint32_t pixel : image.pixels) {
            hasAlpha = hasAlpha || (pixel >> 24) != 0;
        }
    }
    for (int row = 0; row < header->height; ++row) {
        const int y = header->topDown ? row : header->height - 1 - row;
        for (int x = 0; x < header->width; ++x) {
            std::uint32_t& pixel = image.pixels[static_cast<std::size_t>(y) * header->width + x];
            if (hasAlpha) {
                continue;
            }
            const auto bits = std::to_integer<unsigned>(mask[maskRowBytes * row + x / 8]);
            const bool transparent = (bits & (0x80u >> (x % 8))) != 0;
            pixel = transparent ? 0 : (pixel | 0xFF000000u);
        }
    }
    return image;
}

} // namespace res
