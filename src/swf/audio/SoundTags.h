// The sound tags of a movie, read from the bodies the format keeps whole:
// DefineSound, StartSound and StartSound2 with their sound info record,
// SoundStreamHead(2), SoundStreamBlock and DefineButtonSound. Every read is
// checked; a damaged tag gives an Error, never a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "swf/base/Result.h"
#include "swf/format/Basics.h"

namespace swf {

// How the samples of a sound are coded, numbered as in the file.
enum class SoundCoding : std::uint8_t {
    NativePcm = 0, // uncompressed, in the byte order of the machine that made it
    Adpcm = 1,
    Mp3 = 2,
    LittleEndianPcm = 3,
    Nellymoser16k = 4,
    Nellymoser8k = 5,
    Nellymoser = 6,
    Speex = 11,
};

// The format byte shared by DefineSound and the stream heads.
struct SoundFormat {
    SoundCoding coding = SoundCoding::LittleEndianPcm;
    std::uint8_t rateCode = 0; // 0 5.5 kHz, 1 11 kHz, 2 22 kHz, 3 44 kHz
    bool sixteenBits = true;
    bool stereo = false;

    // Sample frames per second as the rate code says: 5512.5 for the lowest
    // code (44100 / 8 exactly). Nellymoser's own codes fix theirs.
    double Rate() const;
    int Channels() const { return stereo ? 2 : 1; }
};

struct DefinedSound {
    CharacterId id = 0;
    SoundFormat format;
    std::uint32_t sampleCount = 0; // sample frames, as declared
    // MP3: the samples the decoder gives before the sound starts.
    std::uint16_t seekSamples = 0;
    std::span<const std::uint8_t> data; // coded samples (borrowed from the tag)
};

struct EnvelopePoint {
    std::uint32_t position = 0; // in 44.1 kHz sample frames from the sound's start
    std::uint16_t left = 0;     // 0 silent to 32768 full
    std::uint16_t right = 0;
};

// The SOUNDINFO record of StartSound and the button sounds.
struct SoundInfo {
    bool stop = false;                     // stop the sound's instances instead of starting one
    bool noMultiple = false;               // start only when no instance plays already
    std::optional<std::uint32_t> inPoint;  // 44.1 kHz sample frames
    std::optional<std::uint32_t> outPoint; // 44.1 kHz sample frames
    std::uint16_t loops = 1;               // plays, 1 when absent (0 also plays once)
    std::vector<EnvelopePoint> envelope;
};

struct StartSoundTag {
    CharacterId soundId = 0; // StartSound
    std::string className;   // StartSound2: the exported sound's class
    SoundInfo info;
};

struct StreamHead {
    SoundFormat playback; // what the player is asked to mix at (informative)
    SoundFormat stream;   // how the blocks are coded
    std::uint16_t samplesPerFrame = 0;
    std::int16_t latencySeek = 0; // MP3 only: samples to skip at the start
};

struct StreamBlock {
    // MP3 only: the block's sample frames and the samples to skip in it.
    std::uint16_t sampleCount = 0;
    std::int16_t seekSamples = 0;
    std::span<const std::uint8_t> data; // coded samples (borrowed from the tag)
};

// One of the four sounds of DefineButtonSound, by button transition.
struct ButtonSound {
    CharacterId soundId = 0; // 0 for none
    SoundInfo info;
};

struct ButtonSounds {
    CharacterId buttonId = 0;
    // Over up to idle, idle to over up, over up to over down, over down to over up.
    ButtonSound overUpToIdle;
    ButtonSound idleToOverUp;
    ButtonSound overUpToOverDown;
    ButtonSound overDownToOverUp;
};

Result<DefinedSound> ReadDefineSound(std::span<const std::uint8_t> body);
// StartSound (code 15) or StartSound2 (code 89).
Result<StartSoundTag> ReadStartSound(std::uint16_t code, std::span<const std::uint8_t> body);
Result<StreamHead> ReadStreamHead(std::span<const std::uint8_t> body);
// The head says whether the blocks are MP3, which alone have a block header.
Result<StreamBlock> ReadStreamBlock(std::span<const std::uint8_t> body, SoundCoding coding);
Result<ButtonSounds> ReadButtonSounds(std::span<const std::uint8_t> body);

} // namespace swf
