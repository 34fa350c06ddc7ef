#include "SugarCRM/SGRecords.h"

namespace {

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(SGAddrRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kAddrFields[] = {CX_CRM_LAYOUT_HEAD(SGAddrRec) SG_ADDR_FIELDS(FIELD)};
const char* const kAddrLabels[] = {nullptr, nullptr SG_ADDR_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kAddrFields) / sizeof(kAddrFields[0]) == sizeof(kAddrLabels) / sizeof(kAddrLabels[0]));

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(SGDateRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kDateFields[] = {CX_CRM_LAYOUT_HEAD(SGDateRec) SG_DATE_FIELDS(FIELD)};
const char* const kDateLabels[] = {nullptr, nullptr SG_DATE_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kDateFields) / sizeof(kDateFields[0]) == sizeof(kDateLabels) / sizeof(kDateLabels[0]));

#define FIELD(kind, name, capacity, label) , CX_CRM_LAYOUT_FIELD(SGTaskRec, kind, name, capacity)
#define LABEL(kind, name, capacity, label) , label
const CxLayoutField kTaskFields[] = {CX_CRM_LAYOUT_HEAD(SGTaskRec) SG_TASK_FIELDS(FIELD)};
const char* const kTaskLabels[] = {nullptr, nullptr SG_TASK_FIELDS(LABEL)};
#undef FIELD
#undef LABEL
static_assert(sizeof(kTaskFields) / sizeof(kTaskFields[0]) == sizeof(kTaskLabels) / sizeof(kTaskLabels[0]));

const CxLayoutField kNoteFields[] = {CX_CRM_LAYOUT_HEAD(SGNoteRec)};
const char* const kNoteLabels[] = {nullptr, nullptr};

} // namespace

const CxCRMLayout& SGAddrLayout()
{
    static const CxCRMLayout layout{kAddrFields, kAddrLabels, "ID"};
    return layout;
}

const CxCRMLayout& SGDateLayout()
{
    static const CxCRMLayout layout{kDateFields, kDateLabels, "ID"};
    return layout;
}

const CxCRMLayout& SGTaskLayout()
{
    static const CxCRMLayout layout{kTaskFields, kTaskLabels, "ID"};
    return layout;
}

const CxCRMLayout& SGNoteLayout()
{
    static const CxCRMLayout layout{kNoteFields, kNoteLabels, nullptr};
    return layout;
}
