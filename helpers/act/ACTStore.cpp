#include "act/ACTStore.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <random>
#include <sqlite3.h>
#include <unistd.h>

#include "kit/SqliteFields.h"
#include "misc/Sha256.h"
#include "platform/KnownFolders.h"
#include "platform/Profile.h"

namespace {

constexpr const char* kFormat = "act-1";
constexpr int kBusyTimeoutMs = 2000;
constexpr const char kPadSection[] = "Database";
constexpr const char kPadKey[] = "Path";

const char* IdFieldName(ACTItemKind kind)
{
    return kind == ACTItemKind::Contacts ? "RecordID" : "ItemID";
}

// The identifier, change mark and action travel in the record file, not in the table.
bool IsColumn(ACTItemKind kind, const CxLayoutField& field)
{
    return std::strcmp(field.Name, "ChangeMark") != 0 && std::strcmp(field.Name, "Action") != 0 &&
           std::strcmp(field.Name, IdFieldName(kind)) != 0;
}

const CxLayoutField* FindField(std::span<const CxLayoutField> fields, const char* name)
{
    for (const CxLayoutField& field : fields) {
        if (std::strcmp(field.Name, name) == 0) {
            return &field;
        }
    }
    return nullptr;
}

std::string ColumnList(ACTItemKind kind)
{
    std::string list;
    for (const CxLayoutField& field : ACTStore::Fields(kind)) {
        if (IsColumn(kind, field)) {
            list += ",\"";
            list += field.Name;
            list += '"';
        }
    }
    return list;
}

std::string TableSchema(ACTItemKind kind)
{
    std::string sql = "CREATE TABLE ";
    sql += ACTStore::TableName(kind);
    sql += "(id INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const CxLayoutField& field : ACTStore::Fields(kind)) {
        if (!IsColumn(kind, field)) {
            continue;
        }
        sql += ",\"";
        sql += field.Name;
        switch (field.Kind) {
        case CxFieldKind::Text:
            sql += "\" TEXT NOT NULL DEFAULT ''";
            break;
        case CxFieldKind::Date:
            sql += "\" REAL NOT NULL DEFAULT 0";
            break;
        default:
            sql += "\" INTEGER NOT NULL DEFAULT 0";
            break;
        }
    }
    if (kind == ACTItemKind::Tasks) {
        // How the database tells opportunities from to-dos, and an opportunity's notes.
        sql += ",Opportunity INTEGER NOT NULL DEFAULT 0,OpportunityNotes TEXT NOT NULL DEFAULT ''";
    }
    sql += ");";
    return sql;
}

constexpr ACTItemKind kAllKinds[] = {ACTItemKind::Contacts, ACTItemKind::Calendar, ACTItemKind::Tasks,
                                     ACTItemKind::Notes};

std::string RandomSalt()
{
    std::random_device device;
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string salt;
    for (int i = 0; i < 4; ++i) {
        std::uint32_t value = device();
        for (int j = 0; j < 8; ++j) {
            salt += kDigits[value & 15];
            value >>= 4;
        }
    }
    return salt;
}

std::string PasswordHash(const std::string& salt, const std::string& password)
{
    return Sha256Hex(salt + password);
}

