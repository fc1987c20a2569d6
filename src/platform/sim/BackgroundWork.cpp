#include "platform/BackgroundWork.h"

#include "platform/sim/Device.h"

BackgroundWork::BackgroundWork() {
    if (sim::Device* device = sim::Device::Current()) {
        device->BeginBackgroundWork();
        counted = true;
    }
}

BackgroundWork::~BackgroundWork() {
    if (counted) {
        if (sim::Device* device = sim::Device::Current()) {
            device->EndBackgroundWork();
        }
    }
}
