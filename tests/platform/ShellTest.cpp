#include "platform/Shell.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "common/ChildProcesses.h"
#include "common/TempHome.h"

namespace {

using namespace std::chrono_literals;

// Records what the opener was given: its pid, argument count, arguments, where its
// standard input came from, and whether descriptor 100 of the test leaked into it.
const char* const kRecorder = R"(#!/bin/sh
{
  echo "$$"
  echo "$#"
  for a in "$@"; do printf '%s\n' "$a"; done
  readlink /proc/$$/fd/0
  if [ -e /proc/$$/fd/100 ]; then echo leaked; else echo closed; fi
} > "$FW_SHELL_OUT.tmp"
mv "$FW_SHELL_OUT.tmp" "$FW_SHELL_OUT"
)";

constexpr int kLeakCandidate = 100;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

bool WaitFor(const std::function<bool()>& done)
{
    for (auto end = std::chrono::steady_clock::now() + 10s; std::chrono::steady_clock::now() < end;) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return done();
}

class ShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string script = m_home.WriteFile("opener.sh", kRecorder);
        ASSERT_EQ(::chmod(script.c_str(), 0700), 0);
        setenv("FERRYWISE_OPEN_COMMAND", script.c_str(), 1);
        setenv("FW_SHELL_OUT", Record().c_str(), 1);
        // A descriptor without close-on-exec, as a careless library might leave one.
        int fd = ::open("/dev/null", O_RDONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::dup2(fd, kLeakCandidate), kLeakCandidate);
        ::close(fd);
    }
    void TearDown() override
    {
        ::close(kLeakCandidate);
        unsetenv("FERRYWISE_OPEN_COMMAND");
        unsetenv("FW_SHELL_OUT");
    }
    std::string Record() const { return m_home.Path("record.txt"); }

    fwtest::TempHome m_home;
};

class ShellOpenTest : public ShellTest, public ::testing::WithParamInterface<const char*>
{
};

TEST_P(ShellOpenTest, PassesTargetAsOneArgumentWithoutShell)
{
    const char* target = GetParam();
    ASSERT_TRUE(platform::ShellOpen(target));
    ASSERT_TRUE(WaitFor([&] { return ::access(Record().c_str(), F_OK) == 0; })) << "opener never ran";
    std::vector<std::string> lines = Lines(m_home.ReadFile("record.txt"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], "1");
    EXPECT_EQ(lines[2], target);
    EXPECT_EQ(lines[3], "/dev/null");
    EXPECT_EQ(lines[4], "closed");
    EXPECT_FALSE(std::ifstream(m_home.Path("pwned")).good()) << "the target went through a shell";

    // Nobody waits for the opener, yet it must not stay behind as a zombie.
    std::string proc = "/proc/" + lines[0];
    EXPECT_TRUE(WaitFor([&] { return ::access(proc.c_str(), F_OK) != 0; })) << "opener was not reaped";
}

INSTANTIATE_TEST_SUITE_P(Targets, ShellOpenTest,
                         ::testing::Values("https://example.com/page?a=1&b=2",
                                           "/tmp/folder with blanks/MILog.txt",
                                           "$(touch \"$HOME/pwned\"); touch \"$HOME/pwned\"",
                                           "'single' \"double\" `tick` | > <", "-n"));

TEST_F(ShellTest, NothingToOpen)
{
    EXPECT_FALSE(platform::ShellOpen(nullptr));
    EXPECT_FALSE(platform::ShellOpen(""));
    // An opener is started before ShellOpen returns and writes its record before it ends.
    ASSERT_TRUE(fwtest::WaitUntilNoChildProcesses()) << "a child process never ended";
    EXPECT_NE(::access(Record().c_str(), F_OK), 0) << "an opener was started";
}

// The opener tells by its exit status whether a program took the target; one still at work
// after the wait has found a program and is left to it.
TEST_F(ShellTest, OpenerOutcome)
{
    struct Case
    {
        const char* script;
        bool opened;
    };
    const Case cases[] = {
        {"exit 0", true},         {"exit 3", false}, // xdg-open: no program for the file
        {"exit 2", false},                           // xdg-open: the file is missing
        {"kill -KILL $$", false}, {"sleep 3", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::string script = m_home.WriteFile("outcome.sh", std::string("#!/bin/sh\n") + c.script + "\n");
        ASSERT_EQ(::chmod(script.c_str(), 0700), 0);
        setenv("FERRYWISE_OPEN_COMMAND", script.c_str(), 1);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(platform::ShellOpen("file.txt", 300), c.opened);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "waited past the wait";
    }
    ASSERT_TRUE(fwtest::WaitUntilNoChildProcesses()) << "an opener was not reaped";
}

TEST_F(ShellTest, MissingOpenerFails)
{
    setenv("FERRYWISE_OPEN_COMMAND", m_home.Path("no-such-opener").c_str(), 1);
    EXPECT_FALSE(platform::ShellOpen("file.txt"));
}

} // namespace
