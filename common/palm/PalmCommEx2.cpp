#include "palm/PalmCommEx2.h"

// glib first: the mdbtools headers use its types without including it in C++.
#include <glib.h>

#include <mdbsql.h>
#include <mdbtools.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include "misc/CxDebugUtil.h"
#include "palm/PalmEnv.h"
#include "palm/PalmTime.h"
#include "platform/CodePage.h"

namespace {

// Every bound buffer holds this much; below it mdbtools cuts long memos silently.
constexpr std::size_t kBindSize = 256 * 1024;
// The most of captured library output that goes to the log per call.
constexpr std::size_t kMaxCaptured = 16 * 1024;

// mdbtools keeps its SQL parser's state in globals, and the capture below swaps the process's
// standard error: one call at a time.
std::mutex g_mdbLock;

// An unlinked temporary file that receives standard error during a library call; -1 when
// none could be made (the output then goes to /dev/null).
int CaptureFile()
{
    static const int fd = [] {
        std::FILE* file = std::tmpfile();
        if (file != nullptr) {
            const int fd = ::fileno(file);
            ::fcntl(fd, F_SETFD, FD_CLOEXEC); // not for the helper programs the engine starts
            return fd;
        }
        return ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    }();
    return fd;
}

// Runs one mdbtools call with standard error pointed at the capture file, and only for the
// length of that call, so that nothing else in the process loses its output for longer.
// What the library printed is given back.
template <class Call> auto CallMdb(std::string& captured, Call call)
{
    std::lock_guard<std::mutex> guard(g_mdbLock);
    const int target = CaptureFile();
    std::fflush(stderr);
    int saved = -1;
    if (target >= 0) {
        saved = ::fcntl(2, F_DUPFD_CLOEXEC, 0);
        if (saved >= 0) {
            if (::ftruncate(target, 0) != 0 || ::lseek(target, 0, SEEK_SET) < 0 || ::dup2(target, 2) < 0) {
                ::close(saved);
                saved = -1;
            }
        }
    }
    auto result = call();
    std::fflush(stderr);
    if (saved >= 0) {
        ::dup2(saved, 2);
        ::close(saved);
        struct stat info
        {
        };
        if (::fstat(target, &info) == 0 && info.st_size > 0 && ::lseek(target, 0, SEEK_SET) == 0) {
            const std::size_t size =
                std::min<std::size_t>(static_cast<std::size_t>(info.st_size), kMaxCaptured);
            captured.resize(size);
            std::size_t done = 0;
            while (done < size) {
                const ssize_t n = ::read(target, captured.data() + done, size - done);
                if (n <= 0) {
                    break;
                }
                done += static_cast<std::size_t>(n);
            }
            captured.resize(done);
        }
    }
    return result;
}

// Library output goes to the diagnostic log, one line each.
void LogCaptured(const std::string& captured)
{
    std::size_t start = 0;
    while (start < captured.size()) {
        std::size_t end = captured.find('\n', start);
        if (end == std::string::npos) {
            end = captured.size();
        }
        std::string line = captured.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        if (!line.empty()) {
            FW_LOG(0, "mdbtools: %s", line.c_str());
        }
        start = end + 1;
    }
}

template <class Call> auto LoggedCall(Call call)
{
    std::string captured;
    auto result = CallMdb(captured, call);
    LogCaptured(captured);
    return result;
}

std::string FirstLine(const std::string& text)
{
    std::string line = text.substr(0, text.find('\n'));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

bool FileExists(const std::string& path)
{
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

// Defined after the lock above, so that it goes before the lock at the end of the process.
TdmMain dmMain;

// ---------------------------------------------------------------------------------------------
// Column values

PmColumnValue PmColumnValue::Integer(std::int32_t value)
{
    PmColumnValue result;
    result.m_kind = kInteger;
    result.m_integer = value;
    return result;
}

PmColumnValue PmColumnValue::Text(std::string text)
{
    PmColumnValue result;
    result.m_kind = kText;
    result.m_text = std::move(text);
    return result;
}

PmColumnValue PmColumnValue::Boolean(bool value)
{
    PmColumnValue result;
    result.m_kind = kBoolean;
    result.m_boolean = value;
    return result;
}

bool PmColumnValue::ToInteger(std::int32_t& value) const
{
    if (m_kind == kInteger) {
        value = m_integer;
        return true;
    }
    if (m_kind != kText) {
        return false;
    }
    std::size_t i = 0;
    bool negative = false;
    if (i < m_text.size() && (m_text[i] == '-' || m_text[i] == '+')) {
        negative = m_text[i] == '-';
        ++i;
    }
    if (i == m_text.size()) {
        return false;
    }
    std::int64_t number = 0;
    for (; i < m_text.size(); ++i) {
        const char c = m_text[i];
        if (c < '0' || c > '9') {
            return false;
        }
        number = number * 10 + (c - '0');
        if (number > 2147483648LL) {
            return false;
        }
    }
    number = negative ? -number : number;
    if (number > 2147483647LL) {
        return false;
    }
    value = static_cast<std::int32_t>(number);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Connections and queries

struct PmConnection::Impl
{
    MdbSQL* sql = nullptr; // owns the database handle while open
    // The open query's cursor.
    bool queryOpen = false;
    bool hasRow = false;
    std::vector<std::unique_ptr<char[]>> buffers;
    std::vector<int> lengths;
    std::vector<int> types;

    void CloseQuery()
    {
        if (queryOpen && sql != nullptr) {
            LoggedCall([this] {
                mdb_sql_reset(sql);
                return 0;
            });
        }
        queryOpen = false;
        hasRow = false;
        buffers.clear();
        lengths.clear();
        types.clear();
    }

    void Fetch()
    {
        if (!queryOpen || sql == nullptr || sql->cur_table == nullptr) {
            hasRow = false;
            return;
        }
        for (auto& buffer : buffers) {
            buffer[0] = '\0';
        }
        hasRow = LoggedCall([this] { return mdb_fetch_row(sql->cur_table); }) != 0;
    }
};

PmConnection::PmConnection() : m(std::make_unique<Impl>()) {}

PmConnection::~PmConnection()
{
    // No logging here: the data module goes at the end of the process, after the log.
    if (m->sql != nullptr) {
        std::string ignored;
        CallMdb(ignored, [this] {
            if (m->queryOpen) {
                mdb_sql_reset(m->sql);
            }
            if (m->sql->mdb != nullptr) {
                mdb_close(m->sql->mdb);
                m->sql->mdb = nullptr;
            }
            mdb_sql_exit(m->sql);
            return 0;
        });
        m->sql = nullptr;
    }
}

std::string PmConnection::GetDataSource() const
{
    static constexpr std::string_view kKey = "Data Source=\"";
    const std::size_t start = m_connectionString.find(kKey);
    if (start == std::string::npos) {
        return {};
    }
    const std::size_t from = start + kKey.size();
    const std::size_t end = m_connectionString.rfind('"');
    if (end == std::string::npos || end < from) {
        return {};
    }
    return m_connectionString.substr(from, end - from);
}

bool PmConnection::Open(std::string& error, bool& databaseError)
{
    Close();
    error.clear();
    databaseError = false;
    const std::string path = GetDataSource();
    if (path.empty()) {
        error = "The connection string names no data source.";
        return false;
    }
    std::string captured;
    MdbHandle* handle = CallMdb(captured, [&path] { return mdb_open(path.c_str(), MDB_NOFLAGS); });
    LogCaptured(captured);
    if (handle == nullptr) {
        databaseError = true;
        error = FirstLine(captured);
        if (error.empty()) {
            error = "The file is not an Access database.";
        }
        return false;
    }
    LoggedCall([handle] {
        mdb_set_bind_size(handle, kBindSize);
        mdb_set_boolean_fmt_numbers(handle);
        return 0;
    });
    m->sql = mdb_sql_init();
    m->sql->mdb = handle;
    return true;
}

void PmConnection::Close()
{
    m->CloseQuery();
    if (m->sql != nullptr) {
        LoggedCall([this] {
            if (m->sql->mdb != nullptr) {
                mdb_close(m->sql->mdb);
                m->sql->mdb = nullptr;
            }
            mdb_sql_exit(m->sql);
            return 0;
        });
        m->sql = nullptr;
    }
}

bool PmConnection::IsOpen() const
{
    return m->sql != nullptr;
}

PmQuery::PmQuery(PmConnection& connection) : m_connection(connection) {}

PmQuery::~PmQuery() = default;

bool PmQuery::Open(std::string& error, bool& databaseError)
{
    PmConnection::Impl& c = *m_connection.m;
    c.CloseQuery();
    error.clear();
    databaseError = false;
    if (c.sql == nullptr) {
        error = "The connection is not open.";
        return false;
    }
    if (m_sql.empty()) {
        error = "The query has no statement.";
        return false;
    }
    // Nothing is ever written to these databases; and mdbtools' parser loses memory on the
    // statements it rejects, so only SELECTs go to it.
    if (g_ascii_strncasecmp(m_sql.c_str(), "SELECT ", 7) != 0) {
        error = "Only SELECT statements are run.";
        return false;
    }
    MdbSQL* result = LoggedCall([&] { return mdb_sql_run_query(c.sql, m_sql.c_str()); });
    if (result == nullptr || c.sql->cur_table == nullptr) {
        databaseError = true;
        error = c.sql->error_msg[0] != '\0' ? std::string(c.sql->error_msg) : "The query gave no result.";
        LoggedCall([&c] {
            mdb_sql_reset(c.sql);
            return 0;
        });
        return false;
    }
    c.queryOpen = true;
    const unsigned count = c.sql->num_columns;
    c.buffers.resize(count);
    c.lengths.assign(count, 0);
    c.types.assign(count, -1);
    MdbTableDef* table = c.sql->cur_table;
    for (unsigned i = 0; i < count; ++i) {
        const auto* column = static_cast<const MdbSQLColumn*>(g_ptr_array_index(c.sql->columns, i));
        for (unsigned j = 0; j < table->num_cols; ++j) {
            const auto* tableColumn = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, j));
            if (g_ascii_strcasecmp(tableColumn->name, column->name) == 0) {
                c.types[i] = tableColumn->col_type;
                break;
            }
        }
        // Our own buffers replace the library's, each as large as the bind size and a little
        // more, so that no value can run past one.
        c.buffers[i].reset(new char[kBindSize + 16]);
        c.buffers[i][0] = '\0';
        LoggedCall([&c, i] {
            return mdb_sql_bind_column(c.sql, static_cast<int>(i) + 1, c.buffers[i].get(), &c.lengths[i]);
        });
    }
    c.Fetch();
    return true;
}

void PmQuery::Close()
{
    m_connection.m->CloseQuery();
}

bool PmQuery::IsOpen() const
{
    return m_connection.m->queryOpen;
}

bool PmQuery::IsEof() const
{
    return !m_connection.m->queryOpen || !m_connection.m->hasRow;
}

void PmQuery::Next()
{
    if (!IsEof()) {
        m_connection.m->Fetch();
    }
}

PmRow PmQuery::GetRow() const
{
    const PmConnection::Impl& c = *m_connection.m;
    PmRow row;
    if (IsEof()) {
        return row;
    }
    row.reserve(c.buffers.size());
    for (std::size_t i = 0; i < c.buffers.size(); ++i) {
        const char* text = c.buffers[i].get();
        const std::size_t length = ::strnlen(text, kBindSize);
        switch (c.types[i]) {
        case MDB_INT:
        case MDB_LONGINT: {
            // A null integer arrives as an empty text.
            char* end = nullptr;
            errno = 0;
            const long long value = std::strtoll(text, &end, 10);
            if (length == 0 || end == text || *end != '\0' || errno != 0 || value < INT32_MIN ||
                value > INT32_MAX) {
                row.emplace_back();
            } else {
                row.push_back(PmColumnValue::Integer(static_cast<std::int32_t>(value)));
            }
            break;
        }
        case MDB_TEXT:
        case MDB_MEMO:
            // Null and an empty text look the same through mdbtools: both are empty texts.
            row.push_back(PmColumnValue::Text(std::string(text, length)));
            break;
        case MDB_BOOL:
            row.push_back(PmColumnValue::Boolean(text[0] == '1' || text[0] == 'T' || text[0] == 't'));
            break;
        default:
            row.emplace_back();
            break;
        }
    }
    return row;
}

// ---------------------------------------------------------------------------------------------
// The data module

TdmMain::TdmMain() : qryAddr(connAddr), qryDate(connDate), qryTodo(connTodo), qryMemo(connMemo) {}

TdmMain::~TdmMain() = default;

PmConnection* TdmMain::GetConnection(int kind)
{
    switch (kind) {
    case kPmAccessorAddr:
        return &connAddr;
    case kPmAccessorDate:
        return &connDate;
    case kPmAccessorTodo:
        return &connTodo;
    case kPmAccessorMemo:
        return &connMemo;
    default:
        return nullptr;
    }
}

PmQuery* TdmMain::GetQuery(int kind)
{
    switch (kind) {
    case kPmAccessorAddr:
        return &qryAddr;
    case kPmAccessorDate:
        return &qryDate;
    case kPmAccessorTodo:
        return &qryTodo;
    case kPmAccessorMemo:
        return &qryMemo;
    default:
        return nullptr;
    }
}

void TdmMain::CloseAll()
{
    for (int kind = kPmAccessorAddr; kind <= kPmAccessorMemo; ++kind) {
        GetQuery(kind)->Close();
        GetConnection(kind)->Close();
    }
}

// ---------------------------------------------------------------------------------------------
// Accessors

PmDataAccessor::~PmDataAccessor() = default;

std::string PmDataAccessor::BuildSelect(std::string_view table, const PmColumnList& columns,
                                        std::string_view condition)
{
    if (columns.empty() || table.empty()) {
        return {};
    }
    std::string text = "SELECT ";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += '[';
        text += columns[i];
        text += ']';
    }
    text += " FROM ";
    text += table;
    text += ' ';
    text += condition;
    if (text.size() > kMaxStatement) {
        return {};
    }
    return text;
}

std::string PmDataAccessor::BuildInformationSelect(const PmColumnList& columns,
                                                   std::string_view condition) const
{
    return BuildSelect("Information", columns, condition);
}

std::string PmDataAccessor::BuildCategorySelect(const PmColumnList& columns, std::string_view condition) const
{
    return BuildSelect("Category", columns, condition);
}

std::string PmDataAccessor::BuildMainSelect(const PmColumnList& columns, std::string_view condition) const
{
    return BuildSelect("Main", columns, condition);
}

bool PmDataAccessor::SelectFirst(std::string_view, const PmColumnList&, PmRow&)
{
    return false;
}

bool PmDataAccessor::SelectNext(std::string_view, const PmColumnList&, PmRow&)
{
    return false;
}

bool PmDataAccessor::QueryFirst(const std::string&, PmRow&)
{
    return false;
}

bool PmDataAccessor::QueryNext(PmRow&)
{
    return false;
}

bool PmDataAccessor::Execute(const std::string&)
{
    return false;
}

PmMDBAccessor::PmMDBAccessor(TdmMain* module) : m_module(module) {}

PmMDBAccessor::~PmMDBAccessor() = default;

PmQuery* PmMDBAccessor::GetQuery()
{
    return m_module != nullptr ? m_module->GetQuery(m_kind) : nullptr;
}

PmConnection* PmMDBAccessor::GetConnection()
{
    return m_module != nullptr ? m_module->GetConnection(m_kind) : nullptr;
}

bool PmMDBAccessor::Open(int kind, const std::string& path)
{
    m_kind = kind;
    m_path = path.substr(0, 259);
    FW_LOG(2, "Set database file to be opened: %s", m_path.c_str());
    if (!FileExists(path)) {
        FW_LOG(0, "The file doesn't exist. Abort.");
        return false;
    }
    PmConnection* connection = GetConnection();
    if (connection == nullptr) {
        FW_LOG(0, "There is no valid database connection to open this file.");
        return false;
    }
    if (connection->IsOpen()) {
        FW_LOG(2, "The connection is already opened, close it now.");
        connection->Close();
    }
    const std::string text = "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"" + path + "\"";
    connection->SetConnectionString(text);
    FW_LOG(2, "Connection String: %s", text.c_str());
    std::string error;
    bool databaseError = false;
    if (!connection->Open(error, databaseError)) {
        if (databaseError) {
            FW_LOG(0, "Database Connection Error, Connection String=%s, Error=%s", text.c_str(),
                   error.c_str());
        } else {
            FW_LOG(0, "Database Connection Error, Connection String=%s.", text.c_str());
        }
    }
    return true;
}

bool PmMDBAccessor::IsConnected()
{
    PmConnection* connection = GetConnection();
    return connection != nullptr && connection->IsOpen();
}

bool PmMDBAccessor::RunQuery(const std::string& statement)
{
    FW_LOG(2, "Execute SQL Query: %s", statement.c_str());
    m_queryFailed = true; // until it ran
    PmQuery* query = GetQuery();
    if (query == nullptr) {
        FW_LOG(0, "Database Query Error, Query String=%s", statement.c_str());
        return false;
    }
    query->Close();
    query->SetSQL(statement);
    std::string error;
    bool databaseError = false;
    if (!query->Open(error, databaseError)) {
        if (databaseError) {
            FW_LOG(0, "Database Query Error, Query String=%s, Error=%s", statement.c_str(), error.c_str());
        } else {
            FW_LOG(0, "Database Query Error, Query String=%s", statement.c_str());
        }
        return false;
    }
    FW_LOG(2, "Query executed successfully.");
    m_queryFailed = false;
    return true;
}

bool PmMDBAccessor::FetchCurrent(PmRow& row)
{
    PmQuery* query = GetQuery();
    if (query == nullptr || query->IsEof()) {
        row.clear();
        return false;
    }
    row = query->GetRow();
    return true;
}

bool PmMDBAccessor::SelectFirst(std::string_view table, const PmColumnList& columns, PmRow& row)
{
    row.clear();
    const std::string statement = BuildSelect(table, columns);
    if (statement.empty()) {
        FW_LOG(0, "Invalid query string found.");
        m_queryFailed = true;
        return false;
    }
    m_statement = statement;
    if (!RunQuery(statement)) {
        return false;
    }
    return FetchCurrent(row);
}

bool PmMDBAccessor::SelectNext(std::string_view table, const PmColumnList& columns, PmRow& row)
{
    row.clear();
    if (BuildSelect(table, columns) != m_statement || m_statement.empty()) {
        FW_LOG(2, "This query is not same with former query. Ignore this query.");
        return false;
    }
    PmQuery* query = GetQuery();
    if (query == nullptr || query->GetSQL() != m_statement) {
        return false;
    }
    query->Next();
    return FetchCurrent(row);
}

bool PmMDBAccessor::QueryFirst(const std::string& statement, PmRow& row)
{
    row.clear();
    if (statement.empty()) {
        FW_LOG(0, "Invalid query string found.");
        return false;
    }
    if (!RunQuery(statement)) {
        return false;
    }
    return FetchCurrent(row);
}

bool PmMDBAccessor::QueryNext(PmRow& row)
{
    PmQuery* query = GetQuery();
    if (query == nullptr) {
        row.clear();
        return false;
    }
    query->Next();
    return FetchCurrent(row);
}

bool PmMDBAccessor::Execute(const std::string& statement)
{
    if (statement.empty()) {
        FW_LOG(0, "Invalid query string found.");
        return false;
    }
    return RunQuery(statement);
}

// ---------------------------------------------------------------------------------------------
// Categories

PmCategoryEx2::PmCategoryEx2(std::int32_t id, const std::string& name, std::int32_t status,
                             std::int32_t color)
    : m_id(id), m_status(status), m_color(color)
{
    SetName(name);
}

void PmCategoryEx2::SetName(const std::string& name)
{
    m_name = name.substr(0, 255);
}

void PmCategoryEx2Mgr::Clear()
{
    m_categories.clear();
    m_cursor = 0;
}

void PmCategoryEx2Mgr::Add(const PmCategoryEx2& category)
{
    m_categories.push_back(category);
}

const PmCategoryEx2* PmCategoryEx2Mgr::FindByID(std::int32_t id) const
{
    for (const auto& category : m_categories) {
        if (category.GetID() == id) {
            return &category;
        }
    }
    return nullptr;
}

const PmCategoryEx2* PmCategoryEx2Mgr::GetAt(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_categories.size()) {
        return nullptr;
    }
    return &m_categories[static_cast<std::size_t>(index)];
}

