// Reads a movie as its bytes arrive: the signature, the decompression of the
// body, the stage header, then every complete tag into the Movie. Each piece
// of input is parsed at once, so a movie can be shown while it loads.
//
// A damaged or truncated movie is read as far as it is sound: reading stops at
// the first fault, which Failure() reports with its offset in the
// uncompressed movie; everything read before it stays usable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "swf/base/Result.h"
#include "swf/format/Decompressor.h"
#include "swf/format/Movie.h"

namespace swf {

class TimelineBuilder;

struct ParserLimits {
    // The largest movie (uncompressed, header included) that is read; bytes
    // past it are ignored, and a header declaring more is refused.
    std::size_t maxMovieBytes = std::size_t{128} << 20;
    // The memory the model read from it may take, roughly; a movie that
    // needs more stops there with an error.
    std::size_t maxModelBytes = std::size_t{1} << 30;
};

class MovieParser {
public:
    explicit MovieParser(ParserLimits limits = {});
    ~MovieParser();
    MovieParser(const MovieParser&) = delete;
    MovieParser& operator=(const MovieParser&) = delete;

    // The next bytes of the file.
    void Append(std::span<const std::uint8_t> bytes);
    // No more bytes will come: whatever is left over is a truncated tag.
    void Finish();

    bool HeaderRead() const { return headerRead; }
    // The End tag was read, or the input ended (Finish or the declared
    // length) after the header; the movie will not grow any more.
    bool Complete() const { return complete; }
    const std::optional<Error>& Failure() const { return failure; }

    const Movie& GetMovie() const { return movie; }
    // The movie read so far; valid for the parser's lifetime.
    Movie& GetMovie() { return movie; }

    // Uncompressed bytes of the movie read so far (the 8-byte file header
    // included), and of the input received.
    std::size_t MovieBytesRead() const { return 8 + dataBase + consumed; }
    std::size_t InputBytesReceived() const { return received; }

private:
    enum class Stage { Signature, StageHeader, Tags, Done };

    void Fail(Error error);
    void ReadSignature();
    void Decompress(std::span<const std::uint8_t> bytes);
    void ReadStageHeader();
    void ReadTags();
    void EndTimeline();
    void Compact();

    ParserLimits limits;
    Movie movie;
    Stage stage = Stage::Signature;
    bool headerRead = false;
    bool complete = false;
    std::optional<Error> failure;
    std::size_t received = 0;

    std::vector<std::uint8_t> signature; // the first 8 bytes, as they come
    std::unique_ptr<Decompressor> decompressor;
    std::size_t bodyLimit = 0; // uncompressed bytes after the first 8
    bool bodyEnded = false;    // the decompressed stream ended

    // Uncompressed bytes after the first 8, from offset dataBase on.
    std::vector<std::uint8_t> data;
    std::size_t dataBase = 0;
    std::size_t consumed = 0; // bytes of data already read

    std::unique_ptr<TimelineBuilder> rootBuilder; // builds movie.root
    std::size_t definitionBytes = 0;              // memory the dictionary and other tags take
};

} // namespace swf
