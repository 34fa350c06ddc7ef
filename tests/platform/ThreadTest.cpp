#include "platform/Thread.h"

#include "common/PinnedLocale.h"

#include <ctime>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

const fwtest::PinnedLocale kPinned{"Europe/Berlin"}; // a zone away from UTC, so that local time shows

TEST(ThreadTest, EachThreadHasItsOwnId)
{
    std::uint32_t main = platform::CurrentThreadId();
    EXPECT_EQ(main, static_cast<std::uint32_t>(::getpid())) << "the main thread's id is the process id";
    EXPECT_EQ(platform::CurrentThreadId(), main);
    std::uint32_t other = 0;
    std::thread([&] { other = platform::CurrentThreadId(); }).join();
    EXPECT_NE(other, 0u);
    EXPECT_NE(other, main);
}

TEST(ThreadTest, LocalTimeMatchesTheClock)
{
    // The clock is read before and after, from the clock that GetLocalTime reads (time()
    // may lag it by a tick just after a second turns over); retried when the second turns
    // over between the readings.
    for (int attempt = 0; attempt < 3; ++attempt) {
        timespec before{};
        timespec after{};
        SYSTEMTIME st{};
        ::clock_gettime(CLOCK_REALTIME, &before);
        platform::GetLocalTime(st);
        ::clock_gettime(CLOCK_REALTIME, &after);
        if (before.tv_sec != after.tv_sec) {
            continue;
        }
        const std::time_t now = before.tv_sec;
        std::tm local{};
        ::localtime_r(&now, &local);
        EXPECT_EQ(st.wSecond, local.tm_sec);
        EXPECT_EQ(st.wYear, local.tm_year + 1900);
        EXPECT_EQ(st.wMonth, local.tm_mon + 1);
        EXPECT_EQ(st.wDay, local.tm_mday);
        EXPECT_EQ(st.wDayOfWeek, local.tm_wday) << "Sunday is 0";
        EXPECT_EQ(st.wHour, local.tm_hour) << "local time, not UTC";
        EXPECT_EQ(st.wMinute, local.tm_min);
        EXPECT_LT(st.wMilliseconds, 1000);
        return;
    }
    FAIL() << "the clock never held still";
}

} // namespace
