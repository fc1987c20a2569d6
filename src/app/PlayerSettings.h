// The seven values of the player that survive a restart, and the small text
// file beside the program that holds them.
#pragma once

#include <cstdint>
#include <string>

namespace player {

struct PlayerSettings {
    // 0 keeps the backlight on while a movie plays, 1 does not, 2 keeps it
    // except in slide mode; any other value acts as 0.
    int backlightOption = 0;
    // Non-zero: the full-screen toggle places the movie at once.
    int landscapeInFullScreen = 1;
    // Stored and restored only.
    int storedValue3 = 10;
    int storedValue4 = 560;
    // Only carried through the Options dialog; an 8-bit field in the file.
    std::uint8_t storedFlag5 = 1;
    // 0 Show All, 1 No Border, 2 Exact Fit, 3 No Scale.
    int scaleMode = 0;
    // 8 while the frame shows the toolbar, 0 while it shows the menu-only bar.
    int toolbarState = 0;
};

// The program's own full path with ".cfg" appended.
std::u16string SettingsFilePath();

// Reads the file's numbers into settings, in order, as far as they go: the
// values after the first that cannot be read keep what settings held. A file
// that cannot be opened changes nothing. Reports nothing.
void ReadSettingsFile(const std::u16string& path, PlayerSettings& settings);

// Writes the seven values as decimal numbers separated by single blanks, with
// no line end. The file is replaced whole: at any moment it holds the old
// values or the new ones. A file that cannot be written is left as it is,
// silently.
void WriteSettingsFile(const std::u16string& path, const PlayerSettings& settings);

} // namespace player
