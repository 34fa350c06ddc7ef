#pragma once
// The native records of the ACT! record files ("ACTAddr.dat", "ACTDate.dat", "ACTTask.dat",
// "ACTNote.dat"), shared by the connectors and the helper programs so that both sides read
// and write them with the same code.
//
// A record file is an integer record count followed by the records. Every record starts with
// the change mark and the action; the record in memory has one more leading integer
// (Reserved) that the file does not hold. The other fields follow in the order of the
// structs below (integers and flags 4 bytes, dates 8-byte OLE Automation dates, texts
// length-prefixed); every text buffer is the field's capacity, terminator included. Flags
// are held as 4-byte integers in memory too, as the shared field reader reads them.
//
// The contact record holds the 89 fields of the ACT! contact field table, in table order:
// ACT_CONTACT_FIELDS below is that table, and the struct, its layout and the field table
// (ACTFieldTable.h) are all made from it.
//
// Fields named KeptN are carried unchanged between load and submit.
#include <span>
#include <vector>

#include "exchange/CxRecordLayout.h"

class CxFile;

// The change mark and action of a record that the system added or changed.
constexpr int ACTChangeMarkSubmit = 2;
constexpr int ACTActionNew = 1;
constexpr int ACTActionChanged = 2;

// Types of the contact field table.
constexpr int ACTFieldTypeText = 1;
constexpr int ACTFieldTypeFlag = 3;
constexpr int ACTFieldTypeDate = 6;

