// Reads arbitrary text as a Google Calendar export; what reads must write back unchanged and
// give its times, recurrence texts and repeat rules without failing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "GoogleCalendarFile.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 64 * 1024) {
        return 0;
    }
    const std::string text(reinterpret_cast<const char*>(data), size);
    gcal::CalendarFile cal;
    std::string error;
    if (!cal.LoadText(text, "fuzz.ics", error)) {
        Check(error.rfind("fuzz.ics: ", 0) == 0);
        Check(cal.events.empty());
        return 0;
    }
    std::string written;
    Check(cal.BuildText(&written, error));
    Check(written == text);
    for (const gcal::Event& e : cal.events) {
        SYSTEMTIME st;
        double ole = 0;
        cal.LocalTime(e.start, &st);
        cal.OleDate(e.end, &ole);
        (void)cal.RecurrenceText(e);
        (void)gcal::RuleFromPattern(e.repeat);
    }
    // A changed event is written from its fields and reads again.
    if (!cal.events.empty()) {
        cal.events[0].summary += "x";
        if (cal.BuildText(&written, error)) {
            gcal::CalendarFile again;
            again.LoadText(written, "fuzz.ics", error);
        }
    }
    return 0;
}
