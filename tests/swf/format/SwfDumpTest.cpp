// The swfdump tool, run as a process on real and damaged movies.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

#include "CorpusFiles.h"
#include "TestMovies.h"

namespace {

struct DumpRun {
    int status = -1;
    std::string output; // standard output and error together
};

DumpRun SwfDump(const std::vector<std::filesystem::path>& movies) {
    std::string command = std::string(VANTREL_BINARY_DIR) + "/swfdump";
    for (const auto& movie : movies) {
        command += " '";
        command += movie.string();
        command += "'";
    }
    command += " 2>&1";
    DumpRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t count = 0;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.output.append(buffer, count);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class SwfDumpTool : public testing::Test {
protected:
    std::filesystem::path Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("swfdump-test-" + std::to_string(::getpid()) + "-" + name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        written.push_back(path);
        return path;
    }
    void TearDown() override {
        for (const auto& path : written) {
            std::filesystem::remove(path);
        }
    }
    std::vector<std::filesystem::path> written;
};

TEST_F(SwfDumpTool, ListsTheHeaderAndEveryTagWithSpritesIndented) {
    const DumpRun run = SwfDump({std::string(VANTREL_BINARY_DIR) + "/demo.swf"});
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("CWS version 7"), std::string::npos);
    EXPECT_NE(run.output.find("stage 240 x 320 px"), std::string::npos);
    EXPECT_NE(run.output.find("15 fps, 150 frames"), std::string::npos);
    EXPECT_NE(run.output.find(" 39 DefineSprite"), std::string::npos);
    EXPECT_NE(run.output.find("\"Vantrel Blocks\", 69 glyphs"), std::string::npos);
    // The sprite's own tags, one level in.
    EXPECT_NE(run.output.find("\n  "), std::string::npos);
    EXPECT_NE(run.output.find("depth 8, character 12, matrix [1 0 0 1 200 40], name \"spinner\""),
              std::string::npos);
}

TEST_F(SwfDumpTool, DamagedMovieGivesTheErrorAndItsOffset) {
    auto bytes = testmovies::BusyMovie(20, swfwriter::Compression::None);
    bytes.resize(bytes.size() - 7);
    const DumpRun run = SwfDump({Write("cut.swf", bytes)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("error at offset"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("truncated tag"), std::string::npos) << run.output;

    const DumpRun notMovie =
        SwfDump({Write("text.swf", {'h', 'e', 'l', 'l', 'o', ',', ' ', 'w', 'o', 'r', 'l', 'd'})});
    EXPECT_EQ(notMovie.status, 1);
    EXPECT_NE(notMovie.output.find("error at offset 0"), std::string::npos) << notMovie.output;
}

TEST_F(SwfDumpTool, ListsEveryCorpusMovie) {
    const auto movies = corpus::Movies();
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus movies in " << corpus::ImagesDir();
    }
    // One run lists them all, each under its header line.
    const DumpRun run = SwfDump(movies);
    EXPECT_EQ(run.status, 0) << run.output.substr(0, 2000);
    for (const auto& movie : movies) {
        EXPECT_NE(run.output.find(movie.string() + ": "), std::string::npos) << movie;
    }
    EXPECT_EQ(run.output.find("error at offset"), std::string::npos);
}

} // namespace
