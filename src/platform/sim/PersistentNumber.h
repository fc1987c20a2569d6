// One number of the device's system state that survives restarts and is
// shared by the processes on a device directory (the display orientation,
// the wave-out volume): a small text file "<name> <value>" in the system
// folder, replaced whole under a lock on every change.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/Result.h"

namespace sim {

class PersistentNumber {
public:
    PersistentNumber(std::filesystem::path folder, std::string name);

    // The stored value; nullopt when none is stored or the file is damaged.
    std::optional<std::uint64_t> Read() const;
    Result<bool> Write(std::uint64_t value);

private:
    std::filesystem::path file;
    std::string name;
};

} // namespace sim
