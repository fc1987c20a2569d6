// Turning the display: the screen's size, the metrics and device caps that
// follow it, the messages the top-level windows get, what the test flag
// reports, refusals, and the orientation kept across a restart.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Display.h"
#include "platform/Painting.h"
#include "platform/sim/MessageRecorder.h"
#include "platform/sim/PersistentNumber.h"
#include "platform/sim/ProcessDirectory.h"
#include "platform/sim/SystemServices.h"

namespace {

using sim::Arrival;
using simtest::DeviceTest;
using simtest::Handler;

// The record as the player fills it in: zeroed, its size, the fields.
DEVMODEW Record(DWORD fields, DWORD orientation = 0) {
    DEVMODEW mode{};
    mode.dmSize = sizeof(DEVMODEW);
    mode.dmFields = fields;
    mode.dmDisplayOrientation = orientation;
    if ((fields & DM_ORIENTATION) != 0) {
        mode.dmOrientation = orientation == DMDO_0 ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    }
    return mode;
}

class DisplayServiceTest : public DeviceTest {
protected:
    DisplayServiceTest() = default;
    DisplayServiceTest(int width, int height, int perInch) : DeviceTest(width, height, perInch) {}
    LONG Change(sim::Program& program, DEVMODEW& mode, DWORD flags) {
        LONG result = 1234;
        OnProgram(program, [&] {
            result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, flags, nullptr);
        });
        return result;
    }
    DWORD Query(sim::Program& program) {
        DEVMODEW mode = Record(DM_DISPLAYORIENTATION, 0xFF);
        EXPECT_EQ(Change(program, mode, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
        return mode.dmDisplayOrientation;
    }
};

TEST_F(DisplayServiceTest, TurningTo90DegreesSwapsTheScreenAndTellsTheTopLevelWindows) {
    Handler plain;
    HWND frame = nullptr;
    HWND box = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        // Between the task bar and the menu bar, and a smaller window.
        frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 26, 240, 294});
        box = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{20, 60, 200, 160});
    });
    EXPECT_EQ(Query(program), DMDO_0);
    auto log = device->Recorders().Record({frame, box});

    DEVMODEW mode = Record(DM_DISPLAYORIENTATION | DM_ORIENTATION, DMDO_90);
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_SUCCESSFUL);

    EXPECT_EQ(device->ScreenWidth(), 320);
    EXPECT_EQ(device->ScreenHeight(), 240);
    int width = 0, height = 0, horizontal = 0, vertical = 0, menuBar = 0;
    OnProgram(program, [&] {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        menuBar = GetSystemMetrics(SM_CYMENU);
        const HDC screen = GetDC(nullptr);
        horizontal = GetDeviceCaps(screen, HORZRES);
        vertical = GetDeviceCaps(screen, VERTRES);
        ReleaseDC(nullptr, screen);
    });
    EXPECT_EQ(width, 320);
    EXPECT_EQ(height, 240);
    EXPECT_EQ(menuBar, 26);
    EXPECT_EQ(horizontal, 320);
    EXPECT_EQ(vertical, 240);
    EXPECT_EQ(Query(program), DMDO_90);

    // The frame keeps its place between the bars and gets its new size; the
    // smaller window is only told.
    const std::initializer_list<UINT> positionDetail = {
        WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_NCCALCSIZE, WM_MOVE, WM_PAINT,
        WM_NCPAINT,           WM_ERASEBKGND};
    EXPECT_EQ(log->Check(frame,
                         {{WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0, Arrival::Sent},
                          {WM_SIZE, SIZE_RESTORED, MAKELPARAM(320, 188), Arrival::Sent}},
                         positionDetail),
              "");
    EXPECT_EQ(log->Check(box, {{WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0, Arrival::Sent}},
                         positionDetail),
              "");
    const auto described = automation->Describe(frame);
    ASSERT_TRUE(described);
    EXPECT_EQ(described->rect.top, 26);
    EXPECT_EQ(described->rect.right, 320);
    EXPECT_EQ(described->rect.bottom, 214);

    const auto screenshot = automation->Screenshot();
    ASSERT_NE(screenshot, nullptr);
    EXPECT_EQ(screenshot->Width(), 320);
    EXPECT_EQ(screenshot->Height(), 240);

    // Back upright: the same again, the other way.
    mode = Record(DM_DISPLAYORIENTATION | DM_ORIENTATION, DMDO_0);
    log->Clear();
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(device->ScreenWidth(), 240);
    EXPECT_TRUE(log->Received(frame, WM_SIZE));
    EXPECT_EQ(automation->Describe(frame)->rect.bottom, 294);

    const auto calls = automation->Journal("ChangeDisplaySettingsExW");
    ASSERT_EQ(calls.size(), 4u); // query, turn, query, turn back
    EXPECT_EQ(calls[1].args[0].Int(), 0);
    EXPECT_EQ(calls[1].args[1].Int(), 0x00800001);
    EXPECT_EQ(calls[1].args[2].Int(), DMDO_90);
}

