#include "playertest/EngineControl.h"

#include "platform/Text.h"
#include "platform/sim/WindowManager.h"
#include "platform/sim/WindowObject.h"
#include "swf/control/HostFiles.h"
#include "swf/control/MovieControl.h"

namespace playertest {

void InstallEngineControl(sim::Device& device) {
    swf::InstallMovieControl(std::make_shared<swf::HostFiles>(
        [&device](const std::string& path) -> std::optional<std::filesystem::path> {
            return device.HostPath(text::FromUtf8(path));
        }));
}

std::string ControlStateJson(sim::Device& device, HWND control) {
    const sim::Window* window = device.Windows().Find(control);
    return window != nullptr && window->hostedControl ? window->hostedControl->StateJson() : "";
}

} // namespace playertest
