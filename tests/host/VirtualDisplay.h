// An Xvfb server of the test's own, ended with it. The server picks a free
// display number itself and tells it back, so that tests starting servers at
// the same moment never end up sharing one.
#pragma once

#include <memory>
#include <string>

#include "host/ChildProcess.h"

namespace host::testing {

class VirtualDisplay {
public:
    VirtualDisplay();
    bool Running() const { return server != nullptr; }
    // ":N", for DISPLAY.
    const std::string& Name() const { return name; }

private:
    std::string name;
    std::unique_ptr<ChildProcess> server;
};

} // namespace host::testing
