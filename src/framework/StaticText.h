// A static text control as a window object.
#pragma once

#include <string>

#include "framework/Window.h"

namespace framework {

class StaticText : public Window {
public:
    bool Create(const std::u16string& text, DWORD style, const RECT& rect, HWND parent, UINT id);

protected:
    // Builds on the device's static class.
    bool PreCreateWindow(CreateParams& params) override;
};

} // namespace framework
