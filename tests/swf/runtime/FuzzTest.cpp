// Damaged movies: truncated, with flipped bits, with lying lengths, made from
// the writer's movies and the corpus. Each must end in a clean result (an
// error or a partial movie), never a crash, an out-of-bounds read (the
// sanitizer build checks) or an unbounded allocation.
#include <gtest/gtest.h>

#include <random>

#include "CorpusFiles.h"
#include "TestMovies.h"
#include "swf/format/MovieFile.h"
#include "swf/format/TagStream.h"
#include "swf/format/TagSummary.h"
#include "swf/runtime/MoviePlayer.h"
#include "swfwriter/BlockFont.h"

namespace {

using swfwriter::Compression;

constexpr std::uint16_t KeyPressCondition(char key) {
    return static_cast<std::uint16_t>(key << 9);
}

std::vector<std::vector<std::uint8_t>> Seeds() {
    using namespace swfwriter;
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto compression : {Compression::None, Compression::Zlib, Compression::Lzma}) {
        seeds.push_back(testmovies::BusyMovie(60, compression));
    }
    // Text, bitmaps, gradients and a sprite.
    MovieWriter movie(8, 100, 100, 12);
    std::vector<Color> pixels(9, Color{1, 2, 3, 4});
    const auto bitmap = movie.DefineBitmap(3, 3, pixels);
    ShapeBuilder shape;
    shape.SetStyle(shape.AddFill(Fill::Bitmap(bitmap, 0, 0)),
                   shape.AddFill(Fill::Radial({{0, {}}, {128, {9, 9, 9}}}, 0, 0, 50, 50)),
                   shape.AddLine({20, {}}));
    shape.Ellipse(100, 100, 50, 80);
    shape.NewStyles();
    shape.SetStyle(shape.AddFill(Fill::Solid({})), 0, 0);
    shape.Rectangle(0, 0, 10, 10);
    const auto shapeId = movie.DefineShape(shape, 4);
    const auto font = movie.DefineFont("B", BlockFontGlyphs());
    const auto text = movie.DefineText({{font, 200, {}, 0, 200, "FUZZ 123"}});
    TimelineWriter inner;
    inner.Place(1, text);
    inner.ShowFrame();
    inner.Move(1, {.matrix = Matrix::Translate(5, 5)});
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(1, shapeId, {.blendMode = 2, .filters = {swfwriter::Filter::BlurOf(1.0, 1.0, 1)}});
    movie.Place(2, sprite, {.name = "s"});
    // A menu button hit on the shape and the sprite, under a mask, and a
    // clip acting as a button.
    const auto button = movie.DefineButton2(
        {{.characterId = shapeId, .depth = 1}, {.characterId = sprite, .depth = 2, .up = false}},
        {{0x0004, {0x07, 0x00}}, {KeyPressCondition('a'), {0x06, 0x00}}}, true);
    movie.Place(3, shapeId, {.clipDepth = 4});
    movie.Place(4, button, {.matrix = Matrix::Transform(20, 20, 3, 2, 30)});
    movie.Place(5, sprite, {.clipActions = {ClipAction{.events = 0x400 | 0x10}}});
    movie.ShowFrame();
    movie.Label("x");
    movie.ShowFrame();
    seeds.push_back(movie.Finish());
    for (const auto& path : corpus::Movies()) {
        seeds.push_back(corpus::ReadFile(path));
    }
    return seeds;
}

