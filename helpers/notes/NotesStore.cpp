#include "notes/NotesStore.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>
#include <unistd.h>

#include "kit/SqliteFields.h"
#include "platform/KnownFolders.h"

namespace {

constexpr const char* kFormat = "notes-1";
// How long a write waits for another program's lock before it gives up.
constexpr int kBusyTimeoutMs = 2000;

// The identifier, change mark and action travel in the record file, not in the table.
bool IsColumn(const LNFieldDesc& field)
{
    return std::strcmp(field.Name, "ChangeMark") != 0 && std::strcmp(field.Name, "Action") != 0 &&
           std::strcmp(field.Name, "ItemID") != 0;
}

const LNFieldDesc* FindField(std::span<const LNFieldDesc> fields, const char* name)
{
    for (const LNFieldDesc& field : fields) {
        if (std::strcmp(field.Name, name) == 0) {
            return &field;
        }
    }
    return nullptr;
}

std::string ColumnList(std::span<const LNFieldDesc> fields)
{
    std::string list;
    for (const LNFieldDesc& field : fields) {
        if (IsColumn(field)) {
            list += ",\"";
            list += field.Name;
            list += '"';
        }
    }
    return list;
}

std::string TableSchema(const char* table, std::span<const LNFieldDesc> fields)
{
    std::string sql = "CREATE TABLE ";
    sql += table;
    sql += "(id INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const LNFieldDesc& field : fields) {
        if (!IsColumn(field)) {
            continue;
        }
        sql += ",\"";
        sql += field.Name;
        switch (field.Kind) {
        case LNFieldKind::Text:
            sql += "\" TEXT NOT NULL DEFAULT ''";
            break;
        case LNFieldKind::Date:
            sql += "\" REAL NOT NULL DEFAULT 0";
            break;
        default:
            sql += "\" INTEGER NOT NULL DEFAULT 0";
            break;
        }
    }
    sql += ");";
    return sql;
}

constexpr NotesItemKind kAllKinds[] = {NotesItemKind::Contacts, NotesItemKind::Calendar, NotesItemKind::Tasks,
                                       NotesItemKind::Notes};

} // namespace

NotesStore::~NotesStore()
{
    Close();
}

std::span<const LNFieldDesc> NotesStore::Fields(NotesItemKind kind)
{
    switch (kind) {
    case NotesItemKind::Contacts:
        return LNAddrFields();
    case NotesItemKind::Calendar:
        return LNDateFields();
    case NotesItemKind::Tasks:
        return LNTaskFields();
    case NotesItemKind::Notes:
        break;
    }
    return LNNoteFields();
}

const char* NotesStore::TableName(NotesItemKind kind)
{
    switch (kind) {
    case NotesItemKind::Contacts:
        return "contacts";
    case NotesItemKind::Calendar:
        return "calendar";
    case NotesItemKind::Tasks:
        return "tasks";
    case NotesItemKind::Notes:
        break;
    }
    return "notes";
}

std::string NotesStore::ItemIdFromRow(std::int64_t row)
{
    char text[40];
    std::snprintf(text, sizeof text, "%032" PRIX64, static_cast<std::uint64_t>(row));
    return text;
}

bool NotesStore::RowFromItemId(const char* id, std::int64_t* row)
{
    if (id == nullptr || std::strlen(id) != 32) {
        return false;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < 32; ++i) {
        char c = id[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1);
        if (digit < 0 || (i < 16 && digit != 0)) {
            return false;
        }
        value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    if (value == 0 || value > static_cast<std::uint64_t>(INT64_MAX)) {
        return false;
    }
    *row = static_cast<std::int64_t>(value);
    return true;
}

bool NotesStore::Create(const std::string& path, std::string& error)
{
    if (platform::FileExists(path) || platform::FolderExists(path)) {
        error = "Database " + path + " already exists.";
        return false;
    }
    // Built beside the final name and renamed into place, so that no half-made database is
    // ever found under it.
    std::string temp = path + ".tmp" + std::to_string(::getpid());
    std::remove(temp.c_str());
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::string sql = "BEGIN;CREATE TABLE ferrywise_store(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
                      "INSERT INTO ferrywise_store VALUES('format','";
    sql += kFormat;
    sql += "');";
    for (NotesItemKind kind : kAllKinds) {
        sql += TableSchema(TableName(kind), Fields(kind));
    }
    sql += "COMMIT;";
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        error =
            "Cannot create database " + path + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory");
    }
    if (sqlite3_close(db) != SQLITE_OK && rc == SQLITE_OK) {
        rc = SQLITE_ERROR;
        error = "Cannot create database " + path + ".";
    }
    if (rc == SQLITE_OK && std::rename(temp.c_str(), path.c_str()) != 0) {
        rc = SQLITE_ERROR;
        error = "Cannot create database " + path + ".";
    }
    if (rc != SQLITE_OK) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool NotesStore::Fail(std::string& error, const std::string& what)
{
    int code = m_db != nullptr ? sqlite3_errcode(m_db) & 0xff : SQLITE_ERROR;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        error = "Database " + m_path + " is locked by another program.";
    } else if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB) {
        error = "Database " + m_path + " is damaged or is not a Lotus Notes database.";
    } else {
        error = what + " (" + m_path + "): " + (m_db != nullptr ? sqlite3_errmsg(m_db) : "no database");
    }
    return false;
}

