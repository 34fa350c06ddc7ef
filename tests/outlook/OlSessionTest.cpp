// The Outlook session over a scripted Outlook: the start sequence and its log lines, every
// way it can fail, the reference count shared by the connectors, the version class, and the
// folder helpers of the connectors' base.
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "common/LogLines.h"
#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "outlook/OlComm.h"
#include "outlook/ScriptedOutlook.h"

namespace {

const fwtest::PinnedLocale kPinned;

using fwtest::LogLine;
using fwtest::OwnedVariant;
using fwtest::ScriptedOutlook;

LogLine Progress(const char* message)
{
    return LogLine{"OlComm.cpp", false, message};
}
LogLine Failure(const char* message)
{
    return LogLine{"OlComm.cpp", true, message};
}

// The progress lines of a start that gets through, in order.
const std::vector<LogLine> kStartLines = {
    Progress("Outlook automation started."),
    Progress("Get Outlook.Application CLSID succeeded."),
    Progress("CoCreateInstance succeeded."),
    Progress("Microsoft Outlook started successfully."),
    Progress("Got Outlook IDispatch interface successfully."),
    Progress("Get Outlook MAPI namespace object successfully."),
    Progress("Outlook Automation Succeeded."),
};

std::vector<LogLine> FirstLines(std::size_t n)
{
    return {kStartLines.begin(), kStartLines.begin() + n};
}

class OlSessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
    }
    void TearDown() override { g_debugLog.EnableLog(false); }

    std::vector<LogLine> Log() const { return fwtest::ReadLogLines(m_folder + "appdebug.log"); }
    void ForgetLog() const { std::remove((m_folder + "appdebug.log").c_str()); }

    static OlSession::VersionReader Version(const char* text)
    {
        return [text](char* out, std::size_t size) {
            if (text == nullptr) {
                return false;
            }
            std::snprintf(out, size, "%s", text);
            return true;
        };
    }

    fwtest::TempHome m_home;
    std::string m_folder;
    platform::AutomationServers m_servers;
};

TEST_F(OlSessionTest, StartsOutlookAndSharesItsReferences)
{
    ScriptedOutlook outlook(m_servers);
    OlSession session(m_servers, Version("16.0.4266.1001"));
    {
        OlBaseUtil connector(session, "Contacts");
        EXPECT_TRUE(connector.IsConnected());
        EXPECT_STREQ(connector.GetName(), "Contacts");
        EXPECT_TRUE(session.IsStarted());
        EXPECT_EQ(session.GetRefCount(), 1);
        EXPECT_EQ(session.GetVersionClass(), kOlVersionOther);
        EXPECT_EQ(Log(), kStartLines);

        // The connector holds the session's references, on the application and its namespace.
        EXPECT_EQ(connector.GetApplication(), session.GetApplication());
        EXPECT_EQ(connector.GetAppDispatcher(), session.GetAppDispatcher());
        EXPECT_EQ(connector.GetNameSpaceDispatcher(), session.GetNameSpaceDispatcher());
        ASSERT_NE(session.GetAppDispatcher(), nullptr);
        EXPECT_EQ(session.GetAppDispatcher()->GetObject(), outlook.application.dispatch());
        EXPECT_EQ(session.GetNameSpaceDispatcher()->GetObject(), outlook.nameSpace.dispatch());
        EXPECT_EQ(outlook.created, 1);
        EXPECT_EQ(outlook.application->Runs(), 1);

        // GetNameSpace("MAPI"): a method call with the one text argument.
        const auto& calls = outlook.application->Calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].name, "GetNameSpace");
        EXPECT_EQ(calls[0].flags, DISPATCH_METHOD);
        ASSERT_EQ(calls[0].args.size(), 1u);
        EXPECT_EQ(calls[0].args[0].Type(), VT_BSTR);
        EXPECT_EQ(calls[0].args[0].Text(), "MAPI");
        EXPECT_EQ(outlook.OutsideRefs(), 3u); // the application (IUnknown and IDispatch) and the namespace
    }
    EXPECT_FALSE(session.IsStarted());
    EXPECT_EQ(session.GetRefCount(), 0);
    EXPECT_EQ(session.GetApplication(), nullptr);
    EXPECT_EQ(session.GetAppDispatcher(), nullptr);
    EXPECT_EQ(session.GetNameSpaceDispatcher(), nullptr);
    EXPECT_EQ(outlook.OutsideRefs(), 0u);
}

