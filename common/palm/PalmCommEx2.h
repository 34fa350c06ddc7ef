#pragma once
// Access to the Access (Jet) databases of Palm Desktop 6.x: the process-wide data module with
// one connection and one query per kind of data, the accessor that builds and runs the SELECT
// statements, the category table of such a database and the base of the four readers.
//
// Nothing is ever written to these databases. The database library stays behind this header.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "palm/PalmLoadError.h"
#include "palm/PalmRepeat.h"

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

// Accessor kinds: which connection and query pair of the data module a database uses.
enum PmAccessorKind : int
{
    kPmAccessorAddr = 1,
    kPmAccessorDate = 2,
    kPmAccessorTodo = 3,
    kPmAccessorMemo = 4,
};

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

// The data module: one connection and query pair per kind of data, once in the process.
class TdmMain
{
public:
    TdmMain();
    ~TdmMain();
    TdmMain(const TdmMain&) = delete;
    TdmMain& operator=(const TdmMain&) = delete;

    PmConnection connAddr;
    PmConnection connDate;
    PmConnection connTodo;
    PmConnection connMemo;
    PmQuery qryAddr;
    PmQuery qryDate;
    PmQuery qryTodo;
    PmQuery qryMemo;

    // By accessor kind 1..4; null for any other kind.
    PmConnection* GetConnection(int kind);
    PmQuery* GetQuery(int kind);
    // Closes every query and connection.
    void CloseAll();
};

extern TdmMain dmMain;

// Builds and runs statements. The base builds them; running and fetching have no effect here.
class PmDataAccessor
{
public:
    // The longest statement text kept.
    static constexpr std::size_t kMaxStatement = 4095;

    PmDataAccessor() = default;
    virtual ~PmDataAccessor();
    PmDataAccessor(const PmDataAccessor&) = delete;
    PmDataAccessor& operator=(const PmDataAccessor&) = delete;

    // "SELECT [a], [b] FROM <table> " followed by the condition; empty when there is no
    // column or the text would be longer than kMaxStatement.
    static std::string BuildSelect(std::string_view table, const PmColumnList& columns,
                                   std::string_view condition = {});
    virtual std::string BuildInformationSelect(const PmColumnList& columns,
                                               std::string_view condition = {}) const;
    virtual std::string BuildCategorySelect(const PmColumnList& columns,
                                            std::string_view condition = {}) const;
    virtual std::string BuildMainSelect(const PmColumnList& columns, std::string_view condition = {}) const;

    // Builds the SELECT for the table and columns, remembers it, runs it and fetches the
    // first row. False when no row was fetched.
    virtual bool SelectFirst(std::string_view table, const PmColumnList& columns, PmRow& row);
    // The next row of the remembered statement; the table and columns must build it again.
    virtual bool SelectNext(std::string_view table, const PmColumnList& columns, PmRow& row);
    // Runs a statement as given and fetches its first row, then the next ones.
    virtual bool QueryFirst(const std::string& statement, PmRow& row);
    virtual bool QueryNext(PmRow& row);
    // Runs a statement that gives no rows.
    virtual bool Execute(const std::string& statement);

    const std::string& GetStatement() const { return m_statement; }

protected:
    std::string m_statement; // the last SELECT run
};

// The accessor on the data module's connection and query of one kind.
class PmMDBAccessor : public PmDataAccessor
{
public:
    explicit PmMDBAccessor(TdmMain* module = &dmMain);
    ~PmMDBAccessor() override;

    // Keeps the kind and the path, then opens the kind's connection on the file; failures
    // are logged. False when the file does not exist or there is no connection of the kind.
    bool Open(int kind, const std::string& path);

    bool SelectFirst(std::string_view table, const PmColumnList& columns, PmRow& row) override;
    bool SelectNext(std::string_view table, const PmColumnList& columns, PmRow& row) override;
    bool QueryFirst(const std::string& statement, PmRow& row) override;
    bool QueryNext(PmRow& row) override;
    bool Execute(const std::string& statement) override;

    PmQuery* GetAddrQuery() { return m_module != nullptr ? &m_module->qryAddr : nullptr; }
    PmQuery* GetDateQuery() { return m_module != nullptr ? &m_module->qryDate : nullptr; }
    PmQuery* GetTodoQuery() { return m_module != nullptr ? &m_module->qryTodo : nullptr; }
    PmQuery* GetMemoQuery() { return m_module != nullptr ? &m_module->qryMemo : nullptr; }
    PmQuery* GetQuery();
    PmConnection* GetAddrConnection() { return m_module != nullptr ? &m_module->connAddr : nullptr; }
    PmConnection* GetDateConnection() { return m_module != nullptr ? &m_module->connDate : nullptr; }
    PmConnection* GetTodoConnection() { return m_module != nullptr ? &m_module->connTodo : nullptr; }
    PmConnection* GetMemoConnection() { return m_module != nullptr ? &m_module->connMemo : nullptr; }
    PmConnection* GetConnection();

