#pragma once
// The native records of the salesforce record files ("SFAddr.dat", "SFDate.dat", "SFTask.dat",
// "SFNote.dat") and the exchange files of the four salesforce helpers, shared by the
// connectors and the helper programs so that both sides read and write them with the same
// code (see exchange/CxCRMLayout.h for how a layout is written).
//
// Values that the field list of salesforce leaves unnamed are called ValueN after their place
// in the record (1 is the first value after the action); the helpers keep them as they are.
// The first text of a calendar or task record is the item's identifier, as the helpers use
// it; the note records carry nothing but the change mark and the action.
#include "exchange/CxCRMLayout.h"
#include "exchange/CxHelperProtocol.h"

// clang-format off
#define SF_ADDR_FIELDS(X)                                                                                    \
    X(INT, Value1, 0, "")                                                                                    \
    X(TEXT, ID, 21, "ID")                                                                                    \
    X(TEXT, AccountID, 21, "Account ID")                                                                     \
    X(TEXT, AssistantName, 32, "Assistant Name")                                                             \
    X(TEXT, AssistantPhone, 32, "Assistant Phone")                                                           \
    X(DATE, BirthDate, 0, "Birth Date")                                                                      \
    X(TEXT, Department, 32, "Department")                                                                    \
    X(TEXT, Description, 32768, "Description")                                                               \
    X(FLAG, DoNotCall, 0, "Do Not Call")                                                                     \
    X(TEXT, Email, 64, "Email")                                                                              \
    X(TEXT, Fax, 32, "Fax")                                                                                  \
    X(TEXT, FirstName, 32, "First Name")                                                                     \
    X(FLAG, EmailOptOut, 0, "Email Opt Out")                                                                 \
    X(FLAG, FaxOptOut, 0, "Fax Opt Out")                                                                     \
    X(TEXT, HasPhone, 32, "Has Phone")                                                                       \
    X(FLAG, IsDeleted, 0, "Is Deleted")                                                                      \
    X(FLAG, IsPersonAccount, 0, "Is Person Account")                                                         \
    X(DATE, LastActivityDate, 0, "Last Activity Date")                                                       \
    X(DATE, LastStayInTouchRequestDate, 0, "Last Stay-in-Touch Request Date")                                \
    X(DATE, LastStayInTouchUpdateDate, 0, "Last Stay-in-Touch Update Date")                                  \
    X(TEXT, LastName, 32, "Last Name")                                                                       \
    X(TEXT, LeadSource, 32, "Lead Source")                                                                   \
    X(TEXT, MailingCity, 32, "Mailing City")                                                                 \
    X(TEXT, MailingCountry, 32, "Mailing Country")                                                           \
    X(TEXT, MailingPostalCode, 32, "Mailing Postal Code")                                                    \
    X(TEXT, MailingState, 32, "Mailing State")                                                               \
    X(TEXT, MailingStreet, 256, "Mailing Street")                                                            \
    X(TEXT, MobilePhone, 32, "Mobile Phone")                                                                 \
    X(TEXT, Name, 64, "Name")                                                                                \
    X(TEXT, OtherCity, 32, "Other City")                                                                     \
    X(TEXT, OtherCountry, 32, "Other Country")                                                               \
    X(TEXT, OtherPhone, 32, "Other Phone")                                                                   \
    X(TEXT, OtherPostalCode, 32, "Other Postal Code")                                                        \
    X(TEXT, OtherState, 32, "Other State")                                                                   \
    X(TEXT, OtherStreet, 256, "Other Street")                                                                \
    X(TEXT, OwnerID, 21, "Owner ID")                                                                         \
    X(TEXT, Phone, 32, "Phone")                                                                              \
    X(TEXT, Salutation, 32, "Salutation")                                                                    \
    X(TEXT, Title, 32, "Title")                                                                              \
    X(DOUBLE, AnnualRevenue, 0, "Annual Revenue")                                                            \
    X(TEXT, Industory, 32, "Industory")                                                                      \
    X(INT, NumberOfEmployees, 0, "Number of Employees")                                                      \
    X(TEXT, Rating, 32, "Rating")                                                                            \
    X(TEXT, BillingStreet, 256, "Billing Street")                                                            \
    X(TEXT, BillingCity, 32, "Billing City")                                                                 \
    X(TEXT, BillingState, 32, "Billing State")                                                               \
    X(TEXT, BillingPostalCode, 32, "Billing Postal Code")                                                    \
    X(TEXT, BillingCountry, 32, "Billing Country")                                                           \
    X(TEXT, ShippingStreet, 256, "Shipping Street")                                                          \
    X(TEXT, ShippingCity, 32, "Shipping City")                                                               \
    X(TEXT, ShippingState, 32, "Shipping State")                                                             \
    X(TEXT, ShippingPostalCode, 32, "Shipping Postal Code")                                                  \
    X(TEXT, ShippingCountry, 32, "Shipping Country")                                                         \
    X(TEXT, Custom1, 64, "Custom 1")                                                                         \
    X(TEXT, Custom2, 64, "Custom 2")                                                                         \
    X(TEXT, Custom3, 64, "Custom 3")                                                                         \
    X(TEXT, Custom4, 64, "Custom 4")                                                                         \
    X(TEXT, Custom5, 64, "Custom 5")                                                                         \
    X(TEXT, Custom6, 64, "Custom 6")                                                                         \
    X(TEXT, Custom7, 64, "Custom 7")                                                                         \
    X(TEXT, Custom8, 64, "Custom 8")                                                                         \
    X(TEXT, Custom9, 64, "Custom 9")                                                                         \
    X(TEXT, Custom10, 64, "Custom 10")                                                                       \
    X(TEXT, Value64, 64, "")                                                                                 \
    X(TEXT, Value65, 64, "")                                                                                 \
    X(TEXT, Value66, 64, "")                                                                                 \
    X(TEXT, Value67, 64, "")                                                                                 \
    X(TEXT, Value68, 64, "")                                                                                 \
    X(TEXT, Value69, 64, "")                                                                                 \
    X(TEXT, Value70, 64, "")                                                                                 \
    X(TEXT, Value71, 64, "")                                                                                 \
    X(TEXT, Value72, 64, "")                                                                                 \
    X(TEXT, Value73, 64, "")                                                                                 \
    X(DATE, Created, 0, "Created")                                                                           \
    X(DATE, LastModified, 0, "Last Modified")

