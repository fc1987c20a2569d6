#include "swf/format/MovieParser.h"

#include <gtest/gtest.h>

#include "TestMovies.h"
#include "swf/format/MovieFile.h"
#include "swf/format/TagCodes.h"
#include "swf/format/TagStream.h"
#include "swfwriter/BlockFont.h"
#include "swfwriter/RecordWriter.h"

namespace {

using swfwriter::Color;
using swfwriter::Compression;
using swfwriter::Fill;
using swfwriter::Matrix;
using swfwriter::MovieWriter;
using swfwriter::ShapeBuilder;
using testmovies::Parse;

// A movie with one of each thing the writer makes, in three frames.
std::vector<std::uint8_t> SamplerMovie(Compression compression) {
    MovieWriter movie(8, 320, 240, 15.5);
    movie.SetBackground({10, 20, 30});
    std::vector<Color> pixels(4 * 2, Color{0, 128, 255, 128});
    const auto bitmap = movie.DefineBitmap(4, 2, pixels);
    ShapeBuilder shape;
    const auto solid = shape.AddFill(Fill::Solid({255, 0, 0, 200}));
    const auto gradient =
        shape.AddFill(Fill::Linear({{0, {0, 0, 0}}, {255, {255, 255, 255}}}, 0, 0, 400, 400));
    const auto image = shape.AddFill(Fill::Bitmap(bitmap, 0, 0));
    const auto line = shape.AddLine({40, {0, 255, 0}});
    shape.SetStyle(0, solid, line);
    shape.Rectangle(0, 0, 400, 400);
    shape.SetStyle(0, gradient, 0);
    shape.Ellipse(1000, 1000, 300, 200);
    shape.NewStyles();
    const auto later = shape.AddFill(Fill::Radial({{0, {1, 2, 3}}}, 0, 0, 100, 100));
    shape.SetStyle(later, image, 0);
    shape.Rectangle(-500, -500, 100, 100);
    const auto shapeId = movie.DefineShape(shape, 3);
    const auto font = movie.DefineFont("Blocks", swfwriter::BlockFontGlyphs());
    const auto text = movie.DefineText({{font, 400, {255, 255, 0}, 100, 500, "Hi 42"}});
    swfwriter::TimelineWriter inner;
    inner.Place(1, shapeId);
    inner.ShowFrame();
    inner.Remove(1);
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);

    movie.Label("start");
    movie.Place(1, shapeId, {.matrix = Matrix::Translate(20, 40), .name = "shape"});
    movie.Place(2, text);
    movie.ShowFrame();
    movie.Place(3, sprite, {.ratio = 7, .clipDepth = 9});
    movie.ShowFrame();
    movie.Label("end");
    movie.Move(1, {.blendMode = 3,
                   .cacheAsBitmap = true,
                   .filters = {swfwriter::Filter::BlurOf(2.5, 2.5, 1)}});
    movie.ShowFrame();
    return movie.Finish(compression);
}

class SamplerMovieTest : public testing::TestWithParam<Compression> {};

