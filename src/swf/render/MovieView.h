// A movie's picture in a window: the frame the player shows, rendered at
// the window's size in its scale mode, kept until something on stage
// changes. This is the one path from a player to pixels, used by the
// movie control to paint its window and by swfrender to write images.
//
//   MovieView view(movie);
//   player.Tick();
//   if (view.Update(player, {240, 320, ScaleMode::ShowAll})) {
//       // repaint the window from view.Pixels()
//   }
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "swf/base/Result.h"
#include "swf/format/Movie.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/runtime/StagePlacement.h"

namespace swf {

// The largest picture a view makes (a damaged movie may declare a stage
// of thousands of pixels a side).
constexpr int MaxViewSide = 8192;
constexpr long long MaxViewPixels = 4096LL * 4096LL;

struct ViewSettings {
    int width = 0; // window pixels
    int height = 0;
    ScaleMode scaleMode = ScaleMode::ShowAll;
    bool operator==(const ViewSettings&) const = default;
};

class MovieView {
public:
    // movie is borrowed and must outlive the view.
    explicit MovieView(const Movie& movie);
    ~MovieView();
    MovieView(const MovieView&) = delete;
    MovieView& operator=(const MovieView&) = delete;

    // Brings the picture up to date with what the player holds and the
    // window's size and scale mode. Renders only when one of them changed
    // (a frame rendered), and then only the pixels of what looks different;
    // returns whether any pixel was drawn. An update that finds nothing
    // changed counts as a frame skipped. A window that is empty or past the
    // limits above gets no picture.
    bool Update(const MoviePlayer& player, const ViewSettings& settings);

    // Forgets the picture, so that the next update renders whatever it finds.
    void Invalidate();

    // The picture of the last update: width * height 32-bit pixels, top row
    // first, 0xAARRGGBB in native byte order (the layout of a top-down
    // 32-bit DIB); opaque wherever the stage's background reaches. Empty
    // before the first update with a non-empty window.
    int Width() const;
    int Height() const;
    std::span<const std::uint32_t> Pixels() const;
    std::uint32_t Pixel(int x, int y) const;

    Result<bool> WritePng(const std::string& path) const;

    std::uint64_t FramesRendered() const { return rendered; }
    std::uint64_t FramesSkipped() const { return skipped; }
    // Frames rendered by copying the rows that changed from an earlier
    // picture of the same stage instead of drawing them.
    std::uint64_t FramesCopied() const { return copied; }

    // Why bitmaps of the movie could not be drawn (one line each), for tools.
    std::string BitmapProblems() const;

private:
    struct Picture;

    const Movie& movie;
    std::unique_ptr<Picture> picture;
    std::uint64_t rendered = 0;
    std::uint64_t skipped = 0;
    std::uint64_t copied = 0;
};

} // namespace swf
