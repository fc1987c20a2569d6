// The device's wave output: the buffers programs write, played in order in
// device time at 44.1 kHz, scaled by the device volume, and handed to the
// host's speaker (AudioSink). The speaker's timeline is the device's:
// sample frame n sounds at n / 44.1 ms of device time, with silence
// wherever no buffer is playing, so a run of 10 s gives 10 s of sound.
// Programs call in on their threads and the driver plays on its own, one at
// a time (the device's lockstep).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/Sound.h"
#include "platform/WinTypes.h"
#include "platform/sim/Clock.h"

namespace sim {

class Device;

// Where the device's sound goes: the window's speaker, a WAV file, nothing.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Stereo 16-bit frames at 44.1 kHz, left and right interleaved, in order.
    virtual void Play(std::span<const std::int16_t> frames) = 0;
};

class WaveOutput {
public:
    static constexpr DWORD Rate = 44100;

    // volume reads the device volume when samples are played.
    WaveOutput(Device& device, std::function<DWORD()> volume);
    ~WaveOutput();

    // The host's speaker (null: the sound goes nowhere). hardware false is a
    // device with no sound card: no output to open.
    void SetSink(std::unique_ptr<AudioSink> sink, bool hardware = true);
    bool HasHardware() const { return hardware; }

    MMRESULT Open(HWAVEOUT* output, const WAVEFORMATEX* format, DWORD_PTR callback,
                  DWORD_PTR instance, DWORD flags);
    MMRESULT Close(HWAVEOUT output);
    MMRESULT Prepare(HWAVEOUT output, WAVEHDR* header, UINT size);
    MMRESULT Unprepare(HWAVEOUT output, WAVEHDR* header, UINT size);
    MMRESULT Write(HWAVEOUT output, WAVEHDR* header, UINT size);
    MMRESULT Reset(HWAVEOUT output);
    MMRESULT Pause(HWAVEOUT output, bool paused);
    MMRESULT Position(HWAVEOUT output, MMTIME* time, UINT size);
    bool IsOpen(HWAVEOUT output) const { return outputs.count(output) != 0; }

    // From the driver: plays up to now, handing back the buffers that ended.
    void PlayUntil(DeviceTime now);
    // When the next queued buffer ends, if one plays.
    std::optional<DeviceTime> NextBufferEnd(DeviceTime now) const;
    // Sample frames the speaker has had (the device's time in frames).
    std::uint64_t FramesPlayed() const { return framesPlayed; }

private:
    struct Output {
        DWORD channels = 2;
        HWND window = nullptr; // CALLBACK_WINDOW
        std::deque<WAVEHDR*> queue;
        std::size_t offset = 0;     // bytes of the first buffer played
        std::uint64_t position = 0; // frames played since the open or reset
        bool paused = false;
    };
    void Notify(const Output& output, HWAVEOUT handle, UINT message, LPARAM lParam) const;
    void HandBack(Output& output, HWAVEOUT handle, WAVEHDR* header) const;
    // The frame of one output at its position, or nothing when it has none now.
    std::optional<std::pair<std::int32_t, std::int32_t>> NextFrame(Output& output, HWAVEOUT handle);

    Device& device;
    std::function<DWORD()> volume;
    std::unique_ptr<AudioSink> sink;
    bool hardware = true;
    std::map<HWAVEOUT, Output> outputs;
    std::uintptr_t nextHandle = 0x5A000;
    std::uint64_t framesPlayed = 0;
    std::vector<std::int16_t> chunk;
};

// The frames of device time t: every frame that starts before t.
inline std::uint64_t FramesBefore(DeviceTime time) {
    return (time * WaveOutput::Rate + 999) / 1000;
}

} // namespace sim
