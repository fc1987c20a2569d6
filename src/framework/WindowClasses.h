// The window classes the framework registers for the program: one per set of
// class traits, and one superclass per device class a window object builds on.
// The device keeps the registrations; asking again finds the class registered
// before.
#pragma once

#include <optional>
#include <string>

#include "framework/Window.h"
#include "platform/Window.h"

namespace framework {

// The name of the program's class with these traits and procedure, registered
// on first use; empty when it cannot be registered.
std::u16string RegisterOwnClass(HINSTANCE instance, const WindowClassTraits& traits,
                                WNDPROC procedure);

struct Superclass {
    std::u16string name;
    // The device class's procedure: default processing for its windows.
    WNDPROC baseProcedure = nullptr;
};
// A class of the program's own that behaves as the device class baseClass,
// except that procedure sees its messages first. Nothing when baseClass does
// not exist or the superclass cannot be registered.
std::optional<Superclass> RegisterSuperclass(HINSTANCE instance, const std::u16string& baseClass,
                                             WNDPROC procedure);

} // namespace framework
