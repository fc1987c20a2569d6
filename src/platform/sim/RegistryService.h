// The registry calls of the device (platform/Registry.h) on the device
// directory's registry file: key handles, the Win32 checks and result codes,
// and a journal entry for each call.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/Result.h"
#include "platform/sim/RegistryFile.h"
#include "platform/sim/ServiceRecorder.h"

namespace sim {

class RegistryService {
public:
    // report hears of failures of the file itself (damaged, cannot be
    // written), which the calls answer with an error code.
    RegistryService(std::filesystem::path file, CallRecorder record,
                    std::function<void(const std::string&)> report = nullptr);

    // Handles belong to the process pid that opens them.
    LONG CreateKey(HKEY key, LPCWSTR subKey, HKEY* result, DWORD* disposition, DWORD pid = 0);
    LONG OpenKey(HKEY key, LPCWSTR subKey, HKEY* result, DWORD pid = 0);
    LONG CloseKey(HKEY key);
    LONG QueryValue(HKEY key, LPCWSTR name, DWORD* type, BYTE* data, DWORD* size);
    LONG SetValue(HKEY key, LPCWSTR name, DWORD type, const BYTE* data, DWORD size);
    LONG DeleteValue(HKEY key, LPCWSTR name);
    LONG DeleteKey(HKEY key, LPCWSTR subKey);
    LONG EnumKey(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength);
    LONG EnumValue(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength, DWORD* type, BYTE* data,
                   DWORD* size);

    // A fault for tests of programs that must cope with a failing registry:
    // after the next `calls` calls, every call fails with error (and changes
    // nothing) until Heal(). Closing a key always works.
    void FailAfter(std::size_t calls, LONG error);
    void Heal();

    // The registry as it is now, for tests and the host.
    Result<RegistryTree> Snapshot();
    // Key handles the programs have not closed.
    std::size_t OpenHandles() const;
    // A process ended: its handles are closed.
    void CloseHandlesOf(DWORD pid);

private:
    // The key a handle stands for; false for an unknown handle.
    bool Resolve(HKEY key, RegistryPath& path) const;
    // path extended by the names of subKey; an error code when subKey is not
    // a valid key path.
    LONG Extend(RegistryPath& path, LPCWSTR subKey) const;
    HKEY NewHandle(RegistryPath path, DWORD pid);
    // Reports a failure of the file; returns code.
    LONG FileFailure(const Error& error, DWORD code);
    LONG Record(std::string call, std::vector<JournalValue> args, LONG result);
    // The error of a call the fault set by FailAfter reaches.
    std::optional<LONG> InjectedFailure();

    RegistryFile file;
    CallRecorder record;
    std::function<void(const std::string&)> report;
    struct KeyHandle {
        RegistryPath path;
        DWORD pid = 0;
    };
    mutable std::mutex lock;
    std::map<HKEY, KeyHandle> handles;
    std::uintptr_t nextHandle = 0x52000000;
    struct Fault {
        std::size_t callsLeft = 0;
        LONG error = 0;
    };
    std::optional<Fault> fault;
};

} // namespace sim
