// Movies made by the writer, rendered, and checked at pixels whose colour
// is known: fills, gradients, bitmaps, text, masks, colour transforms,
// blend modes, and sprites nesting them.
#include <gtest/gtest.h>

#include "RenderHelpers.h"
#include "swf/runtime/GraphicObject.h"
#include "swf/runtime/MovieClip.h"
#include "swfwriter/BlockFont.h"

namespace {

using namespace swfwriter;
using rendertest::Alpha;
using rendertest::Blue;
using rendertest::Green;
using rendertest::Red;

constexpr Color RedColor{255, 0, 0};
constexpr Color GreenColor{0, 255, 0};
constexpr Color BlueColor{0, 0, 255};

// A square shape of size pixels with its top left corner at the origin.
std::uint16_t DefineSquare(MovieWriter& movie, Color color, int sizePixels) {
    return movie.DefineShape(testmovies::Square(color, sizePixels * 20));
}

// Renders a finished movie's first frame at its stage size.
std::unique_ptr<swf::MovieView> Render(MovieWriter& movie, int frame = 1) {
    const auto bytes = movie.Finish();
    auto played = rendertest::Play(bytes, frame);
    return rendertest::RenderAtStageSize(played.Movie(), frame);
}

void ExpectColor(const swf::MovieView& view, int x, int y, int r, int g, int b, int tolerance = 2) {
    const std::uint32_t p = view.Pixel(x, y);
    EXPECT_NEAR(Red(p), r, tolerance) << "at " << x << ", " << y;
    EXPECT_NEAR(Green(p), g, tolerance) << "at " << x << ", " << y;
    EXPECT_NEAR(Blue(p), b, tolerance) << "at " << x << ", " << y;
    EXPECT_EQ(Alpha(p), 255) << "at " << x << ", " << y;
}

TEST(Renderer, RedSquareFillsExactlyItsRectangle) {
    MovieWriter movie(8, 100, 80, 12);
    movie.SetBackground({255, 255, 255});
    movie.Place(1, DefineSquare(movie, RedColor, 40), {.matrix = Matrix::Translate(400, 200)});
    movie.ShowFrame();
    const auto view = Render(movie);
    ASSERT_EQ(view->Width(), 100);
    ASSERT_EQ(view->Height(), 80);
    // The square covers pixels 20..59 and 10..49, with crisp edges.
    for (const auto& [x, y] : {std::pair{20, 10}, {59, 49}, {40, 30}, {20, 49}}) {
        ExpectColor(*view, x, y, 255, 0, 0, 0);
    }
    for (const auto& [x, y] : {std::pair{19, 30}, {60, 30}, {40, 9}, {40, 50}, {0, 0}}) {
        ExpectColor(*view, x, y, 255, 255, 255, 0);
    }
}

TEST(Renderer, BackgroundColourFillsTheStageAndDefaultsToWhite) {
    MovieWriter plain(8, 10, 10, 12);
    plain.ShowFrame();
    ExpectColor(*Render(plain), 5, 5, 255, 255, 255, 0);
    MovieWriter coloured(8, 10, 10, 12);
    coloured.SetBackground({10, 20, 30});
    coloured.ShowFrame();
    ExpectColor(*Render(coloured), 5, 5, 10, 20, 30, 0);
}

TEST(Renderer, LinearGradientRunsFromItsFirstToItsLastColour) {
    MovieWriter movie(8, 200, 20, 12);
    ShapeBuilder shape;
    shape.SetStyle(
        0, shape.AddFill(Fill::Linear({{0, RedColor}, {255, BlueColor}}, 0, 0, 4000, 400)), 0);
    shape.Rectangle(0, 0, 4000, 400);
    movie.Place(1, movie.DefineShape(shape));
    movie.ShowFrame();
    const auto view = Render(movie);
    ExpectColor(*view, 0, 10, 255, 0, 0, 3);
    ExpectColor(*view, 199, 10, 0, 0, 255, 3);
    ExpectColor(*view, 100, 10, 127, 0, 127, 4);
    // Colours change steadily from one end to the other.
    int previousRed = 256;
    for (int x = 0; x < 200; x += 10) {
        const int red = Red(view->Pixel(x, 10));
        EXPECT_LE(red, previousRed);
        previousRed = red;
    }
}

TEST(Renderer, RadialGradientHasItsFirstColourAtTheCentre) {
    MovieWriter movie(8, 100, 100, 12);
    ShapeBuilder shape;
    shape.SetStyle(
        0, shape.AddFill(Fill::Radial({{0, GreenColor}, {255, BlueColor}}, 0, 0, 2000, 2000)), 0);
    shape.Rectangle(0, 0, 2000, 2000);
    movie.Place(1, movie.DefineShape(shape));
    movie.ShowFrame();
    const auto view = Render(movie);
    ExpectColor(*view, 50, 50, 0, 255, 0, 6);
    ExpectColor(*view, 1, 1, 0, 0, 255, 3); // past the rim the last colour pads
}

TEST(Renderer, BitmapFillShowsItsPixelsAndClampsOutsideThem) {
    MovieWriter movie(8, 40, 20, 12);
    const std::vector<Color> pixels = {RedColor, GreenColor, BlueColor, {255, 255, 0, 128}};
    const auto bitmap = movie.DefineBitmap(2, 2, pixels);
    ShapeBuilder shape;
    shape.SetStyle(0, shape.AddFill(Fill::Bitmap(bitmap, 0, 0, true)), 0);
    shape.Rectangle(0, 0, 800, 400);
    movie.Place(1, movie.DefineShape(shape));
    movie.ShowFrame();
    const auto view = Render(movie);
    ExpectColor(*view, 0, 0, 255, 0, 0, 0);
    ExpectColor(*view, 1, 0, 0, 255, 0, 0);
    ExpectColor(*view, 0, 1, 0, 0, 255, 0);
    // Half-transparent yellow over the white background.
    ExpectColor(*view, 1, 1, 255, 255, 127, 2);
    // A clipped bitmap repeats its edge pixels beyond itself.
    ExpectColor(*view, 30, 0, 0, 255, 0, 0);
}

TEST(Renderer, MaskHidesWhatLiesOutsideItAndOnlyCoversItsDepths) {
    MovieWriter movie(8, 100, 100, 12);
    const auto mask = DefineSquare(movie, BlueColor, 50);
    const auto big = DefineSquare(movie, GreenColor, 100);
    const auto corner = DefineSquare(movie, RedColor, 10);
    movie.Place(1, mask, {.clipDepth = 2});
    movie.Place(2, big);
    // Above the mask's clip depth: not masked.
    movie.Place(3, corner, {.matrix = Matrix::Translate(1800, 1800)});
    movie.ShowFrame();
    const auto view = Render(movie);
    ExpectColor(*view, 25, 25, 0, 255, 0, 0);     // inside the mask
    ExpectColor(*view, 75, 75, 255, 255, 255, 0); // outside: the background
    ExpectColor(*view, 95, 95, 255, 0, 0, 0);     // depth 3 is drawn whole
}

TEST(Renderer, AScriptMaskShowsOnlyThroughWhatItMasksAndDeviceTextVanishesUnderIt) {
    MovieWriter movie(8, 100, 100, 12);
    movie.SetBackground({255, 255, 255});
    movie.Place(1, DefineSquare(movie, GreenColor, 100));
    // The mask lies above what it masks, in the bottom right quarter.
    movie.Place(3, DefineSquare(movie, BlueColor, 50), {.matrix = Matrix::Translate(1000, 1000)});
    movie.ShowFrame();
    const auto bytes = movie.Finish();
    auto played = rendertest::Play(bytes);
    swf::MovieClip& root = played.player->Root();
    swf::DisplayObject& square = *root.ChildAt(1);
    swf::DisplayObject& mask = *root.ChildAt(3);
    auto field = root.CreateTextField("field", 2, {0, 2000, 0, 2000});
    static_cast<swf::EditTextObject&>(*field).ChangeField().border = true;

    swf::MovieView view(played.Movie());
    const auto draw = [&] { view.Update(*played.player, {100, 100, swf::ScaleMode::ShowAll}); };
    SCOPED_TRACE("masked");
    square.SetScriptMask(&mask);
    field->SetScriptMask(root.CreateEmptyClip("fieldMask", 4));
    draw();
    // The square shows only through the mask, which itself is not drawn; the
    // field's device text cannot be masked, so its border is gone too.
    ExpectColor(view, 75, 75, 0, 255, 0, 0);
    ExpectColor(view, 25, 25, 255, 255, 255, 0);
    ExpectColor(view, 0, 75, 255, 255, 255, 0);

    // Moving the mask moves the window onto the square.
    mask.SetMatrix(swf::Matrix{});
    draw();
    SCOPED_TRACE("moved");
    ExpectColor(view, 25, 25, 0, 255, 0, 0);
    ExpectColor(view, 75, 75, 255, 255, 255, 0);

    // Cleared: the mask is drawn again, and the field with its border (and
    // the white background a bordered field has) above the square.
    square.SetScriptMask(nullptr);
    field->SetScriptMask(nullptr);
    draw();
    SCOPED_TRACE("cleared");
    ExpectColor(view, 25, 25, 0, 0, 255, 0);
    EXPECT_LT(rendertest::Green(view.Pixel(0, 75)), 128); // the field's border shows
}

TEST(Renderer, ColorTransformMultipliesAndAddsThroughNestedSprites) {
    MovieWriter movie(8, 40, 20, 12);
    const auto square = DefineSquare(movie, {200, 100, 40}, 20);
    movie.Place(1, square, {.colorTransform = ColorTransform{128, 256, 256, 256, 0, 100, 0, 0}});
    // The same square in a sprite halving red, placed with green halved.
    TimelineWriter inner;
    inner.Place(1, square, {.colorTransform = ColorTransform{128, 256, 256, 256, 0, 0, 0, 0}});
    inner.ShowFrame();
    const auto sprite = movie.DefineSprite(inner);
    movie.Place(2, sprite,
                {.matrix = Matrix::Translate(400, 0),
                 .colorTransform = ColorTransform{256, 128, 256, 256, 0, 0, 10, 0}});
    movie.ShowFrame();
    const auto view = Render(movie);
    ExpectColor(*view, 10, 10, 100, 200, 40, 1);
    ExpectColor(*view, 30, 10, 100, 50, 50, 1);
}

TEST(Renderer, AlphaFromAColorTransformBlendsWithTheBackground) {
    MovieWriter movie(8, 20, 20, 12);
    movie.Place(1, DefineSquare(movie, RedColor, 20),
                {.colorTransform = ColorTransform::Fade(0.5)});
    movie.ShowFrame();
    ExpectColor(*Render(movie), 10, 10, 255, 127, 127, 2);
}

TEST(Renderer, BlendModesCombineWithWhatLiesBeneath) {
    // Over a grey square: multiply darkens, screen lightens, difference
    // subtracts, add saturates, subtract clamps at black, invert turns over.
    struct Case {
        std::uint8_t mode;
        int expected;
    } cases[] = {{3, 64}, {4, 191}, {7, 0}, {8, 255}, {9, 0}, {10, 127}, {1, 128}};
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.mode));
        MovieWriter movie(8, 20, 20, 12);
        movie.Place(1, DefineSquare(movie, {128, 128, 128}, 20));
        movie.Place(2, DefineSquare(movie, {128, 128, 128}, 20), {.blendMode = c.mode});
        movie.ShowFrame();
        const auto view = Render(movie);
        ExpectColor(*view, 10, 10, c.expected, c.expected, c.expected, 2);
    }
}

