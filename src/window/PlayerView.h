// The player view: the one child window over the main frame's client area. It
// hosts the movie control and the bottom strip (the position slider, or the
// volume bar), holds the player's state, and its command table is where the
// menu, the menu bar, the toolbar, the accelerators and the movie's
// tap-and-hold popup reach the player's operations.
#pragma once

#include <optional>
#include <string>

#include "app/PlayerSettings.h"
#include "dialogs/VolumeSlider.h"
#include "framework/ChildWindow.h"
#include "framework/Menu.h"
#include "framework/Slider.h"
#include "framework/StaticText.h"
#include "movie/HeaderProbe.h"
#include "movie/ShockwaveFlash.h"

namespace player {

class CMainFrame;

class CPlayerView : public framework::ChildWindow {
public:
    // The view borrows its frame, which owns it and outlives it.
    explicit CPlayerView(CMainFrame& frame) : frame(frame) {}

    // ---- The player's state ----

    // Set while the Open or the Options dialog is shown; hot keys are
    // ignored meanwhile.
    bool modalUiOpen = false;
    bool fullScreen = false;
    // The power requirement that keeps the backlight on, or none.
    HANDLE backlightRequest = nullptr;
    bool slideMode = false;
    // The persisted values (backlightOption, landscapeInFullScreen,
    // storedValue3, storedValue4, storedFlag5, scaleMode, toolbarState).
    PlayerSettings settings;
    // The stage of the movie last opened through the Open dialog.
    SwfHeaderInfo header;
    // 100 to 150 in steps of 5; not persisted.
    int zoomPercent = 100;

    // ---- Operations other windows call ----

    // Hands a movie to the control and lays the frame out again.
    void OpenMovieUrl(std::u16string url);
    // Places the children for a client area of that size.
    void LayoutView(int width, int height);
    void LoadSettings();
    void SaveSettings() const;
    // The ten application-level hot keys, on the main frame.
    void RegisterPlayerHotKeys() const;
    void UnregisterPlayerHotKeys() const;
    // A hot key pressed (the frame's handler passes only presses on).
    void OnHardwareKey(UINT keyCode);
    // The Open command, which the application's table forwards here too.
    void RunOpenCommand();

    // ---- Full screen and rotation ----
    void ToggleFullScreen();
    void RotateScreen(bool left);
    static DWORD QueryDisplayOrientation();

    // ---- Playback ----
    void TogglePlayPause();
    void PausePlayback();
    void StopPlayback();
    void StepForward();
    void StepBack();
    void SelectScaleMode(int mode);
    void SelectZoom(int percent);
    void ApplyMoviePlacement();

    // ---- The status tick ----
    void StatusTick();
    bool CheckPendingOpen();

    // ---- The bottom strip ----
    void TogglePositionBar();
    void ToggleVolumeBar();

protected:
    bool PreCreateWindow(framework::CreateParams& params) override;
    const framework::MessageTable& Messages() const override;

private:
    // Message handlers, in the order of the table.
    void OnPaint();
    bool OnCreate(const CREATESTRUCTW& create);
    void OnSize(UINT type, int width, int height);
    void OnRotateLeft();
    void OnRotateRight();
    void OnKeyUp(UINT key, UINT repeat, UINT flags);
    void OnTimer(UINT_PTR id);
    void OnScaleModeCommand(UINT id);
    void JumpToPosition();
    void OnHScroll(UINT code, UINT position, HWND sender);
    void OnDestroy();
    void OnContextMenu(HWND window, POINT screenPoint);
    void ShowOptions();
    void OnLButtonDown(UINT keys, POINT point);
    void OnZoomCommand(UINT id);

    void SeekToSliderPosition(HWND sender);
    void ShowViewPopup(POINT screenPoint);
    // Shows the Play button and hides the Pause button, or the other way.
    void ShowPlayButton(bool play) const;
    // Places the backlight requirement and keeps what it gives (none on
    // failure).
    void PlaceBacklightRequest();
    void ReleaseBacklightRequest();
    bool BacklightKept() const;
    void ProbeMovieHeader(const std::u16string& path);
    // The strip's height for the current menu-bar height.
    int StripHeight();

    CMainFrame& frame;
    CShockwaveFlash movieControl;
    framework::Slider positionSlider;
    CVolumeSlider volumeSlider;
    framework::StaticText volumeLabel;
    // The view window is given no menu of its own: its popup finds nothing to
    // show (see ShowViewPopup).
    framework::Menu viewMenu;
    // The screen's vertical pixels per inch, read once.
    std::optional<int> pixelsPerInch;
    // The default movie is tried once, on the first tick that finds no
    // hand-off.
    bool defaultMoviePending = true;
};

} // namespace player
