// The demo movie the build writes for new devices: what a user should see
// in it is there.
#include <gtest/gtest.h>

#include <set>

#include "CorpusFiles.h"
#include "TestMovies.h"
#include "swf/runtime/MoviePlayer.h"

namespace {

TEST(DemoMovie, ShowsMovingTurningScalingFadingShapesBitmapTextAndASprite) {
    const auto bytes = corpus::ReadFile(std::string(VANTREL_BINARY_DIR) + "/demo.swf");
    ASSERT_FALSE(bytes.empty()) << "the build writes demo.swf";
    const auto parser = testmovies::Parse(bytes);
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const swf::Movie& movie = parser->GetMovie();
    EXPECT_GE(movie.root.frames.size(), 120u);
    EXPECT_GE(movie.header.frameRate, 12.0);
    EXPECT_LE(movie.header.frameRate, 24.0);

    std::set<swf::FillKind> fills;
    int bitmaps = 0, texts = 0, fonts = 0, sprites = 0;
    for (const auto& [id, character] : movie.dictionary) {
        if (const auto* shape = std::get_if<swf::Shape>(&character.data)) {
            for (const auto& fill : shape->styles.fills) {
                fills.insert(fill.kind);
            }
        }
        bitmaps += std::holds_alternative<swf::Bitmap>(character.data);
        fonts += std::holds_alternative<swf::Font>(character.data);
        texts += std::holds_alternative<swf::Text>(character.data);
        if (const auto* sprite = std::get_if<swf::Sprite>(&character.data)) {
            sprites += sprite->timeline.frames.size() > 1 ? 1 : 0;
        }
    }
    EXPECT_TRUE(fills.count(swf::FillKind::Solid));
    EXPECT_TRUE(fills.count(swf::FillKind::LinearGradient) ||
                fills.count(swf::FillKind::RadialGradient));
    EXPECT_TRUE(fills.count(swf::FillKind::ClippedBitmap));
    EXPECT_GE(bitmaps, 1);
    EXPECT_GE(fonts, 1);
    EXPECT_GE(texts, 1);
    EXPECT_GE(sprites, 1);

    // Over one loop, something moves, something turns, something scales and
    // something fades; the sprite runs its own frames.
    swf::MoviePlayer player(movie);
    player.SetComplete(true);
    player.FramesAdded();
    bool moved = false, turned = false, scaled = false, faded = false, spriteRan = false;
    std::map<swf::Depth, swf::Matrix> first;
    for (const auto& [depth, object] : player.Root().GetChildren()) {
        first[depth] = object->GetMatrix();
    }
    for (std::size_t frame = 1; frame < movie.root.frames.size(); ++frame) {
        player.Tick();
        for (const auto& [depth, object] : player.Root().GetChildren()) {
            const auto& now = object->GetMatrix();
            const auto& then = first[depth];
            moved |= now.translateX != then.translateX || now.translateY != then.translateY;
            turned |= now.rotateSkew0 != 0.0;
            scaled |= now.scaleX > 1.1 && now.rotateSkew0 == 0.0;
            faded |= object->GetColorTransform().multA < 128;
            if (object->Kind() == swf::DisplayKind::MovieClip) {
                spriteRan |= static_cast<const swf::MovieClip&>(*object).CurrentFrame() != 0u;
            }
        }
    }
    EXPECT_TRUE(moved);
    EXPECT_TRUE(turned);
    EXPECT_TRUE(scaled);
    EXPECT_TRUE(faded);
    EXPECT_TRUE(spriteRan);
}

} // namespace
