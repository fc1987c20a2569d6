#include "swf/script/TraceRun.h"

#include <cmath>

#include "swf/format/MovieParser.h"
#include "swf/runtime/MoviePlayer.h"
#include "swf/script/MovieScripts.h"
#include "swf/script/TextEncoding.h"

namespace swf::script {

namespace {

class VirtualClockHost final : public VmHost {
public:
    VirtualClockHost(const TraceRunOptions& options,
                     const std::function<void(std::string_view)>& onLine, TraceRunResult& result)
        : options(options), onLine(onLine), result(result) {}

    void Trace(std::string_view line) override { onLine(line); }
    std::uint64_t MovieMilliseconds() override { return std::uint64_t(std::llround(now)); }
    double WallClockMilliseconds() override { return options.wallClockStart + now; }
    int TimeZoneOffsetMinutes(double utcMilliseconds) override {
        return options.timeZoneOffsetMinutes ? options.timeZoneOffsetMinutes(utcMilliseconds) : 0;
    }
    void Note(std::string_view text) override { result.notes.emplace_back(text); }
    void RequestUrl(const UrlRequest& request) override {
        constexpr std::string_view command = "FSCommand:";
        std::string_view url = request.url;
        if (url.size() >= command.size() &&
            EqualsIgnoringAsciiCase(url.substr(0, command.size()), command)) {
            const std::string_view name = url.substr(command.size());
            result.notes.push_back("fscommand " + std::string(name) + " " + request.target);
            if (EqualsIgnoringAsciiCase(name, "quit")) {
                result.quit = true;
            }
            return;
        }
        result.notes.push_back("getURL " + request.url + " " + request.target);
    }
    std::string MovieUrl() override { return options.movieUrl; }

    void Advance(double milliseconds) { now += milliseconds; }

private:
    const TraceRunOptions& options;
    const std::function<void(std::string_view)>& onLine;
    TraceRunResult& result;
    double now = 0.0;
};

} // namespace

TraceRunResult RunForTrace(std::span<const std::uint8_t> bytes, const TraceRunOptions& options,
                           const std::function<void(std::string_view line)>& onLine) {
    TraceRunResult result;
    MovieParser parser;
    parser.Append(bytes);
    parser.Finish();
    if (!parser.HeaderRead()) {
        result.error = parser.Failure() ? parser.Failure()->message : "not a movie";
        return result;
    }
    result.readable = true;
    const Movie& movie = parser.GetMovie();
    result.version = movie.header.version;
    const double rate = movie.header.frameRate > 0 ? movie.header.frameRate : 12.0;
    const double period = 1000.0 / rate;

    VirtualClockHost host(options, onLine, result);
    MoviePlayer player(movie);
    player.SetComplete(true);
    MovieScripts scripts(player, host, options.limits);
    scripts.GetVm().SeedRandom(options.randomSeed);
    scripts.Start();
    for (int i = 0; i < options.frames && !result.quit; ++i) {
        host.Advance(period);
        scripts.Tick();
    }
    return result;
}

} // namespace swf::script
