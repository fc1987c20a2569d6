// The services as a program on the device calls them: the new device's
// files, the C runtime's streams, the volume, the power calls with
// synthesized keys, the platform's texts and the sockets layer, each with
// what it leaves in the journal.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "DeviceTestSupport.h"
#include "platform/Files.h"
#include "platform/Input.h"
#include "platform/Power.h"
#include "platform/Program.h"
#include "platform/Sockets.h"
#include "platform/Sound.h"
#include "platform/System.h"
#include "platform/Text.h"
#include "platform/sim/SystemServices.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;

class SystemServicesTest : public DeviceTest {};

std::string ReadHost(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(DeviceSetUp, ANewDeviceGetsTheProgramAndItsFilesOnceAndOnlyOnce) {
    sim::TemporaryDirectory directory;
    sim::DeviceConfig config;
    config.directory = directory.Path();
    const std::string movie = "FWS\x06 a movie";
    config.services.firstUseFiles.push_back(
        {u"\\Program Files\\Vantrel\\Vantrel.exe.swf",
         std::vector<std::byte>(reinterpret_cast<const std::byte*>(movie.data()),
                                reinterpret_cast<const std::byte*>(movie.data() + movie.size()))});
    const auto storage = directory.Path() / "storage";
    {
        sim::Device device(config);
        EXPECT_TRUE(device.Services().SetUpThisRun());
        EXPECT_TRUE(std::filesystem::is_regular_file(storage / "Program Files" / "Vantrel" /
                                                     "Vantrel.exe"));
        EXPECT_EQ(ReadHost(storage / "Program Files" / "Vantrel" / "Vantrel.exe.swf"), movie);
        EXPECT_TRUE(std::filesystem::is_directory(storage / "My Documents"));
        EXPECT_TRUE(std::filesystem::is_directory(storage / "Windows"));
    }
    // The user's changes to a device that is already set up are kept.
    std::ofstream(storage / "Program Files" / "Vantrel" / "Vantrel.exe.swf") << "changed";
    sim::Device again(config);
    EXPECT_FALSE(again.Services().SetUpThisRun());
    EXPECT_EQ(ReadHost(storage / "Program Files" / "Vantrel" / "Vantrel.exe.swf"), "changed");
}

TEST_F(SystemServicesTest, StreamsOfTheCRuntimeOnDeviceAndHostPaths) {
    int missingErrno = 0;
    DWORD missingError = 0;
    int longErrno = 0;
    std::string settings;
    const auto hostFile = directory.Path() / "host.txt";
    std::ofstream(hostFile) << "from the host";
    char hostText[32] = {};
    auto program = Launch([&](HINSTANCE) {
        errno = 0;
        EXPECT_EQ(_wfopen(u"\\A347BD5F-BAD90-46785.txt", u"r"), nullptr);
        missingErrno = errno;
        missingError = GetLastError();
        EXPECT_EQ(_wfopen((u"\\" + std::u16string(5000, u'a')).c_str(), u"rb"), nullptr);
        longErrno = errno;

        WCHAR module[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, module, MAX_PATH);
        const std::u16string cfg = std::u16string(module) + u".cfg";
        FILE* out = _wfopen(cfg.c_str(), u"w");
        ASSERT_NE(out, nullptr);
        std::fprintf(out, "%d %d %d %d %d %d %d", 0, 1, 10, 560, 1, 0, 0);
        std::fclose(out);

        FILE* in = _wfopen(text::FromUtf8(hostFile.string()).c_str(), u"rb");
        ASSERT_NE(in, nullptr);
        EXPECT_GT(std::fread(hostText, 1, sizeof hostText - 1, in), 0u);
        std::fclose(in);

        EXPECT_EQ(_wremove(cfg.c_str()), 0);
        EXPECT_EQ(_wremove(cfg.c_str()), -1);
        EXPECT_EQ(errno, ENOENT);
    });
    EXPECT_EQ(missingErrno, ENOENT);
    EXPECT_EQ(missingError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(longErrno, ENAMETOOLONG);
    EXPECT_STREQ(hostText, "from the host");

    const auto opens = automation->Journal("_wfopen");
    ASSERT_EQ(opens.size(), 1u) << "only the file opened for writing";
    EXPECT_EQ(opens[0].args[0].Text(), "\\Program Files\\Vantrel\\Vantrel.exe.cfg");
    EXPECT_EQ(opens[0].pid, program->Pid());
    EXPECT_EQ(automation->Journal("_wremove").size(), 2u);
}

TEST_F(SystemServicesTest, TheVolumeIsTheDevicesAndOutlivesTheProgram) {
    DWORD before = 0;
    MMRESULT badDevice = 0;
    auto program = Launch([&](HINSTANCE) {
        EXPECT_EQ(waveOutGetVolume(WaveMapperHandle(), &before), MMSYSERR_NOERROR);
        EXPECT_EQ(waveOutSetVolume(WaveMapperHandle(), 0x1234ABCD), MMSYSERR_NOERROR);
        badDevice = waveOutSetVolume(reinterpret_cast<HWAVEOUT>(7), 0);
        EXPECT_EQ(waveOutGetVolume(WaveMapperHandle(), nullptr), MMSYSERR_INVALPARAM);
    });
    EXPECT_EQ(before, 0xFFFFFFFFu);
    EXPECT_EQ(badDevice, MMSYSERR_INVALHANDLE);
    EXPECT_EQ(device->Services().Volume(), 0x1234ABCDu);
    const auto sets = automation->Journal("waveOutSetVolume");
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0].args[1].Int(), 0x1234ABCD);
    EXPECT_EQ(sets[1].result.Int(), MMSYSERR_INVALHANDLE);

    // Kept in the device directory for later runs and other processes.
    EXPECT_EQ(ReadHost(directory.Path() / "system" / "wave-volume"), "wave-volume 305441741\n");
}

