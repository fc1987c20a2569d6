#include "platform/sim/Clock.h"

namespace sim {

Clock::Clock(ClockMode mode) : mode(mode), start(std::chrono::steady_clock::now()) {}

DeviceTime Clock::Now() const {
    if (mode == ClockMode::Virtual) {
        return virtualNow;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<DeviceTime>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void Clock::AdvanceTo(DeviceTime time) {
    if (mode == ClockMode::Virtual && time > virtualNow) {
        virtualNow = time;
    }
}

} // namespace sim
