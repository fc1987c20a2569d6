#include "swf/format/Decompressor.h"

#include <algorithm>
#include <array>
#include <lzma.h>
#include <zlib.h>

namespace swf {

namespace {

// Output grows in steps of this size, never past the caller's limit.
constexpr std::size_t OutputStep = 64 * 1024;

class ZlibDecompressor final : public Decompressor {
public:
    ZlibDecompressor() { ready = inflateInit(&stream) == Z_OK; }
    ~ZlibDecompressor() override {
        if (ready) {
            inflateEnd(&stream);
        }
    }
    ZlibDecompressor(const ZlibDecompressor&) = delete;
    ZlibDecompressor& operator=(const ZlibDecompressor&) = delete;

    Result<bool> Feed(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& out,
                      std::size_t limit) override {
        if (!ready) {
            return Error{"zlib could not be initialised", consumed};
        }
        if (ended || out.size() >= limit) {
            return true;
        }
        stream.next_in = const_cast<Bytef*>(input.data());
        stream.avail_in = static_cast<uInt>(input.size());
        while (out.size() < limit) {
            const std::size_t start = out.size();
            const std::size_t step = std::min(OutputStep, limit - start);
            out.resize(start + step);
            stream.next_out = out.data() + start;
            stream.avail_out = static_cast<uInt>(step);
            const uInt before = stream.avail_in;
            const int status = inflate(&stream, Z_NO_FLUSH);
            out.resize(start + (step - stream.avail_out));
            consumed += before - stream.avail_in;
            if (status == Z_STREAM_END) {
                ended = true;
                return true;
            }
            if (status == Z_BUF_ERROR) {
                return false; // needs more input
            }
            if (status != Z_OK) {
                return Error{std::string("damaged zlib data: ") +
                                 (stream.msg != nullptr ? stream.msg : "inflate failed"),
                             consumed};
            }
            if (stream.avail_in == 0 && stream.avail_out != 0) {
                return false;
            }
        }
        return true;
    }

private:
    z_stream stream{};
    bool ready = false;
    bool ended = false;
    std::size_t consumed = 0;
};

// The dictionary size of the LZMA properties (4 bytes, little-endian), cut
// to what a stream of at most limit bytes can use: the decoder allocates the
// whole dictionary up front, and a damaged header may ask for gigabytes. A
// dictionary as large as the output decodes it exactly, since no match can
// reach further back than the output's start.
void LimitDictionary(std::span<std::uint8_t> size, std::size_t limit) {
    std::uint32_t dictionary = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        dictionary |= static_cast<std::uint32_t>(size[i]) << (8 * i);
    }
    const auto enough =
        static_cast<std::uint32_t>(std::clamp<std::size_t>(limit, LZMA_DICT_SIZE_MIN, UINT32_MAX));
    if (dictionary > enough) {
        for (std::size_t i = 0; i < 4; ++i) {
            size[i] = static_cast<std::uint8_t>(enough >> (8 * i));
        }
    }
}

class LzmaDecompressor final : public Decompressor {
public:
    LzmaDecompressor() = default;
    ~LzmaDecompressor() override { lzma_end(&stream); }
    LzmaDecompressor(const LzmaDecompressor&) = delete;
    LzmaDecompressor& operator=(const LzmaDecompressor&) = delete;

    Result<bool> Feed(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& out,
                      std::size_t limit) override {
        if (ended || out.size() >= limit) {
            return true;
        }
        // The 4-byte compressed length and 5 property bytes come first.
        while (prefixLength < prefix.size() && !input.empty()) {
            prefix[prefixLength++] = input.front();
            input = input.subspan(1);
            ++consumed;
        }
        if (prefixLength < prefix.size()) {
            return false;
        }
        // The first data goes in behind a stand-alone LZMA header: the
        // properties, then an unknown size, so that data with or without an
        // end marker decodes.
        std::vector<std::uint8_t> first;
        std::size_t headerBytes = 0;
        if (!started) {
            started = true;
            if (lzma_alone_decoder(&stream, UINT64_MAX) != LZMA_OK) {
                return Error{"LZMA could not be initialised", consumed};
            }
            first.assign(prefix.begin() + 4, prefix.end());
            LimitDictionary(std::span(first).subspan(1, 4), limit);
            first.resize(13, 0xFF);
            first.insert(first.end(), input.begin(), input.end());
            headerBytes = 13;
            input = first;
        }
        stream.next_in = input.data();
        stream.avail_in = input.size();
        while (out.size() < limit) {
            const std::size_t start = out.size();
            const std::size_t step = std::min(OutputStep, limit - start);
            out.resize(start + step);
            stream.next_out = out.data() + start;
            stream.avail_out = step;
            const std::size_t before = stream.avail_in;
            const lzma_ret status = lzma_code(&stream, LZMA_RUN);
            out.resize(start + (step - stream.avail_out));
            const std::size_t used = before - stream.avail_in;
            const std::size_t header = std::min(used, headerBytes);
            headerBytes -= header;
            consumed += used - header;
            if (status == LZMA_STREAM_END) {
                ended = true;
                return true;
            }
            if (status == LZMA_BUF_ERROR) {
                return false;
            }
            if (status != LZMA_OK) {
                return Error{"damaged LZMA data", consumed};
            }
            if (stream.avail_in == 0 && stream.avail_out != 0) {
                return false;
            }
        }
        return true;
    }

private:
    lzma_stream stream = LZMA_STREAM_INIT;
    std::array<std::uint8_t, 9> prefix{};
    std::size_t prefixLength = 0;
    bool started = false;
    bool ended = false;
    std::size_t consumed = 0;
};

} // namespace

std::unique_ptr<Decompressor> MakeZlibDecompressor() {
    return std::make_unique<ZlibDecompressor>();
}

std::unique_ptr<Decompressor> MakeLzmaDecompressor() {
    return std::make_unique<LzmaDecompressor>();
}

} // namespace swf
