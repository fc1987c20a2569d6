// The C runtime's file calls and the Win32 file calls of platform/Files.h on
// the current device.
#include "platform/Files.h"

#include <cerrno>

#include "platform/Program.h"
#include "platform/Text.h"
#include "platform/sim/ServicesAccess.h"

namespace {

// Sets errno and the last error as the C runtime and Win32 do.
void Report(const sim::FileError& error) {
    errno = error.errnoValue;
    SetLastError(error.lastError);
}

bool Usable(LPCWSTR path, sim::SystemServices*& services) {
    services = sim::CurrentServices();
    if (path == nullptr || services == nullptr) {
        Report(sim::FileError{EINVAL, ERROR_INVALID_PARAMETER});
        return false;
    }
    return true;
}

} // namespace

FILE* _wfopen(LPCWSTR path, LPCWSTR mode) {
    sim::SystemServices* services = nullptr;
    if (!Usable(path, services) || mode == nullptr) {
        Report(sim::FileError{EINVAL, ERROR_INVALID_PARAMETER});
        return nullptr;
    }
    sim::FileError error;
    FILE* stream = services->Files().Open(text::FromWide(path), text::FromWide(mode), error);
    if (stream == nullptr) {
        Report(error);
    }
    return stream;
}

int _wremove(LPCWSTR path) {
    sim::SystemServices* services = nullptr;
    if (!Usable(path, services)) {
        return -1;
    }
    sim::FileError error;
    if (!services->Files().Remove(text::FromWide(path), "_wremove", error)) {
        Report(error);
        return -1;
    }
    return 0;
}

BOOL DeleteFileW(LPCWSTR path) {
    sim::SystemServices* services = nullptr;
    if (!Usable(path, services)) {
        return FALSE;
    }
    sim::FileError error;
    if (!services->Files().Remove(text::FromWide(path), "DeleteFileW", error)) {
        Report(error);
        return FALSE;
    }
    return TRUE;
}

BOOL MoveFileW(LPCWSTR existingPath, LPCWSTR newPath) {
    sim::SystemServices* services = nullptr;
    if (!Usable(existingPath, services) || newPath == nullptr) {
        Report(sim::FileError{EINVAL, ERROR_INVALID_PARAMETER});
        return FALSE;
    }
    sim::FileError error;
    if (!services->Files().Move(text::FromWide(existingPath), text::FromWide(newPath), error)) {
        Report(error);
        return FALSE;
    }
    return TRUE;
}

BOOL DeleteAndRenameFile(LPCWSTR destination, LPCWSTR source) {
    sim::SystemServices* services = nullptr;
    if (!Usable(destination, services) || source == nullptr) {
        Report(sim::FileError{EINVAL, ERROR_INVALID_PARAMETER});
        return FALSE;
    }
    sim::FileError error;
    if (!services->Files().Replace(text::FromWide(destination), text::FromWide(source), error)) {
        Report(error);
        return FALSE;
    }
    return TRUE;
}

BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES) {
    sim::SystemServices* services = nullptr;
    if (!Usable(path, services)) {
        return FALSE;
    }
    sim::FileError error;
    if (!services->Files().CreateFolder(text::FromWide(path), error)) {
        Report(error);
        return FALSE;
    }
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR path) {
    sim::SystemServices* services = nullptr;
    if (!Usable(path, services)) {
        return INVALID_FILE_ATTRIBUTES;
    }
    sim::FileError error;
    const DWORD attributes = services->Files().Attributes(text::FromWide(path), error);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        Report(error);
    }
    return attributes;
}

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* found) {
    sim::SystemServices* services = nullptr;
    if (!Usable(pattern, services) || found == nullptr) {
        Report(sim::FileError{EINVAL, ERROR_INVALID_PARAMETER});
        return INVALID_HANDLE_VALUE;
    }
    sim::FileError error;
    const HANDLE search = services->Files().FindFirst(text::FromWide(pattern), *found, error);
    if (search == INVALID_HANDLE_VALUE) {
        Report(error);
    }
    return search;
}

BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* found) {
    sim::SystemServices* services = sim::CurrentServices();
    if (services == nullptr || found == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    sim::FileError error;
    if (!services->Files().FindNext(search, *found, error)) {
        Report(error);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE search) {
    sim::SystemServices* services = sim::CurrentServices();
    sim::FileError error;
    if (services == nullptr || !services->Files().FindClose(search, error)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
