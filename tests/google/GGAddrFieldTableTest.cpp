// The Google contact field table and the slot access on a native record: FindSlot, FieldPtr
// and FieldText.
#include "google/GGAddrFieldTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ExpectedLabels()
{
    std::vector<std::string> labels = {
        "First Name",
        "Middle Name",
        "Last Name",
        "Display Name",
        "Nick Name",
        "Company Name",
        "Job Title",
        "Email(Home)",
        "Email(Work)",
        "Email(Other)",
        "Email(Primary)",
        "Address(Home)",
        "Address(Work)",
        "Address(Other)",
        "City(Home)",
        "City(Work)",
        "City(Other)",
        "State(Home)",
        "State(Work)",
        "State(Other)",
        "Country(Home)",
        "Country(Work)",
        "Country(Other)",
        "Postal(Home)",
        "Postal(Work)",
        "Postal(Other)",
        "Street(Home)",
        "Street(Work)",
        "Street(Other)",
        "P.O.Box(Home)",
        "P.O.Box(Work)",
        "P.O.Box(Other)",
        "Neighborhood(Home)",
        "Neighborhood(Work)",
        "Neighborhood(Other)",
        "Phone(Home)",
        "Phone(Work)",
        "Phone(Mobile)",
        "Fax(Home)",
        "Fax(Work)",
        "Pager",
        "Phone(Other)",
        "Phone(Primary)",
        "Web Site(Home)",
        "Web Site(Work)",
        "Home Page",
        "FTP",
        "Blog",
        "Profile",
        "Web Site(Other)",
        "Web Site(Primary)",
        "IM(GTalk)",
        "IM(AIM)",
        "IM(Yahoo)",
        "IM(Skype)",
        "IM(QQ)",
        "IM(MSN)",
        "IM(ICQ)",
        "IM(Jabber)",
        "IM(Primary)",
    };
    for (int i = 1; i <= 10; ++i) {
        labels.push_back("Custom Label " + std::to_string(i));
    }
    for (int i = 1; i <= 10; ++i) {
        labels.push_back("Custom Field " + std::to_string(i));
    }
    for (const char* label : {"Birthday", "Anniversary", "Date(Other)", "Spouse", "Mother", "Father",
                              "Manager", "Assistant", "Note", "Creation Time", "Last Modification Time"}) {
        labels.push_back(label);
    }
    return labels;
}

TEST(GGAddrFieldTableTest, HoldsTheNinetyOneFieldsInIdentifierOrder)
{
    const auto table = GGAddrFieldTable();
    const std::vector<std::string> labels = ExpectedLabels();
    ASSERT_EQ(table.size(), 91u);
    ASSERT_EQ(labels.size(), 91u);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const int id = i < 88 ? static_cast<int>(i) + 1 : static_cast<int>(i) + 2; // no 89
        SCOPED_TRACE(id);
        EXPECT_EQ(table[i].Id, id);
        EXPECT_EQ(table[i].Label, labels[i]);
        EXPECT_EQ(FindGGAddrField(id), &table[i]);
        const bool date = (id >= 81 && id <= 83) || id == 91 || id == 92;
        EXPECT_EQ(table[i].Type, date ? GGAddrFieldTypeDate : GGAddrFieldTypeText);
    }
    for (int id : {0, -1, 89, 93, 1000}) {
        EXPECT_EQ(FindGGAddrField(id), nullptr) << id;
    }
}

TEST(GGAddrFieldTableTest, WidthsAreTheCapacitiesOfTheRecord)
{
    struct Case
    {
        int id;
        int width;
    };
    const Case cases[] = {
        {1, 64},   {7, 64},  {8, 64},  {11, 64}, {12, 256}, {15, 32},  {18, 16},    {21, 16}, {24, 32},
        {27, 128}, {30, 32}, {33, 64}, {36, 32}, {43, 32},  {44, 256}, {51, 256},   {52, 64}, {60, 64},
        {61, 64},  {80, 64}, {81, 8},  {83, 8},  {84, 64},  {88, 64},  {90, 10240}, {91, 8},  {92, 8},
    };
    for (const Case& c : cases) {
        ASSERT_NE(FindGGAddrField(c.id), nullptr) << c.id;
        EXPECT_EQ(FindGGAddrField(c.id)->Width, c.width) << c.id;
    }
}

