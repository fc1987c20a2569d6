// Filter lists of PlaceObject3 as the writer lays them out, read back field
// by field for every kind: a field read at the wrong bit, or a kind's flags
// taken with another kind's widths, shows as a wrong value in a later one.
#include <gtest/gtest.h>

#include <algorithm>

#include "TestMovies.h"
#include "swf/format/TimelineModel.h"

namespace {

using swfwriter::Filter;

std::vector<swf::Filter> RoundTrip(const std::vector<Filter>& filters) {
    swfwriter::MovieWriter movie(8, 100, 100, 12.0);
    const auto id = movie.DefineShape(testmovies::Square({255, 0, 0}));
    movie.Place(1, id, {.filters = filters});
    movie.ShowFrame();
    const auto parser = testmovies::Parse(movie.Finish());
    EXPECT_FALSE(parser->Failure());
    const auto& frames = parser->GetMovie().root.frames;
    if (frames.empty() || frames[0].displayTags.empty()) {
        ADD_FAILURE() << "no placement read";
        return {};
    }
    const auto& place = std::get<swf::PlaceObject>(frames[0].displayTags[0]);
    return place.filters.value_or(std::vector<swf::Filter>{});
}

TEST(FilterRecords, EveryKindReadsBackWithEveryField) {
    Filter shadow{.kind = Filter::DropShadow,
                  .colors = {{1, 2, 3, 4}},
                  .blurX = 5.5,
                  .blurY = 6.25,
                  .angle = 0.5,
                  .distance = 7.0,
                  .strength = 1.5,
                  .inner = true,
                  .knockout = false,
                  .compositeSource = false,
                  .passes = 31};
    Filter blur = Filter::BlurOf(2.0, 3.5, 3);
    Filter glow{.kind = Filter::Glow,
                .colors = {{9, 8, 7, 6}},
                .blurX = 1.0,
                .blurY = 2.0,
                .strength = 2.0,
                .inner = false,
                .knockout = true,
                .passes = 2};
    Filter bevel{.kind = Filter::Bevel,
                 .colors = {{10, 11, 12, 13}, {14, 15, 16, 17}},
                 .blurX = 3.0,
                 .blurY = 4.0,
                 .angle = -1.0,
                 .distance = 2.5,
                 .strength = 0.75,
                 .inner = false,
                 .knockout = true,
                 .onTop = true,
                 .passes = 15};
    Filter gradientGlow{.kind = Filter::GradientGlow,
                        .colors = {{0, 0, 0, 0}, {255, 0, 0, 255}, {0, 0, 255, 128}},
                        .ratios = {0, 100, 255},
                        .blurX = 8.0,
                        .blurY = 9.0,
                        .angle = 3.0,
                        .distance = 1.0,
                        .strength = 3.0,
                        .inner = true,
                        .passes = 1};
    Filter convolution{.kind = Filter::Convolution,
                       .matrixX = 3,
                       .matrixY = 2,
                       .matrix = {1, 2, 3, 4, 5, 6.5f},
                       .divisor = 2.5f,
                       .bias = -3.0f,
                       .defaultColor = {20, 30, 40, 50},
                       .clamp = false,
                       .preserveAlpha = true};
    Filter colorMatrix{.kind = Filter::ColorMatrix};
    for (int i = 0; i < 20; ++i) {
        colorMatrix.matrix.push_back(float(i) - 0.5f);
    }
    Filter gradientBevel = gradientGlow;
    gradientBevel.kind = Filter::GradientBevel;
    gradientBevel.inner = false;
    gradientBevel.onTop = false;
    gradientBevel.knockout = true;
    gradientBevel.passes = 4;

    const auto read = RoundTrip(
        {shadow, blur, glow, bevel, gradientGlow, convolution, colorMatrix, gradientBevel});
    ASSERT_EQ(read.size(), 8u);

    EXPECT_EQ(read[0].kind, swf::FilterKind::DropShadow);
    EXPECT_EQ(read[0].colors, (std::vector<swf::Rgba>{{1, 2, 3, 4}}));
    EXPECT_DOUBLE_EQ(read[0].blurX, 5.5);
    EXPECT_DOUBLE_EQ(read[0].blurY, 6.25);
    EXPECT_NEAR(read[0].angle, 0.5, 1e-4);
    EXPECT_DOUBLE_EQ(read[0].distance, 7.0);
    EXPECT_DOUBLE_EQ(read[0].strength, 1.5);
    EXPECT_TRUE(read[0].inner);
    EXPECT_FALSE(read[0].knockout);
    EXPECT_FALSE(read[0].compositeSource);
    EXPECT_EQ(read[0].passes, 31);

    EXPECT_EQ(read[1].kind, swf::FilterKind::Blur);
    EXPECT_DOUBLE_EQ(read[1].blurX, 2.0);
    EXPECT_DOUBLE_EQ(read[1].blurY, 3.5);
    EXPECT_EQ(read[1].passes, 3);

    EXPECT_EQ(read[2].kind, swf::FilterKind::Glow);
    EXPECT_EQ(read[2].colors, (std::vector<swf::Rgba>{{9, 8, 7, 6}}));
    EXPECT_DOUBLE_EQ(read[2].strength, 2.0);
    EXPECT_TRUE(read[2].knockout);
    EXPECT_TRUE(read[2].compositeSource);
    EXPECT_EQ(read[2].passes, 2);

    EXPECT_EQ(read[3].kind, swf::FilterKind::Bevel);
    EXPECT_EQ(read[3].colors, (std::vector<swf::Rgba>{{10, 11, 12, 13}, {14, 15, 16, 17}}));
    EXPECT_NEAR(read[3].angle, -1.0, 1e-4);
    EXPECT_DOUBLE_EQ(read[3].distance, 2.5);
    EXPECT_DOUBLE_EQ(read[3].strength, 0.75);
    EXPECT_TRUE(read[3].onTop);
    EXPECT_TRUE(read[3].knockout);
    EXPECT_EQ(read[3].passes, 15);

    EXPECT_EQ(read[4].kind, swf::FilterKind::GradientGlow);
    EXPECT_EQ(read[4].colors.size(), 3u);
    EXPECT_EQ(read[4].colors[2], (swf::Rgba{0, 0, 255, 128}));
    EXPECT_EQ(read[4].ratios, (std::vector<std::uint8_t>{0, 100, 255}));
    EXPECT_DOUBLE_EQ(read[4].blurY, 9.0);
    EXPECT_NEAR(read[4].angle, 3.0, 1e-4);
    EXPECT_TRUE(read[4].inner);
    EXPECT_FALSE(read[4].onTop);

    EXPECT_EQ(read[5].kind, swf::FilterKind::Convolution);
    EXPECT_EQ(read[5].matrixX, 3);
    EXPECT_EQ(read[5].matrixY, 2);
    EXPECT_EQ(read[5].matrix, (std::vector<float>{1, 2, 3, 4, 5, 6.5f}));
    EXPECT_FLOAT_EQ(read[5].divisor, 2.5f);
    EXPECT_FLOAT_EQ(read[5].bias, -3.0f);
    EXPECT_EQ(read[5].defaultColor, (swf::Rgba{20, 30, 40, 50}));
    EXPECT_FALSE(read[5].clamp);
    EXPECT_TRUE(read[5].preserveAlpha);

    EXPECT_EQ(read[6].kind, swf::FilterKind::ColorMatrix);
    ASSERT_EQ(read[6].matrix.size(), 20u);
    EXPECT_FLOAT_EQ(read[6].matrix[19], 18.5f);

    EXPECT_EQ(read[7].kind, swf::FilterKind::GradientBevel);
    EXPECT_TRUE(read[7].knockout);
    EXPECT_EQ(read[7].passes, 4);
}

TEST(FilterRecords, AnUnknownKindIsAnErrorNotAGuess) {
    swfwriter::MovieWriter movie(8, 100, 100, 12.0);
    const auto id = movie.DefineShape(testmovies::Square({255, 0, 0}));
    movie.Place(1, id, {.filters = {Filter::BlurOf(2, 2, 1)}});
    movie.ShowFrame();
    auto bytes = movie.Finish();
    // The filter kind follows the filter count; 9 names no filter.
    const std::vector<std::uint8_t> blurStart = {0x01, 0x01, 0x00, 0x00, 0x02, 0x00};
    const auto at = std::search(bytes.begin(), bytes.end(), blurStart.begin(), blurStart.end());
    ASSERT_NE(at, bytes.end());
    *(at + 1) = 9;
    const auto parser = testmovies::Parse(bytes);
    const auto& frames = parser->GetMovie().root.frames;
    const bool placed = !frames.empty() && !frames[0].displayTags.empty();
    EXPECT_TRUE(parser->Failure() || !placed);
}

} // namespace
