// The functions of a library loaded at run time (with dlopen) rather than
// linked, so that a program pays for loading it only when it is needed.
//
//   void* library = dlopen("libexample.so.1", RTLD_NOW | RTLD_LOCAL);
//   decltype(&::example_open) open = nullptr;
//   if (library != nullptr && FindFunction(library, "example_open", open)) ...
#pragma once

#include <dlfcn.h>

namespace swf {

// Sets function to the library's function of that name; false when the
// library has none.
template <typename Function>
bool FindFunction(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

} // namespace swf
