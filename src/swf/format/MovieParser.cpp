#include "swf/format/MovieParser.h"

#include <algorithm>

#include "swf/base/ByteReader.h"
#include "swf/format/Records.h"
#include "swf/format/TagCodes.h"
#include "swf/format/TagStream.h"

namespace swf {

namespace {

constexpr std::size_t FileHeaderSize = 8;

} // namespace

MovieParser::MovieParser(ParserLimits limits)
    : limits(limits),
      rootBuilder(std::make_unique<TimelineBuilder>(movie.root, limits.maxModelBytes)) {}
MovieParser::~MovieParser() = default;

void MovieParser::Fail(Error error) {
    if (!failure) {
        failure = std::move(error);
    }
    if (stage >= Stage::Tags) {
        EndTimeline();
    }
    if (HeaderRead()) {
        complete = true;
    }
    stage = Stage::Done;
}

void MovieParser::Append(std::span<const std::uint8_t> bytes) {
    received += bytes.size();
    if (stage == Stage::Done) {
        return;
    }
    if (stage == Stage::Signature) {
        const std::size_t take = std::min(bytes.size(), FileHeaderSize - signature.size());
        signature.insert(signature.end(), bytes.begin(), bytes.begin() + take);
        bytes = bytes.subspan(take);
        if (signature.size() < FileHeaderSize) {
            return;
        }
        ReadSignature();
        if (stage == Stage::Done) {
            return;
        }
    }
    Decompress(bytes);
    if (stage == Stage::StageHeader) {
        ReadStageHeader();
    }
    if (stage == Stage::Tags) {
        ReadTags();
    }
}

void MovieParser::ReadSignature() {
    ByteReader reader(signature);
    const std::uint8_t first = reader.U8();
    const std::uint8_t w = reader.U8();
    const std::uint8_t s = reader.U8();
    movie.header.version = reader.U8();
    movie.header.fileLength = reader.U32();
    if (w != 'W' || s != 'S' || (first != 'F' && first != 'C' && first != 'Z')) {
        Fail(Error{"not a movie: the signature is not FWS, CWS or ZWS", 0});
        return;
    }
    if (movie.header.fileLength < FileHeaderSize) {
        Fail(Error{"the declared movie length is shorter than its header", 4});
        return;
    }
    if (movie.header.fileLength > limits.maxMovieBytes) {
        Fail(Error{"the declared movie length " + std::to_string(movie.header.fileLength) +
                       " is over the limit of " + std::to_string(limits.maxMovieBytes) + " bytes",
                   4});
        return;
    }
    bodyLimit = movie.header.fileLength - FileHeaderSize;
    if (first == 'C') {
        movie.header.compression = Compression::Zlib;
        decompressor = MakeZlibDecompressor();
    } else if (first == 'Z') {
        movie.header.compression = Compression::Lzma;
        decompressor = MakeLzmaDecompressor();
    }
    stage = Stage::StageHeader;
}

void MovieParser::Decompress(std::span<const std::uint8_t> bytes) {
    const std::size_t limit = bodyLimit - dataBase; // bytes data may hold in all
    if (bodyEnded || bytes.empty()) {
        return;
    }
    if (!decompressor) {
        const std::size_t room = limit - std::min(limit, data.size());
        const std::size_t take = std::min(room, bytes.size());
        data.insert(data.end(), bytes.begin(), bytes.begin() + take);
        bodyEnded = data.size() >= limit;
        return;
    }
    auto fed = decompressor->Feed(bytes, data, limit);
    if (!fed) {
        // What was inflated before the fault is still read.
        if (stage == Stage::StageHeader) {
            ReadStageHeader();
        }
        if (stage == Stage::Tags) {
            ReadTags();
        }
        Fail(Error{fed.GetError().message + " (after " + std::to_string(fed.GetError().offset) +
                       " compressed bytes)",
                   MovieBytesRead()});
        return;
    }
    bodyEnded = fed.Value();
}

void MovieParser::ReadStageHeader() {
    ByteReader reader(std::span<const std::uint8_t>(data).subspan(consumed),
                      FileHeaderSize + dataBase + consumed);
    movie.header.frameSize = ReadRect(reader);
    const std::uint16_t rate = reader.U16();
    movie.header.frameCount = reader.U16();
    if (!reader.Ok()) {
        if (bodyEnded) {
            Fail(Error{"the movie ends inside its header", reader.Offset()});
        }
        return; // wait for more
    }
    movie.header.frameRate = rate / 256.0;
    movie.root.declaredFrameCount = movie.header.frameCount;
    consumed += reader.Position();
    headerRead = true;
    stage = Stage::Tags;
}

void MovieParser::ReadTags() {
    while (stage == Stage::Tags) {
        ByteReader reader(std::span<const std::uint8_t>(data).subspan(consumed),
                          FileHeaderSize + dataBase + consumed);
        if (reader.AtEnd()) {
            if (bodyEnded) {
                EndTimeline();
                complete = true;
                stage = Stage::Done;
            }
            break;
        }
        std::size_t needed = 0;
        const auto tag = NextTag(reader, &needed);
        if (!tag) {
            if (bodyEnded) {
                Fail(Error{"the movie ends inside a tag that needs " + std::to_string(needed) +
                               " bytes",
                           reader.Offset()});
            }
            break;
        }
        consumed += reader.Position();
        if (tag->code == tag::End) {
            EndTimeline();
            complete = true;
            stage = Stage::Done;
            break;
        }
        auto added = rootBuilder->Add(*tag);
        if (!added) {
            Fail(added.GetError());
            break;
        }
        if (!added.Value()) {
            const std::size_t used = definitionBytes + rootBuilder->Bytes();
            const std::size_t room = limits.maxModelBytes - std::min(limits.maxModelBytes, used);
            auto size = AddMovieTag(movie, *tag, room);
            if (!size) {
                Fail(size.GetError());
                break;
            }
            definitionBytes += size.Value();
        }
        if (definitionBytes + rootBuilder->Bytes() > limits.maxModelBytes) {
            Fail(Error{"the movie needs more memory than the limit of " +
                           std::to_string(limits.maxModelBytes) + " bytes",
                       tag->offset});
            break;
        }
    }
    Compact();
}

void MovieParser::EndTimeline() {
    rootBuilder->End();
}

void MovieParser::Finish() {
    if (stage == Stage::Done) {
        return;
    }
    bodyEnded = true;
    if (stage == Stage::Signature) {
        Fail(Error{"the file is too short to be a movie", signature.size()});
        return;
    }
    if (stage == Stage::StageHeader) {
        ReadStageHeader();
    }
    if (stage == Stage::Tags) {
        ReadTags();
    }
}

void MovieParser::Compact() {
    // Drop what has been read once it is most of the buffer.
    if (consumed > (std::size_t{1} << 20) && consumed * 2 > data.size()) {
        data.erase(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(consumed));
        dataBase += consumed;
        consumed = 0;
    }
}

} // namespace swf
