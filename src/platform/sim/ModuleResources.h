// Finding a module's resources for the loaders (strings, menus, dialogs,
// accelerators, bitmaps, icons).
#pragma once

#include <cstddef>
#include <optional>
#include <span>

#include "platform/ResourceFile.h"
#include "platform/WinTypes.h"

namespace sim {

class Module;

// The module of an instance handle; the calling program's for null.
Module* ModuleOf(HINSTANCE instance);
// The bytes of a resource, or nothing (with the last error set).
std::optional<std::span<const std::byte>> ResourceData(HINSTANCE instance, LPCWSTR name,
                                                       const res::ResourceId& type);

} // namespace sim
