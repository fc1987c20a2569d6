// Reads an FLV file's tags: the audio and video packets with their times.
// The script library's NetStream plays FLV files with the same decoders as
// embedded sound and video; the tests make their media as FLV files. A
// damaged file gives the tags before the damage.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "swf/audio/SoundTags.h"
#include "swf/base/Result.h"

namespace swf {

struct FlvAudioPacket {
    std::uint32_t time = 0;             // milliseconds
    SoundFormat format;                 // the packet's first byte, laid out as in a movie
    std::span<const std::uint8_t> data; // borrowed from the file's bytes
};

struct FlvVideoPacket {
    std::uint32_t time = 0;
    std::uint8_t frameType = 0; // 1 key frame, 2 inter frame, 3 disposable, 5 command
    std::uint8_t codec = 0;     // 2 Sorenson H.263, 4 VP6, 5 VP6 with alpha, ...
    // What follows the first byte: for VP6 the adjustment byte (and for VP6
    // with alpha the alpha offset) comes first, as in a movie's VideoFrame.
    std::span<const std::uint8_t> data;
};

struct FlvFile {
    std::vector<FlvAudioPacket> audio;
    std::vector<FlvVideoPacket> video;
    bool truncated = false; // the file ended inside a tag
};

// bytes must outlive the result, which borrows from it.
Result<FlvFile> ReadFlv(std::span<const std::uint8_t> bytes);

} // namespace swf
