#pragma once
// The record layouts of the CRM families (salesforce, SugarCRM, Dynamics CRM) are written once
// as lists of fields, X(kind, name, capacity, label), from which both the record struct and
// its field table (CxRecordLayout) are made, so that the two cannot disagree:
//
//   #define XX_TASK_FIELDS(X) X(TEXT, ID, 32, "") X(DATE, Value2, 0, "") ...
//   struct XXTaskRec { CX_CRM_RECORD_HEAD XX_TASK_FIELDS(CX_CRM_MEMBER) };
//
// kinds: TEXT (capacity bytes, terminator included), INT (4 bytes), FLAG (4 bytes, 0 or 1; held
// in 4 bytes in memory as well, the size the field reader writes),
// DATE (OLE Automation date) and DOUBLE (8 bytes). A label is the field's name in the
// application's field list; an empty one means the value is unnamed there.
//
// Every record starts with an integer that lives in memory only (the record file does not hold
// it), then the change mark and the action, which the record file does hold.
#include <cstddef>
#include <span>
#include <string>

#include "exchange/CxRecordLayout.h"
#include "misc/CxAppDescriptor.h"

#define CX_CRM_RECORD_HEAD                                                                                   \
    int Kept0; /* in memory only */                                                                          \
    int ChangeMark;                                                                                          \
    int Action;

#define CX_CRM_MEMBER_TEXT(name, capacity) char name[capacity];
#define CX_CRM_MEMBER_INT(name, capacity) int name;
#define CX_CRM_MEMBER_FLAG(name, capacity) int name;
#define CX_CRM_MEMBER_DATE(name, capacity) double name;
#define CX_CRM_MEMBER_DOUBLE(name, capacity) double name;
#define CX_CRM_MEMBER(kind, name, capacity, label) CX_CRM_MEMBER_##kind(name, capacity)

#define CX_CRM_KIND_TEXT CxFieldKind::Text
#define CX_CRM_KIND_INT CxFieldKind::Integer
#define CX_CRM_KIND_FLAG CxFieldKind::Boolean
#define CX_CRM_KIND_DATE CxFieldKind::Date
#define CX_CRM_KIND_DOUBLE CxFieldKind::Date // stored as the same 8-byte double

// The field table entry of one field of struct S (capacity only counts for texts).
#define CX_CRM_LAYOUT_FIELD(S, kind, name, capacity)                                                         \
    CxLayoutField                                                                                            \
    {                                                                                                        \
#name, CX_CRM_KIND_##kind, offsetof(S, name), CX_CRM_KIND_##kind == CxFieldKind::Text ? capacity : 0 \
    }

// The change mark and the action, the first two fields of every layout.
#define CX_CRM_LAYOUT_HEAD(S)                                                                                \
    CxLayoutField{"ChangeMark", CxFieldKind::Integer, offsetof(S, ChangeMark), 0}, CxLayoutField             \
    {                                                                                                        \
        "Action", CxFieldKind::Integer, offsetof(S, Action), 0                                               \
    }

// A layout of one CRM record file: its fields in file order (change mark and action first),
// the label of each field at the same index (null for the change mark and the action, empty
// for an unnamed value), and the name of the field that names the item in the application
// (null: the records carry none, and a helper identifies them by their place in the file).
struct CxCRMLayout
{
    std::span<const CxLayoutField> fields;
    std::span<const char* const> labels;
    const char* idField;
};

// The field of a layout by name; null when there is none.
const CxLayoutField* FindCRMField(const CxCRMLayout& layout, const char* name);

// The record detail lines of a native record: every field but the change mark and the
// action whose value is not empty or zero, by its label (an unnamed value by its name).
CxRecordLines DescribeCRMRecord(const CxCRMLayout& layout, const void* rec);