TEST_P(SamplerMovieTest, ReadsBackWhatTheWriterWrote) {
    const auto parser = Parse(SamplerMovie(GetParam()));
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    ASSERT_TRUE(parser->Complete());
    const swf::Movie& movie = parser->GetMovie();

    EXPECT_EQ(movie.header.version, 8);
    EXPECT_EQ(movie.header.frameSize, (swf::Rect{0, 6400, 0, 4800}));
    EXPECT_DOUBLE_EQ(movie.header.frameRate, 15.5);
    EXPECT_EQ(movie.header.frameCount, 3);
    EXPECT_EQ(movie.backgroundColor, (swf::Rgba{10, 20, 30, 255}));
    ASSERT_EQ(movie.root.frames.size(), 3u);
    EXPECT_EQ(movie.root.FindLabel("START"), 0u);
    EXPECT_EQ(movie.root.FindLabel("end"), 2u);
    EXPECT_FALSE(movie.root.FindLabel("middle"));

    const auto* bitmap = std::get_if<swf::Bitmap>(&movie.Find(1)->data);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->kind, swf::BitmapKind::LosslessWithAlpha);
    EXPECT_EQ(bitmap->losslessFormat, 5);
    EXPECT_EQ(bitmap->width, 4);
    EXPECT_EQ(bitmap->height, 2);

    const auto* shape = std::get_if<swf::Shape>(&movie.Find(2)->data);
    ASSERT_NE(shape, nullptr);
    ASSERT_EQ(shape->styles.fills.size(), 3u);
    EXPECT_EQ(shape->styles.fills[0].color, (swf::Rgba{255, 0, 0, 200}));
    EXPECT_EQ(shape->styles.fills[1].kind, swf::FillKind::LinearGradient);
    ASSERT_EQ(shape->styles.fills[1].gradient.stops.size(), 2u);
    EXPECT_EQ(shape->styles.fills[1].gradient.stops[1].ratio, 255);
    EXPECT_EQ(shape->styles.fills[2].kind, swf::FillKind::ClippedBitmap);
    EXPECT_EQ(shape->styles.fills[2].bitmapId, 1);
    ASSERT_EQ(shape->styles.lines.size(), 1u);
    EXPECT_EQ(shape->styles.lines[0].width, 40);
    // The new style arrays in the middle of the shape.
    const swf::StyleArrays* newStyles = nullptr;
    int curves = 0;
    for (const auto& record : shape->records) {
        if (const auto* change = std::get_if<swf::StyleChange>(&record);
            change && change->newStyles) {
            newStyles = &*change->newStyles;
        }
        curves += std::holds_alternative<swf::CurvedEdge>(record) ? 1 : 0;
    }
    EXPECT_EQ(curves, 8);
    ASSERT_NE(newStyles, nullptr);
    ASSERT_EQ(newStyles->fills.size(), 1u);
    EXPECT_EQ(newStyles->fills[0].kind, swf::FillKind::RadialGradient);
    EXPECT_EQ(newStyles->fills[0].gradient.stops[0].color, (swf::Rgba{1, 2, 3, 255}));

    const auto* font = std::get_if<swf::Font>(&movie.Find(3)->data);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->name, "Blocks");
    EXPECT_TRUE(font->hasLayout);
    EXPECT_EQ(font->glyphs.size(), swfwriter::BlockFontGlyphs().size());
    const auto* text = std::get_if<swf::Text>(&movie.Find(4)->data);
    ASSERT_NE(text, nullptr);
    ASSERT_EQ(text->records.size(), 1u);
    EXPECT_EQ(text->records[0].fontId, 3);
    EXPECT_EQ(text->records[0].height, 400);
    EXPECT_EQ(text->records[0].color, (swf::Rgba{255, 255, 0, 255}));
    ASSERT_EQ(text->records[0].glyphs.size(), 5u);
    // "H": the glyph whose code is 'H', advancing 6/8 of the height.
    EXPECT_EQ(font->glyphs[text->records[0].glyphs[0].index].code, 'H');
    EXPECT_EQ(text->records[0].glyphs[0].advance, 300);

    const auto* sprite = std::get_if<swf::Sprite>(&movie.Find(5)->data);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->timeline.declaredFrameCount, 2);
    EXPECT_EQ(sprite->timeline.frames.size(), 2u);

    const auto& first = movie.root.frames[0].displayTags;
    ASSERT_EQ(first.size(), 2u);
    const auto& place = std::get<swf::PlaceObject>(first[0]);
    EXPECT_EQ(place.characterId, 2);
    EXPECT_EQ(place.matrix->translateX, 20);
    EXPECT_EQ(place.matrix->translateY, 40);
    EXPECT_EQ(place.name, "shape");
    const auto& spritePlace = std::get<swf::PlaceObject>(movie.root.frames[1].displayTags[0]);
    EXPECT_EQ(spritePlace.ratio, 7);
    EXPECT_EQ(spritePlace.clipDepth, 9);
    const auto& three = std::get<swf::PlaceObject>(movie.root.frames[2].displayTags[0]);
    EXPECT_EQ(three.version, 3);
    EXPECT_TRUE(three.move);
    EXPECT_EQ(three.blendMode, 3);
    EXPECT_EQ(three.cacheAsBitmap, true);
    ASSERT_TRUE(three.filters);
    ASSERT_EQ(three.filters->size(), 1u);
    EXPECT_EQ((*three.filters)[0].kind, swf::FilterKind::Blur);
    EXPECT_DOUBLE_EQ((*three.filters)[0].blurX, 2.5);
}

