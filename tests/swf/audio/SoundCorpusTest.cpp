// The corpus's sound movies against what the original player gave: the
// 44.1 kHz mix of ten frame periods, every eighth sample frame (the last of
// each group of eight) against the 5,512.5 Hz capture, and silence after it.
#include <gtest/gtest.h>

#include <filesystem>

#include "CorpusFiles.h"
#include "TestMovies.h"
#include "swf/audio/OfflineMix.h"

namespace {

std::filesystem::path SoundsDir() {
    return std::filesystem::path(VANTREL_CORPUS_DIR) / "swf-sounds";
}

TEST(SoundCorpus, EveryMovieMatchesItsCaptureExactly) {
    std::vector<std::filesystem::path> movies;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(SoundsDir(), error)) {
        if (entry.path().extension() == ".swf") {
            movies.push_back(entry.path());
        }
    }
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus movies in " << SoundsDir();
    }
    std::sort(movies.begin(), movies.end());
    int matched = 0;
    for (const auto& movie : movies) {
        SCOPED_TRACE(movie.filename().string());
        const auto bytes = corpus::ReadFile(movie);
        const auto parser = testmovies::Parse(bytes);
        ASSERT_TRUE(parser->HeaderRead());
        const auto mixed = swf::MixMovie(parser->GetMovie(), 10);
        const auto captured = corpus::ReadFile(movie.string() + ".1.0.raw");
        const std::size_t capturedFrames = captured.size() / 4;
        const std::size_t groups = mixed.samples.size() / 2 / 8;
        ASSERT_GE(groups, capturedFrames);
        std::size_t differing = 0;
        for (std::size_t k = 0; k < groups; ++k) {
            const std::size_t frame = 8 * k + 7;
            for (int channel = 0; channel < 2; ++channel) {
                std::int16_t expected = 0;
                if (k < capturedFrames) {
                    const std::size_t at = 4 * k + 2 * static_cast<std::size_t>(channel);
                    expected = static_cast<std::int16_t>(captured[at] | captured[at + 1] << 8);
                }
                differing +=
                    mixed.samples[2 * frame + static_cast<std::size_t>(channel)] != expected;
            }
        }
        EXPECT_EQ(differing, 0u);
        matched += differing == 0;
    }
    EXPECT_EQ(matched, static_cast<int>(movies.size()));
}

} // namespace
