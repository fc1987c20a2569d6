#include "platform/sim/Screen.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/Device.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/Theme.h"
#include "platform/sim/UiFont.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

void VerticalGradient(cairo_t* cairo, double top, double height, COLORREF from, COLORREF to) {
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, top, 0, top + height);
    auto stop = [gradient](double offset, COLORREF color) {
        cairo_pattern_add_color_stop_rgb(gradient, offset, (color & 0xFF) / 255.0,
                                         ((color >> 8) & 0xFF) / 255.0,
                                         ((color >> 16) & 0xFF) / 255.0);
    };
    stop(0, from);
    stop(1, to);
    cairo_set_source(cairo, gradient);
    cairo_pattern_destroy(gradient);
}

// The task bar's OK button, at 96 pixels per inch.
constexpr int kCaptionOkWidth = 32;

} // namespace

Screen::Screen(Device& device) : device(device) {}

std::shared_ptr<Canvas> Screen::Overlay() {
    if (!overlay || overlay->Width() != device.ScreenWidth() ||
        overlay->Height() != device.ScreenHeight()) {
        overlay = std::make_shared<Canvas>(device.ScreenWidth(), device.ScreenHeight());
    }
    return overlay;
}

void Screen::ClearOverlay() {
    if (overlay) {
        overlay->Clear();
    }
}

std::u16string Screen::ClockText() const {
    int hour = 12;
    int minute = 0;
    if (device.GetClock().Mode() == ClockMode::Real) {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        hour = local.tm_hour;
        minute = local.tm_min;
    } else {
        const DeviceTime minutes = device.Now() / 60000;
        hour = static_cast<int>((12 + minutes / 60) % 24);
        minute = static_cast<int>(minutes % 60);
    }
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%d:%02d", hour, minute);
    return text::FromUtf8(buffer);
}

void Screen::DrawWindow(cairo_t* cairo, const Window& window, double clipLeft, double clipTop,
                        double clipRight, double clipBottom) {
    if ((window.style & WS_VISIBLE) == 0 || window.life == WindowLife::Gone) {
        return;
    }
    const WindowManager& windows = device.Windows();
    const RECT rect = windows.ScreenRect(window);
    const double left = std::max<double>(clipLeft, rect.left);
    const double top = std::max<double>(clipTop, rect.top);
    const double right = std::min<double>(clipRight, rect.right);
    const double bottom = std::min<double>(clipBottom, rect.bottom);
    if (right <= left || bottom <= top) {
        return;
    }
    if (window.canvas) {
        cairo_save(cairo);
        cairo_rectangle(cairo, left, top, right - left, bottom - top);
        cairo_clip(cairo);
        cairo_set_source_surface(cairo, window.canvas->Surface(), rect.left, rect.top);
        cairo_paint(cairo);
        cairo_restore(cairo);
    }
    // Children within the client area, back to front.
    const RECT client = windows.ScreenClientRect(window);
    const double childLeft = std::max<double>(left, client.left);
    const double childTop = std::max<double>(top, client.top);
    const double childRight = std::min<double>(right, client.right);
    const double childBottom = std::min<double>(bottom, client.bottom);
    for (auto it = window.children.rbegin(); it != window.children.rend(); ++it) {
        DrawWindow(cairo, **it, childLeft, childTop, childRight, childBottom);
    }
}

std::optional<RECT> Screen::CaptionOkButton() const {
    const Window* foreground = device.Windows().Active();
    if (!taskBarVisible || foreground == nullptr || !foreground->IsAlive() ||
        (foreground->exStyle & WS_EX_CAPTIONOKBTN) == 0) {
        return std::nullopt;
    }
    const int width = device.ScreenWidth();
    return RECT{width - device.Scale(kCaptionOkWidth), 0, width, device.BarHeight()};
}

void Screen::DrawTaskBar(cairo_t* cairo) {
    const double width = device.ScreenWidth();
    const double height = device.BarHeight();
    VerticalGradient(cairo, 0, height, theme::kTaskBarTop, theme::kTaskBarBottom);
    cairo_rectangle(cairo, 0, 0, width, height);
    cairo_fill(cairo);

    const double fontSize = device.Scale(theme::kTaskBarFontPixels);
    const double padding = device.Scale(6);
    const FontMetrics metrics = UiFont::Metrics(fontSize, true);
    const double textTop = (height - metrics.height) / 2;
    SetSourceColor(cairo, theme::kTaskBarText);

    double right = width;
    if (const std::optional<RECT> ok = CaptionOkButton()) {
        const double inset = device.Scale(3);
        cairo_rectangle(cairo, ok->left + inset, ok->top + inset, ok->right - ok->left - 2 * inset,
                        ok->bottom - ok->top - 2 * inset);
        cairo_set_line_width(cairo, 1);
        cairo_stroke(cairo);
        const std::u16string label = u"ok";
        const double labelWidth = UiFont::TextWidth(label, fontSize, true);
        UiFont::Draw(cairo, label, (ok->left + ok->right - labelWidth) / 2, textTop, fontSize,
                     true);
        right = ok->left;
    }
    const std::u16string clock = ClockText();
    const double clockWidth = UiFont::TextWidth(clock, fontSize, false);
    UiFont::Draw(cairo, clock, right - padding - clockWidth, textTop, fontSize, false);

    const Window* foreground = device.Windows().Active();
    if (foreground != nullptr && foreground->life != WindowLife::Gone) {
        cairo_save(cairo);
        cairo_rectangle(cairo, 0, 0, right - clockWidth - 2 * padding, height);
        cairo_clip(cairo);
        UiFont::Draw(cairo, foreground->text, padding, textTop, fontSize, true);
        cairo_restore(cairo);
    }
}

std::unique_ptr<Canvas> Screen::Compose() {
    const int width = device.ScreenWidth();
    const int height = device.ScreenHeight();
    auto screen = std::make_unique<Canvas>(width, height);
    CairoContext cairo(screen->Surface());
    SetSourceColor(cairo, theme::kDesktop);
    cairo_paint(cairo);

    const auto& topLevel = device.Windows().TopLevel();
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
        if (((*it)->exStyle & WS_EX_TOPMOST) == 0) {
            DrawWindow(cairo, **it, 0, 0, width, height);
        }
    }
    if (taskBarVisible) {
        DrawTaskBar(cairo);
    }
    for (auto it = topLevel.rbegin(); it != topLevel.rend(); ++it) {
        if (((*it)->exStyle & WS_EX_TOPMOST) != 0) {
            DrawWindow(cairo, **it, 0, 0, width, height);
        }
    }
    if (overlay) {
        cairo_set_source_surface(cairo, overlay->Surface(), 0, 0);
        cairo_paint(cairo);
    }
    cairo_surface_flush(screen->Surface());
    return screen;
}

std::vector<unsigned char> Screen::Png() {
    const auto screen = Compose();
    std::vector<unsigned char> png;
    cairo_surface_write_to_png_stream(screen->Surface(), AppendPng, &png);
    return png;
}

bool Screen::SavePng(const std::filesystem::path& path) {
    const auto screen = Compose();
    return cairo_surface_write_to_png(screen->Surface(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

} // namespace sim
