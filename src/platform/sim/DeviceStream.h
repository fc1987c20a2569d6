// The C runtime stream a program writes a device file through: the host's
// stream underneath, with every byte passing the storage fault on its way,
// so that a test can end the storage's changes at any byte.
#pragma once

#include <cstdio>
#include <memory>

#include "platform/sim/StorageFault.h"

namespace sim {

// A stream over host (opened with mode, which it takes over and closes), or
// null when none can be made (host is closed then). Bytes the fault refuses
// are not written, and the stream reports a write error for them.
FILE* OpenDeviceStream(FILE* host, const char* mode, std::shared_ptr<StorageFault> fault);

} // namespace sim
