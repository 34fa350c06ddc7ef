#pragma once
// Pins what a test program's expectations assume about time and text, whatever environment
// it is started from (ctest, a shell, a debugger): the time zone, the ANSI code page of the
// platform layer and the C library locale. The values also reach every program that the
// test starts. One object per test program, at namespace scope, so that it takes effect
// before main and before the first conversion reads them:
//
//     const fwtest::PinnedLocale kPinned{"Europe/Berlin"};
//
// A program that does not touch local time passes no zone and leaves TZ as it is.
namespace fwtest {

class PinnedLocale
{
public:
    explicit PinnedLocale(const char* zone = nullptr, const char* codePage = "1252");
};

} // namespace fwtest
