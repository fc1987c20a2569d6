// Message tables: each class that handles messages has one static table of
// typed entries, searched in table order, then its base class's table. An entry
// names a window message, a command id, a range of command ids or a control
// notification, and the member function that handles it; the framework unpacks
// wParam and lParam once, here, so handlers get typed arguments.
//
// A class declares
//     const framework::MessageTable& Messages() const override;
// and defines it with its base class's table as the next one searched:
//     const framework::MessageTable& CMyView::Messages() const {
//         using T = framework::Table<CMyView>;
//         static const T table{ChildWindow::Messages(),
//                              {T::Size(&CMyView::OnSize), T::Command(32772, &CMyView::OnPlay)}};
//         return table;
//     }
#pragma once

#include <concepts>
#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "platform/Messages.h"
#include "platform/Window.h"

namespace framework {

class CommandTarget;
class Window;

// A message as a window procedure receives it. Only this file and the window
// procedure look inside wParam and lParam.
struct Message {
    UINT id = WM_NULL;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// WM_COMMAND's notification codes for a menu item and an accelerator; a control
// sends its own code (BN_CLICKED is 0, so a button click reads as a command).
constexpr UINT kMenuCommandCode = 0;
constexpr UINT kAcceleratorCommandCode = 1;

// One entry of a table. Made by the factories of Table<T>.
class MessageEntry {
public:
    // What the handler did: a result, or nothing when it declined the message
    // (a command handler returning false), so the search goes on.
    using Handler = std::function<std::optional<LRESULT>(CommandTarget&, const Message&)>;

    enum class Kind { WindowMessage, Command, CommandRange, ControlNotification, Notify };

    MessageEntry(Kind kind, UINT message, UINT first, UINT last, UINT code, Handler handler)
        : kind(kind), message(message), first(first), last(last), code(code),
          handler(std::move(handler)) {}

    bool Matches(const Message& m) const;
    std::optional<LRESULT> Invoke(CommandTarget& target, const Message& m) const {
        return handler(target, m);
    }

private:
    Kind kind;
    UINT message;
    UINT first;
    UINT last;
    UINT code;
    Handler handler;
};

// The entries of one class, and the table of its base class.
class MessageTable {
public:
    // The root table, with no entries and no base.
    MessageTable() = default;
    MessageTable(const MessageTable& base, std::initializer_list<MessageEntry> entries)
        : base(&base), entries(entries) {}
    MessageTable(const MessageTable&) = delete;
    MessageTable& operator=(const MessageTable&) = delete;

    // Offers the message to each matching entry, this table's first, then the
    // base tables'; the first handler that takes it gives the result. Nothing
    // when no entry takes it.
    std::optional<LRESULT> Dispatch(CommandTarget& target, const Message& m) const;

private:
    const MessageTable* base = nullptr;
    std::vector<MessageEntry> entries;
};

// Anything with a message table: windows and the application.
class CommandTarget {
public:
    CommandTarget() = default;
    virtual ~CommandTarget() = default;
    CommandTarget(const CommandTarget&) = delete;
    CommandTarget& operator=(const CommandTarget&) = delete;

    // The table of the object's class. The root table is empty.
    virtual const MessageTable& Messages() const;
};

// The typed entries of class T's table.
template <class T>
class Table : public MessageTable {
public:
    Table(const MessageTable& base, std::initializer_list<MessageEntry> entries)
        : MessageTable(base, entries) {}

    // ---- Commands (WM_COMMAND), for windows and the application alike ----

    // Command id from a menu, an accelerator or a control (BN_CLICKED).
    static MessageEntry Command(UINT id, void (T::*handler)()) {
        return CommandEntry(MessageEntry::Kind::Command, id, id, [handler](T& self, UINT) {
            (self.*handler)();
            return true;
        });
    }
    // The same, for a handler that may decline (false): the command then goes
    // on to later entries and the next target of the routing.
    static MessageEntry Command(UINT id, bool (T::*handler)()) {
        return CommandEntry(MessageEntry::Kind::Command, id, id,
                            [handler](T& self, UINT) { return (self.*handler)(); });
    }
    // Command ids first to last, inclusive; the handler gets the id.
    static MessageEntry CommandRange(UINT first, UINT last, void (T::*handler)(UINT id)) {
        return CommandEntry(MessageEntry::Kind::CommandRange, first, last,
                            [handler](T& self, UINT id) {
                                (self.*handler)(id);
                                return true;
                            });
    }
    // A control's WM_COMMAND notification (EN_CHANGE, CBN_SELCHANGE...).
    static MessageEntry Control(UINT id, WORD code, void (T::*handler)()) {
        return MessageEntry(MessageEntry::Kind::ControlNotification, WM_COMMAND, id, id, code,
                            [handler](CommandTarget& target, const Message&) {
                                (static_cast<T&>(target).*handler)();
                                return std::optional<LRESULT>(0);
                            });
    }

