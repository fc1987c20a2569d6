// Every movie of the trace corpus against the lines Flash Player traced for
// it: each movie's result is printed (pass, or the first line that differs),
// with the counts by SWF version, and the test fails when fewer pass than
// the floor, which only ever rises. The corpus runs in shards, each taking
// every eighth movie, so that a slow build (the sanitizers') runs them side
// by side and none comes near the test timeout. TRACE_ONLY=substring runs
// the movies whose names contain it and prints their whole output.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <map>
#include <sstream>

#include "CorpusFiles.h"
#include "swf/script/TraceRun.h"

namespace {

// Movies giving exactly their expected trace, by shard; only ever raised.
// The whole corpus's floor is their sum, 1210.
constexpr std::array<std::size_t, 8> passingFloorByShard = {157, 150, 149, 150, 151, 147, 153, 153};

// Lines a movie may write before the rest is ignored (its expected trace is
// far shorter: the comparison fails anyway).
constexpr std::size_t maxLines = 100000;

std::vector<std::string> ExpectedLines(const std::filesystem::path& movie) {
    std::ifstream in(movie.string() + ".trace", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// "" when equal, else a description of the first difference.
std::string FirstDifference(const std::vector<std::string>& got,
                            const std::vector<std::string>& expected) {
    for (std::size_t i = 0; i < std::max(got.size(), expected.size()); ++i) {
        if (i >= got.size()) {
            return "line " + std::to_string(i + 1) + ": missing, expected \"" + expected[i] + "\"";
        }
        if (i >= expected.size()) {
            return "line " + std::to_string(i + 1) + ": extra \"" + got[i] + "\"";
        }
        if (got[i] != expected[i]) {
            return "line " + std::to_string(i + 1) + ": \"" + got[i] + "\", expected \"" +
                   expected[i] + "\"";
        }
    }
    return {};
}

struct Tally {
    int movies = 0;
    int passed = 0;
};

class TraceCorpus : public testing::TestWithParam<std::size_t> {};

TEST_P(TraceCorpus, MoviesTraceWhatFlashPlayerTraced) {
    const std::size_t shard = GetParam();
    const auto movies = corpus::MoviesIn(corpus::TracesDir());
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus movies in " << corpus::TracesDir();
    }
    const char* only = std::getenv("TRACE_ONLY");
    std::map<int, Tally> byVersion;
    std::size_t passed = 0;
    std::ostringstream report;
    for (std::size_t index = shard; index < movies.size(); index += passingFloorByShard.size()) {
        const auto& movie = movies[index];
        const std::string name = movie.filename().string();
        if (only != nullptr && name.find(only) == std::string::npos) {
            continue;
        }
        swf::script::TraceRunOptions options;
        // A fixed moment and time zone, so that runs are alike everywhere.
        options.wallClockStart = 1.2e12;
        options.movieUrl = "file:///" + name;
        std::vector<std::string> lines;
        const auto result =
            swf::script::RunForTrace(corpus::ReadFile(movie), options, [&](std::string_view text) {
                // A traced text with line ends is several lines of the log.
                for (std::size_t start = 0; lines.size() < maxLines;) {
                    const std::size_t end = text.find('\n', start);
                    lines.emplace_back(text.substr(start, end - start));
                    if (end == std::string_view::npos) {
                        break;
                    }
                    start = end + 1;
                }
            });
        Tally& tally = byVersion[result.version];
        ++tally.movies;
        const std::string difference = FirstDifference(lines, ExpectedLines(movie));
        if (difference.empty()) {
            ++tally.passed;
            ++passed;
            report << "pass " << name << "\n";
        } else {
            report << "FAIL " << name << ": " << difference << "\n";
        }
        if (only != nullptr) {
            for (const auto& line : lines) {
                report << "  | " << line << "\n";
            }
        }
    }
    for (const auto& [version, tally] : byVersion) {
        report << "SWF " << version << ": " << tally.passed << " of " << tally.movies << "\n";
    }
    report << "trace corpus, shard " << shard << ": " << passed << " movies pass\n";
    std::printf("%s", report.str().c_str());
    if (only == nullptr) {
        EXPECT_GE(passed, passingFloorByShard[shard]);
    }
}

INSTANTIATE_TEST_SUITE_P(Shard, TraceCorpus,
                         testing::Range<std::size_t>(0, passingFloorByShard.size()));

} // namespace
