// The corpus's movies with actions, rendered as the control plays them:
// with their scripts running, ten frame periods after the first frame, and
// compared with the reference pictures by the corpus's "close" rule. Each
// movie's result is printed beside what the picture is without scripts;
// the count with scripts may only ever rise.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "CorpusFiles.h"
#include "RenderHelpers.h"
#include "swf/format/ImageCodecs.h"
#include "swf/script/MovieScripts.h"

namespace {

// Raise as the engine improves; never lower.
constexpr int CloseWithScriptsFloor = 73;

class QuietHost final : public swf::script::VmHost {
public:
    void Trace(std::string_view) override {}
    std::uint64_t MovieMilliseconds() override { return now; }
    double WallClockMilliseconds() override { return 1.2e12 + double(now); }
    int TimeZoneOffsetMinutes(double) override { return 0; }
    void Note(std::string_view) override {}
    std::uint64_t now = 0;
};

// No more than 0.5 % of the pixels with a channel off by more than 24.
bool Close(const swf::MovieView& view, const swf::DecodedImage& reference) {
    if (view.Width() != reference.width || view.Height() != reference.height) {
        return false;
    }
    std::size_t far = 0;
    for (int y = 0; y < view.Height(); ++y) {
        for (int x = 0; x < view.Width(); ++x) {
            const std::uint32_t a = view.Pixel(x, y);
            const std::uint32_t b = reference.At(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 24) {
                    ++far;
                    break;
                }
            }
        }
    }
    return far * 200 <= std::size_t(view.Width()) * view.Height();
}

std::unique_ptr<swf::MovieView> RenderWithScripts(const swf::Movie& movie, int frame) {
    swf::MoviePlayer player(movie);
    player.SetComplete(true);
    QuietHost host;
    swf::script::MovieScripts scripts(player, host);
    scripts.Start();
    const double period = 1000.0 / (movie.header.frameRate > 0 ? movie.header.frameRate : 12.0);
    for (int i = 1; i < frame; ++i) {
        host.now = std::uint64_t(period * i);
        scripts.Tick();
    }
    auto view = std::make_unique<swf::MovieView>(movie);
    const swf::Rect& stage = movie.header.frameSize;
    view->Update(player,
                 {std::max(1, stage.Width() / swf::TwipsPerPixel),
                  std::max(1, stage.Height() / swf::TwipsPerPixel), swf::ScaleMode::ShowAll});
    return view;
}

TEST(ScriptedRenderCorpus, MoviesWithActionsLookAsTheReferenceWithTheirScriptsRunning) {
    const auto movies = corpus::Movies();
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus movies in " << corpus::ImagesDir();
    }
    int compared = 0, withScripts = 0, without = 0;
    for (const auto& path : movies) {
        const auto bytes = corpus::ReadFile(path);
        const auto parser = testmovies::Parse(bytes);
        const swf::Movie& movie = parser->GetMovie();
        if (!rendertest::HasActions(movie)) {
            continue;
        }
        const auto reference = swf::DecodePng(corpus::ReadFile(path.string() + ".png"), {});
        ASSERT_TRUE(reference) << path << ": " << reference.GetError().message;
        const bool scripted = Close(*RenderWithScripts(movie, 11), *reference);
        const bool plain = Close(*rendertest::RenderAtStageSize(movie, 11), *reference);
        ++compared;
        withScripts += scripted ? 1 : 0;
        without += plain ? 1 : 0;
        std::printf("%-40s with scripts %-5s without %s\n", path.filename().c_str(),
                    scripted ? "close" : "FAIL", plain ? "close" : "FAIL");
    }
    std::printf("%d movies with actions: %d close with their scripts, %d without\n", compared,
                withScripts, without);
    EXPECT_GE(withScripts, CloseWithScriptsFloor);
}

} // namespace
