#pragma once
// The native records of the Dynamics CRM record files ("DNAddr.dat", "DNDate.dat", "DNTask.dat",
// "DNNote.dat") and the exchange files of the four Dynamics CRM helpers, shared by the connectors
// and the helper programs so that both sides read and write them with the same code (see
// exchange/CxCRMLayout.h for how a layout is written).
//
// Values that the field list of Dynamics CRM leaves unnamed are called ValueN after their place
// in the record (1 is the first value after the action); the helpers keep them as they are.
// Each address of a contact has one text of 64 where the field list names both "County" and
// "Fax No."; it carries the county (the contact's fax number has its own field).
// The first text of a calendar or task record is the item's identifier, as the helpers use
// it; the note records carry nothing but the change mark and the action.
#include "exchange/CxCRMLayout.h"
#include "exchange/CxHelperProtocol.h"

// clang-format off
#define DN_ADDR_FIELDS(X) \
    X(TEXT, ContactID, 64, "Contact ID") \
    X(TEXT, Address1City, 32, "Address 1: City") \
    X(TEXT, Address1Country, 32, "Address 1: Country") \
    X(TEXT, Address1County, 64, "Address 1: County") \
    X(TEXT, Address1Line1, 64, "Address 1: Street Line 1") \
    X(TEXT, Address1Line2, 64, "Address 1: Street Line 2") \
    X(TEXT, Address1Line3, 64, "Address 1: Street Line 3") \
    X(DOUBLE, Address1Latitude, 0, "Address 1: Latitude") \
    X(DOUBLE, Address1Longitude, 0, "Address 1: Longitude") \
    X(TEXT, Address1Name, 256, "Address 1: Name") \
    X(TEXT, Address1PostalCode, 32, "Address 1: Postal Code") \
    X(TEXT, Address1POBox, 32, "Address 1: P.O.Box") \
    X(TEXT, Address1PrimaryContactName, 128, "Address 1: Primary Contact Name") \
    X(TEXT, Address1Telephone1, 32, "Address 1: Telephone No. 1") \
    X(TEXT, Address1Telephone2, 32, "Address 1: Telephone No. 2") \
    X(TEXT, Address1Telephone3, 32, "Address 1: Telephone No. 3") \
    X(TEXT, Address1State, 32, "Address 1: State") \
    X(TEXT, Address2City, 32, "Address 2: City") \
    X(TEXT, Address2Country, 32, "Address 2: Country") \
    X(TEXT, Address2County, 64, "Address 2: County") \
    X(TEXT, Address2Line1, 64, "Address 2: Street Line 1") \
    X(TEXT, Address2Line2, 64, "Address 2: Street Line 2") \
    X(TEXT, Address2Line3, 64, "Address 2: Street Line 3") \
    X(DOUBLE, Address2Latitude, 0, "Address 2: Latitude") \
    X(DOUBLE, Address2Longitude, 0, "Address 2: Longitude") \
    X(TEXT, Address2Name, 256, "Address 2: Name") \
    X(TEXT, Address2PostalCode, 32, "Address 2: Postal Code") \
    X(TEXT, Address2POBox, 32, "Address 2: P.O.Box") \
    X(TEXT, Address2PrimaryContactName, 128, "Address 2: Primary Contact Name") \
    X(TEXT, Address2Telephone1, 32, "Address 2: Telephone No. 1") \
    X(TEXT, Address2Telephone2, 32, "Address 2: Telephone No. 2") \
    X(TEXT, Address2Telephone3, 32, "Address 2: Telephone No. 3") \
    X(TEXT, Address2State, 32, "Address 2: State") \
    X(DATE, Anniversary, 0, "Anniversary") \
    X(DATE, BirthDate, 0, "Birth Date") \
    X(TEXT, AssistantName, 32, "Assistant Name") \
    X(TEXT, AssistantPhone, 32, "Assistant Telephone No.") \
    X(TEXT, ManagerName, 32, "Manager Name") \
    X(TEXT, ManagerPhone, 32, "Manager Telephone No.") \
    X(TEXT, Department, 100, "Department") \
    X(TEXT, JobTitle, 100, "Job Title") \
    X(TEXT, Description, 4096, "Description") \
    X(TEXT, Email1, 64, "Email 1") \
    X(TEXT, Email2, 64, "Email 2") \
    X(TEXT, Email3, 64, "Email 3") \
    X(TEXT, MobilePhone, 32, "Mobile Phone No.") \
    X(TEXT, Pager, 32, "Pager No.") \
    X(TEXT, Telephone1, 32, "Telephone No. 1") \
    X(TEXT, Telephone2, 32, "Telephone No. 2") \
    X(TEXT, Telephone3, 32, "Telephone No. 3") \
    X(TEXT, Fax, 32, "Fax No.") \
    X(TEXT, FirstName, 32, "First Name") \
    X(TEXT, MiddleName, 32, "Middle Name") \
    X(TEXT, LastName, 32, "Last Name") \
    X(TEXT, FullName, 128, "Full Name") \
    X(TEXT, NickName, 32, "Nick Name") \
    X(TEXT, Salutation, 32, "Salutation") \
    X(TEXT, Suffix, 32, "Suffix") \
    X(INT, Gender, 0, "Gender") \
    X(TEXT, GovernmentID, 32, "Government ID") \
    X(TEXT, SpouseName, 32, "Spouse Name") \
    X(TEXT, ChildrenNames, 128, "Children's Names") \
    X(TEXT, FtpSite, 256, "FTP Site") \
    X(TEXT, WebSite, 256, "Website URL") \
    X(DATE, CreatedTime, 0, "Created Time") \
    X(DATE, LastModifiedTime, 0, "Last Modified Time")

