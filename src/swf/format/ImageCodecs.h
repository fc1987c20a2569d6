// The image formats a movie may embed, each decoded by a well-kept library:
// JPEG (libjpeg-turbo), PNG (libpng) and GIF (giflib).
#pragma once

#include <cstdint>
#include <span>

#include "swf/base/Result.h"
#include "swf/format/DecodedImage.h"

namespace swf {

enum class ImageFormat { Jpeg, Png, Gif, Unknown };

// Recognises an image by its signature.
ImageFormat SniffImageFormat(std::span<const std::uint8_t> data);

// A complete JPEG stream (tables joined in front where the movie shares them).
Result<DecodedImage> DecodeJpeg(std::span<const std::uint8_t> data, const ImageLimits& limits);
Result<DecodedImage> DecodePng(std::span<const std::uint8_t> data, const ImageLimits& limits);
// The first image of a GIF, on its logical screen.
Result<DecodedImage> DecodeGif(std::span<const std::uint8_t> data, const ImageLimits& limits);

} // namespace swf
