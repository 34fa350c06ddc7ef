#include "outlook/OlComm.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "misc/CxDebugUtil.h"
#include "misc/FlowCancel.h"
#include "misc/FlowProgress.h"
#include "misc/WinUtil.h"

int ClassifyOutlookMajor(int major)
{
    if (major < 0) {
        return kOlVersionUnknown;
    }
    if (major < 10) {
        return kOlVersionBefore10;
    }
    switch (major) {
    case 10:
        return kOlVersion10;
    case 11:
        return kOlVersion11;
    case 12:
        return kOlVersion12;
    case 14:
        return kOlVersion14;
    default:
        return kOlVersionOther;
    }
}

int ClassifyOutlookVersion(const char* version)
{
    int major = -1;
    if (version == nullptr || std::sscanf(version, "%d", &major) != 1) {
        return kOlVersionUnknown;
    }
    return ClassifyOutlookMajor(major);
}

OlSession::OlSession(const platform::AutomationServers& servers, VersionReader readVersion)
    : m_servers(servers), m_readVersion(std::move(readVersion))
{
    if (!m_readVersion) {
        m_readVersion = [](char* out, std::size_t size) { return GetOutlookVersion(out, size); };
    }
}

OlSession::~OlSession()
{
    Reset();
}

int OlSession::ReadVersionClass() const
{
    char version[64] = {};
    if (!m_readVersion(version, sizeof version)) {
        return kOlVersionUnknown;
    }
    return ClassifyOutlookVersion(version);
}

void OlSession::Reset()
{
    delete m_pNameSpaceDisp;
    m_pNameSpaceDisp = nullptr;
    delete m_pAppDisp;
    m_pAppDisp = nullptr;
    if (m_pApplication != nullptr) {
        m_pApplication->Release();
        m_pApplication = nullptr;
    }
    m_bStarted = false;
    m_nRefCount = 0;
}

OlBaseUtil::OlBaseUtil(OlSession& session, const char* name) : m_session(session)
{
    m_szName[0] = '\0';
    if (name != nullptr) {
        std::strncat(m_szName, name, kNameSize - 1);
    }
    if (m_session.IsStarted()) {
        CopySessionRefs();
    }
    OlBaseUtil::Init();
}

OlBaseUtil::~OlBaseUtil()
{
    OlBaseUtil::Close();
}

bool OlBaseUtil::Load()
{
    Clear();
    return true;
}

void OlBaseUtil::Clear()
{
    m_list.RemoveAll();
}

void OlBaseUtil::Init()
{
    m_list.RemoveAll();
    m_bConnected = Connect();
}

void OlBaseUtil::Close()
{
    Clear();
    Disconnect();
}

void OlBaseUtil::CopySessionRefs()
{
    m_pAppDisp = m_session.m_pAppDisp;
    m_pNameSpaceDisp = m_session.m_pNameSpaceDisp;
    m_pApplication = m_session.m_pApplication;
}

void OlBaseUtil::DropSessionRefs()
{
    m_pAppDisp = nullptr;
    m_pNameSpaceDisp = nullptr;
    m_pApplication = nullptr;
}

void OlBaseUtil::KeepErrorDescription()
{
    m_errorText = platform::TakeErrorDescription();
}

bool OlBaseUtil::FailStart()
{
    KeepErrorDescription();
    // What the start got so far belongs to the session; the Disconnect that takes back this
    // connector's count releases it (the count is back at 0 here).
    Disconnect();
    return false;
}

