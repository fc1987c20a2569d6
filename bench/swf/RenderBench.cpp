// Rendering benchmarks:
//  - CorpusFrame: the median, over the corpus's movies, of the CPU time to render
//    one frame (the 11th, as the reference pictures show it) with the
//    renderer's caches warm, at stage size and at 480 x 640;
//  - DemoTenSeconds: the CPU time of playing the demo movie for 10 s of its
//    frames through the frame clock, the player and the view, as the control
//    does, given as a share of one core over those 10 s. The demo movie is the
//    build's demo.swf when there is one, else a movie of the same kind made
//    here (moving, turning, scaling and fading shapes, gradients, a bitmap,
//    text, a sprite).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "swf/format/MovieParser.h"
#include "swf/render/MovieView.h"
#include "swf/runtime/MoviePlayer.h"
#include "swfwriter/BlockFont.h"
#include "swfwriter/MovieWriter.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct LoadedMovie {
    std::unique_ptr<swf::MovieParser> parser;
    std::unique_ptr<swf::MoviePlayer> player;
    std::unique_ptr<swf::MovieView> view;
};

LoadedMovie Load(const std::vector<std::uint8_t>& bytes) {
    LoadedMovie loaded;
    loaded.parser = std::make_unique<swf::MovieParser>();
    loaded.parser->Append(bytes);
    loaded.parser->Finish();
    loaded.player = std::make_unique<swf::MoviePlayer>(loaded.parser->GetMovie());
    loaded.player->SetComplete(true);
    loaded.player->FramesAdded();
    loaded.view = std::make_unique<swf::MovieView>(loaded.parser->GetMovie());
    return loaded;
}

// CPU time, so that other work on a shared machine does not count.
double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::vector<LoadedMovie>& Corpus() {
    static std::vector<LoadedMovie> movies = [] {
        std::vector<LoadedMovie> loaded;
        const auto dir = std::filesystem::path(VANTREL_CORPUS_DIR) / "swf-images";
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
            if (entry.path().extension() != ".swf") {
                continue;
            }
            LoadedMovie movie = Load(ReadFile(entry.path()));
            if (!movie.parser->HeaderRead()) {
                continue;
            }
            for (int frame = 1; frame < 11; ++frame) {
                movie.player->Tick();
            }
            loaded.push_back(std::move(movie));
        }
        return loaded;
    }();
    return movies;
}

