#include "host/WindowKeys.h"

#include "platform/Input.h"

namespace host {
namespace {

constexpr struct {
    SDL_Keycode code;
    DeviceButton button;
} kButtonKeys[] = {
    {SDLK_F1, DeviceButton::App1},         {SDLK_F2, DeviceButton::App2},
    {SDLK_F3, DeviceButton::App3},         {SDLK_F4, DeviceButton::App4},
    {SDLK_F5, DeviceButton::App5},         {SDLK_F6, DeviceButton::App6},
    {SDLK_F7, DeviceButton::Record},       {SDLK_F8, DeviceButton::Talk},
    {SDLK_F9, DeviceButton::End},          {SDLK_RETURN, DeviceButton::Action},
    {SDLK_KP_ENTER, DeviceButton::Action}, {SDLK_UP, DeviceButton::Up},
    {SDLK_DOWN, DeviceButton::Down},       {SDLK_LEFT, DeviceButton::Left},
    {SDLK_RIGHT, DeviceButton::Right},
};

constexpr struct {
    SDL_Keycode code;
    BYTE key;
} kPlainKeys[] = {
    {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},       {SDLK_ESCAPE, VK_ESCAPE},
    {SDLK_DELETE, VK_DELETE},  {SDLK_INSERT, VK_INSERT}, {SDLK_HOME, VK_HOME},
    {SDLK_END, VK_END},        {SDLK_PAGEUP, VK_PRIOR},  {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_LSHIFT, VK_SHIFT},   {SDLK_RSHIFT, VK_SHIFT},  {SDLK_LCTRL, VK_CONTROL},
    {SDLK_RCTRL, VK_CONTROL},
};

} // namespace

std::optional<WindowKey> MapWindowKey(SDL_Keycode code, bool controlHeld) {
    for (const auto& entry : kButtonKeys) {
        if (entry.code == code) {
            return WindowKey{entry.button, 0};
        }
    }
    for (const auto& entry : kPlainKeys) {
        if (entry.code == code) {
            return WindowKey{std::nullopt, entry.key};
        }
    }
    if (controlHeld && code >= SDLK_a && code <= SDLK_z) {
        return WindowKey{std::nullopt, static_cast<BYTE>('A' + (code - SDLK_a))};
    }
    if (controlHeld && code >= SDLK_0 && code <= SDLK_9) {
        return WindowKey{std::nullopt, static_cast<BYTE>('0' + (code - SDLK_0))};
    }
    return std::nullopt;
}

} // namespace host
