// One player per device. The first player holds a named mutex made from the
// program's path for its whole life; a later launch that finds the name taken
// looks for the running player's window, brings it to the front and ends.
#pragma once

#include <string>

#include "platform/WinTypes.h"

namespace player {

// The marker's name: the program's full path with every "\" as "/".
std::u16string SingleInstanceName(const std::u16string& programPath);

class SingleInstance {
public:
    SingleInstance() = default;
    // Gives the marker up, so the next launch starts as the first.
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // The check of a launch. True: another player is running and has been
    // brought forward, so this launch must end. False: go on as the first
    // player; also when the platform is no handheld, the marker cannot be
    // made, or no running player's window turned up within 40 attempts of
    // 250 ms.
    bool HandedOver();

private:
    HANDLE marker = nullptr;
};

} // namespace player
