#include "swfwriter/SoundWriter.h"

#include "swfwriter/BitWriter.h"

namespace swfwriter {

namespace {

void FormatBits(BitWriter& out, const SoundFormatFields& format) {
    out.UBits(format.rateCode, 2);
    out.Bit(format.sixteenBits);
    out.Bit(format.stereo);
}

} // namespace

std::vector<std::uint8_t> DefineSoundBody(const SoundFormatFields& format,
                                          std::uint32_t sampleCount,
                                          std::span<const std::uint8_t> data,
                                          std::uint16_t mp3SeekSamples) {
    BitWriter out;
    out.UBits(format.coding, 4);
    FormatBits(out, format);
    out.U32(sampleCount);
    if (format.coding == 2) {
        out.U16(mp3SeekSamples);
    }
    out.Bytes(data);
    return out.Take();
}

std::vector<std::uint8_t> SoundInfoBody(const SoundInfoFields& info) {
    BitWriter out;
    out.UBits(0, 2);
    out.Bit(info.stop);
    out.Bit(info.noMultiple);
    out.Bit(!info.envelope.empty());
    out.Bit(info.loops.has_value());
    out.Bit(info.outPoint.has_value());
    out.Bit(info.inPoint.has_value());
    if (info.inPoint) {
        out.U32(*info.inPoint);
    }
    if (info.outPoint) {
        out.U32(*info.outPoint);
    }
    if (info.loops) {
        out.U16(*info.loops);
    }
    if (!info.envelope.empty()) {
        out.U8(static_cast<std::uint8_t>(info.envelope.size()));
        for (const SoundEnvelopePoint& point : info.envelope) {
            out.U32(point.position);
            out.U16(point.left);
            out.U16(point.right);
        }
    }
    return out.Take();
}

std::vector<std::uint8_t> StartSoundBody(std::uint16_t soundId, const SoundInfoFields& info) {
    BitWriter out;
    out.U16(soundId);
    out.Bytes(SoundInfoBody(info));
    return out.Take();
}

std::vector<std::uint8_t> StreamHeadBody(const SoundFormatFields& stream,
                                         std::uint16_t samplesPerFrame, std::int16_t latencySeek) {
    BitWriter out;
    out.UBits(0, 4);
    FormatBits(out, stream);
    out.UBits(stream.coding, 4);
    FormatBits(out, stream);
    out.U16(samplesPerFrame);
    if (stream.coding == 2) {
        out.S16(latencySeek);
    }
    return out.Take();
}

std::vector<std::uint8_t> Mp3StreamBlockBody(std::uint16_t sampleCount, std::int16_t seekSamples,
                                             std::span<const std::uint8_t> frames) {
    BitWriter out;
    out.U16(sampleCount);
    out.S16(seekSamples);
    out.Bytes(frames);
    return out.Take();
}

std::vector<std::uint8_t> PcmBytes(std::span<const std::int16_t> samples) {
    BitWriter out;
    for (const std::int16_t sample : samples) {
        out.S16(sample);
    }
    return out.Take();
}

} // namespace swfwriter
