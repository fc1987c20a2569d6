// A movie file as anything may deliver it: read in pieces, as a download
// brings it, parsed, played and gone to, and its tags described, as swfdump
// does. Every outcome but a fault is fine: an error or as much of the movie
// as is sound.
#include <cstdio>
#include <cstdlib>
#include <span>

#include "swf/base/ByteReader.h"
#include "swf/format/MovieFile.h"
#include "swf/format/MovieParser.h"
#include "swf/format/TagStream.h"
#include "swf/format/TagSummary.h"
#include "swf/runtime/MoviePlayer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    // In three pieces: the file header alone, then the rest in two, so that
    // the parser meets a tag cut by the end of what has arrived.
    swf::MovieParser parser;
    const std::size_t header = std::min<std::size_t>(size, 8);
    const std::size_t middle = header + (size - header) / 2;
    parser.Append(bytes.first(header));
    parser.Append(bytes.subspan(header, middle - header));
    parser.Append(bytes.subspan(middle));
    parser.Finish();
    if (parser.HeaderRead()) {
        if (!parser.Complete()) {
            std::fprintf(stderr, "movie: a finished input left the parser incomplete\n");
            std::abort();
        }
        swf::MoviePlayer player(parser.GetMovie());
        player.SetComplete(true);
        player.FramesAdded();
        for (int tick = 0; tick < 12; ++tick) {
            player.Tick();
        }
        player.GotoFrame(size % 100);
        player.GotoFrame(0);
    } else if (!parser.Failure()) {
        std::fprintf(stderr, "movie: no header and no error\n");
        std::abort();
    }
    const auto movie = swf::Uncompress(bytes);
    if (movie.tagsOffset) {
        swf::ByteReader reader(std::span(movie.bytes).subspan(*movie.tagsOffset));
        while (const auto tag = swf::NextTag(reader)) {
            (void)swf::DescribeTag(*tag);
        }
    }
    return 0;
}
