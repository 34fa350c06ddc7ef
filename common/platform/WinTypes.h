#pragma once
// The few Windows types that the record layouts and date helpers are written in.
#include <cstdint>

using WORD = std::uint16_t;
using DWORD = std::uint32_t;

// Broken-down local time with the Windows field names and order (16 bits each).
struct SYSTEMTIME
{
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek; // Sunday = 0
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// Longest path the fixed buffers hold, terminator included.
constexpr int MAX_PATH = 260;
