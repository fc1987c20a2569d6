#include "FuzzDevice.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/Messages.h"
#include "platform/Text.h"

namespace fuzz {

FuzzDevice::FuzzDevice() {
    sim::DeviceConfig config;
    config.directory = directory.Path() / "device";
    device = std::make_unique<sim::Device>(config);
    sim::ProgramImage image;
    image.modulePath = u"\\Windows\\fuzz.exe";
    // Waits in its message loop; the work comes as calls into it.
    image.entry = [](HINSTANCE, LPWSTR) {
        MSG message;
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            DispatchMessageW(&message);
        }
        return 0;
    };
    program = &device->Launch(image, u"");
    if (!device->RunUntilIdle()) {
        std::fprintf(stderr, "fuzz: the device's program did not start\n");
        std::abort();
    }
}

FuzzDevice::~FuzzDevice() = default;

FuzzDevice& FuzzDevice::Shared() {
    static FuzzDevice shared;
    return shared;
}

std::u16string FuzzDevice::WriteInput(std::span<const std::uint8_t> bytes) {
    const auto path = directory.Path() / "input";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", path.c_str());
        std::abort();
    }
    return text::FromUtf8(path.string());
}

void FuzzDevice::Run(const std::function<void()>& work) {
    if (!device->RunOnProgram(*program, work)) {
        std::fprintf(stderr, "fuzz: the work on the device did not finish\n");
        std::abort();
    }
}

} // namespace fuzz
