// vantrel_bench_movies DIR: writes the movies the figures need that the
// build does not make otherwise: still.swf, one frame of a shape and a text,
// complete at once, which a player plays without drawing anything new, so
// that what a period costs is the player's own work.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "swfwriter/BlockFont.h"
#include "swfwriter/MovieWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel_bench_movies DIR\n");
        return 2;
    }
    using namespace swfwriter;
    MovieWriter movie(7, 240, 320, 15.0);
    ShapeBuilder box;
    box.SetStyle(0, box.AddFill(Fill::Solid({40, 120, 200})), 0);
    box.Rectangle(400, 400, 4000, 3000);
    movie.Place(1, movie.DefineShape(box));
    const auto font = movie.DefineFont("Blocks", BlockFontGlyphs());
    movie.Place(2, movie.DefineText({{font, 400, {255, 255, 255}, 600, 2000, "STILL"}}));
    movie.ShowFrame();
    const auto bytes = movie.Finish(Compression::Zlib);
    std::filesystem::create_directories(argv[1]);
    std::ofstream out(std::filesystem::path(argv[1]) / "still.swf", std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return out ? 0 : 1;
}
