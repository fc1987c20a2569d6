#include "swf/render/VideoPictures.h"

#include "swf/format/TagCodes.h"

namespace swf {

struct VideoPictures::Entry {
    std::optional<VideoStream> stream;
    std::unique_ptr<VideoDecoder> decoder; // null when the codec has none
    // Frame number to its VideoFrame tag: the main timeline's by index (its
    // tags may move while the movie loads), a sprite's by address.
    struct FrameTag {
        std::size_t mainIndex = 0;
        const RawTag* spriteTag = nullptr;
    };
    std::map<std::size_t, FrameTag> frames;
    std::size_t tagsIndexed = 0;
    std::size_t charactersSeen = 0;
    std::optional<std::size_t> decoded; // the frame the picture shows
    DecodedImage picture;
    SurfacePtr surface;
};

VideoPictures::VideoPictures(const Movie& movie) : movie(movie) {}

VideoPictures::~VideoPictures() = default;

VideoPictures::Entry& VideoPictures::EntryFor(const Character& video) {
    auto& entry = entries[video.id];
    if (!entry) {
        entry = std::make_unique<Entry>();
        const auto* raw = std::get_if<RawCharacter>(&video.data);
        if (raw != nullptr && raw->tag.code == tag::DefineVideoStream) {
            if (auto stream = ReadDefineVideoStream(raw->tag.body)) {
                entry->stream = *stream;
                if (auto decoder = VideoDecoder::Open(*stream)) {
                    entry->decoder = std::move(decoder).Value();
                }
            }
        }
    }
    IndexFrames(*entry);
    return *entry;
}

void VideoPictures::IndexFrames(Entry& entry) {
    if (!entry.stream) {
        return;
    }
    const auto add = [&](const RawTag& tag, Entry::FrameTag where) {
        const auto frame = ReadVideoFrame(tag.body);
        if (tag.code == tag::VideoFrame && frame && frame->streamId == entry.stream->id) {
            entry.frames.emplace(frame->frame, where);
        }
    };
    // The movie may still be loading: tags and sprites that came since are added.
    for (; entry.tagsIndexed < movie.otherTags.size(); ++entry.tagsIndexed) {
        add(movie.otherTags[entry.tagsIndexed], {entry.tagsIndexed, nullptr});
    }
    if (entry.charactersSeen != movie.dictionary.size()) {
        entry.charactersSeen = movie.dictionary.size();
        for (const auto& [id, character] : movie.dictionary) {
            if (const auto* sprite = std::get_if<Sprite>(&character.data)) {
                for (const RawTag& tag : sprite->videoFrames) {
                    add(tag, {0, &tag});
                }
            }
        }
    }
}

const VideoStream* VideoPictures::Stream(const Character& video) {
    Entry& entry = EntryFor(video);
    return entry.stream ? &*entry.stream : nullptr;
}

cairo_surface_t* VideoPictures::Picture(const Character& video, std::size_t frame) {
    Entry& entry = EntryFor(video);
    if (!entry.decoder || entry.frames.empty()) {
        return nullptr;
    }
    // The last frame with data at or before the one asked for.
    auto last = entry.frames.upper_bound(frame);
    if (last == entry.frames.begin()) {
        return nullptr;
    }
    --last;
    const std::size_t target = last->first;
    if (entry.decoded == target) {
        return entry.surface.get();
    }
    const auto dataOf = [&](const Entry::FrameTag& where) {
        const RawTag& tag =
            where.spriteTag != nullptr ? *where.spriteTag : movie.otherTags[where.mainIndex];
        const auto read = ReadVideoFrame(tag.body);
        return read ? read->data : std::span<const std::uint8_t>();
    };
    // Where to start: the key frame at or before the target, unless the
    // picture is already between it and the target.
    auto start = last;
    while (start != entry.frames.begin() &&
           !IsKeyFrame(entry.stream->codec, dataOf(start->second))) {
        --start;
    }
    if (entry.decoded && *entry.decoded < target && *entry.decoded >= start->first) {
        start = entry.frames.upper_bound(*entry.decoded);
    } else {
        entry.decoder->Restart();
    }
    bool changed = false;
    for (auto at = start; at != std::next(last); ++at) {
        changed = entry.decoder->Decode(dataOf(at->second), entry.picture) || changed;
    }
    entry.decoded = target;
    if (changed) {
        entry.surface = SurfaceFromImage(entry.picture);
    }
    return entry.surface.get();
}

} // namespace swf
