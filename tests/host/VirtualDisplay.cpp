#include "VirtualDisplay.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

namespace host::testing {
namespace {

// Reads the display number the server writes to its end of the pipe once it
// takes connections; empty when it ended or said nothing for ten seconds.
std::string ReadDisplayNumber(int fd, ChildProcess& server) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string number;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 100) < 0) {
            return "";
        }
        if (ready.revents == 0) {
            if (server.Poll()) {
                return "";
            }
            continue;
        }
        char c = 0;
        if (::read(fd, &c, 1) != 1) {
            return ""; // the server ended before it said
        }
        if (c == '\n') {
            return number;
        }
        number += c;
    }
    return "";
}

} // namespace

VirtualDisplay::VirtualDisplay() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) {
        return;
    }
    // Only the server inherits the writing end, and only for its start.
    ::fcntl(fds[1], F_SETFD, 0);
    auto started =
        ChildProcess::Start("/usr/bin/Xvfb", {"-displayfd", std::to_string(fds[1]), "-screen", "0",
                                              "1024x900x24", "-nolisten", "tcp"});
    ::close(fds[1]);
    if (started) {
        std::unique_ptr<ChildProcess> child = std::move(started).Value();
        const std::string number = ReadDisplayNumber(fds[0], *child);
        if (!number.empty()) {
            name = ":" + number;
            server = std::move(child);
        }
    }
    ::close(fds[0]);
}

} // namespace host::testing
