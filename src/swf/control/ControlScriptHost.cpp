#include "swf/control/ControlScriptHost.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace swf {

namespace {

void Keep(std::deque<std::string>& lines, std::string_view line) {
    lines.emplace_back(line);
    if (lines.size() > ControlScriptHost::LinesKept) {
        lines.pop_front();
    }
}

} // namespace

ControlScriptHost::ControlScriptHost(const Clock& clock, TraceSink sink)
    : clock(clock), sink(std::move(sink)) {}

void ControlScriptHost::StartMovie(std::string movieUrl) {
    url = std::move(movieUrl);
    startMilliseconds = clock.NowMilliseconds();
    // The device keeps no calendar of its own: the date is the host's, and
    // runs on with the device's clock from here.
    wallClockStart = static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                             std::chrono::system_clock::now().time_since_epoch())
                                             .count());
    traceLines.clear();
    traceCount = 0;
    notes.clear();
}

void ControlScriptHost::Trace(std::string_view line) {
    Keep(traceLines, line);
    ++traceCount;
    if (sink) {
        sink(line);
    }
}

std::uint64_t ControlScriptHost::MovieMilliseconds() {
    const std::uint64_t now = clock.NowMilliseconds();
    return now >= startMilliseconds ? now - startMilliseconds : 0;
}

double ControlScriptHost::WallClockMilliseconds() {
    return wallClockStart + static_cast<double>(MovieMilliseconds());
}

int ControlScriptHost::TimeZoneOffsetMinutes(double utcMilliseconds) {
    if (!std::isfinite(utcMilliseconds) || std::abs(utcMilliseconds) > 8.64e15) {
        return 0;
    }
    const auto seconds = static_cast<std::time_t>(std::floor(utcMilliseconds / 1000.0));
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return 0;
    }
    return static_cast<int>(local.tm_gmtoff / 60);
}

void ControlScriptHost::Note(std::string_view text) {
    Keep(notes, text);
}

void ControlScriptHost::RequestUrl(const script::UrlRequest& request) {
    // The container hears no fscommands and opens no windows for the movie
    // yet; what was asked is noted.
    Keep(notes, "getURL " + request.url + " " + request.target);
}

} // namespace swf
