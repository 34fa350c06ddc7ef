// The exchange with a helper utility, through a fake helper started as a real child process.
#include "exchange/CxHelperBaseUtil.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "TestNoteConnector.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxIniUtil.h"
#include "misc/FlowCancel.h"
#include "platform/KnownFolders.h"
#include "platform/Process.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool Exists(const std::string& path)
{
    return std::filesystem::exists(path);
}

std::string CurrentFolder()
{
    char buffer[4096] = {};
    return getcwd(buffer, sizeof(buffer)) != nullptr ? buffer : "";
}

bool IsAlive(int pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const std::size_t paren = text.rfind(')');
    return paren != std::string::npos && paren + 2 < text.size() && text[paren + 2] != 'Z';
}

class HelperExchangeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        std::filesystem::create_directories(m_folder);
        const char* old = std::getenv("FERRYWISE_HELPER_DIR");
        m_oldHelperDir = old != nullptr ? old : "";
        m_hadHelperDir = old != nullptr;
        setenv("FERRYWISE_HELPER_DIR", FW_FAKE_HELPER_DIR, 1);
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
    }

    void TearDown() override
    {
        g_debugLog.EnableLog(false);
        // A helper a failed test left behind must not outlive it.
        for (int pid : m_pids) {
            if (IsAlive(pid)) {
                kill(pid, SIGKILL);
            }
        }
        for (int i = 0; i < 250 && platform::Process::AbandonedCount() > 0; ++i) {
            platform::Process::ReapAbandoned();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (m_hadHelperDir) {
            setenv("FERRYWISE_HELPER_DIR", m_oldHelperDir.c_str(), 1);
        } else {
            unsetenv("FERRYWISE_HELPER_DIR");
        }
    }

    std::unique_ptr<TestNoteConnector> MakeConnector(int databaseParamId = CxLNBaseUtil::kParamDatabase,
                                                     const CxHelperFiles& files = kTestNoteFiles)
    {
        auto connector = std::make_unique<TestNoteConnector>(databaseParamId, files);
        connector->SetFolder(m_folder.c_str());
        connector->SetLogFolder(m_folder.c_str());
        connector->SetDatabase("notes.nsf");
        connector->SetIdFile("user.id");
        connector->EnableHelperLog(true);
        connector->SetWaitLimit(20000);
        return connector;
    }

    void Script(const std::string& lines) { m_home.WriteFile("work/FakeScript.ini", "[Script]\n" + lines); }
    std::string Work(const std::string& name) const { return m_folder + name; }
    std::string Log() const { return Slurp(Work("appdebug.log")); }
    std::string Runs() const { return Slurp(Work("FakeRuns.txt")); }
    // Notes the pid of the connector's helper, for the clean-up.
    int Track(const TestNoteConnector& connector)
    {
        const int pid = connector.DataReader() != nullptr ? connector.DataReader()->LastProcessId() : -1;
        if (pid > 0) {
            m_pids.push_back(pid);
        }
        return pid;
    }

    fwtest::TempHome m_home;
    std::string m_folder;
    std::string m_oldHelperDir;
    bool m_hadHelperDir = false;
    std::vector<int> m_pids;
};

// --- parameter file ---------------------------------------------------------------------

struct ParamCase
{
    const char* name;
    int databaseParamId;
};

class ParamFileTest : public HelperExchangeTest, public ::testing::WithParamInterface<ParamCase>
{
};

