#include "host/OutputFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace host {

bool WriteOutputFile(const std::filesystem::path& file, std::string_view content,
                     std::string& error) {
    const std::filesystem::path temporary = file.string() + ".partial";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) {
        error = "cannot write " + file.string() + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(content.data(), 1, content.size(), out) == content.size();
    const int writeErrno = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        error =
            "cannot write " + file.string() + ": " + std::strerror(written ? errno : writeErrno);
        std::remove(temporary.c_str());
        return false;
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, file, renameError);
    if (renameError) {
        error = "cannot write " + file.string() + ": " + renameError.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace host
