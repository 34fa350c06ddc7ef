#include "engine/CxCommWaitWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "RecordingFrontEnd.h"
#include "common/TempHome.h"
#include "platform/KnownFolders.h"

namespace fwtest {
namespace {

using namespace std::chrono_literals;

class WaitWindowTest : public testing::Test
{
protected:
    void SetUp() override { SetFrontEnd(&frontEnd); }
    void TearDown() override
    {
        CxCommWaitWindow::StopWaitWindow();
        CxCommWaitWindow::SetStatusReader(nullptr);
        SetFrontEnd(nullptr);
    }

    // Waits until the view has been repainted with at least this many ticks; its last state.
    WaitViewState WaitForTicks(int view, int ticks)
    {
        WaitViewState last;
        const bool ticked = frontEnd.WaitForStates(view, [&](const std::vector<WaitViewState>& states) {
            if (states.empty() || states.back().ticks < ticks) {
                return false;
            }
            last = states.back();
            return true;
        });
        EXPECT_TRUE(ticked) << "the window did not tick";
        return last;
    }

    TempHome home;
    RecordingFrontEnd frontEnd;
    int parentWindow = 0;
    ParentWindow parent = &parentWindow;
};

TEST_F(WaitWindowTest, CountsElapsedTimeInTicksOfAHundredMilliseconds)
{
    ASSERT_TRUE(CxCommWaitWindow::StartWaitWindow(parent));
    ASSERT_TRUE(CxCommWaitWindow::IsShown());
    WaitForTicks(0, 3);
    CxCommWaitWindow::StopWaitWindow();

    const std::vector<WaitViewState> states = frontEnd.States(0);
    ASSERT_GE(states.size(), 4u);
    EXPECT_EQ(states[0].ticks, 0); // painted once when shown
    for (std::size_t i = 0; i < states.size(); ++i) {
        EXPECT_EQ(states[i].ticks, static_cast<int>(i));
        EXPECT_EQ(states[i].elapsedMs, states[i].ticks * CxCommWaitWindow::kTickMs);
    }
    EXPECT_FALSE(CxCommWaitWindow::IsShown());
    EXPECT_EQ(frontEnd.BroughtToFront(), std::vector<ParentWindow>{parent});
}

// A status file that takes long to read still adds one tick. Every read takes longer than
// two ticks; once the first has ended, each tick waits for at least one more.
TEST_F(WaitWindowTest, ASlowStatusFileStillAddsOnlyOneTick)
{
    constexpr auto kRead = 250ms;
    const std::string path = home.Path("slow.dat");
    std::atomic<int> reads{0};
    std::atomic<bool> otherPath{false};
    CxCommWaitWindow::SetStatusReader([&](const char* read) {
        otherPath = otherPath || path != read;
        std::this_thread::sleep_for(kRead);
        ++reads;
        return std::string("slow");
    });
    ASSERT_TRUE(CxCommWaitWindow::StartWaitWindow(parent));
    CxCommWaitWindow::WatchStatusFile(path.c_str());
    // The first repaint that shows the file's line, and the two after it.
    std::size_t first = 0;
    const auto twoTicksAfterTheFirstRead = [&](const std::vector<WaitViewState>& states) {
        const auto shown = std::find_if(states.begin(), states.end(),
                                        [](const WaitViewState& s) { return s.text == "slow"; });
        first = static_cast<std::size_t>(shown - states.begin());
        return shown != states.end() && states.size() > first + 2;
    };
    ASSERT_TRUE(frontEnd.WaitForStates(0, twoTicksAfterTheFirstRead)) << "the window did not tick";
    CxCommWaitWindow::StopWaitWindow();
    CxCommWaitWindow::SetStatusReader(nullptr);

    const std::vector<WaitViewState> states = frontEnd.States(0);
    const auto times = frontEnd.PaintTimes(0);
    ASSERT_EQ(times.size(), states.size());
    for (const WaitViewState& state : states) {
        EXPECT_EQ(state.elapsedMs, state.ticks * CxCommWaitWindow::kTickMs);
    }
    EXPECT_EQ(states[first + 2].ticks, states[first].ticks + 2);
    EXPECT_EQ(states[first + 2].elapsedMs - states[first].elapsedMs, 2 * CxCommWaitWindow::kTickMs);
    EXPECT_GE(times[first + 2] - times[first], 2 * kRead); // while the clock went on for two reads
    EXPECT_GE(reads, 3);
    EXPECT_FALSE(otherPath);
}

TEST_F(WaitWindowTest, ShowsTheStatusFilesFirstLineWhenThereIsOne)
{
    struct Case
    {
        const char* name;
        const char* contents; // null: no file
        const char* shown;
    };
    const Case cases[] = {
        {"first line", "Reading record 3 of 9\r\nsecond line\r\n", "Reading record 3 of 9"},
        {"line without break", "Almost done", "Almost done"},
        {"empty first line", "\r\nReading record 4 of 9\r\n", "Loading Lotus Notes Contacts ..."},
        {"empty file", "", "Loading Lotus Notes Contacts ..."},
        {"no file", nullptr, "Loading Lotus Notes Contacts ..."},
    };
    const std::string path = home.Path("LNAddrStatus.dat");
    int view = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        home.WriteFile("LNAddrStatus.dat", "from an earlier run\r\n");
        ASSERT_TRUE(CxCommWaitWindow::StartWaitWindow(parent));
        CxCommWaitWindow::SetWaitText("Loading Lotus Notes Contacts ...");
        CxCommWaitWindow::WatchStatusFile(path.c_str());
        EXPECT_FALSE(platform::FileExists(path)); // the earlier run's file is gone
        const int ticksBefore = WaitForTicks(view, 0).ticks;
        if (c.contents != nullptr) {
            home.WriteFile("LNAddrStatus.dat", c.contents);
        }
        EXPECT_EQ(WaitForTicks(view, ticksBefore + 2).text, c.shown);
        CxCommWaitWindow::StopWaitWindow();
        ++view;
    }
}

TEST_F(WaitWindowTest, TextsAreCutToTheirFields)
{
    ASSERT_TRUE(CxCommWaitWindow::StartWaitWindow(parent));
    const std::string longText(2000, 'x');
    CxCommWaitWindow::SetWaitText(longText.c_str());
    EXPECT_EQ(WaitForTicks(0, 1).text, std::string(1023, 'x'));
    CxCommWaitWindow::SetWaitText(nullptr);
    EXPECT_EQ(WaitForTicks(0, 2).text, "");

    home.WriteFile("long.dat", std::string(3000, 'y') + "\n");
    EXPECT_EQ(CxCommWaitWindow::ReadFirstLine(home.Path("long.dat").c_str()), std::string(1023, 'y'));
    EXPECT_EQ(CxCommWaitWindow::ReadFirstLine(home.Path("missing.dat").c_str()), "");
    EXPECT_EQ(CxCommWaitWindow::ReadFirstLine(nullptr), "");
}

TEST_F(WaitWindowTest, WithoutAWindowEveryCallDoesNothing)
{
    const std::string path = home.WriteFile("LNAddrStatus.dat", "kept\r\n");
    CxCommWaitWindow::StopWaitWindow();
    CxCommWaitWindow::SetWaitText("nobody sees this");
    CxCommWaitWindow::WatchStatusFile(path.c_str());

    EXPECT_FALSE(CxCommWaitWindow::IsShown());
    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_EQ(frontEnd.ViewCount(), 0);
    EXPECT_TRUE(frontEnd.BroughtToFront().empty());
}

TEST_F(WaitWindowTest, AWindowThatCannotBeMadeLeavesStatusFilesAlone)
{
    frontEnd.makeViews = false;
    const std::string path = home.WriteFile("LNAddrStatus.dat", "kept\r\n");

    EXPECT_TRUE(CxCommWaitWindow::StartWaitWindow(parent)); // the thread did start
    EXPECT_FALSE(CxCommWaitWindow::IsShown());
    CxCommWaitWindow::WatchStatusFile(path.c_str());
    CxCommWaitWindow::StopWaitWindow();

    EXPECT_TRUE(platform::FileExists(path));
    EXPECT_TRUE(frontEnd.BroughtToFront().empty());
}

TEST_F(WaitWindowTest, AQuickRestartNeverLosesTheNewerWindow)
{
    for (int round = 0; round < 20; ++round) {
        ASSERT_TRUE(CxCommWaitWindow::StartWaitWindow(parent));
        CxCommWaitWindow::StopWaitWindow();
        ASSERT_TRUE(CxCommWaitWindow::StartWaitWindow(parent));
        ASSERT_TRUE(CxCommWaitWindow::StartWaitWindow(parent)); // a start ends the window before it
        ASSERT_TRUE(CxCommWaitWindow::IsShown()) << round;
    }
    const int newest = frontEnd.ViewCount() - 1;
    EXPECT_EQ(newest, 59);
    CxCommWaitWindow::SetWaitText("the newest");
    EXPECT_EQ(WaitForTicks(newest, 1).text, "the newest");
    CxCommWaitWindow::StopWaitWindow();
    EXPECT_FALSE(CxCommWaitWindow::IsShown());
    EXPECT_EQ(frontEnd.BroughtToFront().size(), 60u);
}

TEST(WaitWindowTickTest, OnlyTheTickIdentifierCounts)
{
    auto shared = std::make_shared<RecordingWaitView::Shared>();
    CxCommWaitWindow window(nullptr, std::make_unique<RecordingWaitView>(shared));
    window.OnTick(1);
    EXPECT_EQ(window.Snapshot().ticks, 0);
    EXPECT_TRUE(shared->states.empty());

    window.OnTick(CxCommWaitWindow::kTickId);
    EXPECT_EQ(window.Snapshot().ticks, 1);
    EXPECT_EQ(window.Snapshot().elapsedMs, 0); // elapsed belongs to the loop's wait, not the tick
    EXPECT_EQ(shared->states.size(), 1u);
}

TEST(WaitWindowBlockTest, TheBarRestartsWhenFull)
{
    struct Case
    {
        int ticks;
        int width;
        int blocks;
    };
    const Case cases[] = {
        {0, 478, 0}, {1, 478, 1}, {17, 478, 17}, {18, 478, 0}, {35, 478, 17}, {36, 478, 0},
        {5, 40, 0},  {5, 64, 0},  {5, 65, 1},    {-1, 478, 0}, {3, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CxCommWaitWindow::BlockCount(c.ticks, c.width), c.blocks)
            << c.ticks << " ticks, width " << c.width;
    }
    int most = 0;
    for (int ticks = 0; ticks < 200; ++ticks) {
        most = std::max(most, CxCommWaitWindow::BlockCount(ticks, 478));
    }
    EXPECT_EQ(most, 17);
}

} // namespace
} // namespace fwtest
