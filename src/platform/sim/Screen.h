// The screen: a cairo pixel buffer at the screen's size, composed on demand
// from the task bar along the top (the foreground window's title and a clock),
// the windows back to front (each from its own canvas, clipped by its
// parents), and an overlay that the screen's device context and the
// tap-and-hold animation draw on. A screenshot is the composed buffer as PNG.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/Canvas.h"

namespace sim {

class Device;
struct Window;

class Screen {
public:
    explicit Screen(Device& device);

    // The screen as it looks now.
    std::unique_ptr<Canvas> Compose();
    std::vector<unsigned char> Png();
    bool SavePng(const std::filesystem::path& path);

    std::shared_ptr<Canvas> Overlay();
    void ClearOverlay();

    bool TaskBarVisible() const { return taskBarVisible; }
    void SetTaskBarVisible(bool visible) { taskBarVisible = visible; }
    // The OK button the task bar shows at its right end while the foreground
    // window asks for one (WS_EX_CAPTIONOKBTN), in screen coordinates; a tap
    // on it sends the window IDOK. None while the task bar is hidden.
    std::optional<RECT> CaptionOkButton() const;

    // The task bar's clock: the host's time of day with a real clock; noon plus
    // the device time with a virtual one (so that screenshots repeat).
    std::u16string ClockText() const;

private:
    void DrawWindow(cairo_t* cairo, const Window& window, double clipLeft, double clipTop,
                    double clipRight, double clipBottom);
    void DrawTaskBar(cairo_t* cairo);

    Device& device;
    std::shared_ptr<Canvas> overlay;
    bool taskBarVisible = true;
};

} // namespace sim
