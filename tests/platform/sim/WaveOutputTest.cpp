// The device's wave output: buffers played in order in device time, handed
// back done with MM_WOM_DONE, scaled by the device volume per channel, and
// silence where nothing plays; a device without sound hardware has none.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "DeviceTestSupport.h"
#include "platform/Sound.h"
#include "platform/sim/SystemServices.h"
#include "platform/sim/WaveOutput.h"

namespace {

// What the host's speaker would have heard.
class RecordingSink final : public sim::AudioSink {
public:
    explicit RecordingSink(std::vector<std::int16_t>& heard) : heard(heard) {}
    void Play(std::span<const std::int16_t> frames) override {
        heard.insert(heard.end(), frames.begin(), frames.end());
    }

private:
    std::vector<std::int16_t>& heard;
};

WAVEFORMATEX Format(WORD channels = 2, DWORD rate = 44100) {
    return WAVEFORMATEX{WAVE_FORMAT_PCM,
                        channels,
                        rate,
                        rate * channels * 2u,
                        static_cast<WORD>(channels * 2),
                        16,
                        0};
}

class WaveOutputTest : public simtest::DeviceTest {
protected:
    void SetUp() override {
        device->Services().Wave().SetSink(std::make_unique<RecordingSink>(heard));
    }

    // A program with a window that counts MM_WOM_DONE, and an open stereo
    // output reporting to it.
    simtest::RunningProgram Start() {
        handler = [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
            if (message == MM_WOM_DONE) {
                done.push_back(reinterpret_cast<WAVEHDR*>(lParam));
                doneAt.push_back(device->Now());
                return 0;
            }
            return std::nullopt;
        };
        return Launch([this](HINSTANCE) {
            simtest::RegisterTestClass();
            window = simtest::CreateTestWindow(&handler, WS_VISIBLE, RECT{0, 26, 240, 294});
            const WAVEFORMATEX format = Format();
            opened = waveOutOpen(&output, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(window),
                                 0, CALLBACK_WINDOW);
        });
    }

    // Prepares and writes a buffer of frames (left, right) on the program.
    void Write(WAVEHDR& header, std::vector<std::int16_t>& samples) {
        header = WAVEHDR{};
        header.lpData = reinterpret_cast<char*>(samples.data());
        header.dwBufferLength = static_cast<DWORD>(samples.size() * 2);
        OnProgram(*device->Programs().back(), [&] {
            EXPECT_EQ(waveOutPrepareHeader(output, &header, sizeof(header)), MMSYSERR_NOERROR);
            EXPECT_EQ(waveOutWrite(output, &header, sizeof(header)), MMSYSERR_NOERROR);
        });
    }

    simtest::Handler handler;
    HWND window = nullptr;
    HWAVEOUT output = nullptr;
    MMRESULT opened = MMSYSERR_ERROR;
    std::vector<WAVEHDR*> done;
    std::vector<sim::DeviceTime> doneAt;
    std::vector<std::int16_t> heard;
};

TEST_F(WaveOutputTest, BuffersPlayInOrderInDeviceTimeAndComeBackDone) {
    auto program = Start();
    ASSERT_EQ(opened, MMSYSERR_NOERROR);
    ASSERT_TRUE(device->Advance(100));               // silence before anything is written
    std::vector<std::int16_t> first(441 * 2, 1000);  // 10 ms
    std::vector<std::int16_t> second(882 * 2, 2000); // 20 ms
    std::array<WAVEHDR, 2> headers{};
    Write(headers[0], first);
    Write(headers[1], second);
    EXPECT_TRUE(headers[0].dwFlags & WHDR_INQUEUE);
    ASSERT_TRUE(device->Advance(1000));

    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0], &headers[0]);
    EXPECT_EQ(done[1], &headers[1]);
    EXPECT_EQ(doneAt[0], 110u);
    EXPECT_EQ(doneAt[1], 130u);
    EXPECT_EQ(headers[1].dwFlags & (WHDR_DONE | WHDR_INQUEUE), WHDR_DONE);
    // The speaker heard device time itself: 1.1 s, the buffers from 100 ms on.
    ASSERT_EQ(heard.size(), std::size_t{48510} * 2);
    EXPECT_EQ(heard[4409 * 2], 0);
    EXPECT_EQ(heard[4410 * 2], 1000);
    EXPECT_EQ(heard[(4410 + 441) * 2 + 1], 2000);
    EXPECT_EQ(heard[(4410 + 441 + 882) * 2], 0);

    MMTIME time{TIME_SAMPLES, {}};
    OnProgram(program, [&] {
        EXPECT_EQ(waveOutGetPosition(output, &time, sizeof(time)), MMSYSERR_NOERROR);
        EXPECT_EQ(waveOutClose(output), MMSYSERR_NOERROR);
    });
    EXPECT_EQ(time.u.sample, 441u + 882u);
}

