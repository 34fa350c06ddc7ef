#include "misc/CxAppDescriptor.h"

#include <exception>
#include <utility>

#include "misc/CxDebugUtil.h"
#include "misc/Settings.h"

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

ConnectorConfig HelperConnectorConfig(const FWSettings& settings, const std::string& workingFolder)
{
    ConnectorConfig config;
    config.dataFolder = workingFolder;
    config.logFolder = workingFolder;
    config.enableDebug = settings.EnableDebug;
    config.logLevel = settings.LogLevel;
    return config;
}

CxAppDescriptor HelperAppDescriptor(AppKind kind, std::string name, const std::string& statusPrefix,
                                    std::initializer_list<DataType> types, CxConfigureConnector configure)
{
    static const char* const kStatusNames[kDataTypeCount] = {"AddrStatus.dat", "DateStatus.dat",
                                                             "TaskStatus.dat", "NoteStatus.dat"};
    CxAppDescriptor app;
    app.kind = kind;
    app.name = std::move(name);
    app.helperUtility = true;
    for (DataType type : types) {
        if (IsValidDataType(type)) {
            app.statusFiles[type] = statusPrefix + kStatusNames[type];
        }
    }
    app.makeConfig = [configure](DataType type, const FWSettings& settings,
                                 const std::string& workingFolder) {
        ConnectorConfig config = HelperConnectorConfig(settings, workingFolder);
        if (configure != nullptr) {
            configure(type, settings, config);
        }
        return std::optional<ConnectorConfig>(config);
    };
    return app;
}

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
