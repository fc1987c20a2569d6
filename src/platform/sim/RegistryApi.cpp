// The registry calls of platform/Registry.h on the current device.
#include "platform/Registry.h"

#include "platform/Program.h"

#include "platform/sim/ServicesAccess.h"

namespace {

constexpr LONG kNoDevice = static_cast<LONG>(ERROR_INVALID_HANDLE);

} // namespace

LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                     PHKEY result, DWORD* disposition) {
    auto* services = sim::CurrentServices();
    return services != nullptr
               ? services->Registry().CreateKey(key, subKey, result, disposition, sim::CallingPid())
               : kNoDevice;
}

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD, REGSAM, PHKEY result) {
    auto* services = sim::CurrentServices();
    return services != nullptr
               ? services->Registry().OpenKey(key, subKey, result, sim::CallingPid())
               : kNoDevice;
}

LONG RegCloseKey(HKEY key) {
    auto* services = sim::CurrentServices();
    return services != nullptr ? services->Registry().CloseKey(key) : kNoDevice;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* size) {
    auto* services = sim::CurrentServices();
    if (reserved != nullptr) {
        return static_cast<LONG>(ERROR_INVALID_PARAMETER);
    }
    return services != nullptr ? services->Registry().QueryValue(key, valueName, type, data, size)
                               : kNoDevice;
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD, DWORD type, const BYTE* data, DWORD size) {
    auto* services = sim::CurrentServices();
    return services != nullptr ? services->Registry().SetValue(key, valueName, type, data, size)
                               : kNoDevice;
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    auto* services = sim::CurrentServices();
    return services != nullptr ? services->Registry().DeleteValue(key, valueName) : kNoDevice;
}

LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    auto* services = sim::CurrentServices();
    return services != nullptr ? services->Registry().DeleteKey(key, subKey) : kNoDevice;
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength, DWORD*, LPWSTR keyClass,
                   DWORD* classLength, FILETIME* lastWriteTime) {
    auto* services = sim::CurrentServices();
    if (services == nullptr) {
        return kNoDevice;
    }
    // Keys have no class and no recorded write time on this device.
    if (keyClass != nullptr && classLength != nullptr && *classLength > 0) {
        keyClass[0] = 0;
        *classLength = 0;
    }
    if (lastWriteTime != nullptr) {
        *lastWriteTime = FILETIME();
    }
    return services->Registry().EnumKey(key, index, name, nameLength);
}

LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD* valueNameLength, DWORD*,
                   DWORD* type, BYTE* data, DWORD* size) {
    auto* services = sim::CurrentServices();
    return services != nullptr ? services->Registry().EnumValue(key, index, valueName,
                                                                valueNameLength, type, data, size)
                               : kNoDevice;
}