const PmCategoryEx2* PmCategoryEx2Mgr::FindByName(const std::string& name) const
{
    for (const auto& category : m_categories) {
        if (category.GetName() == name) {
            return &category;
        }
    }
    return nullptr;
}

const PmCategoryEx2* PmCategoryEx2Mgr::First()
{
    m_cursor = 0;
    return Next();
}

const PmCategoryEx2* PmCategoryEx2Mgr::Next()
{
    if (m_cursor >= m_categories.size()) {
        return nullptr;
    }
    return &m_categories[m_cursor++];
}

// ---------------------------------------------------------------------------------------------
// The readers' base

PmDBEx2Util::PmDBEx2Util()
    : m_categories(std::make_unique<PmCategoryEx2Mgr>()), m_info(std::make_unique<PmInfoEx2>())
{
}

PmDBEx2Util::~PmDBEx2Util() = default;

bool PmDBEx2Util::Open(int kind, const std::string& path)
{
    m_loadError.clear();
    if (!m_accessor) {
        m_accessor = std::make_unique<PmMDBAccessor>(&dmMain);
    }
    m_categories->SetAccessor(m_accessor.get());
    const bool opened = m_accessor->Open(kind, path);
    // Why, when the file itself cannot be read (or is empty, which the database library may
    // still open): the load then fails with this reason.
    m_loadError = PmReadProblem(path);
    if (!opened) {
        m_categories->Clear();
        return false;
    }
    LoadCategories();
    return true;
}

