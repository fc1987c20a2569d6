#include "platform/sim/MenuBar.h"

#include <algorithm>

#include "platform/Controls.h"
#include "platform/Menus.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/ResourceFormats.h"
#include "platform/Resources.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/ToolbarState.h"

namespace sim {
namespace {

std::u16string MenuItemText(HMENU menu, int position) {
    WCHAR buffer[256] = {};
    const int length =
        GetMenuStringW(menu, static_cast<UINT>(position), buffer, 256, MF_BYPOSITION);
    return std::u16string(buffer, static_cast<std::size_t>(std::max(0, length)));
}

ToolbarButton SoftKeyButton(const SoftKey& key) {
    ToolbarButton button;
    button.text = key.text;
    button.command = key.command;
    button.popup = key.popup;
    button.state = key.enabled ? TBSTATE_ENABLED : 0;
    button.style =
        static_cast<BYTE>(TBSTYLE_AUTOSIZE | (key.popup != nullptr ? TBSTYLE_DROPDOWN : 0));
    return button;
}

// The bar's place: the whole width of the screen, along its bottom.
RECT BarRect() {
    const int height = GetSystemMetrics(SM_CYMENU);
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int bottom = GetSystemMetrics(SM_CYSCREEN);
    return RECT{0, bottom - height, width, bottom};
}

HWND CreateBar(HWND owner, bool visible) {
    const RECT place = BarRect();
    return CreateWindowExW(WS_EX_NOACTIVATE, kMenuBarClass, nullptr,
                           WS_POPUP | (visible ? WS_VISIBLE : 0), place.left, place.top,
                           place.right - place.left, place.bottom - place.top, owner, nullptr,
                           nullptr, nullptr);
}

// The soft keys of a menu-bar resource: texts from the string table, popups
// from the resource's menu.
bool LoadMenuBarResource(ToolbarState& state, HINSTANCE instance, UINT id) {
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(static_cast<WORD>(id)), RT_RCDATA);
    const HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return false;
    }
    const auto parsed = res::ParseMenuBar(std::span<const std::byte>(
        static_cast<const std::byte*>(bytes), SizeofResource(instance, found)));
    if (!parsed.Ok()) {
        return false;
    }
    state.menu = LoadMenuW(instance, MAKEINTRESOURCEW(parsed->menuId));
    for (const res::MenuBarButton& source : parsed->buttons) {
        ToolbarButton button;
        button.image = source.image == res::I_IMAGENONE ? -1 : source.image;
        button.command = source.command;
        button.state = static_cast<BYTE>(source.state);
        button.style = static_cast<BYTE>(source.style);
        if (source.stringId != 0) {
            WCHAR buffer[256] = {};
            const int length = LoadStringW(instance, source.stringId, buffer, 256);
            button.text.assign(buffer, static_cast<std::size_t>(std::max(0, length)));
        }
        if (source.submenu != res::NOMENU && state.menu != nullptr) {
            button.popup = GetSubMenu(state.menu, source.submenu);
        }
        state.buttons.push_back(std::move(button));
    }
    return true;
}

// A plain menu: each top-level item becomes a soft key.
bool LoadMenuAsSoftKeys(ToolbarState& state, HINSTANCE instance, UINT id) {
    state.menu = LoadMenuW(instance, MAKEINTRESOURCEW(static_cast<WORD>(id)));
    if (state.menu == nullptr) {
        return false;
    }
    const int count = GetMenuItemCount(state.menu);
    for (int i = 0; i < count; ++i) {
        SoftKey key;
        key.text = MenuItemText(state.menu, i);
        key.popup = GetSubMenu(state.menu, i);
        key.command = key.popup == nullptr ? static_cast<int>(GetMenuItemID(state.menu, i)) : 0;
        MENUITEMINFOW info;
        info.fMask = MIIM_STATE;
        GetMenuItemInfoW(state.menu, static_cast<UINT>(i), TRUE, &info);
        key.enabled = (info.fState & (MF_GRAYED | MF_DISABLED)) == 0;
        state.buttons.push_back(SoftKeyButton(key));
    }
    return true;
}

