#include "host/DeviceFrame.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace host {
namespace {

// The case, in case units.
constexpr int kSideMargin = 12;
constexpr int kTopMargin = 18;
constexpr int kButtonArea = 64;
constexpr int kBottomMargin = 8;
constexpr int kPadRadius = 26;
constexpr int kActionRadius = 10;
constexpr int kKeyWidth = 30;
constexpr int kKeyHeight = 20;
constexpr int kKeyGap = 8;

void RoundedRectangle(cairo_t* cairo, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cairo);
    cairo_arc(cairo, x + w - r, y + r, r, -std::numbers::pi / 2, 0);
    cairo_arc(cairo, x + w - r, y + h - r, r, 0, std::numbers::pi / 2);
    cairo_arc(cairo, x + r, y + h - r, r, std::numbers::pi / 2, std::numbers::pi);
    cairo_arc(cairo, x + r, y + r, r, std::numbers::pi, 3 * std::numbers::pi / 2);
    cairo_close_path(cairo);
}

void Label(cairo_t* cairo, const char* text, double cx, double cy, double size) {
    cairo_select_font_face(cairo, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cairo, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, text, &extents);
    cairo_move_to(cairo, cx - extents.width / 2 - extents.x_bearing,
                  cy - extents.height / 2 - extents.y_bearing);
    cairo_show_text(cairo, text);
}

bool IsPressed(const std::vector<DeviceButton>& pressed, DeviceButton button) {
    return std::find(pressed.begin(), pressed.end(), button) != pressed.end();
}

void ButtonFill(cairo_t* cairo, bool down) {
    if (down) {
        cairo_set_source_rgb(cairo, 0.28, 0.30, 0.34);
    } else {
        cairo_set_source_rgb(cairo, 0.50, 0.53, 0.58);
    }
}

} // namespace

int DeviceFrame::DefaultZoom(int width, int height) {
    return std::max(width, height) <= 400 ? 2 : 1;
}

DeviceFrame::DeviceFrame(int deviceWidth, int deviceHeight, int dpi, int windowZoom)
    : screenWidth(deviceWidth), screenHeight(deviceHeight), zoom(std::max(windowZoom, 1)),
      unit(std::max(1, static_cast<int>(std::lround(zoom * dpi / 96.0)))) {
    screenArea =
        FrameRect{kSideMargin * unit, kTopMargin * unit, screenWidth * zoom, screenHeight * zoom};
    width = screenArea.width + 2 * kSideMargin * unit;
    height = screenArea.y + screenArea.height + kButtonArea * unit + kBottomMargin * unit;

    padX = width / 2;
    padY = screenArea.y + screenArea.height + kButtonArea * unit / 2;
    padRadius = kPadRadius * unit;
    actionRadius = kActionRadius * unit;

    const int keyWidth = kKeyWidth * unit;
    const int keyHeight = kKeyHeight * unit;
    const int gap = kKeyGap * unit;
    const int keyTop = padY - keyHeight / 2;
    const int inner = padRadius + gap;
    keys = {
        {DeviceButton::App2, {padX - inner - keyWidth, keyTop, keyWidth, keyHeight}, "APP2"},
        {DeviceButton::App1,
         {padX - inner - 2 * keyWidth - gap, keyTop, keyWidth, keyHeight},
         "APP1"},
        {DeviceButton::App3, {padX + inner, keyTop, keyWidth, keyHeight}, "APP3"},
        {DeviceButton::App4, {padX + inner + keyWidth + gap, keyTop, keyWidth, keyHeight}, "APP4"},
        {DeviceButton::Record,
         {screenArea.x, (screenArea.y - keyHeight * 2 / 3) / 2, keyWidth, keyHeight * 2 / 3},
         "REC"},
    };
}

FrameHit DeviceFrame::HitTest(int x, int y) const {
    FrameHit hit;
    if (screenArea.Contains(x, y)) {
        hit.screenPoint = POINT{(x - screenArea.x) / zoom, (y - screenArea.y) / zoom};
        return hit;
    }
    for (const RoundButton& key : keys) {
        if (key.rect.Contains(x, y)) {
            hit.button = key.button;
            return hit;
        }
    }
    const double dx = x - padX;
    const double dy = y - padY;
    const double distance = std::hypot(dx, dy);
    if (distance <= actionRadius) {
        hit.button = DeviceButton::Action;
    } else if (distance <= padRadius) {
        // The ring is four quarters, one for each direction.
        if (std::abs(dx) >= std::abs(dy)) {
            hit.button = dx < 0 ? DeviceButton::Left : DeviceButton::Right;
        } else {
            hit.button = dy < 0 ? DeviceButton::Up : DeviceButton::Down;
        }
    }
    return hit;
}

