// Damaged sound and video: a movie's sounds mixed for a dozen frame periods,
// and the input itself read as every sound tag and decoded in every sound
// coding, in blocks as a stream delivers them, and as frames of every video
// codec. Whatever the damage, some sound or picture or none, never a fault
// or an unbounded allocation.
#include <algorithm>
#include <span>

#include "swf/audio/OfflineMix.h"
#include "swf/audio/SoundDecoder.h"
#include "swf/audio/SoundTags.h"
#include "swf/format/MovieParser.h"
#include "swf/format/TagCodes.h"
#include "swf/format/VideoDecoding.h"

namespace {

void DecodeInEveryCoding(std::span<const std::uint8_t> data) {
    using swf::SoundCoding;
    const SoundCoding codings[] = {SoundCoding::NativePcm,     SoundCoding::Adpcm,
                                   SoundCoding::Mp3,           SoundCoding::LittleEndianPcm,
                                   SoundCoding::Nellymoser16k, SoundCoding::Nellymoser8k,
                                   SoundCoding::Nellymoser};
    const std::uint8_t flags = data.empty() ? 0 : data[0];
    for (const SoundCoding coding : codings) {
        swf::SoundFormat format;
        format.coding = coding;
        format.rateCode = flags & 3;
        format.sixteenBits = (flags & 4) != 0;
        format.stereo = (flags & 8) != 0;
        auto decoder = swf::SoundDecoder::Open(format);
        if (!decoder) {
            continue;
        }
        swf::PcmSound out;
        // Blocks of a size the input chooses, as a stream's blocks come.
        const std::size_t block = 16 + (flags >> 4) * 64;
        for (std::size_t at = 0; at < data.size(); at += block) {
            decoder.Value()->Decode(data.subspan(at, std::min(block, data.size() - at)), out,
                                    std::size_t{44100} * 10);
        }
    }
}

void ReadAsEverySoundTag(std::span<const std::uint8_t> data) {
    if (const auto sound = swf::ReadDefineSound(data)) {
        (void)swf::DecodeDefinedSound(*sound);
    }
    (void)swf::ReadStartSound(swf::tag::StartSound, data);
    (void)swf::ReadStartSound(swf::tag::StartSound2, data);
    (void)swf::ReadStreamHead(data);
    (void)swf::ReadStreamBlock(data, swf::SoundCoding::Mp3);
    (void)swf::ReadButtonSounds(data);
}

void DecodeAsVideo(std::span<const std::uint8_t> data) {
    (void)swf::ReadDefineVideoStream(data);
    (void)swf::ReadVideoFrame(data);
    const swf::VideoCodec codecs[] = {swf::VideoCodec::SorensonH263, swf::VideoCodec::Vp6,
                                      swf::VideoCodec::Vp6Alpha};
    for (const swf::VideoCodec codec : codecs) {
        swf::VideoStream stream;
        stream.codec = codec;
        stream.width = 64;
        stream.height = 48;
        auto decoder = swf::VideoDecoder::Open(stream);
        if (!decoder) {
            continue;
        }
        // Frames of a size the input's first byte chooses; small pictures only.
        const std::size_t frame = 32 + (data.empty() ? 0 : data[0]) * 8;
        swf::DecodedImage picture;
        const swf::ImageLimits limits{1024, 1024 * 1024};
        for (std::size_t at = 0; at < data.size(); at += frame) {
            const auto piece = data.subspan(at, std::min(frame, data.size() - at));
            (void)swf::IsKeyFrame(codec, piece);
            decoder.Value()->Decode(piece, picture, limits);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    swf::MovieParser parser;
    parser.Append(bytes);
    parser.Finish();
    if (parser.HeaderRead()) {
        (void)swf::MixMovie(parser.GetMovie(), 12);
    }
    ReadAsEverySoundTag(bytes);
    DecodeInEveryCoding(bytes);
    DecodeAsVideo(bytes);
    return 0;
}
