#include "platform/sim/ProcessDirectory.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>

#include "platform/sim/QuotedText.h"

namespace sim {
namespace {

constexpr std::string_view kHeader = "vantrel-process 1";

std::string_view TakeWord(std::string_view& rest) {
    while (!rest.empty() && rest.front() == ' ') {
        rest.remove_prefix(1);
    }
    const std::size_t end = std::min(rest.find(' '), rest.size());
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    return word;
}

template <typename Number>
bool TakeNumber(std::string_view& rest, Number& number) {
    const std::string_view word = TakeWord(rest);
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
    return !word.empty() && error == std::errc() && end == word.data() + word.size();
}

bool IsRestEmpty(std::string_view rest) {
    return TakeWord(rest).empty();
}

std::uintptr_t HandleNumber(HWND window) {
    return reinterpret_cast<std::uintptr_t>(window);
}

void RemoveQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

} // namespace

std::string ProcessRecord::Serialize() const {
    std::string out(kHeader);
    out += "\nid " + id + "\nfront " + std::to_string(frontSequence) + "\n";
    for (const auto& program : programs) {
        out += "program " + std::to_string(program.pid) + " " + std::to_string(program.threadId) +
               " " + QuoteText(program.modulePath) + "\n";
    }
    for (const auto& window : windows) {
        out += "window " + std::to_string(HandleNumber(window.handle)) + " " +
               std::to_string(window.pid) + " " + std::to_string(window.threadId) + " " +
               (window.visible ? "1" : "0") + " " + QuoteText(window.className) + " " +
               QuoteText(window.title) + "\n";
    }
    return out + "end\n";
}

Result<ProcessRecord> ProcessRecord::Parse(std::string_view text) {
    ProcessRecord record;
    std::size_t offset = 0;
    bool sawHeader = false;
    bool sawEnd = false;
    while (offset < text.size()) {
        const std::size_t lineEnd = text.find('\n', offset);
        if (lineEnd == std::string_view::npos || sawEnd) {
            return Error{"a damaged process record", offset};
        }
        std::string_view rest = text.substr(offset, lineEnd - offset);
        const std::size_t lineStart = offset;
        offset = lineEnd + 1;
        if (!sawHeader) {
            if (rest != kHeader) {
                return Error{"not a process record", lineStart};
            }
            sawHeader = true;
            continue;
        }
        const std::string_view kind = TakeWord(rest);
        bool good = true;
        if (kind == "id") {
            record.id = std::string(TakeWord(rest));
            good = !record.id.empty();
        } else if (kind == "front") {
            good = TakeNumber(rest, record.frontSequence);
        } else if (kind == "program") {
            PublishedProgram program;
            good = TakeNumber(rest, program.pid) && TakeNumber(rest, program.threadId);
            auto path = good ? TakeQuotedText(rest) : std::nullopt;
            good = good && path.has_value();
            if (good) {
                program.modulePath = std::move(*path);
                record.programs.push_back(std::move(program));
            }
        } else if (kind == "window") {
            PublishedWindow window;
            std::uintptr_t handle = 0;
            int visible = 0;
            good = TakeNumber(rest, handle) && TakeNumber(rest, window.pid) &&
                   TakeNumber(rest, window.threadId) && TakeNumber(rest, visible);
            auto className = good ? TakeQuotedText(rest) : std::nullopt;
            auto title = className ? TakeQuotedText(rest) : std::nullopt;
            good = good && title.has_value();
            if (good) {
                window.handle = reinterpret_cast<HWND>(handle);
                window.visible = visible != 0;
                window.className = std::move(*className);
                window.title = std::move(*title);
                record.windows.push_back(std::move(window));
            }
        } else if (kind == "end") {
            sawEnd = true;
        } else {
            good = false;
        }
        if (!good || !IsRestEmpty(rest)) {
            return Error{"a damaged line in a process record", lineStart};
        }
    }
    if (!sawEnd) {
        return Error{"a process record cut short", text.size()};
    }
    return record;
}

ProcessDirectory::ProcessDirectory(std::filesystem::path runtimeFolder)
    : processes(runtimeFolder / "processes"), requests(runtimeFolder / "requests"),
      counter(runtimeFolder / "front-counter") {
    const auto started = std::chrono::system_clock::now().time_since_epoch();
    char name[64];
    std::snprintf(name, sizeof name, "%ld-%llx", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(
                      std::chrono::duration_cast<std::chrono::nanoseconds>(started).count()));
    id = name;
    std::error_code error;
    std::filesystem::create_directories(processes, error);
    std::filesystem::create_directories(requests / id, error);
    alive = FileLock(processes / (id + ".lock"), FileLock::Mode::Exclusive);
    requestWatch = requestNotices.Watch(requests / id);
}

ProcessDirectory::~ProcessDirectory() {
    if (!alive.Held()) {
        return;
    }
    RemoveQuietly(processes / (id + ".txt"));
    RemoveQuietly(requests / id);
    // Unlinked while still held, so no other process takes it for a dead
    // one's and clears it meanwhile.
    RemoveQuietly(processes / (id + ".lock"));
}

Result<bool> ProcessDirectory::Publish(ProcessRecord record) {
    record.id = id;
    std::string text = record.Serialize();
    if (text == published) {
        return false;
    }
    if (auto written = ReplaceFile(processes / (id + ".txt"), text, Durability::Atomic); !written) {
        return written;
    }
    published = std::move(text);
    return true;
}

std::uint64_t ProcessDirectory::NextFrontSequence() {
    const std::filesystem::path lockFile = std::filesystem::path(counter) += ".lock";
    const FileLock guard(lockFile, FileLock::Mode::Exclusive);
    std::uint64_t last = 0;
    if (const auto text = ReadWholeFile(counter)) {
        std::string_view rest = *text;
        TakeNumber(rest, last);
    }
    const std::uint64_t next = last + 1;
    if (guard.Held()) {
        ReplaceFile(counter, std::to_string(next) + "\n", Durability::Atomic);
    }
    return next;
}

std::vector<ProcessRecord> ProcessDirectory::Others() {
    std::vector<ProcessRecord> records;
    std::error_code error;
    std::vector<std::string> ids;
    for (std::filesystem::directory_iterator entries(processes, error), end;
         !error && entries != end; entries.increment(error)) {
        const auto& path = entries->path();
        if (path.extension() == ".lock") {
            ids.push_back(path.stem().string());
        }
    }
    std::sort(ids.begin(), ids.end());
    for (const auto& other : ids) {
        if (other == id) {
            continue;
        }
        const FileLock probe =
            FileLock::TryLock(processes / (other + ".lock"), FileLock::Mode::Exclusive);
        if (probe.Held()) {
            // Nobody holds it: the process has ended. Clear its traces while
            // the lock keeps anyone else from doing the same.
            RemoveQuietly(processes / (other + ".txt"));
            RemoveQuietly(requests / other);
            RemoveQuietly(processes / (other + ".lock"));
            continue;
        }
        const auto text = ReadWholeFile(processes / (other + ".txt"));
        if (!text) {
            continue;
        }
        auto record = ProcessRecord::Parse(*text);
        if (record && record->id == other) {
            records.push_back(std::move(record).Value());
        }
    }
    return records;
}

bool ProcessDirectory::SendRequest(const std::string& target, const std::string& request) {
    const std::filesystem::path folder = requests / target;
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        return false;
    }
    char name[96];
    std::snprintf(name, sizeof name, "%s-%016llx", id.c_str(),
                  static_cast<unsigned long long>(++sent));
    // Written beside as ".tmp" and renamed: the reader, which takes only
    // ".req" files, never sees half a request.
    return ReplaceFile(folder / (std::string(name) + ".req"), request, Durability::Atomic).Ok();
}

