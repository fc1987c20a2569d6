#include "platform/ByteReader.h"

bool ByteReader::Take(std::size_t count, const std::byte*& out) {
    if (!good || count > Remaining()) {
        good = false;
        return false;
    }
    out = bytes.data() + offset;
    offset += count;
    return true;
}

bool ByteReader::ReadU8(std::uint8_t& out) {
    const std::byte* p = nullptr;
    if (!Take(1, p)) {
        return false;
    }
    out = std::to_integer<std::uint8_t>(p[0]);
    return true;
}

bool ByteReader::ReadU16(std::uint16_t& out) {
    const std::byte* p = nullptr;
    if (!Take(2, p)) {
        return false;
    }
    out = static_cast<std::uint16_t>(std::to_integer<unsigned>(p[0]) |
                                     (std::to_integer<unsigned>(p[1]) << 8));
    return true;
}

bool ByteReader::ReadU32(std::uint32_t& out) {
    const std::byte* p = nullptr;
    if (!Take(4, p)) {
        return false;
    }
    out = std::to_integer<std::uint32_t>(p[0]) | (std::to_integer<std::uint32_t>(p[1]) << 8) |
          (std::to_integer<std::uint32_t>(p[2]) << 16) |
          (std::to_integer<std::uint32_t>(p[3]) << 24);
    return true;
}

bool ByteReader::ReadI16(std::int16_t& out) {
    std::uint16_t value = 0;
    if (!ReadU16(value)) {
        return false;
    }
    out = static_cast<std::int16_t>(value);
    return true;
}

bool ByteReader::ReadString(std::u16string& out) {
    std::u16string result;
    std::uint16_t unit = 0;
    while (ReadU16(unit)) {
        if (unit == 0) {
            out = std::move(result);
            return true;
        }
        result += static_cast<char16_t>(unit);
    }
    return false;
}

bool ByteReader::ReadBytes(std::size_t count, std::span<const std::byte>& out) {
    const std::byte* p = nullptr;
    if (!Take(count, p)) {
        return false;
    }
    out = std::span<const std::byte>(p, count);
    return true;
}

bool ByteReader::Skip(std::size_t count) {
    const std::byte* p = nullptr;
    return Take(count, p);
}

bool ByteReader::AlignTo(std::size_t alignment) {
    const std::size_t misalignment = offset % alignment;
    if (misalignment == 0) {
        return good;
    }
    return Skip(alignment - misalignment);
}

bool ByteReader::Seek(std::size_t position) {
    if (!good || position > bytes.size()) {
        good = false;
        return false;
    }
    offset = position;
    return true;
}
