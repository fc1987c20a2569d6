// Runs a program of the build as a real process for the process tests: its
// arguments, optional standard input, and what it printed and returned.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace host::testing {

struct ProcessResult {
    // The exit code; 128 + the signal for a process killed by one; -1 when it
    // could not be started or ran out of time (then killed).
    int exitCode = -1;
    std::string out;
    std::string err;
};

struct ProcessOptions {
    std::string standardInput;
    std::vector<std::string> environment; // "NAME=value" added to this process's
    std::vector<std::string> unset;       // names removed from it
    std::chrono::seconds timeout{120};
};

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options = {});

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, const std::string& text);

// The width and height in a PNG's header; 0 x 0 for anything else.
std::pair<int, int> PngSize(const std::string& bytes);

} // namespace host::testing
