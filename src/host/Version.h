#pragma once

namespace host {

// The program's version as "major.minor", as the About box shows it.
const char* Version();

} // namespace host
