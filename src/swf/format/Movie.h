// A movie as read so far: the header, the dictionary of characters and the
// main timeline. While a movie loads, the loader adds to it; characters are
// never replaced once defined, so references to them stay valid.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "swf/format/Basics.h"
#include "swf/format/CharacterModel.h"
#include "swf/format/TimelineModel.h"

namespace swf {

enum class Compression : std::uint8_t { None, Zlib, Lzma };

struct MovieHeader {
    Compression compression = Compression::None;
    std::uint8_t version = 0;
    std::uint32_t fileLength = 0; // uncompressed length, header included
    Rect frameSize;
    double frameRate = 0.0; // frames per second (8.8 fixed point in the file)
    std::uint16_t frameCount = 0;
};

struct Movie {
    MovieHeader header;
    std::optional<Rgba> backgroundColor;
    std::vector<std::uint8_t> jpegTables; // for BitmapKind::JpegWithSharedTables
    std::uint32_t fileAttributes = 0;
    std::unordered_map<CharacterId, Character> dictionary;
    Timeline root;
    // Tags that neither the timeline nor the renderer use (metadata, exports,
    // protection, ...), kept whole.
    std::vector<RawTag> otherTags;

    const Character* Find(CharacterId id) const {
        const auto found = dictionary.find(id);
        return found == dictionary.end() ? nullptr : &found->second;
    }
};

} // namespace swf
