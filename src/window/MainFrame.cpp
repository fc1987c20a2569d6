#include "window/MainFrame.h"

#include "framework/Menu.h"
#include "platform/Controls.h"
#include "platform/Input.h"
#include "platform/Messages.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "platform/Window.h"
#include "resources/resource.h"

namespace player {
namespace {

// The platform's help request.
constexpr UINT kHelpMessage = 0x0053;
constexpr char16_t kHelpViewer[] = u"peghelp.exe";
constexpr char16_t kHelpTopic[] = u"file:vantrel.htm#Main_Contents";

// The Action key, registered on the frame for its whole life.
constexpr int kActionHotKeyId = 104;
// The menu bar gives the Action key no handling of its own and passes it on.
constexpr WORD kOverrideMask = SHMBOF_NODEFAULT | SHMBOF_NOTIFY;
constexpr WORD kOverrideFlags = SHMBOF_NODEFAULT | SHMBOF_NOTIFY;

// The small toolbar images fit screens up to this width.
constexpr int kSmallToolbarMaxWidth = 320;
// Both command bars carry the frame's usual toolbar window id.
constexpr UINT kCommandBarWindowId = 0xE800;

// Positions in the "Control" popup and its "Screen" submenu.
constexpr int kScreenPosition = 5;
constexpr int kScaleModePosition = 3;
constexpr int kZoomPosition = 6;

} // namespace

void CMainFrame::ApplyScreenMode(bool fullScreen) {
    if (Handle() == nullptr || GetActiveWindow() != Handle()) {
        return;
    }
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    if (fullScreen) {
        SHFullScreen(Handle(), SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON);
        MoveWindow(0, 0, width, height, true);
        CurrentCommandBar().Show(false);
        return;
    }
    const int menuBar = GetSystemMetrics(SM_CYMENU);
    SHFullScreen(Handle(), SHFS_SHOWTASKBAR | SHFS_HIDESIPBUTTON);
    CurrentCommandBar().Show(true);
    MoveWindow(0, menuBar, width, height - 2 * menuBar, true);
    CurrentCommandBar().Show(true);
}

void CMainFrame::ToggleToolbar() {
    if (currentBar == toolbarCommandBar.Handle()) {
        currentBar = plainCommandBar.Handle();
        plainCommandBar.Show(true);
        toolbarCommandBar.Show(false);
        view.settings.toolbarState = 0;
    } else {
        currentBar = toolbarCommandBar.Handle();
        plainCommandBar.Show(false);
        toolbarCommandBar.Show(true);
        view.settings.toolbarState = 8;
    }
}

void CMainFrame::OpenFromCommandLine(const std::u16string& commandLine) {
    ShowWindow(SW_SHOW);
    UpdateWindow();
    SetForegroundWindow(Handle());
    Sleep(50);
    // No header probe on this road, and the text as it came.
    view.OpenMovieUrl(u"file://" + commandLine);
}

bool CMainFrame::PreCreateWindow(framework::CreateParams& params) {
    if (!FrameWindow::PreCreateWindow(params)) {
        return false;
    }
    // No class style, cursor, background or icon: the view covers it all.
    params.traits = framework::WindowClassTraits{};
    return true;
}

LRESULT CMainFrame::WindowProc(const framework::Message& message) {
    if (message.id == kHelpMessage) {
        std::u16string topic = kHelpTopic;
        CreateProcessW(kHelpViewer, topic.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       nullptr, nullptr);
    }
    return FrameWindow::WindowProc(message);
}

const framework::MessageTable& CMainFrame::Messages() const {
    using T = framework::Table<CMainFrame>;
    // Size goes on to the frame's own handling: the view over the client area.
    static const T table{FrameWindow::Messages(),
                         {
                             T::Create(&CMainFrame::OnCreate),
                             T::SetFocus(&CMainFrame::OnSetFocus),
                             T::Activate(&CMainFrame::OnActivate),
                             T::HotKey(&CMainFrame::OnHotKey),
                             T::InitMenuPopup(&CMainFrame::OnInitMenuPopup),
                             T::Command(ID_VOLUME_BAR, &CMainFrame::OnVolumeBarCommand),
                             T::Command(ID_EXIT, &CMainFrame::OnExit),
                             T::Command(ID_SHOW_TOOLBAR, &CMainFrame::ToggleToolbar),
                             T::Destroy(&CMainFrame::OnDestroy),
                         }};
    return table;
}

bool CMainFrame::OnCreate(const CREATESTRUCTW&) {
    if (Default() == -1) {
        return false;
    }
    framework::CreateParams viewParams;
    viewParams.style = WS_CHILD | WS_VISIBLE | WS_BORDER;
    viewParams.SetRect(RECT{0, 0, 0, 0});
    viewParams.parent = Handle();
    viewParams.id = ID_PLAYER_VIEW;
    // The view reads the settings file as the last step of its creation.
    if (!view.Create(std::move(viewParams))) {
        return false;
    }
    if (!CreateCommandBars()) {
        return false;
    }
    // The Play button shows until a movie plays.
    toolbarCommandBar.HideButton(ID_PAUSE, true);
    RegisterHotKey(Handle(), kActionHotKeyId, 0, VK_F23);
    SendMessageW(currentBar, SHCMBM_OVERRIDEKEY, VK_F23, MAKELPARAM(kOverrideMask, kOverrideFlags));
    ApplyScreenMode(false);
    if (view.settings.toolbarState == 0) {
        ToggleToolbar();
    }
    return true;
}

const framework::CommandBar& CMainFrame::CurrentCommandBar() const {
    return currentBar == plainCommandBar.Handle() ? plainCommandBar : toolbarCommandBar;
}

bool CMainFrame::CreateCommandBars() {
    if (!toolbarCommandBar.Create(Handle(), IDR_MAINFRAME, kCommandBarWindowId)) {
        return false;
    }
    const UINT toolbar = GetSystemMetrics(SM_CXSCREEN) <= kSmallToolbarMaxWidth
                             ? IDR_MAINFRAME
                             : IDR_MAINFRAME_LARGE;
    if (!toolbarCommandBar.AddToolbarButtons(toolbar)) {
        return false;
    }
    if (!plainCommandBar.Create(Handle(), IDR_MAINFRAME, kCommandBarWindowId)) {
        return false;
    }
    plainCommandBar.Show(false);
    currentBar = toolbarCommandBar.Handle();
    return true;
}

void CMainFrame::OnSetFocus(HWND) {
    view.SetFocus();
}

void CMainFrame::OnActivate(UINT state, HWND, bool) {
    Default();
    if (state == WA_INACTIVE) {
        view.UnregisterPlayerHotKeys();
        return;
    }
    ApplyScreenMode(view.fullScreen);
    SHFullScreen(Handle(), SHFS_HIDESIPBUTTON);
    view.RegisterPlayerHotKeys();
}

void CMainFrame::OnHotKey(int, UINT modifiers, UINT key) {
    // Each press comes twice, the second time as the release.
    if ((modifiers & MOD_KEYUP) != 0) {
        return;
    }
    view.OnHardwareKey(key);
}

void CMainFrame::OnInitMenuPopup(HMENU popup, UINT, bool) {
    // Only the "Control" popup has these submenus; any other gets no marks.
    if (const HMENU screen = GetSubMenu(popup, kScreenPosition)) {
        if (const HMENU scaleMode = GetSubMenu(screen, kScaleModePosition)) {
            framework::SetMenuRadioByPosition(scaleMode, 0, 3, view.settings.scaleMode);
        }
        framework::SetMenuCheck(screen, ID_SHOW_TOOLBAR, currentBar == toolbarCommandBar.Handle());
    }
    if (const HMENU zoom = GetSubMenu(popup, kZoomPosition)) {
        framework::SetMenuRadioByPosition(zoom, 0, 10, (view.zoomPercent - 100) / 5);
    }
    Default();
}

void CMainFrame::OnVolumeBarCommand() {
    // The view takes this command first (it shows the volume bar).
}

void CMainFrame::OnExit() {
    DestroyWindow();
    PostQuitMessage(0);
}

void CMainFrame::OnDestroy() {
    view.SaveSettings();
    Default();
}

} // namespace player
