// The ".swf" association: the registry entries under HKEY_CLASSES_ROOT by
// which the device's shell opens movie files with the player.
#pragma once

namespace player {

// The class ".swf" names keeps its name (or becomes "ShockwaveFlashFile"
// where there is none) and gets the player's icon and open command; then a
// message tells the user. The first registry step that fails ends it
// silently, with the keys opened so far closed and what was written kept.
void AssociateSwf();

} // namespace player
