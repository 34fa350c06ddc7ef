#pragma once
// The memo database of Palm Desktop 4.1.x ("memopad.dat" in the user's "memopad" folder).
#include <string>

#include "palm/PalmExDBUtil.h"

// A 4.1.x memo: position 13 after the common ones.
struct PmMemoExRec : PmExRecBase
{
    std::string text; // 8191 characters at most
};

class PmMemoExUtil : public PmExReader<PmMemoExRec>
{
public:
    PmMemoExUtil();
    explicit PmMemoExUtil(const std::string& path);
    ~PmMemoExUtil() override;

protected:
    bool ReadField(int position, PmMemoExRec& rec) override;
};
