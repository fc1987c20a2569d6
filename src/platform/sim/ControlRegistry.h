// The controls installed on the device by class id (platform/ControlHost.h).
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/ControlHost.h"

namespace sim {

class ControlRegistry {
public:
    void Register(const std::u16string& classId, HostedControlFactory factory);
    void Unregister(const std::u16string& classId);
    // The factory for the id (letter case does not matter), or an empty one.
    HostedControlFactory Find(const std::u16string& classId) const;

private:
    mutable std::mutex lock;
    std::map<std::u16string, HostedControlFactory> factories;
};

} // namespace sim
