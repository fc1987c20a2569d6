// Filtered clips as the renderer draws them, against a second, plain
// implementation of each filter (FilterReference.cpp) applied to the clip's
// own pixels: every filter at each quality, on a rotated and on a scaled
// clip, exact to 1 per channel. The clip's own pixels come from the same
// clip cached as a bitmap without filters, drawn once over black and once
// over white, which together give its premultiplied colours and alpha.
//
// Two scenes also stand beside the pictures Flash Player made of them in the
// corpus: blurs of every width and quality, and a colour matrix on a rotated
// clip, which shows the area a filter works on.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "CorpusFiles.h"
#include "FilterReference.h"
#include "RenderHelpers.h"
#include "swf/format/ImageCodecs.h"
#include "swf/runtime/filters/PixelBuffer.h"

namespace {

using swfwriter::Color;
using swfwriter::Filter;
using swfwriter::Matrix;

constexpr int StageWidth = 120;
constexpr int StageHeight = 100;

struct Scene {
    const char* name;
    Matrix matrix;
};

// Off whole pixels on purpose: a filtered clip is drawn on whole pixels.
const Scene Rotated{"rotated", Matrix::Transform(60 * 20 + 7, 50 * 20 + 13, 1.0, 1.0, 30.0)};
const Scene Scaled{"scaled", Matrix::Transform(60 * 20 + 7, 50 * 20 + 13, 1.5, 0.75, 0.0)};

// A translucent rectangle with an opaque one over part of it, around the
// origin, so that rotating and scaling it moves every edge.
std::vector<std::uint8_t> SceneMovie(const Scene& scene, Color background,
                                     const std::vector<Filter>& filters) {
    swfwriter::MovieWriter movie(8, StageWidth, StageHeight, 12.0);
    movie.SetBackground(background);
    swfwriter::ShapeBuilder shape;
    shape.SetStyle(0, shape.AddFill(swfwriter::Fill::Solid({200, 40, 90, 200})), 0);
    shape.Rectangle(-400, -300, 800, 600);
    shape.SetStyle(0, shape.AddFill(swfwriter::Fill::Solid({30, 160, 220, 255})), 0);
    shape.Rectangle(-100, -150, 300, 250);
    const auto id = movie.DefineShape(shape);
    swfwriter::Placement placement{.matrix = scene.matrix, .filters = filters};
    if (filters.empty()) {
        placement.cacheAsBitmap = true;
    }
    movie.Place(1, id, placement);
    movie.ShowFrame();
    return movie.Finish();
}

std::unique_ptr<swf::MovieView> Render(const std::vector<std::uint8_t>& bytes) {
    const auto parser = testmovies::Parse(bytes);
    return rendertest::RenderAtStageSize(parser->GetMovie(), 1);
}

// The clip's premultiplied pixels, from it drawn over black and over white.
filterref::Image ClipPixels(const Scene& scene) {
    const auto overBlack = Render(SceneMovie(scene, {0, 0, 0}, {}));
    const auto overWhite = Render(SceneMovie(scene, {255, 255, 255}, {}));
    filterref::Image image(StageWidth, StageHeight);
    for (int y = 0; y < StageHeight; ++y) {
        for (int x = 0; x < StageWidth; ++x) {
            const std::uint32_t b = overBlack->Pixel(x, y);
            const std::uint32_t w = overWhite->Pixel(x, y);
            const int alpha = 255 - (rendertest::Red(w) - rendertest::Red(b));
            image.At(x, y) = {alpha, rendertest::Red(b), rendertest::Green(b), rendertest::Blue(b)};
        }
    }
    return image;
}

// The area a clip's bitmap covers: the pixels its bounds touch, one more on
// the right and at the bottom, with the clip moved to whole pixels.
swf::PixelRect ClipArea(const swf::Movie& movie) {
    const auto& place = std::get<swf::PlaceObject>(movie.root.frames[0].displayTags[0]);
    const swf::Matrix& m = *place.matrix;
    const auto& bounds = std::get<swf::Shape>(movie.Find(*place.characterId)->data).bounds;
    const double tx = std::round(m.translateX / 20.0);
    const double ty = std::round(m.translateY / 20.0);
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (const auto x : {bounds.xMin, bounds.xMax}) {
        for (const auto y : {bounds.yMin, bounds.yMax}) {
            const double px = (m.scaleX * x + m.rotateSkew1 * y) / 20.0 + tx;
            const double py = (m.rotateSkew0 * x + m.scaleY * y) / 20.0 + ty;
            left = std::min(left, px);
            right = std::max(right, px);
            top = std::min(top, py);
            bottom = std::max(bottom, py);
        }
    }
    const int x0 = int(std::floor(left));
    const int y0 = int(std::floor(top));
    return {x0, y0, int(std::ceil(right)) + 1 - x0, int(std::ceil(bottom)) + 1 - y0};
}

struct Case {
    std::string name;
    Filter filter;
};

Color Rgba(int r, int g, int b, int a) {
    return {std::uint8_t(r), std::uint8_t(g), std::uint8_t(b), std::uint8_t(a)};
}

// Filters that blur, each run at qualities 1 to 3.
std::vector<Case> BlurringCases() {
    const double diagonal = std::atan(1.0);
    Filter shadow{.kind = Filter::DropShadow,
                  .colors = {Rgba(0, 0, 40, 180)},
                  .blurX = 5,
                  .blurY = 3,
                  .angle = diagonal,
                  .distance = 4};
    Filter innerShadow{.kind = Filter::DropShadow,
                       .colors = {Rgba(20, 20, 120, 255)},
                       .blurX = 4,
                       .blurY = 4,
                       .angle = 2.0,
                       .distance = 3,
                       .inner = true};
    Filter knockedOut = shadow;
    knockedOut.knockout = true;
    Filter hidden = shadow;
    hidden.compositeSource = false;
    hidden.strength = 2.0;
    Filter glow{.kind = Filter::Glow,
                .colors = {Rgba(255, 200, 0, 255)},
                .blurX = 6,
                .blurY = 6,
                .strength = 1.5};
    Filter innerGlow{.kind = Filter::Glow,
                     .colors = {Rgba(0, 255, 0, 200)},
                     .blurX = 3,
                     .blurY = 5,
                     .inner = true,
                     .knockout = true};
    Filter bevel{.kind = Filter::Bevel,
                 .colors = {Rgba(0, 0, 0, 255), Rgba(255, 255, 255, 200)},
                 .blurX = 4,
                 .blurY = 4,
                 .angle = diagonal,
                 .distance = 3,
                 .inner = true};
    Filter outerBevel = bevel;
    outerBevel.inner = false;
    outerBevel.strength = 2.5;
    Filter fullBevel = bevel;
    fullBevel.inner = false;
    fullBevel.onTop = true;
    fullBevel.knockout = true;
    Filter gradientGlow{
        .kind = Filter::GradientGlow,
        .colors = {Rgba(255, 255, 255, 0), Rgba(255, 0, 0, 255), Rgba(255, 255, 0, 255)},
        .ratios = {0, 128, 255},
        .blurX = 5,
        .blurY = 5,
        .angle = 1.0,
        .distance = 2};
    Filter gradientBevel{.kind = Filter::GradientBevel,
                         .colors = {Rgba(255, 255, 255, 255), Rgba(0, 0, 0, 0), Rgba(0, 0, 0, 255)},
                         .ratios = {0, 128, 255},
                         .blurX = 4,
                         .blurY = 4,
                         .angle = diagonal,
                         .distance = 3,
                         .inner = true};
    return {{"blur", Filter::BlurOf(4, 6, 1)},
            {"blur of part pixels", Filter::BlurOf(3.5, 2.25, 1)},
            {"drop shadow", shadow},
            {"inner shadow", innerShadow},
            {"knocked-out shadow", knockedOut},
            {"shadow hiding its object", hidden},
            {"glow", glow},
            {"inner knocked-out glow", innerGlow},
            {"inner bevel", bevel},
            {"outer bevel", outerBevel},
            {"full knocked-out bevel", fullBevel},
            {"gradient glow", gradientGlow},
            {"gradient bevel", gradientBevel}};
}

std::vector<Case> MatrixCases() {
    Filter sharpen{.kind = Filter::Convolution,
                   .matrixX = 3,
                   .matrixY = 3,
                   .matrix = {0, -1, 0, -1, 5, -1, 0, -1, 0}};
    Filter smear{.kind = Filter::Convolution,
                 .matrixX = 3,
                 .matrixY = 2,
                 .matrix = {1, 2, 1, 1, 1, 1},
                 .divisor = 7,
                 .bias = 10,
                 .defaultColor = Rgba(0, 255, 0, 128),
                 .clamp = false};
    Filter keepAlpha = smear;
    keepAlpha.preserveAlpha = true;
    keepAlpha.bias = -20;
    Filter colorMatrix{.kind = Filter::ColorMatrix,
                       .matrix = {0.3f, 0.59f, 0.11f, 0, 10, 0.2f, 0.5f, 0.3f, 0,    -20,
                                  0,    0,     1,     0, 0,  0,    0,    0,    0.8f, 30}};
    return {{"sharpening convolution", sharpen},
            {"convolution with a default colour", smear},
            {"convolution keeping alpha", keepAlpha},
            {"colour matrix", colorMatrix}};
}

// The largest difference of any channel between the renderer's picture and
// the reference's, composited over white.
struct Difference {
    int worst = 0;
    int x = 0, y = 0;
};

Difference Compare(const swf::MovieView& view, const filterref::Image& expected) {
    Difference d;
    for (int y = 0; y < StageHeight; ++y) {
        for (int x = 0; x < StageWidth; ++x) {
            const filterref::Pixel& e = expected.At(x, y);
            const std::uint32_t got = view.Pixel(x, y);
            const int channels[3] = {rendertest::Red(got), rendertest::Green(got),
                                     rendertest::Blue(got)};
            for (int c = 0; c < 3; ++c) {
                const int want = std::min(255, e[c + 1] + 255 - e[0]);
                const int off = std::abs(channels[c] - want);
                if (off > d.worst) {
                    d = {off, x, y};
                }
            }
        }
    }
    return d;
}

void ExpectMatchesReference(const Scene& scene, const filterref::Image& clip, const Case& c) {
    const auto bytes = SceneMovie(scene, {255, 255, 255}, {c.filter});
    const auto parser = testmovies::Parse(bytes);
    const swf::Movie& movie = parser->GetMovie();
    const auto& place = std::get<swf::PlaceObject>(movie.root.frames[0].displayTags[0]);
    ASSERT_TRUE(place.filters && place.filters->size() == 1);
    const swf::Filter& filter = place.filters->front();
    filterref::Image expected = clip;
    const bool blurs =
        filter.kind != swf::FilterKind::ColorMatrix && filter.kind != swf::FilterKind::Convolution;
    // A blur's result fades out within the stage; a matrix works on the
    // clip's own area, whatever lies outside it.
    const swf::PixelRect area =
        blurs ? swf::PixelRect{0, 0, StageWidth, StageHeight} : ClipArea(movie);
    filterref::Apply(filter, expected, area.x, area.y, area.width, area.height);
    const auto view = rendertest::RenderAtStageSize(movie, 1);
    const Difference d = Compare(*view, expected);
    EXPECT_LE(d.worst, 1) << c.name << " at quality " << int(filter.passes) << " on the "
                          << scene.name << " clip: off by " << d.worst << " at (" << d.x << ", "
                          << d.y << ")";
}

TEST(FilterRendering, EveryFilterAtEachQualityMatchesTheReferenceOnRotatedAndScaledClips) {
    for (const Scene& scene : {Rotated, Scaled}) {
        const filterref::Image clip = ClipPixels(scene);
        for (Case c : BlurringCases()) {
            for (std::uint8_t quality = 1; quality <= 3; ++quality) {
                c.filter.passes = quality;
                ExpectMatchesReference(scene, clip, c);
            }
        }
        for (const Case& c : MatrixCases()) {
            ExpectMatchesReference(scene, clip, c);
        }
    }
}

// The corpus's picture of a movie, when the corpus is there.
std::optional<swf::DecodedImage> CorpusPicture(const char* name) {
    const auto png = corpus::ReadFile(corpus::ImagesDir() / (std::string(name) + ".png"));
    if (png.empty()) {
        return std::nullopt;
    }
    auto image = swf::DecodePng(png, {});
    if (!image) {
        return std::nullopt;
    }
    return *image;
}

int WorstDifference(const swf::MovieView& view, const swf::DecodedImage& reference, int width,
                    int height) {
    int worst = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = view.Pixel(x, y);
            const std::uint32_t b = reference.At(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                worst =
                    std::max(worst, std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)));
            }
        }
    }
    return worst;
}

