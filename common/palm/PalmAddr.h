#pragma once
// The contacts database of the classic Palm Desktop releases ("address.dat" in the user's
// "address" folder).
#include <array>
#include <cstdint>
#include <string>

#include "palm/PalmClassicDBUtil.h"

// A classic contact: 30 positions, texts cut to their field width minus one.
struct PmAddrRec
{
    std::int32_t recordId = 0;                 // 0
    std::int32_t status = 0;                   // 1: 0x04 deleted, 0x80 archived
    std::int32_t placement = 0;                // 2
    std::string lastName;                      // 3, 31 characters at most
    std::string firstName;                     // 4, 31
    std::string title;                         // 5, 31
    std::string company;                       // 6, 255
    std::array<std::int32_t, 5> phoneLabels{}; // 7, 9, 11, 13, 15: 0 work ... 7 mobile
    std::array<std::string, 5> phones;         // 8, 10, 12, 14, 16: 31 each
    std::string address;                       // 17, 255
    std::string city;                          // 18, 31
    std::string state;                         // 19, 31
    std::string zipCode;                       // 20, 31
    std::string country;                       // 21, 31
    std::string note;                          // 22, 8191
    std::int32_t isPrivate = 0;                // 23
    std::int32_t categoryId = 0;               // 24, the category's place in the table (0..15)
    std::array<std::string, 4> customs;        // 25-28, 63 each
    std::int32_t int29 = 0;                    // 29, kept and not used
    std::string categoryName;                  // of the category at that place, 15 at most
};

class PmAddrUtil : public PmClassicReader<PmAddrRec>
{
public:
    static constexpr std::int32_t kVersionTag = 0x41420100;
    static constexpr int kCustomLabels = 4;
    static constexpr std::size_t kLabelBufferSize = 512;

    PmAddrUtil();
    explicit PmAddrUtil(const std::string& path);
    ~PmAddrUtil() override;

    // Custom label 0..3 as the file gave it (empty when there is none).
    std::string GetCustomLabel(int index) const;

protected:
    bool ReadTableString() override;
    bool ReadField(int position) override;
};
