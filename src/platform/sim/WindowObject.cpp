#include "platform/sim/WindowObject.h"

#include "platform/sim/Canvas.h"
#include "platform/sim/DialogManager.h"

namespace sim {

Window::Window() = default;
Window::~Window() = default;

} // namespace sim
