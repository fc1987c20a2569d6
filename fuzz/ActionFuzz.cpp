// An action block as a movie may carry it: the input's first byte picks the
// SWF version (5 to 8), the rest is the bytecode, run as the first frame's
// DoAction and, from its middle on, as the second frame's, then for a few
// frame periods so that functions, intervals and handlers it left run too.
// Limits are small so that loops end soon. Every outcome but a fault is
// fine: scripts may throw, stop at a limit or do nothing at all.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "swf/script/TraceRun.h"

namespace {

void PutU16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// A long-form tag, so that any length fits.
void PutTag(std::vector<std::uint8_t>& out, unsigned code, std::span<const std::uint8_t> body) {
    PutU16(out, (code << 6) | 0x3F);
    PutU32(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
}

// An uncompressed movie of 100 x 100 twips at 12 frames a second whose two
// frames run the two blocks.
std::vector<std::uint8_t> MovieOf(int version, std::span<const std::uint8_t> first,
                                  std::span<const std::uint8_t> second) {
    std::vector<std::uint8_t> out = {'F', 'W', 'S', static_cast<std::uint8_t>(version), 0, 0, 0, 0};
    // The frame rectangle with no bits per field, the rate and frame count.
    out.push_back(0);
    PutU16(out, 12 << 8);
    PutU16(out, 2);
    for (const auto block : {first, second}) {
        std::vector<std::uint8_t> actions(block.begin(), block.end());
        actions.push_back(0);
        PutTag(out, 12, actions); // DoAction
        PutU16(out, 1 << 6);      // ShowFrame
    }
    PutU16(out, 0); // End
    const auto length = static_cast<std::uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) {
        out[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const int version = 5 + data[0] % 4;
    const std::span<const std::uint8_t> code(data + 1, size - 1);
    const std::vector<std::uint8_t> movie = MovieOf(version, code, code.subspan(code.size() / 2));

    swf::script::TraceRunOptions options;
    options.frames = 4;
    options.limits.actionsPerFrame = 200000;
    options.limits.heapBytes = std::size_t{16} << 20;
    options.limits.stackValues = 1u << 16;
    options.wallClockStart = 1.2e12;
    std::size_t traced = 0;
    const auto result = swf::script::RunForTrace(
        movie, options, [&](std::string_view line) { traced += line.size(); });
    if (!result.readable) {
        std::fprintf(stderr, "actions: the movie made around the actions could not be read: %s\n",
                     result.error.c_str());
        std::abort();
    }
    (void)traced;
    return 0;
}
