// Kept apart from ControlPicture.cpp: only a program on the device (which
// provides the DIB call) paints; tests of the picture need no device.
#include "swf/control/ControlPicture.h"

namespace swf {

bool PaintPicture(HDC dc, const MovieView& view) {
    const int width = view.Width();
    const int height = view.Height();
    if (width <= 0 || height <= 0) {
        return false;
    }
    // The view's pixels are a top-down 32-bit DIB as they stand.
    BITMAPINFO info{};
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0,
                             0, static_cast<UINT>(height), view.Pixels().data(), &info,
                             DIB_RGB_COLORS) == height;
}

} // namespace swf