bool PmDBEx2Util::LoadCategories()
{
    FW_LOG(2, "Start loading Palm Desktop category information.");
    m_categories->Clear();
    if (!m_accessor) {
        return false;
    }
    static const PmColumnList kColumns = {"ID", "Name", "Status", "Color"};
    PmRow row;
    bool fetched = m_accessor->SelectFirst("Category", kColumns, row);
    while (fetched) {
        if (row.size() == kColumns.size()) {
            std::int32_t id = 0;
            std::int32_t status = 0;
            std::int32_t color = 0;
            PmEx2Int(row[0], id);
            PmEx2Int(row[2], status);
            PmEx2Int(row[3], color);
            const PmCategoryEx2 category(id, PmEx2Text(row[1], 256), status, color);
            FW_LOG(2, "Category loaded: %s", category.GetName().c_str());
            m_categories->Add(category);
        }
        fetched = m_accessor->SelectNext("Category", kColumns, row);
    }
    FW_LOG(2, "Categories information loaded successfully.");
    return true;
}

void PmDBEx2Util::LogWith(int level, FwLogText text, const std::string& value) const
{
    if (g_debugLog.Wants(level)) {
        FW_LOG_AT(level, text.file, text.line, "%s", (text.text + value).c_str());
    }
}

bool PmDBEx2Util::FindUserFile(const PmEx2Messages& messages, std::int32_t userId, const char* subFolder,
                               const char* fileName, std::string& path)
{
    LogWith(2, messages.loadingByUser, std::to_string(userId));
    std::string folder;
    if (!PmGetUserDataPath(userId, folder)) {
        Say(0, "Failed to get user database path by user ID.");
        m_loadError = "no Palm Desktop data folder for user " + std::to_string(userId);
        return false;
    }
    path = PmDataFilePath(folder, subFolder, fileName);
    LogWith(2, "Get user file successfully, try loading file:", path);
    return true;
}

