#pragma once
// The Google contact field table and the slot access built on it. The table holds the 91
// fields that the custom field mapping offers, each with its identifier, label, type and
// width; the identifiers (1..88, 90..92) are the values stored in the settings
// GGCustomID1..GGCustomID9. Each identifier names one field of GGAddrRec: a single field, or
// one kind of a slot array (e.g. 9 "Email(Work)" is the e-mail slot of kind 2).
//
// Plain functions on the record, so that a helper program fills its records the way the
// connector reads them.
#include <span>
#include <string>
#include <string_view>

#include "google/GGAddrRecord.h"

constexpr int GGAddrFieldTypeText = 1;
constexpr int GGAddrFieldTypeDate = 6;

// Identifiers of the table that code names. Each part of a postal address has three
// identifiers in a row, home, work and other (e.g. City: 15 home, 16 work, 17 other); the
// phones 36..42 and the web sites 44..50 follow their kinds 1..7, the IM addresses 52..59
// their kinds 1..8, the custom labels 61..70 and fields 71..80 their numbers 1..10.
enum GGAddrFieldId : int
{
    GGAddrFieldFirstName = 1,
    GGAddrFieldMiddleName = 2,
    GGAddrFieldLastName = 3,
    GGAddrFieldDisplayName = 4,
    GGAddrFieldNickName = 5,
    GGAddrFieldCompany = 6,
    GGAddrFieldJobTitle = 7,
    GGAddrFieldEmailHome = 8,
    GGAddrFieldEmailWork = 9,
    GGAddrFieldEmailOther = 10,
    GGAddrFieldEmailPrimary = 11,
    GGAddrFieldAddressHome = 12,
    GGAddrFieldCityHome = 15,
    GGAddrFieldStateHome = 18,
    GGAddrFieldCountryHome = 21,
    GGAddrFieldPostalHome = 24,
    GGAddrFieldStreetHome = 27,
    GGAddrFieldPOBoxHome = 30,
    GGAddrFieldNeighborhoodHome = 33,
    GGAddrFieldPhoneHome = 36, // kind 1; kind k is 35 + k
    GGAddrFieldPhonePrimary = 43,
    GGAddrFieldWebSiteHome = 44, // kind 1; kind k is 43 + k
    GGAddrFieldWebSitePrimary = 51,
    GGAddrFieldIMGTalk = 52, // kind 1; kind k is 51 + k
    GGAddrFieldIMMsn = 57,
    GGAddrFieldIMPrimary = 60,
    GGAddrFieldCustomLabel1 = 61,
    GGAddrFieldCustomField1 = 71,
    GGAddrFieldBirthday = 81,
    GGAddrFieldAnniversary = 82,
    GGAddrFieldDateOther = 83,
    GGAddrFieldSpouse = 84,
    GGAddrFieldMother = 85,
    GGAddrFieldFather = 86,
    GGAddrFieldManager = 87,
    GGAddrFieldAssistant = 88,
    GGAddrFieldNote = 90,
    GGAddrFieldCreationTime = 91,
    GGAddrFieldLastModificationTime = 92,
};
// The place of work and other after home among an address part's three identifiers.
constexpr int GGAddrFieldWorkOffset = 1;
constexpr int GGAddrFieldOtherOffset = 2;

struct GGAddrFieldInfo
{
    int Id;
    char Label[32];
    int Type;  // GGAddrFieldTypeText or GGAddrFieldTypeDate
    int Width; // capacity of the native field; 8 for dates
};

// All 91 entries in identifier order.
std::span<const GGAddrFieldInfo> GGAddrFieldTable();
// The entry of an identifier; null when there is none (0, 89, beyond 92).
const GGAddrFieldInfo* FindGGAddrField(int id);

// The slot of an identifier's array whose kind is the identifier's kind; else, with create,
// the first free slot (kind 0), which then takes the kind; else -1. -1 as well for an
// identifier that is no slot field, and for a full array (every slot taken by other kinds).
int GGAddrFindSlot(GGAddrRec& rec, int id, bool create);
// The same without creating.
int GGAddrFindSlot(const GGAddrRec& rec, int id);

// A field's storage: Text for text fields, Date for dates, the other null; both null when
// the identifier is not in the table or its slot array is full. Width is the table entry's.
struct GGAddrFieldRef
{
    char* Text;
    double* Date;
    int Width;
};
// Any identifier of the table: single fields directly, slot fields through GGAddrFindSlot
// with create set (so a slot of the kind is made when there is room).
GGAddrFieldRef GGAddrFieldPtr(GGAddrRec& rec, int id);

// The text of a text field of the table wider than one character, without creating slots
// (a kind that has no slot gives an empty text). False for identifiers that are no such
// field (dates, identifiers outside the table).
bool GGAddrTextField(const GGAddrRec& rec, int id, std::string_view* text);

// The field as text for display, without creating slots: texts as they are, the three slot
// dates as "MM/DD/YYYY", the creation and modification times as "MM/DD/YYYY HH:MM:SS"; an
// empty text when there is nothing (no slot, a date of 0, an identifier outside the table).
std::string GGAddrFieldText(const GGAddrRec& rec, int id);