// Which array and kind each slot identifier stands for: writing through FieldPtr on an empty
// record makes exactly one slot, of that kind, in that array.
TEST(GGAddrSlotTest, EachSlotIdentifierMakesItsKindInItsArray)
{
    struct Case
    {
        int first, last;        // identifiers, in kind order
        std::vector<int> kinds; // their kinds
        std::size_t array;      // offset of the kinds
    };
    const Case cases[] = {
        {8, 10, {1, 2, 3}, offsetof(GGAddrRec, EmailKinds)},
        {12, 14, {1, 2, 3}, offsetof(GGAddrRec, AddressKinds)},
        {15, 17, {1, 2, 3}, offsetof(GGAddrRec, AddressKinds)},
        {33, 35, {1, 2, 3}, offsetof(GGAddrRec, AddressKinds)},
        {36, 42, {1, 2, 3, 4, 5, 6, 7}, offsetof(GGAddrRec, PhoneKinds)},
        {44, 50, {1, 2, 3, 4, 5, 6, 7}, offsetof(GGAddrRec, WebSiteKinds)},
        {52, 59, {1, 2, 3, 4, 5, 6, 7, 8}, offsetof(GGAddrRec, IMKinds)},
        {81, 83, {1, 2, 3}, offsetof(GGAddrRec, DateKinds)},
        {84, 88, {1, 3, 4, 11, 12}, offsetof(GGAddrRec, RelationKinds)},
    };
    for (const Case& c : cases) {
        for (int id = c.first; id <= c.last; ++id) {
            SCOPED_TRACE(id);
            auto rec = std::make_unique<GGAddrRec>();
            const GGAddrFieldRef ref = GGAddrFieldPtr(*rec, id);
            ASSERT_TRUE(ref.Text != nullptr || ref.Date != nullptr);
            const int* kinds =
                reinterpret_cast<const int*>(reinterpret_cast<const char*>(rec.get()) + c.array);
            EXPECT_EQ(kinds[0], c.kinds[static_cast<std::size_t>(id - c.first)]);
            EXPECT_EQ(kinds[1], 0);
            EXPECT_EQ(GGAddrFindSlot(*rec, id), 0);
        }
    }
}