TEST_F(SystemServicesTest, BacklightRequirementsAndSynthesizedKeysAsTheStatusTickMakesThem) {
    std::vector<UINT> keys;
    Handler view = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_KEYUP) {
            keys.push_back(static_cast<UINT>(wParam));
        }
        return std::nullopt;
    };
    HWND window = nullptr;
    HANDLE request = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        window = simtest::CreateTestWindow(&view, WS_VISIBLE, RECT{0, 26, 240, 294});
        SetFocus(window);
        request = SetPowerRequirement(const_cast<char16_t*>(u"BKL1:"), D0, POWER_NAME | POWER_FORCE,
                                      nullptr, 0);
    });
    ASSERT_NE(request, nullptr);
    auto& power = device->Services().Power();
    ASSERT_TRUE(device->Advance(120'000));
    EXPECT_TRUE(power.BacklightOn());
    ASSERT_EQ(power.Status().requirements.size(), 1u);
    EXPECT_EQ(power.Status().requirements[0].pid, program->Pid());

    OnProgram(program, [&] { EXPECT_EQ(ReleasePowerRequirement(request), ERROR_SUCCESS); });
    ASSERT_TRUE(device->Advance(59'000));
    EXPECT_TRUE(power.BacklightOn());
    ASSERT_TRUE(device->Advance(1'000));
    EXPECT_FALSE(power.BacklightOn());

    // The tick's key-up of VK_F24: activity, and a key the focus window gets.
    OnProgram(program, [&] {
        EXPECT_EQ(SetSystemPowerState(nullptr, POWER_STATE_ON, 0), ERROR_SUCCESS);
        keybd_event(0x87, 0, KEYEVENTF_KEYUP | KEYEVENTF_SILENT, 0);
    });
    EXPECT_TRUE(power.BacklightOn());
    EXPECT_EQ(keys, std::vector<UINT>{0x87});
    const auto events = automation->Journal("keybd_event");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].args[2].Int(), 6);

    // A tap is activity too.
    ASSERT_TRUE(device->Advance(61'000));
    EXPECT_FALSE(power.BacklightOn());
    automation->TapWindow(window);
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(power.BacklightOn());

    // A program that ends lets go of its requirements.
    OnProgram(program, [&] {
        SetPowerRequirement(const_cast<char16_t*>(u"BKL1:"), D0, POWER_NAME, nullptr, 0);
        PostQuitMessage(0);
    });
    ASSERT_TRUE(device->RunUntil([&] { return program->Finished(); }, 1000));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_TRUE(power.Status().requirements.empty());
}

TEST_F(SystemServicesTest, ThePlatformSaysPocketPCAndTheSocketsLayerStarts) {
    WCHAR platform[32] = {};
    BOOL tooSmall = TRUE;
    DWORD tooSmallError = 0;
    RECT work{};
    int started = -1;
    int cleaned = -1;
    int cleanedTwice = 0;
    WSADATA data;
    auto program = Launch([&](HINSTANCE) {
        EXPECT_TRUE(SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof platform, platform, 0));
        WCHAR small[4];
        tooSmall = SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof small, small, 0);
        tooSmallError = GetLastError();
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        started = WSAStartup(MAKEWORD(1, 1), &data);
        cleaned = WSACleanup();
        cleanedTwice = WSACleanup();
    });
    EXPECT_EQ(std::u16string(platform), u"PocketPC");
    EXPECT_FALSE(tooSmall);
    EXPECT_EQ(tooSmallError, ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(work.top, 26);
    EXPECT_EQ(work.bottom, 320);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(data.wVersion, MAKEWORD(1, 1));
    EXPECT_EQ(cleaned, 0);
    EXPECT_EQ(cleanedTwice, -1);
}

TEST(DeviceFailures, ADeviceToldToFailTheSocketsLayerFailsIt) {
    sim::TemporaryDirectory directory;
    sim::DeviceConfig config;
    config.directory = directory.Path();
    config.services.failSocketStartup = true;
    sim::Device device(config);
    sim::ProgramImage image;
    image.entry = [](HINSTANCE, LPWSTR) {
        WSADATA data;
        return WSAStartup(MAKEWORD(1, 1), &data);
    };
    sim::Program& program = device.Launch(image, u"");
    ASSERT_TRUE(device.RunUntil([&] { return program.Finished(); }, 1000));
    EXPECT_EQ(program.ExitCode(), WSASYSNOTREADY);
}

} // namespace
