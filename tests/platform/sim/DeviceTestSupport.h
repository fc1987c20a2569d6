// What the device's tests share: a fresh device on a temporary directory with
// its automation, small test programs, window procedures written as lambdas,
// and builders for resource bytes (menus, dialogs, accelerators, strings).
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/Messages.h"
#include "platform/WinTypes.h"
#include "platform/Window.h"
#include "platform/sim/Automation.h"
#include "platform/sim/Device.h"

namespace simtest {

// Little-endian bytes written field by field.
class Bytes {
public:
    Bytes& U8(std::uint8_t value);
    Bytes& U16(std::uint16_t value);
    Bytes& U32(std::uint32_t value);
    // A zero-terminated UTF-16 string.
    Bytes& Str(std::u16string_view text);
    Bytes& Align4();
    std::size_t Size() const { return data.size(); }
    std::vector<std::byte> data;
};

// A .res image: entries of numbered types and names.
class ResourceBuilder {
public:
    ResourceBuilder& Add(WORD type, WORD name, const Bytes& data);
    std::vector<std::byte> Build() const;

private:
    Bytes out;
};

// A menu template (the standard form): items, each a popup with children or a
// command (id 0 and no text for a separator).
struct MenuSpec {
    // A separator.
    MenuSpec() = default;
    MenuSpec(std::u16string text, WORD id, WORD flags = 0)
        : text(std::move(text)), id(id), flags(flags) {}
    MenuSpec(std::u16string text, std::vector<MenuSpec> children)
        : text(std::move(text)), children(std::move(children)) {}

    std::u16string text;
    WORD id = 0;
    std::vector<MenuSpec> children;
    WORD flags = 0;
};
Bytes MenuTemplate(const std::vector<MenuSpec>& items);

// A dialog template with DS_SETFONT; item classes by number (0x80 button,
// 0x81 edit, 0x82 static) or name.
struct DialogItemSpec {
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    WORD classNumber = 0;
    std::u16string className;
    std::u16string text;
};
Bytes DialogTemplate(DWORD style, short x, short y, short cx, short cy, std::u16string_view title,
                     const std::vector<DialogItemSpec>& items, WORD pointSize = 9);

// A window procedure as a lambda: nullopt passes the message to DefWindowProcW.
using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
inline constexpr WCHAR kTestClass[] = u"TestWindow";
// Registers kTestClass (white background) for the calling program.
void RegisterTestClass(UINT classStyle = 0);
// A window of kTestClass whose messages go to handler (which must outlive it).
HWND CreateTestWindow(Handler* handler, DWORD style, RECT rect, HWND parent = nullptr, UINT id = 0,
                      LPCWSTR text = u"", DWORD exStyle = 0);

// The usual message loop; returns the quit code.
int RunMessageLoop();

// A launched test program that is ended (WM_QUIT, then its windows go) when
// this goes out of scope: declared after the handlers its windows use, it ends
// the program while they still exist.
class RunningProgram {
public:
    RunningProgram(sim::Device& device, sim::Program& program) : device(device), program(program) {}
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;
    operator sim::Program&() const { return program; }
    sim::Program* operator->() const { return &program; }

private:
    sim::Device& device;
    sim::Program& program;
};

class DeviceTest : public ::testing::Test {
protected:
    explicit DeviceTest(int width = 240, int height = 320, int pixelsPerInch = 96);
    ~DeviceTest() override;

    // A program that runs setup on its thread and then the message loop.
    RunningProgram Launch(std::function<void(HINSTANCE)> setup,
                          std::span<const std::byte> resources = {});
    // Runs fn on the program's thread and lets the device settle; fails the
    // test when fn could not finish.
    void OnProgram(sim::Program& program, std::function<void()> fn);

    void TearDown() override;

    sim::TemporaryDirectory directory;
    std::unique_ptr<sim::Device> device;
    std::unique_ptr<sim::Automation> automation;
};

} // namespace simtest
