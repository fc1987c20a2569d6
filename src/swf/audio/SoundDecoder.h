// Decodes a movie's coded sound (uncompressed, ADPCM, MP3, Nellymoser) into
// 16-bit samples with libavcodec. One decoder follows one sound or one
// stream, keeping the codec's state from block to block (an MP3 frame may
// borrow bits from the one before). Damaged data decodes as far as it can:
// a block the codec refuses is skipped, and decoding goes on with the next.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "swf/audio/PcmSound.h"
#include "swf/audio/SoundTags.h"
#include "swf/base/Result.h"

namespace swf {

class SoundDecoder {
public:
    // An error for a coding no decoder is there for (Speex, unknown codes).
    static Result<std::unique_ptr<SoundDecoder>> Open(const SoundFormat& format);
    ~SoundDecoder();
    SoundDecoder(const SoundDecoder&) = delete;
    SoundDecoder& operator=(const SoundDecoder&) = delete;

    // Decodes one block and appends its sample frames to out, whose rate and
    // channels the first decoded frame sets. Stops adding at maxFrames.
    void Decode(std::span<const std::uint8_t> data, PcmSound& out, std::size_t maxFrames);
    // Blocks that could not be decoded, for the tools' reports.
    std::size_t DamagedBlocks() const { return damaged; }

    struct Codec;

private:
    explicit SoundDecoder(std::unique_ptr<Codec> codec);
    void Send(std::span<const std::uint8_t> packet, PcmSound& out, std::size_t maxFrames);

    std::unique_ptr<Codec> codec;
    double rate = 44100.0; // the format's, for codecs whose frames do not say
    std::size_t damaged = 0;
};

// The sound frames a decoded sound may have at most (an hour at 44.1 kHz
// stereo), so that a movie cannot ask for unbounded memory.
constexpr std::size_t MaxSoundFrames = std::size_t{44100} * 3600;

// A DefineSound's samples, at most its declared count (MP3's seek samples
// skipped first); damaged data gives what could be decoded.
Result<PcmSound> DecodeDefinedSound(const DefinedSound& sound);

} // namespace swf