TEST_F(OlSessionTest, AsksForAnyServerContext)
{
    struct Case
    {
        const char* name;
        DWORD contexts;
        bool starts;
    };
    const Case cases[] = {
        {"in-process server", CLSCTX_INPROC_SERVER, true},
        {"local server", CLSCTX_LOCAL_SERVER, true},
        {"remote server", CLSCTX_REMOTE_SERVER, true},
        {"in-process handler only", CLSCTX_INPROC_HANDLER, false},
    };
    for (const Case& c : cases) {
        platform::AutomationServers servers;
        ScriptedOutlook outlook(servers, c.contexts);
        OlSession session(servers, Version("12.0.0.0"));
        OlBaseUtil connector(session);
        EXPECT_EQ(connector.IsConnected(), c.starts) << c.name;
        EXPECT_EQ(outlook.created, c.starts ? 1 : 0) << c.name;
    }
}

TEST_F(OlSessionTest, EveryFailedStepIsLoggedAndBackedOut)
{
    enum class Fault
    {
        NoServer,
        CreateFails,
        RunFails,
        NoDispatch,
        NameSpaceFails,
        NameSpaceUnknown,
        NameSpaceNotObject,
        NameSpaceNull,
    };
    struct Case
    {
        const char* name;
        Fault fault;
        std::size_t progressLines; // start lines before the failure
        std::vector<LogLine> failureLines;
    };
    const Case cases[] = {
        {"no Outlook.Application",
         Fault::NoServer,
         1,
         {Failure("Can not get the CLSID of Outlook.Application, hr=0x800401f3")}},
        {"creation fails",
         Fault::CreateFails,
         2,
         {Failure("Failed to execute CoCreateInstance, hr=0x8007000e")}},
        {"run fails", Fault::RunFails, 3, {Failure("Failed to execute OleRun, hr=0x80004005")}},
        {"no IDispatch",
         Fault::NoDispatch,
         4,
         {Failure("Failed to query IDispatch interface of Outlook App, hr=0x80004002")}},
        {"GetNameSpace fails",
         Fault::NameSpaceFails,
         5,
         {Failure("Failed to call Outlook.Application GetNameSpace method, hr=0x80020009")}},
        {"GetNameSpace unknown",
         Fault::NameSpaceUnknown,
         5,
         {LogLine{"DispCmd.cpp", true,
                  "Failed to call IDispatch->GetIDsOfNames, Name=GetNameSpace, hr=0x80020006"},
          Failure("Failed to call Outlook.Application GetNameSpace method, hr=0x80020006")}},
        {"GetNameSpace gives a number",
         Fault::NameSpaceNotObject,
         5,
         {Failure("Failed to call Outlook.Application GetNameSpace method, hr=0x00000000")}},
        {"GetNameSpace gives a null object",
         Fault::NameSpaceNull,
         5,
         {Failure("Failed to call Outlook.Application GetNameSpace method, hr=0x00000000")}},
    };
    for (const Case& c : cases) {
        platform::AutomationServers servers;
        auto outlook = std::make_unique<ScriptedOutlook>(servers);
        switch (c.fault) {
        case Fault::NoServer:
            servers.Unregister(kOutlookProgId);
            break;
        case Fault::CreateFails:
            outlook->createResult = E_OUTOFMEMORY;
            break;
        case Fault::RunFails:
            outlook->application->SetRunResult(E_FAIL);
            break;
        case Fault::NoDispatch:
            outlook->application->RefuseDispatch(E_NOINTERFACE);
            break;
        case Fault::NameSpaceFails:
            outlook->application->FailCall("GetNameSpace", DISP_E_EXCEPTION);
            break;
        case Fault::NameSpaceUnknown:
            outlook->application->FailLookup("GetNameSpace", DISP_E_UNKNOWNNAME);
            break;
        case Fault::NameSpaceNotObject:
            outlook->application->SetMethod("GetNameSpace", [](const std::vector<OwnedVariant>&, VARIANT* r) {
                *r = platform::MakeI4(1);
                return S_OK;
            });
            break;
        case Fault::NameSpaceNull:
            outlook->application->SetMethod("GetNameSpace", [](const std::vector<OwnedVariant>&, VARIANT* r) {
                *r = platform::MakeDispatch(nullptr);
                return S_OK;
            });
            break;
        }
        ForgetLog();
        OlSession session(servers, Version("11.0.0.0"));
        {
            OlBaseUtil connector(session);
            EXPECT_FALSE(connector.IsConnected()) << c.name;
            EXPECT_FALSE(session.IsStarted()) << c.name;
            EXPECT_EQ(session.GetRefCount(), 0) << c.name;
            EXPECT_EQ(connector.GetAppDispatcher(), nullptr) << c.name;
            EXPECT_EQ(connector.GetNameSpaceDispatcher(), nullptr) << c.name;
            EXPECT_EQ(connector.GetApplication(), nullptr) << c.name;
            // Whatever the start had obtained is released at once: Outlook is not kept attached.
            EXPECT_EQ(outlook->OutsideRefs(), 0u) << c.name;
            EXPECT_TRUE(connector.Load()) << c.name; // the base reads nothing
        }
        std::vector<LogLine> expected = FirstLines(c.progressLines);
        expected.insert(expected.end(), c.failureLines.begin(), c.failureLines.end());
        EXPECT_EQ(Log(), expected) << c.name;
        EXPECT_EQ(session.GetRefCount(), 0) << c.name;
    }
}

