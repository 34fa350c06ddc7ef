#include "crm/CrmService.h"

#include "Dynamics/DNRecords.h"
#include "SalesForce/SFRecords.h"
#include "SugarCRM/SGRecords.h"

namespace crm {

const FamilyInfo& Info(Family family)
{
    static const FamilyInfo kSalesForce{"salesforce",      "salesforce",   SFParamIds, SFParamUserName,
                                        SFParamPassword,   SFParamToken,   0,          0,
                                        SFParamRangeStart, SFParamRangeEnd};
    static const FamilyInfo kSugarCRM{
        "sugarcrm", "SugarCRM",  SGParamIds, SGParamUserName,   SGParamPassword,
        0,          SGParamHost, 0,          SGParamRangeStart, SGParamRangeEnd};
    static const FamilyInfo kDynamics{
        "dynamics", "Dynamics CRM", DNParamIds,          DNParamLogin,      DNParamPassword,
        0,          DNParamHost,    DNParamOrganisation, DNParamRangeStart, DNParamRangeEnd};
    switch (family) {
    case Family::SalesForce:
        return kSalesForce;
    case Family::SugarCRM:
        return kSugarCRM;
    case Family::Dynamics:
        break;
    }
    return kDynamics;
}

KindInfo Info(Family family, Kind kind)
{
    switch (family) {
    case Family::SalesForce:
        switch (kind) {
        case Kind::Contacts:
            return {"contacts", "contacts", &SFAddrLayout(), sizeof(SFAddrRec), SFAddrFiles.controlFile,
                    nullptr};
        case Kind::Calendar:
            return {"calendar", "calendar", &SFDateLayout(), sizeof(SFDateRec), SFDateFiles.controlFile,
                    "Value3"};
        case Kind::Tasks:
            return {"tasks", "tasks", &SFTaskLayout(), sizeof(SFTaskRec), SFTaskFiles.controlFile, nullptr};
        case Kind::Notes:
            break;
        }
        return {"notes", "notes", &SFNoteLayout(), sizeof(SFNoteRec), SFNoteFiles.controlFile, nullptr};
    case Family::SugarCRM:
        switch (kind) {
        case Kind::Contacts:
            return {"contacts", "contacts", &SGAddrLayout(), sizeof(SGAddrRec), SGAddrFiles.controlFile,
                    nullptr};
        case Kind::Calendar:
            return {"calendar", "calendar", &SGDateLayout(), sizeof(SGDateRec), SGDateFiles.controlFile,
                    "Value4"};
        case Kind::Tasks:
            return {"tasks", "tasks", &SGTaskLayout(), sizeof(SGTaskRec), SGTaskFiles.controlFile, nullptr};
        case Kind::Notes:
            break;
        }
        return {"notes", "notes", &SGNoteLayout(), sizeof(SGNoteRec), SGNoteFiles.controlFile, nullptr};
    case Family::Dynamics:
        break;
    }
    switch (kind) {
    case Kind::Contacts:
        return {"contacts", "contacts", &DNAddrLayout(), sizeof(DNAddrRec), DNAddrFiles.controlFile, nullptr};
    case Kind::Calendar:
        return {"calendar", "calendar", &DNDateLayout(), sizeof(DNDateRec), DNDateFiles.controlFile,
                "Value2"};
    case Kind::Tasks:
        return {"tasks", "tasks", &DNTaskLayout(), sizeof(DNTaskRec), DNTaskFiles.controlFile, nullptr};
    case Kind::Notes:
        break;
    }
    return {"notes", "notes", &DNNoteLayout(), sizeof(DNNoteRec), DNNoteFiles.controlFile, nullptr};
}

std::optional<Family> ParseFamily(std::string_view name)
{
    for (Family family : {Family::SalesForce, Family::SugarCRM, Family::Dynamics}) {
        if (name == Info(family).name) {
            return family;
        }
    }
    return std::nullopt;
}

} // namespace crm
