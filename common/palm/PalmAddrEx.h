#pragma once
// The contacts database of Palm Desktop 4.1.x ("address.dat" in the user's "address" folder).
#include <array>
#include <cstdint>
#include <string>

#include "palm/PalmExDBUtil.h"

// One postal address of a 4.1.x contact.
struct PmAddrExAddress
{
    std::int32_t type = 0; // kept and not used
    std::string street;    // 255 characters at most
    std::string city;      // the others 31 each
    std::string state;
    std::string zipCode;
    std::string country;
};

// A 4.1.x contact: positions 13 to 72 after the common ones.
struct PmAddrExRec : PmExRecBase
{
    std::string firstName; // 31 characters at most
    std::string lastName;  // 31
    std::string title;     // 31
    std::string company;   // 255
    std::int32_t int17 = 0;
    std::string note;                          // 2047
    std::array<std::string, 7> phones;         // 31 each
    std::array<std::int32_t, 7> phoneLabels{}; // 0 work ... 7 mobile
    std::array<std::string, 9> customs;        // 255 each
    std::array<PmAddrExAddress, 3> addresses;
    std::array<std::string, 2> ims;         // 31 each
    std::array<std::int32_t, 2> imLabels{}; // 0 none, 1 AIM, 2 MSN, 3 Yahoo, 4 AOL, 5 IM
    std::string homePage;                   // 255
    double birthday = 0;                    // 129080608 more than the OLE automation date
    std::int32_t bool66 = 0;
    std::int32_t int67 = 0;
    std::int32_t int68 = 0;
    std::array<std::string, 4> texts69; // 69 to 72, 31 each
};

class PmAddrExUtil : public PmExReader<PmAddrExRec>
{
public:
    static constexpr int kCustomLabels = 9;

    PmAddrExUtil();
    explicit PmAddrExUtil(const std::string& path);
    ~PmAddrExUtil() override;

    // The nine custom labels of the file (up to 256 characters each); empty beyond.
    const std::string& GetCustomLabel(int index) const;
    const std::array<std::uint8_t, kPmExReserved3Size>& GetReserved3() const { return m_reserved3; }

protected:
    bool ReadCustomLabels() override;
    bool ReadField(int position, PmAddrExRec& rec) override;

private:
    std::array<std::string, kCustomLabels> m_customLabels;
    std::array<std::uint8_t, kPmExReserved3Size> m_reserved3{};
};
