// The real movies of the shared corpus, when it is there.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace corpus {

inline std::filesystem::path ImagesDir() {
    return std::filesystem::path(VANTREL_CORPUS_DIR) / "swf-images";
}

inline std::filesystem::path TracesDir() {
    return std::filesystem::path(VANTREL_CORPUS_DIR) / "swf-traces";
}

// The .swf files of a corpus folder, sorted; empty when it is absent.
inline std::vector<std::filesystem::path> MoviesIn(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> movies;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".swf") {
            movies.push_back(entry.path());
        }
    }
    std::sort(movies.begin(), movies.end());
    return movies;
}

// The movies with reference pictures.
inline std::vector<std::filesystem::path> Movies() {
    return MoviesIn(ImagesDir());
}

inline std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace corpus
