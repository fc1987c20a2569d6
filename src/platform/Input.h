// Keys and hardware buttons: virtual-key codes, hot keys, the key state,
// synthesized key events and accelerator tables.
#pragma once

#include "platform/Messages.h"
#include "platform/WinTypes.h"

// Virtual-key codes. Letters and digits are their upper-case ASCII codes.
constexpr BYTE VK_LBUTTON = 0x01;
constexpr BYTE VK_RBUTTON = 0x02;
constexpr BYTE VK_CANCEL = 0x03;
constexpr BYTE VK_BACK = 0x08;
constexpr BYTE VK_TAB = 0x09;
constexpr BYTE VK_CLEAR = 0x0C;
constexpr BYTE VK_RETURN = 0x0D;
constexpr BYTE VK_SHIFT = 0x10;
constexpr BYTE VK_CONTROL = 0x11;
constexpr BYTE VK_MENU = 0x12;
constexpr BYTE VK_PAUSE = 0x13;
constexpr BYTE VK_CAPITAL = 0x14;
constexpr BYTE VK_ESCAPE = 0x1B;
constexpr BYTE VK_SPACE = 0x20;
constexpr BYTE VK_PRIOR = 0x21;
constexpr BYTE VK_NEXT = 0x22;
constexpr BYTE VK_END = 0x23;
constexpr BYTE VK_HOME = 0x24;
constexpr BYTE VK_LEFT = 0x25;
constexpr BYTE VK_UP = 0x26;
constexpr BYTE VK_RIGHT = 0x27;
constexpr BYTE VK_DOWN = 0x28;
constexpr BYTE VK_SELECT = 0x29;
constexpr BYTE VK_PRINT = 0x2A;
constexpr BYTE VK_EXECUTE = 0x2B;
constexpr BYTE VK_SNAPSHOT = 0x2C;
constexpr BYTE VK_INSERT = 0x2D;
constexpr BYTE VK_DELETE = 0x2E;
constexpr BYTE VK_HELP = 0x2F;
constexpr BYTE VK_LWIN = 0x5B;
constexpr BYTE VK_RWIN = 0x5C;
constexpr BYTE VK_APPS = 0x5D;
constexpr BYTE VK_NUMPAD0 = 0x60;
constexpr BYTE VK_NUMPAD9 = 0x69;
constexpr BYTE VK_MULTIPLY = 0x6A;
constexpr BYTE VK_ADD = 0x6B;
constexpr BYTE VK_SEPARATOR = 0x6C;
constexpr BYTE VK_SUBTRACT = 0x6D;
constexpr BYTE VK_DECIMAL = 0x6E;
constexpr BYTE VK_DIVIDE = 0x6F;
constexpr BYTE VK_F1 = 0x70;
constexpr BYTE VK_F2 = 0x71;
constexpr BYTE VK_F3 = 0x72;
constexpr BYTE VK_F4 = 0x73;
constexpr BYTE VK_F5 = 0x74;
constexpr BYTE VK_F6 = 0x75;
constexpr BYTE VK_F7 = 0x76;
constexpr BYTE VK_F8 = 0x77;
constexpr BYTE VK_F9 = 0x78;
constexpr BYTE VK_F10 = 0x79;
constexpr BYTE VK_F11 = 0x7A;
constexpr BYTE VK_F12 = 0x7B;
constexpr BYTE VK_F13 = 0x7C;
constexpr BYTE VK_F14 = 0x7D;
constexpr BYTE VK_F15 = 0x7E;
constexpr BYTE VK_F16 = 0x7F;
constexpr BYTE VK_F17 = 0x80;
constexpr BYTE VK_F18 = 0x81;
constexpr BYTE VK_F19 = 0x82;
constexpr BYTE VK_F20 = 0x83;
constexpr BYTE VK_F21 = 0x84;
constexpr BYTE VK_F22 = 0x85;
// The Action key (pressing the navigation pad) arrives as F23.
constexpr BYTE VK_F23 = 0x86;
constexpr BYTE VK_F24 = 0x87;
constexpr BYTE VK_NUMLOCK = 0x90;
constexpr BYTE VK_SCROLL = 0x91;
constexpr BYTE VK_LSHIFT = 0xA0;
constexpr BYTE VK_RSHIFT = 0xA1;
constexpr BYTE VK_LCONTROL = 0xA2;
constexpr BYTE VK_RCONTROL = 0xA3;
constexpr BYTE VK_LMENU = 0xA4;
constexpr BYTE VK_RMENU = 0xA5;
// The application buttons of the handheld's case.
constexpr BYTE VK_APP1 = 0xC1;
constexpr BYTE VK_APP2 = 0xC2;
constexpr BYTE VK_APP3 = 0xC3;
constexpr BYTE VK_APP4 = 0xC4;
constexpr BYTE VK_APP5 = 0xC5;
constexpr BYTE VK_APP6 = 0xC6;
constexpr BYTE VK_PROCESSKEY = 0xE5;
// The phone's keys and the soft keys.
constexpr BYTE VK_TSOFT1 = VK_F1;
constexpr BYTE VK_TSOFT2 = VK_F2;
constexpr BYTE VK_TTALK = VK_F3;
constexpr BYTE VK_TEND = VK_F4;
constexpr BYTE VK_TRECORD = VK_F10;
constexpr BYTE VK_TACTION = VK_RETURN;
constexpr BYTE VK_TBACK = VK_ESCAPE;

// Hot keys: a key, with modifiers, taken system-wide by a window, which gets
// WM_HOTKEY (wParam the id, lParam the modifiers in the low and the key in the
// high word). MOD_KEYUP asks for a second WM_HOTKEY, with MOD_KEYUP in the low
// word, when the key is released. Hardware buttons come with MOD_WIN.
constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;
constexpr UINT MOD_WIN = 0x0008;
constexpr UINT MOD_KEYUP = 0x1000;
BOOL RegisterHotKey(HWND window, int id, UINT modifiers, UINT virtualKey);
BOOL UnregisterHotKey(HWND window, int id);

// The key state: the high bit (the result is negative) while the key is down.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);

// Synthesized key events, which go through the device's input like a key the
// user pressed.
constexpr DWORD KEYEVENTF_EXTENDEDKEY = 0x0001;
constexpr DWORD KEYEVENTF_KEYUP = 0x0002;
constexpr DWORD KEYEVENTF_SILENT = 0x0004;
void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, ULONG_PTR extraInfo);

// Accelerator tables: keys (with FVIRTKEY, a virtual key with the modifiers
// given; without it, a typed character) that become WM_COMMAND with 1 in the
// high word of wParam.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;
struct ACCEL {
    BYTE fVirt = 0;
    WORD key = 0;
    WORD cmd = 0;
};
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// Sends the command to the window and returns nonzero when the message is a key
// of the table.
int TranslateAcceleratorW(HWND window, HACCEL table, MSG* msg);
