#include "host/WindowKeys.h"

#include <gtest/gtest.h>

#include "platform/Input.h"

namespace host {
namespace {

TEST(WindowKeys, FunctionKeysReturnAndArrowsAreTheHandheldsButtons) {
    const std::pair<SDL_Keycode, DeviceButton> buttons[] = {
        {SDLK_F1, DeviceButton::App1},   {SDLK_F6, DeviceButton::App6},
        {SDLK_F7, DeviceButton::Record}, {SDLK_F8, DeviceButton::Talk},
        {SDLK_F9, DeviceButton::End},    {SDLK_RETURN, DeviceButton::Action},
        {SDLK_UP, DeviceButton::Up},     {SDLK_LEFT, DeviceButton::Left},
    };
    for (const auto& [code, button] : buttons) {
        const auto key = MapWindowKey(code, false);
        ASSERT_TRUE(key && key->button) << code;
        EXPECT_EQ(*key->button, button) << code;
    }
    EXPECT_FALSE(MapWindowKey(SDLK_F10, false));
}

TEST(WindowKeys, CharactersComeAsTextUnlessCtrlIsHeld) {
    EXPECT_FALSE(MapWindowKey(SDLK_n, false));
    EXPECT_FALSE(MapWindowKey(SDLK_5, false));
    const auto controlN = MapWindowKey(SDLK_n, true);
    ASSERT_TRUE(controlN);
    EXPECT_FALSE(controlN->button);
    EXPECT_EQ(controlN->key, 'N');
    EXPECT_EQ(MapWindowKey(SDLK_BACKSPACE, false)->key, VK_BACK);
    EXPECT_EQ(MapWindowKey(SDLK_RCTRL, false)->key, VK_CONTROL);
    EXPECT_EQ(MapWindowKey(SDLK_PAGEDOWN, false)->key, VK_NEXT);
}

} // namespace
} // namespace host
