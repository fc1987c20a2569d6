// What the processes sharing a device directory know of each other, kept in
// the runtime folder:
//
//   processes/<id>.lock   held (flock) by the process <id> for its life; a
//                         record whose lock is free belongs to a process that
//                         has ended, however it ended, and is cleared away
//   processes/<id>.txt    the process's record: its programs with their
//                         module paths and its top-level windows, replaced
//                         whole whenever they change
//   requests/<id>/        requests to the process (bring a window to the
//                         front, ...), one file each, taken when the process
//                         next looks
//   front-counter         orders the processes by when each last came to the
//                         front
//
// <id> is the host process id with its start time, so that a process id the
// host hands out again never inherits an old record.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Result.h"
#include "platform/WinTypes.h"
#include "platform/sim/DurableFile.h"
#include "platform/sim/FolderNotices.h"

namespace sim {

struct PublishedProgram {
    DWORD pid = 0;
    DWORD threadId = 0;
    std::u16string modulePath;
    bool operator==(const PublishedProgram&) const = default;
};

struct PublishedWindow {
    HWND handle = nullptr;
    DWORD pid = 0;
    DWORD threadId = 0;
    bool visible = false;
    std::u16string className;
    std::u16string title;
    bool operator==(const PublishedWindow&) const = default;
};

struct ProcessRecord {
    std::string id;
    // When the process last brought a window to the front (higher is later).
    std::uint64_t frontSequence = 0;
    std::vector<PublishedProgram> programs;
    // Front to back.
    std::vector<PublishedWindow> windows;
    bool operator==(const ProcessRecord&) const = default;

    std::string Serialize() const;
    static Result<ProcessRecord> Parse(std::string_view text);
};

class ProcessDirectory {
public:
    // Registers this process in the runtime folder; Ok() tells whether that
    // worked (without it, the process sees no others and none sees it).
    explicit ProcessDirectory(std::filesystem::path runtimeFolder);
    ~ProcessDirectory();
    ProcessDirectory(const ProcessDirectory&) = delete;
    ProcessDirectory& operator=(const ProcessDirectory&) = delete;

    bool Ok() const { return alive.Held(); }
    const std::string& Id() const { return id; }

    // Replaces this process's record when it differs from the last one.
    Result<bool> Publish(ProcessRecord record);
    // A new, higher front sequence for this process.
    std::uint64_t NextFrontSequence();

    // The records of the other live processes; records of ended processes
    // are cleared away on the way.
    std::vector<ProcessRecord> Others();

    // Leaves a request for process id; false when it is not running.
    bool SendRequest(const std::string& id, const std::string& request);
    // The requests left for this process, oldest first; each is taken once.
    // The folder is read only when a request may have come since the last
    // read, as the host's notices tell.
    std::vector<std::string> TakeRequests();

private:
    // Whether a notice since the last look may be a request's (always, when
    // the folder is not watched).
    bool RequestsMayHaveCome();

    std::filesystem::path processes;
    std::filesystem::path requests;
    std::filesystem::path counter;
    std::string id;
    FileLock alive;
    // Notices of requests arriving; without a watch the folder is read on
    // every look.
    FolderNotices requestNotices;
    int requestWatch = -1;
    // Requests left before the watch began are taken at the first look.
    bool firstLook = true;
    std::string published;
    std::uint64_t sent = 0;
};

} // namespace sim
