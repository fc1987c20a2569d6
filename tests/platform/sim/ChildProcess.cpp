#include "ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

namespace testing_support {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return;
    }
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    output = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
    Kill();
    if (output >= 0) {
        ::close(output);
    }
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const std::size_t end = buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = buffer.substr(0, end);
            buffer.erase(0, end + 1);
            return line;
        }
        if (output < 0) {
            return std::nullopt;
        }
        // Looks at least once, even when the time is already up.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd waiting{output, POLLIN, 0};
        if (::poll(&waiting, 1, static_cast<int>(std::max<long long>(left.count(), 0))) <= 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                return std::nullopt;
            }
            continue;
        }
        char chunk[4096];
        const ssize_t got = ::read(output, chunk, sizeof chunk);
        if (got <= 0) {
            return std::nullopt;
        }
        buffer.append(chunk, static_cast<std::size_t>(got));
        transcript.append(chunk, static_cast<std::size_t>(got));
    }
}

std::optional<std::string> ChildProcess::WaitFor(const std::string& prefix,
                                                 std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        auto line = ReadLine(left);
        if (!line) {
            return std::nullopt;
        }
        if (line->rfind(prefix, 0) == 0) {
            return line;
        }
    }
    return std::nullopt;
}

void ChildProcess::Kill() {
    if (pid > 0 && !reaped) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        reaped = true;
    }
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid > 0 && !reaped) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            reaped = true;
            if (WIFEXITED(status)) {
                return WEXITSTATUS(status);
            }
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return std::nullopt;
}

} // namespace testing_support
