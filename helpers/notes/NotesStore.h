#pragma once
// The local Lotus Notes database of the stand-in helpers: one SQLite file holding a table
// per kind of item (contacts, calendar, tasks, notes). Each table has a column for every
// field of the kind's record layout, so fields the connector only carries come back as
// they were submitted. An item's identifier is made by the store from its row number and
// never reused; items load in the order in which they were added.
#include <cstdint>
#include <span>
#include <string>

#include "lotus/LNRecords.h"

struct sqlite3;
struct sqlite3_stmt;

enum class NotesItemKind
{
    Contacts,
    Calendar,
    Tasks,
    Notes
};

class NotesStore
{
public:
    NotesStore() = default;
    ~NotesStore();
    NotesStore(const NotesStore&) = delete;
    NotesStore& operator=(const NotesStore&) = delete;

    // Makes a new, empty database file with every table. Refuses (false) a path that exists:
    // an existing database is never replaced.
    static bool Create(const std::string& path, std::string& error);

    // Opens an existing database. A missing file is "Database <path> does not exist."; a file
    // that is not one of our databases, or is damaged, is refused as well.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }

    // Reading: BeginRead takes a consistent view of one table and gives its item count; each
    // Next fills rec (a record of the kind's layout) with the next item, change mark and
    // action 0, and gives false at the end or on a failure (then error is set).
    bool BeginRead(NotesItemKind kind, int* count, std::string& error);
    bool Next(void* rec, std::string& error);
    void EndRead();

    // Writing: everything between BeginWrite and CommitWrite is one transaction; Rollback
    // (or closing without CommitWrite) leaves the database as it was.
    bool BeginWrite(NotesItemKind kind, std::string& error);
    // A new item from rec; its identifier field is ignored. newId gets the new identifier.
    bool Insert(const void* rec, std::string* newId, std::string& error);
    // Replaces every field of the item named by rec's identifier; an identifier that names
    // no item of the table is an error.
    bool Update(const void* rec, std::string& error);
    bool CommitWrite(std::string& error);
    void Rollback();

    // Identifier text of a row number and back (false for anything we did not make).
    static std::string ItemIdFromRow(std::int64_t row);
    static bool RowFromItemId(const char* id, std::int64_t* row);

    static std::span<const LNFieldDesc> Fields(NotesItemKind kind);
    static const char* TableName(NotesItemKind kind);

private:
    bool Fail(std::string& error, const std::string& what);
    bool Prepare(const std::string& sql, sqlite3_stmt** stmt, std::string& error);
    void BindFields(sqlite3_stmt* stmt, const void* rec);
    void FinalizeAll();

    sqlite3* m_db = nullptr;
    std::string m_path;
    NotesItemKind m_kind = NotesItemKind::Contacts;
    sqlite3_stmt* m_read = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_update = nullptr;
    bool m_inRead = false;
    bool m_inWrite = false;
};
