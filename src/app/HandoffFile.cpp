#include "app/HandoffFile.h"

#include <cstdio>

#include "platform/Files.h"
#include "platform/Program.h"
#include "platform/Text.h"

namespace player {
namespace {

// Launches racing each other each take the name in turn; one that loses this
// many times in a row gives up, and the latest of the others stands.
constexpr int kReplaceAttempts = 4;

// Where a launch writes its request before it becomes the hand-off file: in
// the same folder, under a name no other running launch uses.
std::u16string PendingName() {
    std::u16string name(kHandoffFilePath);
    name += u'.';
    name += text::FromUtf8(std::to_string(GetCurrentProcessId()));
    name += u".new";
    return name;
}

// Where the running player moves the hand-off file to read it.
std::u16string ClaimedName() {
    std::u16string name(kHandoffFilePath);
    name += u'.';
    name += text::FromUtf8(std::to_string(GetCurrentProcessId()));
    name += u".taken";
    return name;
}

// False when the file cannot be created or not every byte reaches it (a
// full storage card).
bool WriteWhole(const std::u16string& path, const std::vector<unsigned char>& bytes) {
    FILE* file = _wfopen(path.c_str(), u"wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

} // namespace

std::vector<unsigned char> EncodeHandoff(const std::u16string& commandLine) {
    std::vector<unsigned char> bytes(kHandoffFileSize, 0);
    std::size_t at = 0;
    // The characters and then the terminator, which the zero fill supplies.
    for (const char16_t character : commandLine) {
        if (at >= bytes.size()) {
            break;
        }
        bytes[at++] = static_cast<unsigned char>(character & 0xFF);
        if (at >= bytes.size()) {
            break;
        }
        bytes[at++] = static_cast<unsigned char>(character >> 8);
    }
    return bytes;
}

std::u16string DecodeHandoff(const std::vector<unsigned char>& bytes) {
    std::u16string text;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        const auto character = static_cast<char16_t>(bytes[at] | (bytes[at + 1] << 8));
        if (character == u'\0') {
            break;
        }
        text.push_back(character);
    }
    return text;
}

void RecordOpenRequest(const std::u16string& commandLine) {
    FILE* movie = _wfopen(commandLine.c_str(), u"rb");
    if (movie == nullptr) {
        return;
    }
    std::fclose(movie);
    // The running player looks for the file on every tick, with no lock, so
    // it must never see the file half written: the bytes go to a name of this
    // launch's own, which then takes the hand-off file's name in one step.
    const std::u16string written = PendingName();
    if (!WriteWhole(written, EncodeHandoff(commandLine))) {
        DeleteFileW(written.c_str());
        return;
    }
    // A request still waiting, or one another launch has just put in place,
    // gives way to this one, the latest.
    for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
        if (MoveFileW(written.c_str(), kHandoffFilePath)) {
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
        DeleteFileW(kHandoffFilePath);
    }
    DeleteFileW(written.c_str());
}

std::optional<std::u16string> TakeOpenRequest() {
    // The file is first moved to a name of this player's own, in one step,
    // and read there: a request that arrives meanwhile takes the hand-off
    // file's name anew and waits for the next tick, where reading the file
    // and then deleting it by its name would delete the newer request unread.
    // Looking costs nothing on most ticks, which find no request.
    if (GetFileAttributesW(kHandoffFilePath) == INVALID_FILE_ATTRIBUTES) {
        return std::nullopt;
    }
    const std::u16string claimed = ClaimedName();
    if (MoveFileW(kHandoffFilePath, claimed.c_str()) == FALSE) {
        // A claim a crash left behind gives way to this one.
        if (GetLastError() != ERROR_ALREADY_EXISTS || DeleteFileW(claimed.c_str()) == FALSE ||
            MoveFileW(kHandoffFilePath, claimed.c_str()) == FALSE) {
            return std::nullopt;
        }
    }
    FILE* handoff = _wfopen(claimed.c_str(), u"r");
    if (handoff == nullptr) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes(kHandoffFileSize, 0);
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), handoff);
    bytes.resize(read);
    std::fclose(handoff);
    DeleteFileW(claimed.c_str());
    return DecodeHandoff(bytes);
}

} // namespace player
