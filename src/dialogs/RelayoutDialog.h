// Moves a dialog's controls to the places another template of the same
// controls gives them (an upright and a landscape layout of one dialog), and
// refreshes what a move can leave stale: texts, images and list selections.
#pragma once

#include "platform/WinTypes.h"

namespace player {

// The controls of dialog moved to their rectangles in template resourceId of
// resourceInstance. False when the template is missing or damaged, when a
// control of the template is not in the dialog (the walk stops there: no
// later control moves), when a move could not be made, or when the template
// has more than one control without an id of its own.
bool RelayoutDialog(HINSTANCE resourceInstance, HWND dialog, UINT resourceId);

} // namespace player
