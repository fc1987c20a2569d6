#include "framework/Dialog.h"

#include <array>

#include "framework/FrameWindow.h"
#include "framework/Strings.h"
#include "platform/Controls.h"
#include "platform/Shell.h"
#include "platform/Text.h"

namespace framework {
namespace {

bool IsEdit(HWND control) {
    std::array<WCHAR, 16> name{};
    const int length = GetClassNameW(control, name.data(), static_cast<int>(name.size()));
    return length > 0 &&
           text::EqualsIgnoringCase(
               std::u16string_view(name.data(), static_cast<std::size_t>(length)), WC_EDITW);
}

} // namespace

INT_PTR Dialog::DoModal() {
    if (Handle() != nullptr) {
        return kAborted;
    }
    result = kAborted;
    softKeyBar = nullptr;
    HWND owner = parent != nullptr ? parent->Handle() : nullptr;
    if (parent == nullptr) {
        if (const FrameWindow* main = FindMainWindow()) {
            owner = main->Handle();
        }
    }
    const INT_PTR ran =
        DialogBoxParamW(ProgramInstance(), MAKEINTRESOURCEW(static_cast<WORD>(templateId)), owner,
                        &Dialog::DialogProcedure, reinterpret_cast<LPARAM>(this));
    softKeyBar = nullptr;
    return ran == -1 ? kAborted : result;
}

void Dialog::EndDialog(INT_PTR endResult) {
    result = endResult;
    if (Handle() != nullptr) {
        ::EndDialog(Handle(), endResult);
    }
}

bool Dialog::UpdateData(bool fromControls) {
    if (Handle() == nullptr) {
        return false;
    }
    if (!fromControls) {
        DataExchange show(Handle(), DataExchange::Direction::ToControls);
        DoDataExchange(show);
        return !show.Failed();
    }
    DataExchange check(Handle(), DataExchange::Direction::Validate);
    DoDataExchange(check);
    if (check.Failed()) {
        const HWND control = check.FailedControl();
        if (IsEdit(control)) {
            SendMessageW(control, EM_SETSEL, 0, -1);
        }
        ::SetFocus(control);
        return false;
    }
    DataExchange store(Handle(), DataExchange::Direction::FromControls);
    DoDataExchange(store);
    return !store.Failed();
}

bool Dialog::CreateSoftKeyBar(UINT menuId) {
    if (Handle() == nullptr) {
        return false;
    }
    SHMENUBARINFO info;
    info.hwndParent = Handle();
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = menuId;
    info.hInstRes = ProgramInstance();
    if (SHCreateMenuBar(&info) == FALSE) {
        return false;
    }
    softKeyBar = info.hwndMB;
    return true;
}

bool Dialog::OnInitDialog() {
    SHINITDLGINFO info;
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = Handle();
    info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
    SHInitDialog(&info);
    UpdateData(false);
    return true;
}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void Dialog::OnCancel() {
    EndDialog(IDCANCEL);
}

const MessageTable& Dialog::Messages() const {
    using T = Table<Dialog>;
    static const T table{Window::Messages(),
                         {T::InitDialog(&Dialog::OnInitDialog), T::Command(IDOK, &Dialog::OnOK),
                          T::Command(IDCANCEL, &Dialog::OnCancel)}};
    return table;
}

INT_PTR Dialog::DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // Once the object is attached, every message reaches its table through the
    // subclass first; whatever comes here is on its way to the dialog's default
    // processing, so it is not handled again.
    if (message != WM_INITDIALOG || Window::FromHandle(dialog) != nullptr) {
        return FALSE;
    }
    auto* object = reinterpret_cast<Dialog*>(lParam);
    if (object == nullptr || !object->Subclass(dialog)) {
        return FALSE;
    }
    return object->Deliver(Message{message, wParam, lParam});
}

} // namespace framework
