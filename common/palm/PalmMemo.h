#pragma once
// The memo database of the classic Palm Desktop releases ("memopad.dat" in the user's
// "memopad" folder).
#include <cstdint>
#include <string>

#include "palm/PalmClassicDBUtil.h"

// A classic memo: 6 positions.
struct PmMemoRec
{
    std::int32_t recordId = 0;   // 0
    std::int32_t status = 0;     // 1
    std::int32_t placement = 0;  // 2
    std::string text;            // 3, 8191 characters at most
    std::int32_t isPrivate = 0;  // 4
    std::int32_t categoryId = 0; // 5
};

class PmMemoUtil : public PmClassicReader<PmMemoRec>
{
public:
    static constexpr std::int32_t kVersionTag = 0x4D500100;

    PmMemoUtil();
    explicit PmMemoUtil(const std::string& path);
    ~PmMemoUtil() override;

protected:
    bool ReadField(int position) override;
    // Deleted (0x04) and archived (0x80) memos are dropped.
    bool Keep(const PmMemoRec& rec) const override { return (rec.status & 0x84) == 0; }
};
