#pragma once
// The native records of the SugarCRM record files ("SGAddr.dat", "SGDate.dat", "SGTask.dat",
// "SGNote.dat") and the exchange files of the four SugarCRM helpers, shared by the connectors
// and the helper programs so that both sides read and write them with the same code (see
// exchange/CxCRMLayout.h for how a layout is written).
//
// Values that the field list of SugarCRM leaves unnamed are called ValueN after their place
// in the record (1 is the first value after the action); the helpers keep them as they are.
// The first text of a calendar or task record is the item's identifier, as the helpers use
// it; the note records carry nothing but the change mark and the action.
#include "exchange/CxCRMLayout.h"
#include "exchange/CxHelperProtocol.h"

// clang-format off
#define SG_ADDR_FIELDS(X)                                                                                    \
    X(INT, Value1, 0, "")                                                                                    \
    X(TEXT, ID, 40, "ID")                                                                                    \
    X(TEXT, Salutation, 32, "Salutation")                                                                    \
    X(TEXT, FirstName, 32, "First Name")                                                                     \
    X(TEXT, LastName, 32, "Last Name")                                                                       \
    X(TEXT, JobTitle, 32, "Job Title")                                                                       \
    X(TEXT, Department, 32, "Department")                                                                    \
    X(FLAG, DoNotCall, 0, "Do Not Call")                                                                     \
    X(TEXT, WorkPhone, 32, "Work Phone No.")                                                                 \
    X(TEXT, HomePhone, 32, "Home Phone No.")                                                                 \
    X(TEXT, MobilePhone, 32, "Mobile Phone No.")                                                             \
    X(TEXT, OtherPhone, 32, "Other Phone No.")                                                               \
    X(TEXT, Fax, 32, "Fax No.")                                                                              \
    X(TEXT, Value14, 64, "")                                                                                 \
    X(TEXT, Value15, 64, "")                                                                                 \
    X(TEXT, Value16, 64, "")                                                                                 \
    X(TEXT, PrimaryStreet, 256, "Primary Address: Street")                                                   \
    X(TEXT, PrimaryCity, 32, "Primary Address: City")                                                        \
    X(TEXT, PrimaryState, 32, "Primary Address: State")                                                      \
    X(TEXT, PrimaryPostalCode, 32, "Primary Address: Postal Code")                                           \
    X(TEXT, PrimaryCountry, 32, "Primary Address: Country")                                                  \
    X(TEXT, AlternateStreet, 256, "Alternate Address: Street")                                               \
    X(TEXT, AlternateCity, 32, "Alternate Address: City")                                                    \
    X(TEXT, AlternateState, 32, "Alternate Address: State")                                                  \
    X(TEXT, AlternatePostalCode, 32, "Alternate Address: Postal Code")                                       \
    X(TEXT, AlternateCountry, 32, "Alternate Address: Country")                                              \
    X(TEXT, AssistantName, 32, "Assistant Name")                                                             \
    X(TEXT, AssistantPhone, 32, "Assistant Phone No.")                                                       \
    X(TEXT, LeadSource, 256, "Lead Source")                                                                  \
    X(TEXT, Website, 256, "Website")                                                                         \
    X(DATE, BirthDate, 0, "Birth Date")                                                                      \
    X(TEXT, Description, 8192, "Description")                                                                \
    X(DATE, CreatedTime, 0, "Created Time")                                                                  \
    X(DATE, LastModifiedTime, 0, "Last Modified Time")

#define SG_DATE_FIELDS(X)                                                                                    \
    X(INT, Value1, 0, "") X(TEXT, ID, 40, "") X(TEXT, Value3, 64, "") X(DATE, Value4, 0, "")                 \
    X(DATE, Value5, 0, "") X(INT, Value6, 0, "") X(INT, Value7, 0, "") X(TEXT, Value8, 32, "")               \
    X(TEXT, Value9, 32, "") X(DATE, Value10, 0, "") X(TEXT, Value11, 64, "") X(TEXT, Value12, 64, "")        \
    X(TEXT, Value13, 256, "") X(TEXT, Value14, 256, "") X(TEXT, Value15, 256, "") X(TEXT, Value16, 256, "")  \
    X(TEXT, Value17, 8192, "") X(DATE, Value18, 0, "") X(DATE, Value19, 0, "")

