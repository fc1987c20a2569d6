// Streaming decompression of the body of a compressed movie: zlib for "CWS",
// LZMA for "ZWS". Input may come in pieces of any size; output never grows
// past the limit given, so a movie cannot inflate past its declared length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "swf/base/Result.h"

namespace swf {

class Decompressor {
public:
    virtual ~Decompressor() = default;

    // Decompresses input, appending to out until out holds limit bytes;
    // input past that point is ignored. Returns true once the compressed
    // stream has ended or the limit is reached, false while more input is
    // needed, and an error for a damaged stream (offset: bytes of compressed
    // input consumed before the fault).
    virtual Result<bool> Feed(std::span<const std::uint8_t> input, std::vector<std::uint8_t>& out,
                              std::size_t limit) = 0;
};

// The zlib stream of a "CWS" movie (everything after its first 8 bytes).
std::unique_ptr<Decompressor> MakeZlibDecompressor();
// The body of a "ZWS" movie after its first 8 bytes: the compressed length
// (4 bytes), the LZMA properties (5 bytes), then the LZMA data.
std::unique_ptr<Decompressor> MakeLzmaDecompressor();

} // namespace swf
