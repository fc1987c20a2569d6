// A cursor over a byte range that never reads past its end. The movie format
// mixes byte fields (little-endian) and bit fields (most significant bit
// first), so this reads both. A read past the end yields zero and marks the
// reader failed; callers check Ok() once a record is read and turn a failure
// into an Error that says what and where.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "swf/base/Result.h"

namespace swf {

class ByteReader {
public:
    // baseOffset is where data starts in the whole input, for error offsets.
    explicit ByteReader(std::span<const std::uint8_t> data, std::size_t baseOffset = 0)
        : data(data), baseOffset(baseOffset) {}

    bool Ok() const { return !failed; }
    std::size_t Position() const { return position; }
    std::size_t Offset() const { return baseOffset + position; }
    std::size_t Remaining() const { return data.size() - position; }
    std::size_t Size() const { return data.size(); }
    bool AtEnd() const { return position >= data.size(); }

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int16_t S16() { return static_cast<std::int16_t>(U16()); }
    std::int32_t S32() { return static_cast<std::int32_t>(U32()); }
    float Float();
    double Fixed16(); // 16.16
    double Fixed8();  // 8.8, signed
    // count bytes, or an empty span (and a failure) when fewer remain.
    std::span<const std::uint8_t> Bytes(std::size_t count);
    // Everything from here to the end.
    std::span<const std::uint8_t> Rest();
    // A null-terminated string; without a terminator, fails.
    std::string String();
    // A reader over the next count bytes; this reader moves past them.
    ByteReader Sub(std::size_t count);
    void Skip(std::size_t count) { Bytes(count); }

    // Bit fields. Any byte read first drops the bits left in the current byte.
    std::uint32_t UBits(unsigned count);
    std::int32_t SBits(unsigned count);
    double FBits(unsigned count); // signed 16.16 fixed point
    bool Bit() { return UBits(1) != 0; }
    void AlignToByte() { bitCount = 0; }

    // Marks the reader failed (a field was read but its value is unusable).
    void Fail(const char* why);
    // What went wrong, and where; only meaningful when !Ok().
    Error Failure(const std::string& context) const;

private:
    bool Take(std::size_t count);

    std::span<const std::uint8_t> data;
    std::size_t baseOffset = 0;
    std::size_t position = 0;
    std::uint8_t bitBuffer = 0;
    unsigned bitCount = 0; // bits of bitBuffer not yet read
    bool failed = false;
    std::size_t failedAt = 0;
    const char* failedWhy = "unexpected end of data";
};

} // namespace swf
