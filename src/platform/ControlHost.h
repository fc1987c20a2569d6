// Hosting of controls that are created by class id and driven through dispatch
// calls, the way a handheld hosts an ActiveX control inside a window.
//
// A control implementation registers a factory under its class id
// (RegisterControlClass). A program enables hosting once (EnableControlHosting),
// creates the control as a child window by class id (CreateControlWindow) and
// then calls its operations by dispatch id (InvokeControl). The device records
// every dispatch call in its journal, with the operation's name as the control
// reports it, so tests see the program's conversation with the control.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <variant>

#include "platform/WinTypes.h"

using DISPID = LONG;

// Kinds of dispatch call, as Win32 numbers them.
constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;

// A dispatch argument or result: nothing, a boolean, a 32-bit integer, a double
// or a text.
class Variant {
public:
    Variant() = default;
    static Variant Bool(bool value) { return Variant(Value{std::in_place_index<1>, value}); }
    static Variant Int(LONG value) { return Variant(Value{std::in_place_index<2>, value}); }
    static Variant Double(double value) { return Variant(Value{std::in_place_index<3>, value}); }
    static Variant Text(std::u16string value) {
        return Variant(Value{std::in_place_index<4>, std::move(value)});
    }

    bool IsEmpty() const { return value.index() == 0; }
    bool IsBool() const { return value.index() == 1; }
    bool IsInt() const { return value.index() == 2; }
    bool IsDouble() const { return value.index() == 3; }
    bool IsText() const { return value.index() == 4; }

    // Each reader converts where Win32's variant coercion would: numbers and
    // booleans into one another, and a text holding a number into a number.
    // It returns false (and leaves out untouched) where no conversion exists.
    bool ToBool(bool& out) const;
    bool ToInt(LONG& out) const;
    bool ToDouble(double& out) const;
    bool ToText(std::u16string& out) const;

    bool operator==(const Variant&) const = default;

private:
    using Value = std::variant<std::monostate, bool, LONG, double, std::u16string>;
    explicit Variant(Value v) : value(std::move(v)) {}
    Value value;
};

// What a control implementation provides. The device owns one instance per
// control window and destroys it after the window's WM_NCDESTROY.
class HostedControl {
public:
    virtual ~HostedControl() = default;

    // The control's window procedure. The device creates the window and routes
    // every message of it here, WM_CREATE and WM_PAINT included; a program may
    // subclass the window as any other.
    virtual LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

    // One dispatch call. args are in the order of the operation's parameters;
    // for a property put, the value is the last argument. Returns
    // DISP_E_MEMBERNOTFOUND for an id or kind the control does not have.
    virtual HRESULT Invoke(DISPID id, WORD kind, std::span<const Variant> args,
                           Variant& result) = 0;

    // The name of an operation, for the journal ("SetMovieUrl" for a put of id
    // 102, say); nullptr for an id or kind the control does not have.
    virtual const char* OperationName(DISPID id, WORD kind) const = 0;

    // The control's state as one JSON object, for tests and the host's state
    // output.
    virtual std::string StateJson() const = 0;
};

using HostedControlFactory = std::function<std::unique_ptr<HostedControl>()>;

// Installs a control implementation on the device under a class id written
// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (letter case does not matter).
// A later registration under the same id replaces the earlier one.
void RegisterControlClass(const std::u16string& classId, HostedControlFactory factory);
// Removes it again (as uninstalling the control would).
void UnregisterControlClass(const std::u16string& classId);

// Enables the hosting of controls in the calling program's windows.
BOOL EnableControlHosting();

// Creates the control registered under classId as a child window of parent with
// the given text, style (WS_CHILD is implied), rectangle in the parent's client
// coordinates and child id. Returns nullptr, with the last error set, when
// hosting is not enabled or no control is registered under the id.
HWND CreateControlWindow(LPCWSTR classId, LPCWSTR text, DWORD style, const RECT& rect, HWND parent,
                         UINT id);

// True for a window made by CreateControlWindow that still exists.
BOOL IsControlWindow(HWND window);

// A control tells its container of an event (a movie's FSCommand, say):
// the device journals it under the event's name with its arguments. Nothing
// on the device listens for these events yet.
void RaiseControlEvent(HWND control, const char* event, std::span<const Variant> args);

// One dispatch call on the control in the given window, recorded in the
// journal. result may be null when the caller does not want it.
HRESULT InvokeControl(HWND control, DISPID id, WORD kind, std::span<const Variant> args,
                      Variant* result);
