// GetModuleHandleW, GetModuleFileNameW, the process and thread ids, and the
// last error.
#include "platform/Program.h"

#include <algorithm>

#include "platform/Text.h"
#include "platform/sim/ApiSupport.h"

namespace sim {
namespace {

thread_local DWORD lastError = ERROR_SUCCESS;

// The module of a handle: one of the running programs' modules.
Module* FindModule(HMODULE handle) {
    Device* device = Device::Current();
    if (device == nullptr) {
        return nullptr;
    }
    for (const auto& program : device->Programs()) {
        if (program->GetModule().Handle() == handle) {
            return &program->GetModule();
        }
    }
    return nullptr;
}

} // namespace

void SetThreadError(DWORD error) {
    lastError = error;
}

Window* LookUpWindow(HWND window) {
    Device* device = Device::Current();
    Window* found = device != nullptr ? device->Windows().Find(window) : nullptr;
    if (found == nullptr || found->life == WindowLife::Gone) {
        SetThreadError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return found;
}

Program* CallingProgram() {
    Program* program = CurrentProgram();
    if (program == nullptr) {
        SetThreadError(ERROR_INVALID_PARAMETER);
    }
    return program;
}

} // namespace sim

DWORD GetLastError() {
    return sim::lastError;
}

void SetLastError(DWORD error) {
    sim::lastError = error;
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    sim::Device* device = sim::Device::Current();
    if (device == nullptr) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    if (moduleName == nullptr) {
        sim::Program* program = sim::CurrentProgram();
        if (program == nullptr) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return nullptr;
        }
        return program->GetModule().Handle();
    }
    const std::u16string name = text::FromWide(moduleName);
    for (const auto& program : device->Programs()) {
        const std::u16string& path = program->GetModule().Path();
        const auto slash = path.find_last_of(u'\\');
        const std::u16string file = slash == std::u16string::npos ? path : path.substr(slash + 1);
        if (text::EqualsIgnoringCase(name, path) || text::EqualsIgnoringCase(name, file)) {
            return program->GetModule().Handle();
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD bufferLength) {
    const sim::Module* found = nullptr;
    if (module == nullptr) {
        if (sim::Program* program = sim::CurrentProgram()) {
            found = &program->GetModule();
        }
    } else {
        found = sim::FindModule(module);
    }
    if (found == nullptr || buffer == nullptr || bufferLength == 0) {
        SetLastError(found == nullptr ? ERROR_MOD_NOT_FOUND : ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string& path = found->Path();
    // As on Windows CE: cut to fit, zero-terminated.
    const DWORD copied = static_cast<DWORD>(std::min<std::size_t>(path.size(), bufferLength - 1));
    std::copy_n(path.begin(), copied, buffer);
    buffer[copied] = u'\0';
    if (copied < path.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
    }
    return copied;
}

DWORD GetCurrentProcessId() {
    const sim::Program* program = sim::CurrentProgram();
    return program != nullptr ? program->Pid() : 0;
}

DWORD GetCurrentThreadId() {
    const sim::Program* program = sim::CurrentProgram();
    return program != nullptr ? program->ThreadId() : 0;
}
