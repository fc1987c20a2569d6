#include "framework/ChildWindow.h"

#include "platform/Painting.h"
#include "platform/Resources.h"

namespace framework {

bool ChildWindow::PreCreateWindow(CreateParams& params) {
    if (!Window::PreCreateWindow(params)) {
        return false;
    }
    params.style |= WS_CHILD;
    params.traits.style = CS_DBLCLKS;
    params.traits.cursor = LoadCursorW(nullptr, IDC_ARROW);
    params.traits.background = GetSysColorBrush(COLOR_WINDOW);
    return true;
}

} // namespace framework
