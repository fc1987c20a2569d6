// The wave output and its volume on the current device.
#include "platform/Sound.h"
#include "platform/sim/Device.h"
#include "platform/sim/ServicesAccess.h"
#include "platform/sim/WaveOutput.h"

namespace {

sim::WaveOutput* CurrentWave() {
    sim::SystemServices* services = sim::CurrentServices();
    return services == nullptr ? nullptr : &services->Wave();
}

// The wave output a device handle stands for: the wave mapper, device 0, or
// an open output.
bool IsWaveOutput(HWAVEOUT device) {
    const auto value = reinterpret_cast<std::uintptr_t>(device);
    const auto high = value >> 16 >> 16;
    if (value == 0 || ((value & 0xFFFFFFFFu) == WAVE_MAPPER &&
                       (high == 0 || high == (~std::uintptr_t{0} >> 32)))) {
        return true;
    }
    const sim::WaveOutput* wave = CurrentWave();
    return wave != nullptr && wave->IsOpen(device);
}

} // namespace

UINT waveOutGetNumDevs() {
    const sim::WaveOutput* wave = CurrentWave();
    return wave != nullptr && wave->HasHardware() ? 1 : 0;
}

MMRESULT waveOutOpen(HWAVEOUT* output, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags) {
    sim::WaveOutput* wave = CurrentWave();
    if (wave == nullptr) {
        return MMSYSERR_NODRIVER;
    }
    if (deviceId != 0 && deviceId != WAVE_MAPPER) {
        return MMSYSERR_BADDEVICEID;
    }
    return wave->Open(output, format, callback, instance, flags);
}

MMRESULT waveOutClose(HWAVEOUT output) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Close(output);
}

MMRESULT waveOutPrepareHeader(HWAVEOUT output, WAVEHDR* header, UINT headerSize) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Prepare(output, header, headerSize);
}

MMRESULT waveOutUnprepareHeader(HWAVEOUT output, WAVEHDR* header, UINT headerSize) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Unprepare(output, header, headerSize);
}

MMRESULT waveOutWrite(HWAVEOUT output, WAVEHDR* header, UINT headerSize) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Write(output, header, headerSize);
}

MMRESULT waveOutReset(HWAVEOUT output) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Reset(output);
}

MMRESULT waveOutPause(HWAVEOUT output) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Pause(output, true);
}

MMRESULT waveOutRestart(HWAVEOUT output) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Pause(output, false);
}

MMRESULT waveOutGetPosition(HWAVEOUT output, MMTIME* time, UINT timeSize) {
    sim::WaveOutput* wave = CurrentWave();
    return wave == nullptr ? MMSYSERR_INVALHANDLE : wave->Position(output, time, timeSize);
}

MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume) {
    sim::SystemServices* services = sim::CurrentServices();
    if (!IsWaveOutput(device)) {
        return MMSYSERR_INVALHANDLE;
    }
    if (volume == nullptr || services == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    *volume = services->Volume();
    return MMSYSERR_NOERROR;
}

// The device has one volume: set through any handle, it is the device's.
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume) {
    sim::Device* current = sim::Device::Current();
    MMRESULT result = MMSYSERR_NOERROR;
    if (!IsWaveOutput(device)) {
        result = MMSYSERR_INVALHANDLE;
    } else if (current == nullptr || !current->Services().SetVolume(volume)) {
        result = MMSYSERR_ERROR;
    }
    if (current != nullptr) {
        current->Record(
            "waveOutSetVolume",
            {static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(device)), volume},
            result);
    }
    return result;
}
