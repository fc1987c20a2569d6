// The device clock: virtual (advanced by the driver, deterministic) or real
// (following the host's monotonic clock). Times are milliseconds since the
// device started; GetTickCount gives their low 32 bits.
#pragma once

#include <chrono>
#include <cstdint>

namespace sim {

using DeviceTime = std::uint64_t;

enum class ClockMode { Virtual, Real };

class Clock {
public:
    explicit Clock(ClockMode mode);

    ClockMode Mode() const { return mode; }
    DeviceTime Now() const;
    // Moves a virtual clock forward to time (never back); a real clock ignores
    // it.
    void AdvanceTo(DeviceTime time);

private:
    ClockMode mode;
    DeviceTime virtualNow = 0;
    std::chrono::steady_clock::time_point start;
};

} // namespace sim