TEST_F(OlSessionTest, ConnectorsShareOneSessionByCount)
{
    ScriptedOutlook outlook(m_servers);
    OlSession session(m_servers, Version("14.0.0.0"));
    auto first = std::make_unique<OlBaseUtil>(session);
    ForgetLog();
    outlook.application->ForgetCalls();
    auto second = std::make_unique<OlBaseUtil>(session);
    // The second connector joins: nothing is called, nothing logged.
    EXPECT_TRUE(second->IsConnected());
    EXPECT_EQ(session.GetRefCount(), 2);
    EXPECT_EQ(outlook.created, 1);
    EXPECT_TRUE(outlook.application->Calls().empty());
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(second->GetNameSpaceDispatcher(), session.GetNameSpaceDispatcher());

    first.reset();
    EXPECT_TRUE(session.IsStarted()); // still attached for the second
    EXPECT_EQ(session.GetRefCount(), 1);
    EXPECT_EQ(outlook.OutsideRefs(), 3u);
    second.reset();
    EXPECT_FALSE(session.IsStarted());
    EXPECT_EQ(session.GetRefCount(), 0);
    EXPECT_EQ(outlook.OutsideRefs(), 0u);

    // A new connector starts Outlook anew.
    OlBaseUtil third(session);
    EXPECT_TRUE(third.IsConnected());
    EXPECT_EQ(outlook.created, 2);
}

TEST_F(OlSessionTest, ADisconnectTakesBackOnlyItsOwnCount)
{
    ScriptedOutlook outlook(m_servers);
    OlSession session(m_servers, Version("12.0.0.0"));
    outlook.createResult = E_FAIL;
    auto failed = std::make_unique<OlBaseUtil>(session);
    EXPECT_FALSE(failed->IsConnected());
    EXPECT_EQ(session.GetRefCount(), 0);

    // A Disconnect at count 0 changes nothing.
    failed->Disconnect();
    EXPECT_EQ(session.GetRefCount(), 0);
    EXPECT_FALSE(session.IsStarted());

    outlook.createResult = S_OK;
    OlBaseUtil working(session);
    ASSERT_TRUE(working.IsConnected());
    EXPECT_EQ(session.GetRefCount(), 1);

    // The failed connector's own Disconnect already took back its count: neither a further
    // Disconnect nor its destruction stops the session under the working connector.
    failed->Disconnect();
    failed.reset();
    EXPECT_TRUE(session.IsStarted());
    EXPECT_EQ(session.GetRefCount(), 1);
    EXPECT_EQ(working.GetNameSpaceDispatcher(), session.GetNameSpaceDispatcher());
    EXPECT_NE(session.GetNameSpaceDispatcher(), nullptr);

    // Connecting again counts the connector once.
    EXPECT_TRUE(working.Connect());
    EXPECT_EQ(session.GetRefCount(), 1);
    working.Disconnect();
    EXPECT_FALSE(working.IsConnected());
    EXPECT_EQ(working.GetNameSpaceDispatcher(), nullptr);
    EXPECT_FALSE(session.IsStarted());
    EXPECT_EQ(outlook.OutsideRefs(), 0u);
}

