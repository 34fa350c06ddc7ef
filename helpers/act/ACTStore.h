#pragma once
// The stand-in ACT! database of the helpers and of `ferrywise-cli act import`: one SQLite
// file with a table per kind of item (contacts, calendar events, to-dos and opportunities,
// notes) and the database's users. Each item table has a column for every field of the
// kind's record layout (ACT/ACTRecords.h), so fields the connector only carries come back as
// they were submitted. An item's identifier is made from its row number and never reused;
// items load in the order in which they were added.
//
// Users log in with a name (matched without regard to case) and a password, kept as a
// salted SHA-256 hash, never as the text. A database without users takes any login.
//
// The database is found through a .pad file: a profile file whose [Database] Path names the
// database file, relative to the .pad's folder unless absolute.
#include <cstdint>
#include <span>
#include <string>

#include "ACT/ACTRecords.h"

struct sqlite3;
struct sqlite3_stmt;

enum class ACTItemKind
{
    Contacts,
    Calendar,
    Tasks,
    Notes
};

// What a load of the tasks includes besides the to-dos.
struct ACTReadOptions
{
    bool opportunities = false;    // opportunities as well as to-dos
    bool opportunityNotes = false; // an opportunity's notes after its details
};

class ACTStore
{
public:
    ACTStore() = default;
    ~ACTStore();
    ACTStore(const ACTStore&) = delete;
    ACTStore& operator=(const ACTStore&) = delete;

    // Makes a new, empty database file with every table. Refuses a path that exists.
    static bool Create(const std::string& path, std::string& error);

    // The .pad file: the database it names, and writing one (through a temporary file).
    static bool ResolvePad(const std::string& padPath, std::string& databasePath, std::string& error);
    static bool WritePad(const std::string& padPath, const std::string& databaseName, std::string& error);

    // Opens an existing database; a missing file, or one that is not an ACT! database of
    // ours, is refused with a reason.
    bool Open(const std::string& path, std::string& error);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    const std::string& Path() const { return m_path; }

    // Users: true when the database has any; Login checks a name and password (false with a
    // reason for an unknown name or a wrong password); AddUser registers a new one.
    bool HasUsers(std::string& error);
    bool Login(const std::string& user, const std::string& password, std::string& error);
    bool AddUser(const std::string& user, const std::string& password, std::string& error);

    // Reading: a consistent view of one table; each Next fills rec (a zeroed record of the
    // kind's layout) with the next item, change mark and action 0; false at the end or on a
    // failure (then error is set).
    bool BeginRead(ACTItemKind kind, const ACTReadOptions& options, int* count, std::string& error);
    bool Next(void* rec, std::string& error);
    void EndRead();

    // Writing: everything between BeginWrite and CommitWrite is one transaction; Rollback,
    // or closing without CommitWrite, leaves the database as it was.
    bool BeginWrite(ACTItemKind kind, std::string& error);
    // A new item from rec, its identifier ignored; a task added so is a to-do.
    bool Insert(const void* rec, std::string* newId, std::string& error);
    // Replaces the fields of the item that rec's identifier names; an unknown identifier is
    // an error. An opportunity's notes, when a load put them after its details, are taken
    // off again.
    bool Update(const void* rec, std::string& error);
    bool CommitWrite(std::string& error);
    void Rollback();

    // Marks a task of the table an opportunity, with its notes (for tests and imports).
    bool MarkOpportunity(const std::string& id, const std::string& notes, std::string& error);

    static std::span<const CxLayoutField> Fields(ACTItemKind kind);
    static const char* TableName(ACTItemKind kind);
    static std::size_t RecordSize(ACTItemKind kind);
    static std::string ItemIdFromRow(std::int64_t row);
    static bool RowFromItemId(const char* id, std::int64_t* row);

    // What separates an opportunity's details from its notes in a loaded record.
    static constexpr char kNotesSeparator[] = "\r\n\r\nNotes:\r\n";

private:
    bool Fail(std::string& error, const std::string& what);
    bool Prepare(const std::string& sql, sqlite3_stmt** stmt, std::string& error);
    void BindFields(sqlite3_stmt* stmt, const void* rec);
    void FinalizeAll();

    sqlite3* m_db = nullptr;
    std::string m_path;
    ACTItemKind m_kind = ACTItemKind::Contacts;
    ACTReadOptions m_options;
    sqlite3_stmt* m_read = nullptr;
    sqlite3_stmt* m_insert = nullptr;
    sqlite3_stmt* m_update = nullptr;
    bool m_inRead = false;
    bool m_inWrite = false;
};
