#include "host/AudioSinks.h"

#include <string>

#include "host/SdlLibrary.h"

namespace host {

namespace {

// Silence queued ahead of the sound, so that the device's bursts of frames
// (it plays between window frames) do not leave the speaker empty.
constexpr std::size_t kLeadFrames = 4410;

void QueueLead(SDL_AudioDeviceID device) {
    const SdlLibrary* const sdl = Sdl();
    const std::vector<std::int16_t> lead(kLeadFrames * 2, 0);
    sdl->QueueAudio(device, lead.data(), static_cast<Uint32>(lead.size() * sizeof(std::int16_t)));
}

} // namespace

Result<std::unique_ptr<WavFileSink>> WavFileSink::Create(const std::filesystem::path& path) {
    auto writer = swf::WavWriter::Create(path.string(), static_cast<int>(sim::WaveOutput::Rate), 2);
    if (!writer) {
        return Error{writer.GetError().message, 0};
    }
    return std::unique_ptr<WavFileSink>(new WavFileSink(std::move(writer).Value()));
}

void WavFileSink::Play(std::span<const std::int16_t> frames) {
    writer->Write(frames);
}

Result<std::unique_ptr<SdlSpeaker>> SdlSpeaker::Open() {
    const SdlLibrary* const sdl = Sdl();
    if (sdl == nullptr) {
        return Error{std::string("no sound: ") + SdlLoadError(), 0};
    }
    if (sdl->InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return Error{std::string("no sound: ") + sdl->GetError(), 0};
    }
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(sim::WaveOutput::Rate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    SDL_AudioSpec have{};
    const SDL_AudioDeviceID device = sdl->OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0) {
        const std::string error = sdl->GetError();
        sdl->QuitSubSystem(SDL_INIT_AUDIO);
        return Error{"no sound: " + error, 0};
    }
    auto speaker = std::unique_ptr<SdlSpeaker>(new SdlSpeaker(device));
    QueueLead(device);
    sdl->PauseAudioDevice(device, 0);
    return speaker;
}

SdlSpeaker::~SdlSpeaker() {
    const SdlLibrary* const sdl = Sdl();
    sdl->CloseAudioDevice(device);
    sdl->QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSpeaker::Play(std::span<const std::int16_t> frames) {
    const SdlLibrary* const sdl = Sdl();
    // The speaker ran dry (the host was too busy to feed it): the gap is
    // heard once, and the lead keeps it from stuttering on every burst after.
    if (sdl->GetQueuedAudioSize(device) == 0) {
        QueueLead(device);
    }
    sdl->QueueAudio(device, frames.data(), static_cast<Uint32>(frames.size_bytes()));
}

void SinkSet::Play(std::span<const std::int16_t> frames) {
    for (const auto& sink : sinks) {
        sink->Play(frames);
    }
}

} // namespace host
