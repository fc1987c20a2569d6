// A whole movie file in memory, uncompressed, for tools that walk its tags.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "swf/base/Result.h"
#include "swf/format/MovieParser.h"

namespace swf {

struct UncompressedMovie {
    // The movie as an uncompressed file would hold it, its 8-byte header
    // included; for a damaged body, what came before the damage.
    std::vector<std::uint8_t> bytes;
    std::optional<Error> error;
    // Where the first tag starts, when the stage header could be read.
    std::optional<std::size_t> tagsOffset;
};

UncompressedMovie Uncompress(std::span<const std::uint8_t> file, ParserLimits limits = {});

} // namespace swf
