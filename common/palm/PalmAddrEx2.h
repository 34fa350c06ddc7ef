#pragma once
// The contacts database of Palm Desktop 6.x ("Address.mdb" in the user's "address" folder).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "palm/PalmCommEx2.h"

// One postal address of a 6.x contact.
struct PmEx2Address
{
    std::string street;  // 255 bytes at most
    std::string city;    // 31
    std::string state;   // 31
    std::string zip;     // 31
    std::string country; // 31
};

// A 6.x contact: the 95 columns of "Main" (texts in the ANSI code page, cut to their width
// minus one byte) and the fields worked out after reading.
struct PmAddrEx2Rec
{
    std::int32_t recordId = 0;
    std::int32_t status = 0; // 0x04 deleted, 0x80 archived
    std::int32_t placement = 0;
    std::int32_t isPrivate = 0;
    std::int32_t categoryId = 0;
    std::string note;             // 2047
    std::string prefix;           // 31
    std::string firstName;        // 63
    std::string middleName;       // 63
    std::string lastName;         // 63
    std::string suffix;           // 31
    std::string nickName;         // 63
    std::int32_t anniversary = 0; // day numbers: 129080608 + OLE automation date
    std::int32_t birthday = 0;
    std::string profession;     // 127
    std::string company;        // 127
    std::string jobTitle;       // 127
    std::string assistantName;  // 63
    std::string assistantPhone; // 63
    PmEx2Address work;
    PmEx2Address home;
    PmEx2Address other;
    std::array<std::string, 7> phones;   // slots 1-7: "Work Phone" ... "Other Phone", 127 each
    std::array<std::string, 14> customs; // "Custom 1" ... "Custom 14", 255 each
    std::int32_t primaryContact = 0;
    std::array<std::int32_t, 7> phoneLabels{}; // 0 work ... 7 mobile
    std::string firstYomi;                     // 63
    std::string lastYomi;                      // 63
    std::string companyYomi;                   // 63
    std::array<std::string, 2> chats;          // 127 each
    std::array<std::int32_t, 2> chatLabels{};  // 1 AIM, 2 MSN, 3 Yahoo, 4 AOL, 5 IM; 0 none
    std::string website;                       // 255
    std::int32_t birthdayAlarmSet = 0;
    std::int32_t birthdayAlarmAdv = 0;
    std::int32_t avatar = 0;
    std::array<std::int32_t, 3> addrLabels{};
    std::int32_t anniversaryAlarmSet = 0;
    std::int32_t anniversaryAlarmAdv = 0;
    std::string englishName;         // 127
    std::string pictureUrl;          // 255
    std::string pictureFilename;     // 255
    std::string pictureMimeType;     // 31
    std::string pictureSyncCounter;  // 31
    std::string ringtoneUrl;         // 255
    std::string ringtoneFilename;    // 255
    std::string ringtoneMimeType;    // 31
    std::string ringtoneSyncCounter; // 31

    // Worked out after reading: each phone slot whose label is 0-7 copied into the field of
    // its label (31 bytes each; a later slot overwrites an earlier one), and the category name.
    std::array<std::string, 8> phoneByLabel;
    std::string categoryName; // 31
};

class PmAddrEx2Util : public PmEx2Reader<PmAddrEx2Rec>
{
public:
    PmAddrEx2Util();
    explicit PmAddrEx2Util(const std::string& path);
    ~PmAddrEx2Util() override;

    // True once the file exists and its main records were read (none on a failed query).
    bool Load(const std::string& path);
    bool LoadByUser(std::int32_t userId);

    // The columns of "Main", in the order they are read.
    static const PmColumnList& Columns();
};
