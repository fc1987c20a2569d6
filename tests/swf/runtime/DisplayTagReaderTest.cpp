// PlaceObject and RemoveObject in their first forms, and every field of
// PlaceObject3, written field by field; and what the display list makes of them.
#include "swf/format/DisplayTagReader.h"

#include <gtest/gtest.h>

#include "TestMovies.h"
#include "swf/format/TagCodes.h"
#include "swf/runtime/MoviePlayer.h"
#include "swfwriter/RecordWriter.h"

namespace {

using swfwriter::BitWriter;

std::vector<std::uint8_t> PlaceObject1(std::uint16_t id, std::uint16_t depth, std::int32_t x,
                                       bool withColor) {
    BitWriter place;
    place.U16(id);
    place.U16(depth);
    swfwriter::WriteMatrix(place, swfwriter::Matrix::Translate(x, 0));
    if (withColor) {
        swfwriter::ColorTransform red;
        red.addR = 255;
        swfwriter::WriteColorTransform(place, red, false);
    }
    return place.Take();
}

TEST(DisplayTagReader, FirstFormsPlaceReplaceAndRemove) {
    swfwriter::MovieWriter movie(1, 100, 100, 12);
    const auto a = movie.DefineShape(testmovies::Square({1, 1, 1}), 1);
    const auto b = movie.DefineShape(testmovies::Square({2, 2, 2}), 1);
    movie.Tag(swf::tag::PlaceObject, PlaceObject1(a, 1, 100, true));
    movie.ShowFrame();
    // A PlaceObject over an occupied depth takes its place.
    movie.Tag(swf::tag::PlaceObject, PlaceObject1(b, 1, 200, false));
    movie.ShowFrame();
    BitWriter remove;
    remove.U16(b);
    remove.U16(1);
    movie.Tag(swf::tag::RemoveObject, remove.Data());
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;

    const auto& first =
        std::get<swf::PlaceObject>(parser->GetMovie().root.frames[0].displayTags[0]);
    EXPECT_EQ(first.version, 1);
    EXPECT_EQ(first.characterId, a);
    ASSERT_TRUE(first.colorTransform);
    EXPECT_EQ(first.colorTransform->addR, 255);
    const auto& removal =
        std::get<swf::RemoveObject>(parser->GetMovie().root.frames[2].displayTags[0]);
    EXPECT_EQ(removal.characterId, b);

    swf::MoviePlayer player(parser->GetMovie());
    player.FramesAdded();
    ASSERT_NE(player.Root().ChildAt(1), nullptr);
    EXPECT_EQ(player.Root().ChildAt(1)->CharacterIdOrZero(), a);
    player.Tick();
    ASSERT_NE(player.Root().ChildAt(1), nullptr);
    EXPECT_EQ(player.Root().ChildAt(1)->CharacterIdOrZero(), b);
    EXPECT_EQ(player.Root().ChildAt(1)->GetMatrix().translateX, 200);
    player.Tick();
    EXPECT_TRUE(player.Root().GetChildren().empty());
}

TEST(DisplayTagReader, PlaceObject3ReadsEveryField) {
    BitWriter place;
    place.U8(0x80 | 0x40 | 0x20 | 0x10 | 0x08 | 0x04 | 0x02); // all but move
    place.U8(0x40 | 0x20 | 0x10 | 0x08 | 0x04 | 0x02 | 0x01); // opaque background .. filters
    place.U16(4);                                             // depth
    place.String("Widget");                                   // class name
    place.U16(1);                                             // character
    swfwriter::WriteMatrix(place, swfwriter::Matrix::Transform(10, 20, 2.0, 0.5, 0));
    swfwriter::WriteColorTransform(place, swfwriter::ColorTransform::Fade(0.5), true);
    place.U16(32768);      // ratio
    place.String("thing"); // name
    place.U16(9);          // clip depth
    place.U8(2);           // two filters
    place.U8(0);           // drop shadow
    swfwriter::WriteColor(place, {0, 0, 0, 128}, true);
    place.Fixed16(4.0);   // blur x
    place.Fixed16(4.0);   // blur y
    place.Fixed16(0.785); // angle
    place.Fixed16(3.0);   // distance
    place.Fixed8(1.0);    // strength
    place.U8(0x80 | 1);   // inner, one pass
    place.U8(6);          // colour matrix
    for (int i = 0; i < 20; ++i) {
        place.Float(i % 6 == 0 ? 1.0f : 0.0f);
    }
    place.U8(5);                                              // blend mode: lighten
    place.U8(1);                                              // cache as bitmap
    place.U8(0);                                              // not visible
    swfwriter::WriteColor(place, {1, 2, 3, 4}, true);         // background
    place.Bytes(std::vector<std::uint8_t>{0, 0, 1, 0, 0, 0}); // clip actions, kept whole

    swfwriter::MovieWriter movie(10, 100, 100, 12);
    movie.DefineShape(testmovies::Square({0, 0, 0}));
    movie.Tag(swf::tag::PlaceObject3, place.Data());
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    ASSERT_FALSE(parser->Failure()) << parser->Failure()->message;
    const auto& tag = std::get<swf::PlaceObject>(parser->GetMovie().root.frames[0].displayTags[0]);
    EXPECT_EQ(tag.className, "Widget");
    EXPECT_EQ(tag.characterId, 1);
    EXPECT_DOUBLE_EQ(tag.matrix->scaleX, 2.0);
    EXPECT_DOUBLE_EQ(tag.matrix->scaleY, 0.5);
    EXPECT_EQ(tag.colorTransform->multA, 128);
    EXPECT_EQ(tag.ratio, 32768);
    EXPECT_EQ(tag.name, "thing");
    EXPECT_EQ(tag.clipDepth, 9);
    ASSERT_EQ(tag.filters->size(), 2u);
    const swf::Filter& shadow = (*tag.filters)[0];
    EXPECT_EQ(shadow.kind, swf::FilterKind::DropShadow);
    EXPECT_EQ(shadow.colors[0], (swf::Rgba{0, 0, 0, 128}));
    EXPECT_DOUBLE_EQ(shadow.distance, 3.0);
    EXPECT_TRUE(shadow.inner);
    EXPECT_EQ(shadow.passes, 1);
    const swf::Filter& colors = (*tag.filters)[1];
    EXPECT_EQ(colors.kind, swf::FilterKind::ColorMatrix);
    ASSERT_EQ(colors.matrix.size(), 20u);
    EXPECT_FLOAT_EQ(colors.matrix[6], 1.0f);
    EXPECT_EQ(tag.blendMode, 5);
    EXPECT_EQ(tag.cacheAsBitmap, true);
    EXPECT_EQ(tag.visible, false);
    EXPECT_EQ(tag.backgroundColor, (swf::Rgba{1, 2, 3, 4}));
    EXPECT_EQ(tag.clipActions, (std::vector<std::uint8_t>{0, 0, 1, 0, 0, 0}));

    swf::MoviePlayer player(parser->GetMovie());
    player.FramesAdded();
    const swf::DisplayObject* placed = player.Root().ChildAt(4);
    ASSERT_NE(placed, nullptr);
    EXPECT_EQ(placed->ClipDepth(), 9);
    EXPECT_EQ(placed->GetBlendMode(), 5);
    EXPECT_TRUE(placed->CacheAsBitmap());
    EXPECT_FALSE(placed->Visible());
    EXPECT_EQ(placed->Filters().size(), 2u);
}

TEST(DisplayTagReader, UnknownFilterIsAnError) {
    BitWriter place;
    place.U8(0x02); // character
    place.U8(0x01); // filters
    place.U16(1);
    place.U16(1);
    place.U8(1);  // one filter
    place.U8(42); // no such filter
    swfwriter::MovieWriter movie(8, 100, 100, 12);
    movie.Tag(swf::tag::PlaceObject3, place.Data());
    const auto parser = testmovies::Parse(movie.Finish());
    ASSERT_TRUE(parser->Failure());
    EXPECT_NE(parser->Failure()->message.find("unknown filter"), std::string::npos);
}

} // namespace
