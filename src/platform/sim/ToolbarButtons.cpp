#include "platform/sim/ToolbarButtons.h"

#include <algorithm>

#include "platform/Controls.h"
#include "platform/Geometry.h"

namespace sim {
namespace {

constexpr std::uint32_t kKeyColour = 0xFFC0C0C0;

} // namespace

bool ToolbarButton::IsSeparator() const {
    return (style & TBSTYLE_SEP) != 0;
}

bool ToolbarButton::IsHidden() const {
    return (state & TBSTATE_HIDDEN) != 0;
}

bool ToolbarButton::IsEnabled() const {
    return (state & TBSTATE_ENABLED) != 0;
}

std::vector<RECT> LayoutToolbar(const std::vector<ToolbarButton>& buttons,
                                const ToolbarMetrics& metrics, int origin,
                                const std::function<int(const ToolbarButton&)>& contentWidth) {
    std::vector<RECT> rects;
    rects.reserve(buttons.size());
    int x = origin;
    for (const ToolbarButton& button : buttons) {
        int width = 0;
        if (button.IsHidden()) {
            width = 0;
        } else if (button.IsSeparator()) {
            // A separator's image field is its width.
            width = button.image > 0 ? button.image : metrics.separatorWidth;
        } else if (button.width > 0) {
            width = button.width;
        } else if (!button.text.empty()) {
            width = contentWidth(button) + 2 * metrics.textPadding;
            if (button.image >= 0) {
                width += metrics.imageButtonWidth;
            }
        } else {
            width = metrics.imageButtonWidth;
        }
        rects.push_back(RECT{x, 0, x + width, metrics.height});
        x += width;
    }
    return rects;
}

int ButtonAt(const std::vector<ToolbarButton>& buttons, const std::vector<RECT>& rects,
             POINT point) {
    const std::size_t count = std::min(buttons.size(), rects.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!buttons[i].IsHidden() && !buttons[i].IsSeparator() && PtInRect(&rects[i], point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int IndexOfCommand(const std::vector<ToolbarButton>& buttons, int command) {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i].command == command) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<res::Image> CutImageStrip(const res::Image& strip, int width, int height) {
    std::vector<res::Image> images;
    if (width <= 0 || height <= 0 || strip.width <= 0 || strip.height <= 0 ||
        strip.pixels.size() < static_cast<std::size_t>(strip.width) * strip.height) {
        return images;
    }
    const int rows = std::min(height, strip.height);
    for (int left = 0; left + width <= strip.width; left += width) {
        res::Image image;
        image.width = width;
        image.height = height;
        image.pixels.assign(static_cast<std::size_t>(width) * height, 0);
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint32_t pixel =
                    strip.pixels[static_cast<std::size_t>(y) * strip.width + left + x];
                image.pixels[static_cast<std::size_t>(y) * width + x] =
                    pixel == kKeyColour ? 0 : pixel;
            }
        }
        images.push_back(std::move(image));
    }
    return images;
}

} // namespace sim
