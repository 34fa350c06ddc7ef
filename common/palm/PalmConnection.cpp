#include "palm/PalmConnection.h"

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
#include <mutex>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

#include "misc/CxDebugUtil.h"
#include "palm/PalmDataModule.h"

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

} // namespace

// The data module's one instance: defined here, after the lock above, so that it goes before
// the lock at the end of the process.
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

    // Closes the database and ends the SQL context; the caller holds the mdbtools lock.
    int ExitSql()
    {
        if (sql->mdb != nullptr) {
            mdb_close(sql->mdb);
            sql->mdb = nullptr;
        }
        mdb_sql_exit(sql);
        return 0;
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
            return m->ExitSql();
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
        LoggedCall([this] { return m->ExitSql(); });
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
