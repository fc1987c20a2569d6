#include "swf/control/ControlScriptHost.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "swf/script/TextEncoding.h"

namespace swf {

namespace {

void Keep(std::deque<std::string>& lines, std::string_view line) {
    lines.emplace_back(line);
    if (lines.size() > ControlScriptHost::LinesKept) {
        lines.pop_front();
    }
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           script::EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
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
    if (raise) {
        raise("ScriptNote", {std::string(text)});
    }
}

void ControlScriptHost::RequestUrl(const script::UrlRequest& request) {
    Keep(notes, "getURL " + request.url + " " + request.target);
    if (!raise) {
        return;
    }
    // An FSCommand is the container's to answer (a movie's "quit" among
    // them); a page to open is raised too and opens nothing on the device.
    // Loading into clips and levels is the loading library's.
    constexpr std::string_view command = "FSCommand:";
    if (StartsWithIgnoringCase(request.url, command)) {
        raise("FSCommand", {request.url.substr(command.size()), request.target});
    } else if (!request.loadTarget && !request.loadVariables &&
               !StartsWithIgnoringCase(request.target, "_level")) {
        raise("GetURL", {request.url, request.target});
    }
}

} // namespace swf
