// The device's state as one JSON object, for --state and the script's state
// action: the screen, the shell's bars, every window with what its kind of
// control holds, hot keys, power, volume, registry, the movie control and the
// open message boxes. Tools read these fields by name; they stay as they are.
#pragma once

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace host {

class Session;

// Reads the controls by their own messages, sent from the driver (so the
// programs run while it is collected, at the current device time).
nlohmann::ordered_json CollectDeviceState(Session& session);

// Writes the state to file; false (with why in error) when it cannot.
bool WriteDeviceState(Session& session, const std::filesystem::path& file, std::string& error);

} // namespace host
