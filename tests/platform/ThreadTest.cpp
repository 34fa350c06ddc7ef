#include "platform/Thread.h"

#include <ctime>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

namespace {

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
    // Retried when the second turns over between the two readings.
    for (int attempt = 0; attempt < 3; ++attempt) {
        SYSTEMTIME st{};
        platform::GetLocalTime(st);
        std::time_t now = std::time(nullptr);
        std::tm local{};
        ::localtime_r(&now, &local);
        if (local.tm_sec != st.wSecond) {
            continue;
        }
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
