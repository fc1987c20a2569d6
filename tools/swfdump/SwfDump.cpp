// swfdump MOVIE...: each movie's header and one line per tag (offset, code,
// name, length, main fields), sprites' tags indented under them. A damaged
// movie is listed as far as it can be read, followed by the error and its
// offset; the exit status is then 1.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "swf/base/ByteReader.h"
#include "swf/format/MovieFile.h"
#include "swf/format/MovieParser.h"
#include "swf/format/TagCodes.h"
#include "swf/format/TagStream.h"
#include "swf/format/TagSummary.h"

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

// Lists one movie; returns its exit status.
int Dump(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "swfdump: cannot open %s\n", path);
        return 2;
    }
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());

    swf::MovieParser parser;
    parser.Append(file);
    parser.Finish();
    if (parser.HeaderRead()) {
        std::printf("%s: %s\n", path, swf::DescribeHeader(parser.GetMovie().header).c_str());
    }
    const swf::UncompressedMovie movie = swf::Uncompress(file);
    if (movie.tagsOffset) {
        const auto tags = std::span<const std::uint8_t>(movie.bytes).subspan(*movie.tagsOffset);
        ListTags(swf::ByteReader(tags, *movie.tagsOffset), 0);
    }
    std::fflush(stdout);
    if (const auto& failure = parser.Failure()) {
        std::fprintf(stderr, "swfdump: %s: error at offset %zu: %s\n", path, failure->offset,
                     failure->message.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: swfdump MOVIE...\n");
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        status = std::max(status, Dump(argv[i]));
    }
    return status;
}
