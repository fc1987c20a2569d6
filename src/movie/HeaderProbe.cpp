#include "movie/HeaderProbe.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "platform/Files.h"

namespace player {
namespace {

// Bits of a byte span, most significant bit first.
class BitCursor {
public:
    explicit BitCursor(std::span<const std::uint8_t> bytes) : bytes(bytes) {}

    bool Has(std::size_t count) const { return position + count <= bytes.size() * 8; }

    std::uint32_t Unsigned(unsigned count) {
        std::uint32_t value = 0;
        for (unsigned i = 0; i < count; ++i) {
            const std::uint8_t byte = bytes[position / 8];
            const unsigned bit = (byte >> (7 - position % 8)) & 1u;
            value = (value << 1) | bit;
            ++position;
        }
        return value;
    }

    std::int32_t Signed(unsigned count) {
        if (count == 0) {
            return 0;
        }
        const std::uint32_t value = Unsigned(count);
        const std::uint32_t sign = 1u << (count - 1);
        // Two's complement of count bits, widened.
        return static_cast<std::int32_t>((value ^ sign) - sign);
    }

private:
    std::span<const std::uint8_t> bytes;
    std::size_t position = 0;
};

constexpr std::uint8_t kUncompressedSignature = 0x46;

} // namespace

std::optional<StageRectangle> DecodeStageRectangle(std::span<const std::uint8_t> bytes) {
    BitCursor bits(bytes);
    if (!bits.Has(5)) {
        return std::nullopt;
    }
    const unsigned n = bits.Unsigned(5);
    if (!bits.Has(4 * static_cast<std::size_t>(n))) {
        return std::nullopt;
    }
    StageRectangle rectangle;
    rectangle.xMin = bits.Signed(n);
    rectangle.xMax = bits.Signed(n);
    rectangle.yMin = bits.Signed(n);
    rectangle.yMax = bits.Signed(n);
    return rectangle;
}

SwfHeaderInfo StageSize(const StageRectangle& rectangle) {
    SwfHeaderInfo info;
    info.stageWidth =
        (static_cast<std::uint32_t>(rectangle.xMax) - static_cast<std::uint32_t>(rectangle.xMin)) /
        20u;
    info.stageHeight =
        (static_cast<std::uint32_t>(rectangle.yMax) - static_cast<std::uint32_t>(rectangle.yMin)) /
        20u;
    return info;
}

std::size_t InflateStart(std::span<const std::uint8_t> input,
                         std::span<std::uint8_t, kInflatedSize> output) {
    std::fill(output.begin(), output.end(), std::uint8_t{0});
    std::memcpy(output.data(), "garbage", 8);
    z_stream stream{};
    // zlib takes the input as non-const but does not write to it.
    stream.next_in = const_cast<Bytef*>(input.data());
    stream.next_out = output.data();
    if (inflateInit(&stream) != Z_OK) {
        return 0;
    }
    const std::size_t inputLimit = std::min(input.size(), kBodySize);
    while (stream.total_out < kInflatedSize) {
        // One byte in (while there is input left) and one byte out a call, so
        // inflate never writes past the buffer. With the input used up, what
        // inflate still holds keeps coming out.
        stream.avail_in = stream.total_in < inputLimit ? 1 : 0;
        stream.avail_out = 1;
        // Anything but progress ends the loop: the end of the stream, a damaged
        // stream (which makes no more progress), or nothing left to do.
        if (inflate(&stream, Z_NO_FLUSH) != Z_OK) {
            break;
        }
    }
    const std::size_t produced = stream.total_out;
    inflateEnd(&stream);
    return produced;
}

std::optional<SwfHeaderInfo> ProbeMovieFile(const std::u16string& path) {
    FILE* file = _wfopen(path.c_str(), u"rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::array<std::uint8_t, kHeaderSize> header{};
    const std::size_t headerRead = std::fread(header.data(), 1, header.size(), file);
    const std::uint32_t fileLength = static_cast<std::uint32_t>(header[4]) |
                                     (static_cast<std::uint32_t>(header[5]) << 8) |
                                     (static_cast<std::uint32_t>(header[6]) << 16) |
                                     (static_cast<std::uint32_t>(header[7]) << 24);
    std::printf("%c %c %c %d %d %d", header[0], header[1], header[2], header[3],
                static_cast<int>(fileLength), 0);
    std::fflush(stdout);
    std::array<std::uint8_t, kBodySize> body{};
    // A file that ended inside the header has no body.
    const std::size_t bodyRead =
        headerRead == kHeaderSize ? std::fread(body.data(), 1, body.size(), file) : 0;
    std::fclose(file);

    SwfHeaderInfo info;
    std::optional<StageRectangle> rectangle;
    if (header[0] == kUncompressedSignature) {
        rectangle = DecodeStageRectangle(
            std::span<const std::uint8_t>(body.data(), std::min(bodyRead, kRectangleBytes)));
    } else {
        std::array<std::uint8_t, kInflatedSize> inflated{};
        const std::size_t produced =
            InflateStart(std::span<const std::uint8_t>(body.data(), bodyRead), inflated);
        rectangle = DecodeStageRectangle(
            std::span<const std::uint8_t>(inflated.data(), std::min(produced, kRectangleBytes)));
    }
    if (rectangle) {
        info = StageSize(*rectangle);
    }
    info.version = header[3];
    return info;
}

} // namespace player
