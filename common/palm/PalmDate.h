#pragma once
// The calendar database of the classic Palm Desktop releases ("datebook.dat" in the user's
// "datebook" folder).
#include <cstdint>
#include <string>

#include "palm/PalmClassicDBUtil.h"
#include "palm/PalmRepeat.h"

// A classic calendar entry: 15 positions, texts cut to their field width minus one.
struct PmDateRec
{
    std::int32_t recordId = 0;     // 0
    std::int32_t status = 0;       // 1
    std::int32_t placement = 0;    // 2
    std::int32_t startDate = 0;    // 3: seconds since 1970-01-01 UTC
    std::int32_t endDate = 0;      // 4
    std::string description;       // 5, 511 characters at most
    std::int32_t int6 = 0;         // 6, kept and not used
    std::string note;              // 7, 8191
    std::int32_t untimed = 0;      // 8: no time of day
    std::int32_t isPrivate = 0;    // 9
    std::int32_t categoryId = 0;   // 10
    std::int32_t alarmSet = 0;     // 11
    std::int32_t alarmAdvance = 0; // 12
    std::int32_t alarmUnit = 0;    // 13: 0 minutes, 1 hours, 2 days
    PmRepeat repeat;               // 14
};

class PmDateUtil : public PmClassicReader<PmDateRec>
{
public:
    static constexpr std::int32_t kVersionTag = 0x44420100;

    PmDateUtil();
    explicit PmDateUtil(const std::string& path);
    ~PmDateUtil() override;

protected:
    bool ReadField(int position) override;
    // An entry without a start or an end (-1) is dropped.
    bool Keep(const PmDateRec& rec) const override { return rec.startDate != -1 && rec.endDate != -1; }
};