INSTANTIATE_TEST_SUITE_P(EveryCompression, SamplerMovieTest,
                         testing::Values(Compression::None, Compression::Zlib, Compression::Lzma));

TEST(MovieParser, ReadsAMovieHandedOverByteByByteAsAWhole) {
    for (const auto compression : {Compression::None, Compression::Zlib, Compression::Lzma}) {
        const auto bytes = SamplerMovie(compression);
        const auto whole = Parse(bytes);
        const auto pieces = Parse(bytes, 1);
        ASSERT_FALSE(pieces->Failure()) << pieces->Failure()->message;
        EXPECT_TRUE(pieces->Complete());
        EXPECT_EQ(pieces->GetMovie().root.frames.size(), whole->GetMovie().root.frames.size());
        EXPECT_EQ(pieces->GetMovie().dictionary.size(), whole->GetMovie().dictionary.size());
        EXPECT_EQ(pieces->MovieBytesRead(), whole->MovieBytesRead());
    }
}

// A fuzzing finding: the decoder allocated whatever dictionary the LZMA
// properties asked for, gigabytes in a damaged movie (scripts/fuzz replays
// the finding under its allocation limit). A dictionary cut to the movie's
// length still decodes it exactly.
TEST(MovieParser, AnLzmaMovieAskingForAHugeDictionaryReadsAsItIs) {
    const auto bytes = SamplerMovie(Compression::Lzma);
    auto greedy = bytes;
    // After the file header and the compressed length: the properties byte,
    // then the dictionary size.
    std::fill(greedy.begin() + 13, greedy.begin() + 17, 0xFF);
    const auto parsed = Parse(greedy);
    ASSERT_FALSE(parsed->Failure()) << parsed->Failure()->message;
    EXPECT_EQ(parsed->GetMovie().root.frames.size(), Parse(bytes)->GetMovie().root.frames.size());
    EXPECT_EQ(swf::Uncompress(greedy).bytes, swf::Uncompress(bytes).bytes);
}

TEST(MovieParser, ReportsProgressWhileTheMovieArrives) {
    const auto bytes = testmovies::BusyMovie(50, Compression::Zlib);
    swf::MovieParser parser;
    parser.Append(std::span(bytes).first(4));
    EXPECT_FALSE(parser.HeaderRead());
    parser.Append(std::span(bytes).subspan(4, bytes.size() / 2));
    EXPECT_TRUE(parser.HeaderRead());
    EXPECT_FALSE(parser.Complete());
    const std::size_t framesSoFar = parser.GetMovie().root.frames.size();
    EXPECT_GT(framesSoFar, 0u);
    EXPECT_LT(framesSoFar, 50u);
    parser.Append(std::span(bytes).subspan(4 + bytes.size() / 2));
    EXPECT_TRUE(parser.Complete());
    EXPECT_EQ(parser.GetMovie().root.frames.size(), 50u);
}

TEST(MovieParser, TruncatedMovieKeepsItsSoundFramesAndSaysWhereItStops) {
    const auto bytes = testmovies::BusyMovie(40, Compression::None);
    const auto whole = Parse(bytes);
    const auto cut = Parse(std::span(bytes).first(bytes.size() * 2 / 3));
    ASSERT_TRUE(cut->Failure());
    EXPECT_TRUE(cut->Complete());
    EXPECT_GT(cut->GetMovie().root.frames.size(), 10u);
    EXPECT_LT(cut->GetMovie().root.frames.size(), 40u);
    EXPECT_LE(cut->Failure()->offset, bytes.size() * 2 / 3);
    EXPECT_GT(cut->Failure()->offset, bytes.size() / 2);
    EXPECT_NE(cut->Failure()->message.find("ends inside a tag"), std::string::npos);
}

