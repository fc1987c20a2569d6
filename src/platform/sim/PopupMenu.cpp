#include "platform/sim/PopupMenu.h"

#include <algorithm>

#include "platform/Geometry.h"
#include "platform/Input.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "platform/Painting.h"
#include "platform/Program.h"
#include "platform/Window.h"
#include "platform/sim/ControlPaint.h"
#include "platform/sim/ControlProcedures.h"
#include "platform/sim/ControlSupport.h"
#include "platform/sim/MenuTable.h"
#include "platform/sim/ModalLoop.h"

namespace sim {
namespace {

struct MenuRow {
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    HMENU submenu = nullptr;
    std::u16string text;
    int top = 0;
    int height = 0;

    bool IsSeparator() const { return (type & MFT_SEPARATOR) != 0; }
    bool IsGrayed() const { return (state & (MF_GRAYED | MF_DISABLED)) != 0; }
};

struct MenuLevel {
    HMENU menu = nullptr;
    HWND window = nullptr;
    std::vector<MenuRow> rows;
    int highlight = -1;
    // The level's window, in screen coordinates.
    RECT screen{};
    // The row of the level before that opened this one.
    int openedFrom = -1;
};

class MenuTracker;

// Each open popup window's link to the menu being tracked.
class PopupLevelState : public WindowState {
public:
    PopupLevelState(MenuTracker& tracker, std::size_t level) : tracker(tracker), level(level) {}
    // Lives on the stack of TrackPopupMenuEx, which destroys every popup
    // window before it returns.
    MenuTracker& tracker;
    std::size_t level;
};

class MenuTracker {
public:
    MenuTracker(HWND owner, UINT flags) : owner(owner), flags(flags) {}
    ~MenuTracker() { CloseFrom(0); }
    MenuTracker(const MenuTracker&) = delete;
    MenuTracker& operator=(const MenuTracker&) = delete;

    bool Open(HMENU menu, int openedFrom);
    void CloseFrom(std::size_t level);
    void Cancel() { done = true; }
    bool Done() const { return done || !IsWindow(owner); }
    UINT Chosen() const { return chosen; }
    const MenuLevel& Level(std::size_t index) const { return levels[index]; }
    std::size_t LevelCount() const { return levels.size(); }
    HWND FirstWindow() const { return levels.empty() ? nullptr : levels.front().window; }

    void StylusDown(POINT screen);
    void StylusMove(POINT screen);
    void StylusUp(POINT screen);
    void Key(WPARAM key);

    // Where the first popup goes.
    POINT anchor{};

private:
    // The deepest open level under a screen point, and the row there.
    bool Hit(POINT screen, std::size_t& level, int& row) const;
    void Highlight(std::size_t level, int row);
    void Activate(std::size_t level, int row);
    std::vector<MenuRow> ReadRows(HMENU menu) const;
    RECT Place(int width, int height, int openedFrom) const;

