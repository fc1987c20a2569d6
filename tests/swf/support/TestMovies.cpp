#include "TestMovies.h"

#include <fstream>
#include <iterator>
#include <string>

namespace testmovies {

std::vector<std::uint8_t> BusyMovie(int frameCount, swfwriter::Compression compression) {
    using namespace swfwriter;
    MovieWriter movie(8, 200, 200, 24.0);
    const std::uint16_t red = movie.DefineShape(Square({255, 0, 0}));
    const std::uint16_t blue = movie.DefineShape(Square({0, 0, 255}));
    TimelineWriter inner;
    inner.Place(1, red);
    for (int i = 0; i < 7; ++i) {
        inner.Move(1, {.matrix = Matrix::Translate(i * 20, 0)});
        inner.ShowFrame();
    }
    const std::uint16_t sprite = movie.DefineSprite(inner);
    for (int frame = 0; frame < frameCount; ++frame) {
        if (frame % 100 == 0) {
            std::string label = "f";
            label += std::to_string(frame);
            movie.Label(label);
        }
        if (frame == 0) {
            movie.Place(1, red);
            movie.Place(2, blue, {.name = "blue"});
        }
        movie.Move(1, {.matrix = Matrix::Transform(frame * 3 % 4000, frame % 300,
                                                   1.0 + frame % 5 * 0.25, 1.0, frame % 360)});
        if (frame % 10 == 5) {
            movie.Move(2, {.colorTransform = ColorTransform::Fade((frame % 100) / 100.0)});
        }
        if (frame % 250 == 0) {
            if (frame != 0) {
                movie.Remove(3);
            }
            movie.Place(3, sprite, {.matrix = Matrix::Translate(frame, 0)});
        }
        if (frame % 37 == 0) {
            movie.Replace(2, frame % 74 == 0 ? blue : red);
        }
        if (frame % 50 == 10) {
            movie.Place(4 + frame % 3, red, {.ratio = static_cast<std::uint16_t>(frame)});
        }
        if (frame % 50 == 40) {
            movie.Remove(4 + (frame - 30) % 3);
        }
        movie.ShowFrame();
    }
    return movie.Finish(compression);
}

} // namespace testmovies

namespace testmovies {

std::vector<std::uint8_t> LargeMovie(int megabytes) {
    using namespace swfwriter;
    MovieWriter movie(8, 512, 512, 12.0);
    std::uint32_t noise = 12345;
    std::vector<Color> pixels(512 * 512);
    for (int frame = 0; frame < megabytes; ++frame) {
        for (Color& pixel : pixels) {
            noise = noise * 1664525u + 1013904223u;
            pixel = {static_cast<std::uint8_t>(noise >> 24), static_cast<std::uint8_t>(noise >> 16),
                     static_cast<std::uint8_t>(noise >> 8), 255};
        }
        const auto bitmap = movie.DefineBitmap(512, 512, pixels);
        ShapeBuilder shape;
        shape.SetStyle(0, shape.AddFill(Fill::Bitmap(bitmap, 0, 0)), 0);
        shape.Rectangle(0, 0, 512 * 20, 512 * 20);
        const auto shapeId = movie.DefineShape(shape);
        if (frame > 0) {
            movie.Remove(1);
        }
        movie.Place(1, shapeId);
        movie.ShowFrame();
    }
    return movie.Finish();
}

} // namespace testmovies

namespace testmovies {

std::vector<std::uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace testmovies