bool PmDBEx2Util::GetCategoryName(std::int32_t id, std::string& name) const
{
    const PmCategoryEx2* category = m_categories->FindByID(id);
    if (category == nullptr) {
        name.clear();
        return false;
    }
    name = category->GetName().substr(0, kCategoryNameChars);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Column values into record fields

std::string PmEx2Text(const PmColumnValue& value, std::size_t width)
{
    if (value.GetKind() != PmColumnValue::kText || width == 0) {
        return {};
    }
    const std::string& text = value.GetText();
    // Most texts are plain ASCII, which reads the same in every ANSI code page.
    std::string ansi = IsAscii(text) ? text.substr(0, width - 1) : platform::Utf8ToAnsi(text);
    if (ansi.size() > width - 1) {
        ansi.resize(width - 1);
    }
    return ansi;
}

void PmEx2Int(const PmColumnValue& value, std::int32_t& field)
{
    std::int32_t number = 0;
    if (value.ToInteger(number)) {
        field = number;
    }
}

void PmEx2Bool(const PmColumnValue& value, std::int32_t& field)
{
    if (value.GetKind() == PmColumnValue::kBoolean) {
        field = value.GetBoolean() ? 1 : 0;
    }
}

// ---------------------------------------------------------------------------------------------
// Repeat rule texts

namespace {

std::vector<std::string_view> SplitBlanks(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') {
            ++i;
        }
        if (i > start) {
            tokens.push_back(text.substr(start, i - start));
        }
    }
    return tokens;
}

