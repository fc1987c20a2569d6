// Movie files read from the host's file system: host paths as they stand, and
// device paths ("\...") through a resolver that tells where the device keeps
// them. Without a resolver, device paths cannot be opened.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "swf/runtime/HostServices.h"

namespace swf {

class HostFiles final : public FileSystem {
public:
    using DevicePathResolver =
        std::function<std::optional<std::filesystem::path>(const std::string& devicePath)>;

    explicit HostFiles(DevicePathResolver resolver = {}) : resolver(std::move(resolver)) {}

    Result<std::unique_ptr<FileReader>> Open(const std::string& path) override;

private:
    DevicePathResolver resolver;
};

} // namespace swf
