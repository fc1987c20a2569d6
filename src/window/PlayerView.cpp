#include "window/PlayerView.h"

#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "platform/Painting.h"
#include "platform/Resources.h"
#include "platform/Shell.h"
#include "platform/Window.h"
#include "resources/resource.h"
#include "window/MainFrame.h"

namespace player {
namespace {

constexpr UINT_PTR kStatusTimer = 101;
constexpr UINT kStatusPeriod = 50;

// The bottom strip: the volume label takes the first fifth of its width.
constexpr int kLabelPercent = 20;
constexpr int kSliderPercent = 80;

// The scale-mode commands, by the mode each selects.
constexpr struct {
    UINT command;
    int mode;
} kScaleModeCommands[] = {
    {ID_SCALE_SHOW_ALL, 0},
    {ID_SCALE_NO_BORDER, 1},
    {ID_SCALE_EXACT_FIT, 2},
    {ID_SCALE_NO_SCALE, 3},
};

} // namespace

bool CPlayerView::PreCreateWindow(framework::CreateParams& params) {
    if (!ChildWindow::PreCreateWindow(params)) {
        return false;
    }
    params.style &= ~WS_BORDER;
    params.traits.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.traits.cursor = LoadCursorW(nullptr, IDC_ARROW);
    params.traits.background = GetSysColorBrush(COLOR_WINDOW);
    params.traits.icon = nullptr;
    return true;
}

const framework::MessageTable& CPlayerView::Messages() const {
    using T = framework::Table<CPlayerView>;
    static const T table{ChildWindow::Messages(),
                         {
                             T::Paint(&CPlayerView::OnPaint),
                             T::Create(&CPlayerView::OnCreate),
                             T::Size(&CPlayerView::OnSize),
                             T::Command(ID_FILE_OPEN_LOCATION, &CPlayerView::RunOpenCommand),
                             T::Command(ID_PLAY_PAUSE, &CPlayerView::TogglePlayPause),
                             T::Command(ID_PAUSE, &CPlayerView::PausePlayback),
                             T::Command(ID_STOP, &CPlayerView::StopPlayback),
                             T::Command(ID_ROTATE_LEFT, &CPlayerView::OnRotateLeft),
                             T::Command(ID_ROTATE_RIGHT, &CPlayerView::OnRotateRight),
                             T::Command(ID_SEEK_FORWARD, &CPlayerView::StepForward),
                             T::Command(ID_SEEK_BACK, &CPlayerView::StepBack),
                             T::KeyUp(&CPlayerView::OnKeyUp),
                             T::Command(ID_TOGGLE_FULLSCREEN, &CPlayerView::ToggleFullScreen),
                             T::Timer(&CPlayerView::OnTimer),
                             T::Command(ID_FILE_OPEN, &CPlayerView::RunOpenCommand),
                             T::CommandRange(ID_SCALE_EXACT_FIT, ID_SCALE_NO_SCALE,
                                             &CPlayerView::OnScaleModeCommand),
                             T::Command(ID_JUMP_TO, &CPlayerView::JumpToPosition),
                             T::Command(ID_POSITION_BAR, &CPlayerView::TogglePositionBar),
                             T::Command(ID_VOLUME_BAR, &CPlayerView::ToggleVolumeBar),
                             T::HScroll(&CPlayerView::OnHScroll),
                             T::Destroy(&CPlayerView::OnDestroy),
                             T::ContextMenu(&CPlayerView::OnContextMenu),
                             T::Command(ID_OPTIONS, &CPlayerView::ShowOptions),
                             T::LButtonDown(&CPlayerView::OnLButtonDown),
                             T::CommandRange(ID_ZOOM_100, ID_ZOOM_150, &CPlayerView::OnZoomCommand),
                         }};
    return table;
}

void CPlayerView::OnPaint() {
    // The children draw themselves.
    const framework::PaintScope paint(*this);
}

bool CPlayerView::OnCreate(const CREATESTRUCTW&) {
    if (Default() == -1) {
        return false;
    }
    // Empty at this point: the frame makes the view with an empty rectangle,
    // and the first size notification gives it its real size.
    const RECT client = GetClientRect();
    const int bottom = client.bottom;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int menuBar = GetSystemMetrics(SM_CYMENU);

    if (!movieControl.CreateControl(Handle(), client)) {
        framework::ShowMessageBox(IDS_CONTROL_NOT_INSTALLED, MB_OK);
    }
    ::EnableWindow(movieControl.ControlWindow(), TRUE);
    RegisterPlayerHotKeys();

    const RECT strip{0, bottom - menuBar, screenWidth, bottom};
    positionSlider.Create(WS_CHILD | WS_VISIBLE, strip, Handle(), ID_POSITION_SLIDER);
    positionSlider.ShowWindow(SW_HIDE);

    const int labelWidth = screenWidth * kLabelPercent / 100;
    volumeSlider.Create(WS_CHILD | WS_VISIBLE, strip, Handle(), ID_VOLUME_SLIDER);
    volumeSlider.MoveWindow(labelWidth, bottom - menuBar,
                            screenWidth * kSliderPercent / 100 - labelWidth, menuBar);
    volumeSlider.ShowWindow(SW_HIDE);

    const std::u16string volumeText = framework::LoadString(IDS_VOLUME);
    volumeLabel.Create(volumeText, WS_CHILD, RECT{0, bottom - menuBar, labelWidth, bottom},
                       Handle(), ID_VOLUME_LABEL);
    volumeLabel.MoveWindow(0, bottom - menuBar, labelWidth, menuBar);
    volumeLabel.ShowWindow(SW_HIDE);

    SetTimer(kStatusTimer, kStatusPeriod);
    movieControl.SubclassControl();
    LoadSettings();
    return true;
}

void CPlayerView::OnSize(UINT, int width, int height) {
    Default();
    LayoutView(width, height);
}

int CPlayerView::StripHeight() {
    if (!pixelsPerInch) {
        // -1 stands for a screen whose device context cannot be had.
        int perInch = -1;
        if (const HDC screen = GetDC(nullptr)) {
            perInch = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
        }
        pixelsPerInch = perInch;
    }
    const int menuBar = GetSystemMetrics(SM_CYMENU);
    // The menu-bar height scaled from 96 pixels per inch, rounded.
    const int magnitude = menuBar < 0 ? -menuBar : menuBar;
    const int rounded = (magnitude * *pixelsPerInch + 48) / 96;
    int height = menuBar < 0 ? -rounded : rounded;
    // The menu bar of a high-resolution screen is already scaled.
    if (height >= 100) {
        height /= 2;
    }
    return height;
}

void CPlayerView::LayoutView(int width, int height) {
    const int strip = StripHeight();
    const RECT client = GetClientRect();
    const int clientHeight = client.bottom - client.top;
    const int stripTop = clientHeight - strip;
    // The control is one pixel wider and taller than the area it covers.
    if (movieControl.Exists()) {
        const bool stripShown =
            positionSlider.IsWindowVisible() != FALSE || volumeSlider.IsWindowVisible() != FALSE;
        ::MoveWindow(movieControl.ControlWindow(), 0, 0, width + 1,
                     (stripShown ? clientHeight - strip : height) + 1, TRUE);
    }
    positionSlider.MoveWindow(0, stripTop, width, strip);
    const int labelWidth = width * kLabelPercent / 100;
    volumeSlider.MoveWindow(labelWidth, stripTop, width * kSliderPercent / 100, strip);
    volumeLabel.MoveWindow(0, stripTop, labelWidth, strip);
}

void CPlayerView::OpenMovieUrl(std::u16string url) {
    movieControl.SetMovieUrl(url);
    movieControl.SetMenuEnabled(true);
    movieControl.SetQualityName(u"high");
    // No play request: the control loads the movie and the tick follows it.
    frame.ApplyScreenMode(fullScreen);
}

void CPlayerView::LoadSettings() {
    ReadSettingsFile(SettingsFilePath(), settings);
}

void CPlayerView::SaveSettings() const {
    WriteSettingsFile(SettingsFilePath(), settings);
}

void CPlayerView::OnRotateLeft() {
    RotateScreen(true);
}

void CPlayerView::OnRotateRight() {
    RotateScreen(false);
}

void CPlayerView::OnKeyUp(UINT, UINT, UINT) {
    Default();
    SaveSettings();
}

void CPlayerView::OnTimer(UINT_PTR id) {
    if (id != kStatusTimer) {
        Default();
        return;
    }
    StatusTick();
}

void CPlayerView::OnScaleModeCommand(UINT id) {
    for (const auto& entry : kScaleModeCommands) {
        if (entry.command == id) {
            SelectScaleMode(entry.mode);
        }
    }
}

void CPlayerView::OnHScroll(UINT, UINT, HWND sender) {
    SeekToSliderPosition(sender);
    Default();
}

void CPlayerView::OnDestroy() {
    SaveSettings();
    Default();
}

void CPlayerView::OnContextMenu(HWND, POINT screenPoint) {
    ShowViewPopup(screenPoint);
}

void CPlayerView::OnLButtonDown(UINT, POINT point) {
    // A plain tap on the view does nothing, not even default processing.
    SHRGINFO gesture;
    gesture.hwndClient = Handle();
    gesture.ptDown = point;
    gesture.dwFlags = SHRG_RETURNCMD;
    if (SHRecognizeGesture(&gesture) == GN_CONTEXTMENU) {
        POINT screenPoint = point;
        ClientToScreen(Handle(), &screenPoint);
        ShowViewPopup(screenPoint);
    }
}

void CPlayerView::ShowViewPopup(POINT screenPoint) {
    // The popup at position 1 of the menu attached to the view window. The
    // view is given no menu of its own, so there is nothing to show.
    if (const HMENU popup = viewMenu.SubMenu(1)) {
        framework::TrackPopup(popup, screenPoint, Handle());
    }
}

void CPlayerView::OnZoomCommand(UINT id) {
    SelectZoom(100 + 5 * static_cast<int>(id - ID_ZOOM_100));
}

} // namespace player