// Compares two hashes in time that does not depend on where they differ.
bool SameHash(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    unsigned char diff = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return diff == 0;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace

ACTStore::~ACTStore()
{
    Close();
}

std::span<const CxLayoutField> ACTStore::Fields(ACTItemKind kind)
{
    switch (kind) {
    case ACTItemKind::Contacts:
        return ACTAddrFields();
    case ACTItemKind::Calendar:
        return ACTDateFields();
    case ACTItemKind::Tasks:
        return ACTTaskFields();
    case ACTItemKind::Notes:
        break;
    }
    return ACTNoteFields();
}

const char* ACTStore::TableName(ACTItemKind kind)
{
    switch (kind) {
    case ACTItemKind::Contacts:
        return "contacts";
    case ACTItemKind::Calendar:
        return "calendar";
    case ACTItemKind::Tasks:
        return "tasks";
    case ACTItemKind::Notes:
        break;
    }
    return "notes";
}

std::size_t ACTStore::RecordSize(ACTItemKind kind)
{
    switch (kind) {
    case ACTItemKind::Contacts:
        return sizeof(ACTAddrRec);
    case ACTItemKind::Calendar:
        return sizeof(ACTDateRec);
    case ACTItemKind::Tasks:
        return sizeof(ACTTaskRec);
    case ACTItemKind::Notes:
        break;
    }
    return sizeof(ACTNoteRec);
}

std::string ACTStore::ItemIdFromRow(std::int64_t row)
{
    char text[40];
    std::snprintf(text, sizeof text, "ACT-%016" PRIX64, static_cast<std::uint64_t>(row));
    return text;
}

bool ACTStore::RowFromItemId(const char* id, std::int64_t* row)
{
    if (id == nullptr || std::strlen(id) != 20 || std::strncmp(id, "ACT-", 4) != 0) {
        return false;
    }
    std::uint64_t value = 0;
    for (int i = 4; i < 20; ++i) {
        const char c = id[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1);
        if (digit < 0) {
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

bool ACTStore::Create(const std::string& path, std::string& error)
{
    if (platform::FileExists(path) || platform::FolderExists(path)) {
        error = "ACT! database " + path + " already exists.";
        return false;
    }
    // Built beside the final name and renamed into place: no half-made database is ever
    // found under it.
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    std::remove(temp.c_str());
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(temp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    std::string sql = "BEGIN;CREATE TABLE ferrywise_store(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
                      "INSERT INTO ferrywise_store VALUES('format','";
    sql += kFormat;
    sql += "');CREATE TABLE users(name TEXT PRIMARY KEY COLLATE NOCASE, salt TEXT NOT NULL, hash TEXT NOT "
           "NULL);";
    for (ACTItemKind kind : kAllKinds) {
        sql += TableSchema(kind);
    }
    sql += "COMMIT;";
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        error = "Cannot create ACT! database " + path + ": " +
                (db != nullptr ? sqlite3_errmsg(db) : "out of memory");
    }
    if (sqlite3_close(db) != SQLITE_OK && rc == SQLITE_OK) {
        rc = SQLITE_ERROR;
        error = "Cannot create ACT! database " + path + ".";
    }
    if (rc == SQLITE_OK && std::rename(temp.c_str(), path.c_str()) != 0) {
        rc = SQLITE_ERROR;
        error = "Cannot create ACT! database " + path + ".";
    }
    if (rc != SQLITE_OK) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

bool ACTStore::ResolvePad(const std::string& padPath, std::string& databasePath, std::string& error)
{
    if (padPath.empty()) {
        error = "No ACT! database (.pad file) was named.";
        return false;
    }
    if (!platform::FileExists(padPath)) {
        error = "The ACT! database file " + padPath + " does not exist.";
        return false;
    }
    std::string name;
    if (!platform::FindPrivateProfileValue(kPadSection, kPadKey, padPath.c_str(), name) || name.empty()) {
        error = "The ACT! database file " + padPath + " names no database.";
        return false;
    }
    databasePath = name.front() == '/' ? name : FolderOf(padPath) + name;
    if (!platform::FileExists(databasePath)) {
        error = "The ACT! database " + databasePath + " named by " + padPath + " does not exist.";
        return false;
    }
    return true;
}

bool ACTStore::WritePad(const std::string& padPath, const std::string& databaseName, std::string& error)
{
    platform::ProfileEditor editor(padPath.c_str());
    if (!editor.WriteString(kPadSection, kPadKey, databaseName.c_str()) || !editor.Commit()) {
        error = "Cannot write the ACT! database file " + padPath + ".";
        return false;
    }
    return true;
}

bool ACTStore::Fail(std::string& error, const std::string& what)
{
    const int code = m_db != nullptr ? sqlite3_errcode(m_db) & 0xff : SQLITE_ERROR;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        error = "ACT! database " + m_path + " is locked by another program.";
    } else if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB) {
        error = "ACT! database " + m_path + " is damaged or is not an ACT! database.";
    } else {
        error = what + " (" + m_path + "): " + (m_db != nullptr ? sqlite3_errmsg(m_db) : "no database");
    }
    return false;
}

bool ACTStore::Open(const std::string& path, std::string& error)
{
    Close();
    m_path = path;
    if (!platform::FileExists(path)) {
        error = "ACT! database " + path + " does not exist.";
        return false;
    }
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        Fail(error, "Cannot open ACT! database");
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_stmt* stmt = nullptr;
    bool ours = false;
    if (Prepare("SELECT value FROM ferrywise_store WHERE key='format'", &stmt, error)) {
        const int rc = sqlite3_step(stmt);
        const auto* value = rc == SQLITE_ROW ? sqlite3_column_text(stmt, 0) : nullptr;
        ours = value != nullptr && std::strcmp(reinterpret_cast<const char*>(value), kFormat) == 0;
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            Fail(error, "Cannot read ACT! database");
        } else if (!ours) {
            error = "ACT! database " + path + " is not an ACT! database of this version.";
        }
    } else if ((sqlite3_errcode(m_db) & 0xff) == SQLITE_ERROR) {
        error = "ACT! database " + path + " is damaged or is not an ACT! database.";
    }
    sqlite3_finalize(stmt);
    if (!ours) {
        Close();
        return false;
    }
    return true;
}

void ACTStore::FinalizeAll()
{
    sqlite3_finalize(m_read);
    sqlite3_finalize(m_insert);
    sqlite3_finalize(m_update);
    m_read = m_insert = m_update = nullptr;
}

void ACTStore::Close()
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

bool ACTStore::Prepare(const std::string& sql, sqlite3_stmt** stmt, std::string& error)
{
    if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, stmt, nullptr) != SQLITE_OK) {
        *stmt = nullptr;
        return Fail(error, "Cannot prepare a database statement");
    }
    return true;
}

