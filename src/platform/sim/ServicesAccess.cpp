#include "platform/sim/ServicesAccess.h"

#include "platform/sim/Device.h"
#include "platform/sim/ProgramThread.h"

namespace sim {

SystemServices* CurrentServices() {
    Device* device = Device::Current();
    return device != nullptr ? &device->Services() : nullptr;
}

DWORD CallingPid() {
    const Program* program = CurrentProgram();
    return program != nullptr ? program->Pid() : 0;
}

DWORD CallingThread() {
    const Program* program = CurrentProgram();
    return program != nullptr ? program->ThreadId() : 0;
}

} // namespace sim
