#include "swf/base/ByteReader.h"

#include <bit>
#include <cstring>

namespace swf {

bool ByteReader::Take(std::size_t count) {
    bitCount = 0;
    if (failed) {
        return false;
    }
    if (count > Remaining()) {
        failed = true;
        failedAt = Offset();
        position = data.size();
        return false;
    }
    return true;
}

std::uint8_t ByteReader::U8() {
    if (!Take(1)) {
        return 0;
    }
    return data[position++];
}

std::uint16_t ByteReader::U16() {
    if (!Take(2)) {
        return 0;
    }
    const auto value = static_cast<std::uint16_t>(data[position] | (data[position + 1] << 8));
    position += 2;
    return value;
}

std::uint32_t ByteReader::U32() {
    if (!Take(4)) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | data[position + i];
    }
    position += 4;
    return value;
}

float ByteReader::Float() {
    return std::bit_cast<float>(U32());
}

double ByteReader::Fixed16() {
    return static_cast<double>(S32()) / 65536.0;
}

double ByteReader::Fixed8() {
    return static_cast<double>(S16()) / 256.0;
}

std::span<const std::uint8_t> ByteReader::Bytes(std::size_t count) {
    if (!Take(count)) {
        return {};
    }
    const auto bytes = data.subspan(position, count);
    position += count;
    return bytes;
}

std::span<const std::uint8_t> ByteReader::Rest() {
    return Bytes(Remaining());
}

std::string ByteReader::String() {
    bitCount = 0;
    if (failed) {
        return {};
    }
    const auto rest = data.subspan(position);
    const void* end = std::memchr(rest.data(), 0, rest.size());
    if (end == nullptr) {
        Fail("string without its terminating zero");
        return {};
    }
    const auto length =
        static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - rest.data());
    std::string text(reinterpret_cast<const char*>(rest.data()), length);
    position += length + 1;
    return text;
}

ByteReader ByteReader::Sub(std::size_t count) {
    const std::size_t start = Offset();
    const auto bytes = Bytes(count);
    ByteReader sub(bytes, start);
    if (failed) {
        sub.Fail("unexpected end of data");
    }
    return sub;
}

std::uint32_t ByteReader::UBits(unsigned count) {
    if (count > 32) {
        Fail("bit field wider than 32 bits");
        return 0;
    }
    std::uint32_t value = 0;
    for (unsigned i = 0; i < count; ++i) {
        if (bitCount == 0) {
            if (failed || position >= data.size()) {
                if (!failed) {
                    failed = true;
                    failedAt = Offset();
                }
                return 0;
            }
            bitBuffer = data[position++];
            bitCount = 8;
        }
        --bitCount;
        value = (value << 1) | ((bitBuffer >> bitCount) & 1u);
    }
    return value;
}

std::int32_t ByteReader::SBits(unsigned count) {
    const std::uint32_t raw = UBits(count);
    if (count == 0 || count >= 32) {
        return static_cast<std::int32_t>(raw);
    }
    const std::uint32_t sign = 1u << (count - 1);
    return static_cast<std::int32_t>((raw ^ sign) - sign);
}

double ByteReader::FBits(unsigned count) {
    return static_cast<double>(SBits(count)) / 65536.0;
}

void ByteReader::Fail(const char* why) {
    if (!failed) {
        failed = true;
        failedAt = Offset();
        failedWhy = why;
    }
}

Error ByteReader::Failure(const std::string& context) const {
    return Error{context + ": " + failedWhy, failedAt};
}

} // namespace swf
