// A plain child window of the program's own class: the base of views and of
// other child windows that draw themselves.
#pragma once

#include "framework/Window.h"

namespace framework {

class ChildWindow : public Window {
protected:
    // The child style, and a class with double clicks, the arrow cursor and
    // the window colour behind it.
    bool PreCreateWindow(CreateParams& params) override;
};

} // namespace framework
