#include "swf/audio/WavWriter.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

namespace swf {

namespace {

void PutU32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

void PutU16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr std::size_t HeaderSize = 44;
// The largest data a WAV file's 32-bit sizes can describe.
constexpr std::uint64_t MaxDataBytes = 0xFFFFFFFFu - HeaderSize;

} // namespace

Result<std::unique_ptr<WavWriter>> WavWriter::Create(const std::string& path, int rate,
                                                     int channels) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return Error{"cannot write " + path + ": " + std::strerror(errno)};
    }
    auto writer = std::unique_ptr<WavWriter>(new WavWriter(file, rate, channels));
    if (!writer->WriteHeader()) {
        return Error{"cannot write " + path};
    }
    return writer;
}

WavWriter::WavWriter(std::FILE* file, int rate, int channels)
    : file(file), rate(rate), channels(channels) {}

WavWriter::~WavWriter() {
    WriteHeader();
}

bool WavWriter::WriteHeader() {
    const std::uint64_t dataBytes = std::min(samplesWritten * 2, MaxDataBytes);
    std::array<std::uint8_t, HeaderSize> header{};
    std::memcpy(header.data(), "RIFF", 4);
    PutU32(&header[4], static_cast<std::uint32_t>(36 + dataBytes));
    std::memcpy(&header[8], "WAVEfmt ", 8);
    PutU32(&header[16], 16);
    PutU16(&header[20], 1); // PCM
    PutU16(&header[22], static_cast<std::uint16_t>(channels));
    PutU32(&header[24], static_cast<std::uint32_t>(rate));
    PutU32(&header[28], static_cast<std::uint32_t>(rate * channels * 2));
    PutU16(&header[32], static_cast<std::uint16_t>(channels * 2));
    PutU16(&header[34], 16);
    std::memcpy(&header[36], "data", 4);
    PutU32(&header[40], static_cast<std::uint32_t>(dataBytes));
    const long end = std::ftell(file.get());
    const bool ok = std::fseek(file.get(), 0, SEEK_SET) == 0 &&
                    std::fwrite(header.data(), 1, header.size(), file.get()) == header.size() &&
                    std::fseek(file.get(), std::max<long>(end, HeaderSize), SEEK_SET) == 0 &&
                    std::fflush(file.get()) == 0;
    return ok;
}

bool WavWriter::Write(std::span<const std::int16_t> samples) {
    if (failed || samplesWritten * 2 + samples.size() * 2 > MaxDataBytes) {
        failed = true;
        return false;
    }
    std::vector<std::uint8_t> bytes(samples.size() * 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        PutU16(&bytes[2 * i], static_cast<std::uint16_t>(samples[i]));
    }
    failed = std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size();
    if (!failed) {
        samplesWritten += samples.size();
    }
    return !failed;
}

} // namespace swf
