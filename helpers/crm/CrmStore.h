#pragma once
// The database of one stand-in CRM service: one SQLite file per family and server (and, for
// Dynamics CRM, organisation) in the user's data folder, "corvane/crm/". It holds the service's
// users, each with salted hashes of the password and the security token (crm/CrmCredentials.h),
// and a table per kind of data with a column for every field of the kind's record layout, so
// that values the connector only carries come back as they were submitted. An item's identifier
// is made by the store from its row number and never reused; items load in the order in which
// they were added. Records without an identifier field (the notes) are named by their place in
// that order.
#include <cstdint>
#include <functional>
#include <string>

#include "crm/CrmService.h"

struct sqlite3;

namespace crm {

enum class AccountCheck
{
    Accepted,
    Refused, // no such user, or a wrong password or token: the service does not say which
};

class Store
{
public:
    Store() = default;
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // The database file of a service: "<family>[-<server>[-<organisation>]].db" in the data
    // folder, every character of a name outside letters, digits, '.', '-' and '_' written as
    // '_'. False with a reason when the family needs a server or organisation and none is
    // named, or no data folder is known.
    static bool DatabasePath(Family family, const std::string& host, const std::string& organisation,
                             std::string& path, std::string& error);

    // Opens the database; with create, makes it (and its folder) when missing. A missing file
    // without create is refused with a reason that says how to make an account.
    bool Open(Family family, const std::string& path, bool create, std::string& error);
    void Close();

    // Adds the user, or gives an existing one new secrets (replaced says which). The token is
    // salesforce's; empty for the others.
    bool SetAccount(const std::string& user, const std::string& password, const std::string& token,
                    bool* replaced, std::string& error);
    AccountCheck CheckAccount(const std::string& user, const std::string& password, const std::string& token);

    // Every item of the kind in order, each given to each() as a record of the kind's layout
    // (zeroed, change mark and action 0, its identifier filled). The calendar's range bounds
    // are whole OLE Automation dates (days); 0 sets no limit, otherwise entries whose range
    // field lies before the start's day or after the end's day are left out. each() may stop
    // the walk by giving false.
    bool Read(Kind kind, int rangeStart, int rangeEnd, int* total,
              const std::function<bool(const void* rec)>& each, std::string& error);

    // Writing: everything between BeginWrite and CommitWrite is one transaction; Rollback (or
    // closing without CommitWrite) leaves the database as it was.
    bool BeginWrite(Kind kind, std::string& error);
    bool Insert(const void* rec, std::string& error);
    // Replaces every field of the item that rec's identifier names (position: the record's
    // place in the record file, for kinds without an identifier).
    bool Update(const void* rec, int position, std::string& error);
    bool CommitWrite(std::string& error);
    void Rollback();

    static std::string ItemIdFromRow(std::int64_t row);
    static bool RowFromItemId(const char* id, std::int64_t* row);

private:
    bool Fail(std::string& error, const std::string& what);
    bool Exec(const std::string& sql, std::string& error, const std::string& what);

    sqlite3* m_db = nullptr;
    Family m_family = Family::SalesForce;
    Kind m_kind = Kind::Contacts;
    std::string m_path;
    bool m_inWrite = false;
};

} // namespace crm
