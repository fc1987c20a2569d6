#include "framework/Slider.h"

#include "platform/Controls.h"

namespace framework {

bool Slider::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
    return Window::Create(std::u16string{}, style, rect, parent, id);
}

bool Slider::PreCreateWindow(CreateParams& params) {
    params.baseClass = TRACKBAR_CLASSW;
    return Window::PreCreateWindow(params);
}

int Slider::GetPos() const {
    return static_cast<int>(SendMessage(TBM_GETPOS));
}

void Slider::SetPos(int position, bool redraw) const {
    SendMessage(TBM_SETPOS, redraw ? TRUE : FALSE, position);
}

int Slider::GetRangeMin() const {
    return static_cast<int>(SendMessage(TBM_GETRANGEMIN));
}

int Slider::GetRangeMax() const {
    return static_cast<int>(SendMessage(TBM_GETRANGEMAX));
}

void Slider::SetRangeMin(int minimum, bool redraw) const {
    SendMessage(TBM_SETRANGEMIN, redraw ? TRUE : FALSE, minimum);
}

void Slider::SetRangeMax(int maximum, bool redraw) const {
    SendMessage(TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
}

} // namespace framework
