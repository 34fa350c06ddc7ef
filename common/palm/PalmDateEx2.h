#pragma once
// The calendar database of Palm Desktop 6.x ("DateBook.mdb" in the user's "datebook" folder).
#include <cstdint>
#include <string>
#include <vector>

#include "palm/PalmCommEx2.h"
#include "palm/PalmRepeat.h"

// A 6.x calendar entry: the 16 columns of "Main" and the repeat fields read from its rule.
struct PmDateEx2Rec
{
    std::int32_t recordId = 0;
    std::int32_t status = 0;
    std::int32_t placement = 0;
    std::int32_t isPrivate = 0;
    std::int32_t categoryId = 0;
    std::string note;           // 8191
    std::int32_t startTime = 0; // seconds since 1970-01-01 UTC
    std::int32_t endTime = 0;
    std::string startTimeText; // the same values as decimal text
    std::string endTimeText;
    std::int32_t untimed = 0;
    std::string timeZone; // 63
    std::string location; // 255
    std::string summary;  // 255
    std::int32_t alarm = 0;
    std::int32_t alarmAdvance = 0;
    std::int32_t alarmUnit = 0; // 0 minutes, 1 hours, 2 days
    std::string repeatedEvent;  // 255, the rule text
    PmRepeat repeat;            // read from the rule text
    std::string categoryName;   // 31
};

class PmDateEx2Util : public PmEx2Reader<PmDateEx2Rec>
{
public:
    PmDateEx2Util();
    explicit PmDateEx2Util(const std::string& path);
    ~PmDateEx2Util() override;

    bool Load(const std::string& path);
    bool LoadByUser(std::int32_t userId);

    static const PmColumnList& Columns();
};
