// Another launch of vantrel on the same device, as a real process of the
// host: started with the device and screen options of this run, watched
// without blocking, and its exit code read when it ends.
#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "platform/sim/Device.h"

namespace host {

class ChildProcess {
public:
    // Starts executable with args (without the program name).
    static Result<std::unique_ptr<ChildProcess>> Start(const std::string& executable,
                                                       const std::vector<std::string>& args);
    // Takes charge of a started child.
    explicit ChildProcess(pid_t pid) : pid(pid) {}
    // A child still running when this goes is killed and reaped, never left
    // behind.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return pid; }
    // The exit code once it has ended (128 + the signal for one killed by a
    // signal); nothing while it runs.
    std::optional<int> Poll();

private:
    pid_t pid;
    std::optional<int> exitCode;
};

// This program's own executable, for launching it again.
std::string OwnExecutable();

// How this run launches the program again: its executable and the options
// that put the new process on the same device with the same screen.
struct LaunchPlan {
    std::string executable;
    std::vector<std::string> options;

    // The options, then the command line as one argument (used unchanged).
    std::vector<std::string> ArgumentsFor(const std::string& commandLine) const;
};

// Records a launch's end in the device's journal: call "launch", the command
// line, and the exit code as the result, under the process's id.
void JournalLaunch(sim::Device& device, const ChildProcess& child, const std::string& commandLine,
                   int exitCode);

} // namespace host
