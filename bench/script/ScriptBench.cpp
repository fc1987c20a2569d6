// The script engine's time per frame on the script-heavy writer movies:
// each benchmark iteration is one frame period of the movie (the player's
// tick and the scripts it runs), after a first frame that set the movie up.
//   ScriptFrame/<movie>: see ScriptBenchMovies.h for what each does.
#include <benchmark/benchmark.h>

#include <memory>

#include "ScriptBenchMovies.h"
#include "swf/format/MovieParser.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/script/MovieScripts.h"

namespace {

class BenchHost final : public swf::script::VmHost {
public:
    void Trace(std::string_view line) override { last = line; }
    std::uint64_t MovieMilliseconds() override { return now; }
    double WallClockMilliseconds() override { return 1.2e12 + double(now); }
    int TimeZoneOffsetMinutes(double) override { return 0; }
    void Note(std::string_view) override { ++notes; }
    std::uint64_t now = 0;
    int notes = 0;
    std::string last;
};

void ScriptFrame(benchmark::State& state, std::size_t index) {
    const auto movies = benchmovies::ScriptMovies();
    const benchmovies::ScriptMovie& movie = movies.at(index);
    swf::MovieParser parser;
    parser.Append(movie.bytes);
    parser.Finish();
    BenchHost host;
    swf::MoviePlayer player(parser.GetMovie());
    player.SetComplete(true);
    swf::script::MovieScripts scripts(player, host);
    scripts.Start();
    for (auto _ : state) {
        host.now += 33;
        scripts.Tick();
    }
    if (host.notes > 0) {
        state.SkipWithError("a script was stopped by a limit");
    } else if (!movie.expectedTrace.empty() && host.last != movie.expectedTrace) {
        state.SkipWithError(("the frame's work traced " + host.last).c_str());
    }
    state.SetLabel(movie.description);
}

} // namespace

BENCHMARK_CAPTURE(ScriptFrame, arrays, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScriptFrame, strings, 1)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScriptFrame, calls, 2)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScriptFrame, clip_properties, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ScriptFrame, moving_clips, 4)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