bool ACTStore::HasUsers(std::string& error)
{
    sqlite3_stmt* stmt = nullptr;
    if (m_db == nullptr || !Prepare("SELECT COUNT(*) FROM users", &stmt, error)) {
        if (m_db == nullptr) {
            error = "ACT! database is not open.";
        }
        return false;
    }
    const bool any = sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_int64(stmt, 0) > 0;
    sqlite3_finalize(stmt);
    return any;
}

bool ACTStore::Login(const std::string& user, const std::string& password, std::string& error)
{
    std::string ignored;
    if (!HasUsers(ignored)) {
        if (!ignored.empty()) {
            error = ignored;
            return false;
        }
        return true;
    }
    sqlite3_stmt* stmt = nullptr;
    if (!Prepare("SELECT salt, hash FROM users WHERE name=?1", &stmt, error)) {
        return false;
    }
    sqlite3_bind_text(stmt, 1, user.c_str(), static_cast<int>(user.size()), SQLITE_TRANSIENT);
    bool ok = false;
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* salt = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
        const auto* hash = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
        ok = salt != nullptr && hash != nullptr && SameHash(PasswordHash(salt, password), hash);
    }
    sqlite3_finalize(stmt);
    if (!ok) {
        error = "The ACT! login to " + m_path + " failed: wrong user name or password.";
    }
    return ok;
}