TEST(GGAddrSlotTest, FindSlotTakesTheFirstOfItsKindElseTheFirstFree)
{
    struct Case
    {
        const char* name;
        std::vector<int> phoneKinds; // slots 1..10, the rest free
        int id;
        bool create;
        int slot;                    // the answer
        std::vector<int> afterKinds; // the kinds then
    };
    const Case cases[] = {
        {"found", {1, 3}, 38, false, 1, {1, 3}},
        {"first of two of the kind", {3, 3, 1}, 38, false, 0, {3, 3, 1}},
        {"found, create changes nothing", {1, 3}, 38, true, 1, {1, 3}},
        {"missing, no create", {1, 2}, 38, false, -1, {1, 2}},
        {"missing, created in the first free slot", {1, 0, 2}, 38, true, 1, {1, 3, 2}},
        {"empty record", {}, 42, true, 0, {7}},
        {"full array", {1, 2, 4, 5, 6, 7, 1, 2, 4, 5}, 38, true, -1, {1, 2, 4, 5, 6, 7, 1, 2, 4, 5}},
        {"full array, the kind there",
         {1, 2, 4, 5, 6, 7, 1, 2, 3, 5},
         38,
         true,
         8,
         {1, 2, 4, 5, 6, 7, 1, 2, 3, 5}},
        {"a kind from elsewhere is not free", {9, -1}, 36, true, 2, {9, -1, 1}},
        {"no slot field: primary phone", {1}, 43, true, -1, {1}},
        {"no slot field: first name", {}, 1, true, -1, {}},
        {"outside the table", {}, 89, true, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto rec = std::make_unique<GGAddrRec>();
        for (std::size_t i = 0; i < c.phoneKinds.size(); ++i) {
            rec->PhoneKinds[i] = c.phoneKinds[i];
        }
        EXPECT_EQ(GGAddrFindSlot(*rec, c.id, c.create), c.slot);
        std::vector<int> after(std::begin(rec->PhoneKinds), std::end(rec->PhoneKinds));
        std::vector<int> expected = c.afterKinds;
        expected.resize(GGPhoneSlots, 0);
        EXPECT_EQ(after, expected);
    }
}

TEST(GGAddrSlotTest, FieldPtrGivesTheStorageOfAnyField)
{
    auto rec = std::make_unique<GGAddrRec>();
    rec->EmailKinds[0] = GGEmailOther;
    struct Case
    {
        int id;
        const void* text;
        const void* date;
        int width;
    };
    const Case cases[] = {
        {1, rec->FirstName, nullptr, 64},
        {11, rec->PrimaryEmail, nullptr, 64},
        {10, rec->Emails[0], nullptr, 64},   // found
        {9, rec->Emails[1], nullptr, 64},    // made
        {16, rec->Cities[0], nullptr, 32},   // address of kind 2, made
        {28, rec->Streets[0], nullptr, 128}, // the same slot
        {62, rec->CustomLabels[1], nullptr, 64},
        {80, rec->CustomFields[9], nullptr, 64},
        {82, nullptr, &rec->Dates[0], 8},
        {88, rec->Relations[0], nullptr, 64},
        {90, rec->Note, nullptr, 10240},
        {92, nullptr, &rec->LastModificationTime, 8},
        {89, nullptr, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const GGAddrFieldRef ref = GGAddrFieldPtr(*rec, c.id);
        EXPECT_EQ(static_cast<const void*>(ref.Text), c.text);
        EXPECT_EQ(static_cast<const void*>(ref.Date), c.date);
        EXPECT_EQ(ref.Width, c.width);
    }
    EXPECT_EQ(rec->EmailKinds[1], GGEmailWork);
    EXPECT_EQ(rec->AddressKinds[0], GGAddressWork);
    EXPECT_EQ(rec->AddressKinds[1], 0);
    EXPECT_EQ(rec->RelationKinds[0], GGRelationAssistant);

    // A full array gives no storage, and its width still.
    for (int& kind : rec->DateKinds) {
        kind = GGDateOther;
    }
    const GGAddrFieldRef full = GGAddrFieldPtr(*rec, 81);
    EXPECT_EQ(full.Date, nullptr);
    EXPECT_EQ(full.Text, nullptr);
    EXPECT_EQ(full.Width, 8);
}

TEST(GGAddrSlotTest, FieldTextShowsFieldsWithoutMakingSlots)
{
    auto rec = std::make_unique<GGAddrRec>();
    std::strcpy(rec->FirstName, "Grace");
    rec->PhoneKinds[0] = GGPhoneMobile;
    std::strcpy(rec->Phones[0], "+1 555 0100");
    rec->DateKinds[2] = GGDateBirthday;
    rec->Dates[2] = 41334.0; // 1 March 2013
    rec->DateKinds[3] = GGDateOther;
    rec->Dates[3] = 0;
    rec->CreationTime = 41334.75;
    std::memset(rec->Relations[0], 'r', sizeof rec->Relations[0]); // no terminator
    rec->RelationKinds[0] = GGRelationMother;
    struct Case
    {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {1, "Grace"},
        {2, ""},
        {38, "+1 555 0100"},
        {36, ""}, // no home phone slot
        {81, "03/01/2013"},
        {82, ""}, // no anniversary slot
        {83, ""}, // a date of 0
        {91, "03/01/2013 18:00:00"},
        {92, ""},
        {89, ""},
        {0, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GGAddrFieldText(*rec, c.id), c.text) << c.id;
    }
    EXPECT_EQ(GGAddrFieldText(*rec, 85), std::string(64, 'r'));
    EXPECT_EQ(rec->PhoneKinds[1], 0);
    EXPECT_EQ(rec->DateKinds[0], 0);
    EXPECT_EQ(rec->DateKinds[1], 0);
}

} // namespace
