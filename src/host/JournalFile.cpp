#include "host/JournalFile.h"

#include <cerrno>
#include <cstring>

namespace host {

JournalFile::JournalFile(const std::filesystem::path& journalPath) : path(journalPath) {
    file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        error = "cannot write " + path.string() + ": " + std::strerror(errno);
    }
}

JournalFile::~JournalFile() {
    if (file != nullptr) {
        std::fclose(file);
    }
}

bool JournalFile::Append(const sim::Journal& journal) {
    if (file == nullptr) {
        return false;
    }
    for (const sim::JournalEntry& entry : journal.EntriesFrom(written)) {
        const std::string line = entry.Json() + "\n";
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size()) {
            error = "cannot write " + path.string() + ": " + std::strerror(errno);
            return false;
        }
        ++written;
    }
    if (std::fflush(file) != 0) {
        error = "cannot write " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace host
