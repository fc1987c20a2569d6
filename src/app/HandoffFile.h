// The hand-off file: how a launch hands its movie path to the player that is
// already running. A launch whose command line names a readable file writes
// it; the running player's status tick takes it and deletes it.
//
// Content: exactly 255 bytes, the command line as UTF-16LE text with its
// terminating zero, cut to 255 bytes (so a command line of 127 characters or
// more arrives without a terminator), zeros after the terminator.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace player {

// In the device's root folder.
inline constexpr char16_t kHandoffFilePath[] = u"\\A347BD5F-BAD90-46785.txt";
inline constexpr std::size_t kHandoffFileSize = 255;

// The file's bytes for a command line.
std::vector<unsigned char> EncodeHandoff(const std::u16string& commandLine);
// The text of the file's bytes, up to the first zero character. Without a
// terminator every whole character counts; a lone last byte (the 255th) is
// half a character and is dropped.
std::u16string DecodeHandoff(const std::vector<unsigned char>& bytes);

// Records the request of a launch: when the command line, taken as a path,
// names a file that opens for reading, writes the hand-off file for it. The
// file appears whole or not at all, replacing a request still waiting.
// Nothing is recorded otherwise (nor when the storage is full), and nothing
// is reported.
void RecordOpenRequest(const std::u16string& commandLine);

// Takes a waiting request: claims the hand-off file by moving it to a name
// of this player's own, then reads and deletes it there, and returns its
// text; nothing when there is no request. A request that arrives while one is
// taken is left for the next call.
std::optional<std::u16string> TakeOpenRequest();

} // namespace player
