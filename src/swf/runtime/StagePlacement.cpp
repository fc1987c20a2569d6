#include "swf/runtime/StagePlacement.h"

#include <algorithm>
#include <cmath>

namespace swf {

ScaleMode ScaleModeFromNumber(long number) {
    switch (number) {
    case 1:
        return ScaleMode::NoBorder;
    case 2:
        return ScaleMode::ExactFit;
    case 3:
        return ScaleMode::NoScale;
    default:
        return ScaleMode::ShowAll;
    }
}

StagePlacement PlaceStage(const Rect& frameSize, int windowWidth, int windowHeight,
                          ScaleMode mode) {
    // An empty stage is taken as one pixel, so nothing divides by zero.
    const double stageWidth = std::max(frameSize.Width(), TwipsPerPixel) / double(TwipsPerPixel);
    const double stageHeight = std::max(frameSize.Height(), TwipsPerPixel) / double(TwipsPerPixel);
    const double fitX = windowWidth / stageWidth;
    const double fitY = windowHeight / stageHeight;
    double scaleX = 1.0;
    double scaleY = 1.0;
    switch (mode) {
    case ScaleMode::ShowAll:
        scaleX = scaleY = std::min(fitX, fitY);
        break;
    case ScaleMode::NoBorder:
        scaleX = scaleY = std::max(fitX, fitY);
        break;
    case ScaleMode::ExactFit:
        scaleX = fitX;
        scaleY = fitY;
        break;
    case ScaleMode::NoScale:
        break;
    }
    double offsetX = (windowWidth - stageWidth * scaleX) / 2;
    double offsetY = (windowHeight - stageHeight * scaleY) / 2;
    if (mode == ScaleMode::NoScale) {
        // An unscaled stage stays on whole pixels, so it stays sharp.
        offsetX = std::floor(offsetX);
        offsetY = std::floor(offsetY);
    }
    const Affine window = Affine::Translate(offsetX, offsetY) * Affine::Scale(scaleX, scaleY);
    const Affine fromTwips = Affine::Scale(1.0 / TwipsPerPixel, 1.0 / TwipsPerPixel) *
                             Affine::Translate(-double(frameSize.xMin), -double(frameSize.yMin));
    return {window * fromTwips, std::sqrt(scaleX * scaleY)};
}

} // namespace swf
