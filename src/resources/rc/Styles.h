// Window, control and toolbar constants for vantrel.rc, which is read by the
// resource compiler alone (C++ code takes them from the platform headers).
#pragma once

#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_VSCROLL 0x00200000L
#define WS_SYSMENU 0x00080000L
#define WS_TABSTOP 0x00010000L
#define WS_EX_CAPTIONOKBTN 0x80000000L

#define DS_MODALFRAME 0x80L

#define SS_ICON 0x3L
#define SS_NOPREFIX 0x80L
#define ES_AUTOHSCROLL 0x80L
#define CBS_DROPDOWNLIST 0x3L
#define CBS_SORT 0x100L


// The menu-bar resource: each button is image, command, state, style, string,
// 0, submenu index.
#define I_IMAGENONE (-2)
#define NOMENU 0xFFFF
#define TBSTATE_ENABLED 0x04
#define TBSTYLE_BUTTON 0x00
#define TBSTYLE_DROPDOWN 0x08
#define TBSTYLE_AUTOSIZE 0x10
