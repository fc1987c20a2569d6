// The screen: windows composed from what they painted, children clipped by
// their parents, the task bar with the foreground window's title, bitmaps put
// on the screen the way the movie control does, screenshots as PNG, and the
// metrics of a high-resolution screen.
#include <gtest/gtest.h>

#include "DeviceTestSupport.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/sim/Screen.h"

namespace {

using simtest::DeviceTest;
using simtest::Handler;

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

// Paints its client area with one colour.
Handler Filling(COLORREF color) {
    return [color](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            const HBRUSH brush = CreateSolidBrush(color);
            RECT client;
            GetClientRect(window, &client);
            FillRect(dc, &client, brush);
            DeleteObject(brush);
            EndPaint(window, &paint);
            return 0;
        }
        return std::nullopt;
    };
}

class ScreenTest : public DeviceTest {};

TEST_F(ScreenTest, WindowsShowWhatTheyPaintedUnderTheTaskBar) {
    Handler red = Filling(RGB(255, 0, 0));
    Handler blue = Filling(RGB(0, 0, 255));
    HWND frame = nullptr;
    HWND child = nullptr;
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        frame = simtest::CreateTestWindow(&red, WS_VISIBLE, RECT{0, 26, 240, 200}, nullptr, 0,
                                          u"Player");
        // Half of the child lies outside its parent's client area.
        child = simtest::CreateTestWindow(&blue, WS_CHILD | WS_VISIBLE, RECT{200, 100, 300, 200},
                                          frame, 1);
    });
    auto screen = automation->Screenshot();
    EXPECT_EQ(screen->Pixel(100, 100), kRed);
    EXPECT_EQ(screen->Pixel(220, 26 + 120), 0xFF0000FFu);
    // Clipped by the parent: below the frame there is only the desktop.
    EXPECT_EQ(screen->Pixel(220, 250), kWhite);
    // The task bar: dark at its edge, with the title drawn in light text.
    const std::uint32_t barEdge = screen->Pixel(1, 1);
    EXPECT_LT(barEdge & 0xFF, 0xF0u);
    int lightInTitle = 0;
    for (int y = 0; y < 26; ++y) {
        for (int x = 0; x < 80; ++x) {
            lightInTitle += (screen->Pixel(x, y) & 0xFF) > 0xC0 ? 1 : 0;
        }
    }
    EXPECT_GT(lightInTitle, 10);

    // Moved windows keep their pixels; hidden ones leave the screen.
    OnProgram(program, [&] { MoveWindow(frame, 0, 100, 240, 174, FALSE); });
    screen = automation->Screenshot();
    EXPECT_EQ(screen->Pixel(100, 50), kWhite);
    EXPECT_EQ(screen->Pixel(100, 150), kRed);
    OnProgram(program, [&] { ShowWindow(frame, SW_HIDE); });
    screen = automation->Screenshot();
    EXPECT_EQ(screen->Pixel(100, 150), kWhite);
    // Without a foreground window the task bar shows no title.
    int lightNow = 0;
    for (int y = 0; y < 26; ++y) {
        for (int x = 0; x < 80; ++x) {
            lightNow += (screen->Pixel(x, y) & 0xFF) > 0xC0 ? 1 : 0;
        }
    }
    EXPECT_LT(lightNow, lightInTitle);
}

