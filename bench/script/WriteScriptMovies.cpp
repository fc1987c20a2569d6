// vantrel_script_bench_movies DIR: writes the script benchmark's movies as
// NAME.swf into DIR, for any player to open.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "ScriptBenchMovies.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel_script_bench_movies DIR\n");
        return 2;
    }
    std::filesystem::create_directories(argv[1]);
    for (const benchmovies::ScriptMovie& movie : benchmovies::ScriptMovies()) {
        std::ofstream out(std::filesystem::path(argv[1]) / (movie.name + ".swf"), std::ios::binary);
        out.write(reinterpret_cast<const char*>(movie.bytes.data()),
                  static_cast<std::streamsize>(movie.bytes.size()));
        if (!out) {
            std::fprintf(stderr, "vantrel_script_bench_movies: cannot write %s\n",
                         movie.name.c_str());
            return 1;
        }
    }
    return 0;
}
