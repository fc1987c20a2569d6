// Pictures for the controls: icons and bitmaps read from a program's
// resources, and bitmaps made by LoadBitmapW, decoded to pixels.
#pragma once

#include <optional>

#include "platform/ResourceFormats.h"
#include "platform/WinTypes.h"

namespace sim {

// The resource name a control's text stands for: a number made with
// MAKEINTRESOURCEW, a dialog template's 0xFFFF-and-number form, or a name.
std::optional<LPCWSTR> ResourceNameOfText(LPCWSTR text);

// The icon's image closest to `size` pixels square.
std::optional<res::Image> LoadIconImage(HINSTANCE instance, LPCWSTR name, int size);
std::optional<res::Image> LoadBitmapImage(HINSTANCE instance, LPCWSTR name);
// The pixels of a bitmap or an icon made by the device (LoadBitmapW,
// LoadIconW, LoadImageW); nothing for other handles.
std::optional<res::Image> ImageOfBitmap(HBITMAP bitmap);
std::optional<res::Image> ImageOfIcon(HICON icon);

} // namespace sim
