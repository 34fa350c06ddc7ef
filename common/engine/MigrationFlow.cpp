#include "engine/MigrationFlow.h"

#include <deque>
#include <map>
#include <memory>
#include <thread>

#include "engine/MigrationDriver.h"
#include "engine/WaitWindowControl.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxMILog.h"
#include "misc/CxStoreVisit.h"
#include "misc/FlowCancel.h"
#include "misc/FlowProgress.h"
#include "platform/CodePage.h"

namespace {

struct DataTypeFlow
{
    const char* loadProgress; // null: the kind has no flow for this data type
    const char* loadFailure;  // "%s" (at most one) stands for the connector's error text
    const char* submitFailure;
};

struct KindFlow
{
    AppKind kind;
    const char* errorName; // the application's name in our own error texts
    const char* loadOpening;
    DataTypeFlow types[kDataTypeCount];
    // Submit; a null opening line means the kind is never a target.
    const char* submitOpeningLine;
    const char* submitProgress;
    const char* submitClosingLine; // null: none
    bool logBeforeSubmit;          // the migration-log entry goes before SubmitRecord, else after
    bool waitWindowBeforeLog;      // the wait window starts before the migration log is opened
    bool writeNow;                 // records are written at once (no commit step)
};

const KindFlow kFlows[] = {
    {kAppACT,
     "ACT!",
     "Loading information from ACT! ...",
     {{"Loading ACT! Contacts ...", "Loading ACT! Contacts Error: %s",
       "Failed to submit Contact changes to ACT!, Error=%s"},
      {"Loading ACT! Calendar ...", "Loading ACT! Calendar Error: %s",
       "Failed to submit Calendar changes to ACT!, Error=%s"},
      {"Loading ACT! Todos and Opportunities ...", "Loading ACT! Todos or Opportunities Error: %s",
       "Failed to submit Task changes to ACT!, Error=%s"},
      {"Loading ACT! Notes ...", "Loading ACT! Notes Error: %s",
       "Failed to submit Notes changes to ACT!, Error=%s"}},
     "Migrating information to ACT! ...\r\n",
     "Migrating information to ACT! ...",
     "Migrating information to ACT! completed successfully.",
     false,
     true,
     false},
    {kAppGoogle,
     "Google",
     "Loading information from Google account ...",
     {{"Loading Google Contacts ...", "Loading Google Contacts Error: %s",
       "Failed to submit Contact changes to Google, Error=%s"},
      {"Loading Google Calendar ...", "Loading Google Calendar Error: %s",
       "Failed to submit Calendar changes to Google, Error=%s"},
      {nullptr, nullptr, nullptr},
      {nullptr, nullptr, nullptr}},
     "Start migrating information to Google account ...",
     "Migrating information to Google account ...",
     "Migrating information to Google account completed successfully.",
     true,
     false,
     false},
    {kAppOutlook,
     "Outlook",
     "Loading information from Outlook ...",
     {{"Loading Outlook Contacts ...", "Failed to load Outlook Contacts information.", nullptr},
      {"Loading Outlook Calendar ...", "Failed to load Outlook Calendar information.", nullptr},
      {"Loading Outlook Tasks ...", "Failed to load Outlook Task information.", nullptr},
      {"Loading Outlook Notes ...", "Failed to load Outlook Notes information.", nullptr}},
     "Start migrating information to Outlook ...",
     "Migrating information to Outlook ...",
     "Migrating information to Outlook completed successfully.",
     true,
     false,
     true},
    {kAppNotes,
     "Lotus Notes",
     "Loading information from Lotus Notes ...",
     {{"Loading Lotus Notes Contacts ...", "Loading Lotus Notes Contacts Error: %s",
       "Failed to submit Contact changes to Lotus Notes, Error=%s"},
      {"Loading Lotus Notes Calendar ...", "Loading Lotus Notes Calendar Error: %s",
       "Failed to submit Calendar changes to Lotus Notes, Error=%s"},
      {"Loading Lotus Notes Todos ...", "Loading Lotus Notes Todo Error: %s",
       "Failed to submit Task changes to Lotus Notes, Error=%s"},
      {"Loading Lotus Notes Notebook ...", "Loading Lotus Notes Notebook Error: %s",
       "Failed to submit Notes changes to Lotus Notes, Error=%s"}},
     "Start migrating information to Lotus Notes.",
     "Migrating information to Lotus Notes ...",
     nullptr,
     true,
     false,
     false},
    {kAppPalm,
     "Palm Desktop",
     "Loading information from Palm Desktop ...",
     {{"Loading Palm Desktop Contacts ...", "Failed to load Palm Desktop Contacts information. Error: %s",
       nullptr},
      {"Loading Palm Desktop Calendar ...", "Failed to load Palm Desktop Calendar information. Error: %s",
       nullptr},
      {"Loading Palm Desktop Tasks ...", "Failed to load Palm Desktop Task information. Error: %s", nullptr},
      {"Loading Palm Desktop Notes ...", "Failed to load Palm Desktop Memos information. Error: %s",
       nullptr}},
     nullptr,
     nullptr,
     nullptr,
     false,
     false,
     false},
    {kAppDynamics,
     "Dynamics CRM",
     "Loading information from Dynamics CRM ...",
     {{"Loading Dynamics CRM Contacts ...", "Loading Dynamics CRM Contacts Error: %s",
       "Failed to submit Contact changes to Dynamics CRM, Error=%s"},
      {"Loading Dynamics CRM Calendar ...", "Loading Dynamics CRM Calendar Error: %s",
       "Failed to submit Calendar changes to Dynamics CRM, Error=%s"},
      {"Loading Dynamics CRM Tasks ...", "Loading Dynamics CRM Tasks Error: %s",
       "Failed to submit Task changes to Dynamics CRM, Error=%s"},
      {"Loading Dynamics CRM Notes ...", "Loading Dynamics CRM Notes Error: %s",
       "Failed to submit Notes changes to Dynamics CRM, Error=%s"}},
     "Migrating information to Dynamics CRM ...\r\n",
     "Migrating information to Dynamics CRM ...",
     "Migrating information to Dynamics CRM completed successfully.",
     false,
     true,
     false},
    {kAppSalesForce,
     "salesforce",
     "Loading information from salesforce ...",
     {{"Loading salesforce Contacts ...", "Loading salesforce Contacts Error: %s",
       "Failed to submit Contact changes to salesforce, Error=%s"},
      {"Loading salesforce Calendar ...", "Loading salesforce Calendar Error: %s",
       "Failed to submit Calendar changes to salesforce, Error=%s"},
      {"Loading salesforce Tasks ...", "Loading salesforce Tasks Error: %s",
       "Failed to submit Task changes to salesforce, Error=%s"},
      {"Loading salesforce Notes ...", "Loading salesforce Notes Error: %s",
       "Failed to submit Notes changes to salesforce, Error=%s"}},
     "Migrating information to salesforce ...\r\n",
     "Migrating information to salesforce ...",
     "Migrating information to salesforce completed successfully.",
     false,
     true,
     false},
    {kAppSugarCRM,
     "SugarCRM",
     "Loading information from SugarCRM ...",
     {{"Loading SugarCRM Contacts ...", "Loading SugarCRM Contacts Error: %s",
       "Failed to submit Contact changes to SugarCRM, Error=%s"},
      {"Loading SugarCRM Calendar ...", "Loading SugarCRM Calendar Error: %s",
       "Failed to submit Calendar changes to SugarCRM, Error=%s"},
      {"Loading SugarCRM Tasks ...", "Loading SugarCRM Tasks Error: %s",
       "Failed to submit Task changes to SugarCRM, Error=%s"},
      {"Loading SugarCRM Notes ...", "Loading SugarCRM Notes Error: %s",
       "Failed to submit Notes changes to SugarCRM, Error=%s"}},
     "Migrating information to SugarCRM ...\r\n",
     "Migrating information to SugarCRM ...",
     "Migrating information to SugarCRM completed successfully.",
     false,
     true,
     false},
};

const CxAppDescriptor* AppOf(AppKind kind)
{
    return ConnectorRegistry::Instance().App(kind);
}

// The flow of a kind the tables above do not know, made from its descriptor alone: the texts
// of the CRM kinds with the application's name, a load step for each data type it has a
// connector for, and a commit step when its connectors work through helper programs.
struct GenericFlow
{
    std::string signature;
    std::deque<std::string> texts;
    KindFlow flow{};

