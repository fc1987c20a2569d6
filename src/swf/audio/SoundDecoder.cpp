#include "swf/audio/SoundDecoder.h"

#include <algorithm>
#include <cmath>

#include "swf/format/CodecLibrary.h"

namespace swf {

namespace {

struct CodecContextFree {
    void operator()(AVCodecContext* context) const { Codecs()->avcodec_free_context(&context); }
};
struct ParserFree {
    void operator()(AVCodecParserContext* parser) const { Codecs()->av_parser_close(parser); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { Codecs()->av_packet_free(&packet); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { Codecs()->av_frame_free(&frame); }
};

AVCodecID CodecFor(const SoundFormat& format) {
    switch (format.coding) {
    case SoundCoding::NativePcm:
    case SoundCoding::LittleEndianPcm:
        // Eight-bit samples are unsigned; the movies of the time were made on
        // little-endian machines, so "native" order is read as little-endian.
        return format.sixteenBits ? AV_CODEC_ID_PCM_S16LE : AV_CODEC_ID_PCM_U8;
    case SoundCoding::Adpcm:
        return AV_CODEC_ID_ADPCM_SWF;
    case SoundCoding::Mp3:
        return AV_CODEC_ID_MP3;
    case SoundCoding::Nellymoser16k:
    case SoundCoding::Nellymoser8k:
    case SoundCoding::Nellymoser:
        return AV_CODEC_ID_NELLYMOSER;
    default:
        return AV_CODEC_ID_NONE;
    }
}

std::int16_t FromFloat(double value) {
    return static_cast<std::int16_t>(std::clamp(std::lround(value * 32768.0), -32768L, 32767L));
}

// One sample of a decoded frame as 16 bits, whatever layout the codec chose.
std::int16_t SampleAt(const AVFrame& frame, int index, int channel, int channels) {
    const auto format = static_cast<AVSampleFormat>(frame.format);
    const bool planar = Codecs()->av_sample_fmt_is_planar(format) != 0;
    const int plane = planar ? channel : 0;
    const int at = planar ? index : index * channels + channel;
    const std::uint8_t* data = frame.extended_data[plane];
    switch (Codecs()->av_get_packed_sample_fmt(format)) {
    case AV_SAMPLE_FMT_U8:
        return static_cast<std::int16_t>((data[at] - 128) * 256);
    case AV_SAMPLE_FMT_S16:
        return reinterpret_cast<const std::int16_t*>(data)[at];
    case AV_SAMPLE_FMT_S32:
        return static_cast<std::int16_t>(reinterpret_cast<const std::int32_t*>(data)[at] >> 16);
    case AV_SAMPLE_FMT_FLT:
        return FromFloat(reinterpret_cast<const float*>(data)[at]);
    case AV_SAMPLE_FMT_DBL:
        return FromFloat(reinterpret_cast<const double*>(data)[at]);
    default:
        return 0;
    }
}

} // namespace

struct SoundDecoder::Codec {
    std::unique_ptr<AVCodecContext, CodecContextFree> context;
    std::unique_ptr<AVCodecParserContext, ParserFree> parser; // MP3: splits frames
    std::unique_ptr<AVPacket, PacketFree> packet;
    std::unique_ptr<AVFrame, FrameFree> frame;
};

Result<std::unique_ptr<SoundDecoder>> SoundDecoder::Open(const SoundFormat& format) {
    if (Codecs() == nullptr) {
        return Error{"the sound decoding library (libavcodec) cannot be loaded"};
    }
    const AVCodecID id = CodecFor(format);
    const AVCodec* found = id == AV_CODEC_ID_NONE ? nullptr : Codecs()->avcodec_find_decoder(id);
    if (found == nullptr) {
        return Error{"no decoder for sound coding " +
                     std::to_string(static_cast<int>(format.coding))};
    }
    auto codec = std::make_unique<Codec>();
    codec->context.reset(Codecs()->avcodec_alloc_context3(found));
    codec->packet.reset(Codecs()->av_packet_alloc());
    codec->frame.reset(Codecs()->av_frame_alloc());
    if (!codec->context || !codec->packet || !codec->frame) {
        return Error{"out of memory for a sound decoder"};
    }
    AVCodecContext& context = *codec->context;
    // Nellymoser is mono whatever the flag says.
    const bool nellymoser = id == AV_CODEC_ID_NELLYMOSER;
    Codecs()->av_channel_layout_default(&context.ch_layout, format.stereo && !nellymoser ? 2 : 1);
    const double rate = format.Rate();
    context.sample_rate = static_cast<int>(rate);
    if (id == AV_CODEC_ID_MP3) {
        codec->parser.reset(Codecs()->av_parser_init(id));
    }
    if (Codecs()->avcodec_open2(&context, found, nullptr) < 0) {
        return Error{"the sound decoder would not open"};
    }
    auto decoder = std::unique_ptr<SoundDecoder>(new SoundDecoder(std::move(codec)));
    decoder->rate = rate;
    return decoder;
}

SoundDecoder::SoundDecoder(std::unique_ptr<Codec> codec) : codec(std::move(codec)) {}
SoundDecoder::~SoundDecoder() = default;

void SoundDecoder::Decode(std::span<const std::uint8_t> data, PcmSound& out,
                          std::size_t maxFrames) {
    if (!codec->parser) {
        Send(data, out, maxFrames);
        return;
    }
    // The parser needs its input padded; it hands back one MP3 frame at a time.
    std::vector<std::uint8_t> padded(data.begin(), data.end());
    padded.resize(data.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    const std::uint8_t* at = padded.data();
    std::size_t left = data.size();
    // A movie's block holds whole MP3 frames: the parser is flushed at its
    // end (an empty input), so the block's last frame plays with it.
    bool flushed = false;
    while (!flushed) {
        flushed = left == 0;
        std::uint8_t* frameData = nullptr;
        int frameSize = 0;
        const int used = Codecs()->av_parser_parse2(
            codec->parser.get(), codec->context.get(), &frameData, &frameSize, at,
            static_cast<int>(left), AV_NOPTS_VALUE, AV_NOPTS_VALUE, 0);
        if (used < 0) {
            ++damaged;
            return;
        }
        at += used;
        left -= static_cast<std::size_t>(used);
        if (frameSize > 0) {
            Send({frameData, static_cast<std::size_t>(frameSize)}, out, maxFrames);
        } else if (used == 0 && left > 0) {
            left = 0; // the parser took nothing: flush what it holds
        }
    }
}

void SoundDecoder::Send(std::span<const std::uint8_t> data, PcmSound& out, std::size_t maxFrames) {
    if (data.empty()) {
        return;
    }
    AVPacket& packet = *codec->packet;
    if (Codecs()->av_new_packet(&packet, static_cast<int>(data.size())) < 0) {
        ++damaged;
        return;
    }
    std::copy(data.begin(), data.end(), packet.data);
    const int sent = Codecs()->avcodec_send_packet(codec->context.get(), &packet);
    Codecs()->av_packet_unref(&packet);
    if (sent < 0) {
        ++damaged;
        return;
    }
    AVFrame& frame = *codec->frame;
    while (Codecs()->avcodec_receive_frame(codec->context.get(), &frame) >= 0) {
        const int channels = std::clamp(frame.ch_layout.nb_channels, 1, 2);
        if (out.samples.empty()) {
            out.channels = channels;
            out.rate = codec->parser ? frame.sample_rate : rate;
        }
        for (int i = 0; i < frame.nb_samples && out.Frames() < maxFrames; ++i) {
            for (int channel = 0; channel < out.channels; ++channel) {
                // A stream whose frames change their channel count keeps its first.
                out.samples.push_back(
                    SampleAt(frame, i, std::min(channel, channels - 1), channels));
            }
        }
        Codecs()->av_frame_unref(&frame);
    }
}

Result<PcmSound> DecodeDefinedSound(const DefinedSound& sound) {
    auto decoder = SoundDecoder::Open(sound.format);
    if (!decoder) {
        return decoder.GetError();
    }
    const std::size_t skip =
        sound.format.coding == SoundCoding::Mp3 ? sound.seekSamples : std::size_t{0};
    const std::size_t declared = sound.sampleCount == 0 ? MaxSoundFrames : sound.sampleCount;
    PcmSound pcm;
    pcm.rate = sound.format.Rate();
    pcm.channels = sound.format.Channels();
    decoder.Value()->Decode(sound.data, pcm, std::min(MaxSoundFrames, declared + skip));
    if (skip > 0) {
        const std::size_t drop = std::min(pcm.samples.size(), skip * pcm.channels);
        pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + static_cast<long>(drop));
    }
    return pcm;
}

} // namespace swf
