// Where the device's sound goes on this host: the window's speaker through
// SDL audio, a WAV file (--audio), or both. The device's wave output hands
// them its frames in device time.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>

#include <SDL.h>

#include "platform/Result.h"
#include "platform/sim/WaveOutput.h"
#include "swf/audio/WavWriter.h"

namespace host {

// The device's sound written to a WAV file, 44.1 kHz stereo, from device
// time 0: a run of 10 s gives 10 s of sound.
class WavFileSink final : public sim::AudioSink {
public:
    static Result<std::unique_ptr<WavFileSink>> Create(const std::filesystem::path& path);
    void Play(std::span<const std::int16_t> frames) override;

private:
    explicit WavFileSink(std::unique_ptr<swf::WavWriter> writer) : writer(std::move(writer)) {}
    std::unique_ptr<swf::WavWriter> writer;
};

// The host's speaker: an SDL audio device fed from a queue. Open fails when
// SDL finds no audio device (the device then has no sound card).
class SdlSpeaker final : public sim::AudioSink {
public:
    static Result<std::unique_ptr<SdlSpeaker>> Open();
    ~SdlSpeaker() override;
    SdlSpeaker(const SdlSpeaker&) = delete;
    SdlSpeaker& operator=(const SdlSpeaker&) = delete;
    void Play(std::span<const std::int16_t> frames) override;

private:
    explicit SdlSpeaker(SDL_AudioDeviceID device) : device(device) {}
    SDL_AudioDeviceID device;
};

// Several sinks hearing the same sound.
class SinkSet final : public sim::AudioSink {
public:
    void Add(std::unique_ptr<sim::AudioSink> sink) { sinks.push_back(std::move(sink)); }
    bool Empty() const { return sinks.empty(); }
    void Play(std::span<const std::int16_t> frames) override;

private:
    std::vector<std::unique_ptr<sim::AudioSink>> sinks;
};

} // namespace host
