#include "framework/StaticText.h"

#include "platform/Controls.h"

namespace framework {

bool StaticText::Create(const std::u16string& text, DWORD style, const RECT& rect, HWND parent,
                        UINT id) {
    return Window::Create(text, style, rect, parent, id);
}

bool StaticText::PreCreateWindow(CreateParams& params) {
    params.baseClass = WC_STATICW;
    return Window::PreCreateWindow(params);
}

} // namespace framework
