#include "swf/format/MovieFile.h"

#include "swf/base/ByteReader.h"
#include "swf/format/Decompressor.h"
#include "swf/format/Records.h"

namespace swf {

UncompressedMovie Uncompress(std::span<const std::uint8_t> file, ParserLimits limits) {
    UncompressedMovie result;
    ByteReader reader(file);
    const auto head = reader.Bytes(8);
    if (!reader.Ok() || head[1] != 'W' || head[2] != 'S' ||
        (head[0] != 'F' && head[0] != 'C' && head[0] != 'Z')) {
        result.error = Error{"not a movie: the signature is not FWS, CWS or ZWS", 0};
        return result;
    }
    ByteReader lengthReader(head.subspan(4));
    const std::uint32_t declared = lengthReader.U32();
    if (declared < 8 || declared > limits.maxMovieBytes) {
        result.error = Error{"the declared movie length " + std::to_string(declared) +
                                 " is impossible or over the limit",
                             4};
        return result;
    }
    result.bytes.assign(head.begin(), head.end());
    result.bytes[0] = 'F';
    const auto body = reader.Rest();
    if (head[0] == 'F') {
        result.bytes.insert(result.bytes.end(), body.begin(),
                            body.begin() + std::min<std::size_t>(body.size(), declared - 8));
    } else {
        std::vector<std::uint8_t> inflated;
        auto decompressor = head[0] == 'C' ? MakeZlibDecompressor() : MakeLzmaDecompressor();
        auto fed = decompressor->Feed(body, inflated, declared - 8);
        result.bytes.insert(result.bytes.end(), inflated.begin(), inflated.end());
        if (!fed) {
            result.error = Error{fed.GetError().message, result.bytes.size()};
        }
    }
    ByteReader stage(std::span<const std::uint8_t>(result.bytes).subspan(8), 8);
    ReadRect(stage);
    stage.U16();
    stage.U16();
    if (stage.Ok()) {
        result.tagsOffset = stage.Offset();
    } else if (!result.error) {
        result.error = Error{"the movie ends inside its header", stage.Offset()};
    }
    return result;
}

} // namespace swf
