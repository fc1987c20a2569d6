// Damaged movies rendered: flipped bytes in the writer's movies and the
// corpus's, played a few frames and drawn. Whatever the damage, rendering
// ends with a picture or none, never a crash, an out-of-bounds access (the
// sanitizer build checks) or an unbounded allocation.
#include <gtest/gtest.h>

#include <random>

#include "CorpusFiles.h"
#include "RenderHelpers.h"
#include "swf/format/MovieFile.h"
#include "swfwriter/BlockFont.h"

namespace {

using namespace swfwriter;

std::vector<std::uint8_t> EverythingMovie() {
    MovieWriter movie(8, 60, 60, 12);
    std::vector<Color> pixels(16, Color{200, 10, 10, 128});
    const auto bitmap = movie.DefineBitmap(4, 4, pixels);
    ShapeBuilder shape;
    shape.SetStyle(shape.AddFill(Fill::Bitmap(bitmap, 0, 0, false)),
                   shape.AddFill(Fill::Linear({{0, {}}, {255, {9, 9, 9}}}, 0, 0, 600, 600)),
                   shape.AddLine({20, {}}));
    shape.Ellipse(300, 300, 200, 300);
    shape.NewStyles();
    shape.SetStyle(0, shape.AddFill(Fill::Radial({{0, {1, 2, 3}}, {99, {}}}, 0, 0, 300, 300)),
                   shape.AddLine({0, {}}));
    shape.Rectangle(0, 0, 500, 500);
    const auto shapeId = movie.DefineShape(shape, 4);
    const auto font = movie.DefineFont("B", BlockFontGlyphs());
    const auto text = movie.DefineText({{font, 300, {0, 0, 255}, 0, 300, "DAMAGE 42"}});
    TimelineWriter inner;
    inner.Place(1, shapeId, {.blendMode = 9});
    inner.Place(2, text, {.blendMode = 12});
    inner.ShowFrame();
    inner.Move(1, {.matrix = Matrix::Transform(5, 5, 2, 0.5, 30)});
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(1, shapeId, {.clipDepth = 3});
    movie.Place(2, sprite, {.blendMode = 2, .cacheAsBitmap = true});
    movie.Place(3, text, {.colorTransform = ColorTransform{300, -20, 256, 128, 10, 20, 30, 40}});
    movie.ShowFrame();
    movie.ShowFrame();
    return movie.Finish();
}

void RenderDamaged(const std::vector<std::uint8_t>& bytes) {
    auto played = rendertest::Play(bytes, 3);
    swf::MovieView view(played.Movie());
    // At most a modest window, whatever stage the damage declares.
    const swf::Rect& stage = played.Movie().header.frameSize;
    const int width = std::clamp(stage.Width() / 20, 1, 200);
    const int height = std::clamp(stage.Height() / 20, 1, 200);
    view.Update(*played.player, {width, height, swf::ScaleMode::ShowAll});
    swf::RootProperties turned;
    turned.rotation = 45;
    played.player->SetRootProperties(turned);
    view.Update(*played.player, {width, height, swf::ScaleMode::NoBorder});
}

// Renders the seed and the given number of copies of it with one to four
// bits flipped past the header.
void RenderDamagedCopies(const std::vector<std::uint8_t>& seed, int copies, std::mt19937& random) {
    RenderDamaged(seed);
    for (int copy = 0; copy < copies; ++copy) {
        auto damaged = seed;
        const int flips = 1 + int(random() % 4);
        for (int i = 0; i < flips; ++i) {
            damaged[8 + random() % (damaged.size() - 8)] ^= std::uint8_t(1u << (random() % 8));
        }
        RenderDamaged(damaged);
    }
}

TEST(RenderFuzz, DamagedMoviesRenderWithoutFaults) {
    std::mt19937 random(1234);
    RenderDamagedCopies(EverythingMovie(), 200, random);
}

TEST(RenderFuzz, DamagedCorpusMoviesRenderWithoutFaults) {
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto& path : corpus::Movies()) {
        // The corpus's small movies: images, shapes and text. Uncompressed
        // first, so that the damage lands in tags, not in the compressed
        // stream.
        const auto movie = swf::Uncompress(corpus::ReadFile(path));
        if (!movie.error && movie.bytes.size() < 4000) {
            seeds.push_back(movie.bytes);
        }
    }
    if (seeds.empty()) {
        GTEST_SKIP() << "no corpus movies in " << corpus::ImagesDir();
    }
    std::mt19937 random(1234);
    for (const auto& seed : seeds) {
        RenderDamagedCopies(seed, 12, random);
    }
}

TEST(RenderFuzz, HugeWindowsGetNoPicture) {
    const auto bytes = EverythingMovie();
    auto played = rendertest::Play(bytes);
    swf::MovieView view(played.Movie());
    EXPECT_FALSE(view.Update(*played.player, {30000, 30000, swf::ScaleMode::ShowAll}));
    EXPECT_FALSE(view.Update(*played.player, {8192, 8192, swf::ScaleMode::ShowAll}));
    EXPECT_TRUE(view.Update(*played.player, {4096, 10, swf::ScaleMode::ShowAll}));
}

} // namespace
