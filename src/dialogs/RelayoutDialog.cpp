#include "dialogs/RelayoutDialog.h"

#include <span>

#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Painting.h"
#include "platform/ResourceFormats.h"
#include "platform/Resources.h"
#include "platform/Window.h"

namespace player {
namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kListBoxClass = 0x0083;
constexpr WORD kComboBoxClass = 0x0085;
// The id of controls that have none of their own.
constexpr WORD kNoId = 0xFFFF;

// The resource's bytes, or an empty span when it is not there.
std::span<const std::byte> DialogResource(HINSTANCE instance, UINT resourceId) {
    const HRSRC found =
        FindResourceW(instance, MAKEINTRESOURCEW(static_cast<WORD>(resourceId)), RT_DIALOG);
    if (found == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const std::byte*>(LockResource(LoadResource(instance, found)));
    return bytes != nullptr ? std::span(bytes, SizeofResource(instance, found))
                            : std::span<const std::byte>();
}

// An image control's picture is loaded afresh and the one it replaces freed.
void RefreshImage(HINSTANCE instance, HWND control, WORD classNumber, DWORD style, WORD image) {
    const UINT message = classNumber == kButtonClass ? BM_SETIMAGE : STM_SETIMAGE;
    const LPCWSTR name = MAKEINTRESOURCEW(image);
    if ((style & SS_ICON) == SS_ICON) {
        const HICON icon = LoadIconW(instance, name);
        const auto previous = reinterpret_cast<HICON>(
            SendMessageW(control, message, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
        if (previous != nullptr) {
            DestroyIcon(previous);
        }
    } else if ((style & SS_BITMAP) == SS_BITMAP) {
        const HBITMAP bitmap = LoadBitmapW(instance, name);
        const auto previous = reinterpret_cast<HGDIOBJ>(
            SendMessageW(control, message, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
        if (previous != nullptr) {
            DeleteObject(previous);
        }
    }
}

// What a move can leave stale, by the control's class; classes given by
// name are left alone.
void RefreshControl(HINSTANCE instance, HWND control, const res::DialogItemTemplate& item) {
    if (!item.windowClass.IsNumber()) {
        return;
    }
    const WORD classNumber = item.windowClass.Number();
    if (classNumber == kButtonClass || classNumber == kStaticClass) {
        if (!item.text.IsNumber()) {
            SetWindowTextW(control, item.text.Name().c_str());
        } else {
            RefreshImage(instance, control, classNumber, item.style, item.text.Number());
        }
    } else if (classNumber == kListBoxClass) {
        const LRESULT selection = SendMessageW(control, LB_GETCURSEL, 0, 0);
        if (selection != LB_ERR) {
            SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        }
    } else if (classNumber == kComboBoxClass) {
        const LRESULT selection = SendMessageW(control, CB_GETCURSEL, 0, 0);
        if (selection != CB_ERR) {
            SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
        }
    }
}

} // namespace

bool RelayoutDialog(HINSTANCE resourceInstance, HWND dialog, UINT resourceId) {
    const std::span<const std::byte> bytes = DialogResource(resourceInstance, resourceId);
    if (bytes.empty()) {
        return false;
    }
    const auto parsed = res::ParseDialogTemplate(bytes);
    if (!parsed) {
        return false;
    }
    HDWP positions = BeginDeferWindowPos(static_cast<int>(parsed->items.size()));
    if (positions == nullptr) {
        return false;
    }
    bool failed = false;
    int withoutId = 0;
    for (const res::DialogItemTemplate& item : parsed->items) {
        const HWND control = GetDlgItem(dialog, item.id);
        RECT rect{item.x, item.y, item.x + item.cx, item.y + item.cy};
        if (control == nullptr || MapDialogRect(dialog, &rect) == FALSE) {
            failed = true;
            break;
        }
        if (const HDWP added =
                DeferWindowPos(positions, control, nullptr, rect.left, rect.top,
                               rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER)) {
            positions = added;
        } else {
            failed = true;
        }
        RefreshControl(resourceInstance, control, item);
        if (item.id == kNoId) {
            ++withoutId;
        }
    }
    const bool ended = EndDeferWindowPos(positions) != FALSE;
    // Two controls without an id cannot be told apart: the second would have
    // been moved to the first one's place.
    return ended && !failed && withoutId < 2;
}

} // namespace player
