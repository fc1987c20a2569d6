#include "swf/control/HostFiles.h"

#include <fstream>

namespace swf {

namespace {

class StreamReader final : public FileReader {
public:
    explicit StreamReader(std::ifstream stream) : stream(std::move(stream)) {}

    Result<std::size_t> Read(std::span<std::uint8_t> into) override {
        stream.read(reinterpret_cast<char*>(into.data()),
                    static_cast<std::streamsize>(into.size()));
        if (stream.bad()) {
            return Error{"the file could not be read", 0};
        }
        return static_cast<std::size_t>(stream.gcount());
    }

private:
    std::ifstream stream;
};

} // namespace

Result<std::unique_ptr<FileReader>> HostFiles::Open(const std::string& path) {
    std::filesystem::path hostPath(path);
    if (!path.empty() && path.front() == '\\') {
        std::optional<std::filesystem::path> resolved;
        if (resolver) {
            resolved = resolver(path);
        }
        if (!resolved) {
            return Error{"no device file system to read " + path + " from", 0};
        }
        hostPath = *resolved;
    }
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error)) {
        return Error{"no such file: " + path, 0};
    }
    std::ifstream stream(hostPath, std::ios::binary);
    if (!stream) {
        return Error{"the file could not be opened: " + path, 0};
    }
    return std::unique_ptr<FileReader>(std::make_unique<StreamReader>(std::move(stream)));
}

} // namespace swf