TEST(Renderer, EraseCutsALayerDownToTheBackground) {
    MovieWriter movie(8, 40, 20, 12);
    movie.SetBackground({0, 0, 255});
    TimelineWriter layer;
    layer.Place(1, DefineSquare(movie, RedColor, 40));
    layer.Place(2, DefineSquare(movie, GreenColor, 20), {.blendMode = 12});
    layer.ShowFrame();
    movie.Place(1, movie.DefineSprite(layer), {.blendMode = 2});
    movie.ShowFrame();
    const auto view = Render(movie);
    ExpectColor(*view, 10, 10, 0, 0, 255, 0); // erased: the stage shows through
    ExpectColor(*view, 30, 10, 255, 0, 0, 0);
}

TEST(Renderer, TextDrawsItsGlyphsInItsColourAlongTheBaseline) {
    MovieWriter movie(8, 200, 40, 12);
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    const auto text = movie.DefineText({{font, 400, BlueColor, 0, 400, "I I"}});
    movie.Place(1, text, {.matrix = Matrix::Translate(200, 200)});
    movie.ShowFrame();
    const auto view = Render(movie);
    // Capitals reach 7/8 of the 20-pixel em above the baseline at y = 30.
    int bluePixels = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 200; ++x) {
            const std::uint32_t p = view->Pixel(x, y);
            if (Blue(p) == 255 && Red(p) == 0) {
                ++bluePixels;
                EXPECT_GE(y, 12);
                EXPECT_LT(y, 31);
                EXPECT_GE(x, 10);
                EXPECT_LT(x, 10 + 3 * 15);
            }
        }
    }
    EXPECT_GT(bluePixels, 40);
}

