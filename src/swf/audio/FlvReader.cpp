#include "swf/audio/FlvReader.h"

#include "swf/base/ByteReader.h"

namespace swf {

namespace {

// FLV's fields are big-endian, unlike a movie's.
std::uint32_t BigEndian(ByteReader& reader, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) {
        value = (value << 8) | reader.U8();
    }
    return value;
}

constexpr std::uint8_t AudioTag = 8;
constexpr std::uint8_t VideoTag = 9;

} // namespace

Result<FlvFile> ReadFlv(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    const auto signature = reader.Bytes(3);
    reader.U8(); // version
    reader.U8(); // which streams the file says it has
    const std::uint32_t headerSize = BigEndian(reader, 4);
    if (!reader.Ok() || signature[0] != 'F' || signature[1] != 'L' || signature[2] != 'V' ||
        headerSize < 9 || headerSize > bytes.size()) {
        return Error{"not an FLV file"};
    }
    reader = ByteReader(bytes.subspan(headerSize), headerSize);
    BigEndian(reader, 4); // the size of the tag before the first: 0
    FlvFile file;
    while (reader.Remaining() > 0) {
        ByteReader head = reader;
        const std::uint8_t type = head.U8() & 0x1F;
        const std::uint32_t size = BigEndian(head, 3);
        std::uint32_t time = BigEndian(head, 3);
        time |= static_cast<std::uint32_t>(head.U8()) << 24;
        BigEndian(head, 3); // stream id
        ByteReader body = head.Sub(size);
        BigEndian(head, 4); // this tag's size
        if (!head.Ok()) {
            file.truncated = true;
            break;
        }
        reader = head;
        if (size == 0) {
            continue;
        }
        const std::uint8_t first = body.U8();
        if (type == AudioTag) {
            FlvAudioPacket packet;
            packet.time = time;
            packet.format.coding = static_cast<SoundCoding>(first >> 4);
            packet.format.rateCode = (first >> 2) & 3;
            packet.format.sixteenBits = (first & 2) != 0;
            packet.format.stereo = (first & 1) != 0;
            packet.data = body.Rest();
            file.audio.push_back(packet);
        } else if (type == VideoTag) {
            FlvVideoPacket packet;
            packet.time = time;
            packet.frameType = first >> 4;
            packet.codec = first & 0x0F;
            packet.data = body.Rest();
            file.video.push_back(packet);
        }
    }
    return file;
}

} // namespace swf
