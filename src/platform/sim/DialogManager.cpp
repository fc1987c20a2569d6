#include "platform/sim/DialogManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/Controls.h"
#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/Gdi.h"
#include "platform/sim/ModalLoop.h"
#include "platform/sim/SystemClasses.h"
#include "platform/sim/Theme.h"
#include "platform/sim/UiFont.h"

namespace sim {
namespace {

// Dialog templates name the common controls by number.
LPCWSTR ClassOfNumber(WORD number) {
    switch (number) {
    case 0x0080:
        return WC_BUTTONW;
    case 0x0081:
        return WC_EDITW;
    case 0x0082:
        return WC_STATICW;
    case 0x0083:
        return WC_LISTBOXW;
    case 0x0084:
        return WC_SCROLLBARW;
    case 0x0085:
        return WC_COMBOBOXW;
    default:
        return nullptr;
    }
}

LRESULT DialogClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefDlgProcW(window, message, wParam, lParam);
}

int MulDivRound(int value, int multiplier, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(value) * multiplier / divisor));
}

} // namespace

SIZE DialogBaseUnits(int pixelHeight) {
    const FontMetrics metrics = UiFont::Metrics(pixelHeight);
    return SIZE{static_cast<LONG>(std::lround(metrics.averageWidth)),
                static_cast<LONG>(std::lround(metrics.height))};
}

RECT DialogUnitsToPixels(const RECT& units, SIZE baseUnits) {
    return RECT{MulDivRound(units.left, baseUnits.cx, 4), MulDivRound(units.top, baseUnits.cy, 8),
                MulDivRound(units.right, baseUnits.cx, 4),
                MulDivRound(units.bottom, baseUnits.cy, 8)};
}

void InstallDialogClass(Device& device) {
    WNDCLASSW dialogClass;
    dialogClass.lpfnWndProc = DialogClassProcedure;
    dialogClass.cbWndExtra = kDialogExtraBytes;
    dialogClass.hbrBackground = device.Graphics().SystemColorBrush(COLOR_WINDOW);
    dialogClass.lpszClassName = WC_DIALOG;
    RegisterSystemClass(device, dialogClass);
}

