#pragma once
// The calendar database of Palm Desktop 4.1.x ("datebook.dat" in the user's "datebook" folder).
#include <cstdint>
#include <string>

#include "palm/PalmExDBUtil.h"
#include "palm/PalmRepeat.h"

// A 4.1.x calendar entry: positions 13 to 26 after the common ones.
struct PmDateExRec : PmExRecBase
{
    std::int32_t startTime = 0; // seconds since 1970-01-01 UTC
    std::int32_t endTime = 0;
    std::string description; // 255 characters at most
    std::int32_t int16 = 0;
    std::string note; // 8191
    std::int32_t untimed = 0;
    std::int32_t alarmSet = 0;
    std::int32_t alarmAdvance = 0;
    std::int32_t alarmAdvanceUnit = 0; // 0 minutes, 1 hours, 2 days
    PmRepeat repeat;
    std::string location; // 255
    std::int32_t int24 = 0;
    std::string text25; // 31 each, kept and not used
    std::string text26;
};

class PmDateExUtil : public PmExReader<PmDateExRec>
{
public:
    PmDateExUtil();
    explicit PmDateExUtil(const std::string& path);
    ~PmDateExUtil() override;

protected:
    bool ReadField(int position, PmDateExRec& rec) override;
};