    HWND owner;
    UINT flags;
    std::vector<MenuLevel> levels;
    bool done = false;
    bool pressed = false;
    // The press opened a submenu: its release, if the stylus stayed where it
    // was, only leaves the submenu open (it may lie under the stylus).
    bool pressOpenedSubmenu = false;
    POINT pressPoint;
    UINT chosen = 0;
};

int Unit() {
    return ScreenUnit();
}

std::vector<MenuRow> MenuTracker::ReadRows(HMENU menu) const {
    std::vector<MenuRow> rows;
    const int count = GetMenuItemCount(menu);
    const paint::WindowDC dc(nullptr);
    const int unit = Unit();
    const int itemHeight = paint::TextHeight(dc.Get()) + 6 * unit;
    int top = unit;
    for (int i = 0; i < count; ++i) {
        WCHAR buffer[256] = {};
        MENUITEMINFOW info;
        info.fMask = MIIM_TYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
        info.dwTypeData = buffer;
        info.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        MenuRow row;
        row.id = info.wID;
        row.type = info.fType;
        row.state = info.fState;
        row.submenu = info.hSubMenu;
        if (!row.IsSeparator() && (info.fType & (MFT_BITMAP | MFT_OWNERDRAW)) == 0) {
            row.text = paint::WithoutMnemonics(buffer);
        }
        row.top = top;
        row.height = row.IsSeparator() ? 7 * unit : itemHeight;
        top += row.height;
        rows.push_back(std::move(row));
    }
    return rows;
}

RECT MenuTracker::Place(int width, int height, int openedFrom) const {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int left = 0;
    int top = 0;
    if (levels.empty()) {
        left = anchor.x;
        top = anchor.y;
        if ((flags & TPM_RIGHTALIGN) != 0) {
            left -= width;
        } else if ((flags & TPM_CENTERALIGN) != 0) {
            left -= width / 2;
        }
        if ((flags & TPM_BOTTOMALIGN) != 0) {
            top -= height;
        } else if ((flags & TPM_VCENTERALIGN) != 0) {
            top -= height / 2;
        }
    } else {
        // Beside the row that opened it: to the right, or to the left where
        // the screen has no room.
        const MenuLevel& parent = levels.back();
        const MenuRow& from = parent.rows[static_cast<std::size_t>(openedFrom)];
        left = parent.screen.right - Unit();
        if (left + width > screenWidth) {
            left = parent.screen.left - width + Unit();
        }
        top = parent.screen.top + from.top - Unit();
    }
    left = std::clamp(left, 0, std::max(0, screenWidth - width));
    top = std::clamp(top, 0, std::max(0, screenHeight - height));
    return RECT{left, top, left + width, top + height};
}

bool MenuTracker::Open(HMENU menu, int openedFrom) {
    // The first level was announced by TrackPopupMenuEx itself.
    if ((flags & TPM_NONOTIFY) == 0 && openedFrom >= 0) {
        const UINT position = openedFrom < 0 ? 0 : static_cast<UINT>(openedFrom);
        SendMessageW(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                     MAKELPARAM(static_cast<WORD>(position), FALSE));
    }
    std::vector<MenuRow> rows = ReadRows(menu);
    if (rows.empty()) {
        return false;
    }
    const int unit = Unit();
    int textWidth = 0;
    {
        const paint::WindowDC dc(nullptr);
        for (const MenuRow& row : rows) {
            textWidth = std::max(textWidth, paint::TextWidth(dc.Get(), row.text));
        }
    }
    const int width = std::max(60 * unit, 18 * unit + textWidth + 16 * unit);
    const int height = rows.back().top + rows.back().height + unit;
    const RECT place = Place(width, height, openedFrom);
    HWND top = owner;
    while ((static_cast<DWORD>(GetWindowLongW(top, GWL_STYLE)) & WS_CHILD) != 0 &&
           GetParent(top) != nullptr) {
        top = GetParent(top);
    }
    const HWND window =
        CreateWindowExW(WS_EX_TOPMOST, kPopupMenuClass, nullptr, WS_POPUP, place.left, place.top,
                        width, height, top, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        return false;
    }
    MenuLevel level;
    level.menu = menu;
    level.window = window;
    level.rows = std::move(rows);
    level.screen = place;
    level.openedFrom = openedFrom;
    levels.push_back(std::move(level));
    CreateState<PopupLevelState>(window, *this, levels.size() - 1);
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (levels.size() == 1) {
        SetCapture(window);
    }
    return true;
}

void MenuTracker::CloseFrom(std::size_t level) {
    while (levels.size() > level) {
        const HWND window = levels.back().window;
        levels.pop_back();
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
    if (level > 0 && level <= levels.size()) {
        // The row that had opened the closed level loses its mark.
        InvalidateRect(levels[level - 1].window, nullptr, TRUE);
    }
}

bool MenuTracker::Hit(POINT screen, std::size_t& level, int& row) const {
    for (std::size_t i = levels.size(); i-- > 0;) {
        if (!PtInRect(&levels[i].screen, screen)) {
            continue;
        }
        level = i;
        row = -1;
        const int y = screen.y - levels[i].screen.top;
        for (std::size_t r = 0; r < levels[i].rows.size(); ++r) {
            const MenuRow& candidate = levels[i].rows[r];
            if (y >= candidate.top && y < candidate.top + candidate.height) {
                row = static_cast<int>(r);
            }
        }
        return true;
    }
    return false;
}

void MenuTracker::Highlight(std::size_t level, int row) {
    if (level >= levels.size()) {
        return;
    }
    MenuLevel& target = levels[level];
    if (row >= 0 && target.rows[static_cast<std::size_t>(row)].IsSeparator()) {
        row = -1;
    }
    if (target.highlight != row) {
        target.highlight = row;
        InvalidateRect(target.window, nullptr, TRUE);
    }
}

// A row picked by a tap or by the keys: a submenu opens, a command ends the
// menu; separators and grayed items do nothing.
void MenuTracker::Activate(std::size_t level, int row) {
    if (level >= levels.size() || row < 0) {
        return;
    }
    const MenuRow item = levels[level].rows[static_cast<std::size_t>(row)];
    if (item.IsSeparator() || item.IsGrayed()) {
        return;
    }
    if (item.submenu != nullptr) {
        if (levels.size() > level + 1 && levels[level + 1].openedFrom == row) {
            return;
        }
        CloseFrom(level + 1);
        Open(item.submenu, row);
        return;
    }
    chosen = item.id;
    done = true;
}

void MenuTracker::StylusDown(POINT screen) {
    std::size_t level = 0;
    int row = -1;
    if (!Hit(screen, level, row)) {
        // A tap outside every popup closes the menu and is used up by it.
        Cancel();
        return;
    }
    pressed = true;
    const bool keepsChild = levels.size() > level + 1 && levels[level + 1].openedFrom == row;
    if (!keepsChild) {
        CloseFrom(level + 1);
    }
    Highlight(level, row);
    pressPoint = screen;
    pressOpenedSubmenu = false;
    if (row >= 0 && levels[level].rows[static_cast<std::size_t>(row)].submenu != nullptr) {
        Activate(level, row);
        pressOpenedSubmenu = !keepsChild;
    }
}

void MenuTracker::StylusMove(POINT screen) {
    std::size_t level = 0;
    int row = -1;
    if (pressed && Hit(screen, level, row)) {
        Highlight(level, row);
    }
}

void MenuTracker::StylusUp(POINT screen) {
    if (!pressed) {
        return;
    }
    pressed = false;
    if (pressOpenedSubmenu && screen.x == pressPoint.x && screen.y == pressPoint.y) {
        return;
    }
    std::size_t level = 0;
    int row = -1;
    if (Hit(screen, level, row) && row >= 0 &&
        levels[level].rows[static_cast<std::size_t>(row)].submenu == nullptr) {
        Activate(level, row);
    }
}

void MenuTracker::Key(WPARAM key) {
    if (levels.empty()) {
        return;
    }
    const std::size_t level = levels.size() - 1;
    MenuLevel& current = levels[level];
    const int count = static_cast<int>(current.rows.size());
    switch (key) {
    case VK_UP:
    case VK_DOWN: {
        const int step = key == VK_UP ? -1 : 1;
        int row = current.highlight;
        for (int tries = 0; tries < count; ++tries) {
            row = row < 0 ? (step > 0 ? 0 : count - 1) : (row + step + count) % count;
            if (!current.rows[static_cast<std::size_t>(row)].IsSeparator()) {
                break;
            }
        }
        Highlight(level, row);
        break;
    }
    case VK_RIGHT:
        if (current.highlight >= 0 &&
            current.rows[static_cast<std::size_t>(current.highlight)].submenu != nullptr) {
            Activate(level, current.highlight);
        }
        break;
    case VK_RETURN:
        Activate(level, current.highlight);
        break;
    case VK_LEFT:
    case VK_ESCAPE:
        if (level == 0) {
            Cancel();
        } else {
            CloseFrom(level);
        }
        break;
    default:
        break;
    }
}

POINT ScreenPointOf(const MSG& msg) {
    POINT point{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    ClientToScreen(msg.hwnd, &point);
    return point;
}

// The menu takes the stylus and the keys while it is open; everything else
// (timers, posted messages, painting) goes on as usual.
bool Intercept(MenuTracker& tracker, MSG& msg) {
    switch (msg.message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        tracker.StylusDown(ScreenPointOf(msg));
        return true;
    case WM_MOUSEMOVE:
        tracker.StylusMove(ScreenPointOf(msg));
        return true;
    case WM_LBUTTONUP:
        tracker.StylusUp(ScreenPointOf(msg));
        return true;
    case WM_KEYDOWN:
        tracker.Key(msg.wParam);
        return true;
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        return true;
    default:
        return false;
    }
}

void PaintLevel(HWND window, const MenuLevel& level) {
    const paint::PaintCycle cycle(window);
    const HDC dc = cycle.Dc();
    const paint::Palette palette = paint::Palette::System();
    const int unit = Unit();
    const RECT& client = cycle.Client();
    paint::Fill(dc, client, palette.window);
    for (std::size_t i = 0; i < level.rows.size(); ++i) {
        const MenuRow& row = level.rows[i];
        const RECT rect{client.left + unit, row.top, client.right - unit, row.top + row.height};
        if (row.IsSeparator()) {
            paint::HorizontalLine(dc, rect.left + 2 * unit, rect.right - 2 * unit,
                                  rect.top + row.height / 2, palette.shadow);
            continue;
        }
        const bool highlighted = static_cast<int>(i) == level.highlight;
        COLORREF ink = row.IsGrayed() ? palette.grayText : palette.windowText;
        if (highlighted) {
            paint::Fill(dc, rect, palette.highlight);
            ink = row.IsGrayed() ? palette.grayText : palette.highlightText;
        }
        const RECT mark{rect.left + 2 * unit, rect.top, rect.left + 16 * unit, rect.bottom};
        if ((row.state & MFS_CHECKED) != 0) {
            RECT box = mark;
            const int size = std::min<int>(box.right - box.left, box.bottom - box.top) - 4 * unit;
            box.top += (box.bottom - box.top - size) / 2;
            box.bottom = box.top + size;
            if ((row.type & MFT_RADIOCHECK) != 0) {
                paint::RadioDot(dc, box, ink);
            } else {
                paint::CheckMark(dc, box, ink);
            }
        }
        paint::Text(dc, RECT{mark.right + 2 * unit, rect.top, rect.right - 14 * unit, rect.bottom},
                    row.text, ink, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_EXPANDTABS);
        if (row.submenu != nullptr) {
            paint::Arrow(dc,
                         RECT{rect.right - 12 * unit, rect.top, rect.right - 2 * unit, rect.bottom},
                         paint::Direction::Right, ink);
        }
    }
    paint::Frame(dc, client, palette.windowText, unit);
}

HWND OpenPopupOfThisProgram() {
    HWND found = nullptr;
    EnumWindows(
        [](HWND window, LPARAM out) -> BOOL {
            WCHAR name[16] = {};
            GetClassNameW(window, name, 16);
            if (std::u16string_view(name) == kPopupMenuClass &&
                GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) {
                *reinterpret_cast<HWND*>(out) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

} // namespace

std::vector<PopupMenuRow> DescribePopupMenu(HWND popup) {
    std::vector<PopupMenuRow> rows;
    const PopupLevelState* state = StateOf<PopupLevelState>(popup);
    if (state == nullptr || state->level >= state->tracker.LevelCount()) {
        return rows;
    }
    const MenuLevel& level = state->tracker.Level(state->level);
    RECT client;
    GetClientRect(popup, &client);
    for (std::size_t i = 0; i < level.rows.size(); ++i) {
        const MenuRow& row = level.rows[i];
        PopupMenuRow out;
        out.id = row.id;
        out.text = row.text;
        out.separator = row.IsSeparator();
        out.grayed = row.IsGrayed();
        out.checked = (row.state & MFS_CHECKED) != 0;
        out.radio = out.checked && (row.type & MFT_RADIOCHECK) != 0;
        out.submenu = row.submenu != nullptr;
        out.highlighted = static_cast<int>(i) == level.highlight;
        out.rect = RECT{client.left, row.top, client.right, row.top + row.height};
        rows.push_back(std::move(out));
    }
    return rows;
}

LRESULT PopupMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PopupLevelState* state = StateOf<PopupLevelState>(window);
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    MenuTracker& tracker = state->tracker;
    switch (message) {
    case WM_PAINT:
        if (state->level < tracker.LevelCount()) {
            PaintLevel(window, tracker.Level(state->level));
        } else {
            const paint::PaintCycle cycle(window);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        // A tap on the menu must not take activation from its owner.
        return MA_NOACTIVATE;
    case WM_CANCELMODE:
        tracker.Cancel();
        return 0;
    case WM_CAPTURECHANGED:
        // Losing the stylus to another window ends the menu, as a tap
        // outside does.
        if (reinterpret_cast<HWND>(lParam) != window && window == tracker.FirstWindow()) {
            tracker.Cancel();
        }
        return 0;
    // Stylus messages delivered straight to the window rather than through
    // the menu's loop land here.
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        MSG msg{};
        msg.hwnd = window;
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        Intercept(tracker, msg);
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

UINT TrackPopupMenuRequest(const PopupMenuRequest& request) {
    // One menu at a time on a thread.
    if (OpenPopupOfThisProgram() != nullptr) {
        return 0;
    }
    MenuTable* menus = Device::Current() != nullptr ? &Device::Current()->Menus() : nullptr;
    if (menus == nullptr) {
        return 0;
    }
    // An EndMenu from before this menu does not close it.
    menus->TakeCancelRequest();
    MenuTracker tracker(request.owner, request.flags);
    tracker.anchor = request.point;
    if (!tracker.Open(request.menu, -1)) {
        return 0;
    }
    RunModalLoop(
        [&tracker, menus] {
            if (menus->TakeCancelRequest()) {
                tracker.Cancel();
            }
            return tracker.Done();
        },
        [&tracker](MSG& msg) { return Intercept(tracker, msg); });
    const UINT chosen = tracker.Chosen();
    if (GetCapture() == tracker.FirstWindow()) {
        ReleaseCapture();
    }
    tracker.CloseFrom(0);
    return chosen;
}

} // namespace sim
