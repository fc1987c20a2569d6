#include "app/PlayerSettings.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "app/ProgramPath.h"
#include "platform/Files.h"

namespace player {
namespace {

// Closes the stream when it goes.
class OpenFile {
public:
    OpenFile(const std::u16string& path, const char16_t* mode)
        : file(_wfopen(path.c_str(), mode)) {}
    ~OpenFile() {
        if (file != nullptr) {
            std::fclose(file);
        }
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    FILE* Get() const { return file; }

private:
    FILE* file;
};

// One "%d" conversion: blanks, an optional sign, then at least one digit.
// Nothing when no number starts here (a letter, a lone sign, the end). A
// number too long for 32 bits keeps its low 32 bits, as a 32-bit reader
// that does not check would leave it.
std::optional<int> ReadNumber(FILE* file) {
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c) != 0) {
        c = std::fgetc(file);
    }
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = std::fgetc(file);
    }
    if (c == EOF || std::isdigit(c) == 0) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    while (c != EOF && std::isdigit(c) != 0) {
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
        c = std::fgetc(file);
    }
    if (c != EOF) {
        std::ungetc(c, file);
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int>(value);
}

} // namespace

std::u16string SettingsFilePath() {
    return ProgramPath() + u".cfg";
}

void ReadSettingsFile(const std::u16string& path, PlayerSettings& settings) {
    const OpenFile file(path, u"r");
    if (file.Get() == nullptr) {
        return;
    }
    int* const fields[] = {&settings.backlightOption,
                           &settings.landscapeInFullScreen,
                           &settings.storedValue3,
                           &settings.storedValue4,
                           nullptr,
                           &settings.scaleMode,
                           &settings.toolbarState};
    for (int* field : fields) {
        const std::optional<int> number = ReadNumber(file.Get());
        if (!number) {
            return;
        }
        if (field != nullptr) {
            *field = *number;
        } else {
            // The fifth value is an 8-bit field: 300 reads as 44.
            settings.storedFlag5 = static_cast<std::uint8_t>(*number & 0xFF);
        }
    }
}

void WriteSettingsFile(const std::u16string& path, const PlayerSettings& settings) {
    // The seven numbers go to a file of their own, which then takes the
    // settings file's place in one step: a player killed, or a handheld whose
    // battery runs flat, at any moment leaves the old numbers or the new ones,
    // never an empty file. Nothing is flushed to the medium beyond closing the
    // stream: the handheld's object store holds what a closed stream wrote,
    // a killed process loses nothing the system already has, and this runs on
    // every key release, twenty times a second while a movie plays.
    const std::u16string written = path + u".new";
    FILE* file = _wfopen(written.c_str(), u"w");
    if (file == nullptr) {
        return;
    }
    const bool printed = std::fprintf(file, "%d %d %d %d %d %d %d", settings.backlightOption,
                                      settings.landscapeInFullScreen, settings.storedValue3,
                                      settings.storedValue4, static_cast<int>(settings.storedFlag5),
                                      settings.scaleMode, settings.toolbarState) > 0;
    // A full storage shows at the close at the latest.
    if (std::fclose(file) != 0 || !printed) {
        DeleteFileW(written.c_str());
        return;
    }
    // The first save has no file to replace.
    if (DeleteAndRenameFile(path.c_str(), written.c_str()) == FALSE &&
        MoveFileW(written.c_str(), path.c_str()) == FALSE) {
        DeleteFileW(written.c_str());
    }
}

} // namespace player
