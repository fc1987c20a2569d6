// Filtered clips: the CPU time per frame of a 240 x 320 movie of 50 clips
// with a blur and a drop shadow each, all moving, shown at 240 x 320 and at
// 480 x 640, with and without cacheAsBitmap; and of a frame where only one
// of them moved, and of the first frame, which draws every clip afresh.
//   FilteredClips/<size>/<cached>: size 0 is 240 x 320, 1 is 480 x 640.
#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

#include "swf/format/MovieParser.h"
#include "swf/render/MovieView.h"
#include "swf/runtime/MoviePlayer.h"
#include "swfwriter/MovieWriter.h"

namespace {

constexpr int Clips = 50;
constexpr int AllMoving = 24; // frames 2..24: every clip moves
constexpr int OneMoving = 24; // the next 24: only the first

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

std::vector<std::uint8_t> FilteredMovie(bool cached) {
    using namespace swfwriter;
    MovieWriter movie(8, 240, 320, 20);
    movie.SetBackground({250, 250, 240});
    ShapeBuilder box;
    box.SetStyle(0, box.AddFill(Fill::Solid({40, 120, 200})), box.AddLine({20, {0, 0, 0}}));
    box.Rectangle(0, 0, 400, 300);
    box.SetStyle(0, box.AddFill(Fill::Solid({240, 200, 40, 200})), 0);
    box.Ellipse(200, 150, 120, 100);
    const auto boxId = movie.DefineShape(box);
    const Filter blur = Filter::BlurOf(2, 2, 1);
    const Filter shadow{.kind = Filter::DropShadow,
                        .colors = {{0, 0, 0, 160}},
                        .blurX = 4,
                        .blurY = 4,
                        .angle = 0.785,
                        .distance = 4,
                        .passes = 2};
    const auto at = [](int clip, int frame) {
        const int x = 200 + (clip % 7) * 640 + frame * 23;
        const int y = 200 + (clip / 7) * 860 + frame * 11;
        // Each clip turned its own way, so that no two look alike.
        return Matrix::Transform(x % 4400, y % 6000, 1, 1, clip * 7.0);
    };
    for (int clip = 0; clip < Clips; ++clip) {
        Placement placement{.matrix = at(clip, 0), .filters = {blur, shadow}};
        if (cached) {
            placement.cacheAsBitmap = true;
        }
        movie.Place(std::uint16_t(clip + 1), boxId, placement);
    }
    movie.ShowFrame();
    for (int frame = 1; frame <= AllMoving + OneMoving; ++frame) {
        const int moving = frame <= AllMoving ? Clips : 1;
        for (int clip = 0; clip < moving; ++clip) {
            movie.Move(std::uint16_t(clip + 1), {.matrix = at(clip, frame)});
        }
        movie.ShowFrame();
    }
    return movie.Finish();
}

void FilteredClips(benchmark::State& state) {
    const bool large = state.range(0) != 0;
    const bool cached = state.range(1) != 0;
    const auto bytes = FilteredMovie(cached);
    const swf::ViewSettings settings{large ? 480 : 240, large ? 640 : 320, swf::ScaleMode::ShowAll};
    double first = 0, allMoving = 0, oneMoving = 0;
    for (auto _ : state) {
        swf::MovieParser parser;
        parser.Append(bytes);
        parser.Finish();
        swf::MoviePlayer player(parser.GetMovie());
        player.SetComplete(true);
        player.FramesAdded();
        swf::MovieView view(parser.GetMovie());
        const double start = CpuSeconds();
        view.Update(player, settings);
        first += CpuSeconds() - start;
        for (int frame = 1; frame <= AllMoving + OneMoving; ++frame) {
            player.Tick();
            const double start = CpuSeconds();
            view.Update(player, settings);
            (frame <= AllMoving ? allMoving : oneMoving) += CpuSeconds() - start;
        }
    }
    const double runs = double(state.iterations());
    // The first frame draws and filters every clip; later ones find the
    // clips' pictures kept, since moving leaves them as they were.
    state.counters["first_frame_ms"] = first / runs * 1000.0;
    state.counters["all_moving_ms"] = allMoving / runs / AllMoving * 1000.0;
    state.counters["one_moved_ms"] = oneMoving / runs / OneMoving * 1000.0;
    // The movie plays at 20 frames a second: 50 ms a frame.
    state.counters["frame_budget_ms"] = 50.0;
}
BENCHMARK(FilteredClips)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"large", "cached"})
    ->Unit(benchmark::kMillisecond);

} // namespace
