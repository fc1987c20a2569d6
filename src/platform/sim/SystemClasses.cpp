#include "platform/sim/SystemClasses.h"

#include "platform/sim/Device.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

using Installer = void (*)(Device&);

constexpr Installer kInstallers[] = {
    InstallDialogClass,
    InstallControlHostClass,
    InstallControlClasses,
};

} // namespace

void InstallSystemClasses(Device& device) {
    for (const Installer install : kInstallers) {
        install(device);
    }
}

ATOM RegisterSystemClass(Device& device, const WNDCLASSW& wndClass) {
    DWORD error = 0;
    return device.Windows().RegisterClass(wndClass, nullptr, error);
}

} // namespace sim
