#include "swf/audio/SoundTags.h"

#include "swf/base/ByteReader.h"
#include "swf/format/TagCodes.h"

namespace swf {

namespace {

// The rate, size and type bits, after the coding's four bits.
SoundFormat ReadFormatBits(ByteReader& reader, SoundCoding coding) {
    SoundFormat format;
    format.coding = coding;
    format.rateCode = static_cast<std::uint8_t>(reader.UBits(2));
    format.sixteenBits = reader.Bit();
    format.stereo = reader.Bit();
    return format;
}

SoundInfo ReadSoundInfo(ByteReader& reader) {
    SoundInfo info;
    reader.UBits(2);
    info.stop = reader.Bit();
    info.noMultiple = reader.Bit();
    const bool hasEnvelope = reader.Bit();
    const bool hasLoops = reader.Bit();
    const bool hasOutPoint = reader.Bit();
    const bool hasInPoint = reader.Bit();
    if (hasInPoint) {
        info.inPoint = reader.U32();
    }
    if (hasOutPoint) {
        info.outPoint = reader.U32();
    }
    if (hasLoops) {
        info.loops = reader.U16();
    }
    if (hasEnvelope) {
        const std::uint8_t count = reader.U8();
        for (std::uint8_t i = 0; i < count && reader.Ok(); ++i) {
            EnvelopePoint point;
            point.position = reader.U32();
            point.left = reader.U16();
            point.right = reader.U16();
            info.envelope.push_back(point);
        }
    }
    return info;
}

} // namespace

double SoundFormat::Rate() const {
    switch (coding) {
    case SoundCoding::Nellymoser16k:
        return 16000.0;
    case SoundCoding::Nellymoser8k:
        return 8000.0;
    default:
        break;
    }
    static constexpr double rates[] = {44100.0 / 8, 11025.0, 22050.0, 44100.0};
    return rates[rateCode & 3];
}

Result<DefinedSound> ReadDefineSound(std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    DefinedSound sound;
    sound.id = reader.U16();
    sound.format = ReadFormatBits(reader, static_cast<SoundCoding>(reader.UBits(4)));
    sound.sampleCount = reader.U32();
    if (sound.format.coding == SoundCoding::Mp3) {
        sound.seekSamples = reader.U16();
    }
    if (!reader.Ok()) {
        return reader.Failure("DefineSound");
    }
    sound.data = reader.Rest();
    return sound;
}

Result<StartSoundTag> ReadStartSound(std::uint16_t code, std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    StartSoundTag start;
    if (code == tag::StartSound2) {
        start.className = reader.String();
    } else {
        start.soundId = reader.U16();
    }
    start.info = ReadSoundInfo(reader);
    if (!reader.Ok()) {
        return reader.Failure(code == tag::StartSound2 ? "StartSound2" : "StartSound");
    }
    return start;
}

Result<StreamHead> ReadStreamHead(std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    StreamHead head;
    reader.UBits(4);
    head.playback = ReadFormatBits(reader, SoundCoding::LittleEndianPcm);
    head.stream = ReadFormatBits(reader, static_cast<SoundCoding>(reader.UBits(4)));
    head.samplesPerFrame = reader.U16();
    if (head.stream.coding == SoundCoding::Mp3 && reader.Remaining() >= 2) {
        head.latencySeek = reader.S16();
    }
    if (!reader.Ok()) {
        return reader.Failure("SoundStreamHead");
    }
    return head;
}

Result<StreamBlock> ReadStreamBlock(std::span<const std::uint8_t> body, SoundCoding coding) {
    ByteReader reader(body);
    StreamBlock block;
    if (coding == SoundCoding::Mp3) {
        block.sampleCount = reader.U16();
        block.seekSamples = reader.S16();
        if (!reader.Ok()) {
            return reader.Failure("SoundStreamBlock");
        }
    }
    block.data = reader.Rest();
    return block;
}

Result<ButtonSounds> ReadButtonSounds(std::span<const std::uint8_t> body) {
    ByteReader reader(body);
    ButtonSounds sounds;
    sounds.buttonId = reader.U16();
    for (ButtonSound* sound : {&sounds.overUpToIdle, &sounds.idleToOverUp, &sounds.overUpToOverDown,
                               &sounds.overDownToOverUp}) {
        if (reader.AtEnd()) {
            break; // a short tag leaves the later transitions silent
        }
        sound->soundId = reader.U16();
        if (sound->soundId != 0) {
            sound->info = ReadSoundInfo(reader);
        }
    }
    if (!reader.Ok()) {
        return reader.Failure("DefineButtonSound");
    }
    return sounds;
}

} // namespace swf
