// The user's way through the shell's bars and menus: tapping a soft key of the
// bar in front, and choosing a menu item by tapping the "Menu" soft key and
// then the items of the popups as they open, as a person would.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "platform/Result.h"

namespace host {

class Session;

using Done = Result<std::monostate>;

// Soft key 1 is the left one, 2 the right one, of the frontmost menu bar (a
// message box's or dialog's bar when one is in front).
Done TapSoftKey(Session& session, int number);

// path holds the item texts from the "Menu" popup down ("Screen", "Toggle
// Fullscreen"), compared without their '&' marks. On failure the menus
// opened are closed again.
Done ChooseMenuItem(Session& session, const std::vector<std::string>& path);

// A menu text as compared: without '&' marks ("&&" is one '&') and without
// the accelerator text after a tab.
std::u16string PlainMenuText(const std::u16string& text);

} // namespace host
