// The dialog manager: dialogs made from binary templates (dialog units from
// the template's font, controls by class number or name, WM_INITDIALOG, the
// focus to the first tab stop), the dialog procedure behind the dialog class,
// modal runs ending with a result, and the modal loop that every modal piece of
// the device (dialogs, message boxes, popup menus, the file dialog) runs on the
// program's one queue.
#pragma once

#include <functional>
#include <span>

#include "platform/Dialogs.h"
#include "platform/ResourceFormats.h"
#include "platform/WinTypes.h"

namespace sim {

class Program;

// What a dialog's window keeps besides its DWL_* slots.
struct DialogInfo {
    // Set by EndDialog; the modal loop ends on it.
    bool ended = false;
    INT_PTR result = 0;
    // The owner a modal run disabled, to enable again at its end.
    HWND disabledOwner = nullptr;
    HFONT font = nullptr;
    // The template font's base units, in pixels.
    SIZE baseUnits;
    // The control that had the focus when the dialog was last active.
    HWND lastFocus = nullptr;
    // DM_SETDEFID's id; 0 for IDOK.
    WORD defaultId = 0;
};

// The dialog class's window extra bytes (DLGWINDOWEXTRA): the DWL_* slots.
constexpr int kDialogExtraBytes = 30;

// The base units of the device's UI font at a pixel size: the average width of
// the letters and the line height.
SIZE DialogBaseUnits(int pixelHeight);
// Dialog units to pixels with those base units.
RECT DialogUnitsToPixels(const RECT& units, SIZE baseUnits);

// Makes the dialog of a template for the calling program. The dialog is shown
// when the template says WS_VISIBLE; a modal run shows it anyway.
HWND CreateDialogFromTemplate(Program& program, HINSTANCE instance,
                              const res::DialogTemplate& dialogTemplate, HWND owner,
                              DLGPROC procedure, LPARAM initParam, DWORD& error);
// Runs a dialog modally: disables its owner, shows it, runs the modal loop
// until EndDialog (or until the dialog goes away) and destroys it. Returns
// EndDialog's result, or 0 when the dialog went away without it.
INT_PTR RunModalDialog(HWND dialog, HWND owner);

// The modal loop: runs the calling program's queue until finished() holds,
// passing messages through IsDialogMessageW of dialogKeys when given. A WM_QUIT
// ends it and is posted again for the loop outside; then it returns false.
bool RunModalLoop(const std::function<bool()>& finished, HWND dialogKeys);

// Selects the whole text of a control that keeps a selection (an edit box:
// DLGC_HASSETSEL), as the dialog manager does for a control it gives the
// focus to, so that typing replaces what the dialog put there.
void SelectForDialogFocus(HWND control);

// The byte length of a dialog template in memory, found by walking it (a
// template given by pointer carries no length).
std::size_t DialogTemplateLength(const DLGTEMPLATE* dialogTemplate);

} // namespace sim
