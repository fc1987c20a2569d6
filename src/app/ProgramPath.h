// The full device path of the program's own file
// ("\Program Files\Vantrel\Vantrel.exe"), from which the settings file, the
// default movie and the single-instance marker take their names.
#pragma once

#include <string>

namespace player {

// Whole, however long: the names built from it are never cut short.
std::u16string ProgramPath();

} // namespace player
