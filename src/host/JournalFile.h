// The journal file of --journal: one JSON object a line, appended as the run
// goes, so that what happened before a crash or a kill is still there.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/sim/Journal.h"

namespace host {

class JournalFile {
public:
    // Creates or truncates the file; Open() tells whether that worked.
    explicit JournalFile(const std::filesystem::path& path);
    ~JournalFile();
    JournalFile(const JournalFile&) = delete;
    JournalFile& operator=(const JournalFile&) = delete;

    bool Open() const { return file != nullptr; }
    const std::string& Error() const { return error; }

    // Appends the entries recorded since the last call.
    bool Append(const sim::Journal& journal);

private:
    std::filesystem::path path;
    std::FILE* file = nullptr;
    std::size_t written = 0;
    std::string error;
};

} // namespace host
