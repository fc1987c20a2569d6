// What the movie's scripts reach of the device through the control: trace
// lines (for the host's --trace), the calendar clock, and the requests the
// control hands its container (an FSCommand, a URL to open), which the
// device journals. The control decides what getURL does: an http URL opens
// nothing here, a movie asking to quit is the container's to answer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/runtime/HostServices.h"
#include "swf/script/Vm.h"

namespace swf {

struct ControlScriptServices {
    // Each trace line as UTF-8; none when empty.
    std::function<void(std::string_view line)> trace;
    // An event the control raises to its container, by name, with its
    // arguments (UTF-8); none when empty.
    std::function<void(const char* event, const std::vector<std::string>& args)> raise;
};

class ControlScriptHost final : public script::VmHost {
public:
    // clock is borrowed; the movie's time starts now.
    ControlScriptHost(const Clock& clock, const ControlScriptServices& services,
                      std::string movieUrl);

    void Trace(std::string_view line) override;
    std::uint64_t MovieMilliseconds() override;
    double WallClockMilliseconds() override;
    int TimeZoneOffsetMinutes(double utcMilliseconds) override;
    void Note(std::string_view text) override;
    void RequestUrl(const script::UrlRequest& request) override;
    std::string MovieUrl() override { return movieUrl; }

private:
    const Clock& clock;
    const ControlScriptServices& services;
    const std::string movieUrl;
    const std::uint64_t startMilliseconds;
    // The calendar time when the movie started, from the host's clock; the
    // device clock moves it on, so that a virtual device's dates follow its
    // own time.
    const double wallClockAtStart;
};

} // namespace swf