bool NotesStore::Open(const std::string& path, std::string& error)
{
    Close();
    m_path = path;
    if (!platform::FileExists(path)) {
        error = "Database " + path + " does not exist.";
        return false;
    }
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        Fail(error, "Cannot open database");
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_stmt* stmt = nullptr;
    bool ours = false;
    if (Prepare("SELECT value FROM ferrywise_store WHERE key='format'", &stmt, error)) {
        int rc = sqlite3_step(stmt);
        ours = rc == SQLITE_ROW &&
               std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)), kFormat) == 0;
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            Fail(error, "Cannot read database");
        } else if (!ours) {
            error = "Database " + path + " is not a Lotus Notes database of this version.";
        }
    } else {
        // Prepare failed: a damaged file, a lock, or a database without our tables.
        int code = sqlite3_errcode(m_db) & 0xff;
        if (code == SQLITE_ERROR) {
            error = "Database " + path + " is damaged or is not a Lotus Notes database.";
        }
    }
    sqlite3_finalize(stmt);
    if (!ours) {
        Close();
        return false;
    }
    return true;
}

void NotesStore::FinalizeAll()
{
    sqlite3_finalize(m_read);
    sqlite3_finalize(m_insert);
    sqlite3_finalize(m_update);
    m_read = m_insert = m_update = nullptr;
}

void NotesStore::Close()
{
    if (m_db == nullptr) {
        return;
    }
    if (m_inWrite || m_inRead) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    m_inWrite = m_inRead = false;
    FinalizeAll();
    sqlite3_close(m_db);
    m_db = nullptr;
}

bool NotesStore::Prepare(const std::string& sql, sqlite3_stmt** stmt, std::string& error)
{
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, stmt, nullptr) != SQLITE_OK) {
        *stmt = nullptr;
        return Fail(error, "Cannot prepare a database statement");
    }
    return true;
}

bool NotesStore::BeginRead(NotesItemKind kind, int* count, std::string& error)
{
    if (m_db == nullptr || m_inRead || m_inWrite) {
        error = "Database is not open for reading.";
        return false;
    }
    m_kind = kind;
    std::string table = TableName(kind);
    if (sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return Fail(error, "Cannot read database");
    }
    m_inRead = true;
    sqlite3_stmt* counter = nullptr;
    if (!Prepare("SELECT COUNT(*) FROM " + table, &counter, error)) {
        EndRead();
        return false;
    }
    bool ok = sqlite3_step(counter) == SQLITE_ROW;
    std::int64_t rows = ok ? sqlite3_column_int64(counter, 0) : 0;
    sqlite3_finalize(counter);
    if (!ok) {
        Fail(error, "Cannot read database");
        EndRead();
        return false;
    }
    if (rows > INT32_MAX) {
        error = "Database " + m_path + " holds more items than a record file can carry.";
        EndRead();
        return false;
    }
    *count = static_cast<int>(rows);
    sqlite3_finalize(m_read);
    if (!Prepare("SELECT id" + ColumnList(Fields(kind)) + " FROM " + table + " ORDER BY id", &m_read,
                 error)) {
        EndRead();
        return false;
    }
    return true;
}

