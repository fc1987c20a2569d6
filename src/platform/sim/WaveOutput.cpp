#include "platform/sim/WaveOutput.h"

#include <algorithm>
#include <cstring>

#include "platform/sim/Device.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/WindowManager.h"

namespace sim {

namespace {

// Frames handed to the speaker at a time while the device catches up.
constexpr std::size_t kChunkFrames = 4096;

std::int32_t Scaled(std::int32_t sample, DWORD channelVolume) {
    return static_cast<std::int32_t>(std::int64_t{sample} * channelVolume / 0xFFFF);
}

} // namespace

WaveOutput::WaveOutput(Device& device, std::function<DWORD()> volume)
    : device(device), volume(std::move(volume)) {}

WaveOutput::~WaveOutput() = default;

void WaveOutput::SetSink(std::unique_ptr<AudioSink> value, bool hasHardware) {
    sink = std::move(value);
    hardware = hasHardware;
}

void WaveOutput::Notify(const Output& output, HWAVEOUT handle, UINT message, LPARAM lParam) const {
    if (output.window == nullptr) {
        return;
    }
    if (Window* window = device.Windows().FindAlive(output.window)) {
        PostToWindow(*window, message, reinterpret_cast<WPARAM>(handle), lParam);
    }
}

MMRESULT WaveOutput::Open(HWAVEOUT* handle, const WAVEFORMATEX* format, DWORD_PTR callback,
                          DWORD_PTR /*instance*/, DWORD flags) {
    if (!hardware) {
        return MMSYSERR_NODRIVER;
    }
    if (format == nullptr || (handle == nullptr && (flags & WAVE_FORMAT_QUERY) == 0)) {
        return MMSYSERR_INVALPARAM;
    }
    if (format->wFormatTag != WAVE_FORMAT_PCM || format->nSamplesPerSec != Rate ||
        format->wBitsPerSample != 16 || (format->nChannels != 1 && format->nChannels != 2) ||
        format->nBlockAlign != format->nChannels * 2) {
        return WAVERR_BADFORMAT;
    }
    if ((flags & WAVE_FORMAT_QUERY) != 0) {
        return MMSYSERR_NOERROR;
    }
    const DWORD kind = flags & CALLBACK_TYPEMASK;
    if (kind != CALLBACK_NULL && kind != CALLBACK_WINDOW) {
        return MMSYSERR_NOTSUPPORTED;
    }
    Output output;
    output.channels = format->nChannels;
    if (kind == CALLBACK_WINDOW) {
        output.window = reinterpret_cast<HWND>(callback);
        if (device.Windows().FindAlive(output.window) == nullptr) {
            return MMSYSERR_INVALPARAM;
        }
    }
    *handle = reinterpret_cast<HWAVEOUT>(nextHandle++);
    const auto [entry, added] = outputs.emplace(*handle, output);
    Notify(entry->second, *handle, MM_WOM_OPEN, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT WaveOutput::Close(HWAVEOUT handle) {
    const auto found = outputs.find(handle);
    if (found == outputs.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    if (!found->second.queue.empty()) {
        return WAVERR_STILLPLAYING;
    }
    Notify(found->second, handle, MM_WOM_CLOSE, 0);
    outputs.erase(found);
    return MMSYSERR_NOERROR;
}

MMRESULT WaveOutput::Prepare(HWAVEOUT handle, WAVEHDR* header, UINT size) {
    if (!IsOpen(handle)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (header == nullptr || size < sizeof(WAVEHDR) || header->lpData == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveOutput::Unprepare(HWAVEOUT handle, WAVEHDR* header, UINT size) {
    if (!IsOpen(handle)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (header == nullptr || size < sizeof(WAVEHDR)) {
        return MMSYSERR_INVALPARAM;
    }
    if ((header->dwFlags & WHDR_INQUEUE) != 0) {
        return WAVERR_STILLPLAYING;
    }
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveOutput::Write(HWAVEOUT handle, WAVEHDR* header, UINT size) {
    const auto found = outputs.find(handle);
    if (found == outputs.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    if (header == nullptr || size < sizeof(WAVEHDR)) {
        return MMSYSERR_INVALPARAM;
    }
    if ((header->dwFlags & WHDR_PREPARED) == 0) {
        return WAVERR_UNPREPARED;
    }
    if ((header->dwFlags & WHDR_INQUEUE) != 0) {
        return WAVERR_STILLPLAYING;
    }
    header->dwFlags = (header->dwFlags | WHDR_INQUEUE) & ~WHDR_DONE;
    found->second.queue.push_back(header);
    return MMSYSERR_NOERROR;
}

void WaveOutput::HandBack(Output& output, HWAVEOUT handle, WAVEHDR* header) const {
    header->dwFlags = (header->dwFlags | WHDR_DONE) & ~WHDR_INQUEUE;
    Notify(output, handle, MM_WOM_DONE, reinterpret_cast<LPARAM>(header));
}

MMRESULT WaveOutput::Reset(HWAVEOUT handle) {
    const auto found = outputs.find(handle);
    if (found == outputs.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    Output& output = found->second;
    while (!output.queue.empty()) {
        WAVEHDR* header = output.queue.front();
        output.queue.pop_front();
        HandBack(output, handle, header);
    }
    output.offset = 0;
    output.position = 0;
    output.paused = false;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveOutput::Pause(HWAVEOUT handle, bool paused) {
    const auto found = outputs.find(handle);
    if (found == outputs.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    found->second.paused = paused;
    return MMSYSERR_NOERROR;
}

MMRESULT WaveOutput::Position(HWAVEOUT handle, MMTIME* time, UINT size) {
    const auto found = outputs.find(handle);
    if (found == outputs.end()) {
        return MMSYSERR_INVALHANDLE;
    }
    if (time == nullptr || size < sizeof(MMTIME)) {
        return MMSYSERR_INVALPARAM;
    }
    const std::uint64_t frames = found->second.position;
    switch (time->wType) {
    case TIME_MS:
        time->u.ms = static_cast<DWORD>(frames * 1000 / Rate);
        break;
    case TIME_BYTES:
        time->u.cb = static_cast<DWORD>(frames * found->second.channels * 2);
        break;
    default:
        // As Windows does, a format it does not keep comes back as samples.
        time->wType = TIME_SAMPLES;
        time->u.sample = static_cast<DWORD>(frames);
        break;
    }
    return MMSYSERR_NOERROR;
}

std::optional<std::pair<std::int32_t, std::int32_t>> WaveOutput::NextFrame(Output& output,
                                                                           HWAVEOUT handle) {
    const std::size_t frameBytes = output.channels * 2;
    while (!output.paused && !output.queue.empty()) {
        WAVEHDR* header = output.queue.front();
        if (output.offset + frameBytes > header->dwBufferLength) {
            // A buffer is done once its last whole frame has played.
            output.queue.pop_front();
            output.offset = 0;
            HandBack(output, handle, header);
            continue;
        }
        std::int16_t samples[2] = {0, 0};
        std::memcpy(samples, header->lpData + output.offset, frameBytes);
        output.offset += frameBytes;
        ++output.position;
        if (output.offset + frameBytes > header->dwBufferLength) {
            output.queue.pop_front();
            output.offset = 0;
            HandBack(output, handle, header);
        }
        return std::pair<std::int32_t, std::int32_t>{samples[0], output.channels == 2 ? samples[1]
                                                                                      : samples[0]};
    }
    return std::nullopt;
}

void WaveOutput::PlayUntil(DeviceTime now) {
    const std::uint64_t due = FramesBefore(now);
    if (due <= framesPlayed) {
        return;
    }
    // With no output open the speaker hears silence whatever the volume, so
    // the volume (a file of the device's system state) is not read.
    const bool silent = outputs.empty();
    const DWORD level = silent ? 0 : volume();
    const DWORD left = level & 0xFFFF;
    const DWORD right = level >> 16;
    while (framesPlayed < due) {
        const std::size_t count =
            static_cast<std::size_t>(std::min<std::uint64_t>(due - framesPlayed, kChunkFrames));
        chunk.assign(count * 2, 0);
        for (std::size_t frame = 0; !silent && frame < count; ++frame) {
            std::int32_t sum[2] = {0, 0};
            for (auto& [handle, output] : outputs) {
                if (const auto played = NextFrame(output, handle)) {
                    sum[0] += played->first;
                    sum[1] += played->second;
                }
            }
            chunk[2 * frame] =
                static_cast<std::int16_t>(std::clamp(Scaled(sum[0], left), -32768, 32767));
            chunk[2 * frame + 1] =
                static_cast<std::int16_t>(std::clamp(Scaled(sum[1], right), -32768, 32767));
        }
        framesPlayed += count;
        if (sink) {
            sink->Play(chunk);
        }
    }
}

std::optional<DeviceTime> WaveOutput::NextBufferEnd(DeviceTime now) const {
    std::optional<DeviceTime> next;
    for (const auto& [handle, output] : outputs) {
        if (output.paused || output.queue.empty()) {
            continue;
        }
        const std::size_t frameBytes = output.channels * 2;
        const WAVEHDR* header = output.queue.front();
        const std::uint64_t left = (header->dwBufferLength -
                                    std::min<std::size_t>(output.offset, header->dwBufferLength)) /
                                   frameBytes;
        // The buffer's last frame is the (framesPlayed + left)-th; it has played
        // once the device time has passed its start.
        const std::uint64_t lastFrame = framesPlayed + std::max<std::uint64_t>(left, 1) - 1;
        const DeviceTime end = lastFrame * 1000 / Rate + 1;
        const DeviceTime at = std::max(end, now + 1);
        next = next ? std::min(*next, at) : at;
    }
    return next;
}

} // namespace sim
