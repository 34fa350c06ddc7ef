#pragma once
// The memo database of Palm Desktop 6.x ("MemoPad.mdb" in the user's "MemoPad" folder).
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "palm/PalmCommEx2.h"

// A 6.x memo: the 6 columns of "Main".
struct PmMemoEx2Rec
{
    // Longest memo text kept, in bytes of the ANSI code page.
    static constexpr std::size_t kMaxNote = 40959;

    std::int32_t recordId = 0;
    std::int32_t status = 0;
    std::int32_t placement = 0;
    std::int32_t isPrivate = 0;
    std::int32_t categoryId = 0;
    std::string note;            // kMaxNote at most
    std::int32_t noteLength = 0; // the length of note
    std::string categoryName;    // 31
};

class PmMemoEx2Util : public PmEx2Reader<PmMemoEx2Rec>
{
public:
    PmMemoEx2Util();
    explicit PmMemoEx2Util(const std::string& path);
    ~PmMemoEx2Util() override;

    bool Load(const std::string& path);
    bool LoadByUser(std::int32_t userId);

    static const PmColumnList& Columns();
};