TEST(Renderer, CachedClipIsDrawnOnWholePixels) {
    MovieWriter movie(8, 40, 20, 12);
    const auto square = DefineSquare(movie, RedColor, 10);
    // Half a pixel off: drawn as usual it is soft-edged; cached, it snaps.
    movie.Place(1, square, {.matrix = Matrix::Translate(10, 100)});
    movie.Place(2, square, {.matrix = Matrix::Translate(410, 100), .cacheAsBitmap = true});
    movie.ShowFrame();
    const auto view = Render(movie);
    EXPECT_NE(Green(view->Pixel(0, 5)), 0);
    EXPECT_NE(Green(view->Pixel(0, 5)), 255);
    for (int x = 20; x < 31; ++x) {
        const int g = Green(view->Pixel(x, 10));
        EXPECT_TRUE(g == 0 || g == 255) << x << ": " << g;
    }
}

TEST(Renderer, HairlinesAreAtLeastOnePixelWide) {
    MovieWriter movie(8, 40, 40, 12);
    ShapeBuilder shape;
    shape.SetStyle(0, 0, shape.AddLine({0, {0, 0, 0}}));
    shape.MoveTo(0, 410);
    shape.LineTo(800, 410);
    // Shrunk to a tenth, the line still shows.
    movie.Place(1, movie.DefineShape(shape), {.matrix = Matrix::Transform(0, 0, 0.1, 0.1, 0)});
    movie.Place(2, movie.DefineShape(shape));
    movie.ShowFrame();
    const auto view = Render(movie);
    EXPECT_LT(Red(view->Pixel(20, 20)), 100);
    EXPECT_LT(Red(view->Pixel(2, 2)), 200);
}

} // namespace
