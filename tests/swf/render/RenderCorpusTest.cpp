// The corpus's movies without actions, rendered at stage size and compared
// with the pictures another player made of them, by the corpus's rules:
// exact when no channel of any pixel is off by more than 3, close when no
// more than 0.5 % of the pixels have a channel off by more than 24. Every
// movie's result is printed; the counts may only ever rise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "CorpusFiles.h"
#include "RenderHelpers.h"
#include "swf/format/ImageCodecs.h"

namespace {

// Raise these as the renderer improves; never lower them.
constexpr int ExactFloor = 38;
constexpr int CloseFloor = 38;

struct Comparison {
    int maxDifference = 0;
    std::size_t farPixels = 0; // a channel off by more than 24
    std::size_t pixels = 0;
    bool sizeMatches = true;

    bool Exact() const { return sizeMatches && maxDifference <= 3; }
    bool Close() const { return sizeMatches && farPixels * 200 <= pixels; }
};

Comparison Compare(const swf::MovieView& view, const swf::DecodedImage& reference) {
    Comparison result;
    result.sizeMatches = view.Width() == reference.width && view.Height() == reference.height;
    const int width = std::min(view.Width(), reference.width);
    const int height = std::min(view.Height(), reference.height);
    result.pixels = std::size_t(width) * height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = view.Pixel(x, y);
            const std::uint32_t b = reference.At(x, y);
            int worst = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                worst =
                    std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            }
            result.maxDifference = std::max(result.maxDifference, worst);
            result.farPixels += worst > 24 ? 1 : 0;
        }
    }
    return result;
}

TEST(RenderCorpus, MoviesWithoutActionsMatchTheirReferencePictures) {
    const auto movies = corpus::Movies();
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus movies in " << corpus::ImagesDir();
    }
    int compared = 0, exact = 0, close = 0;
    for (const auto& path : movies) {
        const auto bytes = corpus::ReadFile(path);
        const auto parser = testmovies::Parse(bytes);
        const swf::Movie& movie = parser->GetMovie();
        if (rendertest::HasActions(movie)) {
            continue;
        }
        const auto png = corpus::ReadFile(path.string() + ".png");
        const auto reference = swf::DecodePng(png, {});
        ASSERT_TRUE(reference) << path << ": " << reference.GetError().message;
        // The reference shows the movie ten frame periods after it was
        // loaded with its first frame: the eleventh frame.
        const auto view = rendertest::RenderAtStageSize(movie, 11);
        const Comparison c = Compare(*view, *reference);
        ++compared;
        exact += c.Exact() ? 1 : 0;
        close += c.Close() ? 1 : 0;
        std::printf("%-34s %-5s max %3d, %5.2f %% far%s\n", path.filename().c_str(),
                    c.Exact()   ? "exact"
                    : c.Close() ? "close"
                                : "FAIL",
                    c.maxDifference,
                    c.pixels == 0 ? 0.0 : 100.0 * double(c.farPixels) / double(c.pixels),
                    c.sizeMatches ? "" : ", size differs");
    }
    std::printf("%d movies without actions: %d exact, %d close\n", compared, exact, close);
    // Every movie of the corpus without actions, so none drops out unnoticed.
    EXPECT_EQ(compared, 38);
    EXPECT_GE(exact, ExactFloor);
    EXPECT_GE(close, CloseFloor);
}

} // namespace
