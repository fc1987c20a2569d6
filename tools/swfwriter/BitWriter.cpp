#include "swfwriter/BitWriter.h"

#include <bit>

namespace swfwriter {

void BitWriter::U8(std::uint8_t value) {
    Align();
    data.push_back(value);
}

void BitWriter::U16(std::uint16_t value) {
    U8(static_cast<std::uint8_t>(value & 0xFF));
    U8(static_cast<std::uint8_t>(value >> 8));
}

void BitWriter::U32(std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        U8(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void BitWriter::Float(float value) {
    U32(std::bit_cast<std::uint32_t>(value));
}

void BitWriter::Bytes(std::span<const std::uint8_t> bytes) {
    Align();
    data.insert(data.end(), bytes.begin(), bytes.end());
}

void BitWriter::String(std::string_view text) {
    Align();
    data.insert(data.end(), text.begin(), text.end());
    data.push_back(0);
}

void BitWriter::UBits(std::uint32_t value, unsigned count) {
    for (unsigned i = count; i > 0; --i) {
        if (bitsUsed == 0) {
            data.push_back(0);
        }
        const unsigned bit = (value >> (i - 1)) & 1u;
        data.back() = static_cast<std::uint8_t>(data.back() | (bit << (7 - bitsUsed)));
        bitsUsed = (bitsUsed + 1) % 8;
    }
}

void BitWriter::SBits(std::int32_t value, unsigned count) {
    UBits(static_cast<std::uint32_t>(value), count);
}

void BitWriter::Align() {
    bitsUsed = 0;
}

std::vector<std::uint8_t> BitWriter::Take() {
    Align();
    return std::move(data);
}

unsigned SignedBits(std::int32_t value) {
    const std::uint32_t magnitude =
        value < 0 ? ~static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    return static_cast<unsigned>(std::bit_width(magnitude)) + 1;
}

unsigned UnsignedBits(std::uint32_t value) {
    return static_cast<unsigned>(std::bit_width(value));
}

} // namespace swfwriter
