// The runtime's frame order against what Flash Player wrote for the
// reference movies whose actions the test's stand-in runner can run (trace,
// a clip's name and frame, gotos, play and stop): which clips enter frames
// in which order, when placed clips' events come, what a goto keeps and
// removes, when a removed clip's unload runs.
#include <gtest/gtest.h>

#include <sstream>

#include "CorpusFiles.h"
#include "TestMovies.h"
#include "TraceRunner.h"

namespace {

std::vector<std::string> ExpectedLines(const std::filesystem::path& movie) {
    std::ifstream in(movie.string() + ".trace");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The movies about frame order, placement, gotos and removal: each must
// give Flash Player's trace exactly.
constexpr const char* orderMovies[] = {
    "order.swf",          "goto",         "lifetime1.swf",   "load-",         "names.swf",
    "onload-childparent", "doaction-",    "rewind-remove",   "place-object-", "DoInitAction-this",
    "previousframe-stop", "children.swf", "parent-root.swf",
};

// Movies the runner reaches that match their traces; a floor that only rises.
constexpr std::size_t passingFloor = 117;

bool AboutOrder(const std::string& name) {
    for (const char* prefix : orderMovies) {
        if (name.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

TEST(FrameOrderCorpus, MoviesWithinTheRunnersReachTraceAsFlashPlayerDid) {
    const auto movies = corpus::MoviesIn(corpus::TracesDir());
    if (movies.empty()) {
        GTEST_SKIP() << "no trace corpus at " << corpus::TracesDir();
    }
    int within = 0;
    std::vector<std::string> passed;
    std::vector<std::string> failed;
    for (const auto& movie : movies) {
        const auto bytes = corpus::ReadFile(movie);
        const auto parser = testmovies::Parse(bytes);
        if (!parser->HeaderRead()) {
            continue;
        }
        swf::MoviePlayer player(parser->GetMovie());
        tracetest::TraceRunner runner(player);
        runner.Play(10);
        if (runner.Beyond()) {
            continue;
        }
        ++within;
        const std::string name = movie.filename().string();
        if (runner.Lines() == ExpectedLines(movie)) {
            passed.push_back(name);
        } else {
            failed.push_back(name);
            if (std::getenv("TRACE_DIFF") != nullptr && name == std::getenv("TRACE_DIFF")) {
                for (const auto& line : runner.Lines()) {
                    std::printf("got: %s\n", line.c_str());
                }
            }
        }
    }
    std::ostringstream report;
    for (const auto& name : passed) {
        report << "pass " << name << "\n";
    }
    for (const auto& name : failed) {
        report << "FAIL " << name << "\n";
    }
    std::printf("%s%d movies within the runner: %zu pass\n", report.str().c_str(), within,
                passed.size());
    for (const auto& name : failed) {
        EXPECT_FALSE(AboutOrder(name)) << name << " does not give Flash Player's trace";
    }
    EXPECT_GE(passed.size(), passingFloor);
}

} // namespace
