// The typed visits: a data type reaches its own record type, and a record reference gives back
// the record it points at, with its type, or the fallback when it points at none.
#include "misc/CxStoreVisit.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

namespace {

// Which record type a visit was handed, by name.
template <class Rec> std::string RecordName()
{
    if constexpr (std::is_same_v<Rec, CommAddrRec>) {
        return "contact";
    } else if constexpr (std::is_same_v<Rec, CommDateRec>) {
        return "entry";
    } else if constexpr (std::is_same_v<Rec, CommTaskRec>) {
        return "task";
    } else {
        return "note";
    }
}

TEST(CxStoreVisit, EachDataTypeVisitsItsOwnRecordType)
{
    struct Case
    {
        DataType type;
        const char* record;
    };
    const Case cases[] = {
        {kDataContacts, "contact"}, {kDataCalendar, "entry"}, {kDataTasks, "task"}, {kDataNotes, "note"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.record);
        const std::string visited = VisitDataType(
            c.type,
            [&](auto recordType) {
                using Rec = typename decltype(recordType)::Record;
                EXPECT_EQ(CommStoreOfRec<Rec>::kType, c.type);
                return RecordName<Rec>();
            },
            [] { return std::string("fallback"); });
        EXPECT_EQ(visited, c.record);
    }
    EXPECT_EQ(VisitDataType(
                  static_cast<DataType>(kDataTypeCount), [](auto) { return std::string("visited"); },
                  [] { return std::string("fallback"); }),
              "fallback");
}

TEST(CxStoreVisit, RecordReferenceGivesBackItsRecord)
{
    CommAddrRec contact{};
    CommDateRec entry{};
    CommTaskRec task{};
    CommNoteRec note{};
    struct Case
    {
        CommRecordPtr record;
        void* address;
        DataType type;
        const char* name;
    };
    const Case cases[] = {
        {&contact, &contact, kDataContacts, "contact"},
        {&entry, &entry, kDataCalendar, "entry"},
        {&task, &task, kDataTasks, "task"},
        {&note, &note, kDataNotes, "note"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RecordAddress(c.record), c.address);
        EXPECT_EQ(RecordDataType(c.record), c.type);
        const std::string visited = VisitRecord(
            c.record,
            [&](auto& record) {
                EXPECT_EQ(static_cast<void*>(&record), c.address);
                return RecordName<std::remove_cvref_t<decltype(record)>>();
            },
            [] { return std::string("fallback"); });
        EXPECT_EQ(visited, c.name);
    }
}

TEST(CxStoreVisit, NoRecordGivesTheFallback)
{
    // None, and a typed null pointer, point at no record.
    const CommRecordPtr none[] = {CommRecordPtr(), static_cast<CommDateRec*>(nullptr)};
    for (const CommRecordPtr& record : none) {
        EXPECT_EQ(RecordAddress(record), nullptr);
        EXPECT_FALSE(RecordDataType(record).has_value());
        bool visited = false;
        const int status = VisitRecord(
            record,
            [&](auto& r) {
                visited = true;
                return static_cast<int>(r.Status);
            },
            [] { return -1; });
        EXPECT_FALSE(visited);
        EXPECT_EQ(status, -1);
    }
}

} // namespace
