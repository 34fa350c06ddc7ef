// The time zone table: looking zones up, the two texts that are fixed, and the template
// that every generated text follows.
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "google/GGTimeZones.h"

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (true) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) {
            return lines;
        }
        at = end + 2;
    }
}

TEST(GGTimeZones, TheFixedTextsAreKeptWordForWord)
{
    ASSERT_NE(FindGGTimeZone("Pacific/Apia"), nullptr);
    EXPECT_STREQ(FindGGTimeZone("Pacific/Apia"), "BEGIN:VTIMEZONE\r\nTZID:Pacific/Apia\r\n"
                                                 "X-LIC-LOCATION:Pacific/Apia\r\nBEGIN:STANDARD\r\n"
                                                 "TZOFFSETFROM:-1100\r\nTZOFFSETTO:-1100\r\nTZNAME:WST\r\n"
                                                 "DTSTART:19700101T000000\r\nEND:STANDARD\r\nEND:VTIMEZONE");
    ASSERT_NE(FindGGTimeZone("America/New_York"), nullptr);
    EXPECT_STREQ(FindGGTimeZone("America/New_York"),
                 "BEGIN:VTIMEZONE\r\nTZID:America/New_York\r\nX-LIC-LOCATION:America/New_York\r\n"
                 "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\nTZNAME:EDT\r\n"
                 "DTSTART:19700308T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU\r\nEND:DAYLIGHT\r\n"
                 "BEGIN:STANDARD\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\nTZNAME:EST\r\n"
                 "DTSTART:19701101T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\n"
                 "END:VTIMEZONE");
}

TEST(GGTimeZones, NamesAreFoundIgnoringCase)
{
    EXPECT_EQ(FindGGTimeZone("europe/london"), FindGGTimeZone("Europe/London"));
    EXPECT_EQ(FindGGTimeZone("AMERICA/ARGENTINA/BUENOS_AIRES"),
              FindGGTimeZone("America/Argentina/Buenos_Aires"));
    EXPECT_NE(FindGGTimeZone("Asia/Calcutta"), nullptr);
    for (const char* unknown :
         {"", "Europe/Londo", "Europe/London ", "UTC", "Asia/Kolkata", "Mars/Olympus"}) {
        EXPECT_EQ(FindGGTimeZone(unknown), nullptr) << unknown;
    }
}

TEST(GGTimeZones, EveryTextFollowsTheTemplate)
{
    std::set<std::string> names;
    for (const GGTimeZone& zone : GGTimeZoneTable()) {
        const std::string name = zone.Name;
        SCOPED_TRACE(name);
        EXPECT_TRUE(names.insert(name).second) << "twice in the table";
        EXPECT_LE(name.size(), 63u);
        const std::vector<std::string> lines = Lines(zone.Text);
        ASSERT_GE(lines.size(), 10u);
        EXPECT_EQ(lines[0], "BEGIN:VTIMEZONE");
        EXPECT_EQ(lines[1], "TZID:" + name);
        EXPECT_EQ(lines[2], "X-LIC-LOCATION:" + name);
        EXPECT_EQ(lines.back(), "END:VTIMEZONE");
        if (lines.size() == 10) {
            // Without daylight saving time: one STANDARD component from and to one offset.
            EXPECT_EQ(lines[3], "BEGIN:STANDARD");
            EXPECT_EQ(lines[4].substr(0, 13), "TZOFFSETFROM:");
            EXPECT_EQ(lines[5], "TZOFFSETTO:" + lines[4].substr(13));
            EXPECT_EQ(lines[6].substr(0, 7), "TZNAME:");
            EXPECT_EQ(lines[7], "DTSTART:19700101T000000");
            EXPECT_EQ(lines[8], "END:STANDARD");
            continue;
        }
        ASSERT_EQ(lines.size(), 18u);
        const char* kinds[2] = {"DAYLIGHT", "STANDARD"};
        for (int i = 0; i < 2; ++i) {
            const std::size_t at = 3 + 7 * static_cast<std::size_t>(i);
            EXPECT_EQ(lines[at], std::string("BEGIN:") + kinds[i]);
            EXPECT_EQ(lines[at + 1].substr(0, 13), "TZOFFSETFROM:");
            EXPECT_EQ(lines[at + 2].substr(0, 11), "TZOFFSETTO:");
            EXPECT_EQ(lines[at + 3].substr(0, 7), "TZNAME:");
            EXPECT_EQ(lines[at + 4].substr(0, 12), "DTSTART:1970");
            EXPECT_EQ(lines[at + 5].substr(0, 18), "RRULE:FREQ=YEARLY;");
            EXPECT_EQ(lines[at + 6], std::string("END:") + kinds[i]);
        }
        // The daylight component goes from the standard offset to its own, and back.
        EXPECT_EQ(lines[4].substr(13), lines[12].substr(11));
        EXPECT_EQ(lines[5].substr(11), lines[11].substr(13));
        EXPECT_GT(std::stoi(lines[5].substr(11)), std::stoi(lines[4].substr(13)));
    }
}

TEST(GGTimeZones, GeneratedTextsCarryTheZonesRules)
{
    // A zone with the common European rule, one south of the equator, one whose daylight
    // saving time begins at a time the rule's weekday does not hold, and one without.
    const std::string berlin = FindGGTimeZone("Europe/Berlin");
    EXPECT_NE(berlin.find("BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nTZNAME:CEST\r\n"
                          "DTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"),
              std::string::npos)
        << berlin;
    EXPECT_NE(berlin.find("BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nTZNAME:CET\r\n"
                          "DTSTART:19701025T030000\r\nRRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"),
              std::string::npos)
        << berlin;
    const std::string sydney = FindGGTimeZone("Australia/Sydney");
    EXPECT_NE(sydney.find("TZOFFSETTO:+1100\r\nTZNAME:AEDT\r\nDTSTART:19701004T020000\r\n"
                          "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=1SU"),
              std::string::npos)
        << sydney;
    const std::string santiago = FindGGTimeZone("America/Santiago");
    EXPECT_NE(santiago.find("RRULE:FREQ=YEARLY;BYMONTH=9;BYDAY=SU;BYMONTHDAY=2,3,4,5,6,7,8"),
              std::string::npos)
        << santiago;
    const std::string kathmandu = FindGGTimeZone("Asia/Katmandu");
    EXPECT_NE(kathmandu.find("TZOFFSETFROM:+0545\r\nTZOFFSETTO:+0545\r\n"), std::string::npos) << kathmandu;
}

} // namespace
