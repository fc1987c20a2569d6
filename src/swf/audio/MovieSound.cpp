#include "swf/audio/MovieSound.h"

#include <algorithm>

#include "swf/audio/EventVoice.h"
#include "swf/audio/StreamVoice.h"
#include "swf/format/NamedCharacters.h"
#include "swf/format/TagCodes.h"

namespace swf {

namespace {

bool IsStreamHead(std::uint16_t code) {
    return code == tag::SoundStreamHead || code == tag::SoundStreamHead2;
}

// The frame's stream block, if it has one.
const RawTag* BlockOf(const Frame& frame) {
    for (const RawTag& tag : frame.soundTags) {
        if (tag.code == tag::SoundStreamBlock) {
            return &tag;
        }
    }
    return nullptr;
}

// Frames a stream reads ahead at most, however short its blocks.
constexpr std::size_t MaxReadAheadFrames = 64;
// Block starts kept for following what is heard.
constexpr std::size_t MaxBlockStarts = 256;

} // namespace

struct MovieSound::Stream {
    StreamHead head;
    std::vector<std::uint8_t> headBody;
    std::unique_ptr<SoundDecoder> decoder;
    VoiceId voice = 0;
    bool firstBlock = true; // no block decoded since the head
    // The timeline the blocks come from, the frame it entered last, and the
    // frames before fedUntil whose blocks the voice holds.
    const Timeline* timeline = nullptr;
    std::size_t frame = 0;
    std::size_t fedUntil = 0;
    // Where each fed frame's block starts in the voice, in mixer frames.
    std::map<std::size_t, std::uint64_t> blockStarts;
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

VoiceId MovieSound::TagReached(ClipKey clip, const RawTag& tag, const TimelinePlace* place) {
    switch (tag.code) {
    case tag::StartSound:
    case tag::StartSound2: {
        const auto start = ReadStartSound(tag.code, tag.body);
        if (!start) {
            Note(start.GetError().message);
            return 0;
        }
        const auto id = tag.code == tag::StartSound ? std::optional(start->soundId)
                                                    : SoundOfClass(start->className);
        return id ? Start(*id, start->info) : 0;
    }
    case tag::SoundStreamHead:
    case tag::SoundStreamHead2:
        StreamHeadReached(clip, tag);
        return 0;
    case tag::SoundStreamBlock:
        StreamBlockReached(clip, tag, place);
        return 0;
    default:
        return 0;
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
        if (tag.code != tag::SymbolClass && tag.code != tag::Exports) {
            continue;
        }
        for (const NamedCharacter& named : ReadNamedCharacters(tag.body)) {
            if (named.name == className) {
                return named.id;
            }
        }
    }
    return std::nullopt;
}

void MovieSound::StreamHeadReached(ClipKey clip, const RawTag& tag) {
    // A timeline that loops back to its head goes on with the stream it has.
    if (const auto existing = streams.find(clip); existing != streams.end() &&
                                                  existing->second->headBody == tag.body &&
                                                  mixer.Playing(existing->second->voice)) {
        return;
    }
    const auto head = ReadStreamHead(tag.body);
    if (!head) {
        Note(head.GetError().message);
        return;
    }
    auto decoder = SoundDecoder::Open(head->stream);
    if (!decoder) {
        Note("sound stream: " + decoder.GetError().message);
        ForgetClip(clip);
        return;
    }
    auto& stream = streams[clip];
    if (stream) {
        mixer.Stop(stream->voice);
    }
    stream = std::make_unique<Stream>();
    stream->head = *head;
    stream->headBody = tag.body;
    stream->decoder = std::move(decoder).Value();
}

bool MovieSound::Feed(Stream& stream, const RawTag& tag, std::optional<std::size_t> frame) {
    const auto block = ReadStreamBlock(tag.body, stream.head.stream.coding);
    if (!block) {
        Note(block.GetError().message);
        return false;
    }
    PcmSound pcm;
    pcm.rate = stream.head.stream.Rate();
    pcm.channels = stream.head.stream.Channels();
    stream.decoder->Decode(block->data, pcm, MaxSoundFrames);
    auto* voice = static_cast<StreamVoice*>(mixer.Find(stream.voice));
    if (voice == nullptr || voice->Ended()) {
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
        stream.blockStarts.clear();
    }
    if (frame) {
        if (stream.blockStarts.size() >= MaxBlockStarts) {
            stream.blockStarts.erase(stream.blockStarts.begin());
        }
        stream.blockStarts[*frame] = voice->Received();
    }
    voice->Append(pcm);
    stream.firstBlock = false;
    return true;
}

void MovieSound::ReadAhead(Stream& stream, const TimelinePlace& place) {
    const auto* voice = static_cast<const StreamVoice*>(mixer.Find(stream.voice));
    if (voice == nullptr || place.timeline == nullptr) {
        return;
    }
    const auto& frames = place.timeline->frames;
    while (stream.fedUntil < frames.size() && stream.fedUntil <= place.frame + MaxReadAheadFrames &&
           voice->Received() < voice->Played() + ReadAheadFrames) {
        const Frame& next = frames[stream.fedUntil];
        // The stream ends where a frame has no block, or a new head starts
        // another one.
        const bool head = std::any_of(next.soundTags.begin(), next.soundTags.end(),
                                      [](const RawTag& tag) { return IsStreamHead(tag.code); });
        const RawTag* block = BlockOf(next);
        if (head || block == nullptr || !Feed(stream, *block, stream.fedUntil)) {
            return;
        }
        ++stream.fedUntil;
    }
}

void MovieSound::StreamBlockReached(ClipKey clip, const RawTag& tag, const TimelinePlace* place) {
    const auto found = streams.find(clip);
    if (found == streams.end()) {
        return; // a block without a head plays nothing
    }
    Stream& stream = *found->second;
    const bool playing = mixer.Playing(stream.voice);
    if (place != nullptr) {
        stream.frame = place->frame;
        if (playing && place->timeline == stream.timeline && place->frame < stream.fedUntil &&
            stream.blockStarts.contains(place->frame)) {
            ReadAhead(stream, *place); // this frame's block was read ahead
            return;
        }
    }
    Feed(stream, tag, place ? std::optional(place->frame) : std::nullopt);
    if (place != nullptr) {
        stream.timeline = place->timeline;
        stream.fedUntil = place->frame + 1;
        ReadAhead(stream, *place);
    }
}

void MovieSound::FrameEntered(ClipKey clip, const TimelinePlace& place, const Frame& entered,
                              bool jumped) {
    const auto found = streams.find(clip);
    if (found == streams.end()) {
        return;
    }
    Stream& stream = *found->second;
    if (jumped) {
        StopStream(clip);
        return;
    }
    auto* voice = static_cast<StreamVoice*>(mixer.Find(stream.voice));
    if (voice == nullptr) {
        return;
    }
    if (place.timeline != stream.timeline || place.frame < stream.frame) {
        // Looped back to the start: what was read ahead runs out first.
        stream.fedUntil = 0;
        stream.blockStarts.clear();
    }
    stream.frame = place.frame;
    if (BlockOf(entered) == nullptr) {
        voice->End(); // plays out what it holds
        stream.voice = 0;
        stream.blockStarts.clear();
    }
}

void MovieSound::StopStream(ClipKey clip) {
    if (const auto found = streams.find(clip); found != streams.end()) {
        Stream& stream = *found->second;
        mixer.Stop(stream.voice);
        stream.voice = 0;
        stream.timeline = nullptr;
        stream.fedUntil = 0;
        stream.blockStarts.clear();
    }
}

void MovieSound::ForgetClip(ClipKey clip) {
    StopStream(clip);
    streams.erase(clip);
}

void MovieSound::StopAll() {
    mixer.StopOwner(this);
    for (auto& [clip, stream] : streams) {
        stream->voice = 0;
        stream->timeline = nullptr;
        stream->blockStarts.clear();
    }
}

std::vector<ClipKey> MovieSound::StreamingClips() const {
    std::vector<ClipKey> clips;
    for (const auto& [clip, stream] : streams) {
        if (mixer.Playing(stream->voice)) {
            clips.push_back(clip);
        }
    }
    return clips;
}

VoiceId MovieSound::StreamVoiceOf(ClipKey clip) const {
    const auto found = streams.find(clip);
    return found == streams.end() ? 0 : found->second->voice;
}

std::optional<long> MovieSound::StreamLead(ClipKey clip, std::uint64_t unheard) const {
    const auto found = streams.find(clip);
    if (found == streams.end() || found->second->blockStarts.empty()) {
        return std::nullopt;
    }
    const Stream& stream = *found->second;
    const auto* voice = static_cast<const StreamVoice*>(mixer.Find(stream.voice));
    // A voice waiting for blocks is waiting for the timeline.
    if (voice == nullptr || voice->Ended() || voice->Played() >= voice->Received()) {
        return std::nullopt;
    }
    const std::uint64_t heard = voice->Played() > unheard ? voice->Played() - unheard : 0;
    std::size_t soundFrame = stream.blockStarts.begin()->first;
    for (const auto& [frame, start] : stream.blockStarts) {
        if (start > heard) {
            break;
        }
        soundFrame = frame;
    }
    return static_cast<long>(soundFrame) - static_cast<long>(stream.frame);
}

} // namespace swf