    int GetKind() const { return m_kind; }
    const std::string& GetPath() const { return m_path; }
    // Whether the kind's connection is open on a database.
    bool IsConnected();
    // Whether the last statement run failed (rather than giving no rows).
    bool LastQueryFailed() const { return m_queryFailed; }

private:
    // Runs the statement on the kind's query; false (logged) when it fails.
    bool RunQuery(const std::string& statement);
    bool FetchCurrent(PmRow& row);

    TdmMain* m_module;
    int m_kind = 0;
    std::string m_path; // at most 259 characters
    bool m_queryFailed = false;
};

// A category of a 6.x database.
class PmCategoryEx2
{
public:
    PmCategoryEx2() = default;
    PmCategoryEx2(std::int32_t id, const std::string& name, std::int32_t status, std::int32_t color);

    std::int32_t GetID() const { return m_id; }
    const std::string& GetName() const { return m_name; }
    std::int32_t GetStatus() const { return m_status; }
    std::int32_t GetColor() const { return m_color; }
    void SetID(std::int32_t id) { m_id = id; }
    void SetName(const std::string& name); // at most 255 bytes kept
    void SetStatus(std::int32_t status) { m_status = status; }
    void SetColor(std::int32_t color) { m_color = color; }

private:
    std::int32_t m_id = 0;
    std::string m_name;
    std::int32_t m_status = 0;
    std::int32_t m_color = 0;
};

// The category table of a 6.x database, in load order.
class PmCategoryEx2Mgr
{
public:
    explicit PmCategoryEx2Mgr(PmDataAccessor* accessor = nullptr) : m_accessor(accessor) {}
    virtual ~PmCategoryEx2Mgr() = default;

    void SetAccessor(PmDataAccessor* accessor) { m_accessor = accessor; }
    PmDataAccessor* GetAccessor() const { return m_accessor; }

    int GetCount() const { return static_cast<int>(m_categories.size()); }
    void Clear();
    void Add(const PmCategoryEx2& category);
    const PmCategoryEx2* FindByID(std::int32_t id) const;
    const PmCategoryEx2* GetAt(int index) const;                    // null outside the table
    const PmCategoryEx2* FindByName(const std::string& name) const; // exact
    const PmCategoryEx2* First();
    const PmCategoryEx2* Next();

private:
    PmDataAccessor* m_accessor;
    std::vector<PmCategoryEx2> m_categories;
    std::size_t m_cursor = 0;
};

// The information record of a 6.x database; never filled.
struct PmInfoEx2
{
};

// Log lines of one 6.x reader, in the order of the load. Failures are written at level 0,
// progress at level 2.
struct PmEx2Messages
{
    const char* emptyPath = nullptr;     // before anything else; null: the open tells
    const char* loading = nullptr;       // progress, followed by the path
    const char* openFailed = nullptr;    // followed by the path
    const char* mainStart = nullptr;     // progress
    const char* firstFetched = nullptr;  // progress
    const char* firstFailed = nullptr;   // progress
    const char* nextFailed = nullptr;    // progress
    const char* mainDone = nullptr;      // progress
    const char* loadingByUser = nullptr; // progress, followed by the user ID
};

// The base of the four 6.x readers: the accessor (made on the first open), the category
// table and the information record.
//
// Every line of the diagnostic log carries the file and line of the call that logs it, also
// when that call is here in the shared part.
class PmDBEx2Util
{
public:
    // Longest category name a contact, calendar or to-do record keeps.
    static constexpr std::size_t kCategoryNameChars = 31;

    PmDBEx2Util();
    virtual ~PmDBEx2Util();
    PmDBEx2Util(const PmDBEx2Util&) = delete;
    PmDBEx2Util& operator=(const PmDBEx2Util&) = delete;

    // True when the path is not empty and the file exists; the connection is then opened
    // (failures are only logged) and the categories loaded.
    virtual bool Open(int kind, const std::string& path);
    // Reads the table "Category"; a failed query leaves the table empty.
    virtual bool LoadCategories();

    // The category's name, cut to kCategoryNameChars; false (and an empty name) when the ID is
    // not in the table.
    bool GetCategoryName(std::int32_t id, std::string& name) const;