// The drop-down button opens its popup above the bar with the owner as the
// target of its commands and of WM_INITMENUPOPUP.
LRESULT OpenPopup(HWND window, ToolbarState& state, int index) {
    const std::vector<RECT> rects = ButtonRects(window, state);
    POINT anchor{rects[static_cast<std::size_t>(index)].left, 0};
    ClientToScreen(window, &anchor);
    state.buttons[static_cast<std::size_t>(index)].state |= TBSTATE_PRESSED;
    InvalidateRect(window, nullptr, TRUE);
    const HMENU popup = state.buttons[static_cast<std::size_t>(index)].popup;
    TrackPopupMenuEx(popup, TPM_LEFTALIGN | TPM_BOTTOMALIGN, anchor.x, anchor.y, state.notify,
                     nullptr);
    // The bar, or its buttons, may have changed while the menu was open.
    if (ToolbarState* after = StateOf<ToolbarState>(window)) {
        for (ToolbarButton& button : after->buttons) {
            if (button.popup == popup) {
                button.state &= static_cast<BYTE>(~TBSTATE_PRESSED);
            }
        }
        InvalidateRect(window, nullptr, TRUE);
    }
    return 0;
}

LRESULT OnButtonDown(HWND window, ToolbarState& state, WPARAM wParam, LPARAM lParam) {
    const int index = ButtonAt(state.buttons, ButtonRects(window, state),
                               POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (index >= 0 && state.buttons[static_cast<std::size_t>(index)].popup != nullptr &&
        state.buttons[static_cast<std::size_t>(index)].IsEnabled()) {
        return OpenPopup(window, state, index);
    }
    return ToolbarMessage(window, state, WM_LBUTTONDOWN, wParam, lParam);
}

LRESULT OnOverrideKey(HWND window, ToolbarState& state, WPARAM key, LPARAM lParam) {
    const WORD mask = LOWORD(static_cast<std::uintptr_t>(lParam));
    const WORD flags = HIWORD(static_cast<std::uintptr_t>(lParam));
    auto existing = std::find_if(state.keyOverrides.begin(), state.keyOverrides.end(),
                                 [key](const KeyOverride& o) { return o.key == key; });
    if (existing == state.keyOverrides.end()) {
        state.keyOverrides.push_back(KeyOverride{static_cast<UINT>(key), 0, 0});
        existing = state.keyOverrides.end() - 1;
    }
    // The mask says which flags this message sets or clears.
    existing->mask |= mask;
    existing->flags = static_cast<WORD>((existing->flags & ~mask) | (flags & mask));
    RecordCall("SHCMBM_OVERRIDEKEY",
               {JournalValue(window), JournalValue(static_cast<unsigned>(key)),
                JournalValue(static_cast<unsigned>(mask)),
                JournalValue(static_cast<unsigned>(flags))},
               JournalValue(TRUE));
    return TRUE;
}

LRESULT OnGetSubMenu(ToolbarState& state, LPARAM command) {
    const int index = IndexOfCommand(state.buttons, static_cast<int>(command));
    return index >= 0
               ? reinterpret_cast<LRESULT>(state.buttons[static_cast<std::size_t>(index)].popup)
               : 0;
}

LRESULT OnSetSubMenu(HWND window, ToolbarState& state, WPARAM command, LPARAM popup) {
    const int index = IndexOfCommand(state.buttons, static_cast<int>(command));
    if (index < 0) {
        return 0;
    }
    const HMENU previous = state.buttons[static_cast<std::size_t>(index)].popup;
    state.buttons[static_cast<std::size_t>(index)].popup = reinterpret_cast<HMENU>(popup);
    InvalidateRect(window, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(previous);
}

void FollowScreen(HWND window) {
    const RECT place = BarRect();
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

HWND CreateSoftKeyBar(HWND owner, const std::vector<SoftKey>& keys) {
    const HWND bar = CreateBar(owner, false);
    ToolbarState* state = StateOf<ToolbarState>(bar);
    if (state == nullptr) {
        return nullptr;
    }
    for (const SoftKey& key : keys) {
        state->buttons.push_back(SoftKeyButton(key));
    }
    ShowWindow(bar, SW_SHOWNOACTIVATE);
    return bar;
}

DWORD KeyOverrideOf(HWND bar, UINT key) {
    const ToolbarState* state = StateOf<ToolbarState>(bar);
    if (state == nullptr) {
        return 0;
    }
    for (const KeyOverride& o : state->keyOverrides) {
        if (o.key == key) {
            return MAKELONG(o.mask, o.flags);
        }
    }
    return 0;
}

LRESULT MenuBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ToolbarState* state = StateOf<ToolbarState>(window);
    if (state == nullptr) {
        if (message == WM_NCCREATE) {
            state = CreateState<ToolbarState>(window);
            if (state != nullptr) {
                state->menuBar = true;
                state->notify = reinterpret_cast<const CREATESTRUCTW*>(lParam)->hwndParent;
            }
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return OnButtonDown(window, *state, wParam, lParam);
    case WM_MOUSEACTIVATE:
        // The bar belongs to its owner: tapping it does not activate it.
        return MA_NOACTIVATE;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
        FollowScreen(window);
        return 0;
    case WM_NCDESTROY:
        if (state->menu != nullptr) {
            DestroyMenu(state->menu);
            state->menu = nullptr;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case SHCMBM_GETMENU:
        return reinterpret_cast<LRESULT>(state->menu);
    case SHCMBM_GETSUBMENU:
        return OnGetSubMenu(*state, lParam);
    case SHCMBM_SETSUBMENU:
        return OnSetSubMenu(window, *state, wParam, lParam);
    case SHCMBM_OVERRIDEKEY:
        return OnOverrideKey(window, *state, wParam, lParam);
    default:
        return ToolbarMessage(window, *state, message, wParam, lParam);
    }
}

} // namespace sim

// The record size is not checked: the handheld's is smaller than this host's,
// and programs written for it pass theirs.
BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (info == nullptr || !IsWindow(info->hwndParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool visible = (info->dwFlags & SHCMBF_HIDDEN) == 0;
    const HWND bar = sim::CreateBar(info->hwndParent, false);
    sim::ToolbarState* state = sim::StateOf<sim::ToolbarState>(bar);
    bool loaded = state != nullptr;
    if (loaded && (info->dwFlags & SHCMBF_EMPTYBAR) == 0) {
        loaded = (info->dwFlags & SHCMBF_HMENU) != 0
                     ? sim::LoadMenuAsSoftKeys(*state, info->hInstRes, info->nToolBarId)
                     : sim::LoadMenuBarResource(*state, info->hInstRes, info->nToolBarId);
    }
    if (loaded && info->nBmpId != 0 && info->cBmpImages > 0) {
        TBADDBITMAP images;
        images.hInst = info->hInstRes;
        images.nID = static_cast<UINT_PTR>(info->nBmpId);
        SendMessageW(bar, TB_ADDBITMAP, static_cast<WPARAM>(info->cBmpImages),
                     reinterpret_cast<LPARAM>(&images));
    }
    if (!loaded) {
        if (bar != nullptr) {
            DestroyWindow(bar);
        }
        info->hwndMB = nullptr;
        sim::RecordCall("SHCreateMenuBar",
                        {sim::JournalValue(info->hwndParent),
                         sim::JournalValue(static_cast<unsigned>(info->dwFlags)),
                         sim::JournalValue(info->nToolBarId)},
                        sim::JournalValue(FALSE));
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return FALSE;
    }
    if (visible) {
        ShowWindow(bar, SW_SHOWNOACTIVATE);
    }
    info->hwndMB = bar;
    sim::RecordCall("SHCreateMenuBar",
                    {sim::JournalValue(info->hwndParent),
                     sim::JournalValue(static_cast<unsigned>(info->dwFlags)),
                     sim::JournalValue(info->nToolBarId)},
                    sim::JournalValue(TRUE));
    return TRUE;
}