    const char* Keep(std::string text)
    {
        texts.push_back(std::move(text));
        return texts.back().c_str();
    }
};

std::string SignatureOf(const CxAppDescriptor& app)
{
    std::string signature = app.name;
    signature += app.helperUtility ? '+' : '-';
    for (DataType type : kAllDataTypes) {
        signature += app.creators[type] ? '1' : '0';
    }
    return signature;
}

const KindFlow* GenericFlowOf(const CxAppDescriptor& app)
{
    static std::map<int, std::unique_ptr<GenericFlow>> flows;
    std::unique_ptr<GenericFlow>& entry = flows[app.kind];
    const std::string signature = SignatureOf(app);
    if (entry && entry->signature == signature) {
        return &entry->flow;
    }
    auto made = std::make_unique<GenericFlow>();
    made->signature = signature;
    const std::string& name = app.name;
    KindFlow& flow = made->flow;
    flow.kind = app.kind;
    flow.errorName = made->Keep(name);
    flow.loadOpening = made->Keep("Loading information from " + name + " ...");
    static const char* const kLoadNames[kDataTypeCount] = {"Contacts", "Calendar", "Tasks", "Notes"};
    static const char* const kSubmitNames[kDataTypeCount] = {"Contact", "Calendar", "Task", "Notes"};
    for (DataType type : kAllDataTypes) {
        if (!app.creators[type]) {
            continue;
        }
        flow.types[type].loadProgress = made->Keep("Loading " + name + " " + kLoadNames[type] + " ...");
        flow.types[type].loadFailure = made->Keep("Loading " + name + " " + kLoadNames[type] + " Error: %s");
        flow.types[type].submitFailure = made->Keep(std::string("Failed to submit ") + kSubmitNames[type] +
                                                    " changes to " + name + ", Error=%s");
    }
    flow.submitOpeningLine = made->Keep("Migrating information to " + name + " ...\r\n");
    flow.submitProgress = made->Keep("Migrating information to " + name + " ...");
    flow.submitClosingLine = made->Keep("Migrating information to " + name + " completed successfully.");
    flow.logBeforeSubmit = false;
    flow.waitWindowBeforeLog = true;
    flow.writeNow = !app.helperUtility;
    entry = std::move(made);
    return &entry->flow;
}

const KindFlow* FindFlow(AppKind kind)
{
    for (const KindFlow& flow : kFlows) {
        if (flow.kind == kind) {
            return &flow;
        }
    }
    if (const CxAppDescriptor* app = AppOf(kind)) {
        return GenericFlowOf(*app);
    }
    return nullptr;
}

bool IsHelperUtility(AppKind kind)
{
    const CxAppDescriptor* app = AppOf(kind);
    return app != nullptr && app->helperUtility;
}

// The status file the kind's helper of the data type writes; null when there is none.
const char* StatusFileOf(AppKind kind, DataType type)
{
    const CxAppDescriptor* app = AppOf(kind);
    if (app == nullptr || app->statusFiles[type].empty()) {
        return nullptr;
    }
    return app->statusFiles[type].c_str();
}

bool IsValidDataType(int type)
{
    return type >= kDataContacts && type <= kDataNotes;
}

const char* DataTypeName(DataType type)
{
    static const char* const kNames[kDataTypeCount] = {"contacts", "calendar", "tasks", "notes"};
    return kNames[type];
}

// The format with its "%s" replaced by the text. Not printf: the formats are ours, but the
// error text comes from a connector and may hold anything.
std::string FormatWithError(const char* format, const std::string& error)
{
    std::string message(format);
    std::size_t at = message.find("%s");
    if (at != std::string::npos) {
        message.replace(at, 2, error);
    } else if (!error.empty()) {
        // A text without a place for the reason: the reason on a line of its own.
        message += "\n" + error;
    }
    return message;
}

// "Loading Outlook Contacts ..." as "Loading Outlook Contacts: 100 of 250".
std::string ProgressText(const char* loadProgress, int done, int total)
{
    std::string text(loadProgress);
    const std::size_t dots = text.rfind(" ...");
    if (dots != std::string::npos && dots + 4 == text.size()) {
        text.resize(dots);
    }
    return text + ": " + std::to_string(done) + " of " + std::to_string(total);
}

// Lets the wait window's thread make its window before the flow hands it a status file.
void Pause()
{
    const std::chrono::milliseconds pause = GetFlowPause();
    if (pause.count() > 0) {
        std::this_thread::sleep_for(pause);
    }
}

void ShowError(ParentWindow parent, const std::string& message)
{
    if (IFrontEnd* frontEnd = GetFrontEnd()) {
        frontEnd->MessageBox(parent, message, "Error", MessageIcon::Error);
    }
}

void ShowCancelled(ParentWindow parent)
{
    if (IFrontEnd* frontEnd = GetFrontEnd()) {
        frontEnd->MessageBox(parent, FlowCancel::kCancelledText, "Information", MessageIcon::Information);
    }
}

// The flow's wait window. Stopping it also when an exception leaves the flow keeps the
// exception dialog from sitting under it.
class FlowWaitWindow
{
public:
    FlowWaitWindow() : m_control(GetWaitWindowControl()) {}
    ~FlowWaitWindow() { Stop(); }
    FlowWaitWindow(const FlowWaitWindow&) = delete;
    FlowWaitWindow& operator=(const FlowWaitWindow&) = delete;