    const PmCategoryEx2Mgr& GetCategories() const { return *m_categories; }
    PmMDBAccessor* GetAccessor() { return m_accessor.get(); }
    const PmInfoEx2& GetInfo() const { return *m_info; }

    // Why the last load failed, for the user (PalmLoadError.h); empty after a load that worked.
    const std::string& GetLoadError() const { return m_loadError; }

protected:
    void Say(int level, FwLogText text) const { FW_LOG_AT(level, text.file, text.line, "%s", text.text); }
    // A line of the text followed by the value, composed only when the log wants it.
    void LogWith(int level, FwLogText text, const std::string& value) const;

    // Opens the file and reads every row of "Main" into records (cleared first): fill(rec, row)
    // for a row of all the columns, then finish(rec) and the category name for every row.
    // True once the file is open as a database and its table "Main" could be read, also when
    // that gave no row.
    template <class Rec, class Fill, class Finish>
    bool LoadMain(const PmEx2Messages& messages, int kind, const std::string& path,
                  const PmColumnList& columns, std::vector<Rec>& records, Fill fill, Finish finish)
    {
        records.clear();
        m_loadError.clear();
        if (messages.emptyPath != nullptr && path.empty()) {
            Say(0, messages.emptyPath);
            m_loadError = kPmReasonNoFileName;
            return false;
        }
        LogWith(2, messages.loading, path);
        if (!Open(kind, path)) {
            LogWith(0, messages.openFailed, path);
            if (m_loadError.empty()) {
                m_loadError = "the file cannot be read";
            }
            return false;
        }
        // A file that is no database, or whose table "Main" cannot be read, brings nothing:
        // that is a failure, not an empty database.
        if (!m_loadError.empty() || !m_accessor->IsConnected()) {
            LogWith(0, messages.openFailed, path);
            if (m_loadError.empty()) {
                m_loadError = kPmReasonForeign;
            }
            return false;
        }
        Say(2, messages.mainStart);
        PmRow row;
        bool fetched = m_accessor->SelectFirst("Main", columns, row);
        Say(2, fetched ? messages.firstFetched : messages.firstFailed);
        if (!fetched && m_accessor->LastQueryFailed()) {
            LogWith(0, messages.openFailed, path);
            // The database's own message, which repeats the whole statement, is in the log.
            m_loadError =
                std::string(kPmReasonForeign) + ", or a damaged one (its table Main cannot be read)";
            return false;
        }
        while (fetched) {
            Rec rec;
            if (row.size() == columns.size()) {
                fill(rec, row);
            }
            finish(rec);
            GetCategoryName(rec.categoryId, rec.categoryName);
            records.push_back(std::move(rec));
            fetched = m_accessor->SelectNext("Main", columns, row);
            if (!fetched) {
                Say(2, messages.nextFailed);
            }
        }
        Say(2, messages.mainDone);
        return true;
    }

    // The path of the reader's file in the user's data folder; false (logged) when the user
    // has no folder.
    bool FindUserFile(const PmEx2Messages& messages, std::int32_t userId, const char* subFolder,
                      const char* fileName, std::string& path);

    std::unique_ptr<PmMDBAccessor> m_accessor;
    std::unique_ptr<PmCategoryEx2Mgr> m_categories;
    std::unique_ptr<PmInfoEx2> m_info;
    std::string m_loadError;
};

// What the four readers hold beside the shared ground: the outcome of the last load and the
// records it read.
template <class Rec> class PmEx2Reader : public PmDBEx2Util
{
public:
    bool IsLoaded() const { return m_loaded; }
    const std::vector<Rec>& GetRecords() const { return m_records; }
    void ClearRecords() { m_records.clear(); }

protected:
    bool m_loaded = false;
    std::vector<Rec> m_records;
};

// The texts and widths of the records: a text column keeps at most width - 1 bytes of its
// ANSI form.
std::string PmEx2Text(const PmColumnValue& value, std::size_t width);
// An "int" column into a field; the field stays as it was when the value has another kind.
void PmEx2Int(const PmColumnValue& value, std::int32_t& field);
// A "bool" column into a field (1 or 0); the field stays as it was for another kind.
void PmEx2Bool(const PmColumnValue& value, std::int32_t& field);

// Reads a repeat rule text ("Repeated Event", "Repeat Info"), for example "W1 MO WE #0" or
// "MD1 15 20071231T000000". yearly: "Y" rules are read (the calendar); otherwise they give no
// repeat (the to-do list). startTime gives the day of month of a yearly rule.
void PmParseRepeatRule(std::string_view rule, bool yearly, std::int32_t startTime, PmRepeat& repeat);
