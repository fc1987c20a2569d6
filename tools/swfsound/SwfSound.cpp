// swfsound MOVIE [--frames N] --out FILE.wav
//
// Plays a movie from its first frame for N frame periods (default 10) and
// writes what the mixer gives, 44.1 kHz stereo 16-bit, as a WAV file of N
// frame periods exactly: the sounds of the first frame start at its first
// sample. Sounds that could not be played are listed on standard error.
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/audio/OfflineMix.h"
#include "swf/audio/Voice.h"
#include "swf/audio/WavWriter.h"
#include "swf/format/MovieParser.h"

namespace {

struct Options {
    std::string movie;
    std::string out;
    long frames = 10;
};

std::optional<Options> ReadOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            options.out = argv[++i];
        } else if (arg == "--frames" && i + 1 < argc) {
            const std::string_view text = argv[++i];
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), options.frames);
            if (error != std::errc() || end != text.data() + text.size() || options.frames < 0) {
                return std::nullopt;
            }
        } else if (!arg.starts_with("--") && options.movie.empty()) {
            options.movie = arg;
        } else {
            return std::nullopt;
        }
    }
    if (options.movie.empty() || options.out.empty()) {
        return std::nullopt;
    }
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const auto options = ReadOptions(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: swfsound MOVIE [--frames N] --out FILE.wav\n");
        return 2;
    }
    std::ifstream in(options->movie, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "swfsound: cannot read %s\n", options->movie.c_str());
        return 1;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    swf::MovieParser parser;
    parser.Append(bytes);
    parser.Finish();
    if (!parser.HeaderRead()) {
        std::fprintf(stderr, "swfsound: %s: %s\n", options->movie.c_str(),
                     parser.Failure() ? parser.Failure()->message.c_str() : "not a movie");
        return 1;
    }
    if (parser.Failure()) {
        std::fprintf(stderr, "swfsound: %s: %s at offset %zu\n", options->movie.c_str(),
                     parser.Failure()->message.c_str(), parser.Failure()->offset);
    }
    auto writer = swf::WavWriter::Create(options->out, swf::MixRate, 2);
    if (!writer) {
        std::fprintf(stderr, "swfsound: %s\n", writer.GetError().message.c_str());
        return 1;
    }
    const auto mixed = swf::MixMovie(parser.GetMovie(), options->frames);
    if (!writer.Value()->Write(mixed.samples)) {
        std::fprintf(stderr, "swfsound: cannot write %s\n", options->out.c_str());
        return 1;
    }
    std::fputs(mixed.problems.c_str(), stderr);
    return 0;
}
