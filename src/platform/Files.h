// Files: the C runtime's streams and the file calls a program makes on the
// device. A path that begins with "\" is a device path, found in the device's
// storage ("\My Documents\a.swf"; "/" separates names too), with letter case
// ignored as the handheld's file system does; any other path ("/home/u/a.swf",
// "a.swf") is a host path and is used as it stands. A device path never leads outside the device's
// storage: ".." stops at the root "\".
//
// _wfopen returns the host C runtime's own FILE*, so fread, fwrite, fscanf,
// fprintf and fclose are used on it as they are. Text and binary modes read
// and write the same bytes. On failure _wfopen sets errno as the C runtime
// does (ENOENT for a missing file or folder, EACCES for a folder, EINVAL for
// a bad mode or a name the device does not allow, ENAMETOOLONG for a device
// path longer than MAX_PATH) and the matching GetLastError() code.
#pragma once

#include <cstdio>

#include "platform/Process.h"
#include "platform/WinTypes.h"

constexpr DWORD MAX_PATH = 260;

struct FILETIME {
    DWORD dwLowDateTime = 0;
    DWORD dwHighDateTime = 0;
};

// Modes "r", "w", "a", each with "+", "b" or "t".
FILE* _wfopen(LPCWSTR path, LPCWSTR mode);
// 0, or -1 with errno.
int _wremove(LPCWSTR path);
// FALSE with GetLastError() (ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND,
// ERROR_ACCESS_DENIED for a folder).
BOOL DeleteFileW(LPCWSTR path);
// Renames or moves a file in one step: a reader sees the old name or the new
// one, never a part of the file. FALSE with ERROR_ALREADY_EXISTS when the new
// name is taken (it is never replaced), ERROR_FILE_NOT_FOUND when the old
// name does not exist.
BOOL MoveFileW(LPCWSTR existingPath, LPCWSTR newPath);
// Replaces the content of destination with that of source in one step and
// deletes source, the handheld's way of putting a file written whole in
// another's place: a reader, or a program ended at any moment, finds the old
// content or the new one. Both files must exist (ERROR_FILE_NOT_FOUND
// otherwise); on failure both are left as they were.
BOOL DeleteAndRenameFile(LPCWSTR destination, LPCWSTR source);
BOOL CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES attributes);

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x00000001;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x00000002;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x00000004;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x00000020;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x00000080;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
DWORD GetFileAttributesW(LPCWSTR path);

// Listing a folder: the pattern is a folder path and a last part with the
// wildcards "*" and "?" ("\My Documents\*.swf"; "*.*" matches every name).
// Names come in order, letter case ignored; "." and ".." are not listed.
struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
    DWORD dwOID = 0;
    WCHAR cFileName[MAX_PATH] = {};
};
// INVALID_HANDLE_VALUE with ERROR_FILE_NOT_FOUND when nothing matches,
// ERROR_PATH_NOT_FOUND when the folder does not exist.
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* found);
// FALSE with ERROR_NO_MORE_FILES after the last name.
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* found);
BOOL FindClose(HANDLE search);
