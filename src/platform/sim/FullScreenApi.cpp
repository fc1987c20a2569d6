// The shell's full-screen call and its extra controls on the current device.
#include "platform/Shell.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/ServicesAccess.h"
#include "platform/sim/SystemClasses.h"

namespace {

constexpr char16_t kInputPanelClass[] = u"SIPPREF";

// The input-panel preference control: a program puts one in a dialog to say
// how the input panel should behave there. This device has no input panel,
// so the control only has to exist.
LRESULT InputPanelProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

BOOL SHFullScreen(HWND window, DWORD state) {
    sim::Device* device = sim::Device::Current();
    sim::Window* found = sim::LookUpWindow(window);
    BOOL result = FALSE;
    if (found != nullptr) {
        device->Services().Shell().SetFullScreen(found->handle, state);
        device->Services().UpdateTaskBar();
        result = TRUE;
    }
    if (device != nullptr) {
        device->Record("SHFullScreen", {sim::JournalValue(window), state}, result != FALSE);
    }
    return result;
}

BOOL SHInitExtraControls() {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr) {
        return FALSE;
    }
    WNDCLASSW existing;
    if (!GetClassInfoW(nullptr, kInputPanelClass, &existing)) {
        WNDCLASSW windowClass;
        windowClass.lpfnWndProc = InputPanelProcedure;
        windowClass.lpszClassName = kInputPanelClass;
        sim::RegisterSystemClass(*device, windowClass);
    }
    device->Record("SHInitExtraControls", {}, true);
    return TRUE;
}
