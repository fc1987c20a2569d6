#include "movie/MoviePlacement.h"

#include "platform/Text.h"
#include "platform/Window.h"
#include "window/PlayerView.h"

namespace player {

double ZoomOffset(int zoomPercent, std::uint32_t extent) {
    return (zoomPercent - 100.0) * extent * -0.005;
}

bool TurnsInFullScreen(int screenWidth, int screenHeight, std::uint32_t stageWidth,
                       std::uint32_t stageHeight) {
    return screenWidth < screenHeight && stageWidth > stageHeight && stageHeight > 0;
}

RotatedPlacement ComputeRotatedPlacement(int zoomPercent, std::uint32_t width,
                                         std::uint32_t height) {
    RotatedPlacement placement;
    placement.x = (zoomPercent - 100.0) * height * -0.005;
    // Unsigned 32-bit arithmetic: centres the turned movie vertically.
    const std::uint32_t centre = ((width * width) >> 1) / height + (height >> 1);
    placement.y = centre + (zoomPercent - 100.0) * width * 0.005;
    // In single precision: the turned movie is enlarged by width / height.
    const auto zoom = static_cast<std::uint32_t>(zoomPercent);
    const float a = static_cast<float>(zoom * width) * 0.01f;
    const float b = static_cast<float>(zoom * height) * 0.01f;
    const float ratio = a / b;
    placement.scale = static_cast<float>(zoomPercent) * ratio;
    return placement;
}

void CPlayerView::ApplyMoviePlacement() {
    const int zoom = zoomPercent;
    const std::uint32_t width = header.stageWidth;
    const std::uint32_t height = header.stageHeight;
    if (!fullScreen) {
        movieControl.SetClipProperty(clip::kRoot, clip::kRotation, u"0");
        movieControl.SetClipPropertyNumber(clip::kRoot, clip::kX, ZoomOffset(zoom, width));
        movieControl.SetClipPropertyNumber(clip::kRoot, clip::kY, ZoomOffset(zoom, height));
        const std::u16string scale = text::FromInt(zoom);
        movieControl.SetClipProperty(clip::kRoot, clip::kXScale, scale);
        movieControl.SetClipProperty(clip::kRoot, clip::kYScale, scale);
        return;
    }
    // Otherwise "_root" keeps its last values.
    if (!TurnsInFullScreen(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), width,
                           height)) {
        return;
    }
    movieControl.SetClipProperty(clip::kRoot, clip::kRotation, u"-90");
    // The control's own mode, which may differ from the remembered one.
    if (movieControl.GetScaleMode() != 0) {
        return;
    }
    const RotatedPlacement placement = ComputeRotatedPlacement(zoom, width, height);
    movieControl.SetClipPropertyNumber(clip::kRoot, clip::kX, placement.x);
    movieControl.SetClipPropertyNumber(clip::kRoot, clip::kY, placement.y);
    movieControl.SetClipPropertyNumber(clip::kRoot, clip::kXScale, placement.scale);
    movieControl.SetClipPropertyNumber(clip::kRoot, clip::kYScale, placement.scale);
}

} // namespace player