// The digits at the start of a text, as a number (0 when there are none).
std::int32_t LeadingNumber(std::string_view text)
{
    std::int32_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || number > 99999999) {
            break;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

bool IsDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A date token of the rule: 8 digits of year, month and day, then nothing, a time part after
// "T", or a "Z".
bool IsDateToken(std::string_view token)
{
    return token.size() >= 8 && IsDigits(token.substr(0, 8)) &&
           (token.size() == 8 || token[8] == 'T' || token[8] == 'Z');
}

// Seconds since 1970-01-01 of a day and time of the Gregorian calendar taken as UTC.
std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

// Whether the end day of a date token, with the token's time (after "T": local time, or UTC
// with a final "Z"; the end of the day when there is none), is Palm Desktop's "no date".
bool IsNoDateToken(std::string_view token, int year, int month, int day)
{
    if (year < 2031 || year > 2032) {
        return false; // only a day at the turn of 2031 can be the no-date moment
    }
    int hour = 23;
    int minute = 59;
    int second = 59;
    std::size_t next = 8;
    if (token.size() >= 15 && token[8] == 'T' && IsDigits(token.substr(9, 6))) {
        hour = LeadingNumber(token.substr(9, 2));
        minute = LeadingNumber(token.substr(11, 2));
        second = LeadingNumber(token.substr(13, 2));
        next = 15;
    }
    const bool utc = token.size() > next && token[next] == 'Z';
    const std::int64_t moment = utc ? UtcSeconds(year, month, day, hour, minute, second)
                                    : PmTime(year, month, day, hour, minute, second).GetValue();
    return moment >= INT32_MIN && moment <= INT32_MAX && PmTime::IsNoDate(static_cast<std::int32_t>(moment));
}

std::int32_t EndDateOf(std::string_view token)
{
    if (token.front() == '#') {
        // "#0" is the rule's "no end"; a count of repeats cannot be held by the repeat fields.
        return kPmNoEndDate;
    }
    const int year = LeadingNumber(token.substr(0, 4));
    const int month = LeadingNumber(token.substr(4, 2));
    const int day = LeadingNumber(token.substr(6, 2));
    // A day that does not exist, or that a 32-bit time value cannot hold, is no end rather
    // than some other day.
    if (year < 1902 || year > 2037 || month < 1 || month > 12 || day < 1 || day > 31) {
        return kPmNoEndDate;
    }
    // Palm Desktop's "no date", written in the zone of the machine that wrote the rule.
    if (IsNoDateToken(token, year, month, day)) {
        return kPmNoEndDate;
    }
    return PmTime(year, month, day, 0, 0, 0).GetValue();
}

std::uint8_t DayMaskOf(const std::vector<std::string_view>& tokens)
{
    static constexpr std::string_view kDays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    std::uint8_t mask = 0;
    for (std::size_t t = 1; t < tokens.size(); ++t) {
        for (std::size_t d = 0; d < 7; ++d) {
            if (tokens[t] == kDays[d]) {
                mask = static_cast<std::uint8_t>(mask | (1u << d));
            }
        }
    }
    return mask;
}

} // namespace

