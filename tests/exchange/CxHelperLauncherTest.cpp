// Starting a helper behind CxHelperLauncher: the real launcher's results for each way a child
// process ends, and how a connector puts each result into words for Load and Commit, with a
// scripted launcher that starts nothing.
#include "exchange/CxHelperLauncher.h"

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <thread>

#include "TestNoteConnector.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
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

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// --- the real launcher ------------------------------------------------------------------

struct ProcessCase
{
    const char* name;
    std::vector<std::string> argv;
    std::uint32_t waitLimit;
    bool started;
    bool ended;
    bool stillRunning;
    int exitStatus;
    int signal;
    const char* errorText;
};

void PrintTo(const ProcessCase& c, std::ostream* out)
{
    *out << c.name;
}

class ProcessLauncherTest : public ::testing::TestWithParam<ProcessCase>
{
};

TEST_P(ProcessLauncherTest, TellsHowTheChildEnded)
{
    const ProcessCase& c = GetParam();
    CxProcessLauncher launcher;
    int announced = -1;
    const CxHelperRunResult result =
        launcher.Run(c.argv, std::string(), c.waitLimit, [&](int processId) { announced = processId; });
    EXPECT_EQ(result.started, c.started);
    EXPECT_EQ(result.ended, c.ended);
    EXPECT_EQ(result.stillRunning, c.stillRunning);
    EXPECT_EQ(result.WaitFailed(), false);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
    EXPECT_EQ(result.signal, c.signal);
    EXPECT_EQ(result.errorText, c.errorText);
    if (c.started) {
        EXPECT_GT(result.processId, 0);
        EXPECT_EQ(announced, result.processId);
    } else {
        EXPECT_EQ(result.processId, -1);
        EXPECT_EQ(announced, -1);
    }

    // One left running is released, not killed; it is ended here and then reaped.
    launcher.Release();
    if (result.stillRunning) {
        kill(result.processId, SIGKILL);
    }
    for (int i = 0; i < 250 && platform::Process::AbandonedCount() > 0; ++i) {
        platform::Process::ReapAbandoned();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(platform::Process::AbandonedCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Children, ProcessLauncherTest,
    ::testing::Values(
        ProcessCase{"ExitZero", {"/bin/sh", "-c", "exit 0"}, 10000, true, true, false, 0, 0, ""},
        ProcessCase{"ExitSeven", {"/bin/sh", "-c", "exit 7"}, 10000, true, true, false, 7, 0, ""},
        ProcessCase{"Killed", {"/bin/sh", "-c", "kill -KILL $$"}, 10000, true, true, false, -1, SIGKILL, ""},
        ProcessCase{"StillRunning", {"/bin/sh", "-c", "sleep 30"}, 100, true, false, true, -1, 0, ""},
        ProcessCase{"Missing",
                    {"/nonexistent/fw-no-such-helper"},
                    10000,
                    false,
                    false,
                    false,
                    -1,
                    0,
                    "No such file or directory"}),
    [](const auto& info) { return std::string(info.param.name); });

// The user cancels while the child runs: it is asked to stop and, if it does not end, ended
// by SIGTERM after the grace time and by SIGKILL after one more.
struct CancelCase
{
    const char* name;
    const char* script; // $1: the file that the ask-stop function creates
    bool canAsk;
    int exitStatus;
    int signal;
};

class CancelledRunTest : public ::testing::TestWithParam<CancelCase>
{
protected:
    fwtest::TempHome m_home;
};

TEST_P(CancelledRunTest, AsksTheChildToStopThenEndsIt)
{
    const CancelCase& c = GetParam();
    const std::string stopFile = m_home.Path("stop");
    CxProcessLauncher launcher;
    launcher.SetStopGrace(300);
    int asked = 0;
    if (c.canAsk) {
        launcher.SetAskStop([&] {
            ++asked;
            std::ofstream(stopFile) << "1";
        });
    }
    const FlowCancelScope loading(FlowCancel::Phase::Loading);
    ASSERT_EQ(FlowCancel::Request(), FlowCancel::Answer::Accepted);

    const CxHelperRunResult result =
        launcher.Run({"/bin/sh", "-c", c.script, "sh", stopFile}, std::string(), 60000, nullptr);

    EXPECT_TRUE(result.cancelled);
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.exitStatus, c.exitStatus);
    EXPECT_EQ(result.signal, c.signal);
    EXPECT_EQ(asked > 0, c.canAsk);
    launcher.Release();
}

INSTANTIATE_TEST_SUITE_P(
    Children, CancelledRunTest,
    ::testing::Values(CancelCase{"StopsWhenAsked", "while [ ! -e \"$1\" ]; do sleep 0.02; done; exit 3", true,
                                 3, 0},
                      CancelCase{"EndedByTerm", "exec sleep 30", true, -1, SIGTERM},
                      CancelCase{"EndedByTermWithoutAsking", "exec sleep 30", false, -1, SIGTERM},
                      CancelCase{"IgnoresTermEndedByKill", "trap '' TERM; exec sleep 30", true, -1, SIGKILL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProcessLauncherCancel, ARunWithoutARequestIsNotCancelled)
{
    CxProcessLauncher launcher;
    const FlowCancelScope loading(FlowCancel::Phase::Loading);
    const CxHelperRunResult result =
        launcher.Run({"/bin/sh", "-c", "sleep 0.3; exit 0"}, std::string(), 10000, nullptr);
    EXPECT_FALSE(result.cancelled);
    EXPECT_TRUE(result.ended);
    EXPECT_EQ(result.exitStatus, 0);
}

// --- a connector with a scripted launcher -------------------------------------------------

// Starts nothing: gives the results it is given, one per run (the last one again once they
// run out), and notes what it was asked to run.
class ScriptedLauncher : public CxHelperLauncher
{
public:
    struct Call
    {
        std::vector<std::string> argv;
        std::string folder;
        std::uint32_t waitLimit;
    };

    explicit ScriptedLauncher(std::vector<CxHelperRunResult> results) : m_results(std::move(results)) {}

    CxHelperRunResult Run(const std::vector<std::string>& argv, const std::string& folder,
                          std::uint32_t waitLimit, const StartedFn& started) override
    {
        calls.push_back({argv, folder, waitLimit});
        const CxHelperRunResult result = m_results[std::min(calls.size(), m_results.size()) - 1];
        if (result.started) {
            started(result.processId);
            if (whileRunning) {
                whileRunning();
            }
        }
        return result;
    }
    void Release() override { ++releases; }

    std::vector<Call> calls;
    int releases = 0;
    // What "the helper" does while it runs, e.g. write its record file.
    std::function<void()> whileRunning;

private:
    std::vector<CxHelperRunResult> m_results;
};

CxHelperRunResult NotStarted(const char* errorText)
{
    CxHelperRunResult result;
    result.errorText = errorText;
    return result;
}

CxHelperRunResult Started(int processId)
{
    CxHelperRunResult result;
    result.started = true;
    result.processId = processId;
    return result;
}

CxHelperRunResult Ended(int exitStatus, int signal = 0)
{
    CxHelperRunResult result = Started(4242);
    result.ended = true;
    result.exitStatus = signal == 0 ? exitStatus : -1;
    result.signal = signal;
    return result;
}

CxHelperRunResult StillRunning()
{
    CxHelperRunResult result = Started(4243);
    result.stillRunning = true;
    return result;
}

class ScriptedRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_helperDir = m_home.Path("helpers/");
        std::filesystem::create_directories(m_folder);
        std::filesystem::create_directories(m_helperDir);
        // No helper lies there: nothing can be started but through the scripted launcher.
        m_home.SetEnv("FERRYWISE_HELPER_DIR", m_helperDir);
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
    }

    void TearDown() override { g_debugLog.EnableLog(false); }

    // The connector keeps the launcher; the pointer given back lives as long as it does.
    std::unique_ptr<TestNoteConnector> MakeConnector(std::vector<CxHelperRunResult> results,
                                                     ScriptedLauncher*& launcher)
    {
        auto connector = std::make_unique<TestNoteConnector>();
        connector->SetFolder(m_folder.c_str());
        connector->SetLogFolder(m_folder.c_str());
        connector->SetDatabase("notes.nsf");
        connector->SetWaitLimit(300);
        auto scripted = std::make_unique<ScriptedLauncher>(std::move(results));
        launcher = scripted.get();
        connector->SetHelperLauncher(std::move(scripted));
        return connector;
    }

    std::string Work(const std::string& name) const { return m_folder + name; }
    std::string Helper() const { return m_helperDir + "fw_fake_helper"; }
    std::string Log() const { return Slurp(Work("appdebug.log")); }

    fwtest::TempHome m_home;
    std::string m_folder;
    std::string m_helperDir;
};

struct FailedRunCase
{
    const char* name;
    CxHelperRunResult result;
    const char* ending;  // of the error text, after "The helper utility program <path> "
    const char* logLine; // what the log says of the run
    bool announced;      // "Command executed successfully." is logged
};

void PrintTo(const FailedRunCase& c, std::ostream* out)
{
    *out << c.name;
}

class FailedRunTest : public ScriptedRunTest, public ::testing::WithParamInterface<FailedRunCase>
{
};

// A run that did not finish is neither a load nor a submit: no record file is read, the
// commit keeps its changes, and the error text names the helper and what went wrong.
TEST_P(FailedRunTest, FailsTheLoadAndTheCommitWithItsOwnText)
{
    const FailedRunCase& c = GetParam();
    ScriptedLauncher* launcher = nullptr;
    auto connector = MakeConnector({c.result}, launcher);
    ASSERT_TRUE(
        TestNoteConnector::WriteRecordFile(Work("LNNote.dat"), {TestNoteConnector::Make(1, "Old", "")}));
    const std::string expected = c.result.WaitFailed()
                                     ? "Waiting for the helper utility program " + Helper() + " failed."
                                     : "The helper utility program " + Helper() + " " + c.ending;

    EXPECT_FALSE(connector->Load());
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(), expected);
    EXPECT_EQ(connector->GetNativeCount(), 0);
    EXPECT_EQ(connector->DataReader()->RunError(), expected);
    EXPECT_EQ(connector->DataReader()->LastProcessId(), c.result.processId);

    CommNoteRec record{};
    std::snprintf(record.Title, sizeof(record.Title), "New");
    EXPECT_TRUE(connector->SubmitRecord(record, false));
    EXPECT_FALSE(connector->Commit());
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(), expected);
    EXPECT_TRUE(connector->IsDirty());

    // Both runs asked for the helper with its parameter file, in the helper's folder and
    // with the connector's limit.
    ASSERT_EQ(launcher->calls.size(), 2u);
    std::string programFolder;
    ASSERT_TRUE(platform::GetProgramFolder(programFolder));
    for (const ScriptedLauncher::Call& call : launcher->calls) {
        EXPECT_EQ(call.argv, (std::vector<std::string>{Helper(), Work("LNNoteParam.dat")}));
        EXPECT_EQ(call.folder, programFolder);
        EXPECT_EQ(call.waitLimit, 300u);
    }
    // Each run first released what the one before left.
    EXPECT_GE(launcher->releases, 2);

    const std::string log = Log();
    EXPECT_TRUE(Contains(log, c.logLine)) << log;
    EXPECT_TRUE(Contains(log, expected)) << log;
    EXPECT_EQ(Contains(log, "Command executed successfully."), c.announced);
    EXPECT_TRUE(Contains(log, "Failed to load Lotus Notes Notes information."));
    EXPECT_FALSE(std::filesystem::exists(Work("FakeRuns.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Results, FailedRunTest,
    ::testing::Values(
        FailedRunCase{"NotStarted", NotStarted("Permission denied"), "cannot be started: Permission denied",
                      "CreateProcess Error: Permission denied", false},
        FailedRunCase{"StillRunning", StillRunning(), "did not end within 300 ms and may still be running.",
                      "The helper utility program has no response. Got timeout event.", true},
        FailedRunCase{"WaitFailed", Started(4244), "", "Got unexpected error, return code=2", true},
        FailedRunCase{"Killed", Ended(-1, SIGKILL), "was ended by signal 9 (Killed) before it finished.",
                      "The helper utility program was ended by signal 9.", true},
        FailedRunCase{"Crashed", Ended(-1, SIGSEGV),
                      "was ended by signal 11 (Segmentation fault) before it finished.",
                      "The helper utility program was ended by signal 11.", true}),
    [](const auto& info) { return std::string(info.param.name); });

class EndedRunTest : public ScriptedRunTest, public ::testing::WithParamInterface<int>
{
};

// A helper that ended by itself finished its run, whatever its exit status: the record file
// is read, and what went wrong is what its error file says.
TEST_P(EndedRunTest, ReadsTheRecordAndErrorFilesWhateverTheExitStatus)
{
    ScriptedLauncher* launcher = nullptr;
    auto connector = MakeConnector({Ended(GetParam())}, launcher);
    launcher->whileRunning = [this] {
        TestNoteConnector::WriteRecordFile(Work("LNNote.dat"), {TestNoteConnector::Make(7, "Fresh", "x")});
        m_home.WriteFile("work/LNNoteErr.dat", "[Error]\nError.Count=1\nError.1=Database locked\n");
    };
    EXPECT_TRUE(connector->Load());
    ASSERT_EQ(connector->GetNativeCount(), 1);
    EXPECT_STREQ(connector->GetNative(0)->Title, "Fresh");
    EXPECT_TRUE(connector->HasError());
    EXPECT_EQ(connector->GetErrorText(), "Database locked");
    EXPECT_EQ(connector->DataReader()->RunError(), "");
    EXPECT_EQ(connector->DataReader()->LastProcessId(), 4242);

    launcher->whileRunning = nullptr;
    EXPECT_TRUE(connector->Commit());
    EXPECT_FALSE(connector->IsDirty());
    EXPECT_FALSE(connector->HasError());
    ASSERT_EQ(launcher->calls.size(), 2u);

    const std::string log = Log();
    EXPECT_TRUE(Contains(log, "Command executed successfully."));
    EXPECT_TRUE(Contains(log, "Helper utility program exited successfully."));
    EXPECT_TRUE(Contains(log, "Load Lotus Notes Notes information successfully."));
    EXPECT_FALSE(std::filesystem::exists(Work("FakeRuns.txt")));
}

INSTANTIATE_TEST_SUITE_P(ExitStatus, EndedRunTest, ::testing::Values(0, 1, 7));

TEST_F(ScriptedRunTest, ALauncherGivenAfterARunTakesTheNextRun)
{
    ScriptedLauncher* first = nullptr;
    auto connector = MakeConnector({StillRunning()}, first);
    EXPECT_FALSE(connector->Load());
    EXPECT_EQ(first->calls.size(), 1u);

    auto second = std::make_unique<ScriptedLauncher>(std::vector<CxHelperRunResult>{Ended(0)});
    ScriptedLauncher* next = second.get();
    connector->SetHelperLauncher(std::move(second)); // the first one is gone after this
    EXPECT_TRUE(connector->Commit());
    EXPECT_EQ(next->calls.size(), 1u);
    EXPECT_FALSE(connector->HasError());
}

} // namespace
