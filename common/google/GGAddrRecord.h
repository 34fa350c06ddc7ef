#pragma once
// The native contact record of the Google contacts record file ("GAddr.dat") and the
// exchange files of the contacts helper, shared by the connector and the helper programs so
// that both sides read and write the records with the same code.
//
// A record file is an integer record count followed by the records, each field in the order
// of GGAddrRec below (CxFile encodings: integers 4 bytes, dates 8-byte OLE Automation dates,
// texts length-prefixed; an array is its elements one after the other). Every text buffer is
// the field's capacity, terminator included.
//
// A Google contact holds repeatable elements (e-mail addresses, postal addresses, phone
// numbers, web sites, instant-messaging addresses, dates, relations), each with a kind. The
// record keeps them in fixed arrays of slots: the slot's kind is in the array's kinds (0 for a
// free slot) and its value at the same index of the value arrays. The kind codes below are
// part of the file format: the helper writes them on load and reads them on submit.
//
// The fields named KeptN are carried unchanged between load and submit; their meaning lies
// with the helper.
#include <cstddef>
#include <span>
#include <vector>

#include "exchange/CxHelperProtocol.h"
#include "exchange/CxRecordLayout.h"

class CxFile;

// The contacts helper and its exchange files.
inline constexpr CxHelperFiles GGAddrFiles{"fw-google-contacts", "GAddr.dat",       "GAddrParam.dat",
                                           "GAddrErr.dat",       "GAddrStatus.dat", "GAddrData.ini"};

// The change mark and action of a record that the system added or changed.
constexpr int GGAddrChangeMarkSubmit = 2;
constexpr int GGAddrActionNew = 1;
constexpr int GGAddrActionChanged = 2;

// Slot kinds, per array; 0 marks a free slot.
enum GGEmailKind : int
{
    GGEmailHome = 1,
    GGEmailWork = 2,
    GGEmailOther = 3,
};
// Postal addresses use the e-mail kinds: 1 home, 2 work, 3 other.
enum GGAddressKind : int
{
    GGAddressHome = 1,
    GGAddressWork = 2,
    GGAddressOther = 3,
};
enum GGPhoneKind : int
{
    GGPhoneHome = 1,
    GGPhoneWork = 2,
    GGPhoneMobile = 3,
    GGPhoneHomeFax = 4,
    GGPhoneWorkFax = 5,
    GGPhonePager = 6,
    GGPhoneOther = 7,
};
enum GGWebSiteKind : int
{
    GGWebSiteHome = 1,
    GGWebSiteWork = 2,
    GGWebSiteHomePage = 3,
    GGWebSiteFtp = 4,
    GGWebSiteBlog = 5,
    GGWebSiteProfile = 6,
    GGWebSiteOther = 7,
};
enum GGIMKind : int
{
    GGIMGTalk = 1,
    GGIMAim = 2,
    GGIMYahoo = 3,
    GGIMSkype = 4,
    GGIMQQ = 5,
    GGIMMsn = 6,
    GGIMIcq = 7,
    GGIMJabber = 8,
};
enum GGDateKind : int
{
    GGDateBirthday = 1,
    GGDateAnniversary = 2,
    GGDateOther = 3,
};
enum GGRelationKind : int
{
    GGRelationSpouse = 1,
    GGRelationMother = 3,
    GGRelationFather = 4,
    GGRelationManager = 11,
    GGRelationAssistant = 12,
};

// Slot counts of the arrays.
constexpr int GGEmailSlots = 5;
constexpr int GGAddressSlots = 5;
constexpr int GGPhoneSlots = 10;
constexpr int GGWebSiteSlots = 10;
constexpr int GGIMSlots = 10;
constexpr int GGCustomSlots = 10;
constexpr int GGDateSlots = 5;
constexpr int GGRelationSlots = 20;

struct GGAddrRec
{
    int Kept1;
    int ChangeMark;
    int Action;
    char FirstName[64];
    char MiddleName[64];
    char LastName[64];
    char DisplayName[64];
    char NickName[64];
    char Company[64];
    char JobTitle[64];
    int EmailKinds[GGEmailSlots];
    char Emails[GGEmailSlots][64];
    char PrimaryEmail[64];
    int AddressKinds[GGAddressSlots];
    char FormattedAddresses[GGAddressSlots][256];
    char Cities[GGAddressSlots][32];
    char States[GGAddressSlots][16];
    char Countries[GGAddressSlots][16];
    char PostalCodes[GGAddressSlots][32];
    char Streets[GGAddressSlots][128];
    char POBoxes[GGAddressSlots][32];
    char Neighborhoods[GGAddressSlots][64];
    int PhoneKinds[GGPhoneSlots];
    char Phones[GGPhoneSlots][32];
    char PrimaryPhone[32];
    int WebSiteKinds[GGWebSiteSlots];
    char WebSites[GGWebSiteSlots][256];
    char PrimaryWebSite[256];
    int IMKinds[GGIMSlots];
    char IMs[GGIMSlots][64];
    char PrimaryIM[64];
    char CustomLabels[GGCustomSlots][64];
    char CustomFields[GGCustomSlots][64];
    int DateKinds[GGDateSlots];
    double Dates[GGDateSlots]; // OLE Automation dates
    int RelationKinds[GGRelationSlots];
    char Relations[GGRelationSlots][64];
    char Kept38[4096];
    char Note[10240];
    char Category[256];
    double CreationTime; // OLE Automation dates
    double LastModificationTime;
};

// One field of the layout, in file order: Count values of Kind, Stride bytes apart from
// Offset (a single value has Count 1).
using GGAddrValueKind = CxFieldKind;

struct GGAddrLayoutField
{
    const char* Name; // a plain identifier, usable as a column name
    GGAddrValueKind Kind;
    std::size_t Offset; // into GGAddrRec
    int Count;
    std::size_t Stride;
    int Capacity; // texts only
};

// The 42 fields of the record in file order.
std::span<const GGAddrLayoutField> GGAddrLayout();

// Reads one record into rec, which the caller has zeroed. Each text keeps what fits its
// capacity; a record cut short by the end of the file keeps zeros in the fields that are
// missing. False when the record was not there in full or held a damaged length (the record
// is still usable: it then holds what could be read).
bool LoadGGAddrRecord(CxFile& file, GGAddrRec& rec);
// Writes one record; false when a write failed. A text buffer without its terminator is
// written up to its capacity less one.
bool SaveGGAddrRecord(CxFile& file, const GGAddrRec& rec);

// Reads a whole record file that is open for reading: the count (a negative one reads as 0),
// then up to count records, stopping at the end of the file. records is replaced. False when
// the count is missing or any record was not read in full; the records read are kept either
// way.
bool LoadGGAddrRecordFile(CxFile& file, std::vector<GGAddrRec>& records);
// Writes the count and every record to a file open for writing; false when a write failed.
bool SaveGGAddrRecordFile(CxFile& file, std::span<const GGAddrRec> records);
