// A program the test starts as a real process, with its standard output read
// a line at a time, every wait limited.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class ChildProcess {
public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    // Kills the process if it still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return pid > 0; }
    // The next line of output, or nullopt when none comes within the limit
    // (or the output ends).
    std::optional<std::string> ReadLine(std::chrono::milliseconds limit);
    // Reads lines until one starts with prefix; the line, or nullopt.
    std::optional<std::string> WaitFor(const std::string& prefix, std::chrono::milliseconds limit);
    void Kill();
    // The exit code, or nullopt when it did not end within the limit or was
    // killed by a signal.
    std::optional<int> Wait(std::chrono::milliseconds limit);
    // Everything read so far, for failure messages.
    const std::string& Transcript() const { return transcript; }

private:
    pid_t pid = -1;
    int output = -1;
    bool reaped = false;
    std::string buffer;
    std::string transcript;
};

} // namespace testing_support
