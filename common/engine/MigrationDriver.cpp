// The driver runs on one engine thread at a time: the registry, the selection lists and the
// settings record it uses have no lock. The application kinds it is given are only read.
#include "engine/MigrationDriver.h"

#include <atomic>
#include <exception>

#include "engine/MigrationFlow.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "misc/Settings.h"

namespace {

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

ConnectorRegistry& ConnectorRegistry::Instance()
{
    static ConnectorRegistry registry;
    return registry;
}

const CxAppDescriptor* ConnectorRegistry::App(AppKind kind) const
{
    return m_apps != nullptr && kind != kAppNone ? m_apps->Find(kind) : nullptr;
}

CxConnector* ConnectorRegistry::Get(AppKind kind, DataType type) const
{
    if (!IsValidDataType(type)) {
        return nullptr;
    }
    auto found = m_connectors.find(kind);
    return found != m_connectors.end() ? found->second[type].get() : nullptr;
}

CxConnector* ConnectorRegistry::GetOrCreate(AppKind kind, DataType type)
{
    if (App(kind) == nullptr || !IsValidDataType(type)) {
        return nullptr;
    }
    std::unique_ptr<CxConnector>& entry = m_connectors[kind][type];
    if (!entry) {
        entry = m_apps->Create(kind, type);
    }
    return entry.get();
}

void ConnectorRegistry::Destroy(AppKind kind)
{
    auto found = m_connectors.find(kind);
    if (found == m_connectors.end()) {
        return;
    }
    for (DataType type : kAllDataTypes) {
        found->second[type].reset();
    }
    m_connectors.erase(found);
}

void ConnectorRegistry::DestroyAll()
{
    static constexpr AppKind kOrder[] = {kAppPalm,    kAppACT,      kAppGoogle,     kAppNotes,
                                         kAppOutlook, kAppDynamics, kAppSalesForce, kAppSugarCRM};
    auto destroy = [this](int kind) { Destroy(static_cast<AppKind>(kind)); };
    for (AppKind kind : kOrder) {
        destroy(kind);
    }
    if (m_apps != nullptr) {
        for (const CxAppDescriptor& app : m_apps->All()) {
            destroy(app.kind);
        }
    }
    // Connectors of kinds the session no longer has.
    while (!m_connectors.empty()) {
        destroy(m_connectors.begin()->first);
    }
}

SelectionList* ConnectorRegistry::GetSelectionList(DataType type)
{
    return IsValidDataType(type) ? m_selections[type].get() : nullptr;
}

void BeginSession(const CxAppRegistry& apps)
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
    registry.m_apps = &apps;
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
    registry.m_apps = nullptr;
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
    const CxAppDescriptor* app = ConnectorRegistry::Instance().App(source);
    if (app == nullptr || app->customMapping == nullptr) {
        return;
    }
    // Connectors read the table when they convert their records; the contacts connector is
    // made now so that it exists before the mapping dialog's results are used.
    ConnectorRegistry::Instance().GetOrCreate(source, kDataContacts);
    const FWSettings& settings = g_Settings();
    const bool enabled = settings.*(app->customMapping);
    for (int slot = 1; slot <= kCustomIDSlots; ++slot) {
        SetMappedField(source, slot, enabled ? settings.CustomID[app->customFirstID + slot - 1] : 0);
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
