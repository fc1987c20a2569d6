#include "host/DeviceButtons.h"

#include <optional>

#include "platform/Input.h"

namespace host {
namespace {

std::optional<sim::HardwareButton> CaseButton(DeviceButton button) {
    switch (button) {
    case DeviceButton::App1:
        return sim::HardwareButton::App1;
    case DeviceButton::App2:
        return sim::HardwareButton::App2;
    case DeviceButton::App3:
        return sim::HardwareButton::App3;
    case DeviceButton::App4:
        return sim::HardwareButton::App4;
    case DeviceButton::App5:
        return sim::HardwareButton::App5;
    case DeviceButton::App6:
        return sim::HardwareButton::App6;
    case DeviceButton::Action:
        return sim::HardwareButton::Action;
    case DeviceButton::Record:
        return sim::HardwareButton::Record;
    case DeviceButton::Talk:
        return sim::HardwareButton::Talk;
    case DeviceButton::End:
        return sim::HardwareButton::End;
    default:
        return std::nullopt;
    }
}

BYTE PadKey(DeviceButton button) {
    switch (button) {
    case DeviceButton::Up:
        return VK_UP;
    case DeviceButton::Down:
        return VK_DOWN;
    case DeviceButton::Left:
        return VK_LEFT;
    default:
        return VK_RIGHT;
    }
}

} // namespace

void DeviceButtonDown(sim::Automation& automation, DeviceButton button) {
    if (const auto caseButton = CaseButton(button)) {
        automation.ButtonDown(*caseButton);
    } else {
        automation.KeyDown(PadKey(button));
    }
}

void DeviceButtonUp(sim::Automation& automation, DeviceButton button) {
    if (const auto caseButton = CaseButton(button)) {
        automation.ButtonUp(*caseButton);
    } else {
        automation.KeyUp(PadKey(button));
    }
}

void PressDeviceButton(sim::Automation& automation, DeviceButton button) {
    DeviceButtonDown(automation, button);
    DeviceButtonUp(automation, button);
}

} // namespace host
