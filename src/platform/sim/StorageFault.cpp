#include "platform/sim/StorageFault.h"

#include <algorithm>

namespace sim {

void StorageFault::CutOffAfter(std::size_t changes) {
    const std::lock_guard guard(lock);
    changesLeft = changes;
}

void StorageFault::Reconnect() {
    const std::lock_guard guard(lock);
    changesLeft.reset();
}

bool StorageFault::CutOff() const {
    const std::lock_guard guard(lock);
    return changesLeft && *changesLeft == 0;
}

std::size_t StorageFault::Take(std::size_t wanted) {
    const std::lock_guard guard(lock);
    if (!changesLeft) {
        return wanted;
    }
    const std::size_t taken = std::min(wanted, *changesLeft);
    *changesLeft -= taken;
    return taken;
}

} // namespace sim
