#include "crm/CrmStore.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sqlite3.h>
#include <vector>

#include "crm/CrmCredentials.h"
#include "platform/KnownFolders.h"

namespace crm {

namespace {

constexpr const char* kFormat = "crm-1";
constexpr int kBusyTimeoutMs = 2000;
constexpr Kind kAllKinds[] = {Kind::Contacts, Kind::Calendar, Kind::Tasks, Kind::Notes};

// The change mark, the action and the identifier travel in the record file, not in the table.
bool IsColumn(const CxCRMLayout& layout, const CxLayoutField& field)
{
    return std::strcmp(field.Name, "ChangeMark") != 0 && std::strcmp(field.Name, "Action") != 0 &&
           (layout.idField == nullptr || std::strcmp(field.Name, layout.idField) != 0);
}

std::string Quoted(const char* name)
{
    return std::string("\"") + name + "\"";
}

std::string TableSchema(const KindInfo& info)
{
    std::string sql = std::string("CREATE TABLE ") + info.table + "(id INTEGER PRIMARY KEY AUTOINCREMENT";
    for (const CxLayoutField& field : info.layout->fields) {
        if (!IsColumn(*info.layout, field)) {
            continue;
        }
        sql += "," + Quoted(field.Name);
        sql += field.Kind == CxFieldKind::Text   ? " BLOB NOT NULL DEFAULT ''"
               : field.Kind == CxFieldKind::Date ? " REAL NOT NULL DEFAULT 0"
                                                 : " INTEGER NOT NULL DEFAULT 0";
    }
    return sql + ");";
}

std::string Sanitized(const std::string& name)
{
    std::string out;
    for (char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '.' || c == '-' || c == '_';
        out += plain ? c : '_';
    }
    return out;
}

bool DataFolder(std::string& out)
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        out = data;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            return false;
        }
        out = std::string(home) + "/.local/share";
    }
    out += "/corvane/crm/";
    return true;
}

// Makes every missing folder of a path ending in '/'.
bool MakeFolders(const std::string& folder)
{
    for (std::size_t at = folder.find('/', 1); at != std::string::npos; at = folder.find('/', at + 1)) {
        if (!platform::MakeFolder(folder.substr(0, at))) {
            return false;
        }
    }
    return true;
}

class Statement
{
public:
    Statement(sqlite3* db, const std::string& sql)
    {
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &m_stmt, nullptr) != SQLITE_OK) {
            m_stmt = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return m_stmt; }
    explicit operator bool() const { return m_stmt != nullptr; }

private:
    sqlite3_stmt* m_stmt = nullptr;
};

void BindFields(sqlite3_stmt* stmt, const CxCRMLayout& layout, const void* rec)
{
    const auto* base = static_cast<const unsigned char*>(rec);
    int index = 1;
    for (const CxLayoutField& field : layout.fields) {
        if (!IsColumn(layout, field)) {
            continue;
        }
        const unsigned char* at = base + field.Offset;
        if (field.Kind == CxFieldKind::Text) {
            // Never trust the terminator: at most the field's capacity less one.
            const char* text = reinterpret_cast<const char*>(at);
            const std::size_t size = strnlen(text, static_cast<std::size_t>(field.Capacity - 1));
            sqlite3_bind_blob(stmt, index, text, static_cast<int>(size), SQLITE_TRANSIENT);
        } else if (field.Kind == CxFieldKind::Date) {
            double value;
            std::memcpy(&value, at, sizeof value);
            sqlite3_bind_double(stmt, index, value);
        } else {
            int value;
            std::memcpy(&value, at, sizeof value);
            sqlite3_bind_int(stmt, index, value);
        }
        ++index;
    }
}

} // namespace

Store::~Store()
{
    Close();
}

bool Store::DatabasePath(Family family, const std::string& host, const std::string& organisation,
                         std::string& path, std::string& error)
{
    const FamilyInfo& info = Info(family);
    std::string name = info.name;
    if (info.hostParam != 0) {
        if (host.empty()) {
            error = std::string("No ") + info.display + " server was named.";
            return false;
        }
        name += "-" + Sanitized(host);
    }
    if (info.organisationParam != 0) {
        if (organisation.empty()) {
            error = std::string("No ") + info.display + " organisation was named.";
            return false;
        }
        name += "-" + Sanitized(organisation);
    }
    std::string folder;
    if (!DataFolder(folder)) {
        error = "The user's data folder is unknown (HOME is not set).";
        return false;
    }
    path = folder + name + ".db";
    return true;
}