// A connector built as the Outlook connectors are: its constructor runs its own Init, whose
// Connect joins the session and opens the default folder.
class FolderConnector : public OlBaseUtil
{
public:
    FolderConnector(OlSession& session, int folderNumber) : OlBaseUtil(session), m_folderNumber(folderNumber)
    {
        Init();
    }
    ~FolderConnector() override { Close(); }

    void Init() override
    {
        m_pFolder = nullptr;
        OlBaseUtil::Init();
    }
    void Close() override
    {
        Clear();
        Disconnect();
    }
    bool Connect() override
    {
        if (!OlBaseUtil::Connect()) {
            return false;
        }
        IDispatch* folder = nullptr;
        if (GetDefaultFolder(m_folderNumber, &folder) != S_OK) {
            Disconnect();
            return false;
        }
        m_pFolder = new CDispCmd(folder);
        folder->Release();
        return true;
    }
    void Disconnect() override
    {
        delete m_pFolder;
        m_pFolder = nullptr;
        OlBaseUtil::Disconnect();
    }
    bool HasFolder() const { return m_pFolder != nullptr; }

private:
    int m_folderNumber;
    CDispCmd* m_pFolder = nullptr;
};

TEST_F(OlSessionTest, DerivedConnectorsCountOnceAndFailWithoutHarm)
{
    ScriptedOutlook outlook(m_servers);
    fwtest::ScriptedFolder& contacts = outlook.AddFolder(olFolderContacts, "Contacts");
    OlSession session(m_servers, Version("12.0.0.0"));
    auto first = std::make_unique<FolderConnector>(session, olFolderContacts);
    EXPECT_TRUE(first->IsConnected());
    EXPECT_TRUE(first->HasFolder());
    EXPECT_EQ(session.GetRefCount(), 1);
    EXPECT_EQ(contacts.folder.OtherRefs(), 1u);

    // No calendar folder: the connector stays constructed, unconnected, and its failure
    // leaves the session to the first.
    auto noFolder = std::make_unique<FolderConnector>(session, olFolderCalendar);
    EXPECT_FALSE(noFolder->IsConnected());
    EXPECT_FALSE(noFolder->HasFolder());
    EXPECT_EQ(session.GetRefCount(), 1);
    noFolder.reset();
    EXPECT_TRUE(session.IsStarted());
    EXPECT_EQ(session.GetRefCount(), 1);

    auto second = std::make_unique<FolderConnector>(session, olFolderContacts);
    EXPECT_EQ(session.GetRefCount(), 2);
    first.reset();
    second.reset();
    EXPECT_FALSE(session.IsStarted());
    EXPECT_EQ(contacts.folder.OtherRefs(), 0u);
    EXPECT_EQ(outlook.OutsideRefs(), 0u);
}

TEST_F(OlSessionTest, ClassifiesTheInstalledVersion)
{
    struct Case
    {
        const char* version; // null: cannot be read
        int expected;
    };
    const Case cases[] = {
        {nullptr, kOlVersionUnknown},        {"", kOlVersionUnknown},
        {"x.1.2.3", kOlVersionUnknown},      {"8.5.0.0", kOlVersionBefore10},
        {"9.0.0.2711", kOlVersionBefore10},  {"10.0.2627.1", kOlVersion10},
        {"11.0.5510.0", kOlVersion11},       {"12.0.4518.1014", kOlVersion12},
        {"13.0.0.0", kOlVersionOther},       {"14.0.4760.1000", kOlVersion14},
        {"15.0.4420.1017", kOlVersionOther}, {"16.0.4266.1001", kOlVersionOther},
    };
    for (const Case& c : cases) {
        ScriptedOutlook outlook(m_servers);
        OlSession session(m_servers, Version(c.version));
        OlBaseUtil connector(session);
        EXPECT_EQ(session.GetVersionClass(), c.expected) << (c.version ? c.version : "(unreadable)");
        m_servers.Unregister(kOutlookProgId);
    }
    EXPECT_EQ(ClassifyOutlookMajor(-1), kOlVersionUnknown);
    EXPECT_EQ(ClassifyOutlookMajor(0), kOlVersionBefore10);
}

TEST_F(OlSessionTest, TheNameIsCutToItsField)
{
    ScriptedOutlook outlook(m_servers);
    OlSession session(m_servers, Version("12.0.0.0"));
    const std::string longName(300, 'n');
    OlBaseUtil named(session, longName.c_str());
    EXPECT_EQ(std::string(named.GetName()), longName.substr(0, 255));
    OlBaseUtil unnamed(session);
    EXPECT_STREQ(unnamed.GetName(), "");
}