bool ACTStore::AddUser(const std::string& user, const std::string& password, std::string& error)
{
    if (user.empty()) {
        error = "An ACT! user needs a name.";
        return false;
    }
    sqlite3_stmt* stmt = nullptr;
    if (!Prepare("INSERT INTO users(name, salt, hash) VALUES(?1, ?2, ?3)", &stmt, error)) {
        return false;
    }
    const std::string salt = RandomSalt();
    const std::string hash = PasswordHash(salt, password);
    sqlite3_bind_text(stmt, 1, user.c_str(), static_cast<int>(user.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 2, salt.c_str(), static_cast<int>(salt.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(stmt, 3, hash.c_str(), static_cast<int>(hash.size()), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE) {
        if ((sqlite3_errcode(m_db) & 0xff) == SQLITE_CONSTRAINT) {
            error = "ACT! user \"" + user + "\" exists already in " + m_path + ".";
            return false;
        }
        return Fail(error, "Cannot add an ACT! user");
    }
    return true;
}

bool ACTStore::BeginRead(ACTItemKind kind, const ACTReadOptions& options, int* count, std::string& error)
{
    if (m_db == nullptr || m_inRead || m_inWrite) {
        error = "ACT! database is not open for reading.";
        return false;
    }
    m_kind = kind;
    m_options = options;
    const std::string table = TableName(kind);
    const std::string filter = kind == ACTItemKind::Tasks && !options.opportunities
                                   ? std::string(" WHERE Opportunity=0")
                                   : std::string();
    if (sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return Fail(error, "Cannot read ACT! database");
    }
    m_inRead = true;
    sqlite3_stmt* counter = nullptr;
    if (!Prepare("SELECT COUNT(*) FROM " + table + filter, &counter, error)) {
        EndRead();
        return false;
    }
    const bool ok = sqlite3_step(counter) == SQLITE_ROW;
    const std::int64_t rows = ok ? sqlite3_column_int64(counter, 0) : 0;
    sqlite3_finalize(counter);
    if (!ok) {
        Fail(error, "Cannot read ACT! database");
        EndRead();
        return false;
    }
    if (rows > INT32_MAX) {
        error = "ACT! database " + m_path + " holds more items than a record file can carry.";
        EndRead();
        return false;
    }
    *count = static_cast<int>(rows);
    std::string extra = kind == ACTItemKind::Tasks ? ",Opportunity,OpportunityNotes" : "";
    sqlite3_finalize(m_read);
    if (!Prepare("SELECT id" + ColumnList(kind) + extra + " FROM " + table + filter + " ORDER BY id", &m_read,
                 error)) {
        EndRead();
        return false;
    }
    return true;
}

bool ACTStore::Next(void* rec, std::string& error)
{
    if (m_read == nullptr) {
        return false;
    }
    const int rc = sqlite3_step(m_read);
    if (rc == SQLITE_DONE) {
        return false;
    }
    if (rc != SQLITE_ROW) {
        return Fail(error, "Cannot read ACT! database");
    }
    auto* base = static_cast<unsigned char*>(rec);
    const std::span<const CxLayoutField> fields = Fields(m_kind);
    int column = 1;
    for (const CxLayoutField& field : fields) {
        unsigned char* at = base + field.Offset;
        if (!IsColumn(m_kind, field)) {
            if (field.Kind == CxFieldKind::Integer) {
                std::memset(at, 0, sizeof(int));
            }
            continue;
        }
        ReadLayoutField(m_read, column, field, rec);
        ++column;
    }
    if (const CxLayoutField* id = FindField(fields, IdFieldName(m_kind))) {
        const std::string text = ItemIdFromRow(sqlite3_column_int64(m_read, 0));
        std::snprintf(reinterpret_cast<char*>(base + id->Offset), static_cast<std::size_t>(id->Capacity),
                      "%s", text.c_str());
    }
    if (m_kind == ACTItemKind::Tasks && m_options.opportunityNotes &&
        sqlite3_column_int(m_read, column) != 0) {
        const auto* notes = reinterpret_cast<const char*>(sqlite3_column_text(m_read, column + 1));
        auto& task = *static_cast<ACTTaskRec*>(rec);
        if (notes != nullptr && notes[0] != '\0') {
            std::string details = task.Details;
            details += kNotesSeparator;
            details += notes;
            std::snprintf(task.Details, sizeof task.Details, "%s", details.c_str());
        }
    }
    return true;
}

void ACTStore::EndRead()
{
    sqlite3_finalize(m_read);
    m_read = nullptr;
    if (m_inRead) {
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        m_inRead = false;
    }
}

bool ACTStore::BeginWrite(ACTItemKind kind, std::string& error)
{
    if (m_db == nullptr || m_inRead || m_inWrite) {
        error = "ACT! database is not open for writing.";
        return false;
    }
    m_kind = kind;
    // Take the write lock at once, so that a lock held elsewhere fails before any work.
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        return Fail(error, "Cannot write ACT! database");
    }
    m_inWrite = true;
    const std::string table = TableName(kind);
    const std::string columns = ColumnList(kind);
    std::string values;
    std::string assignments;
    int n = 0;
    for (const CxLayoutField& field : Fields(kind)) {
        if (IsColumn(kind, field)) {
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

void ACTStore::BindFields(sqlite3_stmt* stmt, const void* rec)
{
    int index = 1;
    for (const CxLayoutField& field : Fields(m_kind)) {
        if (!IsColumn(m_kind, field)) {
            continue;
        }
        BindLayoutField(stmt, index, field, rec);
        ++index;
    }
}

bool ACTStore::Insert(const void* rec, std::string* newId, std::string& error)
{
    if (!m_inWrite) {
        error = "ACT! database is not open for writing.";
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

bool ACTStore::Update(const void* rec, std::string& error)
{
    if (!m_inWrite) {
        error = "ACT! database is not open for writing.";
        return false;
    }
    const CxLayoutField* idField = FindField(Fields(m_kind), IdFieldName(m_kind));
    char id[64] = {};
    if (idField != nullptr) {
        const char* stored = static_cast<const char*>(rec) + idField->Offset;
        std::memcpy(id, stored, strnlen(stored, static_cast<std::size_t>(idField->Capacity - 1)));
    }
    std::int64_t row = 0;
    const std::string unknown =
        std::string("Unknown item identifier \"") + id + "\" in ACT! database " + m_path + ".";
    if (!RowFromItemId(id, &row)) {
        error = unknown;
        return false;
    }
    ACTTaskRec task{};
    if (m_kind == ACTItemKind::Tasks) {
        // An opportunity's notes that a load put after its details are not part of them.
        std::memcpy(&task, rec, sizeof task);
        sqlite3_stmt* stmt = nullptr;
        if (!Prepare("SELECT OpportunityNotes FROM tasks WHERE id=?1 AND Opportunity<>0", &stmt, error)) {
            return false;
        }
        sqlite3_bind_int64(stmt, 1, row);
        if (sqlite3_step(stmt) == SQLITE_ROW) {
            const auto* notes = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
            const std::string suffix = std::string(kNotesSeparator) + (notes != nullptr ? notes : "");
            const std::string details(task.Details, strnlen(task.Details, sizeof task.Details - 1));
            if (notes != nullptr && notes[0] != '\0' && details.size() >= suffix.size() &&
                details.compare(details.size() - suffix.size(), suffix.size(), suffix) == 0) {
                task.Details[details.size() - suffix.size()] = '\0';
            }
        }
        sqlite3_finalize(stmt);
        rec = &task;
    }
    sqlite3_reset(m_update);
    BindFields(m_update, rec);
    sqlite3_bind_int64(m_update, sqlite3_bind_parameter_count(m_update), row);
    if (sqlite3_step(m_update) != SQLITE_DONE) {
        return Fail(error, "Cannot change an item");
    }
    if (sqlite3_changes(m_db) != 1) {
        error = unknown;
        return false;
    }
    return true;
}

bool ACTStore::CommitWrite(std::string& error)
{
    if (!m_inWrite) {
        error = "ACT! database is not open for writing.";
        return false;
    }
    sqlite3_reset(m_insert);
    sqlite3_reset(m_update);
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        Fail(error, "Cannot write ACT! database");
        Rollback();
        return false;
    }
    m_inWrite = false;
    return true;
}

void ACTStore::Rollback()
{
    if (m_inWrite) {
        sqlite3_reset(m_insert);
        sqlite3_reset(m_update);
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_inWrite = false;
    }
}

bool ACTStore::MarkOpportunity(const std::string& id, const std::string& notes, std::string& error)
{
    std::int64_t row = 0;
    if (m_db == nullptr || !RowFromItemId(id.c_str(), &row)) {
        error = "Unknown item identifier \"" + id + "\".";
        return false;
    }
    sqlite3_stmt* stmt = nullptr;
    if (!Prepare("UPDATE tasks SET Opportunity=1, OpportunityNotes=?1 WHERE id=?2", &stmt, error)) {
        return false;
    }
    sqlite3_bind_text(stmt, 1, notes.c_str(), static_cast<int>(notes.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(stmt, 2, row);
    const bool ok = sqlite3_step(stmt) == SQLITE_DONE && sqlite3_changes(m_db) == 1;
    sqlite3_finalize(stmt);
    if (!ok) {
        error = "Unknown item identifier \"" + id + "\".";
    }
    return ok;
}
