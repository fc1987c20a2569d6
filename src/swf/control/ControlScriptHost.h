// What the scripts of the control's movie get from the device: its clock
// for getTimer and intervals, the wall clock and the time zone for Date,
// and a place for their trace lines, for what the engine notes (a script
// stopped by a limit) and for their fscommands and URL requests. The last
// of each are kept for the control's state report; trace lines also go to
// the sink the host gives (its --trace file).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "swf/runtime/HostServices.h"
#include "swf/script/Vm.h"

namespace swf {

// Where the control's trace lines go besides its state report.
using TraceSink = std::function<void(std::string_view line)>;
// An event the control raises to its container (the device journals it):
// its name and arguments, UTF-8.
using ContainerEvent = std::function<void(const char* event, const std::vector<std::string>& args)>;

class ControlScriptHost final : public script::VmHost {
public:
    static constexpr std::size_t LinesKept = 16;

    // clock is borrowed and must outlive the host.
    ControlScriptHost(const Clock& clock, TraceSink sink);

    // Where FSCommands, pages to open and notes are raised to the container.
    void SetContainerEvents(ContainerEvent events) { raise = std::move(events); }

    // A new movie: its clock starts now, and what was kept goes.
    void StartMovie(std::string url);

    void Trace(std::string_view line) override;
    std::uint64_t MovieMilliseconds() override;
    double WallClockMilliseconds() override;
    int TimeZoneOffsetMinutes(double utcMilliseconds) override;
    void Note(std::string_view text) override;
    void RequestUrl(const script::UrlRequest& request) override;
    std::string MovieUrl() override { return url; }

    // The last trace lines and notes (fscommands and URLs among them),
    // oldest first, and how many there were since the movie started.
    const std::deque<std::string>& TraceLines() const { return traceLines; }
    std::uint64_t TraceCount() const { return traceCount; }
    const std::deque<std::string>& Notes() const { return notes; }

private:
    const Clock& clock;
    TraceSink sink;
    ContainerEvent raise;
    std::string url;
    std::uint64_t startMilliseconds = 0;
    double wallClockStart = 0.0; // milliseconds since 1970 UTC when the movie started
    std::deque<std::string> traceLines;
    std::uint64_t traceCount = 0;
    std::deque<std::string> notes;
};

} // namespace swf
