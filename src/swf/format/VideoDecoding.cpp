#include "swf/format/VideoDecoding.h"

#include <algorithm>
#include <vector>

#include "swf/base/ByteReader.h"

#include "swf/format/CodecLibrary.h"

namespace swf {

namespace {

struct CodecContextFree {
    void operator()(AVCodecContext* context) const { Codecs()->avcodec_free_context(&context); }
};
struct PacketFree {
    void operator()(AVPacket* packet) const { Codecs()->av_packet_free(&packet); }
};
struct FrameFree {
    void operator()(AVFrame* frame) const { Codecs()->av_frame_free(&frame); }
};

AVCodecID CodecIdFor(VideoCodec codec) {
    switch (codec) {
    case VideoCodec::SorensonH263:
        return AV_CODEC_ID_FLV1;
    case VideoCodec::Vp6:
        return AV_CODEC_ID_VP6F;
    case VideoCodec::Vp6Alpha:
        return AV_CODEC_ID_VP6A;
    default:
        return AV_CODEC_ID_NONE;
    }
}

std::uint8_t Clamp8(int value) {
    return static_cast<std::uint8_t>(std::clamp(value, 0, 255));
}

// The frame's pixels as premultiplied ARGB: studio-range YUV (BT.601, as
// these codecs have it), 4:2:0, with an alpha plane when the codec gives one.
bool ToPixels(const AVFrame& frame, DecodedImage& picture) {
    const auto format = static_cast<AVPixelFormat>(frame.format);
    if (format != AV_PIX_FMT_YUV420P && format != AV_PIX_FMT_YUVA420P) {
        return false;
    }
    const bool alpha = format == AV_PIX_FMT_YUVA420P && frame.data[3] != nullptr;
    picture.width = frame.width;
    picture.height = frame.height;
    picture.pixels.resize(static_cast<std::size_t>(frame.width) *
                          static_cast<std::size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y) {
        const std::uint8_t* luma =
            frame.data[0] + static_cast<std::ptrdiff_t>(y) * frame.linesize[0];
        const std::uint8_t* blue =
            frame.data[1] + static_cast<std::ptrdiff_t>(y / 2) * frame.linesize[1];
        const std::uint8_t* red =
            frame.data[2] + static_cast<std::ptrdiff_t>(y / 2) * frame.linesize[2];
        const std::uint8_t* opacity =
            alpha ? frame.data[3] + static_cast<std::ptrdiff_t>(y) * frame.linesize[3] : nullptr;
        std::uint32_t* out = picture.pixels.data() +
                             static_cast<std::size_t>(y) * static_cast<std::size_t>(frame.width);
        for (int x = 0; x < frame.width; ++x) {
            const int c = 298 * (luma[x] - 16);
            const int d = blue[x / 2] - 128;
            const int e = red[x / 2] - 128;
            const std::uint8_t r = Clamp8((c + 409 * e + 128) >> 8);
            const std::uint8_t g = Clamp8((c - 100 * d - 208 * e + 128) >> 8);
            const std::uint8_t b = Clamp8((c + 516 * d + 128) >> 8);
            const std::uint8_t a = opacity ? opacity[x] : 255;
            out[x] = PackPixel(a, static_cast<std::uint8_t>((r * a + 127) / 255),
                               static_cast<std::uint8_t>((g * a + 127) / 255),
                               static_cast<std::uint8_t>((b * a + 127) / 255));
        }
    }
    return true;
}

} // namespace

struct VideoDecoder::Codec {
    std::unique_ptr<AVCodecContext, CodecContextFree> context;
    std::unique_ptr<AVPacket, PacketFree> packet;
    std::unique_ptr<AVFrame, FrameFree> frame;
};

Result<VideoStream> ReadDefineVideoStream(std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    VideoStream stream;
    stream.id = reader.U16();
    stream.frameCount = reader.U16();
    stream.width = reader.U16();
    stream.height = reader.U16();
    const std::uint8_t flags = reader.U8();
    stream.deblocking = static_cast<std::uint8_t>((flags >> 1) & 7);
    stream.smoothing = (flags & 1) != 0;
    stream.codec = static_cast<VideoCodec>(reader.U8());
    if (!reader.Ok()) {
        return reader.Failure("DefineVideoStream");
    }
    return stream;
}

Result<VideoFrameTag> ReadVideoFrame(std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    VideoFrameTag frame;
    frame.streamId = reader.U16();
    frame.frame = reader.U16();
    frame.data = reader.Rest();
    if (!reader.Ok()) {
        return reader.Failure("VideoFrame");
    }
    return frame;
}

bool IsKeyFrame(VideoCodec codec, std::span<const std::uint8_t> data) {
    switch (codec) {
    case VideoCodec::SorensonH263: {
        // After the 17-bit start code, the version (5 bits), the temporal
        // reference (8) and the picture size (3, and 16 or 32 more for the
        // custom sizes), two bits say the picture type: 0 intra.
        ByteReader reader(data);
        reader.UBits(17 + 5 + 8);
        const std::uint32_t size = reader.UBits(3);
        reader.UBits(size == 0 ? 16 : size == 1 ? 32 : 0);
        const std::uint32_t type = reader.UBits(2);
        return reader.Ok() && type == 0;
    }
    case VideoCodec::Vp6:
        return !data.empty() && (data[0] & 0x80) == 0;
    case VideoCodec::Vp6Alpha:
        // Behind the three bytes of the alpha data's offset.
        return data.size() > 3 && (data[3] & 0x80) == 0;
    default:
        return false;
    }
}

VideoDecoder::VideoDecoder(std::unique_ptr<Codec> codec) : codec(std::move(codec)) {}

VideoDecoder::~VideoDecoder() = default;

Result<std::unique_ptr<VideoDecoder>> VideoDecoder::Open(const VideoStream& stream) {
    if (Codecs() == nullptr) {
        return Error{"the video decoding library (libavcodec) cannot be loaded"};
    }
    const AVCodecID id = CodecIdFor(stream.codec);
    const AVCodec* decoder = id == AV_CODEC_ID_NONE ? nullptr : Codecs()->avcodec_find_decoder(id);
    if (decoder == nullptr) {
        return Error{"no decoder for video codec " + std::to_string(static_cast<int>(stream.codec)),
                     0};
    }
    auto codec = std::make_unique<Codec>();
    codec->context.reset(Codecs()->avcodec_alloc_context3(decoder));
    codec->packet.reset(Codecs()->av_packet_alloc());
    codec->frame.reset(Codecs()->av_frame_alloc());
    if (!codec->context || !codec->packet || !codec->frame) {
        return Error{"out of memory for a video decoder", 0};
    }
    codec->context->width = stream.width;
    codec->context->height = stream.height;
    // Deblocking 1 turns the codec's loop filter off; the others leave it
    // as the stream itself asks.
    if (stream.deblocking == 1) {
        codec->context->skip_loop_filter = AVDISCARD_ALL;
    }
    codec->context->thread_count = 1;
    if (Codecs()->avcodec_open2(codec->context.get(), decoder, nullptr) < 0) {
        return Error{"the video decoder would not open", 0};
    }
    return std::unique_ptr<VideoDecoder>(new VideoDecoder(std::move(codec)));
}

bool VideoDecoder::Decode(std::span<const std::uint8_t> data, DecodedImage& picture,
                          const ImageLimits& limits) {
    if (data.empty()) {
        return false;
    }
    // The codecs read a little past the end of their input.
    std::vector<std::uint8_t> padded(data.size() + AV_INPUT_BUFFER_PADDING_SIZE, 0);
    std::copy(data.begin(), data.end(), padded.begin());
    AVPacket& packet = *codec->packet;
    packet.data = padded.data();
    packet.size = static_cast<int>(data.size());
    const int sent = Codecs()->avcodec_send_packet(codec->context.get(), &packet);
    packet.data = nullptr;
    packet.size = 0;
    if (sent < 0) {
        return false;
    }
    bool shown = false;
    while (Codecs()->avcodec_receive_frame(codec->context.get(), codec->frame.get()) >= 0) {
        const AVFrame& frame = *codec->frame;
        if (limits.Allows(frame.width, frame.height)) {
            shown = ToPixels(frame, picture) || shown;
        }
        Codecs()->av_frame_unref(codec->frame.get());
    }
    return shown;
}

void VideoDecoder::Restart() {
    Codecs()->avcodec_flush_buffers(codec->context.get());
}

} // namespace swf