bool Store::Fail(std::string& error, const std::string& what)
{
    const int code = m_db != nullptr ? sqlite3_errcode(m_db) & 0xff : SQLITE_ERROR;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED) {
        error = "Database " + m_path + " is locked by another program.";
    } else if (code == SQLITE_CORRUPT || code == SQLITE_NOTADB) {
        error = "Database " + m_path + " is damaged or is not a " + Info(m_family).display + " database.";
    } else {
        error = what + " (" + m_path + "): " + (m_db != nullptr ? sqlite3_errmsg(m_db) : "no database");
    }
    return false;
}

bool Store::Exec(const std::string& sql, std::string& error, const std::string& what)
{
    return sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK || Fail(error, what);
}

bool Store::Open(Family family, const std::string& path, bool create, std::string& error)
{
    Close();
    m_family = family;
    m_path = path;
    const bool exists = platform::FileExists(path);
    if (!exists && !create) {
        error = std::string("There is no ") + Info(family).display + " account here (" + path +
                "): add one with 'ferrywise-cli crm add-user'.";
        return false;
    }
    if (!exists) {
        const std::size_t slash = path.rfind('/');
        if (slash != std::string::npos && !MakeFolders(path.substr(0, slash + 1))) {
            error = "Cannot make the folder of database " + path + ".";
            return false;
        }
    }
    if (sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE),
                        nullptr) != SQLITE_OK) {
        Fail(error, "Cannot open database");
        Close();
        return false;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    if (!exists) {
        std::string sql = "BEGIN;CREATE TABLE ferrywise_store(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
                          "INSERT INTO ferrywise_store VALUES('format','";
        sql += kFormat;
        sql += "'),('service','";
        sql += Info(family).name;
        sql +=
            "');CREATE TABLE accounts(user TEXT PRIMARY KEY, password TEXT NOT NULL, token TEXT NOT NULL);";
        for (Kind kind : kAllKinds) {
            sql += TableSchema(Info(family, kind));
        }
        sql += "COMMIT;";
        if (!Exec(sql, error, "Cannot create database")) {
            Close();
            std::remove(path.c_str());
            return false;
        }
    }
    Statement check(m_db, "SELECT value FROM ferrywise_store WHERE key='service'");
    const bool ours = check && sqlite3_step(check.get()) == SQLITE_ROW &&
                      std::strcmp(reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0)),
                                  Info(family).name) == 0;
    if (!ours) {
        error = "Database " + path + " is damaged or is not a " + Info(family).display + " database.";
        Close();
        return false;
    }
    return true;
}

void Store::Close()
{
    if (m_db == nullptr) {
        return;
    }
    Rollback();
    sqlite3_close(m_db);
    m_db = nullptr;
}

bool Store::SetAccount(const std::string& user, const std::string& password, const std::string& token,
                       bool* replaced, std::string& error)
{
    if (m_db == nullptr) {
        error = "Database is not open.";
        return false;
    }
    Statement find(m_db, "SELECT 1 FROM accounts WHERE user=?1");
    Statement upsert(m_db,
                     "INSERT INTO accounts(user,password,token) VALUES(?1,?2,?3) "
                     "ON CONFLICT(user) DO UPDATE SET password=excluded.password, token=excluded.token");
    if (!find || !upsert) {
        return Fail(error, "Cannot change the accounts");
    }
    sqlite3_bind_text(find.get(), 1, user.c_str(), static_cast<int>(user.size()), SQLITE_TRANSIENT);
    const bool existed = sqlite3_step(find.get()) == SQLITE_ROW;
    const std::string passwordHash = HashSecret(password);
    const std::string tokenHash = HashSecret(token);
    sqlite3_bind_text(upsert.get(), 1, user.c_str(), static_cast<int>(user.size()), SQLITE_TRANSIENT);
    sqlite3_bind_text(upsert.get(), 2, passwordHash.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(upsert.get(), 3, tokenHash.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(upsert.get()) != SQLITE_DONE) {
        return Fail(error, "Cannot change the accounts");
    }
    if (replaced != nullptr) {
        *replaced = existed;
    }
    return true;
}

AccountCheck Store::CheckAccount(const std::string& user, const std::string& password,
                                 const std::string& token)
{
    if (m_db == nullptr) {
        return AccountCheck::Refused;
    }
    Statement find(m_db, "SELECT password, token FROM accounts WHERE user=?1");
    if (!find) {
        return AccountCheck::Refused;
    }
    sqlite3_bind_text(find.get(), 1, user.c_str(), static_cast<int>(user.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(find.get()) != SQLITE_ROW) {
        return AccountCheck::Refused;
    }
    const std::string passwordHash = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 0));
    const std::string tokenHash = reinterpret_cast<const char*>(sqlite3_column_text(find.get(), 1));
    // Both are checked, whichever is wrong.
    const bool passwordOk = SecretMatches(password, passwordHash);
    const bool tokenOk = SecretMatches(token, tokenHash);
    return passwordOk && tokenOk ? AccountCheck::Accepted : AccountCheck::Refused;
}