HWND CreateDialogFromTemplate(Program& program, HINSTANCE instance,
                              const res::DialogTemplate& dialogTemplate, HWND owner,
                              DLGPROC procedure, LPARAM initParam, DWORD& error) {
    Device& device = *Device::Current();
    WindowManager& windows = device.Windows();

    // The template's font gives the dialog units.
    const int pointSize = dialogTemplate.font ? dialogTemplate.font->pointSize : 8;
    const int pixelHeight = std::max(PointsToPixels(pointSize, device.PixelsPerInch()), 1);
    const SIZE baseUnits = DialogBaseUnits(pixelHeight);
    const HFONT font = device.Graphics().CreateFont(
        dialogTemplate.font ? dialogTemplate.font->face : u"DejaVu Sans", pixelHeight, false);

    const RECT area = DialogUnitsToPixels(RECT{dialogTemplate.x, dialogTemplate.y,
                                               dialogTemplate.x + dialogTemplate.cx,
                                               dialogTemplate.y + dialogTemplate.cy},
                                          baseUnits);
    const bool child = (dialogTemplate.style & WS_CHILD) != 0;
    // The window is the client area plus its frame.
    const RECT frame = WindowManager::DefaultClientRect(RECT{0, 0, 100, 100}, dialogTemplate.style,
                                                        dialogTemplate.exStyle);
    int width = (area.right - area.left) + (100 - (frame.right - frame.left));
    int height = (area.bottom - area.top) + (100 - (frame.bottom - frame.top));
    int x = area.left;
    int y = area.top;
    if (!child) {
        // A top-level dialog sits in the screen below the task bar, centred
        // when it asks, else at its place in the owner's client area; it is
        // kept on the screen.
        const int top = device.BarHeight();
        const int screenWidth = device.ScreenWidth();
        const int screenHeight = device.ScreenHeight();
        if ((dialogTemplate.style & DS_CENTER) != 0) {
            x = (screenWidth - width) / 2;
            y = top + (screenHeight - top - height) / 2;
        } else if (Window* ownerWindow = owner != nullptr ? windows.FindAlive(owner) : nullptr) {
            const POINT origin = windows.ClientOrigin(windows.TopLevelOf(*ownerWindow));
            x += origin.x;
            y += origin.y;
        }
        width = std::min(width, screenWidth);
        height = std::min(height, screenHeight - top);
        x = std::clamp(x, 0, screenWidth - width);
        y = std::clamp(y, top, screenHeight - height);
    }

    const std::u16string className = dialogTemplate.windowClass.IsNumber()
                                         ? std::u16string(WC_DIALOG)
                                         : dialogTemplate.windowClass.Name();
    CreateRequest request;
    request.exStyle = dialogTemplate.exStyle;
    request.className = className.c_str();
    request.windowName = dialogTemplate.title.c_str();
    request.style = dialogTemplate.style & ~WS_VISIBLE;
    request.x = x;
    request.y = y;
    request.width = width;
    request.height = height;
    request.parent = owner;
    request.instance = instance;
    request.param = reinterpret_cast<LPVOID>(initParam);
    Window* window = windows.Create(program, request, error);
    if (window == nullptr) {
        device.Graphics().Delete(reinterpret_cast<HGDIOBJ>(font));
        return nullptr;
    }
    const HWND dialog = window->handle;
    window->dialog = std::make_unique<DialogInfo>();
    window->dialog->font = font;
    window->dialog->baseUnits = baseUnits;
    SetWindowLongW(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
    SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);

    for (const res::DialogItemTemplate& item : dialogTemplate.items) {
        std::u16string itemClass;
        if (item.windowClass.IsNumber()) {
            const LPCWSTR known = ClassOfNumber(item.windowClass.Number());
            itemClass = known != nullptr ? known : u"";
        } else {
            itemClass = item.windowClass.Name();
        }
        // A text given by number (an icon or bitmap of a static control) reaches
        // the control as 0xFFFF followed by the number.
        std::u16string itemText;
        if (item.text.IsNumber()) {
            itemText = {u'\xFFFF', static_cast<char16_t>(item.text.Number())};
        } else {
            itemText = item.text.Name();
        }
        const RECT place = DialogUnitsToPixels(
            RECT{item.x, item.y, item.x + item.cx, item.y + item.cy}, baseUnits);
        CreateRequest control;
        control.exStyle = item.exStyle | WS_EX_NOPARENTNOTIFY;
        control.className = itemClass.c_str();
        control.windowName = itemText.c_str();
        control.style = item.style | WS_CHILD;
        control.x = place.left;
        control.y = place.top;
        control.width = place.right - place.left;
        control.height = place.bottom - place.top;
        control.parent = dialog;
        control.menuOrId = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id));
        control.instance = instance;
        control.param =
            item.creationData.empty() ? nullptr : const_cast<std::byte*>(item.creationData.data());
        Window* created = windows.Create(program, control, error);
        if (created == nullptr) {
            // A control that cannot be made fails the dialog, as on Win32.
            if (Window* still = windows.FindAlive(dialog)) {
                windows.Destroy(*still);
            }
            if (error == 0) {
                error = ERROR_CANNOT_FIND_WND_CLASS;
            }
            return nullptr;
        }
        SendMessageW(created->handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (!windows.FindAlive(dialog)) {
            return nullptr;
        }
    }

    const HWND firstTab = GetNextDlgTabItem(dialog, nullptr, FALSE);
    const LRESULT focusFirst =
        SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTab), initParam);
    Window* still = windows.FindAlive(dialog);
    if (still == nullptr) {
        return nullptr;
    }
    if (focusFirst != 0 && firstTab != nullptr && IsWindow(firstTab)) {
        still->dialog->lastFocus = firstTab;
        SelectForDialogFocus(firstTab);
        if (windows.Active() == &windows.TopLevelOf(*still)) {
            SetFocus(firstTab);
        }
    }
    if ((dialogTemplate.style & WS_VISIBLE) != 0) {
        ShowWindow(dialog, SW_SHOWNORMAL);
    }
    return dialog;
}

