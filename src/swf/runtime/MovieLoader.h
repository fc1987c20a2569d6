// Loads a movie from a URL into a MovieParser, a piece at a time, so that the
// user-interface thread stays free while a large movie comes in:
//   "file://PATH"  PATH read through the host's files (a device path when it
//                  begins with "\", a host path otherwise);
//   "http://..." and "https://..."  fetched by the host's fetcher.
// A new Load cancels the one before it.
//
// The ready state is what the movie control reports: 0 while nothing usable
// has arrived, 2 once the header is read, 3 once the first frame is in, 4
// once the whole movie is in (or its data ended: a truncated or damaged movie
// is complete as far as it is sound). A movie that cannot be loaded stays at 0.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "swf/base/Result.h"
#include "swf/format/MovieParser.h"
#include "swf/runtime/HostServices.h"

namespace swf {

class MovieLoader {
public:
    // files and fetcher are borrowed and must outlive the loader. wake asks
    // the host to call Pump soon on the user-interface thread; it may be
    // called from any thread.
    MovieLoader(FileSystem& files, Fetcher& fetcher, std::function<void()> wake,
                ParserLimits limits = {});
    ~MovieLoader();
    MovieLoader(const MovieLoader&) = delete;
    MovieLoader& operator=(const MovieLoader&) = delete;

    void Load(const std::string& url);
    // Does the work that is due, up to budgetBytes of movie data, and asks
    // to be woken again while work is left.
    void Pump(std::size_t budgetBytes = std::size_t{1} << 20);

    const std::string& Url() const { return url; }
    int ReadyState() const;
    bool Loading() const { return source != Source::None; }
    // The movie being loaded; null before the first Load.
    MovieParser* Parser() { return parser.get(); }
    const MovieParser* Parser() const { return parser.get(); }
    // Why loading stopped early (the movie's own faults are in
    // Parser()->Failure()).
    const std::optional<Error>& LoadError() const { return loadError; }
    // Bumped by every Load, so the host can tell one movie from the next.
    int Generation() const { return generation; }

private:
    enum class Source { None, File, Http };

    void Stop(std::optional<Error> error);
    void Feed(std::span<const std::uint8_t> bytes);

    FileSystem& files;
    Fetcher& fetcher;
    std::function<void()> wake;
    ParserLimits limits;

    std::string url;
    int generation = 0;
    std::unique_ptr<MovieParser> parser;
    std::optional<Error> loadError;
    Source source = Source::None;
    std::unique_ptr<FileReader> file;
    std::size_t fileBytes = 0;
    std::unique_ptr<Fetch> fetch;
    std::deque<FetchEvent> pending; // taken from the fetch, not yet fed
};

} // namespace swf
