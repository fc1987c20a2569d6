#include "host/DeviceSetup.h"

#include <fstream>
#include <span>
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

Result<PreparedDevice> PrepareDevice(const std::filesystem::path& directory,
                                     const DeviceProfile& asked) {
    std::error_code error;
    const std::filesystem::path profileFile = directory / kProfileName;
    if (std::filesystem::exists(profileFile, error)) {
        auto profile = ReadProfile(profileFile);
        if (!profile) {
            return profile.GetError();
        }
        return PreparedDevice{*profile, false};
    }

    std::filesystem::create_directories(directory, error);
    if (error) {
        return Problem("cannot make the device directory " + directory.string() + ": " +
                       error.message());
    }
    std::ostringstream text;
    text << asked.screenWidth << ' ' << asked.screenHeight << ' ' << asked.dpi << '\n';
    if (!WriteText(profileFile, text.str())) {
        return Problem("cannot write " + profileFile.string());
    }
    return PreparedDevice{asked, true};
}

} // namespace host