bool ProcessDirectory::RequestsMayHaveCome() {
    if (requestWatch < 0) {
        return true;
    }
    bool arrived = false;
    for (const FolderNotice& notice : requestNotices.Take()) {
        // Requests taken are removed; anything else may be a new one.
        arrived = arrived || notice.kind != FolderNotice::Kind::Removed;
        if (notice.kind == FolderNotice::Kind::FolderGone) {
            requestNotices.Unwatch(requestWatch);
            requestWatch = -1;
        }
    }
    return arrived;
}

std::vector<std::string> ProcessDirectory::TakeRequests() {
    // Looked at before the folder is read: a request that comes during the
    // read brings a notice for the next look.
    if (!RequestsMayHaveCome() && !firstLook) {
        return {};
    }
    firstLook = false;
    struct Found {
        std::filesystem::file_time_type time;
        std::filesystem::path path;
    };
    std::vector<Found> found;
    std::error_code error;
    for (std::filesystem::directory_iterator entries(requests / id, error), end;
         !error && entries != end; entries.increment(error)) {
        if (entries->path().extension() == ".req") {
            std::error_code timeError;
            found.push_back(
                {std::filesystem::last_write_time(entries->path(), timeError), entries->path()});
        }
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.time != b.time ? a.time < b.time : a.path < b.path;
    });
    std::vector<std::string> taken;
    for (const auto& request : found) {
        if (auto text = ReadWholeFile(request.path)) {
            taken.push_back(std::move(*text));
        }
        RemoveQuietly(request.path);
    }
    return taken;
}

} // namespace sim
