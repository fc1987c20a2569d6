// The system-wide part of the device's state, for the state output: display
// orientation, the shell's bars, power, volume and the registry, as the
// device's services keep them.
#pragma once

#include <nlohmann/json.hpp>

namespace host {

class Session;

// {width, height, dpi, orientation}: the screen as it is now, the
// orientation in degrees.
nlohmann::ordered_json ScreenState(Session& session);
// Whether the input-panel button is shown for the window in front.
bool SipButtonVisible(Session& session);
// {backlight, suspended, systemPowerState, requirements [{device, state, flags}]}.
nlohmann::ordered_json PowerState(Session& session);
// Each root as an object of its keys (nested objects) and values (the default
// value under ""): text for string values, a number for a DWORD, a list of
// texts for a multi-string, {type, hex} for anything else.
nlohmann::ordered_json RegistryState(Session& session);

// Degrees for a display orientation (DMDO_90 is 90) and back; -1 / nothing
// for values that are none of the four.
int OrientationDegrees(unsigned long orientation);

} // namespace host