    void Start(ParentWindow parent)
    {
        m_control.Start(parent);
        m_started = true;
    }
    // A text of the flow replaces the status file being watched: the file of a data type
    // already done (its helper's "Done.") would otherwise cover the next type's text.
    void SetText(const char* text)
    {
        if (m_watching) {
            m_watching = false;
            m_control.WatchStatusFile("");
        }
        m_control.SetText(text);
    }
    void WatchStatusFile(const std::string& path)
    {
        m_control.WatchStatusFile(path.c_str());
        m_watching = !path.empty();
    }
    void Stop()
    {
        if (m_started) {
            m_started = false;
            m_control.Stop();
        }
    }

private:
    IWaitWindowControl& m_control;
    bool m_started = false;
    bool m_watching = false;
};

std::string WorkingFolder()
{
    std::string folder;
    if (!GetWorkingFolder(folder)) {
        FW_LOG(0, "The working folder could not be determined; no status file is watched.");
    }
    return folder;
}

// No working folder, no status file: a bare name would delete a file wherever we happen to run.
std::string StatusPath(const std::string& folder, const char* fileName)
{
    if (fileName == nullptr || folder.empty()) {
        return std::string();
    }
    return folder + fileName;
}

void CompareWithPartner(CxConnector& source, CxConnector& partner, DataType type)
{
    VisitDataType(
        type,
        [&](auto recordType) {
            using Rec = typename decltype(recordType)::Record;
            auto* sourceStore = StoreOf<Rec>(source);
            auto* targetStore = StoreOf<Rec>(partner);
            if (sourceStore != nullptr && targetStore != nullptr) {
                sourceStore->CompareAll(targetStore);
            }
        },
        [] {});
}

// The texts the target keeps only in part, which the entry tells of when a record's are longer.
template <class Store> CommTextLimits CutsOf(const Store* store)
{
    return store != nullptr ? store->GetTextLimits() : CommTextLimits{};
}

void LogRecord(CxMILog& log, const CommAddrRec* record, CxConnector& target)
{
    log.LogContact(record, CutsOf(target.GetAddrStore()));
}
void LogRecord(CxMILog& log, const CommDateRec* record, CxConnector& target)
{
    log.LogCalendar(record, CutsOf(target.GetDateStore()));
}
void LogRecord(CxMILog& log, const CommTaskRec* record, CxConnector& target)
{
    log.LogTask(record, CutsOf(target.GetTaskStore()));
}
void LogRecord(CxMILog& log, const CommNoteRec* record, CxConnector& target)
{
    log.LogNote(record, CutsOf(target.GetNoteStore()));
}

// Submits every record of the list; a record's own failure is the connector's to log.
template <class Rec>
void SubmitList(const KindFlow& flow, CxConnector& target, CxMILog& log, SelectionList& list)
{
    for (void* element = list.First(); element != nullptr; element = list.Next()) {
        const Rec* record = static_cast<const Rec*>(element);
        if (flow.logBeforeSubmit) {
            LogRecord(log, record, target);
        }
        target.SubmitRecord(*record, flow.writeNow);
        if (!flow.logBeforeSubmit) {
            LogRecord(log, record, target);
        }
    }
}

void SubmitList(const KindFlow& flow, CxConnector& target, CxMILog& log, SelectionList& list, DataType type)
{
    VisitDataType(
        type,
        [&](auto recordType) { SubmitList<typename decltype(recordType)::Record>(flow, target, log, list); },
        [] {});
}

// The connector of (kind, type) ready to load: the registry's, cleared, or a new one. Null,
// with error set, when the build has none.
CxConnector* ConnectorForLoad(AppKind kind, DataType type, std::string& error)
{
    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    if (const CxAppDescriptor* app = registry.App(kind); app != nullptr && app->connectorsStale &&
                                                         registry.Get(kind, type) != nullptr &&
                                                         app->connectorsStale()) {
        FW_LOG(2, "The %s connectors are made again: what they reach has changed.", app->name.c_str());
        registry.Destroy(kind);
    }
    if (CxConnector* connector = registry.Get(kind, type)) {
        connector->Clear();
        return connector;
    }
    CxConnector* connector = registry.GetOrCreate(kind, type);
    if (connector == nullptr) {
        error = MigrationFlow::NoConnectorText(kind, type);
        FW_LOG(0, "%s", error.c_str());
    }
    return connector;
}

} // namespace

