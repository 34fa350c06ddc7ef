#include "palm/PalmMDBAccessor.h"

#include <filesystem>
#include <system_error>

#include "misc/CxDebugUtil.h"

namespace {

bool FileExists(const std::string& path)
{
    if (path.empty()) {
        return false;
    }
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

} // namespace

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
