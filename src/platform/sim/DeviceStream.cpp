#include "platform/sim/DeviceStream.h"

#include <cerrno>

namespace sim {
namespace {

struct Stream {
    FILE* host = nullptr;
    std::shared_ptr<StorageFault> fault;
};

ssize_t Read(void* cookie, char* buffer, size_t size) {
    auto* stream = static_cast<Stream*>(cookie);
    const std::size_t read = std::fread(buffer, 1, size, stream->host);
    return read == 0 && std::ferror(stream->host) != 0 ? -1 : static_cast<ssize_t>(read);
}

ssize_t Write(void* cookie, const char* buffer, size_t size) {
    auto* stream = static_cast<Stream*>(cookie);
    const std::size_t allowed = stream->fault->Take(size);
    const std::size_t written = std::fwrite(buffer, 1, allowed, stream->host);
    if (written < size) {
        errno = EIO;
    }
    return static_cast<ssize_t>(written);
}

int Seek(void* cookie, off64_t* offset, int whence) {
    auto* stream = static_cast<Stream*>(cookie);
    if (fseeko(stream->host, *offset, whence) != 0) {
        return -1;
    }
    *offset = ftello(stream->host);
    return 0;
}

int Close(void* cookie) {
    // Taken back from the stream that borrowed it.
    const std::unique_ptr<Stream> stream(static_cast<Stream*>(cookie));
    return std::fclose(stream->host);
}

} // namespace

FILE* OpenDeviceStream(FILE* host, const char* mode, std::shared_ptr<StorageFault> fault) {
    // Every byte goes to the host as the program's stream hands it on.
    std::setvbuf(host, nullptr, _IONBF, 0);
    auto stream = std::make_unique<Stream>(Stream{host, std::move(fault)});
    FILE* opened =
        fopencookie(stream.get(), mode, cookie_io_functions_t{&Read, &Write, &Seek, &Close});
    if (opened == nullptr) {
        std::fclose(host);
        return nullptr;
    }
    // The stream owns it now; Close frees it.
    stream.release();
    return opened;
}

} // namespace sim
