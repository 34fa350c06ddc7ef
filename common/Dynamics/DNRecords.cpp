#include "Dynamics/DNRecords.h"

namespace {

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(DNAddrRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kAddrFields[] = {CX_CRM_LAYOUT_HEAD(DNAddrRec) DN_ADDR_FIELDS(FIELD)};
const char* const kAddrLabels[] = {nullptr, nullptr DN_ADDR_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kAddrFields) / sizeof(kAddrFields[0]) == sizeof(kAddrLabels) / sizeof(kAddrLabels[0]));

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(DNDateRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kDateFields[] = {CX_CRM_LAYOUT_HEAD(DNDateRec) DN_DATE_FIELDS(FIELD)};
const char* const kDateLabels[] = {nullptr, nullptr DN_DATE_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kDateFields) / sizeof(kDateFields[0]) == sizeof(kDateLabels) / sizeof(kDateLabels[0]));

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(DNTaskRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kTaskFields[] = {CX_CRM_LAYOUT_HEAD(DNTaskRec) DN_TASK_FIELDS(FIELD)};
const char* const kTaskLabels[] = {nullptr, nullptr DN_TASK_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kTaskFields) / sizeof(kTaskFields[0]) == sizeof(kTaskLabels) / sizeof(kTaskLabels[0]));

const CxLayoutField kNoteFields[] = {CX_CRM_LAYOUT_HEAD(DNNoteRec)};
const char* const kNoteLabels[] = {nullptr, nullptr};

} // namespace

const CxCRMLayout& DNAddrLayout()
{
    static const CxCRMLayout layout{kAddrFields, kAddrLabels, "ContactID"};
    return layout;
}

const CxCRMLayout& DNDateLayout()
{
    static const CxCRMLayout layout{kDateFields, kDateLabels, "ID"};
    return layout;
}

const CxCRMLayout& DNTaskLayout()
{
    static const CxCRMLayout layout{kTaskFields, kTaskLabels, "ID"};
    return layout;
}

const CxCRMLayout& DNNoteLayout()
{
    static const CxCRMLayout layout{kNoteFields, kNoteLabels, nullptr};
    return layout;
}