// X(identifier, member, label, type, width): width is the text capacity, 4 for flags and 8
// for dates.
#define ACT_CONTACT_FIELDS(X)                                                                                \
    X(1, RecordID, "Record ID", ACTFieldTypeText, 64)                                                        \
    X(2, RecordCreator, "Record Creator", ACTFieldTypeText, 32)                                              \
    X(3, LastEditedBy, "Last Edited By", ACTFieldTypeText, 32)                                               \
    X(4, RecordManager, "Record Manager", ACTFieldTypeText, 32)                                              \
    X(5, Category, "Category", ACTFieldTypeText, 256)                                                        \
    X(6, NamePrefix, "Name Prefix", ACTFieldTypeText, 32)                                                    \
    X(7, NameSuffix, "Name Suffix", ACTFieldTypeText, 32)                                                    \
    X(8, FirstName, "First Name", ACTFieldTypeText, 32)                                                      \
    X(9, MiddleName, "Middle Name", ACTFieldTypeText, 32)                                                    \
    X(10, LastName, "Last Name", ACTFieldTypeText, 32)                                                       \
    X(11, FullName, "Full Name", ACTFieldTypeText, 32)                                                       \
    X(12, Salutation, "Salutation", ACTFieldTypeText, 32)                                                    \
    X(13, ReferredBy, "Referred By", ACTFieldTypeText, 32)                                                   \
    X(14, Company, "Company", ACTFieldTypeText, 64)                                                          \
    X(15, Department, "Department", ACTFieldTypeText, 32)                                                    \
    X(16, Title, "Title", ACTFieldTypeText, 32)                                                              \
    X(17, BusinessCountry, "Business Country", ACTFieldTypeText, 32)                                         \
    X(18, BusinessState, "Business State", ACTFieldTypeText, 32)                                             \
    X(19, BusinessCity, "Business City", ACTFieldTypeText, 32)                                               \
    X(20, BusinessAddress1, "Business Address 1", ACTFieldTypeText, 256)                                     \
    X(21, BusinessAddress2, "Business Address 2", ACTFieldTypeText, 256)                                     \
    X(22, BusinessAddress3, "Business Address 3", ACTFieldTypeText, 256)                                     \
    X(23, BusinessPostal, "Business Postal", ACTFieldTypeText, 16)                                           \
    X(24, HomeCountry, "Home Country", ACTFieldTypeText, 32)                                                 \
    X(25, HomeState, "Home State", ACTFieldTypeText, 32)                                                     \
    X(26, HomeCity, "Home City", ACTFieldTypeText, 32)                                                       \
    X(27, HomeAddress1, "Home Address 1", ACTFieldTypeText, 256)                                             \
    X(28, HomeAddress2, "Home Address 2", ACTFieldTypeText, 256)                                             \
    X(29, HomeAddress3, "Home Address 3", ACTFieldTypeText, 256)                                             \
    X(30, HomePostal, "Home Postal", ACTFieldTypeText, 16)                                                   \
    X(31, BusinessPhone, "Business Phone", ACTFieldTypeText, 24)                                             \
    X(32, HomePhone, "Home Phone", ACTFieldTypeText, 24)                                                     \
    X(33, MobilePhone, "Mobile Phone", ACTFieldTypeText, 24)                                                 \
    X(34, Pager, "Pager", ACTFieldTypeText, 24)                                                              \
    X(35, Fax, "Fax", ACTFieldTypeText, 24)                                                                  \
    X(36, AlternatePhone, "Alternate Phone", ACTFieldTypeText, 24)                                           \
    X(37, FaxExtension, "Fax Extension", ACTFieldTypeText, 24)                                               \
    X(38, PagerExtension, "Pager Extension", ACTFieldTypeText, 24)                                           \
    X(39, BusinessPhoneExtension, "Business Phone Extension", ACTFieldTypeText, 24)                          \
    X(40, HomePhoneExtension, "Home Phone Extension", ACTFieldTypeText, 24)                                  \
    X(41, MobilePhoneExtension, "Mobile Phone Extension", ACTFieldTypeText, 24)                              \
    X(42, AlternatePhoneExtension, "Alternate Phone Extension", ACTFieldTypeText, 24)                        \
    X(43, BusinessEmail, "Business E-mail", ACTFieldTypeText, 64)                                            \
    X(44, PersonalEmail, "Personal E-mail", ACTFieldTypeText, 64)                                            \
    X(45, Website, "Website", ACTFieldTypeText, 256)                                                         \
    X(46, InstantMessenger, "Instant Messenger", ACTFieldTypeText, 64)                                       \
    X(47, SpouseName, "Spouse Name", ACTFieldTypeText, 32)                                                   \
    X(48, UserDefined1, "User Defined 1", ACTFieldTypeText, 64)                                              \
    X(49, UserDefined2, "User Defined 2", ACTFieldTypeText, 64)                                              \
    X(50, UserDefined3, "User Defined 3", ACTFieldTypeText, 64)                                              \
    X(51, UserDefined4, "User Defined 4", ACTFieldTypeText, 64)                                              \
    X(52, UserDefined5, "User Defined 5", ACTFieldTypeText, 64)                                              \
    X(53, UserDefined6, "User Defined 6", ACTFieldTypeText, 64)                                              \
    X(54, UserDefined7, "User Defined 7", ACTFieldTypeText, 64)                                              \
    X(55, UserDefined8, "User Defined 8", ACTFieldTypeText, 64)                                              \
    X(56, UserDefined9, "User Defined 9", ACTFieldTypeText, 64)                                              \
    X(57, UserDefined10, "User Defined 10", ACTFieldTypeText, 64)                                            \
    X(58, LastResults, "Last Results", ACTFieldTypeText, 64)                                                 \
    X(59, IsUser, "Is User", ACTFieldTypeFlag, 4)                                                            \
    X(60, IsImported, "Is Imported", ACTFieldTypeFlag, 4)                                                    \
    X(61, IsPrivate, "Is Private", ACTFieldTypeFlag, 4)                                                      \
    X(62, Birthday, "Birthday", ACTFieldTypeDate, 8)                                                         \
    X(63, CreateDate, "Create Date", ACTFieldTypeDate, 8)                                                    \
    X(64, EditDate, "Edit Date", ACTFieldTypeDate, 8)                                                        \
    X(65, LastAttempt, "Last Attempt", ACTFieldTypeDate, 8)                                                  \
    X(66, LastEmail, "Last E-mail", ACTFieldTypeDate, 8)                                                     \
    X(67, LastMeeting, "Last Meeting", ACTFieldTypeDate, 8)                                                  \
    X(68, LastReach, "Last Reach", ACTFieldTypeDate, 8)                                                      \
    X(69, LastLetter, "Last Letter", ACTFieldTypeDate, 8)                                                    \
    X(70, SecondaryFirstName, "Secondary First Name", ACTFieldTypeText, 32)                                  \
    X(71, SecondaryLastName, "Secondary Last Name", ACTFieldTypeText, 32)                                    \
    X(72, SecondaryContact, "Secondary Contact", ACTFieldTypeText, 32)                                       \
    X(73, SecondaryCompany, "Secondary Company", ACTFieldTypeText, 64)                                       \
    X(74, SecondaryTitle, "Secondary Title", ACTFieldTypeText, 32)                                           \
    X(75, SecondaryCountry, "Secondary Country", ACTFieldTypeText, 32)                                       \
    X(76, SecondaryState, "Secondary State", ACTFieldTypeText, 32)                                           \
    X(77, SecondaryCity, "Secondary City", ACTFieldTypeText, 32)                                             \
    X(78, SecondaryAddress1, "Secondary Address 1", ACTFieldTypeText, 256)                                   \
    X(79, SecondaryAddress2, "Secondary Address 2", ACTFieldTypeText, 256)                                   \
    X(80, SecondaryAddress3, "Secondary Address 3", ACTFieldTypeText, 256)                                   \
    X(81, SecondaryPostal, "Secondary Postal", ACTFieldTypeText, 16)                                         \
    X(82, SecondaryPhone, "Secondary Phone", ACTFieldTypeText, 24)                                           \
    X(83, SecondaryMobilePhone, "Secondary Mobile Phone", ACTFieldTypeText, 24)                              \
    X(84, SecondaryFax, "Secondary Fax", ACTFieldTypeText, 24)                                               \
    X(85, SecondaryPhoneExtension, "Secondary Phone Extension", ACTFieldTypeText, 24)                        \
    X(86, SecondaryEmail, "Secondary E-mail", ACTFieldTypeText, 64)                                          \
    X(87, SecondaryWebsite, "Secondary Website", ACTFieldTypeText, 256)                                      \
    X(88, SecondaryCategory, "Secondary Category", ACTFieldTypeText, 256)                                    \
    X(89, SecondaryIsPrivate, "Secondary Is Private", ACTFieldTypeFlag, 4)

