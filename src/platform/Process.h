// Processes and their threads: starting a program, its command line and exit
// code, thread priority, named mutexes shared by every program on the device,
// and the query that tells which program file a process was started from.
#pragma once

#include "platform/WinTypes.h"

struct SECURITY_ATTRIBUTES {
    DWORD nLength = sizeof(SECURITY_ATTRIBUTES);
    LPVOID lpSecurityDescriptor = nullptr;
    BOOL bInheritHandle = FALSE;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

// Closes a handle of a process, a thread or a mutex.
BOOL CloseHandle(HANDLE handle);

// The command line the program was started with, without the program's name.
LPWSTR GetCommandLineW();

// Starting a program. The device looks the image name up among the programs
// installed on it: a full device path ("\Windows\peghelp.exe"), or a bare
// file name, which is looked for in "\Windows\" and then by file name among
// the installed programs. The command line is the text the new program's
// GetCommandLineW returns. The process information is optional.
struct STARTUPINFOW {
    DWORD cb = sizeof(STARTUPINFOW);
    LPWSTR lpReserved = nullptr;
    LPWSTR lpDesktop = nullptr;
    LPWSTR lpTitle = nullptr;
    DWORD dwX = 0;
    DWORD dwY = 0;
    DWORD dwXSize = 0;
    DWORD dwYSize = 0;
    DWORD dwXCountChars = 0;
    DWORD dwYCountChars = 0;
    DWORD dwFillAttribute = 0;
    DWORD dwFlags = 0;
    WORD wShowWindow = 0;
    WORD cbReserved2 = 0;
    BYTE* lpReserved2 = nullptr;
    HANDLE hStdInput = nullptr;
    HANDLE hStdOutput = nullptr;
    HANDLE hStdError = nullptr;
};
struct PROCESS_INFORMATION {
    HANDLE hProcess = nullptr;
    HANDLE hThread = nullptr;
    DWORD dwProcessId = 0;
    DWORD dwThreadId = 0;
};
BOOL CreateProcessW(LPCWSTR imageName, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                    DWORD creationFlags, LPVOID environment, LPCWSTR currentDirectory,
                    STARTUPINFOW* startupInfo, PROCESS_INFORMATION* processInformation);

// The exit code of a process, STILL_ACTIVE while it runs.
constexpr DWORD STILL_ACTIVE = 259;
BOOL GetExitCodeProcess(HANDLE process, DWORD* exitCode);

// Opens a process of the device by its id (GetWindowThreadProcessId gives the
// id of a window's process), on this host process or another one sharing the
// device directory.
constexpr DWORD PROCESS_TERMINATE = 0x0001;
constexpr DWORD PROCESS_QUERY_INFORMATION = 0x0400;
constexpr DWORD PROCESS_QUERY_LIMITED_INFORMATION = 0x1000;
constexpr DWORD PROCESS_ALL_ACCESS = 0x001F0FFF;
HANDLE OpenProcess(DWORD access, BOOL inheritHandle, DWORD processId);
// The full device path of the program file the process was started from
// ("\Program Files\Vantrel\Vantrel.exe"). size holds the buffer's length in
// characters and receives the length copied, without the zero; a buffer too
// small fails with ERROR_INSUFFICIENT_BUFFER. flags must be 0.
BOOL QueryFullProcessImageNameW(HANDLE process, DWORD flags, LPWSTR exeName, DWORD* size);

// Threads. GetCurrentThread returns a pseudo handle that stands for the
// calling thread. The priorities are the handheld's eight levels, 0 the
// highest.
HANDLE GetCurrentThread();
constexpr int THREAD_PRIORITY_TIME_CRITICAL = 0;
constexpr int THREAD_PRIORITY_HIGHEST = 1;
constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 2;
constexpr int THREAD_PRIORITY_NORMAL = 3;
constexpr int THREAD_PRIORITY_BELOW_NORMAL = 4;
constexpr int THREAD_PRIORITY_LOWEST = 5;
constexpr int THREAD_PRIORITY_ABOVE_IDLE = 6;
constexpr int THREAD_PRIORITY_IDLE = 7;
constexpr int THREAD_PRIORITY_ERROR_RETURN = 0x7FFFFFFF;
BOOL SetThreadPriority(HANDLE thread, int priority);
int GetThreadPriority(HANDLE thread);

// Named mutexes are one object for every program on the device, including
// programs of other host processes sharing the device directory. The creator
// that finds the name taken gets a handle to the existing mutex and
// GetLastError() == ERROR_ALREADY_EXISTS (0 otherwise). The name is freed when
// the last handle to it is closed, or when the processes holding handles end,
// however they end. Names are compared with case significant.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES attributes, BOOL initialOwner, LPCWSTR name);
// Fails with ERROR_NOT_OWNER unless the calling thread owns the mutex.
BOOL ReleaseMutex(HANDLE mutex);