bool MigrationFlow::HasLoadFlow(AppKind kind, DataType type)
{
    const KindFlow* flow = FindFlow(kind);
    return flow != nullptr && IsValidDataType(type) && flow->types[type].loadProgress != nullptr;
}

bool MigrationFlow::HasSubmitFlow(AppKind kind)
{
    const KindFlow* flow = FindFlow(kind);
    return flow != nullptr && flow->submitOpeningLine != nullptr;
}

bool MigrationFlow::IsHelperUtilityKind(AppKind kind)
{
    return FindFlow(kind) != nullptr && IsHelperUtility(kind);
}

std::string MigrationFlow::NoConnectorText(AppKind kind, DataType type)
{
    const KindFlow* flow = FindFlow(kind);
    std::string text = "no connector for ";
    text += flow != nullptr ? flow->errorName : "this application";
    text += ' ';
    text += IsValidDataType(type) ? DataTypeName(type) : "data";
    text += " is available in this build";
    return text;
}

std::string MigrationFlow::LossyRecordsText(AppKind kind, DataType type, int count)
{
    if (count <= 0 || !IsValidDataType(type)) {
        return std::string();
    }
    static const char* const kOne[kDataTypeCount] = {"contact", "calendar item", "task", "note"};
    static const char* const kMany[kDataTypeCount] = {"contacts", "calendar items", "tasks", "notes"};
    const KindFlow* flow = FindFlow(kind);
    std::string text = std::to_string(count) + " ";
    if (flow != nullptr) {
        text += std::string(flow->errorName) + " ";
    }
    text += count == 1 ? std::string(kOne[type]) + " has" : std::string(kMany[type]) + " have";
    text += " characters that the code page " + platform::AnsiCodePage() +
            " lacks; each became \"?\". FERRYWISE_CODEPAGE chooses another 8-bit code page (for example "
            "1251 for Cyrillic) when the program starts; characters that none holds, such as Japanese, "
            "cannot be kept.";
    return text;
}

