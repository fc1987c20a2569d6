#include "platform/sim/ModalLoop.h"

namespace sim {

bool RunModalLoop(const std::function<bool()>& done, const std::function<bool(MSG&)>& intercept) {
    MSG msg;
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1) {
            return false;
        }
        if (intercept && intercept(msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

} // namespace sim
