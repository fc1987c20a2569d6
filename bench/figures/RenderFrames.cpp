// vantrel_render_frames WxH MOVIE...: plays each movie's first eleven frames
// (the frames the corpus's reference pictures cover) into a view of W x H
// pixels, as the control does, and prints, as one JSON object, the median
// and the worst CPU time of drawing a frame over every frame of every movie
// that had something to draw, in milliseconds, and how many frames had
// nothing new to draw.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "swf/format/MovieParser.h"
#include "swf/render/MovieView.h"
#include "swf/runtime/MoviePlayer.h"

namespace {

constexpr int Frames = 11;

// CPU time, so that other work on a shared machine does not count.
double ThreadCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The drawing time of each frame of the movie in the file that drew
// something; none when it does not read.
std::vector<double> FrameTimes(const char* path, const swf::ViewSettings& settings,
                               int& unchanged) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    swf::MovieParser parser;
    parser.Append(bytes);
    parser.Finish();
    if (!parser.HeaderRead()) {
        return {};
    }
    swf::MoviePlayer player(parser.GetMovie());
    player.SetComplete(true);
    player.FramesAdded();
    swf::MovieView view(parser.GetMovie());
    std::vector<double> times;
    for (int frame = 0; frame < Frames; ++frame) {
        if (frame > 0) {
            player.Tick();
        }
        const double start = ThreadCpuMilliseconds();
        if (view.Update(player, settings)) {
            times.push_back(ThreadCpuMilliseconds() - start);
        } else {
            ++unchanged;
        }
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    int width = 0;
    int height = 0;
    if (argc < 3 || std::sscanf(argv[1], "%dx%d", &width, &height) != 2 || width <= 0 ||
        height <= 0) {
        std::fprintf(stderr, "usage: vantrel_render_frames WxH MOVIE...\n");
        return 2;
    }
    const swf::ViewSettings settings{width, height, swf::ScaleMode::ShowAll};
    std::vector<double> times;
    int movies = 0;
    int unchanged = 0;
    for (int i = 2; i < argc; ++i) {
        const auto movieTimes = FrameTimes(argv[i], settings, unchanged);
        movies += movieTimes.empty() ? 0 : 1;
        times.insert(times.end(), movieTimes.begin(), movieTimes.end());
    }
    if (times.empty()) {
        std::fprintf(stderr, "vantrel_render_frames: no movie could be read\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("{\"median_ms\": %.4f, \"worst_ms\": %.4f, \"frames_drawn\": %zu, "
                "\"frames_unchanged\": %d, \"movies_drawn\": %d}\n",
                times[times.size() / 2], times.back(), times.size(), unchanged, movies);
    return 0;
}
