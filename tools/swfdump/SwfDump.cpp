// swfdump MOVIE: the movie's header and one line per tag (offset, code, name,
// length, main fields), sprites' tags indented under them. A damaged movie is
// listed as far as it can be read, followed by the error and its offset; the
// exit status is then 1.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "swf/ByteReader.h"
#include "swf/MovieFile.h"
#include "swf/MovieParser.h"
#include "swf/TagCodes.h"
#include "swf/TagStream.h"
#include "swf/TagSummary.h"

namespace {

void PrintTag(const swf::TagView& tag, int indent) {
    const char* name = swf::tag::Name(tag.code);
    const std::string fields = swf::DescribeTag(tag);
    std::printf("%*s%8zu  %3u %-24s %7zu%s%s\n", indent * 2, "", tag.offset, tag.code,
                name != nullptr ? name : "(unknown)", tag.body.size(), fields.empty() ? "" : "  ",
                fields.c_str());
}

// Lists the tags of reader's range; returns false where a tag is cut short.
bool ListTags(swf::ByteReader reader, int indent) {
    while (!reader.AtEnd()) {
        const std::size_t at = reader.Offset();
        std::size_t needed = 0;
        const auto tag = swf::NextTag(reader, &needed);
        if (!tag) {
            std::printf("%*s%8zu  truncated tag (needs %zu bytes, %zu left)\n", indent * 2, "", at,
                        needed, reader.Remaining());
            return false;
        }
        PrintTag(*tag, indent);
        if (tag->code == swf::tag::DefineSprite && tag->body.size() >= 4) {
            swf::ByteReader sprite(tag->body, tag->offset);
            sprite.Skip(4);
            if (!ListTags(swf::ByteReader(sprite.Rest(), tag->offset + 4), indent + 1)) {
                return false;
            }
        }
        if (tag->code == swf::tag::End && indent == 0) {
            break;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: swfdump MOVIE\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "swfdump: cannot open %s\n", argv[1]);
        return 2;
    }
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());

    swf::MovieParser parser;
    parser.Append(file);
    parser.Finish();
    if (parser.HeaderRead()) {
        std::printf("%s: %s\n", argv[1], swf::DescribeHeader(parser.GetMovie().header).c_str());
    }
    const swf::UncompressedMovie movie = swf::Uncompress(file);
    if (movie.tagsOffset) {
        const auto tags = std::span<const std::uint8_t>(movie.bytes).subspan(*movie.tagsOffset);
        ListTags(swf::ByteReader(tags, *movie.tagsOffset), 0);
    }
    if (const auto& failure = parser.Failure()) {
        std::fprintf(stderr, "swfdump: %s: error at offset %zu: %s\n", argv[1], failure->offset,
                     failure->message.c_str());
        return 1;
    }
    return 0;
}