TEST_F(ScreenTest, DeviceIndependentBitmapsGoOnTheScreenTheRightWayUp) {
    // 2 x 2 pixels, 32 bits each (blue, green, red, unused).
    const std::uint32_t pixels[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 2;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int drawn = 0;
    int stretched = 0;
    Handler drawing = [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            // Top-down (negative height): the first row is the top one.
            info.bmiHeader.biHeight = -2;
            drawn = SetDIBitsToDevice(dc, 10, 10, 2, 2, 0, 0, 0, 2, pixels, &info, DIB_RGB_COLORS);
            // Bottom-up, stretched to 20 x 20: the first row is the bottom one.
            info.bmiHeader.biHeight = 2;
            stretched = StretchDIBits(dc, 100, 100, 20, 20, 0, 0, 2, 2, pixels, &info,
                                      DIB_RGB_COLORS, SRCCOPY);
            EndPaint(window, &paint);
            return 0;
        }
        return std::nullopt;
    };
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        simtest::CreateTestWindow(&drawing, WS_VISIBLE, RECT{0, 26, 240, 294});
    });
    EXPECT_EQ(drawn, 2);
    EXPECT_EQ(stretched, 2);
    const auto screen = automation->Screenshot();
    EXPECT_EQ(screen->Pixel(10, 36), kRed);
    EXPECT_EQ(screen->Pixel(11, 36), 0xFF00FF00u);
    EXPECT_EQ(screen->Pixel(10, 37), 0xFF0000FFu);
    EXPECT_EQ(screen->Pixel(103, 126 + 3), 0xFF0000FFu);
    EXPECT_EQ(screen->Pixel(103, 126 + 16), kRed);
    EXPECT_EQ(screen->Pixel(117, 126 + 16), 0xFF00FF00u);
}

TEST_F(ScreenTest, ScreenshotIsAPng) {
    auto program = Launch([](HINSTANCE) {});
    const auto png = device->GetScreen().Png();
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[0], 0x89);
    EXPECT_EQ(png[1], 'P');
    EXPECT_EQ(png[2], 'N');
    EXPECT_EQ(png[3], 'G');
    const auto file = directory.Path() / "screen.png";
    EXPECT_TRUE(automation->SaveScreenshot(file));
    EXPECT_EQ(std::filesystem::file_size(file), png.size());
}

TEST_F(ScreenTest, DrawTextWrapsAndCentresInTheUiFont) {
    RECT measured{};
    int height = 0;
    Handler writing = [&](HWND window, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            const HDC dc = BeginPaint(window, &paint);
            measured = RECT{0, 0, 100, 0};
            DrawTextW(dc, u"By entering 50%, you can jump", -1, &measured,
                      DT_WORDBREAK | DT_CALCRECT);
            RECT line{0, 0, 240, 40};
            SetTextColor(dc, RGB(255, 0, 0));
            SetBkMode(dc, TRANSPARENT);
            height = DrawTextW(dc, u"&OK", -1, &line, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            EndPaint(window, &paint);
            return 0;
        }
        return std::nullopt;
    };
    auto program = Launch([&](HINSTANCE) {
        simtest::RegisterTestClass();
        simtest::CreateTestWindow(&writing, WS_VISIBLE, RECT{0, 26, 240, 294});
    });
    // Three short lines, none wider than asked.
    EXPECT_LE(measured.right, 100);
    EXPECT_GT(measured.bottom, 2 * height);
    // The centred text is red and only in the middle.
    const auto screen = automation->Screenshot();
    int redLeft = 240;
    int redRight = 0;
    for (int y = 26; y < 66; ++y) {
        for (int x = 0; x < 240; ++x) {
            const std::uint32_t pixel = screen->Pixel(x, y);
            if (((pixel >> 16) & 0xFF) > 0xC0 && (pixel & 0xFF) < 0x80) {
                redLeft = std::min(redLeft, x);
                redRight = std::max(redRight, x);
            }
        }
    }
    ASSERT_LT(redLeft, redRight);
    EXPECT_GT(redLeft, 90);
    EXPECT_LT(redRight, 150);
}

class HighResolutionScreenTest : public DeviceTest {
protected:
    HighResolutionScreenTest() : DeviceTest(480, 640, 192) {}
};

TEST_F(HighResolutionScreenTest, BarsAndPixelsPerInchFollowTheScreen) {
    int pixelsPerInch = 0;
    auto program = Launch([&](HINSTANCE) {
        const HDC screen = GetDC(nullptr);
        pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    });
    EXPECT_EQ(pixelsPerInch, 192);
    EXPECT_EQ(GetSystemMetrics(SM_CYMENU), 52);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 480);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 640);
    const auto screen = automation->Screenshot();
    EXPECT_EQ(screen->Width(), 480);
    EXPECT_NE(screen->Pixel(1, 50), kWhite);
    EXPECT_EQ(screen->Pixel(1, 53), kWhite);
}

} // namespace
