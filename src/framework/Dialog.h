// The modal dialog: a dialog template of the program's resources, run by
// DoModal in the device's modal loop, with its own message table, data
// exchange between its controls and its members, and OK and Cancel as
// operations a dialog may override.
//
// The result starts out as kAborted and only EndDialog changes it, so a dialog
// that goes away in some other way never reads as OK. OK reads the controls
// into the members and ends with IDOK; Cancel ends with IDCANCEL and reads
// nothing, so the caller's members keep what it put in.
#pragma once

#include "framework/DataExchange.h"
#include "framework/Window.h"
#include "platform/Dialogs.h"

namespace framework {

class Dialog : public Window {
public:
    // What DoModal returns when the dialog ended without EndDialog, or could
    // not be made.
    static constexpr INT_PTR kAborted = -1;

    // The dialog on template templateId, owned by parent; with no parent the
    // application's main window owns it.
    explicit Dialog(UINT templateId, Window* parent = nullptr)
        : templateId(templateId), parent(parent) {}

    // Runs the dialog; returns the result given to EndDialog (IDOK, IDCANCEL...)
    // or kAborted.
    INT_PTR DoModal();
    // Ends the modal run with result.
    void EndDialog(INT_PTR result);

    // Members into the controls (false), or the controls into the members
    // (true): all of them, or, when one cannot be read, none; then the focus
    // goes to that control and the result is false.
    bool UpdateData(bool fromControls);

    // Gives the dialog the shell's soft-key bar built from menu resource
    // menuId (136: "OK" sends IDOK, "Cancel" IDCANCEL). The bar goes with the
    // dialog.
    bool CreateSoftKeyBar(UINT menuId);
    HWND SoftKeyBar() const { return softKeyBar; }

protected:
    // The dialog's bindings, in both directions (see DataExchange).
    virtual void DoDataExchange(DataExchange&) {}
    // Dialog initialisation: sizes the dialog to the screen, as the shell's
    // dialogs are, and shows the members in the controls. True lets the device
    // give the focus to the first control that takes it.
    virtual bool OnInitDialog();
    // IDOK: the controls into the members, then the end with IDOK; a control
    // that cannot be read keeps the dialog open, with the focus on it.
    virtual void OnOK();
    // IDCANCEL: the end with IDCANCEL, reading nothing.
    virtual void OnCancel();

    const MessageTable& Messages() const override;

private:
    static INT_PTR DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    UINT templateId;
    // Borrowed: the parent outlives the dialog's modal run.
    Window* parent;
    INT_PTR result = kAborted;
    HWND softKeyBar = nullptr;
};

} // namespace framework