std::optional<ConnectorConfig> MigrationFlow::MakeConfig(AppKind kind, DataType type,
                                                         const FWSettings& settings,
                                                         const std::string& workingFolder)
{
    const CxAppDescriptor* app = AppOf(kind);
    if (app == nullptr || !app->makeConfig) {
        return std::nullopt;
    }
    return app->makeConfig(type, settings, workingFolder);
}

bool MigrationFlow::Load(ParentWindow parent, AppKind kind, AppKind partner, std::optional<DataType> only)
{
    const KindFlow* flow = FindFlow(kind);
    if (flow == nullptr) {
        FW_LOG(0, "No load flow for application kind %d.", static_cast<int>(kind));
        return false;
    }
    if (only.has_value() && !HasLoadFlow(kind, *only)) {
        FW_LOG(0, "No load flow for application kind %d, data type %d.", static_cast<int>(kind),
               static_cast<int>(*only));
        return false;
    }
    const KindFlow* partnerFlow = FindFlow(partner);
    const FWSettings& settings = g_Settings();
    const FlowCancelScope cancelScope(FlowCancel::Phase::Loading);

    FlowWaitWindow wait;
    wait.Start(parent);
    wait.SetText(flow->loadOpening);
    Pause();
    const bool helperUtility = IsHelperUtility(kind);
    const std::string folder = helperUtility ? WorkingFolder() : std::string();

    // The user's cancel abandons the load: what the data type's connector holds is dropped
    // (it may be part of the data), and the flow ends as one that failed.
    const auto cancelled = [&](const DataTypeFlow& texts, CxConnector* connector) {
        wait.Stop();
        if (connector != nullptr) {
            connector->Clear();
        }
        FW_LOG(0, "The user cancelled the load: %s", texts.loadProgress);
        ShowCancelled(parent);
        return false;
    };

    for (DataType type : kAllDataTypes) {
        const DataTypeFlow& texts = flow->types[type];
        if (texts.loadProgress == nullptr) {
            continue;
        }
        if (only.has_value() ? *only != type : !SyncSwitch(settings, type)) {
            continue;
        }
        if (FlowCancel::StopWanted()) {
            return cancelled(texts, nullptr);
        }
        wait.SetText(texts.loadProgress);
        const std::string statusPath = StatusPath(folder, StatusFileOf(kind, type));
        Pause();

        std::string error;
        CxConnector* connector = ConnectorForLoad(kind, type, error);
        bool loaded = false;
        if (connector != nullptr) {
            if (std::optional<ConnectorConfig> config = MakeConfig(kind, type, settings, folder)) {
                connector->Configure(*config);
            }
            if (!statusPath.empty()) {
                wait.WatchStatusFile(statusPath);
            }
            // An in-process reader counts its records in the wait window, as a helper does in
            // its status file.
            {
                const FlowProgressScope progress([&wait, &texts](int done, int total) {
                    wait.SetText(ProgressText(texts.loadProgress, done, total).c_str());
                });
                loaded = connector->Load();
            }
            if (FlowCancel::StopWanted()) {
                return cancelled(texts, connector);
            }
            if (helperUtility && connector->GetErrorFlag()) {
                loaded = false;
            }
            if (!loaded) {
                error = connector->GetErrorText();
            }
        }
        if (!loaded) {
            wait.Stop();
            const std::string message = FormatWithError(texts.loadFailure, error);
            FW_LOG(0, "%s", message.c_str());
            ShowError(parent, message);
            return false;
        }
        if (const std::string lossy = LossyRecordsText(kind, type, connector->GetLossyRecordCount());
            !lossy.empty()) {
            FW_LOG(0, "%s", lossy.c_str());
        }
        // What the connector wants the user to read before the flow goes on (a database the
        // source does not have, say): long enough to be read.
        const std::string notice = connector->GetLoadNotice();
        if (!notice.empty()) {
            wait.SetText(notice.c_str());
            Pause();
        }

        if (partnerFlow != nullptr && partnerFlow->types[type].loadProgress != nullptr) {
            if (CxConnector* target = ConnectorRegistry::Instance().Get(partner, type)) {
                CompareWithPartner(*connector, *target, type);
            }
        }
    }
    wait.Stop();
    return true;
}