void SelectForDialogFocus(HWND control) {
    if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) != 0) {
        SendMessageW(control, EM_SETSEL, 0, -1);
    }
}

bool RunModalLoop(const std::function<bool()>& finished, HWND dialogKeys) {
    return RunModalLoop(finished, [dialogKeys](MSG& msg) {
        return dialogKeys != nullptr && IsWindow(dialogKeys) && IsDialogMessageW(dialogKeys, &msg);
    });
}

INT_PTR RunModalDialog(HWND dialog, HWND owner) {
    WindowManager& windows = Device::Current()->Windows();
    HWND ownerTop = nullptr;
    if (Window* ownerWindow = owner != nullptr ? windows.FindAlive(owner) : nullptr) {
        ownerTop = windows.TopLevelOf(*ownerWindow).handle;
    }
    if (Window* window = windows.FindAlive(dialog)) {
        if (ownerTop != nullptr && IsWindowEnabled(ownerTop)) {
            window->dialog->disabledOwner = ownerTop;
            EnableWindow(ownerTop, FALSE);
        }
    }
    ShowWindow(dialog, SW_SHOWNORMAL);
    auto ended = [&windows, dialog] {
        const Window* window = windows.FindAlive(dialog);
        return window == nullptr || window->dialog == nullptr || window->dialog->ended;
    };
    RunModalLoop(ended, dialog);

    INT_PTR result = 0;
    HWND disabledOwner = nullptr;
    if (Window* window = windows.FindAlive(dialog); window != nullptr && window->dialog) {
        result = window->dialog->ended ? window->dialog->result : 0;
        disabledOwner = std::exchange(window->dialog->disabledOwner, nullptr);
    } else if (ownerTop != nullptr && !IsWindowEnabled(ownerTop)) {
        // The dialog went away without EndDialog; its owner still needs
        // enabling.
        disabledOwner = ownerTop;
    }
    if (disabledOwner != nullptr && IsWindow(disabledOwner)) {
        EnableWindow(disabledOwner, TRUE);
    }
    if (IsWindow(dialog)) {
        DestroyWindow(dialog);
    }
    return result;
}

std::size_t DialogTemplateLength(const DLGTEMPLATE* dialogTemplate) {
    // Walks the fields as Win32 does; the caller vouches for the memory.
    const auto* start = reinterpret_cast<const unsigned char*>(dialogTemplate);
    const unsigned char* at = start + sizeof(DLGTEMPLATE);
    auto word = [&at] {
        WORD value = 0;
        std::memcpy(&value, at, sizeof value);
        at += sizeof value;
        return value;
    };
    auto numberOrString = [&] {
        const WORD first = word();
        if (first == 0xFFFF) {
            word();
        } else if (first != 0) {
            while (word() != 0) {
            }
        }
    };
    auto align = [&] {
        while ((at - start) % 4 != 0) {
            ++at;
        }
    };
    numberOrString(); // menu
    numberOrString(); // class
    while (word() != 0) {
    } // title
    if ((dialogTemplate->style & DS_SETFONT) != 0) {
        word();
        while (word() != 0) {
        }
    }
    for (WORD i = 0; i < dialogTemplate->cdit; ++i) {
        align();
        at += 18; // style, extended style, x, y, cx, cy, id
        numberOrString();
        numberOrString();
        const WORD creation = word();
        if (creation >= 2) {
            at += creation - 2;
        }
    }
    return static_cast<std::size_t>(at - start);
}

} // namespace sim