#define SG_TASK_FIELDS(X)                                                                                    \
    X(TEXT, ID, 40, "") X(TEXT, Value2, 64, "") X(TEXT, Value3, 8196, "") X(DATE, Value4, 0, "")             \
    X(DATE, Value5, 0, "") X(FLAG, Value6, 0, "") X(FLAG, Value7, 0, "") X(TEXT, Value8, 32, "")             \
    X(TEXT, Value9, 32, "") X(TEXT, Value10, 40, "") X(TEXT, Value11, 46, "") X(DATE, Value12, 0, "")        \
    X(DATE, Value13, 0, "")
// clang-format on

struct SGAddrRec
{
    CX_CRM_RECORD_HEAD
    SG_ADDR_FIELDS(CX_CRM_MEMBER)
};

struct SGDateRec
{
    CX_CRM_RECORD_HEAD
    SG_DATE_FIELDS(CX_CRM_MEMBER)
};

struct SGTaskRec
{
    CX_CRM_RECORD_HEAD
    SG_TASK_FIELDS(CX_CRM_MEMBER)
};

struct SGNoteRec
{
    CX_CRM_RECORD_HEAD
};

const CxCRMLayout& SGAddrLayout();
const CxCRMLayout& SGDateLayout();
const CxCRMLayout& SGTaskLayout();
const CxCRMLayout& SGNoteLayout();

// The helpers and their exchange files.
inline constexpr CxHelperFiles SGAddrFiles{"fw-sugarcrm-contacts", "SGAddr.dat",       "SGAddrParam.dat",
                                           "SGAddrErr.dat",        "SGAddrStatus.dat", "SGAddr.ini"};
inline constexpr CxHelperFiles SGDateFiles{"fw-sugarcrm-calendar", "SGDate.dat",       "SGDateParam.dat",
                                           "SGDateErr.dat",        "SGDateStatus.dat", "SGDate.ini"};
inline constexpr CxHelperFiles SGTaskFiles{"fw-sugarcrm-tasks", "SGTask.dat",       "SGTaskParam.dat",
                                           "SGTaskErr.dat",     "SGTaskStatus.dat", "SGTask.ini"};
inline constexpr CxHelperFiles SGNoteFiles{"fw-sugarcrm-notes", "SGNote.dat",       "SGNoteParam.dat",
                                           "SGNoteErr.dat",     "SGNoteStatus.dat", "SGNote.ini"};

// The parameters, in the order the connectors write them. Every value is a text.
enum SGParam : int
{
    SGParamHost = 1000, // the server
    SGParamUserName = 1001,
    SGParamPassword = 1002,
    SGParamRecordFile = 1003,
    SGParamFolder = 1004, // the working folder
    SGParamCommand = 1005,
    SGParamErrorFile = 1006,
    SGParamStatusFile = 1007,
    SGParamLogFolder = 1008,
    SGParamLogFileName = 1009,
    SGParamLogLevel = 1010,
    SGParamLogEnabled = 1011,
    // Calendar only: the range of entries to load, each the whole number of an OLE Automation
    // date (0 sets no limit), then two flags, always "1".
    SGParamRangeStart = 1201,
    SGParamRangeEnd = 1202,
    SGParamCalendarFlag1 = 1203,
    SGParamCalendarFlag2 = 1204,
};

inline constexpr CxHelperParamIds SGParamIds{SGParamRecordFile, SGParamFolder,     SGParamCommand,
                                             SGParamErrorFile,  SGParamStatusFile, SGParamLogFolder,
                                             SGParamLogLevel,   SGParamLogEnabled};