bool MigrationFlow::Submit(ParentWindow parent, AppKind target)
{
    const KindFlow* flow = FindFlow(target);
    if (flow == nullptr || flow->submitOpeningLine == nullptr) {
        return false;
    }
    const FWSettings& settings = g_Settings();
    ConnectorRegistry& registry = ConnectorRegistry::Instance();
    const bool helperUtility = IsHelperUtility(target);
    // From the first record on, the target is being changed: a cancel is refused (with the
    // reason) rather than leave the migration half done.
    const FlowCancelScope cancelScope(FlowCancel::Phase::Writing);

    FlowWaitWindow wait;
    if (flow->waitWindowBeforeLog) {
        wait.Start(parent);
    }
    CxMILog log;
    log.Open();
    log.WriteLine(flow->submitOpeningLine);
    if (!flow->waitWindowBeforeLog) {
        wait.Start(parent);
    }
    wait.SetText(flow->submitProgress);
    Pause();
    const std::string folder = WorkingFolder();

    for (DataType type : kAllDataTypes) {
        const DataTypeFlow& texts = flow->types[type];
        if (texts.loadProgress == nullptr || !SyncSwitch(settings, type)) {
            continue;
        }
        SelectionList* list = registry.GetSelectionList(type);
        CxConnector* connector = registry.Get(target, type);
        if (list == nullptr || connector == nullptr) {
            continue;
        }
        // Records reach a helper-utility target only with the commit: until it succeeds, the
        // entries are held back, so that none reads as migrated when the commit fails.
        const bool commits = helperUtility && list->GetCount() > 0;
        wait.SetText(flow->submitProgress);
        if (commits) {
            log.HoldEntries();
        }
        SubmitList(*flow, *connector, log, *list, type);
        if (!commits) {
            continue;
        }
        const std::string statusPath = StatusPath(folder, StatusFileOf(target, type));
        if (!statusPath.empty()) {
            wait.WatchStatusFile(statusPath);
        }
        bool committed = connector->Commit();
        if (connector->GetErrorFlag()) {
            committed = false;
        }
        if (!committed) {
            const std::string message = FormatWithError(texts.submitFailure, connector->GetErrorText());
            wait.Stop();
            ShowError(parent, message);
            FW_LOG(0, "%s", message.c_str());
            // The data type's items, none of them migrated, and then why.
            log.FailHeld(message.c_str());
            log.Close();
            return false;
        }
        log.ConfirmHeld();
    }
    wait.Stop();
    if (flow->submitClosingLine != nullptr) {
        log.WriteLine(flow->submitClosingLine);
    }
    log.Close();
    return true;
}
