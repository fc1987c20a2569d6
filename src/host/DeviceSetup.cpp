#include "host/DeviceSetup.h"

#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace host {
namespace {

// The screen a device was made with: "WIDTH HEIGHT DPI".
constexpr char kProfileName[] = "screen.txt";

Error Problem(std::string message) {
    return Error{std::move(message), 0};
}

Result<DeviceProfile> ReadProfile(const std::filesystem::path& file) {
    std::ifstream in(file);
    DeviceProfile profile;
    std::string rest;
    if (!in || !(in >> profile.screenWidth >> profile.screenHeight >> profile.dpi) ||
        (in >> rest) || profile.screenWidth <= 0 || profile.screenHeight <= 0 || profile.dpi <= 0) {
        return Problem("the device's screen file " + file.string() + " is damaged");
    }
    return profile;
}

// Written to a temporary name and renamed, so a device is never left with a
// half-written file.
bool WriteWhole(const std::filesystem::path& file, std::span<const std::byte> bytes) {
    const std::filesystem::path temporary = file.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    return !error;
}

bool WriteText(const std::filesystem::path& file, const std::string& text) {
    return WriteWhole(file, std::as_bytes(std::span(text.data(), text.size())));
}

} // namespace

std::filesystem::path DefaultMoviePath(const std::filesystem::path& deviceDirectory) {
    return deviceDirectory / "storage" / "Program Files" / "Vantrel" / "Vantrel.exe.swf";
}

Result<PreparedDevice> PrepareDevice(const std::filesystem::path& directory,
                                     const DeviceProfile& asked,
                                     std::span<const std::byte> defaultMovie) {
    std::error_code error;
    const std::filesystem::path profileFile = directory / kProfileName;
    if (std::filesystem::exists(profileFile, error)) {
        auto profile = ReadProfile(profileFile);
        if (!profile) {
            return profile.GetError();
        }
        return PreparedDevice{*profile, false};
    }

    const std::filesystem::path movie = DefaultMoviePath(directory);
    std::filesystem::create_directories(movie.parent_path(), error);
    if (error) {
        return Problem("cannot make the device directory " + directory.string() + ": " +
                       error.message());
    }
    if (!std::filesystem::exists(movie, error) && !WriteWhole(movie, defaultMovie)) {
        return Problem("cannot install the default movie in " + movie.string());
    }
    std::ostringstream text;
    text << asked.screenWidth << ' ' << asked.screenHeight << ' ' << asked.dpi << '\n';
    if (!WriteText(profileFile, text.str())) {
        return Problem("cannot write " + profileFile.string());
    }
    return PreparedDevice{asked, true};
}

} // namespace host
