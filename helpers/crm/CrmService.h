#pragma once
// The three stand-in CRM services (salesforce, SugarCRM, Dynamics CRM) as their helpers and the
// command line see them: each family's parameters, and its four kinds of data with the record
// layouts of its connectors.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/CxCRMLayout.h"
#include "exchange/CxHelperProtocol.h"

namespace crm {

enum class Family
{
    SalesForce,
    SugarCRM,
    Dynamics,
};

enum class Kind
{
    Contacts,
    Calendar,
    Tasks,
    Notes,
};

struct FamilyInfo
{
    const char* name;    // "salesforce", "sugarcrm", "dynamics": the database file's and the CLI's
    const char* display; // "salesforce", "SugarCRM", "Dynamics CRM"
    CxHelperParamIds ids;
    int userParam;
    int passwordParam;
    int tokenParam;        // salesforce's security token; 0 for none
    int hostParam;         // the server; 0 for none
    int organisationParam; // 0 for none
    int rangeStartParam;   // calendar only
    int rangeEndParam;
};

struct KindInfo
{
    const char* words; // "contacts", as in "Loading salesforce contacts: 12 of 50"
    const char* table;
    const CxCRMLayout* layout;
    std::size_t recordSize;
    const char* controlFile;
    // The date that the calendar's range applies to; null for the other kinds.
    const char* rangeField;
};

const FamilyInfo& Info(Family family);
KindInfo Info(Family family, Kind kind);

std::optional<Family> ParseFamily(std::string_view name);

} // namespace crm
