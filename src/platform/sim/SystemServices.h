// The device's system services, one set per device: the registry, files,
// display, power, wave-out volume, shell state and processes, with the
// persistent state in the device directory ("system/": the registry, the
// display orientation, the volume; "storage/" is the device's root folder;
// "runtime/" what crosses processes). Also what tests and the host read of
// them, and the first-use set-up of a new device directory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/WinTypes.h"
#include "platform/sim/DisplayService.h"
#include "platform/sim/FileSystem.h"
#include "platform/sim/PersistentNumber.h"
#include "platform/sim/PowerManager.h"
#include "platform/sim/ProcessServices.h"
#include "platform/sim/RegistryService.h"
#include "platform/sim/ServicesConfig.h"
#include "platform/sim/ShellState.h"
#include "platform/sim/WaveOutput.h"

namespace sim {

class Device;

class SystemServices {
public:
    SystemServices(Device& device, ServicesConfig config);
    ~SystemServices();
    SystemServices(const SystemServices&) = delete;
    SystemServices& operator=(const SystemServices&) = delete;

    RegistryService& Registry() { return *registry; }
    FileSystem& Files() { return *files; }
    PowerManager& Power() { return *power; }
    DisplayService& Display() { return *display; }
    ShellState& Shell() { return shell; }
    ProcessServices& Processes() { return *processes; }

    // The wave-out volume, left channel in the low word.
    DWORD Volume() const;
    bool SetVolume(DWORD volume);
    // The wave output, played as device time passes (Poll).
    WaveOutput& Wave() { return *wave; }

    // The folder of the device's persistent system state.
    std::filesystem::path SystemFolder() const;
    // Whether this run set the device directory up (it was new).
    bool SetUpThisRun() const { return setUpThisRun; }

    // From the device's run loop, on the driver's thread: keeps the task bar
    // with the foreground window's wishes, notices ended programs, publishes
    // this process's windows, serves requests from other processes and plays
    // the wave output up to the device's time.
    void Poll();
    // Shows or hides the task bar as the foreground window asked (SHFullScreen).
    void UpdateTaskBar();

    // Automation: brings the Today screen to the front (starting it the first
    // time), as the shell does when the user leaves a program, and returns
    // its window; then brings window back to the front. Driver side.
    HWND ShowTodayScreen();
    bool BringToFront(HWND window);
    // Automation: the user opens a document from the shell. The Today screen
    // comes to the front and opens it as a tap on it in its list would
    // (ShellExecuteExW); false with the shell's error when nothing opens it.
    // Driver side.
    bool OpenDocument(const std::u16string& path, DWORD& error);

private:
    void SetUpDirectory(const ServicesConfig& config);

    Device& device;
    bool setUpThisRun = false;
    std::unique_ptr<RegistryService> registry;
    std::unique_ptr<FileSystem> files;
    std::unique_ptr<PowerManager> power;
    std::unique_ptr<DisplayService> display;
    ShellState shell;
    std::unique_ptr<ProcessServices> processes;
    PersistentNumber volume;
    DWORD initialVolume;
    std::unique_ptr<WaveOutput> wave;
    std::set<DWORD> endedPrograms;
};

} // namespace sim