// range(0): 0 for stage size, 1 for 480 x 640.
void CorpusFrame(benchmark::State& state) {
    auto& movies = Corpus();
    if (movies.empty()) {
        state.SkipWithError("no corpus movies");
        return;
    }
    std::vector<double> total(movies.size(), 0.0);
    std::int64_t rounds = 0;
    for (auto _ : state) {
        for (std::size_t i = 0; i < movies.size(); ++i) {
            LoadedMovie& movie = movies[i];
            const swf::Rect& stage = movie.parser->GetMovie().header.frameSize;
            const swf::ViewSettings settings =
                state.range(0) == 0
                    ? swf::ViewSettings{std::max(1, stage.Width() / 20),
                                        std::max(1, stage.Height() / 20), swf::ScaleMode::ShowAll}
                    : swf::ViewSettings{480, 640, swf::ScaleMode::ShowAll};
            movie.view->Invalidate();
            const double start = ThreadCpuSeconds();
            movie.view->Update(*movie.player, settings);
            total[i] += (ThreadCpuSeconds() - start) * 1000.0;
        }
        ++rounds;
    }
    // Many of the corpus's movies draw with actions, which do not run yet,
    // and show an empty stage; the median over the movies that show
    // something is given apart.
    std::vector<double> perMovie;
    std::vector<double> drawn;
    for (std::size_t i = 0; i < movies.size(); ++i) {
        perMovie.push_back(total[i] / double(rounds));
        if (!movies[i].player->Root().GetChildren().empty()) {
            drawn.push_back(perMovie.back());
        }
    }
    std::sort(perMovie.begin(), perMovie.end());
    std::sort(drawn.begin(), drawn.end());
    state.counters["median_ms"] = perMovie[perMovie.size() / 2];
    state.counters["drawn_median_ms"] = drawn.empty() ? 0.0 : drawn[drawn.size() / 2];
    state.counters["drawn_movies"] = double(drawn.size());
    state.counters["p90_ms"] = perMovie[perMovie.size() * 9 / 10];
    state.counters["max_ms"] = perMovie.back();
    state.counters["movies"] = double(movies.size());
}
BENCHMARK(CorpusFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A movie like the demo: 240 x 320 at 20 fps, 200 frames.
std::vector<std::uint8_t> DemoStandIn() {
    using namespace swfwriter;
    MovieWriter movie(8, 240, 320, 20);
    movie.SetBackground({240, 240, 250});
    ShapeBuilder box;
    box.SetStyle(0, box.AddFill(Fill::Solid({200, 40, 40})), box.AddLine({40, {0, 0, 0}}));
    box.Rectangle(-600, -600, 1200, 1200);
    const auto boxId = movie.DefineShape(box);
    ShapeBuilder ball;
    ball.SetStyle(0,
                  ball.AddFill(Fill::Radial({{0, {255, 255, 255}}, {255, {30, 90, 200}}}, -500,
                                            -500, 1000, 1000)),
                  0);
    ball.Ellipse(0, 0, 500, 500);
    const auto ballId = movie.DefineShape(ball);
    std::vector<Color> pixels;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            pixels.push_back({std::uint8_t(x * 8), std::uint8_t(y * 8), 128, 255});
        }
    }
    const auto bitmapId = movie.DefineBitmap(32, 32, pixels);
    ShapeBuilder picture;
    picture.SetStyle(0, picture.AddFill(Fill::Bitmap(bitmapId, 0, 0)), 0);
    picture.Rectangle(0, 0, 640, 640);
    const auto pictureId = movie.DefineShape(picture);
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    const auto text = movie.DefineText({{font, 360, {20, 20, 20}, 0, 0, "VANTREL DEMO"}});
    TimelineWriter spinner;
    spinner.Place(1, boxId);
    for (int i = 0; i < 24; ++i) {
        spinner.Move(1, {.matrix = Matrix::Transform(0, 0, 0.5, 0.5, i * 15.0)});
        spinner.ShowFrame();
    }
    const auto spinnerId = movie.DefineSprite(spinner);
    movie.Place(1, pictureId, {.matrix = Matrix::Translate(3400, 400)});
    movie.Place(2, text, {.matrix = Matrix::Translate(400, 6000)});
    movie.Place(3, spinnerId, {.matrix = Matrix::Translate(2400, 4000)});
    movie.Place(4, boxId);
    movie.Place(5, ballId);
    for (int frame = 0; frame < 200; ++frame) {
        const double t = frame / 200.0;
        movie.Move(4, {.matrix = Matrix::Transform(800 + int(t * 3000), 1600, 1.0 + t, 1.0 + t,
                                                   frame * 3.0)});
        movie.Move(5, {.matrix = Matrix::Translate(2400, 2000 + int(t * 3000)),
                       .colorTransform = ColorTransform::Fade(1.0 - t * 0.8)});
        movie.ShowFrame();
    }
    return movie.Finish(Compression::Zlib);
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

void DemoTenSeconds(benchmark::State& state) {
    const auto demoPath = std::filesystem::path(VANTREL_BINARY_DIR) / "demo.swf";
    const auto bytes = std::filesystem::exists(demoPath) ? ReadFile(demoPath) : DemoStandIn();
    state.SetLabel(std::filesystem::exists(demoPath) ? "demo.swf" : "stand-in demo");
    double cpu = 0.0;
    std::int64_t rendered = 0, skipped = 0;
    for (auto _ : state) {
        LoadedMovie movie = Load(bytes);
        swf::FrameClock clock(movie.parser->GetMovie().header.frameRate);
        const double start = ProcessCpuSeconds();
        // The control's timer: every 10 ms of device time, the frame periods
        // that ended are played and the picture brought up to date.
        clock.Advance(0);
        movie.view->Update(*movie.player, {240, 320, swf::ScaleMode::ShowAll});
        for (std::uint64_t now = 10; now <= 10000; now += 10) {
            for (int due = clock.Advance(now); due > 0; --due) {
                movie.player->Tick();
            }
            movie.view->Update(*movie.player, {240, 320, swf::ScaleMode::ShowAll});
        }
        cpu += ProcessCpuSeconds() - start;
        rendered += std::int64_t(movie.view->FramesRendered());
        skipped += std::int64_t(movie.view->FramesSkipped());
    }
    const double runs = double(state.iterations());
    state.counters["cpu_s_per_10s"] = cpu / runs;
    state.counters["core_percent"] = cpu / runs / 10.0 * 100.0;
    state.counters["frames_rendered"] = double(rendered) / runs;
    state.counters["updates_skipped"] = double(skipped) / runs;
}
BENCHMARK(DemoTenSeconds)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
