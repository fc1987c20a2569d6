// The dialog functions of platform/Dialogs.h (the message box belongs to the
// device's controls).
#include "platform/Dialogs.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/DialogManager.h"
#include "platform/sim/Messaging.h"
#include "platform/sim/ModuleResources.h"
#include "platform/sim/UiFont.h"

using sim::Window;

namespace {

HWND CreateFromTemplateBytes(HINSTANCE instance, std::span<const std::byte> bytes, HWND owner,
                             DLGPROC procedure, LPARAM initParam) {
    sim::Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return nullptr;
    }
    const auto parsed = res::ParseDialogTemplate(bytes);
    if (!parsed.Ok()) {
        sim::Device::Current()->ReportProblem("dialog template: " + parsed.GetError().message);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    DWORD error = 0;
    const HWND dialog = sim::CreateDialogFromTemplate(*program, instance, parsed.Value(), owner,
                                                      procedure, initParam, error);
    if (dialog == nullptr) {
        SetLastError(error != 0 ? error : ERROR_INVALID_PARAMETER);
    }
    return dialog;
}

std::span<const std::byte> TemplateBytes(const DLGTEMPLATE* dialogTemplate) {
    return {reinterpret_cast<const std::byte*>(dialogTemplate),
            sim::DialogTemplateLength(dialogTemplate)};
}

sim::DialogInfo* DialogOf(HWND dialog) {
    Window* window = sim::LookUpWindow(dialog);
    return window != nullptr ? window->dialog.get() : nullptr;
}

} // namespace

HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC procedure,
                        LPARAM initParam) {
    const auto bytes = sim::ResourceData(instance, templateName, res::ResourceId(res::RT_DIALOG));
    if (!bytes) {
        return nullptr;
    }
    return CreateFromTemplateBytes(instance, *bytes, owner, procedure, initParam);
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM initParam) {
    if (dialogTemplate == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateFromTemplateBytes(instance, TemplateBytes(dialogTemplate), owner, procedure,
                                   initParam);
}

INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC procedure,
                        LPARAM initParam) {
    const auto bytes = sim::ResourceData(instance, templateName, res::ResourceId(res::RT_DIALOG));
    if (!bytes) {
        return -1;
    }
    const HWND dialog = CreateFromTemplateBytes(instance, *bytes, owner, procedure, initParam);
    return dialog != nullptr ? sim::RunModalDialog(dialog, owner) : -1;
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, const DLGTEMPLATE* dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM initParam) {
    if (dialogTemplate == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    const HWND dialog = CreateFromTemplateBytes(instance, TemplateBytes(dialogTemplate), owner,
                                                procedure, initParam);
    return dialog != nullptr ? sim::RunModalDialog(dialog, owner) : -1;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    sim::DialogInfo* info = DialogOf(dialog);
    if (info == nullptr) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    info->ended = true;
    info->result = result;
    // The owner comes back before the dialog goes, so that it is the window
    // activated next.
    if (const HWND owner = std::exchange(info->disabledOwner, nullptr); owner != nullptr) {
        EnableWindow(owner, TRUE);
    }
    ShowWindow(dialog, SW_HIDE);
    // Wakes the modal loop when EndDialog came from outside a message.
    PostMessageW(dialog, WM_NULL, 0, 0);
    return TRUE;
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = sim::LookUpWindow(dialog);
    if (window == nullptr) {
        return 0;
    }
    const auto procedure =
        reinterpret_cast<DLGPROC>(window->extra.size() > 1 ? window->extra[DWL_DLGPROC / 4] : 0);
    if (procedure != nullptr && window->dialog != nullptr) {
        SetWindowLongW(dialog, DWL_MSGRESULT, 0);
        const INT_PTR handled = procedure(dialog, message, wParam, lParam);
        if (!IsWindow(dialog)) {
            return handled;
        }
        if (handled != 0) {
            switch (message) {
            case WM_INITDIALOG:
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
                return handled;
            default:
                return GetWindowLongW(dialog, DWL_MSGRESULT);
            }
        }
    }
    sim::DialogInfo* info = window->dialog.get();
    if (info == nullptr) {
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
    switch (message) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(dialog, focus)) {
                info->lastFocus = focus;
            }
            return 0;
        }
        [[fallthrough]];
    case WM_SETFOCUS: {
        HWND target = info->lastFocus;
        if (target == nullptr || !IsWindow(target) || !IsChild(dialog, target)) {
            target = GetNextDlgTabItem(dialog, nullptr, FALSE);
        }
        if (target != nullptr) {
            SetFocus(target);
        } else if (message == WM_ACTIVATE) {
            SetFocus(dialog);
        }
        return 0;
    }
    case WM_SHOWWINDOW:
        if (!wParam) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(dialog, focus)) {
                info->lastFocus = focus;
            }
        }
        return DefWindowProcW(dialog, message, wParam, lParam);
    case WM_CLOSE:
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        return 0;
    case WM_NEXTDLGCTL: {
        HWND target = nullptr;
        if (LOWORD(lParam) != 0) {
            target = reinterpret_cast<HWND>(wParam);
        } else {
            const HWND focus = GetFocus();
            target = GetNextDlgTabItem(
                dialog, focus != nullptr && IsChild(dialog, focus) ? focus : nullptr, wParam != 0);
        }
        if (target != nullptr && IsChild(dialog, target)) {
            sim::SelectForDialogFocus(target);
            SetFocus(target);
        }
        return 0;
    }
    case DM_GETDEFID: {
        if (info->defaultId != 0) {
            return MAKELRESULT(info->defaultId, DC_HASDEFID);
        }
        for (const Window* child : window->children) {
            if ((child->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
                text::EqualsIgnoringCase(child->windowClass->name, WC_BUTTONW)) {
                return MAKELRESULT(static_cast<WORD>(child->id), DC_HASDEFID);
            }
        }
        return 0;
    }
    case DM_SETDEFID:
        info->defaultId = static_cast<WORD>(wParam);
        return TRUE;
    default:
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

BOOL MapDialogRect(HWND dialog, RECT* rect) {
    sim::DialogInfo* info = DialogOf(dialog);
    if (info == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = sim::DialogUnitsToPixels(*rect, info->baseUnits);
    return TRUE;
}

LONG GetDialogBaseUnits() {
    const sim::Device* device = sim::Device::Current();
    const int pixels = device != nullptr ? sim::PointsToPixels(8, device->PixelsPerInch()) : 11;
    const SIZE units = sim::DialogBaseUnits(pixels);
    return static_cast<LONG>(MAKELONG(static_cast<WORD>(units.cx), static_cast<WORD>(units.cy)));
}

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? SetWindowTextW(control, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferLength) {
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        if (buffer != nullptr && bufferLength > 0) {
            buffer[0] = u'\0';
        }
        return 0;
    }
    return static_cast<UINT>(GetWindowTextW(control, buffer, bufferLength));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    const std::u16string text = text::FromInt(
        isSigned ? static_cast<long long>(static_cast<int>(value)) : static_cast<long long>(value));
    return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated != nullptr) {
        *translated = FALSE;
    }
    WCHAR buffer[64] = {};
    if (GetDlgItemTextW(dialog, id, buffer, 64) == 0 && GetDlgItem(dialog, id) == nullptr) {
        return 0;
    }
    // Blanks may surround the number; anything else fails.
    std::string narrow = text::ToUtf8(buffer);
    const auto first = narrow.find_first_not_of(' ');
    if (first == std::string::npos) {
        return 0;
    }
    narrow = narrow.substr(first, narrow.find_last_not_of(' ') - first + 1);
    if (narrow.empty() || (!isSigned && narrow[0] == '-')) {
        return 0;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(narrow.c_str(), &end, 10);
    if (end == narrow.c_str() || *end != '\0' || errno == ERANGE) {
        return 0;
    }
    if (isSigned ? (value < INT32_MIN || value > INT32_MAX) : (value < 0 || value > UINT32_MAX)) {
        return 0;
    }
    if (translated != nullptr) {
        *translated = TRUE;
    }
    return static_cast<UINT>(value);
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return FALSE;
    }
    SendMessageW(control, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? static_cast<UINT>(SendMessageW(control, BM_GETCHECK, 0, 0)) : 0;
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
    for (int id = first; id <= last; ++id) {
        if (const HWND control = GetDlgItem(dialog, id)) {
            SendMessageW(control, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return TRUE;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr ? SendMessageW(control, message, wParam, lParam) : 0;
}
