#include "swf/audio/MovieSound.h"

#include <algorithm>

#include "swf/audio/EventVoice.h"
#include "swf/audio/StreamVoice.h"
#include "swf/base/ByteReader.h"
#include "swf/format/TagCodes.h"

namespace swf {

struct MovieSound::Stream {
    StreamHead head;
    std::unique_ptr<SoundDecoder> decoder;
    VoiceId voice = 0;
    // Output frames of the stream's timeline frame: its samples per frame at
    // the mixer's rate.
    double framePeriod = 0.0;
    bool firstBlock = true; // no block decoded since the head
};

MovieSound::MovieSound(const Movie& movie, Mixer& mixer) : movie(movie), mixer(mixer) {}

MovieSound::~MovieSound() {
    mixer.StopOwner(this);
}

void MovieSound::Note(const std::string& problem) {
    // A movie that repeats a damaged tag in a loop must not grow this forever.
    if (problems.size() < 4096) {
        problems += problem + "\n";
    }
}

void MovieSound::TagReached(ClipKey clip, const RawTag& tag) {
    switch (tag.code) {
    case tag::StartSound:
    case tag::StartSound2: {
        const auto start = ReadStartSound(tag.code, tag.body);
        if (!start) {
            Note(start.GetError().message);
            return;
        }
        const auto id = tag.code == tag::StartSound ? std::optional(start->soundId)
                                                    : SoundOfClass(start->className);
        if (id) {
            Start(*id, start->info);
        }
        return;
    }
    case tag::SoundStreamHead:
    case tag::SoundStreamHead2:
        StreamHeadReached(clip, tag);
        return;
    case tag::SoundStreamBlock:
        StreamBlockReached(clip, tag);
        return;
    default:
        return;
    }
}

std::shared_ptr<const PcmSound> MovieSound::Decoded(CharacterId sound) {
    if (const auto found = decoded.find(sound); found != decoded.end()) {
        return found->second;
    }
    auto pcm = std::make_shared<PcmSound>();
    const Character* character = movie.Find(sound);
    const auto* raw = character == nullptr ? nullptr : std::get_if<RawCharacter>(&character->data);
    if (raw != nullptr && raw->tag.code == tag::DefineSound) {
        const auto defined = ReadDefineSound(raw->tag.body);
        auto samples =
            defined ? DecodeDefinedSound(*defined) : Result<PcmSound>(defined.GetError());
        if (samples) {
            *pcm = std::move(samples).Value();
        } else {
            Note("sound " + std::to_string(sound) + ": " + samples.GetError().message);
        }
    }
    decoded.emplace(sound, pcm);
    return pcm;
}

VoiceId MovieSound::Start(CharacterId sound, const SoundInfo& info) {
    const SoundKey key{this, sound};
    if (info.stop) {
        mixer.Stop(key);
        return 0;
    }
    if (info.noMultiple && mixer.Playing(key)) {
        return 0;
    }
    auto pcm = Decoded(sound);
    if (pcm->samples.empty()) {
        return 0;
    }
    return mixer.Play(std::make_unique<EventVoice>(std::move(pcm), info), key);
}

std::optional<CharacterId> MovieSound::SoundOfClass(const std::string& className) const {
    for (const RawTag& tag : movie.otherTags) {
        if (tag.code != tag::SymbolClass && tag.code != tag::ExportAssets) {
            continue;
        }
        ByteReader reader(tag.body);
        const std::uint16_t count = reader.U16();
        for (std::uint16_t i = 0; i < count && reader.Ok(); ++i) {
            const CharacterId id = reader.U16();
            if (reader.String() == className && reader.Ok()) {
                return id;
            }
        }
    }
    return std::nullopt;
}

void MovieSound::StreamHeadReached(ClipKey clip, const RawTag& tag) {
    const auto head = ReadStreamHead(tag.body);
    if (!head) {
        Note(head.GetError().message);
        return;
    }
    auto decoder = SoundDecoder::Open(head->stream);
    if (!decoder) {
        Note("sound stream: " + decoder.GetError().message);
        streams.erase(clip);
        return;
    }
    auto& stream = streams[clip];
    if (stream) {
        mixer.Stop(stream->voice);
    }
    stream = std::make_unique<Stream>();
    stream->head = *head;
    stream->decoder = std::move(decoder).Value();
    stream->framePeriod = head->samplesPerFrame * MixRate / head->stream.Rate();
}

void MovieSound::StreamBlockReached(ClipKey clip, const RawTag& tag) {
    const auto found = streams.find(clip);
    if (found == streams.end()) {
        return; // a block without a head plays nothing
    }
    Stream& stream = *found->second;
    const auto block = ReadStreamBlock(tag.body, stream.head.stream.coding);
    if (!block) {
        Note(block.GetError().message);
        return;
    }
    PcmSound pcm;
    pcm.rate = stream.head.stream.Rate();
    pcm.channels = stream.head.stream.Channels();
    stream.decoder->Decode(block->data, pcm, MaxSoundFrames);
    auto* voice = static_cast<StreamVoice*>(mixer.Find(stream.voice));
    if (voice == nullptr) {
        // An MP3 stream that starts here skips the samples its block says
        // come before this frame's sound (the decoder's delay at the start
        // of the stream, which the head's latency seek gives too).
        std::int64_t skip = block->seekSamples;
        if (stream.firstBlock) {
            skip = std::max<std::int64_t>(skip, stream.head.latencySeek);
        }
        const auto drop =
            std::min(pcm.samples.size(), static_cast<std::size_t>(std::max<std::int64_t>(skip, 0)) *
                                             static_cast<std::size_t>(pcm.channels));
        pcm.samples.erase(pcm.samples.begin(), pcm.samples.begin() + static_cast<long>(drop));
        auto started = std::make_unique<StreamVoice>();
        voice = started.get();
        stream.voice = mixer.Play(std::move(started), SoundKey{this, 0});
    }
    voice->Append(pcm);
    stream.firstBlock = false;
}

void MovieSound::StopStream(ClipKey clip) {
    if (const auto found = streams.find(clip); found != streams.end()) {
        mixer.Stop(found->second->voice);
        found->second->voice = 0;
    }
}

void MovieSound::StopAll() {
    mixer.StopOwner(this);
    for (auto& [clip, stream] : streams) {
        stream->voice = 0;
    }
}

std::optional<double> MovieSound::StreamFramesPlayed(ClipKey clip) const {
    const auto found = streams.find(clip);
    if (found == streams.end() || found->second->framePeriod <= 0.0) {
        return std::nullopt;
    }
    const auto* voice = static_cast<const StreamVoice*>(mixer.Find(found->second->voice));
    if (voice == nullptr) {
        return std::nullopt;
    }
    return static_cast<double>(voice->Played()) / found->second->framePeriod;
}

} // namespace swf
