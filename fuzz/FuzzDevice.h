// A simulated handheld for the fuzz targets whose readers run on a program of
// the device, as the player's do (they open files through it): one device in
// a temporary directory for the whole run, with one program that waits for
// work.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"

namespace fuzz {

class FuzzDevice {
public:
    FuzzDevice();
    ~FuzzDevice();
    FuzzDevice(const FuzzDevice&) = delete;
    FuzzDevice& operator=(const FuzzDevice&) = delete;

    // The one device of this run, made on first use.
    static FuzzDevice& Shared();

    // Replaces the content of the input file with bytes; returns its host
    // path, as the program sees it.
    std::u16string WriteInput(std::span<const std::uint8_t> bytes);
    // Runs work on the waiting program and returns when it has; aborts when
    // it did not finish (a reader that waits or hangs is a finding).
    void Run(const std::function<void()>& work);

private:
    sim::TemporaryDirectory directory;
    std::unique_ptr<sim::Device> device;
    sim::Program* program = nullptr;
};

} // namespace fuzz
