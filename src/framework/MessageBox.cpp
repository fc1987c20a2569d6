#include "framework/MessageBox.h"

#include "framework/Application.h"
#include "framework/FrameWindow.h"
#include "framework/Strings.h"
#include "platform/Program.h"
#include "platform/Window.h"

namespace framework {

int ShowMessageBox(const std::u16string& text, UINT type) {
    const FrameWindow* main = FindMainWindow();
    const std::u16string title =
        main != nullptr ? main->GetApplication()->Title() : ModuleBaseName();
    // A box owned by the disabled main window would leave an open dialog
    // usable behind it; the active window is the dialog then.
    HWND owner = GetActiveWindow();
    if (owner == nullptr || GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
        owner = main != nullptr ? main->Handle() : nullptr;
    }
    return MessageBoxW(owner, text.c_str(), title.c_str(), type);
}

int ShowMessageBox(UINT stringId, UINT type) {
    return ShowMessageBox(LoadString(stringId), type);
}

} // namespace framework