#define SF_DATE_FIELDS(X)                                                                                    \
    X(TEXT, ID, 21, "") X(TEXT, Value2, 23, "") X(DATE, Value3, 0, "") X(DATE, Value4, 0, "")                \
    X(TEXT, Value5, 32768, "") X(INT, Value6, 0, "") X(DATE, Value7, 0, "")                                  \
    X(FLAG, Value8, 0, "") X(FLAG, Value9, 0, "") X(FLAG, Value10, 0, "") X(FLAG, Value11, 0, "")            \
    X(FLAG, Value12, 0, "") X(FLAG, Value13, 0, "") X(FLAG, Value14, 0, "") X(FLAG, Value15, 0, "")          \
    X(TEXT, Value16, 256, "") X(TEXT, Value17, 21, "") X(TEXT, Value18, 23, "") X(INT, Value19, 0, "")       \
    X(INT, Value20, 0, "") X(DATE, Value21, 0, "") X(INT, Value22, 0, "") X(INT, Value23, 0, "")             \
    X(INT, Value24, 0, "") X(DATE, Value25, 0, "") X(TEXT, Value26, 16, "") X(INT, Value27, 0, "")           \
    X(DATE, Value28, 0, "") X(TEXT, Value29, 16, "") X(TEXT, Value30, 256, "") X(DATE, Value31, 0, "")       \
    X(DATE, Value32, 0, "") X(DATE, Value33, 0, "")

