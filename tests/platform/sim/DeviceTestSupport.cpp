#include "DeviceTestSupport.h"

#include "platform/Painting.h"

namespace simtest {

// ---- Bytes ----

Bytes& Bytes::U8(std::uint8_t value) {
    data.push_back(std::byte{value});
    return *this;
}

Bytes& Bytes::U16(std::uint16_t value) {
    return U8(value & 0xFF).U8(value >> 8);
}

Bytes& Bytes::U32(std::uint32_t value) {
    return U16(value & 0xFFFF).U16(value >> 16);
}

Bytes& Bytes::Str(std::u16string_view text) {
    for (const char16_t c : text) {
        U16(c);
    }
    return U16(0);
}

Bytes& Bytes::Align4() {
    while (data.size() % 4 != 0) {
        U8(0);
    }
    return *this;
}

ResourceBuilder& ResourceBuilder::Add(WORD type, WORD name, const Bytes& data) {
    out.U32(static_cast<std::uint32_t>(data.Size()))
        .U32(32) // header size
        .U16(0xFFFF)
        .U16(type)
        .U16(0xFFFF)
        .U16(name)
        .U32(0)      // data version
        .U16(0x1030) // memory flags
        .U16(0x0409) // language
        .U32(0)      // version
        .U32(0);     // characteristics
    out.data.insert(out.data.end(), data.data.begin(), data.data.end());
    out.Align4();
    return *this;
}

std::vector<std::byte> ResourceBuilder::Build() const {
    return out.data;
}

namespace {

void WriteMenuItems(Bytes& bytes, const std::vector<MenuSpec>& items) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuSpec& item = items[i];
        WORD flags = item.flags;
        if (!item.children.empty()) {
            flags |= 0x0010; // MF_POPUP
        }
        if (i + 1 == items.size()) {
            flags |= 0x0080; // MF_END
        }
        bytes.U16(flags);
        if (item.children.empty()) {
            bytes.U16(item.id);
        }
        bytes.Str(item.text);
        if (!item.children.empty()) {
            WriteMenuItems(bytes, item.children);
        }
    }
}

} // namespace

Bytes MenuTemplate(const std::vector<MenuSpec>& items) {
    Bytes bytes;
    bytes.U16(0).U16(0); // version 0, no extra header
    WriteMenuItems(bytes, items);
    return bytes;
}

Bytes DialogTemplate(DWORD style, short x, short y, short cx, short cy, std::u16string_view title,
                     const std::vector<DialogItemSpec>& items, WORD pointSize) {
    Bytes bytes;
    bytes
        .U32(style | 0x40) // DS_SETFONT
        .U32(0)
        .U16(static_cast<std::uint16_t>(items.size()))
        .U16(static_cast<std::uint16_t>(x))
        .U16(static_cast<std::uint16_t>(y))
        .U16(static_cast<std::uint16_t>(cx))
        .U16(static_cast<std::uint16_t>(cy))
        .U16(0) // no menu
        .U16(0) // the dialog class
        .Str(title)
        .U16(pointSize)
        .Str(u"Microsoft Sans Serif");
    for (const DialogItemSpec& item : items) {
        bytes.Align4()
            .U32(item.style)
            .U32(0)
            .U16(static_cast<std::uint16_t>(item.x))
            .U16(static_cast<std::uint16_t>(item.y))
            .U16(static_cast<std::uint16_t>(item.cx))
            .U16(static_cast<std::uint16_t>(item.cy))
            .U16(item.id);
        if (item.classNumber != 0) {
            bytes.U16(0xFFFF).U16(item.classNumber);
        } else {
            bytes.Str(item.className);
        }
        bytes.Str(item.text).U16(0);
    }
    return bytes;
}

// ---- Windows with lambda procedures ----

namespace {

LRESULT LambdaProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* handler = reinterpret_cast<Handler*>(GetWindowLongW(window, GWL_USERDATA));
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        handler = static_cast<Handler*>(create->lpCreateParams);
        SetWindowLongW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(handler));
    }
    if (handler != nullptr && *handler) {
        if (const auto result = (*handler)(window, message, wParam, lParam)) {
            return *result;
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

void RegisterTestClass(UINT classStyle) {
    WNDCLASSW wndClass;
    wndClass.style = classStyle;
    wndClass.lpfnWndProc = LambdaProcedure;
    wndClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wndClass.lpszClassName = kTestClass;
    ASSERT_NE(RegisterClassW(&wndClass), 0);
}

HWND CreateTestWindow(Handler* handler, DWORD style, RECT rect, HWND parent, UINT id, LPCWSTR text,
                      DWORD exStyle) {
    return CreateWindowExW(exStyle, kTestClass, text, style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, handler);
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

// ---- The fixture ----

DeviceTest::DeviceTest(int width, int height, int pixelsPerInch) {
    sim::DeviceConfig config;
    config.directory = directory.Path();
    config.screenWidth = width;
    config.screenHeight = height;
    config.pixelsPerInch = pixelsPerInch;
    device = std::make_unique<sim::Device>(config);
    automation = std::make_unique<sim::Automation>(*device);
}

DeviceTest::~DeviceTest() {
    automation.reset();
    device.reset();
}

RunningProgram::~RunningProgram() {
    if (program.Finished()) {
        return;
    }
    device.RunOnProgram(program, [] { PostQuitMessage(0); });
    EXPECT_TRUE(device.RunUntil([this] { return program.Finished(); }, 60'000))
        << "the test program did not end";
}

RunningProgram DeviceTest::Launch(std::function<void(HINSTANCE)> setup,
                                  std::span<const std::byte> resources) {
    sim::ProgramImage image;
    image.resources = resources;
    image.entry = [setup = std::move(setup)](HINSTANCE instance, LPWSTR) {
        setup(instance);
        return RunMessageLoop();
    };
    sim::Program& program = device->Launch(image, u"");
    EXPECT_TRUE(device->RunUntilIdle());
    return RunningProgram(*device, program);
}

void DeviceTest::OnProgram(sim::Program& program, std::function<void()> fn) {
    EXPECT_TRUE(device->RunOnProgram(program, std::move(fn))) << "the call did not finish";
}

void DeviceTest::TearDown() {
    if (HasFailure()) {
        std::fprintf(stderr, "%s", automation->Report().c_str());
    }
}

} // namespace simtest