TEST_F(OlSessionTest, OpensADefaultFolderAndWalksItsItems)
{
    ScriptedOutlook outlook(m_servers);
    fwtest::ScriptedFolder& tasks = outlook.AddFolder(olFolderTasks, "Tasks");
    tasks.AddItem("first");
    tasks.AddItem("second");
    tasks.AddItem("third");
    OlSession session(m_servers, Version("12.0.0.0"));
    OlBaseUtil connector(session);

    IDispatch* folder = reinterpret_cast<IDispatch*>(1);
    ASSERT_EQ(connector.GetDefaultFolder(olFolderTasks, &folder), S_OK);
    ASSERT_EQ(folder, tasks.folder.dispatch());
    const auto& call = outlook.nameSpace->Calls().back();
    EXPECT_EQ(call.name, "GetDefaultFolder");
    EXPECT_EQ(call.flags, DISPATCH_METHOD);
    ASSERT_EQ(call.args.size(), 1u);
    EXPECT_EQ(call.args[0].Type(), VT_I4);
    EXPECT_EQ(call.args[0].v.lVal, 13);
    {
        CDispCmd folderCmd(folder);
        folder->Release();
        IDispatch* items = nullptr;
        ASSERT_EQ(folderCmd.GetObjectProp(u"Items", &items), S_OK);
        CDispCmd itemsCmd(items);
        items->Release();

        std::vector<std::string> subjects;
        int visited = OlBaseUtil::WalkItems(itemsCmd, [&](IDispatch* item) {
            CDispCmd itemCmd(item);
            char subject[31] = {};
            itemCmd.GetStringProp(u"Subject", subject, sizeof subject);
            subjects.push_back(subject);
        });
        EXPECT_EQ(visited, 3);
        EXPECT_EQ(subjects, (std::vector<std::string>{"first", "second", "third"}));
    }
    for (const auto& item : tasks.contents) {
        EXPECT_EQ(item->OtherRefs(), 0u); // every item the walk got is released
    }
    EXPECT_EQ(tasks.folder.OtherRefs(), 0u);

    // A folder the namespace has no object for, and a connector without a namespace.
    folder = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(connector.GetDefaultFolder(olFolderNotes, &folder), S_FALSE);
    EXPECT_EQ(folder, nullptr);
    outlook.nameSpace->FailCall("GetDefaultFolder", DISP_E_EXCEPTION);
    EXPECT_EQ(connector.GetDefaultFolder(olFolderTasks, &folder), DISP_E_EXCEPTION);
    connector.Disconnect();
    EXPECT_EQ(connector.GetDefaultFolder(olFolderTasks, &folder), E_UNEXPECTED);
    EXPECT_EQ(connector.GetDefaultFolder(olFolderTasks, nullptr), E_POINTER);
}

TEST_F(OlSessionTest, TheWalkEndsAtTheFirstCallThatGivesNoObject)
{
    struct Case
    {
        const char* name;
        HRESULT getNextFailure; // S_OK: GetNext answers
        bool nextGivesNumber;
        int visited;
    };
    const Case cases[] = {
        {"runs to the end", S_OK, false, 2},
        {"GetNext fails", DISP_E_EXCEPTION, false, 1},
        {"GetNext gives a number", S_OK, true, 1},
    };
    for (const Case& c : cases) {
        fwtest::ScriptedFolder folder("Notes");
        folder.AddItem("a");
        folder.AddItem("b");
        if (FAILED(c.getNextFailure)) {
            folder.items->FailCall("GetNext", c.getNextFailure);
        }
        if (c.nextGivesNumber) {
            folder.items->SetMethod("GetNext", [](const std::vector<OwnedVariant>&, VARIANT* r) {
                *r = platform::MakeI4(5);
                return S_OK;
            });
        }
        CDispCmd items(folder.items.dispatch());
        EXPECT_EQ(OlBaseUtil::WalkItems(items, nullptr), c.visited) << c.name;
        for (const auto& item : folder.contents) {
            EXPECT_EQ(item->OtherRefs(), 0u) << c.name;
        }
    }
    fwtest::ScriptedFolder empty("Empty");
    CDispCmd items(empty.items.dispatch());
    EXPECT_EQ(OlBaseUtil::WalkItems(items, nullptr), 0);
}

} // namespace