#define SF_TASK_FIELDS(X)                                                                                    \
    X(TEXT, ID, 32, "") X(TEXT, Value2, 36, "") X(DATE, Value3, 0, "") X(TEXT, Value4, 256, "")              \
    X(INT, Value5, 0, "") X(TEXT, Value6, 256, "") X(TEXT, Value7, 32, "") X(TEXT, Value8, 8192, "")         \
    X(FLAG, Value9, 0, "") X(FLAG, Value10, 0, "") X(FLAG, Value11, 0, "") X(FLAG, Value12, 0, "")           \
    X(TEXT, Value13, 32, "") X(TEXT, Value14, 32, "") X(DATE, Value15, 0, "") X(TEXT, Value16, 32, "")       \
    X(TEXT, Value17, 256, "") X(TEXT, Value18, 32, "") X(TEXT, Value19, 32, "") X(DATE, Value20, 0, "")      \
    X(DATE, Value21, 0, "")
// clang-format on

struct SFAddrRec
{
    CX_CRM_RECORD_HEAD
    SF_ADDR_FIELDS(CX_CRM_MEMBER)
};

struct SFDateRec
{
    CX_CRM_RECORD_HEAD
    SF_DATE_FIELDS(CX_CRM_MEMBER)
};

struct SFTaskRec
{
    CX_CRM_RECORD_HEAD
    SF_TASK_FIELDS(CX_CRM_MEMBER)
};

struct SFNoteRec
{
    CX_CRM_RECORD_HEAD
};

const CxCRMLayout& SFAddrLayout();
const CxCRMLayout& SFDateLayout();
const CxCRMLayout& SFTaskLayout();
const CxCRMLayout& SFNoteLayout();

// The helpers and their exchange files.
inline constexpr CxHelperFiles SFAddrFiles{"fw-salesforce-contacts", "SFAddr.dat",       "SFAddrParam.dat",
                                           "SFAddrErr.dat",          "SFAddrStatus.dat", "SFAddr.ini"};
inline constexpr CxHelperFiles SFDateFiles{"fw-salesforce-calendar", "SFDate.dat",       "SFDateParam.dat",
                                           "SFDateErr.dat",          "SFDateStatus.dat", "SFDate.ini"};
inline constexpr CxHelperFiles SFTaskFiles{"fw-salesforce-tasks", "SFTask.dat",       "SFTaskParam.dat",
                                           "SFTaskErr.dat",       "SFTaskStatus.dat", "SFTask.ini"};
inline constexpr CxHelperFiles SFNoteFiles{"fw-salesforce-notes", "SFNote.dat",       "SFNoteParam.dat",
                                           "SFNoteErr.dat",       "SFNoteStatus.dat", "SFNote.ini"};

// The parameters, in the order the connectors write them. Every value is a text.
enum SFParam : int
{
    SFParamUserName = 1001,
    SFParamPassword = 1002,
    SFParamToken = 1003, // the security token
    SFParamRecordFile = 1004,
    SFParamFolder = 1005, // the working folder
    SFParamCommand = 1006,
    SFParamErrorFile = 1007,
    SFParamStatusFile = 1008,
    SFParamLogFolder = 1009,
    SFParamLogFileName = 1010,
    SFParamLogLevel = 1011,
    SFParamLogEnabled = 1012,
    // Calendar only: the range of entries to load, each the whole number of an OLE Automation
    // date; 0 sets no limit.
    SFParamRangeStart = 1201,
    SFParamRangeEnd = 1202,
};

inline constexpr CxHelperParamIds SFParamIds{SFParamRecordFile, SFParamFolder,     SFParamCommand,
                                             SFParamErrorFile,  SFParamStatusFile, SFParamLogFolder,
                                             SFParamLogLevel,   SFParamLogEnabled};
