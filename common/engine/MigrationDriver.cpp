// The driver runs on one engine thread at a time: the registry, the selection lists and the
// settings record it uses have no lock. Only the connector factory, which entry points fill
// before any engine work, is guarded.
#include "engine/MigrationDriver.h"

#include <atomic>
#include <exception>
#include <map>
#include <mutex>
#include <utility>

#include "engine/MigrationFlow.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "misc/Settings.h"

namespace {

std::mutex g_factoryLock;
std::map<std::pair<int, int>, ConnectorCreator>& Factory()
{
    static std::map<std::pair<int, int>, ConnectorCreator> factory;
    return factory;
}

std::atomic<long long> g_flowPauseMs{200};

bool IsValidDataType(int type)
{
    return type >= kDataContacts && type <= kDataNotes;
}

void ReportException(ParentWindow parent, const char* what)
{
    FW_LOG(0, "Unhandled exception while submitting: %s", what);
    if (IFrontEnd* frontEnd = GetFrontEnd()) {
        frontEnd->ShowExceptionDialog(parent, what);
    }
}

} // namespace

void RegisterConnector(AppKind kind, DataType type, ConnectorCreator creator)
{
    if (!IsValidAppKind(kind) || !IsValidDataType(type)) {
        return;
    }
    std::lock_guard<std::mutex> guard(g_factoryLock);
    if (creator) {
        Factory()[{kind, type}] = std::move(creator);
    } else {
        Factory().erase({kind, type});
    }
}

void UnregisterAllConnectors()
{
    std::lock_guard<std::mutex> guard(g_factoryLock);
    Factory().clear();
}

std::unique_ptr<CxConnector> CreateConnector(AppKind kind, DataType type)
{
    ConnectorCreator creator;
    {
        std::lock_guard<std::mutex> guard(g_factoryLock);
        auto found = Factory().find({kind, type});
        if (found == Factory().end()) {
            return nullptr;
        }
        creator = found->second;
    }
    // A connector that cannot be made is a load failure, not a crash.
    try {
        return creator();
    } catch (const std::exception& e) {
        FW_LOG(0, "Creating the connector of application kind %d, data type %d failed: %s",
               static_cast<int>(kind), static_cast<int>(type), e.what());
    } catch (...) {
        FW_LOG(0, "Creating the connector of application kind %d, data type %d failed.",
               static_cast<int>(kind), static_cast<int>(type));
    }
    return nullptr;
}

ConnectorRegistry& ConnectorRegistry::Instance()
{
    static ConnectorRegistry registry;
    return registry;
}

CxConnector* ConnectorRegistry::Get(AppKind kind, DataType type) const
{
    if (!IsValidAppKind(kind) || !IsValidDataType(type)) {
        return nullptr;
    }
    return m_connectors[kind][type].get();
}

CxConnector* ConnectorRegistry::GetOrCreate(AppKind kind, DataType type)
{
    if (!IsValidAppKind(kind) || !IsValidDataType(type)) {
        return nullptr;
    }
    std::unique_ptr<CxConnector>& entry = m_connectors[kind][type];
    if (!entry) {
        entry = CreateConnector(kind, type);
    }
    return entry.get();
}

void ConnectorRegistry::DestroyAll()
{
    static constexpr AppKind kOrder[] = {kAppPalm,    kAppACT,      kAppGoogle,     kAppNotes,
                                         kAppOutlook, kAppDynamics, kAppSalesForce, kAppSugarCRM};
    for (AppKind kind : kOrder) {
        for (DataType type : kAllDataTypes) {
            m_connectors[kind][type].reset();
        }
    }
}

SelectionList* ConnectorRegistry::GetSelectionList(DataType type)
{
    return IsValidDataType(type) ? m_selections[type].get() : nullptr;
}

void BeginSession()
{
    std::string folder;
    if (GetWorkingFolder(folder)) {
        g_SettingsIni().SetPath((folder + kSettingsFileName).c_str());
    } else {
        FW_LOG(0, "The working folder could not be determined; the settings keep their default file.");
    }
    LoadSettings();

    if (!folder.empty()) {
        g_debugLog.SetLogFolder(folder.c_str());
    }
    g_debugLog.EnableLog(g_Settings().EnableDebug);
    g_debugLog.SetLogLevel(g_Settings().LogLevel);

    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    registry.DestroyAll();
    for (auto& list : registry.m_selections) {
        list = std::make_unique<SelectionList>();
    }
}

void EndSession(bool saveSettings)
{
    if (saveSettings) {
        SaveSettings();
    }
    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    registry.DestroyAll();
    // The lists borrow their records from the source stores: destroying a list forgets them.
    for (auto& list : registry.m_selections) {
        list.reset();
    }
}

bool LoadAndCompare(ParentWindow parent, AppKind source, AppKind target)
{
    if (source == target) {
        return true;
    }
    if (!MigrationFlow::Load(parent, target, kAppNone)) {
        return false;
    }
    return MigrationFlow::Load(parent, source, target);
}

bool LoadOne(ParentWindow parent, AppKind kind, DataType type)
{
    if (!IsValidDataType(type)) {
        return false;
    }
    return MigrationFlow::Load(parent, kind, kAppNone, type);
}

bool SubmitSelection(ParentWindow parent, AppKind target)
{
    if (!MigrationFlow::HasSubmitFlow(target)) {
        return false;
    }
    try {
        return MigrationFlow::Submit(parent, target);
    } catch (const std::exception& e) {
        ReportException(parent, e.what());
    } catch (...) {
        ReportException(parent, "unknown exception");
    }
    return false;
}

void PrepareFieldMapping(AppKind source)
{
    struct Mapping
    {
        AppKind kind;
        bool FWSettings::*enabled;
        int firstID;
    };
    static constexpr Mapping kMappings[] = {
        {kAppACT, &FWSettings::ACTCustom, kCustomIDACT},
        {kAppGoogle, &FWSettings::GGCustom, kCustomIDGoogle},
        {kAppOutlook, &FWSettings::OLCustom, kCustomIDOutlook},
        {kAppNotes, &FWSettings::LNCustom, kCustomIDNotes},
        {kAppPalm, &FWSettings::PDCustom, kCustomIDPalm},
    };
    for (const Mapping& mapping : kMappings) {
        if (mapping.kind != source) {
            continue;
        }
        // Connectors read the table when they convert their records; the contacts connector is
        // made now so that it exists before the mapping dialog's results are used.
        ConnectorRegistry::Instance().GetOrCreate(source, kDataContacts);
        const FWSettings& settings = g_Settings();
        const bool enabled = settings.*mapping.enabled;
        for (int slot = 1; slot <= kCustomIDSlots; ++slot) {
            SetMappedField(source, slot, enabled ? settings.CustomID[mapping.firstID + slot - 1] : 0);
        }
        return;
    }
}

void SetFlowPause(std::chrono::milliseconds pause)
{
    g_flowPauseMs.store(pause.count() > 0 ? pause.count() : 0);
}

std::chrono::milliseconds GetFlowPause()
{
    return std::chrono::milliseconds(g_flowPauseMs.load());
}
