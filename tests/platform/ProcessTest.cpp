#include "platform/Process.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "common/TempHome.h"

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string CurrentFolder()
{
    char buffer[4096] = {};
    return getcwd(buffer, sizeof(buffer)) != nullptr ? buffer : "";
}

// True while a process with this id exists and is not a zombie.
bool IsAlive(int pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    std::getline(stat, text);
    const std::size_t paren = text.rfind(')');
    return paren != std::string::npos && paren + 2 < text.size() && text[paren + 2] != 'Z';
}

bool Exists(int pid)
{
    return access(("/proc/" + std::to_string(pid)).c_str(), F_OK) == 0;
}

// Waits until the released children are all reaped.
bool AllReaped()
{
    for (int i = 0; i < 250; ++i) {
        platform::Process::ReapAbandoned();
        if (platform::Process::AbandonedCount() == 0) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

struct ExitCase
{
    const char* name;
    std::vector<std::string> argv;
    int exitCode;
};

class ProcessExitTest : public ::testing::TestWithParam<ExitCase>
{
};

TEST_P(ProcessExitTest, GivesTheChildsExitCode)
{
    platform::Process process;
    std::string error;
    ASSERT_TRUE(process.Start(GetParam().argv, "", error)) << error;
    EXPECT_EQ(process.Wait(10000), platform::Process::WaitResult::Exited);
    EXPECT_EQ(process.ExitCode(), GetParam().exitCode);
    EXPECT_FALSE(process.IsStarted());
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ProcessExitTest,
    ::testing::Values(ExitCase{"Zero", {"/bin/sh", "-c", "exit 0"}, 0},
                      ExitCase{"Three", {"/bin/sh", "-c", "exit 3"}, 3},
                      // Arguments reach the child as they are: no shell reads them on the way.
                      ExitCase{"ArgumentsUntouched",
                               {"/bin/sh", "-c", "[ \"$0\" = 'a \"b\" $c;*' ] || exit 9", "a \"b\" $c;*"},
                               0}),
    [](const auto& info) { return std::string(info.param.name); });

struct StartFailureCase
{
    const char* name;
    const char* program;
    const char* folder;
};

class ProcessStartFailureTest : public ::testing::TestWithParam<StartFailureCase>
{
};

TEST_P(ProcessStartFailureTest, ReportsTheSystemsMessage)
{
    platform::Process process;
    std::string error;
    EXPECT_FALSE(process.Start({GetParam().program}, GetParam().folder, error));
    EXPECT_EQ(error, "No such file or directory");
    EXPECT_FALSE(process.IsStarted());
    EXPECT_EQ(process.Wait(10), platform::Process::WaitResult::Failed);
}

INSTANTIATE_TEST_SUITE_P(Causes, ProcessStartFailureTest,
                         ::testing::Values(StartFailureCase{"MissingProgram", "/nonexistent/helper", ""},
                                           StartFailureCase{"EmptyProgram", "", ""},
                                           StartFailureCase{"MissingFolder", "/bin/true",
                                                            "/nonexistent/folder"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProcessTest, SetsTheCurrentFolderForTheChildAlone)
{
    fwtest::TempHome home;
    const std::string before = CurrentFolder();
    const std::string out = home.Path("cwd.txt");
    platform::Process process;
    std::string error;
    ASSERT_TRUE(process.Start({"/bin/sh", "-c", "pwd -P > \"$0\"", out}, home.Root(), error)) << error;
    ASSERT_EQ(process.Wait(10000), platform::Process::WaitResult::Exited);
    char resolved[4096] = {};
    ASSERT_NE(realpath(home.Root().c_str(), resolved), nullptr);
    EXPECT_EQ(Slurp(out), std::string(resolved) + "\n");
    EXPECT_EQ(CurrentFolder(), before);
}

TEST(ProcessTest, GivesTheChildNullStreamsAndNoOtherDescriptor)
{
    fwtest::TempHome home;
    // A descriptor of ours that a careless start would pass on.
    // (A high number, clear of the descriptors the shell itself opens.)
    const int opened = open(home.WriteFile("open.txt", "x").c_str(), O_RDONLY);
    ASSERT_GE(opened, 3);
    const int leaked = dup2(opened, 57);
    ASSERT_EQ(leaked, 57);
    close(opened);
    const std::string out = home.Path("fds.txt");
    // The links are read in subshells, so that no redirection of ours changes them first.
    const std::string script = "a=$(readlink /proc/$$/fd/0); b=$(readlink /proc/$$/fd/1); "
                               "c=$(readlink /proc/$$/fd/2); l=$([ -e /proc/$$/fd/$1 ] && echo leaked); "
                               "echo \"$a $b $c $l\" > \"$0\"";
    platform::Process process;
    std::string error;
    ASSERT_TRUE(process.Start({"/bin/sh", "-c", script, out, std::to_string(leaked)}, "", error)) << error;
    ASSERT_EQ(process.Wait(10000), platform::Process::WaitResult::Exited);
    close(leaked);
    EXPECT_EQ(Slurp(out), "/dev/null /dev/null /dev/null \n");
}

TEST(ProcessTest, TimeOutLeavesTheChildRunningAndReleaseNeverLeavesAZombie)
{
    platform::Process process;
    std::string error;
    ASSERT_TRUE(process.Start({"/bin/sleep", "30"}, "", error)) << error;
    const int pid = process.Id();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(process.Wait(200), platform::Process::WaitResult::TimedOut);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_TRUE(IsAlive(pid));

    process.Release();
    EXPECT_FALSE(process.IsStarted());
    EXPECT_TRUE(IsAlive(pid)); // released, not killed
    EXPECT_EQ(platform::Process::AbandonedCount(), 1u);

    kill(pid, SIGKILL);
    EXPECT_TRUE(AllReaped());
    EXPECT_FALSE(Exists(pid));
}

TEST(ProcessTest, AnEndedChildIsReapedWhenTheObjectGoes)
{
    int pid = -1;
    {
        platform::Process process;
        std::string error;
        ASSERT_TRUE(process.Start({"/bin/true"}, "", error)) << error;
        pid = process.Id();
        // Give it time to end without waiting for it through the object.
        for (int i = 0; i < 250 && IsAlive(pid); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    EXPECT_TRUE(AllReaped());
    EXPECT_FALSE(Exists(pid));
}

} // namespace