bool NotesStore::Next(void* rec, std::string& error)
{
    if (m_read == nullptr) {
        return false;
    }
    int rc = sqlite3_step(m_read);
    if (rc == SQLITE_DONE) {
        return false;
    }
    if (rc != SQLITE_ROW) {
        return Fail(error, "Cannot read database");
    }
    auto* base = static_cast<unsigned char*>(rec);
    std::span<const LNFieldDesc> fields = Fields(m_kind);
    int column = 1;
    for (const LNFieldDesc& field : fields) {
        unsigned char* at = base + field.Offset;
        if (!IsColumn(field)) {
            if (field.Kind == LNFieldKind::Integer) {
                std::memset(at, 0, sizeof(int));
            }
            continue;
        }
        ReadLayoutField(m_read, column, field, rec);
        ++column;
    }
    if (const LNFieldDesc* id = FindField(fields, "ItemID")) {
        std::string text = ItemIdFromRow(sqlite3_column_int64(m_read, 0));
        std::snprintf(reinterpret_cast<char*>(base + id->Offset), static_cast<std::size_t>(id->Capacity),
                      "%s", text.c_str());
    }
    return true;
}

void NotesStore::EndRead()
{
    sqlite3_finalize(m_read);
    m_read = nullptr;
    if (m_inRead) {
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        m_inRead = false;
    }
}

bool NotesStore::BeginWrite(NotesItemKind kind, std::string& error)
{
    if (m_db == nullptr || m_inRead || m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    m_kind = kind;
    // Take the write lock at once, so that a lock held elsewhere fails before any work.
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return Fail(error, "Cannot write database");
    }
    m_inWrite = true;
    std::span<const LNFieldDesc> fields = Fields(kind);
    std::string table = TableName(kind);
    std::string columns = ColumnList(fields);
    std::string values;
    std::string assignments;
    int n = 0;
    for (const LNFieldDesc& field : fields) {
        if (IsColumn(field)) {
            values += n == 0 ? "?" : ",?";
            assignments += n == 0 ? "\"" : ",\"";
            assignments += field.Name;
            assignments += "\"=?" + std::to_string(n + 1);
            ++n;
        }
    }
    FinalizeAll();
    if (!Prepare("INSERT INTO " + table + "(" + columns.substr(1) + ") VALUES(" + values + ")", &m_insert,
                 error) ||
        !Prepare("UPDATE " + table + " SET " + assignments + " WHERE id=?" + std::to_string(n + 1), &m_update,
                 error)) {
        Rollback();
        return false;
    }
    return true;
}

void NotesStore::BindFields(sqlite3_stmt* stmt, const void* rec)
{
    int index = 1;
    for (const LNFieldDesc& field : Fields(m_kind)) {
        if (!IsColumn(field)) {
            continue;
        }
        BindLayoutField(stmt, index, field, rec);
        ++index;
    }
}

bool NotesStore::Insert(const void* rec, std::string* newId, std::string& error)
{
    if (!m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    sqlite3_reset(m_insert);
    BindFields(m_insert, rec);
    if (sqlite3_step(m_insert) != SQLITE_DONE) {
        return Fail(error, "Cannot add an item");
    }
    if (newId != nullptr) {
        *newId = ItemIdFromRow(sqlite3_last_insert_rowid(m_db));
    }
    return true;
}

bool NotesStore::Update(const void* rec, std::string& error)
{
    if (!m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    const LNFieldDesc* idField = FindField(Fields(m_kind), "ItemID");
    char id[64] = {};
    if (idField != nullptr) {
        const char* stored = static_cast<const char*>(rec) + idField->Offset;
        std::memcpy(id, stored, strnlen(stored, static_cast<std::size_t>(idField->Capacity - 1)));
    }
    std::int64_t row = 0;
    if (!RowFromItemId(id, &row)) {
        error = std::string("Unknown item identifier \"") + id + "\" in database " + m_path + ".";
        return false;
    }
    sqlite3_reset(m_update);
    BindFields(m_update, rec);
    sqlite3_bind_int64(m_update, sqlite3_bind_parameter_count(m_update), row);
    if (sqlite3_step(m_update) != SQLITE_DONE) {
        return Fail(error, "Cannot change an item");
    }
    if (sqlite3_changes(m_db) != 1) {
        error = std::string("Unknown item identifier \"") + id + "\" in database " + m_path + ".";
        return false;
    }
    return true;
}

bool NotesStore::CommitWrite(std::string& error)
{
    if (!m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    sqlite3_reset(m_insert);
    sqlite3_reset(m_update);
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail(error, "Cannot write database");
        Rollback();
        return false;
    }
    m_inWrite = false;
    return true;
}

void NotesStore::Rollback()
{
    if (m_inWrite) {
        sqlite3_reset(m_insert);
        sqlite3_reset(m_update);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_inWrite = false;
    }
}