#define DN_DATE_FIELDS(X) \
    X(TEXT, ID, 68, "") \
    X(DATE, Value2, 0, "") \
    X(DATE, Value3, 0, "") \
    X(DATE, Value4, 0, "") \
    X(DATE, Value5, 0, "") \
    X(TEXT, Value6, 256, "") \
    X(TEXT, Value7, 256, "") \
    X(INT, Value8, 0, "") \
    X(INT, Value9, 0, "") \
    X(INT, Value10, 0, "") \
    X(INT, Value11, 0, "") \
    X(TEXT, Value12, 8192, "") \
    X(DATE, Value13, 0, "") \
    X(DATE, Value14, 0, "")

#define DN_TASK_FIELDS(X) \
    X(TEXT, ID, 68, "") \
    X(DATE, Value2, 0, "") \
    X(DATE, Value3, 0, "") \
    X(DATE, Value4, 0, "") \
    X(DATE, Value5, 0, "") \
    X(TEXT, Value6, 256, "") \
    X(TEXT, Value7, 256, "") \
    X(TEXT, Value8, 8192, "") \
    X(INT, Value9, 0, "") \
    X(INT, Value10, 0, "") \
    X(INT, Value11, 0, "") \
    X(DATE, Value12, 0, "") \
    X(DATE, Value13, 0, "")
// clang-format on

struct DNAddrRec
{
    CX_CRM_RECORD_HEAD
    DN_ADDR_FIELDS(CX_CRM_MEMBER)
};

struct DNDateRec
{
    CX_CRM_RECORD_HEAD
    DN_DATE_FIELDS(CX_CRM_MEMBER)
};

struct DNTaskRec
{
    CX_CRM_RECORD_HEAD
    DN_TASK_FIELDS(CX_CRM_MEMBER)
};

struct DNNoteRec
{
    CX_CRM_RECORD_HEAD
};

const CxCRMLayout& DNAddrLayout();
const CxCRMLayout& DNDateLayout();
const CxCRMLayout& DNTaskLayout();
const CxCRMLayout& DNNoteLayout();

// The helpers and their exchange files.
inline constexpr CxHelperFiles DNAddrFiles{"fw-dynamics-contacts", "DNAddr.dat",       "DNAddrParam.dat",
                                           "DNAddrErr.dat",        "DNAddrStatus.dat", "DNAddr.ini"};
inline constexpr CxHelperFiles DNDateFiles{"fw-dynamics-calendar", "DNDate.dat",       "DNDateParam.dat",
                                           "DNDateErr.dat",        "DNDateStatus.dat", "DNDate.ini"};
inline constexpr CxHelperFiles DNTaskFiles{"fw-dynamics-tasks", "DNTask.dat",       "DNTaskParam.dat",
                                           "DNTaskErr.dat",     "DNTaskStatus.dat", "DNTask.ini"};
inline constexpr CxHelperFiles DNNoteFiles{"fw-dynamics-notes", "DNNote.dat",       "DNNoteParam.dat",
                                           "DNNoteErr.dat",     "DNNoteStatus.dat", "DNNote.ini"};

// The parameters, in the order the connectors write them. Every value is a text.
enum DNParam : int
{
    DNParamHost = 1000, // the server
    DNParamOrganisation = 1001,
    DNParamLogin = 1011,    // at most 31 characters
    DNParamPassword = 1012, // at most 31 characters
    DNParamAuthMode = 1013,
    DNParamRecordFile = 1002,
    DNParamFolder = 1003, // the working folder
    DNParamCommand = 1004,
    DNParamErrorFile = 1005,
    DNParamStatusFile = 1006,
    DNParamLogFolder = 1007,
    DNParamLogFileName = 1008,
    DNParamLogLevel = 1009,
    DNParamLogEnabled = 1010,
    // Contacts only: "1" or "0", whether accounts, contacts and leads count as contacts.
    DNParamAddrAccount = 1301,
    DNParamAddrContact = 1302,
    DNParamAddrLead = 1303,
    // Calendar only: the range of entries to load, each the whole number of an OLE Automation
    // date; 0 sets no limit.
    DNParamRangeStart = 1201,
    DNParamRangeEnd = 1202,
};

inline constexpr CxHelperParamIds DNParamIds{DNParamRecordFile, DNParamFolder,     DNParamCommand,
                                             DNParamErrorFile,  DNParamStatusFile, DNParamLogFolder,
                                             DNParamLogLevel,   DNParamLogEnabled};
