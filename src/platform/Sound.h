// The wave-out volume: 16 bits a channel, the left channel in the low word
// and the right in the high word, 0 silent to 0xFFFF full. The device has one
// wave output; the wave mapper (WAVE_MAPPER, given as the device handle)
// stands for it. The volume is kept across restarts and shared by the
// processes on the device; the movie engine's sound output follows it.
#pragma once

#include "platform/WinTypes.h"

struct HWAVEOUT__;
using HWAVEOUT = HWAVEOUT__*;
using MMRESULT = UINT;

constexpr UINT WAVE_MAPPER = 0xFFFFFFFF;
// The wave mapper as a device handle: waveOutGetVolume(WaveMapperHandle(), ...).
inline HWAVEOUT WaveMapperHandle() {
    return reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER));
}

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;

UINT waveOutGetNumDevs();
// device: the wave mapper, or 0 (the one output).
MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume);
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);
