// System parameters: the platform type ("PocketPC"), the device's maker text
// and the work area (the screen below the task bar).
#pragma once

#include "platform/WinTypes.h"

constexpr UINT SPI_GETWORKAREA = 48;
constexpr UINT SPI_GETPLATFORMTYPE = 257;
constexpr UINT SPI_GETOEMINFO = 258;

// SPI_GETPLATFORMTYPE and SPI_GETOEMINFO: the text goes to param, a buffer of
// uiParam bytes; too small a buffer fails with ERROR_INSUFFICIENT_BUFFER.
// SPI_GETWORKAREA: param is a RECT.
BOOL SystemParametersInfoW(UINT action, UINT uiParam, LPVOID param, UINT winIni);
