// The real movies of the shared corpus: each reads completely and without
// error, plays through its frames, and swfdump's descriptions read every tag.
#include <gtest/gtest.h>

#include "CorpusFiles.h"
#include "TestMovies.h"
#include "swf/format/MovieFile.h"
#include "swf/format/TagStream.h"
#include "swf/format/TagSummary.h"
#include "swf/runtime/MoviePlayer.h"

namespace {

TEST(Corpus, EveryMovieReadsCompletelyAndPlays) {
    const auto movies = corpus::Movies();
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus movies in " << corpus::ImagesDir();
    }
    for (const auto& path : movies) {
        SCOPED_TRACE(path.filename().string());
        const auto bytes = corpus::ReadFile(path);
        const auto parser = testmovies::Parse(bytes);
        ASSERT_FALSE(parser->Failure())
            << parser->Failure()->message << " at " << parser->Failure()->offset;
        ASSERT_TRUE(parser->Complete());
        const swf::Movie& movie = parser->GetMovie();
        EXPECT_GT(movie.header.frameRate, 0.0);
        EXPECT_GE(movie.root.frames.size(), 1u);

        swf::MoviePlayer player(movie);
        player.SetComplete(true);
        player.FramesAdded();
        for (std::size_t tick = 0; tick < movie.root.frames.size() + 10; ++tick) {
            player.Tick();
        }
        player.GotoFrame(static_cast<long>(movie.root.frames.size()) / 2);
        EXPECT_EQ(player.FrameNumber(), movie.root.frames.size() / 2);

        // The same movie in 1000-byte pieces reads the same.
        const auto pieces = testmovies::Parse(bytes, 1000);
        EXPECT_EQ(pieces->GetMovie().root.frames.size(), movie.root.frames.size());
        EXPECT_EQ(pieces->GetMovie().dictionary.size(), movie.dictionary.size());
    }
}

// Lists a run of tags as swfdump does; returns how many were damaged.
int DescribeAll(swf::ByteReader reader) {
    int damaged = 0;
    while (const auto tag = swf::NextTag(reader)) {
        damaged += swf::DescribeTag(*tag).starts_with("damaged") ? 1 : 0;
        if (tag->code == 39 && tag->body.size() >= 4) {
            damaged += DescribeAll(swf::ByteReader(tag->body.subspan(4), tag->offset + 4));
        }
    }
    return damaged;
}

TEST(Corpus, EveryTagOfEveryMovieCanBeDescribed) {
    const auto movies = corpus::Movies();
    if (movies.empty()) {
        GTEST_SKIP() << "no corpus movies in " << corpus::ImagesDir();
    }
    for (const auto& path : movies) {
        SCOPED_TRACE(path.filename().string());
        const auto movie = swf::Uncompress(corpus::ReadFile(path));
        ASSERT_FALSE(movie.error);
        ASSERT_TRUE(movie.tagsOffset);
        EXPECT_EQ(DescribeAll(swf::ByteReader(std::span(movie.bytes).subspan(*movie.tagsOffset),
                                              *movie.tagsOffset)),
                  0);
    }
}

} // namespace
