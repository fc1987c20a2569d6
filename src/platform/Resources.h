// A module's resources: finding and reading them, and the loaders for strings,
// icons, cursors and bitmaps. Menus, dialogs and accelerator tables have their
// loaders in Menus.h, Dialogs.h and Input.h.
#pragma once

#include "platform/WinTypes.h"

// Resource types, as the name arguments of FindResourceW take them.
inline const LPCWSTR RT_CURSOR = MAKEINTRESOURCEW(1);
inline const LPCWSTR RT_BITMAP = MAKEINTRESOURCEW(2);
inline const LPCWSTR RT_ICON = MAKEINTRESOURCEW(3);
inline const LPCWSTR RT_MENU = MAKEINTRESOURCEW(4);
inline const LPCWSTR RT_DIALOG = MAKEINTRESOURCEW(5);
inline const LPCWSTR RT_STRING = MAKEINTRESOURCEW(6);
inline const LPCWSTR RT_ACCELERATOR = MAKEINTRESOURCEW(9);
inline const LPCWSTR RT_RCDATA = MAKEINTRESOURCEW(10);
inline const LPCWSTR RT_GROUP_ICON = MAKEINTRESOURCEW(14);

// The resource's bytes stay valid for the life of the module.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Copies string id into the buffer, cut to fit and zero-terminated, and returns
// its length (0 when there is no such string). With bufferLength 0 the buffer
// receives a read-only pointer to the string in the resource, which is not
// zero-terminated.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int bufferLength);

// The device's own icons and cursors, for a null instance.
inline const LPCWSTR IDI_APPLICATION = MAKEINTRESOURCEW(32512);
inline const LPCWSTR IDC_ARROW = MAKEINTRESOURCEW(32512);
inline const LPCWSTR IDC_WAIT = MAKEINTRESOURCEW(32514);

HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyIcon(HICON icon);

constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_DEFAULTSIZE = 0x0040;
// Width and height 0 take the image's own size (or the system size with
// LR_DEFAULTSIZE); otherwise an icon's image closest in size is taken.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);

// The size of a bitmap made by LoadBitmapW or LoadImageW.
struct BITMAP {
    LONG bmType = 0;
    LONG bmWidth = 0;
    LONG bmHeight = 0;
    LONG bmWidthBytes = 0;
    WORD bmPlanes = 1;
    WORD bmBitsPixel = 32;
    LPVOID bmBits = nullptr;
};
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
