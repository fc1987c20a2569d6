// Message boxes with the application's title, owned by the program's active
// window (a dialog that is up), else by its main window.
#pragma once

#include <string>

#include "platform/Dialogs.h"

namespace framework {

// Returns the button chosen (IDOK...), 0 when no box could be shown.
int ShowMessageBox(const std::u16string& text, UINT type = MB_OK);
// The text is string stringId of the program's string table.
int ShowMessageBox(UINT stringId, UINT type = MB_OK);

} // namespace framework
