// Reading speed: megabytes of (uncompressed) movie read per second, on a large
// generated movie of shapes, gradients, text and placements, uncompressed and
// compressed both ways.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

#include "swf/format/MovieParser.h"
#include "swfwriter/BlockFont.h"
#include "swfwriter/MovieWriter.h"

namespace {

using namespace swfwriter;

// About 12 MB: 2000 shapes of 60 edges each, a font and texts, and 4000
// frames that move twenty objects each.
std::vector<std::uint8_t> LargeMovie(Compression compression) {
    MovieWriter movie(8, 640, 480, 24.0);
    std::vector<std::uint16_t> shapes;
    for (int i = 0; i < 2000; ++i) {
        ShapeBuilder shape;
        const auto fill = shape.AddFill(
            i % 2 == 0
                ? Fill::Solid({static_cast<std::uint8_t>(i), 100, 200, 255})
                : Fill::Radial({{0, {255, 255, 255}}, {255, {0, 0, static_cast<std::uint8_t>(i)}}},
                               0, 0, 2000, 2000));
        shape.SetStyle(0, fill, shape.AddLine({20, {0, 0, 0}}));
        for (int k = 0; k < 15; ++k) {
            shape.Ellipse(k * 100, (i % 7) * 50, 300 + k * 10, 200 + i % 50);
        }
        shapes.push_back(movie.DefineShape(shape));
    }
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    std::vector<std::uint16_t> texts;
    for (int i = 0; i < 200; ++i) {
        texts.push_back(movie.DefineText(
            {{font, 240, {255, 255, 255}, 0, 0, "READING SPEED " + std::to_string(i)}}));
    }
    for (int frame = 0; frame < 4000; ++frame) {
        for (int depth = 1; depth <= 20; ++depth) {
            const Matrix matrix = Matrix::Transform((frame * depth) % 12000, (frame * 7) % 9000,
                                                    1.0 + depth * 0.01, 1.0, frame % 360);
            if (frame % 200 == 0) {
                if (frame > 0) {
                    movie.Remove(static_cast<std::uint16_t>(depth));
                }
                const auto id = depth % 4 == 0 ? texts[(frame / 200 + depth) % texts.size()]
                                               : shapes[(frame + depth * 97) % shapes.size()];
                movie.Place(static_cast<std::uint16_t>(depth), id, {.matrix = matrix});
            } else {
                movie.Move(static_cast<std::uint16_t>(depth),
                           {.matrix = matrix, .colorTransform = ColorTransform::Fade(0.5)});
            }
        }
        movie.ShowFrame();
    }
    return movie.Finish(compression);
}

void ReadMovie(benchmark::State& state, Compression compression) {
    const std::vector<std::uint8_t> bytes = LargeMovie(compression);
    std::size_t movieBytes = 0;
    for (auto _ : state) {
        swf::MovieParser parser;
        parser.Append(bytes);
        parser.Finish();
        if (parser.Failure() || !parser.Complete()) {
            state.SkipWithError("the movie did not read");
            return;
        }
        movieBytes = parser.GetMovie().header.fileLength;
        benchmark::DoNotOptimize(parser.GetMovie().root.frames.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * movieBytes));
    state.counters["movie MB"] = static_cast<double>(movieBytes) / (1 << 20);
    state.counters["file MB"] = static_cast<double>(bytes.size()) / (1 << 20);
}

BENCHMARK_CAPTURE(ReadMovie, Uncompressed, Compression::None)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadMovie, Zlib, Compression::Zlib)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadMovie, Lzma, Compression::Lzma)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
