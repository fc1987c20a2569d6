// The program's module and the strings of its string table.
#pragma once

#include <string>

#include "platform/WinTypes.h"

namespace framework {

// The program's own module: the resources the framework loads are its.
HINSTANCE ProgramInstance();

// String id of the program's string table, whole; empty when there is none.
std::u16string LoadString(UINT id);

// The module's file name without folder and extension ("Vantrel" for
// "\Program Files\Vantrel\Vantrel.exe").
std::u16string ModuleBaseName();

} // namespace framework
