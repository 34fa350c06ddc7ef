#pragma once
// Whole classic Palm Desktop databases for the wizard and command-line tests, built with the byte writer of
// the reader tests: a header with one category besides "Unfiled", the database's schema and the records
// given. WriteClassicUser lays out a user folder as Palm Desktop keeps it.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "palm/PalmFileWriter.h"

namespace fwtest {

struct ClassicContact
{
    std::string lastName;
    std::string firstName;
    std::string company;
    std::string workPhone;
    std::string email;
    std::string note;
};

struct ClassicEvent
{
    std::int32_t start = 0; // seconds since 1970-01-01 UTC
    std::int32_t end = 0;
    std::string description;
    bool untimed = false; // an all-day event
};

struct ClassicTodo
{
    std::string description;
    std::int32_t due = -1;
    std::int32_t priority = 1;
    bool completed = false;
};

struct ClassicMemo
{
    std::string text;
};

namespace classic {

constexpr std::uint32_t kAddressTag = 0x41420100;
constexpr std::uint32_t kDatebookTag = 0x44420100;
constexpr std::uint32_t kMemoTag = 0x4D500100;
constexpr std::uint32_t kTodoTag = 0x54440100;
constexpr std::int32_t kBusiness = 1; // the category every record is filed under

inline PalmFileWriter Header(std::uint32_t tag, const std::string& fileName, std::int32_t resourceId,
                             std::vector<std::uint16_t> fieldTypes, std::size_t records)
{
    PalmFileWriter w;
    w.UInt32(tag).CString("C:\\Palm\\User\\" + fileName).CString("");
    w.CategoryBlock(129, {{1, kBusiness, 0, "Business", "Business"}});
    PalmSchema schema;
    schema.resourceId = resourceId;
    schema.fieldsPerRow = static_cast<std::int32_t>(fieldTypes.size());
    schema.fieldTypes = std::move(fieldTypes);
    w.SchemaBlock(schema);
    w.UInt32(static_cast<std::uint32_t>(records * schema.fieldTypes.size()));
    return w;
}

} // namespace classic

inline std::string ClassicAddressFile(const std::vector<ClassicContact>& contacts)
{
    PalmFileWriter w = classic::Header(
        classic::kAddressTag, "address.dat", 74,
        {1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5, 1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1},
        contacts.size());
    std::int32_t id = 0;
    for (const ClassicContact& c : contacts) {
        ++id;
        w.IntField(id).IntField(0).IntField(id); // record ID, status, placement
        w.StringField(c.lastName).StringField(c.firstName).StringField("").StringField(c.company);
        w.IntField(0).StringField(c.workPhone).IntField(4).StringField(c.email);
        for (std::int32_t label : {1, 2, 7}) {
            w.IntField(label).StringField("");
        }
        for (int i = 0; i < 5; ++i) { // street, city, state, zip code, country
            w.StringField("");
        }
        w.StringField(c.note).BoolField(false).IntField(classic::kBusiness);
        for (int i = 0; i < 4; ++i) {
            w.StringField("");
        }
        w.IntField(0);
    }
    return w.Data();
}

inline std::string ClassicDatebookFile(const std::vector<ClassicEvent>& events)
{
    PalmFileWriter w = classic::Header(classic::kDatebookTag, "datebook.dat", 54,
                                       {1, 1, 1, 3, 1, 5, 1, 5, 6, 6, 1, 6, 1, 1, 8}, events.size());
    std::int32_t id = 0;
    for (const ClassicEvent& e : events) {
        ++id;
        w.IntField(id).IntField(0).IntField(id); // record ID, status, placement
        w.DateField(e.start).DateField(e.end).StringField(e.description).IntField(0).StringField("");
        w.BoolField(e.untimed).BoolField(false).IntField(classic::kBusiness);
        w.BoolField(false).IntField(0).IntField(0).RepeatField(PmRepeat{});
    }
    return w.Data();
}

inline std::string ClassicTodoFile(const std::vector<ClassicTodo>& todos)
{
    PalmFileWriter w =
        classic::Header(classic::kTodoTag, "todo.dat", 44, {1, 1, 1, 5, 3, 6, 1, 6, 1, 5}, todos.size());
    std::int32_t id = 0;
    for (const ClassicTodo& t : todos) {
        ++id;
        w.IntField(id).IntField(0).IntField(id); // record ID, status, placement
        w.StringField(t.description).DateField(t.due).BoolField(t.completed).IntField(t.priority);
        w.BoolField(false).IntField(classic::kBusiness).StringField("");
    }
    return w.Data();
}

inline std::string ClassicMemoFile(const std::vector<ClassicMemo>& memos)
{
    PalmFileWriter w =
        classic::Header(classic::kMemoTag, "memopad.dat", 64, {1, 1, 1, 5, 6, 1}, memos.size());
    std::int32_t id = 0;
    for (const ClassicMemo& m : memos) {
        ++id;
        w.IntField(id).IntField(0).IntField(id); // record ID, status, placement
        w.StringField(m.text).BoolField(false).IntField(classic::kBusiness);
    }
    return w.Data();
}

// Writes a file, making its folders; false when it cannot be written.
inline bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    PalmFileWriter w;
    w.Bytes(bytes);
    return w.WriteFile(path);
}

// A classic user folder below the Palm Desktop folder: one database per sub-folder, in the
// letter case Palm Desktop uses.
inline bool WriteClassicUser(const std::string& desktopFolder, const std::string& user,
                             const std::vector<ClassicContact>& contacts,
                             const std::vector<ClassicEvent>& events, const std::vector<ClassicTodo>& todos,
                             const std::vector<ClassicMemo>& memos)
{
    const std::string folder = desktopFolder + "/" + user + "/";
    return WriteBytes(folder + "address/address.dat", ClassicAddressFile(contacts)) &&
           WriteBytes(folder + "datebook/datebook.dat", ClassicDatebookFile(events)) &&
           WriteBytes(folder + "todo/todo.dat", ClassicTodoFile(todos)) &&
           WriteBytes(folder + "memopad/memopad.dat", ClassicMemoFile(memos));
}

} // namespace fwtest
