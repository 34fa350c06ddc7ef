#pragma once
// What the four Outlook connectors share: the Outlook session, started once through
// automation and shared with a reference count, and OlBaseUtil, the connectors' base class.
//
// The session reaches Outlook through the automation servers that the program registered
// (platform/AutomationServers.h) under the program id "Outlook.Application": the real Outlook
// where there is one, or any server that answers the same calls.
#include <cstddef>
#include <functional>

#include "misc/CxConnector.h"
#include "misc/CxList.h"
#include "misc/DispCmd.h"
#include "platform/AutomationServers.h"

// The program id under which Outlook's application object is created.
inline constexpr const OLECHAR* kOutlookProgId = u"Outlook.Application";
// The class context of its creation: in-process, local or remote server.
inline constexpr DWORD kOutlookClassContext = CLSCTX_SERVER;

// Outlook's numbers of the default folders and of the item types that Items.Add makes.
enum OlDefaultFolders : int
{
    olFolderCalendar = 9,
    olFolderContacts = 10,
    olFolderNotes = 12,
    olFolderTasks = 13,
};
enum OlItemType : int
{
    olAppointmentItem = 1,
    olContactItem = 2,
    olTaskItem = 3,
    olNoteItem = 5,
};

// The installed Outlook's major version, classified. Only the calendar's reminder reads it:
// classes 0..3 through ReminderTime, 4 and above through ReminderMinutesBeforeStart.
enum OutlookVersionClass : int
{
    kOlVersionUnknown = 0, // the version cannot be read
    kOlVersionBefore10 = 1,
    kOlVersion10 = 2,
    kOlVersion11 = 3,
    kOlVersion12 = 4,
    kOlVersion14 = 5,
    kOlVersionOther = 6, // 13, 15 and later
};

// The class of a major version number (negative: unknown).
int ClassifyOutlookMajor(int major);
// The class of a version text "%d.%d.%d.%d" (its first number); null, empty or no leading
// number: unknown.
int ClassifyOutlookVersion(const char* version);

// The Outlook session: one per program, owned by whoever owns the Outlook connectors, and
// given to each of them. It is started by the first connector's Connect and stopped when the
// last connector disconnects.
class OlSession
{
public:
    // Reads the installed Outlook's version as "%d.%d.%d.%d"; false when it cannot.
    using VersionReader = std::function<bool(char* out, std::size_t size)>;

    // The servers table must outlive the session. Without a version reader the version of
    // the Outlook program that the registry names is read (misc/WinUtil.h).
    explicit OlSession(const platform::AutomationServers& servers, VersionReader readVersion = nullptr);
    // Releases what is still held, should connectors outlive their program's use of Outlook.
    ~OlSession();
    OlSession(const OlSession&) = delete;
    OlSession& operator=(const OlSession&) = delete;

    bool IsStarted() const { return m_bStarted; }
    int GetRefCount() const { return m_nRefCount; }
    int GetVersionClass() const { return m_nVersionClass; }
    IUnknown* GetApplication() const { return m_pApplication; }
    CDispCmd* GetAppDispatcher() const { return m_pAppDisp; }
    CDispCmd* GetNameSpaceDispatcher() const { return m_pNameSpaceDisp; }

private:
    friend class OlBaseUtil;

    int ReadVersionClass() const;
    // Drops every reference and returns to "not started" with count 0.
    void Reset();

    const platform::AutomationServers& m_servers;
    VersionReader m_readVersion;
    bool m_bStarted = false;
    int m_nRefCount = 0;
    IUnknown* m_pApplication = nullptr;
    CDispCmd* m_pAppDisp = nullptr;
    CDispCmd* m_pNameSpaceDisp = nullptr;
    int m_nVersionClass = kOlVersionUnknown;
};

// The base of OlAddrUtil, OlDateUtil, OlTaskUtil and OlNoteUtil.
//
// Constructing a connector connects it: the base constructor runs the base Init, and each
// derived constructor runs its own Init, which runs its Connect (the base Connect first, then
// the opening of its default folder). A connector counts once in the session however often
// it connects, and a Disconnect takes back only the count its own Connect added; so the
// session stays up as long as one connector holds it, and a connector whose Connect failed
// can never stop the session under the others.
class OlBaseUtil : public CxConnector
{
public:
    static constexpr int kNameSize = 256;

    // The name is cut to kNameSize - 1 characters; null gives "".
    explicit OlBaseUtil(OlSession& session, const char* name = nullptr);
    // Runs Close.
    ~OlBaseUtil() override;
    OlBaseUtil(const OlBaseUtil&) = delete;
    OlBaseUtil& operator=(const OlBaseUtil&) = delete;

    // Runs Clear; true. Connectors read their default folder.
    bool Load() override;
    // Empties the base list. Connectors empty their record store first.
    void Clear() override;
    // Outlook takes no configuration.
    void Configure(const ConnectorConfig& /*config*/) override {}

    // The list, and connected = Connect().
    virtual void Init();
    // Clear, then Disconnect.
    virtual void Close();
    // Starts the session or joins the started one; false, disconnected, when it cannot start.
    virtual bool Connect();
    // Leaves the session; the last connector to leave stops it.
    virtual void Disconnect();

    // Why the connector could not reach Outlook, as Outlook described its failed call (ANSI);
    // empty when it gave no description or nothing failed.
    std::string GetErrorText() const override { return m_errorText; }
    // What the user should read after a load (ANSI): a default folder the data file lacks.
    std::string GetLoadNotice() const override { return m_loadNotice; }

    const char* GetName() const { return m_szName; }
    bool IsConnected() const { return m_bConnected; }
    OlSession& GetSession() const { return m_session; }
    CDispCmd* GetAppDispatcher() const { return m_pAppDisp; }
    CDispCmd* GetNameSpaceDispatcher() const { return m_pNameSpaceDisp; }
    IUnknown* GetApplication() const { return m_pApplication; }

    // Calls GetDefaultFolder on the namespace with the folder number (VT_I4). On S_OK
    // *folder is the folder with one reference for the caller. Otherwise *folder is null and
    // the code is the call's failure, or S_FALSE when the call gave no object, or
    // E_UNEXPECTED when the connector holds no namespace.
    HRESULT GetDefaultFolder(int folderNumber, IDispatch** folder);

    // Walks a collection's items: GetFirst, then GetNext until a call fails or gives anything
    // but a non-null object. Each item is passed to visit, which borrows it for the call.
    // Gives the number of items visited.
    static int WalkItems(CDispCmd& items, const std::function<void(IDispatch* item)>& visit);

protected:
    OlSession& m_session;
    char m_szName[kNameSize];
    bool m_bConnected = false;
    // Copies of the session's references while connected; the session owns them.
    CDispCmd* m_pAppDisp = nullptr;
    CDispCmd* m_pNameSpaceDisp = nullptr;
    IUnknown* m_pApplication = nullptr;
    CxList m_list; // holds nothing in this system
    std::string m_errorText;
    std::string m_loadNotice;

    // Keeps the description of the failed call that Outlook left for this thread.
    void KeepErrorDescription();

private:
    void CopySessionRefs();
    void DropSessionRefs();
    // The failure path of the start: back out and report false.
    bool FailStart();

    bool m_bCounted = false; // this connector's Connect added to the session's count
};
