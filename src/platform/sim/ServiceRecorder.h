// How the system services record their calls in the device's journal: a
// function the device supplies (Device::Record, which adds the time and the
// calling process), so that a service can also be built and tested alone.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/sim/Journal.h"

namespace sim {

using CallRecorder =
    std::function<void(std::string call, std::vector<JournalValue> args, JournalValue result)>;

} // namespace sim
