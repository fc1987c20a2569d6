#include "swf/control/WaveSpeaker.h"

#include <algorithm>

#include "platform/Messages.h"
#include "swf/audio/Voice.h"

namespace swf {

WaveSpeaker::~WaveSpeaker() {
    Close();
}

void WaveSpeaker::Feed(HWND window, Mixer& mixer, std::uint64_t movieGeneration) {
    if (output != nullptr && movieGeneration != generation) {
        // The buffers come back done (MM_WOM_DONE) and are refilled from the
        // mixer as it is now.
        waveOutReset(output);
        written = 0;
    }
    generation = movieGeneration;
    if (unavailable) {
        Drain(mixer);
        return;
    }
    if (output != nullptr || mixer.VoiceCount() == 0) {
        return;
    }
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = MixRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = MixRate * 4;
    if (waveOutOpen(&output, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(window), 0,
                    CALLBACK_WINDOW) != MMSYSERR_NOERROR) {
        // No sound card: the movie plays on without sound, and is not asked again.
        output = nullptr;
        unavailable = true;
        Drain(mixer);
        return;
    }
    for (std::size_t i = 0; i < BufferCount; ++i) {
        buffers[i].assign(BufferFrames * 2, 0);
        headers[i] = WAVEHDR{};
        headers[i].lpData = reinterpret_cast<char*>(buffers[i].data());
        headers[i].dwBufferLength = static_cast<DWORD>(BufferFrames * 4);
        waveOutPrepareHeader(output, &headers[i], sizeof(WAVEHDR));
        Refill(headers[i], mixer);
    }
}

void WaveSpeaker::Refill(WAVEHDR& header, Mixer& mixer) {
    auto* samples = reinterpret_cast<std::int16_t*>(header.lpData);
    mixer.Mix(std::span(samples, BufferFrames * 2));
    if (waveOutWrite(output, &header, sizeof(WAVEHDR)) == MMSYSERR_NOERROR) {
        written += BufferFrames;
    }
}

void WaveSpeaker::Drain(Mixer& mixer) {
    const std::uint64_t now = GetTickCount();
    if (!drainStart || now < *drainStart) {
        drainStart = now;
        drained = 0;
    }
    const std::uint64_t due = (now - *drainStart) * MixRate / 1000;
    // A long stall drains at most a second: what it held is gone either way.
    const std::uint64_t frames = std::min<std::uint64_t>(due - drained, MixRate);
    drained = due;
    if (frames > 0 && mixer.VoiceCount() > 0) {
        drainBuffer.resize(frames * 2);
        mixer.Mix(drainBuffer);
    }
}

std::optional<std::uint64_t> WaveSpeaker::Unheard() const {
    if (output == nullptr) {
        return std::nullopt;
    }
    MMTIME time{};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(output, &time, sizeof(MMTIME)) != MMSYSERR_NOERROR ||
        time.wType != TIME_SAMPLES) {
        return std::nullopt;
    }
    const std::uint64_t played = time.u.sample;
    return written > played ? written - played : 0;
}

void WaveSpeaker::BufferDone(HWAVEOUT from, WAVEHDR* header, Mixer& mixer) {
    if (output == nullptr || from != output) {
        return;
    }
    for (WAVEHDR& mine : headers) {
        // Buffers handed back by a reset are not refilled.
        if (&mine == header && (mine.dwFlags & WHDR_INQUEUE) == 0) {
            Refill(mine, mixer);
        }
    }
}

void WaveSpeaker::Close() {
    if (output == nullptr) {
        return;
    }
    const HWAVEOUT closing = output;
    output = nullptr; // the done buffers the reset posts are not refilled
    waveOutReset(closing);
    for (WAVEHDR& header : headers) {
        waveOutUnprepareHeader(closing, &header, sizeof(WAVEHDR));
    }
    waveOutClose(closing);
}

} // namespace swf