// Reads, plays and describes a damaged movie; every outcome but a crash is fine.
void Exercise(std::span<const std::uint8_t> bytes, std::mt19937& random) {
    std::uniform_int_distribution<std::size_t> chunk(1, 4096);
    swf::MovieParser parser;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t take = std::min(chunk(random), bytes.size() - at);
        parser.Append(bytes.subspan(at, take));
        at += take;
    }
    parser.Finish();
    if (parser.HeaderRead()) {
        EXPECT_TRUE(parser.Complete());
        swf::MoviePlayer player(parser.GetMovie());
        player.SetComplete(true);
        player.FramesAdded();
        for (int tick = 0; tick < 12; ++tick) {
            player.Tick();
        }
        player.GotoFrame(static_cast<long>(random() % 100));
        player.GotoFrame(0);
        // The stylus anywhere on the stage and a little off it, and keys.
        const swf::Rect& stage = parser.GetMovie().header.frameSize;
        std::uniform_real_distribution<double> across(-0.1, 1.1);
        for (int tap = 0; tap < 6; ++tap) {
            const double x = stage.xMin + across(random) * stage.Width();
            const double y = stage.yMin + across(random) * stage.Height();
            player.PointerDown(x, y);
            player.PointerMoved(y, x);
            player.PointerUp(x, y);
            player.RunActions();
            player.FinishFrame();
            player.Tick();
        }
        player.KeyDown(0x25);
        player.CharacterTyped('a');
        player.KeyUp(0x25);
        player.RunActions();
        player.FinishFrame();
    } else {
        EXPECT_TRUE(parser.Failure());
    }
    const auto movie = swf::Uncompress(bytes);
    if (movie.tagsOffset) {
        swf::ByteReader reader(std::span(movie.bytes).subspan(*movie.tagsOffset));
        while (const auto tag = swf::NextTag(reader)) {
            swf::DescribeTag(*tag);
        }
    }
}

TEST(Fuzz, DamagedMoviesGiveErrorsNeverCrashes) {
    const auto seeds = Seeds();
    std::mt19937 random(2024);
    int cases = 0;
    for (int round = 0; cases < 3000; ++round) {
        const auto& seed = seeds[round % seeds.size()];
        // Damage the uncompressed form, so the tags themselves are hit, and
        // now and then the compressed form, so the decompressors are.
        std::vector<std::uint8_t> bytes = round % 5 == 4 ? seed : swf::Uncompress(seed).bytes;
        if (bytes.size() < 9) {
            continue;
        }
        std::uniform_int_distribution<std::size_t> anyByte(0, bytes.size() - 1);
        switch (round % 4) {
        case 0: // truncated
            bytes.resize(anyByte(random));
            break;
        case 1: // bits flipped
            for (int flips = 1 + static_cast<int>(random() % 8); flips > 0; --flips) {
                bytes[anyByte(random)] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            }
            break;
        case 2: { // a lying declared length
            const std::uint32_t length =
                random() % 3 == 0 ? static_cast<std::uint32_t>(random())
                                  : static_cast<std::uint32_t>(bytes.size() * (random() % 4));
            for (int i = 0; i < 4; ++i) {
                bytes[4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
            }
            break;
        }
        case 3: { // a lying tag length (long form), or garbage bytes
            const std::size_t at = std::max<std::size_t>(anyByte(random), 21);
            if (at + 6 <= bytes.size()) {
                bytes[at] = static_cast<std::uint8_t>(bytes[at] | 0x3F);
                for (int i = 0; i < 4; ++i) {
                    bytes[at + 2 + i] = static_cast<std::uint8_t>(random());
                }
            }
            break;
        }
        }
        Exercise(bytes, random);
        ++cases;
    }
    EXPECT_EQ(cases, 3000);
}

// Inputs found to break the reader once, kept so they stay fixed.
TEST(Fuzz, RegressionsStayFixed) {
    std::mt19937 random(1);
    // A DefineFont2 claiming 0xFFFF glyphs in a 20-byte tag: the glyph table
    // must not be reserved from the count.
    const std::uint8_t hugeFont[] = {
        'F',  'W',  'S',  8,    39,   0, 0, 0, // header, 39 bytes
        0x00, 0x00, 0x0C, 0x01, 0x00,          // empty stage, 12 fps, 1 frame
        0x14, 0x0C,                            // DefineFont2 (48), 20 bytes
        0x01, 0x00, 0x08, 0x00, 0x00,          // id 1, wide offsets, no name
        0xFF, 0xFF,                            // 65535 glyphs
        0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0x00, // ShowFrame
        0x00, 0x00,                                                       // End
    };
    swf::MovieParser parser;
    parser.Append(hugeFont);
    parser.Finish();
    ASSERT_TRUE(parser.Failure());
    EXPECT_NE(parser.Failure()->message.find("more glyphs than the tag holds"), std::string::npos);
    Exercise(hugeFont, random);
}

} // namespace