TEST(MovieParser, CompressedMovieNeverInflatesPastItsDeclaredLength) {
    auto bytes = testmovies::BusyMovie(30, Compression::Zlib);
    // Declare half the real length.
    const std::uint32_t real = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | bytes[7] << 24;
    const std::uint32_t declared = real / 2;
    for (int i = 0; i < 4; ++i) {
        bytes[4 + i] = static_cast<std::uint8_t>(declared >> (8 * i));
    }
    const auto parser = Parse(bytes);
    EXPECT_EQ(parser->MovieBytesRead(), declared);
    EXPECT_TRUE(parser->Complete());
    EXPECT_LT(parser->GetMovie().root.frames.size(), 30u);
    // Whatever a tag across the declared end would need is never inflated.
    for (std::uint32_t cut = declared; cut < declared + 8; ++cut) {
        for (int i = 0; i < 4; ++i) {
            bytes[4 + i] = static_cast<std::uint8_t>(cut >> (8 * i));
        }
        const auto shorter = Parse(bytes);
        EXPECT_LE(shorter->MovieBytesRead(), cut);
        if (shorter->Failure()) {
            EXPECT_NE(shorter->Failure()->message.find("ends inside a tag"), std::string::npos);
        }
    }
}

TEST(MovieParser, RefusesWhatIsNotAMovieOrDeclaresTooMuch) {
    const std::uint8_t notMovie[] = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
    const auto gif = Parse(notMovie);
    EXPECT_FALSE(gif->HeaderRead());
    EXPECT_FALSE(gif->Complete());
    ASSERT_TRUE(gif->Failure());
    EXPECT_EQ(gif->Failure()->offset, 0u);

    const std::uint8_t huge[] = {'F', 'W', 'S', 8, 0xFF, 0xFF, 0xFF, 0xFF, 0x50};
    const auto tooBig = Parse(huge);
    EXPECT_FALSE(tooBig->HeaderRead());
    ASSERT_TRUE(tooBig->Failure());
    EXPECT_NE(tooBig->Failure()->message.find("over the limit"), std::string::npos);

    const std::uint8_t tooShort[] = {'F', 'W', 'S', 8, 30, 0, 0, 0, 0x50, 0, 0};
    const auto shortMovie = Parse(tooShort);
    EXPECT_FALSE(shortMovie->HeaderRead());
    EXPECT_TRUE(shortMovie->Failure());

    const auto empty = Parse({});
    EXPECT_FALSE(empty->HeaderRead());
    EXPECT_TRUE(empty->Failure());
}

TEST(MovieParser, DamagedCompressedBodyKeepsWhatInflatedBeforeIt) {
    auto bytes = testmovies::BusyMovie(60, Compression::Zlib);
    // Garble the second half of the zlib stream.
    for (std::size_t i = bytes.size() / 2; i < bytes.size(); i += 3) {
        bytes[i] ^= 0x5A;
    }
    const auto parser = Parse(bytes);
    ASSERT_TRUE(parser->Failure());
    EXPECT_TRUE(parser->HeaderRead());
    EXPECT_LT(parser->GetMovie().root.frames.size(), 60u);
}

TEST(MovieParser, TagsAfterTheLastShowFrameMakeALastFrame) {
    MovieWriter movie(6, 100, 100, 12);
    const auto square = movie.DefineShape(testmovies::Square({0, 0, 0}));
    movie.Place(1, square);
    movie.ShowFrame();
    movie.Remove(1);
    const auto parser = Parse(movie.Finish());
    ASSERT_FALSE(parser->Failure());
    EXPECT_EQ(parser->GetMovie().root.frames.size(), 2u);
}

TEST(MovieParser, FirstDefinitionOfAnIdStands) {
    MovieWriter movie(6, 100, 100, 12);
    const auto square = movie.DefineShape(testmovies::Square({1, 2, 3}));
    // A second DefineShape3 under the same id, with another colour, taken
    // from a movie whose first character it is.
    MovieWriter other(6, 100, 100, 12);
    other.DefineShape(testmovies::Square({9, 9, 9}));
    const auto otherMovie = swf::Uncompress(other.Finish());
    ASSERT_TRUE(otherMovie.tagsOffset);
    swf::ByteReader reader(std::span(otherMovie.bytes).subspan(*otherMovie.tagsOffset));
    const auto shapeTag = swf::NextTag(reader);
    ASSERT_TRUE(shapeTag);
    ASSERT_EQ(shapeTag->code, swf::tag::DefineShape3);
    const auto shapeBody = shapeTag->body;
    movie.Tag(swf::tag::DefineShape3, shapeBody); // id 1 again
    const auto parser = Parse(movie.Finish());
    ASSERT_FALSE(parser->Failure());
    const auto& shape = std::get<swf::Shape>(parser->GetMovie().Find(square)->data);
    EXPECT_EQ(shape.styles.fills[0].color, (swf::Rgba{1, 2, 3, 255}));
}

} // namespace

