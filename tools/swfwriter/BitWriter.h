// Writes the movie format's byte fields (little-endian) and bit fields (most
// significant bit first).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace swfwriter {

class BitWriter {
public:
    void U8(std::uint8_t value);
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void S16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
    void Fixed8(double value) { S16(static_cast<std::int16_t>(value * 256.0)); }
    void Fixed16(double value) {
        U32(static_cast<std::uint32_t>(static_cast<std::int32_t>(value * 65536.0)));
    }
    void Float(float value);
    void Bytes(std::span<const std::uint8_t> bytes);
    void String(std::string_view text); // with its terminating zero

    void UBits(std::uint32_t value, unsigned count);
    void SBits(std::int32_t value, unsigned count);
    void Bit(bool value) { UBits(value ? 1 : 0, 1); }
    // Pads the current byte with zero bits.
    void Align();

    const std::vector<std::uint8_t>& Data() const { return data; }
    std::vector<std::uint8_t> Take();

private:
    std::vector<std::uint8_t> data;
    unsigned bitsUsed = 0; // bits used in the last byte; 0 when aligned
};

// The fewest bits that hold value as a signed (SB) or unsigned (UB) field.
unsigned SignedBits(std::int32_t value);
unsigned UnsignedBits(std::uint32_t value);

} // namespace swfwriter