constexpr int ACTContactFieldCount = 89;

// The member of a contact field: a text buffer of its width, a 4-byte flag or a date.
template <int Type, int Width> struct ACTMember;
template <int Width> struct ACTMember<ACTFieldTypeText, Width>
{
    using Type = char[Width];
};
template <int Width> struct ACTMember<ACTFieldTypeFlag, Width>
{
    using Type = int;
};
template <int Width> struct ACTMember<ACTFieldTypeDate, Width>
{
    using Type = double;
};

struct ACTAddrRec
{
    int Reserved; // not in the record file
    int ChangeMark;
    int Action;
#define ACT_MEMBER(id, member, label, type, width) typename ACTMember<type, width>::Type member;
    ACT_CONTACT_FIELDS(ACT_MEMBER)
#undef ACT_MEMBER
};

struct ACTDateRec
{
    int Reserved;
    int ChangeMark;
    int Action;
    char ItemID[64];
    char Subject[256];
    char Location[256];
    char Details[8192];
    int ActivityCode; // 0..3
    double Start;     // OLE Automation date
    double End;
    double Kept10;
    double Kept11;
    int Kept12;
    int RepeatValue;    // weekday mask or day of month
    int RepeatType;     // 1 by date, 2 by weekday, 3 yearly by weekday position (daily: 3)
    int RepeatInterval; //
    int RepeatInstance; // week of the month
    int RepeatMonth;
    int RepeatFrequency; // 0 none, 1 daily, 2 weekly, 3 monthly, 4 yearly
    double RepeatEnd;    // 0 when none
    int Private;
    int AllDay;
};

struct ACTTaskRec
{
    int Reserved;
    int ChangeMark;
    int Action;
    char ItemID[64];
    char Subject[256];
    char Kept5[256];
    char Details[8192];
    double Kept7;
    double Kept8;
    int Priority; // 0 high, 1 normal, 2 low
    int Kept10;   // Kept10..Kept15: zero in records written by the system
    int Kept11;
    int Kept12;
    int Kept13;
    int Kept14;
    int Kept15;
    double Kept16;
    int Private;
    double DueDate; // 0 when none
    int Completed;
};

struct ACTNoteRec
{
    int Reserved;
    int ChangeMark;
    int Action;
    char ItemID[64];
    char Kept4[64];
    char Kept5[64];
    char Kept6[64];
    char Text[8192];
    int Kept8;
    double Created; // OLE Automation date
    double Edited;
};

// The fields of each record as the record file holds them, in file order (Reserved is not
// one of them). The contact fields carry the members' names.
std::span<const CxLayoutField> ACTAddrFields();
std::span<const CxLayoutField> ACTDateFields();
std::span<const CxLayoutField> ACTTaskFields();
std::span<const CxLayoutField> ACTNoteFields();

// Reads one record into rec, which the caller has zeroed; a record cut short keeps zeros
// where it ends. False when the record was not there in full or held a damaged length.
bool LoadACTRecord(CxFile& file, ACTAddrRec& rec);
bool LoadACTRecord(CxFile& file, ACTDateRec& rec);
bool LoadACTRecord(CxFile& file, ACTTaskRec& rec);
bool LoadACTRecord(CxFile& file, ACTNoteRec& rec);
bool SaveACTRecord(CxFile& file, const ACTAddrRec& rec);
bool SaveACTRecord(CxFile& file, const ACTDateRec& rec);
bool SaveACTRecord(CxFile& file, const ACTTaskRec& rec);
bool SaveACTRecord(CxFile& file, const ACTNoteRec& rec);
