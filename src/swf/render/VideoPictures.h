// The pictures of a movie's embedded videos: for each video stream, the
// frame its object shows (the placement's ratio) decoded from the movie's
// VideoFrame tags. Playing on decodes only the new frames; a jump back, or
// far ahead, starts again from the key frame before the frame asked for.
#pragma once

#include <cairo.h>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "swf/format/Movie.h"
#include "swf/format/VideoDecoding.h"
#include "swf/render/RenderCache.h"

namespace swf {

class VideoPictures {
public:
    // movie is borrowed and must outlive this.
    explicit VideoPictures(const Movie& movie);
    ~VideoPictures();
    VideoPictures(const VideoPictures&) = delete;
    VideoPictures& operator=(const VideoPictures&) = delete;

    // The stream's definition; nullptr when it does not read.
    const VideoStream* Stream(const Character& video);
    // The picture of the stream at frame (or the last frame before it that
    // has one); nullptr when there is none.
    cairo_surface_t* Picture(const Character& video, std::size_t frame);

private:
    struct Entry;
    Entry& EntryFor(const Character& video);
    void IndexFrames(Entry& entry);

    const Movie& movie;
    std::map<CharacterId, std::unique_ptr<Entry>> entries;
};

} // namespace swf
