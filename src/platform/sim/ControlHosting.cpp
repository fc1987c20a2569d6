// Hosting of controls created by class id (platform/ControlHost.h): the
// control host's window class routes every message of the window to the
// control implementation, which the window owns; dispatch calls go through the
// journal under the operation's name.
#include "platform/ControlHost.h"

#include <cstdio>
#include <string>

#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "platform/sim/ApiSupport.h"
#include "platform/sim/ControlRegistry.h"
#include "platform/sim/SystemClasses.h"

namespace sim {
namespace {

constexpr WCHAR kHostClass[] = u"ControlHost";

// How CreateControlWindow hands the new control to the window's creation.
struct PendingControl {
    std::unique_ptr<HostedControl> control;
};

LRESULT HostProcedure(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = LookUpWindow(handle);
    if (window == nullptr) {
        return 0;
    }
    if (message == WM_NCCREATE && !window->hostedControl) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* pending =
            create != nullptr ? static_cast<PendingControl*>(create->lpCreateParams) : nullptr;
        if (pending == nullptr || !pending->control) {
            return FALSE;
        }
        window->hostedControl = std::move(pending->control);
    }
    if (!window->hostedControl) {
        return DefWindowProcW(handle, message, wParam, lParam);
    }
    return window->hostedControl->WindowProc(handle, message, wParam, lParam);
}

JournalValue FromVariant(const Variant& value) {
    bool flag = false;
    LONG number = 0;
    double real = 0;
    std::u16string words;
    if (value.IsBool() && value.ToBool(flag)) {
        return JournalValue(flag);
    }
    if (value.IsInt() && value.ToInt(number)) {
        return JournalValue(static_cast<long long>(number));
    }
    if (value.IsDouble() && value.ToDouble(real)) {
        return JournalValue(real);
    }
    if (value.IsText() && value.ToText(words)) {
        return JournalValue(std::u16string_view(words));
    }
    return JournalValue();
}

} // namespace

void InstallControlHostClass(Device& device) {
    WNDCLASSW hostClass;
    hostClass.lpfnWndProc = HostProcedure;
    hostClass.lpszClassName = kHostClass;
    RegisterSystemClass(device, hostClass);
}

} // namespace sim

void RegisterControlClass(const std::u16string& classId, HostedControlFactory factory) {
    if (sim::Device* device = sim::Device::Current()) {
        device->Controls().Register(classId, std::move(factory));
    }
}

void UnregisterControlClass(const std::u16string& classId) {
    if (sim::Device* device = sim::Device::Current()) {
        device->Controls().Unregister(classId);
    }
}

BOOL EnableControlHosting() {
    sim::Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return FALSE;
    }
    program->controlHostingEnabled = true;
    return TRUE;
}

HWND CreateControlWindow(LPCWSTR classId, LPCWSTR text, DWORD style, const RECT& rect, HWND parent,
                         UINT id) {
    sim::Program* program = sim::CallingProgram();
    if (program == nullptr) {
        return nullptr;
    }
    sim::Device& device = *sim::Device::Current();
    const std::u16string classText = text::FromWide(classId);
    HWND created = nullptr;
    if (!program->controlHostingEnabled) {
        SetLastError(ERROR_NOT_SUPPORTED);
    } else if (HostedControlFactory factory = device.Controls().Find(classText)) {
        sim::PendingControl pending{factory()};
        if (!pending.control) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        } else {
            created = CreateWindowExW(0, sim::kHostClass, text, style | WS_CHILD, rect.left,
                                      rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                      parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                      nullptr, &pending);
        }
    } else {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    }
    device.Record("CreateControlWindow",
                  {sim::JournalValue(std::u16string_view(classText)),
                   sim::JournalValue(std::u16string_view(text::FromWide(text))),
                   sim::JournalValue(static_cast<long long>(id))},
                  sim::JournalValue(created));
    return created;
}

BOOL IsControlWindow(HWND window) {
    sim::Device* device = sim::Device::Current();
    const sim::Window* found = device != nullptr ? device->Windows().FindAlive(window) : nullptr;
    return found != nullptr && found->hostedControl ? TRUE : FALSE;
}

void RaiseControlEvent(HWND control, const char* event, std::span<const Variant> args) {
    sim::Window* window = sim::LookUpWindow(control);
    if (window == nullptr || !window->hostedControl) {
        return;
    }
    std::vector<sim::JournalValue> journalArgs;
    for (const Variant& arg : args) {
        journalArgs.push_back(sim::FromVariant(arg));
    }
    sim::Device::Current()->Record(event, std::move(journalArgs), sim::JournalValue());
}

HRESULT InvokeControl(HWND control, DISPID id, WORD kind, std::span<const Variant> args,
                      Variant* result) {
    sim::Window* window = sim::LookUpWindow(control);
    if (window == nullptr || !window->hostedControl) {
        return E_INVALIDARG;
    }
    sim::Device& device = *sim::Device::Current();
    HostedControl& hosted = *window->hostedControl;
    Variant value;
    const HRESULT hr = hosted.Invoke(id, kind, args, value);
    const char* name = hosted.OperationName(id, kind);
    std::vector<sim::JournalValue> journalArgs;
    for (const Variant& arg : args) {
        journalArgs.push_back(sim::FromVariant(arg));
    }
    sim::JournalValue journalResult;
    if (FAILED(hr)) {
        char text[24];
        std::snprintf(text, sizeof text, "hr=0x%08X", static_cast<unsigned>(hr));
        journalResult = sim::JournalValue(text);
    } else {
        journalResult = sim::FromVariant(value);
    }
    device.Record(name != nullptr ? name : "Invoke(" + std::to_string(id) + ")",
                  std::move(journalArgs), std::move(journalResult), static_cast<long>(id));
    if (result != nullptr) {
        *result = std::move(value);
    }
    return hr;
}
