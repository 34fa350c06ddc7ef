#pragma once
// Identity of the calling thread and the local clock.
#include <cstdint>

#include "platform/WinTypes.h"

namespace platform {

// The kernel's identifier of the calling thread.
std::uint32_t CurrentThreadId();

// GetLocalTime: the current local time, day of week and milliseconds included.
void GetLocalTime(SYSTEMTIME& out);

} // namespace platform
