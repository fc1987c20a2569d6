// The bodies of the sound tags, for writing sounds into test movies with
// MovieWriter::DefineRaw (DefineSound) and Tag (the others):
//
//   const auto id = movie.DefineRaw(14, DefineSoundBody({.coding = 3}, frames, samples));
//   movie.Tag(15, StartSoundBody(id, {.loops = 2}));
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace swfwriter {

struct SoundFormatFields {
    std::uint8_t coding = 3;   // 3 uncompressed little-endian, 1 ADPCM, 2 MP3, 6 Nellymoser
    std::uint8_t rateCode = 3; // 0 5.5 kHz ... 3 44 kHz
    bool sixteenBits = true;
    bool stereo = false;
};

struct SoundEnvelopePoint {
    std::uint32_t position = 0; // 44.1 kHz sample frames
    std::uint16_t left = 32768;
    std::uint16_t right = 32768;
};

struct SoundInfoFields {
    bool stop = false;
    bool noMultiple = false;
    std::optional<std::uint32_t> inPoint;
    std::optional<std::uint32_t> outPoint;
    std::optional<std::uint16_t> loops;
    std::vector<SoundEnvelopePoint> envelope;
};

// DefineSound after its id; MP3 data gets its seek samples first.
std::vector<std::uint8_t> DefineSoundBody(const SoundFormatFields& format,
                                          std::uint32_t sampleCount,
                                          std::span<const std::uint8_t> data,
                                          std::uint16_t mp3SeekSamples = 0);
std::vector<std::uint8_t> SoundInfoBody(const SoundInfoFields& info);
std::vector<std::uint8_t> StartSoundBody(std::uint16_t soundId, const SoundInfoFields& info);
// SoundStreamHead2, playing as the stream is coded.
std::vector<std::uint8_t> StreamHeadBody(const SoundFormatFields& stream,
                                         std::uint16_t samplesPerFrame,
                                         std::int16_t latencySeek = 0);
// An MP3 block carries its sample count and seek samples; the others only data.
std::vector<std::uint8_t> Mp3StreamBlockBody(std::uint16_t sampleCount, std::int16_t seekSamples,
                                             std::span<const std::uint8_t> frames);

// 16-bit little-endian bytes of samples, for uncompressed sounds.
std::vector<std::uint8_t> PcmBytes(std::span<const std::int16_t> samples);

} // namespace swfwriter
