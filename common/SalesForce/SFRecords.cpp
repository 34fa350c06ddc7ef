#include "SalesForce/SFRecords.h"

namespace {

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(SFAddrRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kAddrFields[] = {CX_CRM_LAYOUT_HEAD(SFAddrRec) SF_ADDR_FIELDS(FIELD)};
const char* const kAddrLabels[] = {nullptr, nullptr SF_ADDR_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kAddrFields) / sizeof(kAddrFields[0]) == sizeof(kAddrLabels) / sizeof(kAddrLabels[0]));

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(SFDateRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kDateFields[] = {CX_CRM_LAYOUT_HEAD(SFDateRec) SF_DATE_FIELDS(FIELD)};
const char* const kDateLabels[] = {nullptr, nullptr SF_DATE_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kDateFields) / sizeof(kDateFields[0]) == sizeof(kDateLabels) / sizeof(kDateLabels[0]));

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(SFTaskRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kTaskFields[] = {CX_CRM_LAYOUT_HEAD(SFTaskRec) SF_TASK_FIELDS(FIELD)};
const char* const kTaskLabels[] = {nullptr, nullptr SF_TASK_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kTaskFields) / sizeof(kTaskFields[0]) == sizeof(kTaskLabels) / sizeof(kTaskLabels[0]));

const CxLayoutField kNoteFields[] = {CX_CRM_LAYOUT_HEAD(SFNoteRec)};
const char* const kNoteLabels[] = {nullptr, nullptr};

} // namespace

const CxCRMLayout& SFAddrLayout()
{
    static const CxCRMLayout layout{kAddrFields, kAddrLabels, "ID"};
    return layout;
}

const CxCRMLayout& SFDateLayout()
{
    static const CxCRMLayout layout{kDateFields, kDateLabels, "ID"};
    return layout;
}

const CxCRMLayout& SFTaskLayout()
{
    static const CxCRMLayout layout{kTaskFields, kTaskLabels, "ID"};
    return layout;
}

const CxCRMLayout& SFNoteLayout()
{
    static const CxCRMLayout layout{kNoteFields, kNoteLabels, nullptr};
    return layout;
}
