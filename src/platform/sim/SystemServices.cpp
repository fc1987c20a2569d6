#include "platform/sim/SystemServices.h"

#include "platform/Program.h"
#include "platform/Shell.h"
#include "platform/Window.h"
#include "platform/sim/BuiltInPrograms.h"
#include "platform/sim/Device.h"
#include "platform/sim/DurableFile.h"
#include "platform/sim/Screen.h"
#include "platform/sim/WindowManager.h"

namespace sim {
namespace {

constexpr char kSetUpMarker[] = "device-setup";
constexpr char kProgramMarker[] =
    "This file marks where the program is installed on the device; the device runs the "
    "program itself.\n";

// Folders every new device has.
constexpr const char16_t* kStandardFolders[] = {u"\\Program Files\\Vantrel", u"\\Windows",
                                                u"\\My Documents", u"\\Temp"};

CallRecorder RecorderOf(Device& device) {
    return [&device](std::string call, std::vector<JournalValue> args, JournalValue result) {
        device.Record(std::move(call), std::move(args), std::move(result));
    };
}

bool WriteHostFile(const std::filesystem::path& path, const void* bytes, std::size_t size) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::FILE* file = std::fopen(path.c_str(), "wbe");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes, 1, size, file) == size;
    return std::fclose(file) == 0 && written;
}

} // namespace

SystemServices::SystemServices(Device& device, ServicesConfig config)
    : device(device), volume(device.Config().directory / "system", "wave-volume"),
      initialVolume(config.initialVolume) {
    SetUpDirectory(config);
    const CallRecorder record = RecorderOf(device);
    registry = std::make_unique<RegistryService>(
        SystemFolder() / "registry.txt", record,
        [&device](const std::string& problem) { device.ReportProblem(problem); });
    files = std::make_unique<FileSystem>(device.StorageRoot(), record,
                                         device.RuntimeDirectory() / "spare-file");
    power =
        std::make_unique<PowerManager>([&device] { return device.Now(); }, record, config.power);
    processes = std::make_unique<ProcessServices>(device, record, config.failSocketStartup);
    display = std::make_unique<DisplayService>(device, record,
                                               [this] { processes->AnnounceDisplayChange(); });
    display->ApplyStored();
    wave = std::make_unique<WaveOutput>(device, [this] { return Volume(); });
}

SystemServices::~SystemServices() = default;

std::filesystem::path SystemServices::SystemFolder() const {
    return device.Config().directory / "system";
}

void SystemServices::SetUpDirectory(const ServicesConfig& config) {
    std::error_code ignored;
    std::filesystem::create_directories(SystemFolder(), ignored);
    // Two processes starting on a new directory set it up one after the other.
    const FileLock setUp(SystemFolder() / (std::string(kSetUpMarker) + ".lock"),
                         FileLock::Mode::Exclusive);
    if (std::filesystem::exists(SystemFolder() / kSetUpMarker, ignored)) {
        return;
    }
    for (const char16_t* folder : kStandardFolders) {
        std::filesystem::create_directories(ResolvePath(device.StorageRoot(), folder).host,
                                            ignored);
    }
    bool complete = WriteHostFile(ResolvePath(device.StorageRoot(), kDefaultModulePath).host,
                                  kProgramMarker, sizeof kProgramMarker - 1);
    for (const auto& file : config.firstUseFiles) {
        const ResolvedPath target = ResolvePath(device.StorageRoot(), file.path);
        if (!target.Ok() || !target.onDevice ||
            !WriteHostFile(target.host, file.bytes.data(), file.bytes.size())) {
            device.ReportProblem("cannot install " + target.host.string() + " on the new device");
            complete = false;
        }
    }
    // The marker comes last: a set-up cut short is done again next time.
    if (complete) {
        ReplaceFile(SystemFolder() / kSetUpMarker, "vantrel-device 1\n");
    }
    setUpThisRun = true;
}

DWORD SystemServices::Volume() const {
    const auto stored = volume.Read();
    return stored && *stored <= 0xFFFFFFFF ? static_cast<DWORD>(*stored) : initialVolume;
}

bool SystemServices::SetVolume(DWORD value) {
    return volume.Write(value).Ok();
}

void SystemServices::UpdateTaskBar() {
    Window* active = device.Windows().Active();
    bool hidden = false;
    if (active != nullptr && active->IsAlive()) {
        hidden = shell.Of(device.Windows().TopLevelOf(*active).handle).taskBarHidden;
    }
    device.GetScreen().SetTaskBarVisible(!hidden);
}

void SystemServices::Poll() {
    UpdateTaskBar();
    for (const auto& program : device.Programs()) {
        if (program->Finished() && endedPrograms.insert(program->Pid()).second) {
            processes->ProgramEnded(program->Pid());
            registry->CloseHandlesOf(program->Pid());
            power->ReleaseRequirementsOf(program->Pid());
        }
    }
    processes->Poll([this] { display->Reload(); });
    wave->PlayUntil(device.Now());
}

HWND SystemServices::ShowTodayScreen() {
    auto findToday = [this]() -> HWND {
        for (const Window* window : device.Windows().TopLevel()) {
            if (window->IsAlive() && window->program != nullptr &&
                window->program->GetModule().Path() == kTodayPath) {
                return window->handle;
            }
        }
        return nullptr;
    };
    if (findToday() == nullptr) {
        device.Launch(TodayScreenImage(), u"");
        device.RunUntil([&] { return findToday() != nullptr; }, 5'000);
    }
    const HWND today = findToday();
    if (today != nullptr) {
        BringToFront(today);
    }
    return today;
}

bool SystemServices::BringToFront(HWND handle) {
    Window* window = device.Windows().FindAlive(handle);
    if (window == nullptr || window->program == nullptr) {
        return false;
    }
    const HWND target = window->handle;
    device.RunOnProgram(*window->program, [target] {
        ShowWindow(target, SW_SHOW);
        SetForegroundWindow(target);
    });
    const Window* active = device.Windows().Active();
    return active != nullptr && active->handle == target;
}

bool SystemServices::OpenDocument(const std::u16string& path, DWORD& error) {
    const HWND today = ShowTodayScreen();
    Window* window = today != nullptr ? device.Windows().FindAlive(today) : nullptr;
    if (window == nullptr || window->program == nullptr) {
        error = ERROR_NOT_SUPPORTED;
        return false;
    }
    bool opened = false;
    error = ERROR_SUCCESS;
    device.RunOnProgram(*window->program, [&] {
        SHELLEXECUTEINFOW execute;
        execute.fMask = SEE_MASK_FLAG_NO_UI;
        execute.lpFile = path.c_str();
        opened = ShellExecuteExW(&execute) != FALSE;
        error = opened ? ERROR_SUCCESS : GetLastError();
    });
    return opened;
}

} // namespace sim