TEST_P(ParamFileTest, HoldsTheFamilysFourteenTextEntriesInOrder)
{
    auto connector = MakeConnector(GetParam().databaseParamId);
    connector->SetHelperLogLevel(2);
    connector->Load();

    CxParamParser params;
    ASSERT_TRUE(params.ReadParamFile(Work("LNNoteParam.dat").c_str()));
    const int db = GetParam().databaseParamId;
    const std::vector<std::pair<int, std::string>> expected = {{1000, ""},
                                                               {1001, ""},
                                                               {1002, ""},
                                                               {1003, "LNNote.dat"},
                                                               {1004, m_folder},
                                                               {1005, "1"},
                                                               {1006, "LNNoteErr.dat"},
                                                               {1007, "LNNoteStatus.dat"},
                                                               {db, "notes.nsf"},
                                                               {1010, m_folder},
                                                               {1011, "appdebug.log"},
                                                               {1012, "2"},
                                                               {1013, "1"},
                                                               {1014, "user.id"}};
    ASSERT_EQ(params.GetCount(), 14);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(params.Entries()[i].id, expected[i].first);
        EXPECT_EQ(params.Entries()[i].type, CxParamParser::TypeText);
        EXPECT_EQ(params.GetText(expected[i].first), expected[i].second);
    }

    // The submit names its command the same way.
    ASSERT_TRUE(connector->Commit());
    ASSERT_TRUE(params.ReadParamFile(Work("LNNoteParam.dat").c_str()));
    EXPECT_EQ(params.GetText(1005), "2");
}

