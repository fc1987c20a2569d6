#include "host/ChildProcess.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace host {

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::string& executable,
                                                          const std::vector<std::string>& args) {
    std::vector<std::string> strings;
    strings.push_back(executable);
    strings.insert(strings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& s : strings) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, executable.c_str(), nullptr, nullptr, argv.data(), environ);
    if (error != 0) {
        return Error{"cannot start " + executable + ": " + std::strerror(error), 0};
    }
    return std::make_unique<ChildProcess>(pid);
}

ChildProcess::~ChildProcess() {
    if (!exitCode) {
        ::kill(pid, SIGKILL);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
}

std::optional<int> ChildProcess::Poll() {
    if (exitCode) {
        return exitCode;
    }
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
        if (WIFEXITED(status)) {
            exitCode = WEXITSTATUS(status);
        } else if (WIFSIGNALED(status)) {
            exitCode = 128 + WTERMSIG(status);
        }
    } else if (done < 0 && errno == ECHILD) {
        exitCode = 255; // reaped elsewhere; its code is lost
    }
    return exitCode;
}

std::string OwnExecutable() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("vantrel") : path.string();
}

std::vector<std::string> LaunchPlan::ArgumentsFor(const std::string& commandLine) const {
    std::vector<std::string> args = options;
    args.push_back("--");
    if (!commandLine.empty()) {
        args.push_back(commandLine);
    }
    return args;
}

void JournalLaunch(sim::Device& device, const ChildProcess& child, const std::string& commandLine,
                   int exitCode) {
    sim::JournalEntry entry;
    entry.time = device.Now();
    entry.pid = static_cast<DWORD>(child.Pid());
    entry.call = "launch";
    entry.args = {sim::JournalValue(commandLine)};
    entry.result = sim::JournalValue(exitCode);
    device.GetJournal().Record(std::move(entry));
}

} // namespace host