void PmParseRepeatRule(std::string_view rule, bool yearly, std::int32_t startTime, PmRepeat& repeat)
{
    repeat = PmRepeat{};
    const std::vector<std::string_view> tokens = SplitBlanks(rule);
    if (rule.empty() || tokens.empty() || rule.front() == ' ') {
        return;
    }
    const std::string_view second = tokens.size() > 1 ? tokens[1] : std::string_view();
    std::size_t intervalAt = 1;
    if (rule.front() == 'D') {
        repeat.kind = 1;
    } else if (rule.front() == 'W') {
        repeat.kind = 2;
        repeat.dayMask = DayMaskOf(tokens);
    } else if (rule.substr(0, 2) == "MP") {
        repeat.kind = 3;
        intervalAt = 2;
        const std::int32_t week = LeadingNumber(second);
        // "1-" counts from the end of the month: the last week, as Palm Desktop numbers it.
        const bool fromEnd = second.size() > 1 && second.back() == '-';
        repeat.weekIndex = fromEnd ? 4 : std::max(week - 1, 0);
        repeat.dayMask = DayMaskOf(tokens);
    } else if (rule.substr(0, 2) == "MD") {
        repeat.kind = 4;
        intervalAt = 2;
        repeat.dayOfMonth = LeadingNumber(second);
    } else if (rule.front() == 'Y' && yearly) {
        repeat.kind = 5;
        intervalAt = 2;
        repeat.monthIndex = std::max(LeadingNumber(second) - 1, 0);
        repeat.dayOfMonth = PmTime(startTime).GetDay();
    } else {
        return;
    }
    repeat.interval = LeadingNumber(tokens[0].substr(std::min(intervalAt, tokens[0].size())));

    // The end is the first "#..." or date token after the pattern's own numbers and days;
    // exception dates may follow it after ";" or ",". A rule without an end never ends.
    repeat.endDate = kPmNoEndDate;
    for (std::size_t t = 1; t < tokens.size(); ++t) {
        std::string_view token = tokens[t];
        token = token.substr(0, token.find_first_of(";,"));
        if (token.empty()) {
            continue;
        }
        if (token.front() == '#' || IsDateToken(token)) {
            repeat.endDate = EndDateOf(token);
            break;
        }
    }
}