INSTANTIATE_TEST_SUITE_P(Kinds, ParamFileTest,
                         ::testing::Values(ParamCase{"Calendar", CxLNBaseUtil::kParamDatabase},
                                           ParamCase{"Contacts", CxLNBaseUtil::kParamAddressBook}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- error file -------------------------------------------------------------------------

struct ErrorCase
{
    const char* name;
    const char* contents; // null: no error file
    bool hasError;
    const char* text;
};

class ErrorFileTest : public HelperExchangeTest, public ::testing::WithParamInterface<ErrorCase>
{
};

TEST_P(ErrorFileTest, GivesTheLastErrorListed)
{
    auto connector = MakeConnector();
    if (GetParam().contents != nullptr) {
        m_home.WriteFile("work/LNNoteErr.dat", GetParam().contents);
    }
    connector->ReadErrorFile_();
    EXPECT_EQ(connector->HasError(), GetParam().hasError);
    EXPECT_EQ(connector->GetErrorFlag(), GetParam().hasError);
    EXPECT_STREQ(connector->ErrorText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ErrorFileTest,
    ::testing::Values(ErrorCase{"TwoErrors", "[Error]\nError.Count=2\nError.1=A\nError.2=B\n", true, "B"},
                      ErrorCase{"NoSection", "[Other]\nError.Count=2\nError.2=B\n", false, ""},
                      ErrorCase{"NoFile", nullptr, false, ""},
                      ErrorCase{"CountZero", "[Error]\nError.Count=0\nError.0=A\n", false, ""},
                      ErrorCase{"NegativeCount", "[Error]\nError.Count=-1\n", false, ""},
                      ErrorCase{"LastErrorMissing", "[Error]\nError.Count=3\nError.1=A\n", true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HelperExchangeTest, AnErrorTheHelperReportsIsReadAfterItsRunAndNeverTakenForTheNextRuns)
{
    const std::string errors =
        m_home.WriteFile("errors.ini", "[Error]\nError.Count=1\nError.1=Database locked\n");
    auto connector = MakeConnector();
    Script("ErrorFrom=" + errors + "\n");
    connector->Load();
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(), "Database locked");

    // The next run reports only its own errors: the submit finds none, nor does a load.
    Script("");
    EXPECT_TRUE(connector->Commit());
    EXPECT_FALSE(connector->HasError());
    EXPECT_STREQ(connector->ErrorText(), "");
    Script("ErrorFrom=" + errors + "\n");
    connector->Load();
    EXPECT_TRUE(connector->HasError());
    Script("");
    connector->Load();
    EXPECT_FALSE(connector->HasError());
}

// --- load, records and commit -------------------------------------------------------------

TEST_F(HelperExchangeTest, LoadReadsEveryRecordIntoTheStoreBesideItsNativeRecord)
{
    const std::string records = m_home.Path("records.dat");
    ASSERT_TRUE(
        TestNoteConnector::WriteRecordFile(records, {TestNoteConnector::Make(11, "First", "one", 1),
                                                     TestNoteConnector::Make(12, "Second", "two", 1)}));
    Script("LoadFrom=" + records + "\n");
    auto connector = MakeConnector();
    ASSERT_TRUE(connector->Load());
    EXPECT_EQ(Runs(), "1\n");
    ASSERT_EQ(connector->GetNoteStore()->GetCount(), 2);
    EXPECT_EQ(connector->GetAddrStore(), nullptr);
    ASSERT_EQ(connector->GetNativeCount(), 2);
    const CommNoteRec* second = connector->GetNoteStore()->First();
    second = connector->GetNoteStore()->Next();
    EXPECT_STREQ(second->Title, "Second");
    EXPECT_STREQ(second->EntryId, "12");
    EXPECT_EQ(second->SourceType, SourceLotusNotes);
    EXPECT_EQ(second->NativeRecord, connector->GetNative(1));
    EXPECT_EQ(second->NativeSize, 0u);

    const std::string log = Log();
    EXPECT_NE(log.find("Start loading Lotus Notes Notes."), std::string::npos);
    EXPECT_NE(log.find("Load Lotus Notes Notes information successfully."), std::string::npos);

    // A second load replaces everything.
    ASSERT_TRUE(connector->Load());
    EXPECT_EQ(connector->GetNoteStore()->GetCount(), 2);
    EXPECT_EQ(connector->GetNativeCount(), 2);
}

TEST_F(HelperExchangeTest, ATruncatedRecordFileGivesTheRecordsItHoldsWithZerosWhereItEnds)
{
    const std::string full = m_home.Path("full.dat");
    ASSERT_TRUE(TestNoteConnector::WriteRecordFile(
        full, {TestNoteConnector::Make(1, "Whole", "kept"), TestNoteConnector::Make(2, "Cut", "lost")},
        1000000));
    std::string bytes = Slurp(full);
    // Cut within the second record's title: its id stays, its texts are zeros.
    const std::size_t cut = bytes.rfind("Cut") + 1;
    m_home.WriteFile("cut.dat", bytes.substr(0, cut));
    Script("LoadFrom=" + m_home.Path("cut.dat") + "\n");
    auto connector = MakeConnector();
    ASSERT_TRUE(connector->Load());
    ASSERT_EQ(connector->GetNativeCount(), 2); // the count of a million is never believed
    EXPECT_STREQ(connector->GetNative(0)->Body, "kept");
    EXPECT_EQ(connector->GetNative(1)->ItemId, 2);
    EXPECT_STREQ(connector->GetNative(1)->Title, "");
    EXPECT_STREQ(connector->GetNative(1)->Body, "");
}

TEST_F(HelperExchangeTest, NoRecordFileFailsTheLoadWithTheConnectorsWords)
{
    auto connector = MakeConnector();
    Script("");
    EXPECT_FALSE(connector->Load());
    EXPECT_FALSE(connector->HasError());
    const std::string log = Log();
    EXPECT_NE(log.find("Cannot load Lotus Notes Note records from temperary file: " + Work("LNNote.dat")),
              std::string::npos);
    EXPECT_NE(log.find("Failed to load Lotus Notes Notes information."), std::string::npos);
}

TEST_F(HelperExchangeTest, FirstCommitRunsTheHelperEvenWithoutChangesASecondDoesNothing)
{
    const std::string records = m_home.Path("records.dat");
    ASSERT_TRUE(
        TestNoteConnector::WriteRecordFile(records, {TestNoteConnector::Make(5, "Kept", "as is", 1, 0)}));
    Script("LoadFrom=" + records + "\n");
    auto connector = MakeConnector();
    ASSERT_TRUE(connector->Load());
    EXPECT_TRUE(connector->IsDirty());

    EXPECT_TRUE(connector->Commit());
    EXPECT_EQ(Runs(), "1\n2\n");
    EXPECT_FALSE(connector->IsDirty());
    EXPECT_EQ(connector->GetCommand(), CxHelperBaseUtil::CommandSubmit);
    // Loaded records go back as the helper gave them.
    const auto submitted = TestNoteConnector::ReadRecordFile(Work("FakeSubmitted.dat"));
    ASSERT_EQ(submitted.size(), 1u);
    EXPECT_EQ(submitted[0].ChangeMark, 1);
    EXPECT_EQ(submitted[0].ItemId, 5);

    EXPECT_TRUE(connector->Commit());
    EXPECT_EQ(Runs(), "1\n2\n");
}

TEST_F(HelperExchangeTest, SubmittedRecordsCarryTheirChangeMarkAndAction)
{
    const std::string records = m_home.Path("records.dat");
    ASSERT_TRUE(
        TestNoteConnector::WriteRecordFile(records, {TestNoteConnector::Make(5, "Same", "body", 1),
                                                     TestNoteConnector::Make(6, "Changed", "old", 1)}));
    Script("LoadFrom=" + records + "\n");
    auto connector = MakeConnector();
    ASSERT_TRUE(connector->Load());
    ASSERT_TRUE(connector->Commit());

    struct Case
    {
        const char* title;
        const char* body;
        bool submitted;
    };
    const Case cases[] = {{"Same", "body", false}, {"Changed", "new", true}, {"Fresh", "text", true}};
    for (const Case& c : cases) {
        CommNoteRec record{};
        std::snprintf(record.Title, sizeof(record.Title), "%s", c.title);
        std::snprintf(record.Body, sizeof(record.Body), "%s", c.body);
        EXPECT_EQ(connector->SubmitRecord(record, false), c.submitted) << c.title;
    }
    EXPECT_TRUE(connector->IsDirty());
    EXPECT_EQ(Runs(), "1\n2\n"); // nothing runs before Commit
    ASSERT_TRUE(connector->Commit());
    EXPECT_EQ(Runs(), "1\n2\n2\n");

    const auto submitted = TestNoteConnector::ReadRecordFile(Work("FakeSubmitted.dat"));
    ASSERT_EQ(submitted.size(), 3u);
    EXPECT_EQ(submitted[0].ChangeMark, 1);
    EXPECT_EQ(submitted[1].ChangeMark, 2);
    EXPECT_EQ(submitted[1].Action, CxHelperBaseUtil::kActionChanged);
    EXPECT_EQ(submitted[1].ItemId, 6); // changed in place
    EXPECT_STREQ(submitted[1].Body, "new");
    EXPECT_EQ(submitted[2].ChangeMark, 2);
    EXPECT_EQ(submitted[2].Action, CxHelperBaseUtil::kActionNew);
    EXPECT_STREQ(submitted[2].Title, "Fresh");
    EXPECT_EQ(connector->GetNoteStore()->GetCount(), 3);

    EXPECT_FALSE(connector->UpdateRecord(CommNoteRec{}, 3, false)); // no native record there
}

TEST_F(HelperExchangeTest, SubmitNowCommitsAtOnce)
{
    Script("");
    auto connector = MakeConnector();
    ASSERT_TRUE(connector->Commit());
    CommNoteRec record{};
    std::snprintf(record.Title, sizeof(record.Title), "Now");
    EXPECT_TRUE(connector->SubmitRecord(record, true));
    EXPECT_EQ(Runs(), "2\n2\n");
    EXPECT_FALSE(connector->IsDirty());
    EXPECT_EQ(TestNoteConnector::ReadRecordFile(Work("FakeSubmitted.dat")).size(), 1u);
}

TEST_F(HelperExchangeTest, ARecordFileThatCannotBeWrittenFailsTheCommitWithoutARun)
{
    Script("");
    auto connector = MakeConnector();
    std::filesystem::create_directories(Work("LNNote.dat")); // a folder where the file should be
    EXPECT_FALSE(connector->Commit());
    EXPECT_TRUE(connector->IsDirty());
    EXPECT_EQ(Runs(), "");
    const std::string log = Log();
    EXPECT_NE(log.find("Cannot save Lotus Notes Notes records to temperary file: " + Work("LNNote.dat")),
              std::string::npos);
    EXPECT_NE(log.find("Can not save information to temperary file."), std::string::npos);
}

// --- the run -------------------------------------------------------------------------------

struct UnstartableCase
{
    const char* name;
    const char* helper;   // in the helper folder
    const char* contents; // null: no such file; else written there without execute permission
    const char* reason;   // the system's words
};

class UnstartableHelperTest : public HelperExchangeTest, public ::testing::WithParamInterface<UnstartableCase>
{
};

// Neither the load nor the submit trusts a run that never happened: a record file left from
// before is not read, and the commit fails with the changes still to be written.
TEST_P(UnstartableHelperTest, FailsTheLoadAndTheCommitNamingTheHelperAndTheReason)
{
    const UnstartableCase& c = GetParam();
    const std::string helperDir = m_home.Path("helpers/");
    std::filesystem::create_directories(helperDir);
    setenv("FERRYWISE_HELPER_DIR", helperDir.c_str(), 1);
    if (c.contents != nullptr) {
        m_home.WriteFile(std::string("helpers/") + c.helper, c.contents);
        std::filesystem::permissions(helperDir + c.helper, std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write);
    }
    const CxHelperFiles files = {c.helper,        "LNNote.dat",       "LNNoteParam.dat",
                                 "LNNoteErr.dat", "LNNoteStatus.dat", "LNNote.ini"};
    auto connector = MakeConnector(CxLNBaseUtil::kParamDatabase, files);
    ASSERT_TRUE(
        TestNoteConnector::WriteRecordFile(Work("LNNote.dat"), {TestNoteConnector::Make(1, "Old", "")}));
    const std::string expected =
        "The helper utility program " + helperDir + c.helper + " cannot be started: " + c.reason;

    EXPECT_FALSE(connector->Load());
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(), expected);
    EXPECT_EQ(connector->GetNativeCount(), 0);
    EXPECT_EQ(connector->GetNoteStore()->GetCount(), 0);

    CommNoteRec record{};
    std::snprintf(record.Title, sizeof(record.Title), "New");
    EXPECT_TRUE(connector->SubmitRecord(record, false));
    EXPECT_FALSE(connector->Commit());
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(), expected);
    EXPECT_TRUE(connector->IsDirty());

    const std::string log = Log();
    EXPECT_NE(log.find(std::string("CreateProcess Error: ") + c.reason), std::string::npos);
    EXPECT_NE(log.find(expected), std::string::npos);
    EXPECT_NE(log.find("Failed to load Lotus Notes Notes information."), std::string::npos);
    EXPECT_EQ(log.find("Command executed successfully."), std::string::npos);
    EXPECT_NE(
        log.find("Executing command: \"" + helperDir + c.helper + "\" \"" + Work("LNNoteParam.dat") + "\""),
        std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Helpers, UnstartableHelperTest,
                         ::testing::Values(UnstartableCase{"Missing", "fw-no-such-helper", nullptr,
                                                           "No such file or directory"},
                                           UnstartableCase{"NotExecutable", "fw-plain-file",
                                                           "#!/bin/sh\nexit 0\n", "Permission denied"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FolderCase
{
    const char* name;
    bool notesPathKnown;
};

class HelperFolderTest : public HelperExchangeTest, public ::testing::WithParamInterface<FolderCase>
{
};

TEST_P(HelperFolderTest, TheHelperRunsInTheNotesFolderOrElseTheProgramsOwnAndOurFolderStays)
{
    std::string expected;
    if (GetParam().notesPathKnown) {
        expected = m_home.Path("notes");
        std::filesystem::create_directories(expected);
        m_home.WriteFile("registry.ini",
                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\nPath=" + expected + "\n");
    } else {
        ASSERT_TRUE(platform::GetProgramFolder(expected));
    }
    const std::string before = CurrentFolder();
    Script("");
    auto connector = MakeConnector();
    connector->Load();
    EXPECT_EQ(std::filesystem::canonical(Slurp(Work("FakeCwd.txt"))), std::filesystem::canonical(expected));
    EXPECT_EQ(CurrentFolder(), before);
    const std::string log = Log();
    EXPECT_NE(log.find("Original current directory: " + before), std::string::npos);
    EXPECT_NE(log.find("Set current directory: " + expected), std::string::npos);
    EXPECT_NE(log.find("Get Lotus Notes Path: " + std::string(GetParam().notesPathKnown ? expected : "")),
              std::string::npos);
    EXPECT_NE(log.find("Helper utility program exited successfully."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Registry, HelperFolderTest,
                         ::testing::Values(FolderCase{"NotesPathKnown", true},
                                           FolderCase{"NotesPathMissing", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HelperExchangeTest, AHelperThatNeverEndsIsLeftRunningAndStoppedThroughTheControlFile)
{
    const std::string records = m_home.Path("records.dat");
    ASSERT_TRUE(TestNoteConnector::WriteRecordFile(records, {TestNoteConnector::Make(1, "Early", "")}));
    Script("LoadFrom=" + records + "\nRunning=1\nForever=1\nControlFile=LNNote.ini\n");
    auto connector = MakeConnector();
    connector->SetWaitLimit(300);
    const auto start = std::chrono::steady_clock::now();
    // The helper has not finished: what its record file holds at the limit is not its result.
    EXPECT_FALSE(connector->Load());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    const int pid = Track(*connector);
    ASSERT_GT(pid, 0);
    EXPECT_TRUE(IsAlive(pid));
    EXPECT_NE(Log().find("The helper utility program has no response. Got timeout event."),
              std::string::npos);
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(),
              "The helper utility program " FW_FAKE_HELPER_DIR
              "/fw_fake_helper did not end within 300 ms and may still be running.");
    EXPECT_EQ(connector->GetNativeCount(), 0);

    // Going away, the connector asks the helper to stop; it ends and is reaped.
    connector.reset();
    EXPECT_STREQ(CxIniUtil(m_folder.c_str(), "LNNote.ini").ReadInt("Status", "Stop", 0) == 1 ? "stop"
                                                                                             : "none",
                 "stop");
    bool gone = false;
    for (int i = 0; i < 250 && !gone; ++i) {
        platform::Process::ReapAbandoned();
        gone = platform::Process::AbandonedCount() == 0 &&
               !std::filesystem::exists("/proc/" + std::to_string(pid));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_TRUE(gone);
}

// The user cancels while the helper runs: the launcher asks it to stop through the control
// file, it ends by itself, and the load fails with "Cancelled." without reading the record file.
TEST_F(HelperExchangeTest, ACancelledLoadAsksTheHelperToStopAndReadsNothing)
{
    const std::string records = m_home.Path("records.dat");
    ASSERT_TRUE(TestNoteConnector::WriteRecordFile(records, {TestNoteConnector::Make(1, "Early", "")}));
    Script("LoadFrom=" + records + "\nRunning=1\nForever=1\nControlFile=LNNote.ini\n");
    auto connector = MakeConnector();
    const FlowCancelScope loading(FlowCancel::Phase::Loading);
    std::thread user([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        FlowCancel::Request();
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(connector->Load());
    user.join();
    // Within the grace time: the helper heard the request, it was not killed.
    EXPECT_LT(std::chrono::steady_clock::now() - start,
              std::chrono::milliseconds(CxProcessLauncher::kStopGraceMs));
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(), "Cancelled.");
    EXPECT_EQ(connector->GetNativeCount(), 0);
    EXPECT_EQ(CxIniUtil(m_folder.c_str(), "LNNote.ini").ReadInt("Status", "Stop", 0), 1);
    EXPECT_NE(Log().find("the user cancelled"), std::string::npos);
}

struct UnfinishedCase
{
    const char* name;
    const char* script;
    const char* ending; // of the error text, after the helper's path
};

class UnfinishedSubmitTest : public HelperExchangeTest, public ::testing::WithParamInterface<UnfinishedCase>
{
};

// A submit whose helper did not finish is no submit: Commit fails and the changes stay to be
// written.
TEST_P(UnfinishedSubmitTest, FailsTheCommitNamingTheHelper)
{
    Script("");
    auto connector = MakeConnector();
    ASSERT_TRUE(connector->Commit());
    CommNoteRec record{};
    std::snprintf(record.Title, sizeof(record.Title), "New");
    ASSERT_TRUE(connector->SubmitRecord(record, false));

    Script(GetParam().script);
    connector->SetWaitLimit(300);
    EXPECT_FALSE(connector->Commit());
    Track(*connector);
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(),
              std::string("The helper utility program " FW_FAKE_HELPER_DIR "/fw_fake_helper ") +
                  GetParam().ending);
    EXPECT_TRUE(connector->IsDirty());
    EXPECT_NE(Log().find(connector->GetErrorText()), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, UnfinishedSubmitTest,
    ::testing::Values(UnfinishedCase{"StillRunning", "Running=1\nForever=1\nControlFile=LNNote.ini\n",
                                     "did not end within 300 ms and may still be running."},
                      UnfinishedCase{"Killed", "KillSelf=1\n",
                                     "was ended by signal 9 (Killed) before it finished."}),
    [](const auto& info) { return std::string(info.param.name); });

struct StopCase
{
    const char* name;
    const char* control; // null: no control file
    const char* stopAfter;
};

class StopRequestTest : public HelperExchangeTest, public ::testing::WithParamInterface<StopCase>
{
};

TEST_P(StopRequestTest, IsWrittenOnlyWhileTheHelperSaysItRuns)
{
    if (GetParam().control != nullptr) {
        m_home.WriteFile("work/LNNote.ini", GetParam().control);
    }
    MakeConnector().reset();
    char stop[16] = {};
    CxIniUtil(m_folder.c_str(), "LNNote.ini").ReadString("Status", "Stop", stop, sizeof(stop), "");
    EXPECT_STREQ(stop, GetParam().stopAfter);
    EXPECT_EQ(Exists(Work("LNNote.ini")), GetParam().control != nullptr);
}

INSTANTIATE_TEST_SUITE_P(Control, StopRequestTest,
                         ::testing::Values(StopCase{"Running", "[Status]\nRunning=1\n", "1"},
                                           StopCase{"Ended", "[Status]\nRunning=0\n", ""},
                                           StopCase{"NoFile", nullptr, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HelperExchangeTest, ExchangeFilesAreDeletedByTheirOwners)
{
    const std::string records = m_home.Path("records.dat");
    ASSERT_TRUE(TestNoteConnector::WriteRecordFile(records, {TestNoteConnector::Make(1, "A", "")}));
    Script("LoadFrom=" + records + "\n");
    auto connector = MakeConnector();
    ASSERT_TRUE(connector->Load());
    m_home.WriteFile("work/LNNoteStatus.dat", "Loading 1 of 1\n");
    m_home.WriteFile("work/LNNoteErr.dat", "[Error]\nError.Count=0\n");
    ASSERT_TRUE(Exists(Work("LNNoteParam.dat")));
    ASSERT_TRUE(Exists(Work("LNNote.dat")));

    connector->Clear();
    EXPECT_FALSE(Exists(Work("LNNoteStatus.dat")));
    EXPECT_FALSE(Exists(Work("LNNoteErr.dat")));
    EXPECT_EQ(connector->GetNativeCount(), 0);
    EXPECT_EQ(connector->GetNoteStore()->GetCount(), 0);
    EXPECT_TRUE(Exists(Work("LNNote.dat")));

    m_home.WriteFile("work/LNNoteStatus.dat", "x\n");
    connector.reset();
    EXPECT_FALSE(Exists(Work("LNNoteStatus.dat")));
    EXPECT_FALSE(Exists(Work("LNNoteParam.dat")));
    EXPECT_FALSE(Exists(Work("LNNote.dat")));
}

} // namespace
