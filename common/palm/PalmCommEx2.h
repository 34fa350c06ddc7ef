#pragma once
// The shared ground of the four readers of the Palm Desktop 6.x (Access) databases: the base
// that opens a database through the accessor, loads its category table and reads its table
// "Main", and the conversion of column values into record fields.
//
// Nothing is ever written to these databases. The database library stays behind the
// connection (PalmConnection.h).
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "palm/PalmCategoryEx2.h"
#include "palm/PalmConnection.h"
#include "palm/PalmLoadError.h"
#include "palm/PalmMDBAccessor.h"
#include "platform/CodePage.h"

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
    // Records of the last load whose texts lost characters to the ANSI code page.
    int LossyRecordCount() const { return m_lossyRecords; }

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
        m_lossyRecords = 0;
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
            const platform::AnsiLossWatch loss;
            if (row.size() == columns.size()) {
                fill(rec, row);
            }
            finish(rec);
            GetCategoryName(rec.categoryId, rec.categoryName);
            if (loss.Lost()) {
                ++m_lossyRecords;
            }
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
    int m_lossyRecords = 0;
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