TEST_F(DisplayServiceTest, UnknownOrientationsAndDamagedRecordsAreRefused) {
    auto program = Launch([](HINSTANCE) {});
    DEVMODEW mode = Record(DM_DISPLAYORIENTATION, 3);
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_BADPARAM);
    mode = Record(DM_DISPLAYORIENTATION, 8);
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_BADPARAM);
    mode = Record(DM_DISPLAYORIENTATION, DMDO_270);
    mode.dmSize = 156; // too short to hold the orientation
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_BADPARAM);
    mode = Record(DM_DISPLAYORIENTATION, DMDO_270);
    EXPECT_EQ(Change(program, mode, 0x100), DISP_CHANGE_BADFLAGS);
    mode = Record(DM_PELSWIDTH | DM_DISPLAYORIENTATION, DMDO_270);
    mode.dmPelsWidth = 480;
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_BADMODE);
    EXPECT_EQ(device->ScreenWidth(), 240);
    EXPECT_EQ(Query(program), DMDO_0);

    // The test flag with the query field reports the turns the display has.
    mode = Record(DM_DISPLAYQUERYORIENTATION);
    EXPECT_EQ(Change(program, mode, CDS_TEST), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(mode.dmDisplayOrientation, DMDO_90 | DMDO_180 | DMDO_270);
    // Half a turn keeps the screen's size.
    mode = Record(DM_DISPLAYORIENTATION, DMDO_180);
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(device->ScreenWidth(), 240);
    EXPECT_EQ(Query(program), DMDO_180);
}

TEST_F(DisplayServiceTest, ATurnMadeByAnotherProcessIsFollowed) {
    Handler plain;
    HWND frame = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&plain, WS_VISIBLE, RECT{0, 0, 240, 320});
    });
    auto log = device->Recorders().Record({frame});
    // Another process on the directory: it finds this one, stores the new
    // orientation and tells it, as its own ChangeDisplaySettingsExW would.
    sim::ProcessDirectory other(directory.Path() / "runtime");
    std::vector<sim::ProcessRecord> seen;
    ASSERT_TRUE(device->RunUntil(
        [&] {
            seen = other.Others();
            return !seen.empty() && !seen[0].windows.empty();
        },
        10'000));
    ASSERT_TRUE(sim::PersistentNumber(directory.Path() / "system", "display-orientation")
                    .Write(DMDO_270)
                    .Ok());
    ASSERT_TRUE(other.SendRequest(seen[0].id, "display"));

    ASSERT_TRUE(device->RunUntil([&] { return device->ScreenWidth() == 320; }, 10'000));
    ASSERT_TRUE(device->RunUntilIdle());
    EXPECT_EQ(device->ScreenHeight(), 240);
    EXPECT_TRUE(log->Received(frame, WM_SETTINGCHANGE));
    EXPECT_TRUE(log->Received(frame, WM_SIZE));
    EXPECT_EQ(automation->Describe(frame)->rect.right, 320);
    EXPECT_EQ(Query(program), DMDO_270);
}

class HighResolutionDisplayTest : public DisplayServiceTest {
protected:
    HighResolutionDisplayTest() : DisplayServiceTest(480, 640, 192) {}
};

TEST_F(HighResolutionDisplayTest, AVgaScreenTurnsWithItsBarsAndPixelsPerInch) {
    auto program = Launch([](HINSTANCE) {});
    DEVMODEW mode = Record(DM_DISPLAYORIENTATION | DM_ORIENTATION, DMDO_270);
    EXPECT_EQ(Change(program, mode, 0), DISP_CHANGE_SUCCESSFUL);
    int width = 0, height = 0, menuBar = 0, perInch = 0;
    OnProgram(program, [&] {
        width = GetSystemMetrics(SM_CXSCREEN);
        height = GetSystemMetrics(SM_CYSCREEN);
        menuBar = GetSystemMetrics(SM_CYMENU);
        const HDC screen = GetDC(nullptr);
        perInch = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    });
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    EXPECT_EQ(menuBar, 52);
    EXPECT_EQ(perInch, 192);
}

TEST(DisplayServiceRestart, TheOrientationIsKeptInTheDeviceDirectory) {
    sim::TemporaryDirectory directory;
    sim::DeviceConfig config;
    config.directory = directory.Path();
    {
        sim::Device device(config);
        sim::ProgramImage image;
        image.entry = [](HINSTANCE, LPWSTR) {
            DEVMODEW mode = Record(DM_DISPLAYORIENTATION | DM_ORIENTATION, DMDO_270);
            return static_cast<int>(ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr));
        };
        sim::Program& program = device.Launch(image, u"");
        ASSERT_TRUE(device.RunUntil([&] { return program.Finished(); }, 1000));
        EXPECT_EQ(program.ExitCode(), DISP_CHANGE_SUCCESSFUL);
    }
    sim::Device restarted(config);
    EXPECT_EQ(restarted.ScreenWidth(), 320);
    EXPECT_EQ(restarted.ScreenHeight(), 240);
    EXPECT_EQ(restarted.Services().Display().Orientation(), DMDO_270);
}

} // namespace
