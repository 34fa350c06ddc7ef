#pragma once
// The migration driver: the one place where front ends ask for work on application data.
// All operations run on one thread at a time (the engine thread); the front end's message
// boxes and wait views are reached through IFrontEnd (engine/FrontEnd.h).
#include <array>
#include <chrono>
#include <map>
#include <memory>

#include "engine/FrontEnd.h"
#include "misc/AppKind.h"
#include "misc/CxAppDescriptor.h"
#include "misc/CxConnector.h"
#include "misc/CxList.h"

// The records the user picked for one data type: borrowed pointers into the source
// connector's store (CommAddrRec*, CommDateRec*, ...), never freed by the list.
using SelectionList = CxList;

// At most one connector per application kind and data type, from first use to EndSession. The
// connectors are made by the descriptors of the application kinds the session was begun with.
class ConnectorRegistry
{
public:
    static ConnectorRegistry& Instance();

    // The application kinds of the session; null outside a session.
    const CxAppRegistry* Apps() const { return m_apps; }
    // The descriptor of a kind of the session; null when the session has no such kind.
    const CxAppDescriptor* App(AppKind kind) const;

    // The connector, or null when none has been made yet.
    CxConnector* Get(AppKind kind, DataType type) const;
    // The connector, made by the kind's descriptor when missing; null when it cannot be made.
    CxConnector* GetOrCreate(AppKind kind, DataType type);
    // Destroys every connector: Palm Desktop, ACT!, Google, Lotus Notes, Outlook, Dynamics CRM,
    // salesforce, SugarCRM, then any other kind in the order of the session's kinds; within a
    // kind contacts, calendar, tasks, notes.
    void DestroyAll();
    // Destroys the connectors of one kind (contacts, calendar, tasks, notes).
    void Destroy(AppKind kind);

    SelectionList* GetSelectionList(DataType type);

private:
    ConnectorRegistry() = default;
    const CxAppRegistry* m_apps = nullptr;
    std::map<int, std::array<std::unique_ptr<CxConnector>, kDataTypeCount>> m_connectors;
    std::unique_ptr<SelectionList> m_selections[kDataTypeCount];
    friend void BeginSession(const CxAppRegistry&);
    friend void EndSession(bool);
};

// Start of a run with the program's application kinds (borrowed until EndSession): working
// folder, settings loaded, diagnostic log configured, registry empty, selection lists made.
void BeginSession(const CxAppRegistry& apps);
// End of a run: settings saved (unless saveSettings is false), connectors destroyed in order,
// selection lists destroyed without freeing their records.
void EndSession(bool saveSettings = true);

// Loads the target, then the source, comparing each source data type with the target's.
bool LoadAndCompare(ParentWindow parent, AppKind source, AppKind target);
// Runs the load flow of one kind for one data type only, with no comparison partner (for
// inspection and export); the kind's other data types are not touched. The data type's settings
// switch is not asked. False, with nothing shown, for a data type the kind has no flow for
// (Google tasks and notes).
bool LoadOne(ParentWindow parent, AppKind kind, DataType type);
// Submits the selection lists to the target; an exception escaping the flow is shown in the
// front end's exception dialog and gives false.
bool SubmitSelection(ParentWindow parent, AppKind target);
// Sets the custom-field mapping of the kind's contacts from the settings.
void PrepareFieldMapping(AppKind source);

// The flows pause after starting a wait window and after each progress text, so that the
// window exists before a status file is handed to it: 200 ms unless set otherwise (tests
// shorten it). Set it while no flow runs.
void SetFlowPause(std::chrono::milliseconds pause);
std::chrono::milliseconds GetFlowPause();
