// Runs the player in a process of its own on a device directory, with the
// test control installed and the device's clock real, so that the tests can
// start two players on one device as two processes.
//
//   vantrel_player_launcher DEVICE_DIR JOURNAL_FILE [COMMAND LINE]
//
// Writes JOURNAL_FILE.ready once the player's window is up. Runs until the
// player ends, or until the file DEVICE_DIR/stop appears and the journal
// holds the text written in it (at most 60 s), then writes the device's
// journal to JOURNAL_FILE, one JSON object a line. The exit code is the
// player's, or 0 when it was stopped.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>

#include "app/PlayerApp.h"
#include "platform/Text.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"
#include "playertest/TestControl.h"
#include "resources/ProgramResources.h"

namespace {

constexpr sim::DeviceTime kLimit = 60 * 1000;

bool FrameIsUp(const sim::Automation& automation, const sim::Program& program) {
    for (HWND window : automation.FindWindows(sim::WindowQuery().Text(u"Vantrel").Visible())) {
        const auto info = automation.Describe(window);
        if (info && info->parent == nullptr && info->pid == program.Pid()) {
            return true;
        }
    }
    return false;
}

// Whether the stop file is there and the journal holds its text.
bool StopRequested(const std::filesystem::path& stopFile, sim::Device& device) {
    std::ifstream in(stopFile);
    if (!in) {
        return false;
    }
    const std::string awaited{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return device.GetJournal().JsonLines().find(awaited) != std::string::npos;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: vantrel_player_launcher DEVICE_DIR JOURNAL_FILE [COMMAND LINE]\n";
        return 2;
    }
    const std::filesystem::path directory = argv[1];
    const std::filesystem::path journalFile = argv[2];
    const std::u16string commandLine = argc > 3 ? text::FromUtf8(argv[3]) : std::u16string();

    sim::DeviceConfig config;
    config.directory = directory;
    config.clock = sim::ClockMode::Real;
    auto device = std::make_unique<sim::Device>(config);
    const sim::Automation automation(*device);
    playertest::InstallTestControl(std::make_shared<playertest::ControlScript>());

    sim::ProgramImage image;
    image.resources = resources::ProgramResources();
    image.entry = &player::PlayerMain;
    sim::Program& program = device->Launch(image, commandLine);

    bool ready = false;
    const std::filesystem::path stopFile = directory / "stop";
    device->RunUntil(
        [&] {
            if (!ready && FrameIsUp(automation, program)) {
                ready = true;
                std::ofstream(journalFile.string() + ".ready") << "ready\n";
            }
            return program.Finished() || StopRequested(stopFile, *device);
        },
        kLimit);
    const int exitCode = program.Finished() ? program.ExitCode().value_or(1) : 0;
    std::ofstream(journalFile) << device->GetJournal().JsonLines();
    for (const std::string& problem : device->Problems()) {
        std::cerr << "device: " << problem << "\n";
    }
    device.reset();
    return exitCode;
}
