// swftrace MOVIE [--frames N]: plays the movie's first frame and then N frame
// periods (10 unless given) on a virtual clock, and writes each line its
// scripts trace to standard output, nothing else. Notes (a script stopped by
// a limit, an fscommand) go to standard error. Exits 0 when the movie ran,
// whatever its scripts did; 2 when it cannot be read; 1 on a wrong command.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "swf/script/TraceRun.h"

namespace {

int Usage() {
    std::fprintf(stderr, "usage: swftrace MOVIE [--frames N]\n");
    return 1;
}

// Minutes east of UTC of the host's time zone at a moment.
int LocalOffsetMinutes(double utcMilliseconds) {
    const std::time_t seconds = static_cast<std::time_t>(utcMilliseconds / 1000.0);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return 0;
    }
    return static_cast<int>(local.tm_gmtoff / 60);
}

} // namespace

int main(int argc, char** argv) {
    const char* path = nullptr;
    swf::script::TraceRunOptions options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const long frames = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || frames < 0 || frames > 1000000) {
                return Usage();
            }
            options.frames = static_cast<int>(frames);
        } else if (argv[i][0] == '-' || path != nullptr) {
            return Usage();
        } else {
            path = argv[i];
        }
    }
    if (path == nullptr) {
        return Usage();
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "swftrace: cannot open %s\n", path);
        return 2;
    }
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
    options.wallClockStart =
        static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                std::chrono::system_clock::now().time_since_epoch())
                                .count());
    options.timeZoneOffsetMinutes = LocalOffsetMinutes;
    options.movieUrl = std::string("file://") + path;
    const auto result = swf::script::RunForTrace(bytes, options, [](std::string_view line) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    });
    if (!result.readable) {
        std::fprintf(stderr, "swftrace: %s: %s\n", path, result.error.c_str());
        return 2;
    }
    for (const auto& note : result.notes) {
        std::fprintf(stderr, "swftrace: %s\n", note.c_str());
    }
    return 0;
}
