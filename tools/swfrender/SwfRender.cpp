// swfrender MOVIE --frames N --out FILE.png [--width W --height H] [--scale MODE]
//
// Plays a movie to its frame N (1 is the first frame; each further frame is
// one frame period, sprites advancing with it, as in the player) and writes
// the picture as PNG: at the stage's size, or fitted to W x H by the scale
// mode (0 show all, the default; 1 no border; 2 exact fit; 3 no scale).
// Bitmaps that could not be decoded are listed on standard error.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/format/MovieParser.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/render/MovieView.h"

namespace {

struct Options {
    std::string movie;
    std::string out;
    long frames = 1;
    std::optional<long> width;
    std::optional<long> height;
    long scaleMode = 0;
};

std::optional<long> Number(std::string_view text) {
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Options> ReadOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--out" && hasValue) {
            options.out = argv[++i];
        } else if ((arg == "--frames" || arg == "--width" || arg == "--height" ||
                    arg == "--scale") &&
                   hasValue) {
            const auto value = Number(argv[++i]);
            if (!value || *value < 0) {
                return std::nullopt;
            }
            if (arg == "--frames") {
                options.frames = *value;
            } else if (arg == "--width") {
                options.width = *value;
            } else if (arg == "--height") {
                options.height = *value;
            } else {
                options.scaleMode = *value;
            }
        } else if (!arg.starts_with("--") && options.movie.empty()) {
            options.movie = arg;
        } else {
            return std::nullopt;
        }
    }
    if (options.movie.empty() || options.out.empty() || options.frames < 1 ||
        options.width.value_or(1) < 1 || options.height.value_or(1) < 1) {
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const auto options = ReadOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: swfrender MOVIE --frames N --out FILE.png "
                             "[--width W --height H] [--scale 0-3]\n");
        return 2;
    }
    std::ifstream in(options->movie, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "swfrender: cannot read %s\n", options->movie.c_str());
        return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    swf::MovieParser parser;
    parser.Append(bytes);
    parser.Finish();
    if (!parser.HeaderRead()) {
        std::fprintf(stderr, "swfrender: %s: %s\n", options->movie.c_str(),
                     parser.Failure() ? parser.Failure()->message.c_str() : "not a movie");
        return 1;
    }
    if (parser.Failure()) {
        // What came before the damage still plays.
        std::fprintf(stderr, "swfrender: %s: %s at offset %zu\n", options->movie.c_str(),
                     parser.Failure()->message.c_str(), parser.Failure()->offset);
    }
    const swf::Movie& movie = parser.GetMovie();
    swf::MoviePlayer player(movie);
    player.SetComplete(true);
    player.FramesAdded();
    for (long frame = 1; frame < options->frames; ++frame) {
        player.Tick();
    }
    const int stageWidth = std::max(1, movie.header.frameSize.Width() / swf::TwipsPerPixel);
    const int stageHeight = std::max(1, movie.header.frameSize.Height() / swf::TwipsPerPixel);
    const swf::ViewSettings settings{static_cast<int>(options->width.value_or(stageWidth)),
                                     static_cast<int>(options->height.value_or(stageHeight)),
                                     swf::ScaleModeFromNumber(options->scaleMode)};
    swf::MovieView view(movie);
    if (!view.Update(player, settings)) {
        std::fprintf(stderr, "swfrender: no picture of %d x %d pixels\n", settings.width,
                     settings.height);
        return 1;
    }
    std::fputs(view.BitmapProblems().c_str(), stderr);
    const auto written = view.WritePng(options->out);
    if (!written) {
        std::fprintf(stderr, "swfrender: %s\n", written.GetError().message.c_str());
        return 1;
    }
    return 0;
}
