// A cursor over little-endian bytes that never reads past its end: every read
// reports failure instead, and the reader remembers the first failure.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/Result.h"

class ByteReader {
public:
    explicit ByteReader(std::span<const std::byte> bytes) : bytes(bytes) {}

    std::size_t Offset() const { return offset; }
    std::size_t Remaining() const { return bytes.size() - offset; }
    bool AtEnd() const { return offset == bytes.size(); }
    // False once any read has failed; later reads fail too.
    bool Good() const { return good; }

    bool ReadU8(std::uint8_t& out);
    bool ReadU16(std::uint16_t& out);
    bool ReadU32(std::uint32_t& out);
    bool ReadI16(std::int16_t& out);
    // A null-terminated UTF-16 string; fails when no terminator comes before the end.
    bool ReadString(std::u16string& out);
    // The next count bytes, borrowed from the input.
    bool ReadBytes(std::size_t count, std::span<const std::byte>& out);
    bool Skip(std::size_t count);
    // Moves to the next multiple of alignment, counted from the input's start.
    bool AlignTo(std::size_t alignment);
    bool Seek(std::size_t position);

    // An Error at the current offset.
    Error Fail(std::string message) const { return Error{std::move(message), offset}; }

private:
    bool Take(std::size_t count, const std::byte*& out);

    std::span<const std::byte> bytes;
    std::size_t offset = 0;
    bool good = true;
};