std::string Store::ItemIdFromRow(std::int64_t row)
{
    char text[32];
    std::snprintf(text, sizeof text, "%018" PRIX64, static_cast<std::uint64_t>(row));
    return text;
}

bool Store::RowFromItemId(const char* id, std::int64_t* row)
{
    if (id == nullptr || std::strlen(id) != 18) {
        return false;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < 18; ++i) {
        const char c = id[i];
        const int digit = c >= '0' && c <= '9' ? c - '0' : (c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1);
        if (digit < 0 || (i < 2 && digit != 0)) {
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

bool Store::Read(Kind kind, int rangeStart, int rangeEnd, int* total,
                 const std::function<bool(const void* rec)>& each, std::string& error)
{
    if (m_db == nullptr || m_inWrite) {
        error = "Database is not open for reading.";
        return false;
    }
    const KindInfo info = Info(m_family, kind);
    std::string columns = "id";
    for (const CxLayoutField& field : info.layout->fields) {
        if (IsColumn(*info.layout, field)) {
            columns += "," + Quoted(field.Name);
        }
    }
    std::string where;
    if (info.rangeField != nullptr && rangeStart != 0) {
        where += " WHERE " + Quoted(info.rangeField) + ">=?1";
    }
    if (info.rangeField != nullptr && rangeEnd != 0) {
        where += (where.empty() ? " WHERE " : " AND ") + Quoted(info.rangeField) + "<?2";
    }
    if (!Exec("BEGIN", error, "Cannot read database")) {
        return false;
    }
    bool ok = true;
    {
        Statement count(m_db, std::string("SELECT COUNT(*) FROM ") + info.table + where);
        Statement rows(m_db, "SELECT " + columns + " FROM " + info.table + where + " ORDER BY id");
        ok = count && rows;
        for (sqlite3_stmt* stmt : {count.get(), rows.get()}) {
            if (stmt != nullptr && where.find("?1") != std::string::npos) {
                sqlite3_bind_double(stmt, 1, rangeStart);
            }
            if (stmt != nullptr && where.find("?2") != std::string::npos) {
                sqlite3_bind_double(stmt, 2, static_cast<double>(rangeEnd) + 1);
            }
        }
        std::int64_t items = 0;
        if (ok && sqlite3_step(count.get()) == SQLITE_ROW) {
            items = sqlite3_column_int64(count.get(), 0);
        } else {
            ok = false;
        }
        if (ok && items > 1000000) {
            error = "Database " + m_path + " holds more items than a record file can carry.";
            Exec("COMMIT", error, "Cannot read database");
            return false;
        }
        if (ok) {
            *total = static_cast<int>(items);
        }
        std::vector<double> buffer(info.recordSize / sizeof(double) + 1);
        while (ok) {
            const int rc = sqlite3_step(rows.get());
            if (rc == SQLITE_DONE) {
                break;
            }
            if (rc != SQLITE_ROW) {
                ok = false;
                break;
            }
            std::fill(buffer.begin(), buffer.end(), 0.0);
            auto* base = reinterpret_cast<unsigned char*>(buffer.data());
            int column = 1;
            for (const CxLayoutField& field : info.layout->fields) {
                if (!IsColumn(*info.layout, field)) {
                    continue;
                }
                unsigned char* at = base + field.Offset;
                if (field.Kind == CxFieldKind::Text) {
                    const void* text = sqlite3_column_blob(rows.get(), column);
                    int size = sqlite3_column_bytes(rows.get(), column);
                    size = size > field.Capacity - 1 ? field.Capacity - 1 : size;
                    if (size > 0 && text != nullptr) {
                        std::memcpy(at, text, static_cast<std::size_t>(size));
                    }
                } else if (field.Kind == CxFieldKind::Date) {
                    const double value = sqlite3_column_double(rows.get(), column);
                    std::memcpy(at, &value, sizeof value);
                } else {
                    const int value = sqlite3_column_int(rows.get(), column);
                    std::memcpy(at, &value, sizeof value);
                }
                ++column;
            }
            if (const CxLayoutField* id = FindCRMField(*info.layout, info.layout->idField)) {
                const std::string text = ItemIdFromRow(sqlite3_column_int64(rows.get(), 0));
                std::snprintf(reinterpret_cast<char*>(base + id->Offset),
                              static_cast<std::size_t>(id->Capacity), "%s", text.c_str());
            }
            if (!each(base)) {
                break;
            }
        }
        if (!ok) {
            Fail(error, "Cannot read database");
        }
    }
    std::string ignored;
    Exec("COMMIT", ignored, "Cannot read database");
    return ok;
}

bool Store::BeginWrite(Kind kind, std::string& error)
{
    if (m_db == nullptr || m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    m_kind = kind;
    // The write lock at once, so that a lock held elsewhere fails before any work.
    if (!Exec("BEGIN IMMEDIATE", error, "Cannot write database")) {
        return false;
    }
    m_inWrite = true;
    return true;
}

bool Store::Insert(const void* rec, std::string& error)
{
    if (!m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    const KindInfo info = Info(m_family, m_kind);
    std::string columns;
    std::string values;
    for (const CxLayoutField& field : info.layout->fields) {
        if (IsColumn(*info.layout, field)) {
            columns += (columns.empty() ? "" : ",") + Quoted(field.Name);
            values += values.empty() ? "?" : ",?";
        }
    }
    const std::string sql = columns.empty() ? std::string("INSERT INTO ") + info.table + " DEFAULT VALUES"
                                            : std::string("INSERT INTO ") + info.table + "(" + columns +
                                                  ") VALUES(" + values + ")";
    Statement insert(m_db, sql);
    if (!insert) {
        return Fail(error, "Cannot add an item");
    }
    BindFields(insert.get(), *info.layout, rec);
    return sqlite3_step(insert.get()) == SQLITE_DONE || Fail(error, "Cannot add an item");
}

bool Store::Update(const void* rec, int position, std::string& error)
{
    if (!m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    const KindInfo info = Info(m_family, m_kind);
    std::int64_t row = 0;
    std::string name;
    if (const CxLayoutField* idField = FindCRMField(*info.layout, info.layout->idField)) {
        const char* stored = static_cast<const char*>(rec) + idField->Offset;
        name.assign(stored, strnlen(stored, static_cast<std::size_t>(idField->Capacity - 1)));
        if (!RowFromItemId(name.c_str(), &row)) {
            error = "Unknown item identifier \"" + name + "\" in database " + m_path + ".";
            return false;
        }
    } else {
        Statement find(m_db, std::string("SELECT id FROM ") + info.table + " ORDER BY id LIMIT 1 OFFSET ?1");
        if (!find) {
            return Fail(error, "Cannot change an item");
        }
        sqlite3_bind_int(find.get(), 1, position);
        if (sqlite3_step(find.get()) != SQLITE_ROW) {
            error = "There is no item " + std::to_string(position + 1) + " in database " + m_path + ".";
            return false;
        }
        row = sqlite3_column_int64(find.get(), 0);
        name = std::to_string(position + 1);
    }
    std::string assignments;
    for (const CxLayoutField& field : info.layout->fields) {
        if (IsColumn(*info.layout, field)) {
            assignments += (assignments.empty() ? "" : ",") + Quoted(field.Name) + "=?";
        }
    }
    // A kind without values has nothing to change but must name an item that exists.
    const std::string sql = std::string("UPDATE ") + info.table + " SET " +
                            (assignments.empty() ? std::string("id=id") : assignments) + " WHERE id=?";
    Statement update(m_db, sql);
    if (!update) {
        return Fail(error, "Cannot change an item");
    }
    BindFields(update.get(), *info.layout, rec);
    sqlite3_bind_int64(update.get(), sqlite3_bind_parameter_count(update.get()), row);
    if (sqlite3_step(update.get()) != SQLITE_DONE) {
        return Fail(error, "Cannot change an item");
    }
    if (sqlite3_changes(m_db) != 1) {
        error = "Unknown item identifier \"" + name + "\" in database " + m_path + ".";
        return false;
    }
    return true;
}

bool Store::CommitWrite(std::string& error)
{
    if (!m_inWrite) {
        error = "Database is not open for writing.";
        return false;
    }
    if (!Exec("COMMIT", error, "Cannot write database")) {
        Rollback();
        return false;
    }
    m_inWrite = false;
    return true;
}

void Store::Rollback()
{
    if (m_inWrite && m_db != nullptr) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    m_inWrite = false;
}

} // namespace crm
