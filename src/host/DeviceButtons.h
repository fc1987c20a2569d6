// The handheld's buttons as the device receives them: the case's buttons
// with their keys, the navigation pad as the arrow keys.
#pragma once

#include "host/KeyNames.h"
#include "platform/sim/Automation.h"

namespace host {

void PressDeviceButton(sim::Automation& automation, DeviceButton button);
void DeviceButtonDown(sim::Automation& automation, DeviceButton button);
void DeviceButtonUp(sim::Automation& automation, DeviceButton button);

} // namespace host