POINT DeviceFrame::ClampToScreen(int x, int y) const {
    const int px = std::clamp((x - screenArea.x) / zoom, 0, screenWidth - 1);
    const int py = std::clamp((y - screenArea.y) / zoom, 0, screenHeight - 1);
    return POINT{px, py};
}

void DeviceFrame::Draw(cairo_t* cairo, cairo_surface_t* screen,
                       const std::vector<DeviceButton>& pressed) const {
    // The case.
    cairo_set_source_rgb(cairo, 0.12, 0.12, 0.13);
    cairo_paint(cairo);
    RoundedRectangle(cairo, 1, 1, width - 2, height - 2, 14.0 * unit);
    cairo_set_source_rgb(cairo, 0.22, 0.23, 0.25);
    cairo_fill(cairo);

    // The screen, each device pixel a square of zoom x zoom.
    cairo_save(cairo);
    cairo_rectangle(cairo, screenArea.x, screenArea.y, screenArea.width, screenArea.height);
    cairo_clip(cairo);
    cairo_translate(cairo, screenArea.x, screenArea.y);
    cairo_scale(cairo, zoom, zoom);
    cairo_set_source_rgb(cairo, 0, 0, 0);
    cairo_paint(cairo);
    if (screen != nullptr) {
        cairo_set_source_surface(cairo, screen, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_NEAREST);
        cairo_paint(cairo);
    }
    cairo_restore(cairo);

    // The buttons.
    for (const RoundButton& key : keys) {
        RoundedRectangle(cairo, key.rect.x, key.rect.y, key.rect.width, key.rect.height,
                         key.rect.height / 2.0);
        ButtonFill(cairo, IsPressed(pressed, key.button));
        cairo_fill(cairo);
        cairo_set_source_rgb(cairo, 0.92, 0.93, 0.95);
        Label(cairo, key.label, key.rect.x + key.rect.width / 2.0,
              key.rect.y + key.rect.height / 2.0, 7.0 * unit);
    }

    // The navigation pad: four quarters round the Action centre.
    const struct {
        DeviceButton button;
        double angle;
    } quarters[] = {{DeviceButton::Right, 0},
                    {DeviceButton::Down, std::numbers::pi / 2},
                    {DeviceButton::Left, std::numbers::pi},
                    {DeviceButton::Up, 3 * std::numbers::pi / 2}};
    for (const auto& quarter : quarters) {
        cairo_new_path(cairo);
        cairo_arc(cairo, padX, padY, padRadius, quarter.angle - std::numbers::pi / 4,
                  quarter.angle + std::numbers::pi / 4);
        cairo_arc_negative(cairo, padX, padY, actionRadius + unit,
                           quarter.angle + std::numbers::pi / 4,
                           quarter.angle - std::numbers::pi / 4);
        cairo_close_path(cairo);
        ButtonFill(cairo, IsPressed(pressed, quarter.button));
        cairo_fill(cairo);
        // An arrow head pointing outwards.
        const double r = (padRadius + actionRadius) / 2.0;
        const double tipX = padX + std::cos(quarter.angle) * (r + 4 * unit);
        const double tipY = padY + std::sin(quarter.angle) * (r + 4 * unit);
        const double baseX = padX + std::cos(quarter.angle) * (r - 3 * unit);
        const double baseY = padY + std::sin(quarter.angle) * (r - 3 * unit);
        const double sideX = -std::sin(quarter.angle) * 4 * unit;
        const double sideY = std::cos(quarter.angle) * 4 * unit;
        cairo_move_to(cairo, tipX, tipY);
        cairo_line_to(cairo, baseX + sideX, baseY + sideY);
        cairo_line_to(cairo, baseX - sideX, baseY - sideY);
        cairo_close_path(cairo);
        cairo_set_source_rgb(cairo, 0.92, 0.93, 0.95);
        cairo_fill(cairo);
    }
    cairo_new_path(cairo);
    cairo_arc(cairo, padX, padY, actionRadius, 0, 2 * std::numbers::pi);
    ButtonFill(cairo, IsPressed(pressed, DeviceButton::Action));
    cairo_fill(cairo);
}

} // namespace host
