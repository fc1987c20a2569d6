#include "swf/runtime/MovieLoader.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace swf {

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    const std::string_view start(prefix);
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

MovieLoader::MovieLoader(FileSystem& files, Fetcher& fetcher, std::function<void()> wake,
                         ParserLimits limits)
    : files(files), fetcher(fetcher), wake(std::move(wake)), limits(limits) {}

MovieLoader::~MovieLoader() = default;

void MovieLoader::Load(const std::string& newUrl) {
    Stop(std::nullopt);
    url = newUrl;
    ++generation;
    parser = std::make_unique<MovieParser>(limits);
    loadError.reset();
    pending.clear();
    fileBytes = 0;
    if (StartsWith(url, "file://")) {
        const std::string path = url.substr(7);
        if (path.empty()) {
            Stop(Error{"the URL names no file", 0});
            return;
        }
        auto opened = files.Open(path);
        if (!opened) {
            Stop(opened.GetError());
            return;
        }
        file = std::move(opened).Value();
        source = Source::File;
        wake();
    } else if (StartsWith(url, "http://") || StartsWith(url, "https://")) {
        source = Source::Http;
        fetch = fetcher.Start(url, wake);
    } else {
        Stop(Error{"unsupported URL: " + url, 0});
    }
}

void MovieLoader::Stop(std::optional<Error> error) {
    fetch.reset();
    file.reset();
    pending.clear();
    source = Source::None;
    if (error && !loadError) {
        loadError = std::move(error);
    }
    if (parser) {
        // Whatever arrived is all there will be.
        parser->Finish();
    }
}

void MovieLoader::Feed(std::span<const std::uint8_t> bytes) {
    parser->Append(bytes);
    if ((parser->Failure() && !parser->HeaderRead()) || parser->Complete()) {
        // Not a movie, or nothing more of it will be read: stop fetching.
        Stop(std::nullopt);
    }
}

void MovieLoader::Pump(std::size_t budgetBytes) {
    if (source == Source::File) {
        std::vector<std::uint8_t> buffer(std::min<std::size_t>(budgetBytes, 256 * 1024));
        std::size_t done = 0;
        while (source == Source::File && done < budgetBytes) {
            auto read = file->Read(buffer);
            if (!read) {
                Stop(read.GetError());
                return;
            }
            if (read.Value() == 0) {
                Stop(std::nullopt);
                return;
            }
            fileBytes += read.Value();
            done += read.Value();
            Feed(std::span(buffer).first(read.Value()));
            if (fileBytes > limits.maxMovieBytes + 8) {
                Stop(Error{"the file is larger than the largest movie", fileBytes});
                return;
            }
        }
        if (source == Source::File) {
            wake();
        }
        return;
    }
    if (source != Source::Http) {
        return;
    }
    for (FetchEvent& event : fetch->Take()) {
        pending.push_back(std::move(event));
    }
    std::size_t done = 0;
    while (!pending.empty() && source == Source::Http && done < budgetBytes) {
        FetchEvent& event = pending.front();
        if (auto* data = std::get_if<FetchData>(&event)) {
            const std::size_t take = std::min(budgetBytes - done, data->bytes.size());
            Feed(std::span(data->bytes).first(take));
            done += take;
            if (source != Source::Http) {
                return; // the movie ended or was refused; the fetch is gone
            }
            if (take == data->bytes.size()) {
                pending.pop_front();
            } else {
                data->bytes.erase(data->bytes.begin(),
                                  data->bytes.begin() + static_cast<std::ptrdiff_t>(take));
            }
        } else {
            auto end = std::get<FetchEnd>(std::move(event));
            pending.pop_front();
            Stop(std::move(end.error));
        }
    }
    if (!pending.empty() && source == Source::Http) {
        wake();
    }
}

int MovieLoader::ReadyState() const {
    if (!parser || !parser->HeaderRead()) {
        return 0;
    }
    if (parser->Complete()) {
        return 4;
    }
    return parser->GetMovie().root.frames.empty() ? 2 : 3;
}

} // namespace swf
