// The display's settings: its orientation, queried and changed through the
// display device-mode record. Turning by 90 or 270 degrees swaps the
// screen's width and height; every top-level window then gets
// WM_SETTINGCHANGE (wParam SETTINGCHANGE_RESET) and, where the shell fits it
// to the screen (a window as wide as the screen keeps its distance from the
// top and bottom edges), a new size with its WM_SIZE. The orientation is
// kept across restarts. System metrics and device capabilities follow it.
#pragma once

#include <cstddef>

#include "platform/WinTypes.h"

// The display device-mode record, 192 bytes, with Win32's layout: dmSize
// (16 bits) at 68, dmFields (32 bits) at 72, dmOrientation (16 bits, the
// paper orientation) at 76, dmPelsWidth and dmPelsHeight at 172 and 176,
// dmDisplayOrientation (32 bits) at 188.
struct DEVMODEW {
    WCHAR dmDeviceName[32] = {};
    WORD dmSpecVersion = 0;
    WORD dmDriverVersion = 0;
    WORD dmSize = 0;
    WORD dmDriverExtra = 0;
    DWORD dmFields = 0;
    SHORT dmOrientation = 0;
    SHORT dmPaperSize = 0;
    SHORT dmPaperLength = 0;
    SHORT dmPaperWidth = 0;
    SHORT dmScale = 0;
    SHORT dmCopies = 0;
    SHORT dmDefaultSource = 0;
    SHORT dmPrintQuality = 0;
    SHORT dmColor = 0;
    SHORT dmDuplex = 0;
    SHORT dmYResolution = 0;
    SHORT dmTTOption = 0;
    SHORT dmCollate = 0;
    WCHAR dmFormName[32] = {};
    WORD dmLogPixels = 0;
    DWORD dmBitsPerPel = 0;
    DWORD dmPelsWidth = 0;
    DWORD dmPelsHeight = 0;
    DWORD dmDisplayFlags = 0;
    DWORD dmDisplayFrequency = 0;
    DWORD dmDisplayOrientation = 0;
};
static_assert(sizeof(DEVMODEW) == 192);
static_assert(offsetof(DEVMODEW, dmSize) == 68);
static_assert(offsetof(DEVMODEW, dmFields) == 72);
static_assert(offsetof(DEVMODEW, dmOrientation) == 76);
static_assert(offsetof(DEVMODEW, dmPelsWidth) == 172);
static_assert(offsetof(DEVMODEW, dmDisplayOrientation) == 188);

// dmFields: which fields the record carries.
constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_BITSPERPEL = 0x00040000;
constexpr DWORD DM_PELSWIDTH = 0x00080000;
constexpr DWORD DM_PELSHEIGHT = 0x00100000;
constexpr DWORD DM_DISPLAYFLAGS = 0x00200000;
constexpr DWORD DM_DISPLAYFREQUENCY = 0x00400000;
constexpr DWORD DM_DISPLAYORIENTATION = 0x00800000;
// With CDS_TEST: dmDisplayOrientation receives the orientations the display
// supports, as a mask of DMDO_90, DMDO_180 and DMDO_270 (upright always is).
constexpr DWORD DM_DISPLAYQUERYORIENTATION = 0x01000000;

// Paper orientation (dmOrientation); the display takes no notice of it.
constexpr SHORT DMORIENT_PORTRAIT = 1;
constexpr SHORT DMORIENT_LANDSCAPE = 2;

// Display orientations (dmDisplayOrientation).
constexpr DWORD DMDO_DEFAULT = 0;
constexpr DWORD DMDO_0 = 0;
constexpr DWORD DMDO_90 = 1;
constexpr DWORD DMDO_180 = 2;
constexpr DWORD DMDO_270 = 4;

// Flags: 0 applies the record now; CDS_TEST changes nothing and fills the
// requested fields in with the current settings.
constexpr DWORD CDS_UPDATEREGISTRY = 0x00000001;
constexpr DWORD CDS_TEST = 0x00000002;
constexpr DWORD CDS_RESET = 0x40000000;

// Results.
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;
constexpr LONG DISP_CHANGE_RESTART = 1;
constexpr LONG DISP_CHANGE_FAILED = -1;
constexpr LONG DISP_CHANGE_BADMODE = -2;
constexpr LONG DISP_CHANGE_NOTUPDATED = -3;
constexpr LONG DISP_CHANGE_BADFLAGS = -4;
constexpr LONG DISP_CHANGE_BADPARAM = -5;

// wParam of the WM_SETTINGCHANGE that follows a change of the display.
constexpr WPARAM SETTINGCHANGE_RESET = 0x3002;

// deviceName null (the one display), window null, param null. A record whose
// dmSize does not cover the fields it names, an orientation other than the
// four, or a field this display cannot change give DISP_CHANGE_BADPARAM
// (DISP_CHANGE_BADMODE for a screen size other than the current one).
LONG ChangeDisplaySettingsExW(LPCWSTR deviceName, DEVMODEW* mode, HWND window, DWORD flags,
                              LPVOID param);