bool OlBaseUtil::Connect()
{
    m_errorText.clear();
    m_loadNotice.clear();
    platform::TakeErrorDescription(); // none left over from an earlier call
    if (!m_bCounted) {
        ++m_session.m_nRefCount;
        m_bCounted = true;
    }
    if (m_session.m_bStarted) {
        CopySessionRefs();
        m_bConnected = true;
        return true;
    }
    m_session.m_nVersionClass = m_session.ReadVersionClass();
    FW_LOG(2, "Outlook automation started.");

    CLSID clsid = CLSID_NULL;
    HRESULT hr = platform::CLSIDFromProgID(m_session.m_servers, kOutlookProgId, &clsid);
    if (FAILED(hr)) {
        FW_LOG(0, "Can not get the CLSID of Outlook.Application, hr=0x%08x", static_cast<unsigned>(hr));
        return FailStart();
    }
    FW_LOG(2, "Get Outlook.Application CLSID succeeded.");

    void* unknown = nullptr;
    hr = platform::CoCreateInstance(m_session.m_servers, clsid, nullptr, kOutlookClassContext, IID_IUnknown,
                                    &unknown);
    if (FAILED(hr) || unknown == nullptr) {
        FW_LOG(0, "Failed to execute CoCreateInstance, hr=0x%08x", static_cast<unsigned>(hr));
        return FailStart();
    }
    FW_LOG(2, "CoCreateInstance succeeded.");
    m_session.m_pApplication = static_cast<IUnknown*>(unknown);

    hr = platform::OleRun(m_session.m_pApplication);
    if (FAILED(hr)) {
        FW_LOG(0, "Failed to execute OleRun, hr=0x%08x", static_cast<unsigned>(hr));
        return FailStart();
    }
    FW_LOG(2, "Microsoft Outlook started successfully.");

    void* dispatch = nullptr;
    hr = m_session.m_pApplication->QueryInterface(IID_IDispatch, &dispatch);
    if (FAILED(hr) || dispatch == nullptr) {
        FW_LOG(0, "Failed to query IDispatch interface of Outlook App, hr=0x%08x", static_cast<unsigned>(hr));
        return FailStart();
    }
    FW_LOG(2, "Got Outlook IDispatch interface successfully.");
    // The dispatcher holds a reference of its own; the one the query gave is returned.
    m_session.m_pAppDisp = new (std::nothrow) CDispCmd(static_cast<IDispatch*>(dispatch));
    static_cast<IDispatch*>(dispatch)->Release();
    if (m_session.m_pAppDisp == nullptr) {
        return FailStart();
    }

    VARIANT nameSpace;
    platform::VariantInit(&nameSpace);
    hr = m_session.m_pAppDisp->CallMethod(u"GetNameSpace", &nameSpace, {platform::MakeBstr("MAPI")});
    if (FAILED(hr) || nameSpace.vt != VT_DISPATCH || nameSpace.pdispVal == nullptr) {
        platform::VariantClear(&nameSpace);
        FW_LOG(0, "Failed to call Outlook.Application GetNameSpace method, hr=0x%08x",
               static_cast<unsigned>(hr));
        return FailStart();
    }
    FW_LOG(2, "Get Outlook MAPI namespace object successfully.");
    m_session.m_pNameSpaceDisp = new (std::nothrow) CDispCmd(nameSpace.pdispVal);
    platform::VariantClear(&nameSpace);
    if (m_session.m_pNameSpaceDisp == nullptr) {
        return FailStart();
    }

    m_bConnected = true;
    m_session.m_bStarted = true;
    CopySessionRefs();
    FW_LOG(2, "Outlook Automation Succeeded.");
    return true;
}

void OlBaseUtil::Disconnect()
{
    // The copies are the session's; a connector that leaves keeps none of them.
    DropSessionRefs();
    m_bConnected = false;
    if (!m_bCounted || m_session.m_nRefCount == 0) {
        m_bCounted = false;
        return;
    }
    m_bCounted = false;
    if (--m_session.m_nRefCount > 0) {
        return;
    }
    m_session.Reset();
}

HRESULT OlBaseUtil::GetDefaultFolder(int folderNumber, IDispatch** folder)
{
    if (folder == nullptr) {
        return E_POINTER;
    }
    *folder = nullptr;
    if (m_pNameSpaceDisp == nullptr) {
        return E_UNEXPECTED;
    }
    return m_pNameSpaceDisp->CallObjectMethod(u"GetDefaultFolder", folder, {platform::MakeI4(folderNumber)});
}

int OlBaseUtil::WalkItems(CDispCmd& items, const std::function<void(IDispatch* item)>& visit)
{
    int visited = 0;
    int count = 0;
    if (FAILED(items.GetLongProp(u"Count", &count)) || count < 0) {
        count = 0;
    }
    IDispatch* item = nullptr;
    HRESULT hr = items.CallObjectMethod(u"GetFirst", &item);
    while (SUCCEEDED(hr) && item != nullptr) {
        if (visit) {
            visit(item);
        }
        ++visited;
        item->Release();
        item = nullptr;
        FlowProgress::Report(visited, count > visited ? count : visited);
        // The user cancelled the load: the rest is not read (the flow drops what was).
        if (FlowCancel::StopWanted()) {
            break;
        }
        hr = items.CallObjectMethod(u"GetNext", &item);
    }
    return visited;
}
