#include "misc/CxAppDescriptor.h"

#include <exception>
#include <utility>

#include "misc/CxDebugUtil.h"

namespace {

template <class Rec>
CxRecordLines Describe(const std::function<CxRecordLines(const Rec&)>& describe, const Rec& record)
{
    return describe ? describe(record) : CxRecordLines{};
}

bool IsValidDataType(int type)
{
    return type >= kDataContacts && type <= kDataNotes;
}

} // namespace

CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommAddrRec& record)
{
    return Describe(app.describeContact, record);
}
CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommDateRec& record)
{
    return Describe(app.describeEvent, record);
}
CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommTaskRec& record)
{
    return Describe(app.describeTask, record);
}
CxRecordLines DescribeNative(const CxAppDescriptor& app, const CommNoteRec& record)
{
    return Describe(app.describeNote, record);
}

void CxAppRegistry::Add(CxAppDescriptor descriptor)
{
    if (CxAppDescriptor* existing = FindMutable(descriptor.kind)) {
        *existing = std::move(descriptor);
        return;
    }
    m_apps.push_back(std::move(descriptor));
}

const CxAppDescriptor* CxAppRegistry::Find(AppKind kind) const
{
    for (const CxAppDescriptor& app : m_apps) {
        if (app.kind == kind) {
            return &app;
        }
    }
    return nullptr;
}

CxAppDescriptor* CxAppRegistry::FindMutable(AppKind kind)
{
    return const_cast<CxAppDescriptor*>(std::as_const(*this).Find(kind));
}

std::unique_ptr<CxConnector> CxAppRegistry::Create(AppKind kind, DataType type) const
{
    const CxAppDescriptor* app = kind != kAppNone ? Find(kind) : nullptr;
    if (app == nullptr || !IsValidDataType(type) || !app->creators[type]) {
        return nullptr;
    }
    // A connector that cannot be made is a load failure, not a crash.
    try {
        return app->creators[type]();
    } catch (const std::exception& e) {
        FW_LOG(0, "Creating the connector of application kind %d, data type %d failed: %s",
               static_cast<int>(kind), static_cast<int>(type), e.what());
    } catch (...) {
        FW_LOG(0, "Creating the connector of application kind %d, data type %d failed.",
               static_cast<int>(kind), static_cast<int>(type));
    }
    return nullptr;
}
