// A slider (the device's trackbar) as a window object: its table sees the
// trackbar's messages first, WM_CREATE included, so a derived slider can set
// itself up in its own creation handler after the trackbar's.
#pragma once

#include "framework/Window.h"

namespace framework {

class Slider : public Window {
public:
    // A horizontal slider unless style says TBS_VERT; range 0 to 100 at first.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    int GetPos() const;
    void SetPos(int position, bool redraw = true) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    void SetRangeMin(int minimum, bool redraw = false) const;
    void SetRangeMax(int maximum, bool redraw = false) const;

protected:
    // Builds on the device's trackbar class.
    bool PreCreateWindow(CreateParams& params) override;
};

} // namespace framework
