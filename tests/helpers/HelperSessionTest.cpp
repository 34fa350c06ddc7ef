// One helper run's files: a fresh error file, the control file's Running and Stop, and the
// status line kept current every hundred items.
#include <gtest/gtest.h>

#include "NotesTestSupport.h"
#include "kit/HelperSession.h"
#include "lotus/LNProtocol.h"

namespace {

class HelperSessionTest : public ::testing::Test
{
protected:
    std::string Control() const { return m_home.Work() + "LNAddr.ini"; }
    std::string ErrorFile() const { return m_home.Work() + "LNAddrErr.dat"; }
    int ControlValue(const char* key) const
    {
        return static_cast<int>(platform::GetPrivateProfileInt("Status", key, -1, Control().c_str()));
    }
    std::string Status() { return m_home.Home().ReadFile("work/LNAddrStatus.dat"); }

    notestest::NotesHome m_home;
};

} // namespace

TEST_F(HelperSessionTest, BeginStartsFreshAndEndClearsRunning)
{
    // What an earlier, failed or killed run left behind.
    m_home.Home().WriteFile("work/LNAddrErr.dat", "[Error]\r\nError.Count=1\r\nError.1=old failure\r\n");
    m_home.Home().WriteFile("work/LNAddr.ini", "[Status]\r\nRunning=1\r\nStop=1\r\n");

    HelperSession session(LNParamIds, "LNAddr.ini");
    ASSERT_TRUE(session.Begin(m_home.WriteParams(notestest::kContacts, 1, "names.nsf").c_str()));
    EXPECT_EQ(session.Command(), 1);
    EXPECT_EQ(session.Folder(), m_home.Work());
    EXPECT_EQ(session.RecordPath(), m_home.Work() + "LNAddr.dat");
    EXPECT_EQ(m_home.LastError(notestest::kContacts), "");
    EXPECT_EQ(ControlValue("Running"), 1);
    EXPECT_FALSE(session.StopRequested());

    session.ReportError("first");
    session.ReportError("second\r\nError.9=injected");
    EXPECT_EQ(platform::GetPrivateProfileInt("Error", "Error.Count", 0, ErrorFile().c_str()), 2u);
    EXPECT_EQ(m_home.LastError(notestest::kContacts), "second");
    EXPECT_EQ(platform::GetPrivateProfileInt("Error", "Error.9", 0, ErrorFile().c_str()), 0u);

    EXPECT_EQ(session.End(), 1);
    EXPECT_EQ(ControlValue("Running"), 0);
}

TEST_F(HelperSessionTest, ProgressRewritesTheStatusEveryHundredItemsAndSeesStop)
{
    HelperSession session(LNParamIds, "LNAddr.ini");
    ASSERT_TRUE(session.Begin(m_home.WriteParams(notestest::kContacts, 1, "names.nsf").c_str()));
    struct Step
    {
        int done;
        const char* status; // what the status file holds afterwards
    };
    const Step steps[] = {
        {0, "Loading Lotus Notes contacts: 0 of 250\r\n"},
        {99, "Loading Lotus Notes contacts: 0 of 250\r\n"},
        {100, "Loading Lotus Notes contacts: 100 of 250\r\n"},
        {199, "Loading Lotus Notes contacts: 100 of 250\r\n"},
        {200, "Loading Lotus Notes contacts: 200 of 250\r\n"},
        {250, "Loading Lotus Notes contacts: 250 of 250\r\n"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.done);
        EXPECT_TRUE(session.Progress("Loading Lotus Notes contacts", step.done, 250));
        EXPECT_EQ(Status(), step.status);
    }

    ASSERT_TRUE(platform::WritePrivateProfileString("Status", "Stop", "1", Control().c_str()));
    EXPECT_TRUE(session.Progress("Loading Lotus Notes contacts", 301, 400)) << "looks only every hundred";
    EXPECT_FALSE(session.Progress("Loading Lotus Notes contacts", 400, 400));
    EXPECT_EQ(session.End(), 0);
}

TEST_F(HelperSessionTest, BeginFailsWithoutAUsableParameterFile)
{
    using namespace std::string_literals;
    struct Case
    {
        const char* name;
        bool exists;
        std::string contents;
    };
    const Case cases[] = {
        {"missing", false, ""},
        {"cut short", true, "\x05\x00\x00\x00\xe8\x03"s},
        // One entry, 1005 = "1": a command but no working folder.
        {"no working folder", true, "\x01\x00\x00\x00\xed\x03\x00\x00\x08\x00\x00\x00\x01\x00\x00\x00\x31"s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = m_home.Work() + "param.dat";
        std::remove(path.c_str());
        if (c.exists) {
            m_home.Home().WriteFile("work/param.dat", c.contents);
        }
        HelperSession session(LNParamIds, "LNAddr.ini");
        EXPECT_FALSE(session.Begin(path.c_str()));
        EXPECT_EQ(ControlValue("Running"), -1) << "nothing is reported without a working folder";
    }
}
