// The movie header probe: the stage size of a movie file, read from its first
// bytes (decompressing the start of a compressed movie), which the player
// needs to place the movie when zooming and in full screen.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace player {

struct SwfHeaderInfo {
    // Byte 3 of the header.
    std::uint8_t version = 0;
    // In pixels; 0 by 0 while the stage is unknown.
    std::uint32_t stageWidth = 0;
    std::uint32_t stageHeight = 0;
};

// What the probe reads of a file.
inline constexpr std::size_t kHeaderSize = 8;
inline constexpr std::size_t kBodySize = 1024;
inline constexpr std::size_t kInflatedSize = 64;
inline constexpr std::size_t kRectangleBytes = 33;

struct StageRectangle {
    std::int32_t xMin = 0;
    std::int32_t xMax = 0;
    std::int32_t yMin = 0;
    std::int32_t yMax = 0;
};

// The stage rectangle at the start of bytes: 5 bits of field width n, then
// x-min, x-max, y-min and y-max as signed n-bit numbers, most significant bit
// first. Nothing when bytes end before the last field does.
std::optional<StageRectangle> DecodeStageRectangle(std::span<const std::uint8_t> bytes);

// The stage in pixels: each extent in twips, as an unsigned 32-bit
// difference, divided by 20.
SwfHeaderInfo StageSize(const StageRectangle& rectangle);

// Inflates the start of a zlib stream as the probe does, one input byte and
// one output byte at a time, until 64 bytes have come out, the input is used
// up, the stream ends or inflate reports an error. Returns how many bytes came
// out into output (64 bytes, the first 8 set to "garbage\0" beforehand).
std::size_t InflateStart(std::span<const std::uint8_t> input,
                         std::span<std::uint8_t, kInflatedSize> output);

// The probe of a file: nothing when the file does not open. For a file that
// opens, writes the one diagnostic line "%c %c %c %d %d %d" (the signature,
// the version, the file length and 0) to standard output. The stage is 0 by
// 0 when the file ends, or the compressed stream fails, before the stage
// rectangle does.
std::optional<SwfHeaderInfo> ProbeMovieFile(const std::u16string& path);

} // namespace player
