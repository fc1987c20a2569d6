#include "swf/control/ControlScriptHost.h"

#include <chrono>
#include <ctime>

#include "swf/script/TextEncoding.h"

namespace swf {

namespace {

double HostCalendarMilliseconds() {
    using namespace std::chrono;
    return double(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           script::EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

} // namespace

ControlScriptHost::ControlScriptHost(const Clock& clock, const ControlScriptServices& services,
                                     std::string movieUrl)
    : clock(clock), services(services), movieUrl(std::move(movieUrl)),
      startMilliseconds(clock.NowMilliseconds()), wallClockAtStart(HostCalendarMilliseconds()) {}

void ControlScriptHost::Trace(std::string_view line) {
    if (services.trace) {
        services.trace(line);
    }
}

std::uint64_t ControlScriptHost::MovieMilliseconds() {
    return clock.NowMilliseconds() - startMilliseconds;
}

double ControlScriptHost::WallClockMilliseconds() {
    return wallClockAtStart + double(MovieMilliseconds());
}

int ControlScriptHost::TimeZoneOffsetMinutes(double utcMilliseconds) {
    // The device keeps the host's time zone.
    const auto seconds = static_cast<std::time_t>(utcMilliseconds / 1000.0);
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr) {
        return 0;
    }
    return static_cast<int>(local.tm_gmtoff / 60);
}

void ControlScriptHost::Note(std::string_view text) {
    if (services.raise) {
        services.raise("ScriptNote", {std::string(text)});
    }
}

void ControlScriptHost::RequestUrl(const script::UrlRequest& request) {
    if (!services.raise) {
        return;
    }
    constexpr std::string_view command = "FSCommand:";
    if (StartsWithIgnoringCase(request.url, command)) {
        services.raise("FSCommand", {request.url.substr(command.size()), request.target});
        return;
    }
    // Loading into clips and levels belongs to the loading library; a page
    // to open is the container's to decide, and on the device it opens
    // nothing.
    if (!request.loadTarget && !request.loadVariables &&
        !StartsWithIgnoringCase(request.target, "_level")) {
        services.raise("GetURL", {request.url, request.target});
    }
}

} // namespace swf
