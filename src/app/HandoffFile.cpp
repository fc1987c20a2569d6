#include "app/HandoffFile.h"

#include <cstdio>

#include "platform/Files.h"

namespace player {

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
    FILE* handoff = _wfopen(kHandoffFilePath, u"wb");
    if (handoff == nullptr) {
        return;
    }
    const std::vector<unsigned char> bytes = EncodeHandoff(commandLine);
    std::fwrite(bytes.data(), 1, bytes.size(), handoff);
    std::fclose(handoff);
}

std::optional<std::u16string> TakeOpenRequest() {
    FILE* handoff = _wfopen(kHandoffFilePath, u"r");
    if (handoff == nullptr) {
        return std::nullopt;
    }
    std::vector<unsigned char> bytes(kHandoffFileSize, 0);
    const std::size_t read = std::fread(bytes.data(), 1, bytes.size(), handoff);
    bytes.resize(read);
    std::fclose(handoff);
    DeleteFileW(kHandoffFilePath);
    return DecodeHandoff(bytes);
}

} // namespace player
