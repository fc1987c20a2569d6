// Embedded video: DefineVideoStream read from the body the format keeps
// whole, and the decoding of its frames (Sorenson H.263, On2 VP6 and VP6
// with alpha) with libavcodec into the renderer's pixels. One decoder
// follows one stream from frame to frame, as inter frames build on the
// frames before them. The script library's NetStream decodes FLV video the
// same way. Damaged data decodes as far as it can; a frame the codec refuses
// leaves the picture as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "swf/base/Result.h"
#include "swf/format/Basics.h"
#include "swf/format/DecodedImage.h"

namespace swf {

enum class VideoCodec : std::uint8_t {
    SorensonH263 = 2,
    ScreenVideo = 3,
    Vp6 = 4,
    Vp6Alpha = 5,
    ScreenVideo2 = 6,
};

struct VideoStream {
    CharacterId id = 0;
    std::uint16_t frameCount = 0;
    std::uint16_t width = 0; // pixels
    std::uint16_t height = 0;
    // 0 as the stream itself says, 1 off, 2 to 7 stronger filters.
    std::uint8_t deblocking = 0;
    bool smoothing = false;
    VideoCodec codec = VideoCodec::SorensonH263;
};

Result<VideoStream> ReadDefineVideoStream(std::span<const std::uint8_t> body);

// A VideoFrame tag: which stream and frame its data is.
struct VideoFrameTag {
    CharacterId streamId = 0;
    std::uint16_t frame = 0;
    std::span<const std::uint8_t> data; // borrowed from the tag
};

Result<VideoFrameTag> ReadVideoFrame(std::span<const std::uint8_t> body);

// Whether a frame's data stands alone (a key frame), so that decoding may
// start from it.
bool IsKeyFrame(VideoCodec codec, std::span<const std::uint8_t> data);

class VideoDecoder {
public:
    // An error for a codec no decoder is there for (screen video).
    static Result<std::unique_ptr<VideoDecoder>> Open(const VideoStream& stream);
    ~VideoDecoder();
    VideoDecoder(const VideoDecoder&) = delete;
    VideoDecoder& operator=(const VideoDecoder&) = delete;

    // Decodes the next frame into picture (premultiplied, the size the frame
    // has, at most limits allow); false when the frame gave no picture.
    bool Decode(std::span<const std::uint8_t> data, DecodedImage& picture,
                const ImageLimits& limits = {});
    // Forgets the frames decoded so far, to start again from a key frame.
    void Restart();

    struct Codec;

private:
    explicit VideoDecoder(std::unique_ptr<Codec> codec);
    std::unique_ptr<Codec> codec;
};

} // namespace swf
