// Turns the bitmaps of a movie's dictionary into pixels: lossless bitmaps
// (colour-mapped, 15-bit and 32-bit, with or without alpha), JPEG images
// (with the movie's shared tables, or with a separate alpha plane), and the
// PNG and GIF images that later movies put into the JPEG tags.
//
// Every decoder checks sizes against ImageLimits before it allocates, and a
// damaged image yields an error, never a crash.
#pragma once

#include <cstdint>
#include <span>

#include "swf/base/Result.h"
#include "swf/format/CharacterModel.h"
#include "swf/format/DecodedImage.h"

namespace swf {

Result<DecodedImage> DecodeBitmap(const Bitmap& bitmap, std::span<const std::uint8_t> jpegTables,
                                  const ImageLimits& limits = {});

// The pieces, for the decoders' own tests.
Result<DecodedImage> DecodeLossless(const Bitmap& bitmap, const ImageLimits& limits);

// Inflates a zlib stream that must give exactly expectedSize bytes (a
// longer stream is cut there); returns what it could when the stream is
// short or damaged, with complete set only when all of it came.
struct Inflated {
    std::vector<std::uint8_t> bytes;
    bool complete = false;
};
Inflated InflateExactly(std::span<const std::uint8_t> data, std::size_t expectedSize);

} // namespace swf
