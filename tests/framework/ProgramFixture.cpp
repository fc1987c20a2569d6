#include "ProgramFixture.h"

#include <climits>
#include <random>

#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/InputRouter.h"
#include "platform/sim/WindowManager.h"
#include "testprogram/Resources.h"

namespace {

std::filesystem::path FreshDirectory() {
    std::random_device random;
    const auto name = "vantrel-framework-" + std::to_string(random()) + std::to_string(random());
    auto path = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path);
    return path;
}

} // namespace

ProgramFixture::ProgramFixture() : directory(FreshDirectory()) {
    sim::DeviceConfig config;
    config.directory = directory;
    device = std::make_unique<sim::Device>(config);
}

ProgramFixture::~ProgramFixture() {
    device.reset();
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

sim::Program& ProgramFixture::Start(testprogram::Behaviour behaviour, std::u16string commandLine) {
    RegisterControlClass(testprogram::kTapCounterClassId, testprogram::TapCounterFactory(log));
    sim::ProgramImage image;
    image.modulePath = u"\\Program Files\\FrameworkTest\\FrameworkTest.exe";
    image.resources = testprogram::TestProgramResources();
    image.entry = testprogram::Entry(log, std::move(behaviour));
    program = &device->Launch(image, std::move(commandLine));
    Settle();
    return *program;
}

void ProgramFixture::Settle() {
    EXPECT_TRUE(device->RunUntilIdle()) << Diagnostics();
}

void ProgramFixture::Tap(POINT screenPoint) {
    sim::InputEvent down;
    down.time = device->Now();
    down.kind = sim::InputKind::StylusDown;
    down.point = screenPoint;
    sim::InputEvent up = down;
    up.kind = sim::InputKind::StylusUp;
    device->Input().Queue(down);
    device->Input().Queue(up);
    Settle();
}

void ProgramFixture::TapCentre(HWND window) {
    const RECT rect = ScreenRect(window);
    Tap(POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

void ProgramFixture::TapClient(HWND window, POINT clientPoint) {
    sim::Window* record = device->Windows().Find(window);
    ASSERT_NE(record, nullptr);
    const POINT origin = device->Windows().ClientOrigin(*record);
    Tap(POINT{origin.x + clientPoint.x, origin.y + clientPoint.y});
}

void ProgramFixture::PressKey(BYTE virtualKey) {
    sim::InputEvent down;
    down.time = device->Now();
    down.kind = sim::InputKind::KeyDown;
    down.key = virtualKey;
    sim::InputEvent up = down;
    up.kind = sim::InputKind::KeyUp;
    device->Input().Queue(down);
    device->Input().Queue(up);
    Settle();
}

void ProgramFixture::Type(std::u16string_view text) {
    for (const char16_t character : text) {
        sim::InputEvent typed;
        typed.time = device->Now();
        typed.kind = sim::InputKind::Character;
        typed.character = character;
        device->Input().Queue(typed);
    }
    Settle();
}

RECT ProgramFixture::ScreenRect(HWND window) const {
    const sim::Window* record = device->Windows().Find(window);
    return record != nullptr ? device->Windows().ScreenRect(*record) : RECT{};
}

std::u16string ProgramFixture::TextOf(HWND window) const {
    // Asked of the window itself: a control keeps its text in its own state.
    WCHAR buffer[512] = {};
    const auto length = SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return std::u16string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

bool ProgramFixture::Finished() const {
    return program != nullptr && program->Finished();
}

int ProgramFixture::ExitCode() const {
    return program != nullptr ? program->ExitCode().value_or(INT_MIN) : INT_MIN;
}

std::string ProgramFixture::Diagnostics() const {
    std::string text = "program log: " + log.Joined();
    for (const auto& problem : device->Problems()) {
        text += "\ndevice: " + problem;
    }
    return text;
}
