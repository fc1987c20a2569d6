// The registry: keys under the predefined roots, each with named values of a
// type. Key and value names are compared without regard to letter case; a
// value's data are the bytes the program stored, returned as they were given
// (a string's size counts its terminating zero only when the program counted
// it). Every call returns a Win32 error code (ERROR_SUCCESS on success).
#pragma once

#include <cstdint>

#include "platform/Files.h"
#include "platform/Process.h"
#include "platform/WinTypes.h"

inline const HKEY HKEY_CLASSES_ROOT =
    reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<LONG>(0x80000000)));
inline const HKEY HKEY_CURRENT_USER =
    reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<LONG>(0x80000001)));
inline const HKEY HKEY_LOCAL_MACHINE =
    reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<LONG>(0x80000002)));

using REGSAM = DWORD;
using PHKEY = HKEY*;
// Access rights are accepted and not checked, as on the handheld.
constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_NOTIFY = 0x0010;
constexpr REGSAM KEY_READ = 0x00020019;
constexpr REGSAM KEY_WRITE = 0x00020006;
constexpr REGSAM KEY_ALL_ACCESS = 0x000F003F;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0x00000000;
// What RegCreateKeyExW did, in its disposition.
constexpr DWORD REG_CREATED_NEW_KEY = 0x00000001;
constexpr DWORD REG_OPENED_EXISTING_KEY = 0x00000002;

// Creates the key and any missing keys on its path, or opens it where it
// exists. An empty subKey gives a new handle to key itself; a subKey that
// begins with "\" fails with ERROR_BAD_PATHNAME.
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                     REGSAM access, LPSECURITY_ATTRIBUTES attributes, PHKEY result,
                     DWORD* disposition);
// ERROR_FILE_NOT_FOUND when the key does not exist.
LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCloseKey(HKEY key);

// A null or empty name is the key's default value. With data null, only the
// type and the size are returned; with a buffer too small, ERROR_MORE_DATA,
// and *size receives the size needed.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* size);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Deletes the key with all the keys below it.
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);

// Enumeration by index, in name order; ERROR_NO_MORE_ITEMS past the end.
// nameLength holds the buffer's length in characters and receives the name's
// length without the zero; a buffer too small gives ERROR_MORE_DATA.
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameLength, DWORD* reserved,
                   LPWSTR keyClass, DWORD* classLength, FILETIME* lastWriteTime);
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, DWORD* valueNameLength, DWORD* reserved,
                   DWORD* type, BYTE* data, DWORD* size);
