// The sockets layer's start and end. The device's network is the host's;
// WSAStartup fails only when the device is configured to fail it.
#pragma once

#include "platform/WinTypes.h"

constexpr int WSADESCRIPTION_LEN = 256;
constexpr int WSASYS_STATUS_LEN = 128;

struct WSADATA {
    WORD wVersion = 0;
    WORD wHighVersion = 0;
    char szDescription[WSADESCRIPTION_LEN + 1] = {};
    char szSystemStatus[WSASYS_STATUS_LEN + 1] = {};
    unsigned short iMaxSockets = 0;
    unsigned short iMaxUdpDg = 0;
    char* lpVendorInfo = nullptr;
};

constexpr WORD MAKEWORD(BYTE low, BYTE high) {
    return static_cast<WORD>(low | (high << 8));
}

// Error codes.
constexpr int WSASYSNOTREADY = 10091;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr int WSANOTINITIALISED = 10093;
constexpr int WSAEFAULT = 10014;

// 0, or an error code; versions 1.1 to 2.2 are supported. Each successful
// start is matched by a WSACleanup.
int WSAStartup(WORD versionRequested, WSADATA* data);
// 0, or -1 (SOCKET_ERROR) when the layer was not started.
int WSACleanup();
int WSAGetLastError();