    // ---- Window messages ----

    // WM_NOTIFY from control id with that code; the handler's result is the
    // message's.
    static MessageEntry
    Notify(UINT id, UINT code,
           LRESULT (T::*handler)(const NMHDR&)) requires std::derived_from<T, Window> {
        return MessageEntry(MessageEntry::Kind::Notify, WM_NOTIFY, id, id, code,
                            [handler](CommandTarget& target, const Message& m) {
                                const auto& header = *reinterpret_cast<const NMHDR*>(m.lParam);
                                return std::optional<LRESULT>(
                                    (static_cast<T&>(target).*handler)(header));
                            });
    }
    // WM_CREATE: false fails the creation.
    static MessageEntry
    Create(bool (T::*handler)(const CREATESTRUCTW&)) requires std::derived_from<T, Window> {
        return On(WM_CREATE, [handler](T& self, const Message& m) {
            const auto& create = *reinterpret_cast<const CREATESTRUCTW*>(m.lParam);
            return (self.*handler)(create) ? LRESULT{0} : LRESULT{-1};
        });
    }
    // WM_INITDIALOG: true lets the device give the focus to the first control.
    static MessageEntry InitDialog(bool (T::*handler)()) requires std::derived_from<T, Window> {
        return On(WM_INITDIALOG, [handler](T& self, const Message&) {
            return LRESULT{(self.*handler)() ? TRUE : FALSE};
        });
    }
    static MessageEntry Destroy(void (T::*handler)()) requires std::derived_from<T, Window> {
        return Plain(WM_DESTROY, handler);
    }
    static MessageEntry Close(void (T::*handler)()) requires std::derived_from<T, Window> {
        return Plain(WM_CLOSE, handler);
    }
    static MessageEntry Paint(void (T::*handler)()) requires std::derived_from<T, Window> {
        return Plain(WM_PAINT, handler);
    }
    // WM_SIZE: the kind of change (SIZE_RESTORED...) and the new client size.
    static MessageEntry Size(void (T::*handler)(UINT type, int width,
                                                int height)) requires std::derived_from<T, Window> {
        return On(WM_SIZE, [handler](T& self, const Message& m) {
            (self.*handler)(static_cast<UINT>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
            return LRESULT{0};
        });
    }
    // WM_ACTIVATE: WA_INACTIVE, WA_ACTIVE or WA_CLICKACTIVE, and the window
    // losing or gaining the activation.
    static MessageEntry
    Activate(void (T::*handler)(UINT state, HWND other,
                                bool minimized)) requires std::derived_from<T, Window> {
        return On(WM_ACTIVATE, [handler](T& self, const Message& m) {
            (self.*handler)(LOWORD(m.wParam), reinterpret_cast<HWND>(m.lParam),
                            HIWORD(m.wParam) != 0);
            return LRESULT{0};
        });
    }
    static MessageEntry
    SetFocus(void (T::*handler)(HWND previous)) requires std::derived_from<T, Window> {
        return WithWindow(WM_SETFOCUS, handler);
    }
    static MessageEntry
    KillFocus(void (T::*handler)(HWND next)) requires std::derived_from<T, Window> {
        return WithWindow(WM_KILLFOCUS, handler);
    }
    // WM_KEYDOWN and WM_KEYUP: the virtual key, the repeat count and the flags
    // (lParam's high word).
    static MessageEntry
    KeyDown(void (T::*handler)(UINT key, UINT repeat,
                               UINT flags)) requires std::derived_from<T, Window> {
        return Key(WM_KEYDOWN, handler);
    }
    static MessageEntry
    KeyUp(void (T::*handler)(UINT key, UINT repeat,
                             UINT flags)) requires std::derived_from<T, Window> {
        return Key(WM_KEYUP, handler);
    }
    // WM_CHAR: the character typed.
    static MessageEntry Char(void (T::*handler)(UINT character, UINT repeat,
                                                UINT flags)) requires std::derived_from<T, Window> {
        return Key(WM_CHAR, handler);
    }
    // WM_HOTKEY: the hot key's id, its modifiers (MOD_*) and its virtual key.
    static MessageEntry HotKey(void (T::*handler)(int id, UINT modifiers,
                                                  UINT key)) requires std::derived_from<T, Window> {
        return On(WM_HOTKEY, [handler](T& self, const Message& m) {
            (self.*handler)(static_cast<int>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
            return LRESULT{0};
        });
    }
    // WM_TIMER: the timer's id.
    static MessageEntry
    Timer(void (T::*handler)(UINT_PTR id)) requires std::derived_from<T, Window> {
        return On(WM_TIMER, [handler](T& self, const Message& m) {
            (self.*handler)(static_cast<UINT_PTR>(m.wParam));
            return LRESULT{0};
        });
    }
    // WM_HSCROLL and WM_VSCROLL: the scroll code (TB_THUMBTRACK...), the
    // position that comes with it and the slider or scroll bar that sent it.
    static MessageEntry
    HScroll(void (T::*handler)(UINT code, UINT position,
                               HWND sender)) requires std::derived_from<T, Window> {
        return Scroll(WM_HSCROLL, handler);
    }
    static MessageEntry
    VScroll(void (T::*handler)(UINT code, UINT position,
                               HWND sender)) requires std::derived_from<T, Window> {
        return Scroll(WM_VSCROLL, handler);
    }
    // WM_INITMENUPOPUP: the popup about to open and its position in its menu.
    static MessageEntry
    InitMenuPopup(void (T::*handler)(HMENU popup, UINT index,
                                     bool windowMenu)) requires std::derived_from<T, Window> {
        return On(WM_INITMENUPOPUP, [handler](T& self, const Message& m) {
            (self.*handler)(reinterpret_cast<HMENU>(m.wParam), LOWORD(m.lParam),
                            HIWORD(m.lParam) != 0);
            return LRESULT{0};
        });
    }
    // WM_CONTEXTMENU: the window it is for and the point, in screen coordinates.
    static MessageEntry ContextMenu(
        void (T::*handler)(HWND window, POINT screenPoint)) requires std::derived_from<T, Window> {
        return On(WM_CONTEXTMENU, [handler](T& self, const Message& m) {
            (self.*handler)(reinterpret_cast<HWND>(m.wParam), PointOf(m.lParam));
            return LRESULT{0};
        });
    }
    // Stylus messages: the key state (MK_*) and the point in client coordinates.
    static MessageEntry
    LButtonDown(void (T::*handler)(UINT keys, POINT point)) requires std::derived_from<T, Window> {
        return Stylus(WM_LBUTTONDOWN, handler);
    }
    static MessageEntry
    LButtonUp(void (T::*handler)(UINT keys, POINT point)) requires std::derived_from<T, Window> {
        return Stylus(WM_LBUTTONUP, handler);
    }
    static MessageEntry
    MouseMove(void (T::*handler)(UINT keys, POINT point)) requires std::derived_from<T, Window> {
        return Stylus(WM_MOUSEMOVE, handler);
    }
    // Any other message, as it came: for messages of the program's own
    // (WM_USER and above) and the few without a typed entry.
    static MessageEntry
    Raw(UINT message, LRESULT (T::*handler)(const Message&)) requires std::derived_from<T, Window> {
        return On(message, [handler](T& self, const Message& m) { return (self.*handler)(m); });
    }

private:
    template <class Fn>
    static MessageEntry On(UINT message, Fn fn) {
        return MessageEntry(MessageEntry::Kind::WindowMessage, message, 0, 0, 0,
                            [fn](CommandTarget& target, const Message& m) {
                                return std::optional<LRESULT>(fn(static_cast<T&>(target), m));
                            });
    }
    // fn(self, id) returns whether it took the command.
    template <class Fn>
    static MessageEntry CommandEntry(MessageEntry::Kind kind, UINT first, UINT last, Fn fn) {
        return MessageEntry(kind, WM_COMMAND, first, last, 0,
                            [fn](CommandTarget& target, const Message& m) {
                                if (fn(static_cast<T&>(target), LOWORD(m.wParam))) {
                                    return std::optional<LRESULT>(0);
                                }
                                return std::optional<LRESULT>();
                            });
    }
    static MessageEntry Plain(UINT message, void (T::*handler)()) {
        return On(message, [handler](T& self, const Message&) {
            (self.*handler)();
            return LRESULT{0};
        });
    }
    static MessageEntry WithWindow(UINT message, void (T::*handler)(HWND)) {
        return On(message, [handler](T& self, const Message& m) {
            (self.*handler)(reinterpret_cast<HWND>(m.wParam));
            return LRESULT{0};
        });
    }
    static MessageEntry Key(UINT message, void (T::*handler)(UINT, UINT, UINT)) {
        return On(message, [handler](T& self, const Message& m) {
            (self.*handler)(static_cast<UINT>(m.wParam), LOWORD(m.lParam), HIWORD(m.lParam));
            return LRESULT{0};
        });
    }
    static MessageEntry Scroll(UINT message, void (T::*handler)(UINT, UINT, HWND)) {
        return On(message, [handler](T& self, const Message& m) {
            (self.*handler)(LOWORD(m.wParam), HIWORD(m.wParam), reinterpret_cast<HWND>(m.lParam));
            return LRESULT{0};
        });
    }
    static MessageEntry Stylus(UINT message, void (T::*handler)(UINT, POINT)) {
        return On(message, [handler](T& self, const Message& m) {
            (self.*handler)(static_cast<UINT>(m.wParam), PointOf(m.lParam));
            return LRESULT{0};
        });
    }
    static POINT PointOf(LPARAM lParam) {
        return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    }
};

} // namespace framework
