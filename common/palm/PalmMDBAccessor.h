#pragma once
// The accessor that builds the SELECT statements on a Palm Desktop 6.x database and runs them
// on the data module's connection and query of one kind.
#include <cstddef>
#include <string>
#include <string_view>

#include "palm/PalmConnection.h"
#include "palm/PalmDataModule.h"

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
