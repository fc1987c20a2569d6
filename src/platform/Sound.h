// The wave output, as Windows CE has it. The device has one output; the wave
// mapper (WAVE_MAPPER, as a device id or as the device handle) stands for it.
// A program opens it with a format, prepares buffers of samples and writes
// them; the device plays them in order, in device time, and hands each back
// done (WHDR_DONE, and MM_WOM_DONE to the window a CALLBACK_WINDOW open
// named). The volume is 16 bits a channel, the left channel in the low word
// and the right in the high word, 0 silent to 0xFFFF full; it is kept across
// restarts and shared by the processes on the device, and scales what every
// open output plays. The simulated device plays 44.1 kHz 16-bit PCM, mono or
// stereo; a device with no sound hardware has no wave output to open.
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
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

constexpr WORD WAVE_FORMAT_PCM = 1;

struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};

struct WAVEHDR {
    char* lpData;
    DWORD dwBufferLength;
    DWORD dwBytesRecorded;
    DWORD_PTR dwUser;
    DWORD dwFlags;
    DWORD dwLoops;
    WAVEHDR* lpNext;
    DWORD_PTR reserved;
};

constexpr DWORD WHDR_DONE = 0x01;
constexpr DWORD WHDR_PREPARED = 0x02;
constexpr DWORD WHDR_BEGINLOOP = 0x04;
constexpr DWORD WHDR_ENDLOOP = 0x08;
constexpr DWORD WHDR_INQUEUE = 0x10;

// waveOutOpen's fdwOpen: how the program hears of done buffers.
constexpr DWORD CALLBACK_TYPEMASK = 0x00070000;
constexpr DWORD CALLBACK_NULL = 0x00000000;
constexpr DWORD CALLBACK_WINDOW = 0x00010000;
constexpr DWORD CALLBACK_FUNCTION = 0x00030000;
constexpr DWORD WAVE_FORMAT_QUERY = 0x0001;

// Posted to a CALLBACK_WINDOW window: wParam the output, lParam the WAVEHDR*
// (MM_WOM_DONE) or 0.
constexpr UINT MM_WOM_OPEN = 0x3BB;
constexpr UINT MM_WOM_CLOSE = 0x3BC;
constexpr UINT MM_WOM_DONE = 0x3BD;

constexpr UINT TIME_MS = 0x0001;
constexpr UINT TIME_SAMPLES = 0x0002;
constexpr UINT TIME_BYTES = 0x0004;

struct MMTIME {
    UINT wType;
    union {
        DWORD ms;
        DWORD sample;
        DWORD cb;
    } u;
};

// 1 with sound hardware, 0 without.
UINT waveOutGetNumDevs();
// deviceId: 0 or WAVE_MAPPER. callback: a HWND for CALLBACK_WINDOW; the
// simulated device takes no CALLBACK_FUNCTION (MMSYSERR_NOTSUPPORTED).
MMRESULT waveOutOpen(HWAVEOUT* output, UINT deviceId, const WAVEFORMATEX* format,
                     DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
// WAVERR_STILLPLAYING while buffers are queued (waveOutReset first).
MMRESULT waveOutClose(HWAVEOUT output);
MMRESULT waveOutPrepareHeader(HWAVEOUT output, WAVEHDR* header, UINT headerSize);
MMRESULT waveOutUnprepareHeader(HWAVEOUT output, WAVEHDR* header, UINT headerSize);
// Queues a prepared buffer (dwBufferLength bytes of lpData); it stays the
// program's memory and must not change until it comes back done.
MMRESULT waveOutWrite(HWAVEOUT output, WAVEHDR* header, UINT headerSize);
// Stops playing and hands every queued buffer back done; the position
// returns to 0.
MMRESULT waveOutReset(HWAVEOUT output);
MMRESULT waveOutPause(HWAVEOUT output);
MMRESULT waveOutRestart(HWAVEOUT output);
// The sample frames played since the open or the last reset.
MMRESULT waveOutGetPosition(HWAVEOUT output, MMTIME* time, UINT timeSize);
// device: the wave mapper, 0 (the one output), or an open output.
MMRESULT waveOutGetVolume(HWAVEOUT device, DWORD* volume);
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);
