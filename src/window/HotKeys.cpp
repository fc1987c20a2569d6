// The hardware buttons the player takes as hot keys while it is in front, and
// what a press does: every key that acts toggles full screen.
#include <iterator>

#include "platform/Input.h"
#include "platform/Shell.h"
#include "window/MainFrame.h"
#include "window/PlayerView.h"

namespace player {
namespace {

// The Windows-key modifier the case's buttons come with, and a second
// notification at the release.
constexpr UINT kHotKeyModifiers = MOD_WIN | MOD_KEYUP;

// Hot-key ids 1 to 10, in registration order.
constexpr BYTE kPlayerHotKeys[] = {
    VK_APP1,   VK_APP2, VK_APP3, VK_APP4, VK_APP5, VK_APP6,
    VK_F4,  // the phone's End key: held and ignored
    VK_F3,  // the phone's Talk key: held and ignored
    VK_F10, // the Record button
    VK_RETURN,
};

constexpr BYTE kApplicationButtons[] = {VK_APP1, VK_APP2, VK_APP3, VK_APP4, VK_APP5, VK_APP6};

// Keys whose presses do nothing: the four arrows, Talk and End.
bool IsIgnoredKey(UINT keyCode) {
    return (keyCode >= VK_LEFT && keyCode <= VK_DOWN) || keyCode == VK_F3 || keyCode == VK_F4;
}

} // namespace

void CPlayerView::RegisterPlayerHotKeys() const {
    const HWND mainFrame = frame.Handle();
    int id = 1;
    // A key already taken, by the player or by another program, keeps its
    // registration.
    for (const BYTE key : kPlayerHotKeys) {
        RegisterHotKey(mainFrame, id++, kHotKeyModifiers, key);
    }
}

void CPlayerView::UnregisterPlayerHotKeys() const {
    for (const BYTE button : kApplicationButtons) {
        SHSetAppKeyWndAssoc(button, nullptr);
    }
    const HWND mainFrame = frame.Handle();
    for (int id = 1; id <= static_cast<int>(std::size(kPlayerHotKeys)); ++id) {
        UnregisterHotKey(mainFrame, id);
    }
}

void CPlayerView::OnHardwareKey(UINT keyCode) {
    if (modalUiOpen || IsIgnoredKey(keyCode)) {
        return;
    }
    ToggleFullScreen();
}

} // namespace player
