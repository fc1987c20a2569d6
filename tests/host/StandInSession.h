// A session of the stand-in program on a fresh device, for the host's tests.
#pragma once

#include <memory>
#include <string>

#include "StandInProgram.h"
#include "host/Session.h"
#include "platform/sim/Automation.h"

namespace host::testing {

struct StandInSession {
    explicit StandInSession(const std::string& commandLine = "movie.swf") {
        SessionConfig config;
        config.deviceDirectory = directory.Path();
        config.commandLine = commandLine;
        session = std::make_unique<Session>(config, StandInProgram());
        session->Device().RunUntilIdle();
    }

    sim::TemporaryDirectory directory;
    std::unique_ptr<Session> session;
};

} // namespace host::testing
