#include "app/PlayerApp.h"

#include <memory>

#include "app/HandoffFile.h"
#include "dialogs/AboutBox.h"
#include "framework/MessageBox.h"
#include "platform/Shell.h"
#include "platform/Sockets.h"
#include "resources/resource.h"
#include "window/MainFrame.h"

namespace player {

CPlayerApp::~CPlayerApp() {
    if (socketsStarted) {
        WSACleanup();
    }
}

bool CPlayerApp::InitApplication() {
    // Every launch, the first one included, records its movie: a running
    // player takes it from the hand-off file at its next tick.
    RecordOpenRequest(CommandLine());
    return true;
}

bool CPlayerApp::InitInstance() {
    if (singleInstance.HandedOver()) {
        return EndStartup(kHandedOver);
    }
    WSADATA sockets;
    socketsStarted = WSAStartup(MAKEWORD(1, 1), &sockets) == 0;
    if (!socketsStarted) {
        framework::ShowMessageBox(u"AfxSocketInit failed.", MB_OK);
    }
    SHInitExtraControls();
    EnableControlHosting();
    CMainFrame& frame = SetMainWindow(std::make_unique<CMainFrame>());
    // A frame that cannot be made leaves the player without a window; the
    // steps below then find nothing to act on.
    frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW);
    frame.ShowWindow(SW_SHOW);
    frame.UpdateWindow();
    frame.OpenFromCommandLine(CommandLine());
    return true;
}

const framework::MessageTable& CPlayerApp::Messages() const {
    using T = framework::Table<CPlayerApp>;
    static const T table{Application::Messages(),
                         {
                             T::Command(ID_APP_ABOUT, &CPlayerApp::OnAppAbout),
                             T::Command(ID_FILE_OPEN, &CPlayerApp::OnFileOpen),
                         }};
    return table;
}

void CPlayerApp::OnAppAbout() {
    CAboutBox about;
    about.DoModal();
}

void CPlayerApp::OnFileOpen() {
    if (auto* frame = dynamic_cast<CMainFrame*>(MainWindow())) {
        frame->PlayerView().RunOpenCommand();
    }
}

int PlayerMain(HINSTANCE instance, LPWSTR commandLine) {
    CPlayerApp application;
    return framework::RunProgram(application, instance, commandLine);
}

} // namespace player
