#include "framework/CommandBar.h"

#include <optional>
#include <span>
#include <vector>

#include "framework/Strings.h"
#include "platform/Controls.h"
#include "platform/ResourceFile.h"
#include "platform/ResourceFormats.h"
#include "platform/Resources.h"
#include "platform/Shell.h"
#include "platform/Window.h"

namespace framework {
namespace {

// The toolbar resource's bytes, read through the checked reader.
std::optional<res::ToolbarTemplate> LoadToolbar(UINT id) {
    const HINSTANCE instance = ProgramInstance();
    const HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(static_cast<WORD>(id)),
                                      MAKEINTRESOURCEW(res::RT_TOOLBAR));
    if (found == nullptr) {
        return std::nullopt;
    }
    const auto* bytes = static_cast<const std::byte*>(LockResource(LoadResource(instance, found)));
    const DWORD size = SizeofResource(instance, found);
    if (bytes == nullptr) {
        return std::nullopt;
    }
    auto parsed = res::ParseToolbar(std::span<const std::byte>(bytes, size));
    if (!parsed) {
        return std::nullopt;
    }
    return std::move(parsed).Value();
}

} // namespace

CommandBar::~CommandBar() {
    if (bar != nullptr && IsWindow(bar)) {
        DestroyWindow(bar);
    }
}

bool CommandBar::Create(HWND owner, UINT menuBarId, UINT windowId) {
    if (bar != nullptr) {
        return false;
    }
    SHMENUBARINFO info;
    info.hwndParent = owner;
    info.nToolBarId = menuBarId;
    info.hInstRes = ProgramInstance();
    if (SHCreateMenuBar(&info) == FALSE || info.hwndMB == nullptr) {
        return false;
    }
    bar = info.hwndMB;
    if (windowId != 0) {
        SetWindowLongW(bar, GWL_ID, static_cast<LONG>(windowId));
    }
    return true;
}

bool CommandBar::AddToolbarButtons(UINT toolbarId) {
    if (bar == nullptr) {
        return false;
    }
    const auto toolbar = LoadToolbar(toolbarId);
    if (!toolbar) {
        return false;
    }
    WPARAM images = 0;
    for (const WORD item : toolbar->items) {
        images += item != 0 ? 1 : 0;
    }
    SendMessageW(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(bar, TB_SETBITMAPSIZE, 0, MAKELPARAM(toolbar->imageWidth, toolbar->imageHeight));
    TBADDBITMAP bitmap;
    bitmap.hInst = ProgramInstance();
    bitmap.nID = toolbarId;
    const LRESULT firstImage =
        SendMessageW(bar, TB_ADDBITMAP, images, reinterpret_cast<LPARAM>(&bitmap));
    if (firstImage < 0) {
        return false;
    }
    std::vector<TBBUTTON> buttons;
    int image = static_cast<int>(firstImage);
    for (const WORD item : toolbar->items) {
        TBBUTTON button;
        if (item == 0) {
            button.fsStyle = TBSTYLE_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = item;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = TBSTYLE_BUTTON;
        }
        buttons.push_back(button);
    }
    return SendMessageW(bar, TB_ADDBUTTONSW, buttons.size(),
                        reinterpret_cast<LPARAM>(buttons.data())) != FALSE;
}

bool CommandBar::Show(bool show) const {
    if (bar == nullptr) {
        return false;
    }
    ShowWindow(bar, show ? SW_SHOWNA : SW_HIDE);
    return true;
}

bool CommandBar::IsVisible() const {
    return bar != nullptr && IsWindowVisible(bar) != FALSE;
}

bool CommandBar::HideButton(UINT command, bool hide) const {
    return bar != nullptr &&
           SendMessageW(bar, TB_HIDEBUTTON, command, MAKELPARAM(hide ? TRUE : FALSE, 0)) != FALSE;
}

} // namespace framework
