// ParseRecurrenceText on any text: it never writes the text, a failed parse leaves the
// repeat fields as they were, and a rule that the connector builds from what was read
// (when it names every part of its kind) reads back into the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "google/GGRecurrence.h"
#include "google/GGTimeZones.h"
#include "misc/CommRecords.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

struct Fields
{
    int kind, interval, mask, dayOfMonth, monthOfYear, instance;
    bool operator==(const Fields&) const = default;
};

Fields Of(const GDateRec& rec)
{
    return Fields{rec.RepeatKind, rec.Interval,    rec.DayOfWeekMask,
                  rec.DayOfMonth, rec.MonthOfYear, rec.Instance};
}

// Whether the built rule names every part that the kind's fields hold, so that parsing it
// must give them back.
bool Complete(const Fields& f)
{
    switch (f.kind) {
    case 1:
    case 5:
        return f.interval != 0;
    case 2:
        return f.mask != 0;
    case 3:
        return f.instance != 0;
    case 4:
        return f.dayOfMonth != 0;
    case 6:
        return f.monthOfYear != 0;
    default:
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    GDateRec rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Start = 41334.375;
    rec.End = 41334.5;
    rec.RepeatKind = 6;
    rec.Interval = 7;
    rec.DayOfWeekMask = 7;
    rec.DayOfMonth = 7;
    rec.MonthOfYear = 7;
    rec.Instance = 7;
    CopyText(rec.Recurrence, std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text(FieldText(rec.Recurrence));
    const Fields before = Of(rec);

    const bool parsed = ParseRecurrenceText(rec);
    Check(std::string(FieldText(rec.Recurrence)) == text);
    const Fields after = Of(rec);
    if (!parsed) {
        Check(after == before);
        return 0;
    }
    Check(after.kind >= 0 && after.kind <= 6);
    if (!Complete(after) || after.interval < 0 || after.mask < 0 || after.dayOfMonth < 0 ||
        after.monthOfYear < 0 || after.instance < 0) {
        return 0;
    }

    GDateRec built = rec;
    built.Recurrence[0] = '\0';
    GGRecurrenceZone zone{"Europe/London", FindGGTimeZone("Europe/London")};
    Check(BuildRecurrenceText(built, "", [&zone] { return &zone; }));
    Check(std::memchr(built.Recurrence, 0, sizeof built.Recurrence) != nullptr);
    GDateRec read = built;
    read.RepeatKind = 0;
    Check(ParseRecurrenceText(read));
    Check(Of(read) == after);
    return 0;
}
