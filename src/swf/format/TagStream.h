// Splits a run of tags into tags, and builds timelines and the dictionary
// from them: the part of reading shared by the main movie and sprites.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "swf/base/ByteReader.h"
#include "swf/base/Result.h"
#include "swf/format/Movie.h"

namespace swf {

// One tag as it lies in the movie: its code, where its body starts (in the
// uncompressed movie) and its body.
struct TagView {
    std::uint16_t code = 0;
    std::size_t offset = 0;
    std::span<const std::uint8_t> body;
};

// The next tag's header and body. Returns nullopt (and leaves the reader
// where it was) when the bytes left do not hold the whole tag; the length of
// the whole tag is then in needed when its header could be read.
std::optional<TagView> NextTag(ByteReader& reader, std::size_t* needed = nullptr);

RawTag Keep(const TagView& tag);

// Adds the control tags of one timeline (frames, placements, labels, actions
// and sounds) to it, frame by frame.
class TimelineBuilder {
public:
    // maxBytes bounds the memory the timeline may take (see ModelSize.h).
    TimelineBuilder(Timeline& timeline, std::size_t maxBytes)
        : timeline(timeline), maxBytes(maxBytes) {}

    // Adds a control tag; returns false (and does nothing) for any other tag,
    // or an error for a damaged one or one past the limits.
    Result<bool> Add(const TagView& tag);
    // Ends the timeline: tags after the last ShowFrame form a last frame.
    void End();
    // The memory the timeline takes so far, roughly.
    std::size_t Bytes() const { return bytes; }

private:
    Timeline& timeline; // borrowed: the movie's or a sprite's
    std::size_t maxBytes;
    std::size_t bytes = 0;
    Frame pending;
    bool pendingUsed = false;
};

// Whether the tag defines a character (shapes, bitmaps, fonts, texts,
// buttons, sprites, sounds, video streams, binary data).
bool IsDefinitionTag(std::uint16_t code);
// The character a definition tag makes, with its tag code; sprites take at
// most maxBytes of memory.
Result<Character> ReadDefinition(const TagView& tag, std::size_t maxBytes);

// Adds a definition or movie-level tag of the main movie (everything that is
// not a control tag) to the movie. Returns the memory it took, roughly, or an
// error for a damaged tag or one that would take more than maxBytes.
Result<std::size_t> AddMovieTag(Movie& movie, const TagView& tag, std::size_t maxBytes);

// The body of DefineSprite, with its own control tags, taking at most
// maxBytes of memory.
Result<Character> ReadDefineSprite(ByteReader reader, std::size_t maxBytes);

// The memory a movie may take by default, roughly.
constexpr std::size_t DefaultMaxModelBytes = std::size_t{1} << 30;

} // namespace swf
