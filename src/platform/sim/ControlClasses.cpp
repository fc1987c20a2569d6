#include "platform/Controls.h"
#include "platform/Window.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/MenuTable.h"
#include "platform/sim/PopupMenu.h"
#include "platform/sim/SystemClasses.h"

namespace sim {
namespace {

struct ClassEntry {
    LPCWSTR name;
    WNDPROC procedure;
    UINT style;
};

// CS_PARENTDC would let controls draw over their parent; here every control
// paints its own area, so none asks for it.
constexpr ClassEntry kClasses[] = {
    {WC_STATICW, StaticProc, 0},
    {WC_BUTTONW, ButtonProc, CS_DBLCLKS},
    {WC_EDITW, EditProc, CS_DBLCLKS},
    {WC_LISTBOXW, ListBoxProc, CS_DBLCLKS},
    {WC_COMBOBOXW, ComboBoxProc, CS_DBLCLKS},
    {kDropListClass, DropListProc, 0},
    {TRACKBAR_CLASSW, TrackbarProc, 0},
    {TOOLBARCLASSNAMEW, ToolbarProc, 0},
    {kMenuBarClass, MenuBarProc, 0},
    {kPopupMenuClass, PopupMenuProc, 0},
    {kMessageBoxClass, MessageBoxProc, 0},
    {kOpenFileClass, OpenFileProc, 0},
};

} // namespace

void InstallControlClasses(Device& device) {
    for (const ClassEntry& entry : kClasses) {
        WNDCLASSW wndClass;
        wndClass.style = entry.style | CS_GLOBALCLASS;
        wndClass.lpfnWndProc = entry.procedure;
        wndClass.lpszClassName = entry.name;
        RegisterSystemClass(device, wndClass);
    }
    device.Menus().SetPopupTracker(TrackPopupMenuRequest);
}

} // namespace sim

// The classes are there from the device's start; these remain for programs
// written to call them.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    return init != nullptr ? TRUE : FALSE;
}

void InitCommonControls() {}
