// vantrel: runs the player on a simulated Pocket PC.
#include <string>
#include <vector>

#include "host/StandInProgram.h"
#include "host/Vantrel.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    // FIXME: the player's program image replaces the stand-in once the player
    // is part of the build.
    return host::RunVantrel(args, host::StandInProgram());
}