TEST_F(WaveOutputTest, TheVolumeScalesEachChannelByItsOwnWord) {
    auto program = Start();
    ASSERT_EQ(opened, MMSYSERR_NOERROR);
    std::vector<std::int16_t> full(441 * 2);
    for (std::size_t i = 0; i < full.size(); i += 2) {
        full[i] = 32767;
        full[i + 1] = -32768;
    }
    const auto playWithVolume = [&](DWORD volume) {
        OnProgram(program, [&] { waveOutSetVolume(WaveMapperHandle(), volume); });
        heard.clear();
        WAVEHDR header{};
        Write(header, full);
        EXPECT_TRUE(device->Advance(20));
        return std::pair<int, int>{heard[200], heard[201]};
    };
    // The volume bar's ends: silent, and full scale.
    EXPECT_EQ(playWithVolume(0), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(playWithVolume(0xFFFFFFFF), (std::pair<int, int>{32767, -32768}));
    // Another program set the channels apart: each follows its own word.
    EXPECT_EQ(playWithVolume(0x4000FFFF), (std::pair<int, int>{32767, -8192}));
    EXPECT_EQ(playWithVolume(0xFFFF0000), (std::pair<int, int>{0, -32768}));
}

TEST_F(WaveOutputTest, ResetHandsEveryBufferBackAndCloseWaitsForIt) {
    auto program = Start();
    ASSERT_EQ(opened, MMSYSERR_NOERROR);
    std::vector<std::int16_t> samples(44100 * 2, 5);
    WAVEHDR header{};
    Write(header, samples);
    OnProgram(program, [&] {
        EXPECT_EQ(waveOutClose(output), WAVERR_STILLPLAYING);
        EXPECT_EQ(waveOutUnprepareHeader(output, &header, sizeof(header)), WAVERR_STILLPLAYING);
        EXPECT_EQ(waveOutReset(output), MMSYSERR_NOERROR);
        EXPECT_TRUE(header.dwFlags & WHDR_DONE);
        EXPECT_EQ(waveOutUnprepareHeader(output, &header, sizeof(header)), MMSYSERR_NOERROR);
        // An unprepared buffer is refused.
        EXPECT_EQ(waveOutWrite(output, &header, sizeof(header)), WAVERR_UNPREPARED);
        EXPECT_EQ(waveOutClose(output), MMSYSERR_NOERROR);
        EXPECT_EQ(waveOutClose(output), MMSYSERR_INVALHANDLE);
    });
    ASSERT_TRUE(device->Advance(50));
    EXPECT_EQ(done.size(), 1u);
    EXPECT_EQ(heard[100], 0); // nothing of the reset buffer played
}

TEST_F(WaveOutputTest, OnlyItsOwnFormatOpensAndNoHardwareMeansNoOutput) {
    auto program = Start();
    OnProgram(program, [&] {
        HWAVEOUT other = nullptr;
        const WAVEFORMATEX rate = Format(2, 22050);
        EXPECT_EQ(waveOutOpen(&other, WAVE_MAPPER, &rate, 0, 0, CALLBACK_NULL), WAVERR_BADFORMAT);
        const WAVEFORMATEX mono = Format(1);
        EXPECT_EQ(waveOutOpen(nullptr, WAVE_MAPPER, &mono, 0, 0, WAVE_FORMAT_QUERY),
                  MMSYSERR_NOERROR);
        EXPECT_EQ(waveOutOpen(&other, 3, &mono, 0, 0, CALLBACK_NULL), MMSYSERR_BADDEVICEID);
        EXPECT_EQ(waveOutGetNumDevs(), 1u);
    });
    device->Services().Wave().SetSink(nullptr, false);
    OnProgram(program, [&] {
        HWAVEOUT none = nullptr;
        const WAVEFORMATEX format = Format();
        EXPECT_EQ(waveOutGetNumDevs(), 0u);
        EXPECT_EQ(waveOutOpen(&none, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL), MMSYSERR_NODRIVER);
    });
}

} // namespace
