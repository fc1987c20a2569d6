// Writes 16-bit PCM to a WAV file as it comes; the header's sizes are put
// right when the writer closes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>

#include "swf/base/Result.h"

namespace swf {

class WavWriter {
public:
    static Result<std::unique_ptr<WavWriter>> Create(const std::string& path, int rate,
                                                     int channels);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Interleaved samples; false once a write failed.
    bool Write(std::span<const std::int16_t> samples);
    std::uint64_t FramesWritten() const { return samplesWritten / channels; }

private:
    WavWriter(std::FILE* file, int rate, int channels);
    bool WriteHeader();

    struct FileClose {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileClose> file;
    int rate;
    int channels;
    std::uint64_t samplesWritten = 0;
    bool failed = false;
};

} // namespace swf
