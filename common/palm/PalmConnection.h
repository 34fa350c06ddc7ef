#pragma once
// The connection on an Access (Jet) database of Palm Desktop 6.x and the queries run on it,
// with the values of the rows they fetch.
//
// Nothing is ever written to these databases. The database library stays behind this header.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One column of a fetched row: an integer, a text (UTF-8, as the database library gives it),
// a boolean, or empty (null, or a column of any other type).
class PmColumnValue
{
public:
    enum Kind : int
    {
        kEmpty = 0,
        kInteger = 1,
        kText = 2,
        kBoolean = 3,
    };

    PmColumnValue() = default;
    static PmColumnValue Integer(std::int32_t value);
    static PmColumnValue Text(std::string text);
    static PmColumnValue Boolean(bool value);

    Kind GetKind() const { return m_kind; }
    bool IsEmpty() const { return m_kind == kEmpty; }
    std::int32_t GetInteger() const { return m_integer; }
    const std::string& GetText() const { return m_text; }
    bool GetBoolean() const { return m_boolean; }

    // An "int" column: an integer, or a text that holds a decimal number (an optional sign
    // and digits only, within 32 bits). False for anything else.
    bool ToInteger(std::int32_t& value) const;

private:
    Kind m_kind = kEmpty;
    std::int32_t m_integer = 0;
    bool m_boolean = false;
    std::string m_text;
};

using PmRow = std::vector<PmColumnValue>;
using PmColumnList = std::vector<std::string>;

// A connection on one database file, named by a connection string of the form
// Provider=...;Data Source="<path>".
class PmConnection
{
public:
    PmConnection();
    ~PmConnection();
    PmConnection(const PmConnection&) = delete;
    PmConnection& operator=(const PmConnection&) = delete;

    void SetConnectionString(const std::string& text) { m_connectionString = text; }
    const std::string& GetConnectionString() const { return m_connectionString; }
    // The path between the double quotes after "Data Source=", empty when there is none.
    std::string GetDataSource() const;

    // False with the database's message in error when the file cannot be opened as a
    // database; databaseError tells a database error from any other failure.
    bool Open(std::string& error, bool& databaseError);
    void Close();
    bool IsOpen() const;

private:
    friend class PmQuery;
    struct Impl;
    std::unique_ptr<Impl> m;
    std::string m_connectionString;
};

// A query on its connection: the statement is run by Open, which leaves it on the first row.
class PmQuery
{
public:
    explicit PmQuery(PmConnection& connection);
    ~PmQuery();
    PmQuery(const PmQuery&) = delete;
    PmQuery& operator=(const PmQuery&) = delete;

    void SetSQL(const std::string& text) { m_sql = text; }
    const std::string& GetSQL() const { return m_sql; }

    bool Open(std::string& error, bool& databaseError);
    void Close();
    bool IsOpen() const;
    // Past the last row (also when the query is not open).
    bool IsEof() const;
    void Next();
    // The values of the current row, one per selected column; empty when there is no row.
    PmRow GetRow() const;

    PmConnection& GetConnection() { return m_connection; }

private:
    PmConnection& m_connection;
    std::string m_sql;
};
