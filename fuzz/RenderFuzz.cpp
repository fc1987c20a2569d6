// A damaged movie drawn: parsed, played a few frames and rendered into a
// small window, then turned and drawn again with another scale mode.
// Whatever the damage, a picture or none, never a fault or an unbounded
// allocation.
#include <algorithm>
#include <span>

#include "swf/format/MovieParser.h"
#include "swf/render/MovieView.h"
#include "swf/runtime/MoviePlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    swf::MovieParser parser;
    parser.Append(std::span<const std::uint8_t>(data, size));
    parser.Finish();
    if (!parser.HeaderRead()) {
        return 0;
    }
    const swf::Movie& movie = parser.GetMovie();
    swf::MoviePlayer player(movie);
    player.SetComplete(true);
    player.FramesAdded();
    swf::MovieView view(movie);
    // At most a modest window, whatever stage the damage declares.
    const swf::Rect& stage = movie.header.frameSize;
    const int width = std::clamp(stage.Width() / 20, 1, 160);
    const int height = std::clamp(stage.Height() / 20, 1, 160);
    for (int frame = 0; frame < 3; ++frame) {
        view.Update(player, {width, height, swf::ScaleMode::ShowAll});
        player.Tick();
    }
    swf::RootProperties turned;
    turned.rotation = 45;
    player.SetRootProperties(turned);
    view.Update(player, {height, width, swf::ScaleMode::NoBorder});
    return 0;
}
