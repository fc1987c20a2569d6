// vantrel: runs the player on a simulated Pocket PC.
#include <string>
#include <vector>

#include "app/PlayerApp.h"
#include "host/Vantrel.h"
#include "resources/ProgramResources.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    sim::ProgramImage image;
    image.resources = resources::ProgramResources();
    image.entry = &player::PlayerMain;
    return host::RunVantrel(args, image);
}
