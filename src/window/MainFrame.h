// The player's only top-level window: the Pocket PC menu bar (the soft keys
// "Open" and "Menu", with or without the toolbar buttons after them), the
// player view over its client area, the check marks of the "Control" menu,
// the layout for normal or full-screen display, and "Exit".
#pragma once

#include <string>

#include "framework/CommandBar.h"
#include "framework/FrameWindow.h"
#include "window/PlayerView.h"

namespace player {

class CMainFrame : public framework::FrameWindow {
public:
    CMainFrame() : view(*this) {}

    // Lays the frame out for full screen (true) or normal display; nothing
    // while the frame is not the active window.
    void ApplyScreenMode(bool fullScreen);
    // Switches between the bar with the toolbar buttons and the plain one.
    void ToggleToolbar();
    // Start-up: shows the frame in front and hands the control the command
    // line's movie, unchanged, behind "file://".
    void OpenFromCommandLine(const std::u16string& commandLine);

    CPlayerView& PlayerView() { return view; }
    // The bar whose Play, Pause and strip buttons the view sets, even while
    // the plain bar is the one shown.
    const framework::CommandBar& ToolbarCommandBar() const { return toolbarCommandBar; }

protected:
    bool PreCreateWindow(framework::CreateParams& params) override;
    LRESULT WindowProc(const framework::Message& message) override;
    const framework::MessageTable& Messages() const override;

private:
    bool OnCreate(const CREATESTRUCTW& create);
    void OnSetFocus(HWND previous);
    void OnActivate(UINT state, HWND other, bool minimized);
    void OnHotKey(int id, UINT modifiers, UINT key);
    void OnInitMenuPopup(HMENU popup, UINT index, bool windowMenu);
    void OnVolumeBarCommand();
    void OnExit();
    void OnDestroy();
    bool CreateCommandBars();
    // The bar whose window is currentBar.
    const framework::CommandBar& CurrentCommandBar() const;

    framework::CommandBar toolbarCommandBar;
    framework::CommandBar plainCommandBar;
    CPlayerView view;
    // toolbarCommandBar's or plainCommandBar's window.
    HWND currentBar = nullptr;
};

} // namespace player
