// The project's own movie engine as the device's movie control, for the
// player tests that play real movies, and what that control says of itself.
#pragma once

#include <string>

#include "platform/WinTypes.h"
#include "platform/sim/Device.h"

namespace playertest {

// Installs the engine as the movie control; it reads "file://" movies from
// the device's storage.
void InstallEngineControl(sim::Device& device);

// The state JSON of the movie control in window control; empty when there
// is none.
std::string ControlStateJson(sim::Device& device, HWND control);

} // namespace playertest