// Blue 30-pixel squares 50 pixels apart, blurred by 0, 2 and 4 pixels (down)
// at qualities 0 to 3 (across), as the corpus movie makes them with scripts.
TEST(FilterRendering, BlursMatchFlashPlayersPicture) {
    const auto reference = CorpusPicture("BlurFilter-rendering-8.swf");
    if (!reference) {
        GTEST_SKIP() << "no corpus picture in " << corpus::ImagesDir();
    }
    swfwriter::MovieWriter movie(8, 200, 150, 15.0);
    const auto square = movie.DefineShape(testmovies::Square({0, 0, 255}, 600));
    std::uint16_t depth = 1;
    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 3; ++y) {
            // The movie masks its last square away from where it stands,
            // which Flash shows unblurred; that square is left out here.
            if (x == 3 && y == 2) {
                continue;
            }
            const Filter blur = Filter::BlurOf(2.0 * y, 2.0 * y, std::uint8_t(x));
            movie.Place(depth++, square,
                        {.matrix = Matrix::Translate((50 * x + 10) * 20, (50 * y + 10) * 20),
                         .filters = {blur}});
        }
    }
    movie.ShowFrame();
    const auto view = Render(movie.Finish());
    // Everything but the last square's corner of the stage.
    EXPECT_LE(WorstDifference(*view, *reference, 200, 100), 3);
    EXPECT_LE(WorstDifference(*view, *reference, 150, 150), 3);
}

// A 50-pixel square turned by 120 degrees under a colour matrix that makes
// every pixel opaque red: the filter works on the whole of the turned clip's
// box on the screen.
TEST(FilterRendering, AColourMatrixOnATurnedClipFillsItsBoxAsFlashPlayerDoes) {
    const auto reference = CorpusPicture("rotated-filter-size-8.swf");
    if (!reference) {
        GTEST_SKIP() << "no corpus picture in " << corpus::ImagesDir();
    }
    swfwriter::MovieWriter movie(8, 200, 150, 15.0);
    const auto square = movie.DefineShape(testmovies::Square({0, 0, 255}, 1000));
    Filter red{.kind = Filter::ColorMatrix, .matrix = std::vector<float>(20, 0.0f)};
    red.matrix[4] = 255;  // red offset
    red.matrix[19] = 255; // alpha offset
    movie.Place(1, square, {.matrix = Matrix::Transform(2000, 1500, 1, 1, 120), .filters = {red}});
    movie.ShowFrame();
    const auto view = Render(movie.Finish());
    EXPECT_LE(WorstDifference(*view, *reference, 200, 150), 3);
}

} // namespace
