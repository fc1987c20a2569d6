// The handheld as the window shows it: a plain case around the device's screen
// (scaled by the zoom), with the buttons a user can click: APP1 to APP4 and
// the navigation pad with its Action centre below the screen, Record at the
// top left. The layout is plain geometry, so it can be tested without a
// window; Draw paints it with cairo.
#pragma once

#include <cairo.h>

#include <optional>
#include <vector>

#include "host/KeyNames.h"
#include "platform/WinTypes.h"

namespace host {

struct FrameRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool Contains(int px, int py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
};

// What a window point falls on.
struct FrameHit {
    // A point of the device's screen, in device pixels.
    std::optional<POINT> screenPoint;
    std::optional<DeviceButton> button;
};

class DeviceFrame {
public:
    // screenWidth x screenHeight device pixels at dpi, each shown as zoom x
    // zoom window pixels.
    DeviceFrame(int screenWidth, int screenHeight, int dpi, int zoom);

    int Width() const { return width; }
    int Height() const { return height; }
    int Zoom() const { return zoom; }
    int ScreenWidth() const { return screenWidth; }
    int ScreenHeight() const { return screenHeight; }
    // Where the device's screen lies in the window.
    const FrameRect& ScreenArea() const { return screenArea; }

    FrameHit HitTest(int x, int y) const;
    // A window point taken to the nearest device pixel on the screen (for a
    // stylus dragged off its edge).
    POINT ClampToScreen(int x, int y) const;

    // Paints the case, the screen (an image of the device's screen) and the
    // buttons, those in pressed drawn down.
    void Draw(cairo_t* cairo, cairo_surface_t* screen,
              const std::vector<DeviceButton>& pressed) const;

    // The zoom that shows a screen at about the size of a handheld's: 2 for
    // a 240 x 320 screen, 1 for a 480 x 640 one.
    static int DefaultZoom(int screenWidth, int screenHeight);

private:
    struct RoundButton {
        DeviceButton button;
        FrameRect rect;
        const char* label;
    };

    int screenWidth;
    int screenHeight;
    int zoom;
    // Case units: window pixels for one pixel of a 96-ppi handheld.
    int unit;
    int width = 0;
    int height = 0;
    FrameRect screenArea;
    std::vector<RoundButton> keys;
    // The navigation pad: its centre and radii.
    int padX = 0;
    int padY = 0;
    int padRadius = 0;
    int actionRadius = 0;
};

} // namespace host
