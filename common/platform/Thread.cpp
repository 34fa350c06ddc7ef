#include "platform/Thread.h"

#include <ctime>
#include <unistd.h>

namespace platform {

std::uint32_t CurrentThreadId()
{
    return static_cast<std::uint32_t>(::gettid());
}

void GetLocalTime(SYSTEMTIME& out)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    time_t seconds = now.tv_sec;
    ::localtime_r(&seconds, &local);
    out.wYear = static_cast<WORD>(local.tm_year + 1900);
    out.wMonth = static_cast<WORD>(local.tm_mon + 1);
    out.wDayOfWeek = static_cast<WORD>(local.tm_wday);
    out.wDay = static_cast<WORD>(local.tm_mday);
    out.wHour = static_cast<WORD>(local.tm_hour);
    out.wMinute = static_cast<WORD>(local.tm_min);
    // A leap second shows as :59, as Windows never reports :60.
    out.wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
    out.wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

} // namespace platform
