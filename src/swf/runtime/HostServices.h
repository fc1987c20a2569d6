// What the engine needs from its host, and nothing more: a clock, files and
// a way to fetch URLs. The movie control implements these over the device;
// tests use fakes and a virtual clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "swf/base/Result.h"

namespace swf {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t NowMilliseconds() const = 0;
};

// An open file, read front to back.
class FileReader {
public:
    virtual ~FileReader() = default;
    // Fills into from the file; returns the bytes read, 0 at the end.
    virtual Result<std::size_t> Read(std::span<std::uint8_t> into) = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // path is UTF-8: a device path when it begins with "\", a host path
    // otherwise. Returns an error when the file cannot be opened.
    virtual Result<std::unique_ptr<FileReader>> Open(const std::string& path) = 0;
};

// What a fetch hands back, in order: pieces of the body, then its end.
struct FetchData {
    std::vector<std::uint8_t> bytes;
};
struct FetchEnd {
    std::optional<Error> error; // none: the whole body arrived
};
using FetchEvent = std::variant<FetchData, FetchEnd>;

// One transfer under way. Destroying it cancels the transfer; no wake-up
// comes after that.
class Fetch {
public:
    virtual ~Fetch() = default;
    // What arrived since the last call; called on the user-interface thread.
    virtual std::vector<FetchEvent> Take() = 0;
};

class Fetcher {
public:
    virtual ~Fetcher() = default;
    // Starts fetching url. wake is called, from any thread, whenever Take has
    // something new; the host turns it into a call on its user-interface
    // thread (a posted message).
    virtual std::unique_ptr<Fetch> Start(const std::string& url, std::function<void()> wake) = 0;
};

} // namespace swf
