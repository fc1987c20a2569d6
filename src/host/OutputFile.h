// The files a run writes for its user: state, journal, screenshots. Each is
// written whole under a temporary name and then renamed, so a reader never
// sees half a file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace host {

// False, with the reason in error, when the file cannot be written.
bool WriteOutputFile(const std::filesystem::path& file, std::string_view content,
                     std::string& error);

} // namespace host
