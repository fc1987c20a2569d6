#include "host/ShellNavigation.h"

#include <optional>

#include "host/Session.h"
#include "platform/Controls.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/PopupMenu.h"

namespace host {
namespace {

// How long a tapped bar or item may take to open its popup, in device time.
constexpr sim::DeviceTime kPopupPatience = 2'000;

Error Problem(std::string message) {
    return Error{std::move(message), 0};
}

struct BarButton {
    std::u16string text;
    BYTE style = 0;
    // Screen coordinates.
    POINT center;
};

// The frontmost visible menu bar: a message box's or dialog's soft keys are
// above the main window's bar.
HWND FrontMenuBar(Session& session) {
    return session.Automation().FindWindow(sim::WindowQuery().Class(sim::kMenuBarClass).Visible());
}

// The bar's visible buttons that are not separators, left to right.
std::vector<BarButton> BarButtons(Session& session, HWND bar) {
    std::vector<BarButton> buttons;
    const auto info = session.Automation().Describe(bar);
    if (!info) {
        return buttons;
    }
    const LRESULT count = SendMessageW(bar, TB_BUTTONCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button;
        if (SendMessageW(bar, TB_GETBUTTON, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&button)) == 0 ||
            (button.fsStyle & TBSTYLE_SEP) != 0 || (button.fsState & TBSTATE_HIDDEN) != 0) {
            continue;
        }
        RECT rect;
        if (SendMessageW(bar, TB_GETITEMRECT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(&rect)) == 0) {
            continue;
        }
        char16_t text[256] = {};
        const LRESULT length =
            SendMessageW(bar, TB_GETBUTTONTEXTW, static_cast<WPARAM>(button.idCommand),
                         reinterpret_cast<LPARAM>(text));
        BarButton entry;
        if (length > 0 && length < 256) {
            entry.text.assign(text, static_cast<std::size_t>(length));
        }
        entry.style = button.fsStyle;
        entry.center = POINT{info->clientRect.left + (rect.left + rect.right) / 2,
                             info->clientRect.top + (rect.top + rect.bottom) / 2};
        buttons.push_back(std::move(entry));
    }
    return buttons;
}

std::vector<HWND> OpenPopups(Session& session) {
    return session.Automation().FindWindows(
        sim::WindowQuery().Class(sim::kPopupMenuClass).Visible());
}

// Runs the device until the number of open popups is count, or for the
// patience at most.
bool WaitForPopups(Session& session, std::size_t count) {
    session.Device().RunUntilIdle();
    return session.Device().RunUntil([&] { return OpenPopups(session).size() == count; },
                                     kPopupPatience);
}

// A tap on a point outside every popup closes the menu without choosing.
void CloseMenus(Session& session) {
    const auto popups = OpenPopups(session);
    if (popups.empty()) {
        return;
    }
    sim::Device& device = session.Device();
    const int right = device.ScreenWidth() - 1;
    const int bottom = device.ScreenHeight() - 1;
    for (const POINT corner :
         {POINT{0, 0}, POINT{right, 0}, POINT{0, bottom}, POINT{right, bottom}}) {
        bool covered = false;
        for (HWND popup : popups) {
            const auto info = session.Automation().Describe(popup);
            covered =
                covered || (info && corner.x >= info->rect.left && corner.x < info->rect.right &&
                            corner.y >= info->rect.top && corner.y < info->rect.bottom);
        }
        if (!covered) {
            session.Automation().Tap(corner);
            WaitForPopups(session, 0);
            return;
        }
    }
}

std::string Quoted(const std::u16string& text) {
    std::string quoted = "\"";
    quoted += text::ToUtf8(text);
    quoted += '"';
    return quoted;
}

} // namespace

std::u16string PlainMenuText(const std::u16string& text) {
    std::u16string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\t') {
            break;
        }
        if (text[i] == u'&') {
            if (i + 1 < text.size() && text[i + 1] == u'&') {
                plain += u'&';
                ++i;
            }
            continue;
        }
        plain += text[i];
    }
    return plain;
}

Done TapSoftKey(Session& session, int number) {
    const HWND bar = FrontMenuBar(session);
    if (bar == nullptr) {
        return Problem("no menu bar is shown");
    }
    std::vector<BarButton> softKeys;
    for (BarButton& button : BarButtons(session, bar)) {
        if (!button.text.empty()) {
            softKeys.push_back(std::move(button));
        }
    }
    if (number < 1 || static_cast<std::size_t>(number) > softKeys.size()) {
        return Problem("the menu bar in front has " + std::to_string(softKeys.size()) +
                       " soft keys");
    }
    session.Automation().Tap(softKeys[static_cast<std::size_t>(number - 1)].center);
    session.Device().RunUntilIdle();
    return std::monostate();
}

Done ChooseMenuItem(Session& session, const std::vector<std::string>& path) {
    const HWND bar = FrontMenuBar(session);
    if (bar == nullptr) {
        return Problem("no menu bar is shown");
    }
    const auto buttons = BarButtons(session, bar);
    const BarButton* menuButton = nullptr;
    for (const BarButton& button : buttons) {
        if (PlainMenuText(button.text) == u"Menu") {
            menuButton = &button;
            break;
        }
    }
    for (const BarButton& button : buttons) {
        if (menuButton == nullptr && (button.style & TBSTYLE_DROPDOWN) != 0) {
            menuButton = &button;
        }
    }
    if (menuButton == nullptr) {
        return Problem("the menu bar in front has no \"Menu\" soft key");
    }
    const std::size_t alreadyOpen = OpenPopups(session).size();
    session.Automation().Tap(menuButton->center);
    if (!WaitForPopups(session, alreadyOpen + 1)) {
        CloseMenus(session);
        return Problem("the \"Menu\" soft key opened no menu");
    }

    for (std::size_t level = 0; level < path.size(); ++level) {
        const std::u16string wanted = PlainMenuText(text::FromUtf8(path[level]));
        const auto popups = OpenPopups(session);
        const HWND popup = popups.front(); // the newest is in front
        const auto info = session.Automation().Describe(popup);
        const auto rows = sim::DescribePopupMenu(popup);
        const sim::PopupMenuRow* found = nullptr;
        std::string offered;
        for (const sim::PopupMenuRow& row : rows) {
            if (row.separator) {
                continue;
            }
            if (!offered.empty()) {
                offered += ", ";
            }
            offered += Quoted(PlainMenuText(row.text));
            if (found == nullptr && PlainMenuText(row.text) == wanted) {
                found = &row;
            }
        }
        if (found == nullptr || !info) {
            CloseMenus(session);
            return Problem("no item " + Quoted(wanted) + " in the menu (it has " + offered + ")");
        }
        if (found->grayed) {
            CloseMenus(session);
            return Problem("the item " + Quoted(wanted) + " is grayed");
        }
        const bool last = level + 1 == path.size();
        if (last == found->submenu) {
            CloseMenus(session);
            return Problem(last ? "the item " + Quoted(wanted) + " opens a menu; name an item in it"
                                : "the item " + Quoted(wanted) + " opens no menu");
        }
        session.Automation().Tap(
            POINT{info->clientRect.left + (found->rect.left + found->rect.right) / 2,
                  info->clientRect.top + (found->rect.top + found->rect.bottom) / 2});
        if (!WaitForPopups(session, last ? 0 : popups.size() + 1)) {
            CloseMenus(session);
            return Problem(last ? "the menu did not close after " + Quoted(wanted)
                                : "the item " + Quoted(wanted) + " opened no menu");
        }
    }
    return std::monostate();
}

} // namespace host