namespace {

// n copies of a run of framed tags.
std::vector<std::uint8_t> Repeat(std::span<const std::uint8_t> tags, std::size_t n) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(tags.size() * n);
    for (std::size_t i = 0; i < n; ++i) {
        bytes.insert(bytes.end(), tags.begin(), tags.end());
    }
    return bytes;
}

TEST(MovieParserLimits, SmallMovieThatUnfoldsIntoAHugeModelIsRefused) {
    // Half a million placements of five bytes each: a few kilobytes once
    // compressed, but about 128 MB as a model.
    swfwriter::MovieWriter movie(8, 100, 100, 12);
    const auto square = movie.DefineShape(testmovies::Square({0, 0, 0}));
    movie.Place(1, square);
    const std::uint8_t move[] = {
        0x83, 0x06, // PlaceObject2 (26), 3 bytes
        0x01,       // move
        0x01, 0x00, // depth 1
    };
    movie.TagBytes(Repeat(move, 500000));
    movie.ShowFrame();
    const auto bytes = movie.Finish(swfwriter::Compression::Zlib);
    EXPECT_LT(bytes.size(), 100000u);

    swf::ParserLimits limits;
    limits.maxModelBytes = 16 << 20;
    swf::MovieParser parser(limits);
    parser.Append(bytes);
    parser.Finish();
    ASSERT_TRUE(parser.Failure());
    EXPECT_NE(parser.Failure()->message.find("more memory than the limit"), std::string::npos)
        << parser.Failure()->message;
    EXPECT_TRUE(parser.Complete());
}

TEST(MovieParserLimits, TimelinesAndShapesHaveTheirLimits) {
    swfwriter::MovieWriter frames(8, 100, 100, 12);
    const std::uint8_t showFrame[] = {0x40, 0x00};
    frames.TagBytes(Repeat(showFrame, 65536));
    const auto tooManyFrames = testmovies::Parse(frames.Finish());
    ASSERT_TRUE(tooManyFrames->Failure());
    EXPECT_NE(tooManyFrames->Failure()->message.find("more frames than a timeline may have"),
              std::string::npos);
    EXPECT_EQ(tooManyFrames->GetMovie().root.frames.size(), 65535u);

    // A shape of just over a million edges: four horizontal edges of two-bit
    // deltas fill five bytes exactly.
    swfwriter::BitWriter fourEdges;
    for (int i = 0; i < 4; ++i) {
        fourEdges.UBits(0b11, 2); // straight edge
        fourEdges.UBits(0, 4);    // 2 bits a delta
        fourEdges.UBits(0b00, 2); // horizontal
        fourEdges.SBits(1, 2);    // dx
    }
    ASSERT_EQ(fourEdges.Data().size(), 5u);
    swfwriter::BitWriter shape;
    shape.U16(1);                                // id
    swfwriter::WriteRect(shape, 0, 100, 0, 100); // bounds
    shape.U8(0);                                 // no fills
    shape.U8(0);                                 // no lines
    shape.U8(0);                                 // no style bits
    shape.Bytes(Repeat(fourEdges.Data(), (1 << 18) + 1));
    shape.U8(0); // end of shape
    swfwriter::MovieWriter shapes(8, 100, 100, 12);
    shapes.Tag(swf::tag::DefineShape, shape.Data());
    const auto tooManyEdges = testmovies::Parse(shapes.Finish());
    ASSERT_TRUE(tooManyEdges->Failure());
    EXPECT_NE(tooManyEdges->Failure()->message.find("more records than a shape may have"),
              std::string::npos);
}

} // namespace
