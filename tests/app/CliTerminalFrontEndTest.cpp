#include "cli/CliTerminalFrontEnd.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/CodePage.h"

namespace {

// A front end writing into memory instead of standard error.
class CliTerminalFrontEndTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(platform::SetAnsiCodePage("1252"));
        m_stream = open_memstream(&m_buffer, &m_size);
        ASSERT_NE(m_stream, nullptr);
    }
    void TearDown() override
    {
        std::fclose(m_stream);
        std::free(m_buffer);
    }

    std::string Written()
    {
        std::fflush(m_stream);
        return std::string(m_buffer, m_size);
    }

    std::FILE* m_stream = nullptr;
    char* m_buffer = nullptr;
    std::size_t m_size = 0;
};

TEST_F(CliTerminalFrontEndTest, WaitLineShowsTextSecondsAndBar)
{
    struct Case
    {
        const char* text;
        int elapsedMs;
        int ticks;
        int width;
        std::string line;
    };
    const std::string empty17(17, ' ');
    const Case cases[] = {
        {"Loading Palm Desktop Contacts ...", 2500, 3, 80,
         "Loading Palm Desktop Contacts ...  2 seconds  [###" + std::string(14, ' ') + "]"},
        {"x", 0, 17, 80, "x  0 seconds  [" + std::string(17, '#') + "]"},
        {"x", 1800, 18, 80, "x  1 second  [" + empty17 + "]"}, // the bar starts again when full
        // A long text is cut so that seconds and bar stay on one line, one column short of the width.
        {"Loading Lotus Notes Notebook ...", 100, 0, 45, "Loading Lotu  0 seconds  [" + empty17 + "]"},
        // No room even for the bar: the line is cut at the width.
        {"Loading", 100, 0, 12, "Loading  0 "},
        // ANSI text comes out as UTF-8, a character never cut in two.
        {"Caf\xE9 \x80\x80\x80", 0, 0, 39, "Caf\xC3\xA9 \xE2\x82\xAC  0 seconds  [" + empty17 + "]"},
        // Control characters from a status file cannot move the cursor or clear the screen.
        {"\x1b[2Jboom\r", 0, 0, 80, " [2Jboom   0 seconds  [" + empty17 + "]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WaitViewState state{c.text, c.elapsedMs, c.ticks};
        EXPECT_EQ(CliTerminalFrontEnd::WaitLine(state, c.width), c.line);
    }
}

TEST_F(CliTerminalFrontEndTest, PlainViewWritesEachNewTextOnce)
{
    CliTerminalFrontEnd frontEnd(m_stream, false);
    {
        auto view = frontEnd.CreateWaitView();
        ASSERT_NE(view, nullptr);
        view->Repaint({"", 0, 0});
        view->Repaint({"Loading information from Lotus Notes ...", 100, 1});
        view->Repaint({"Loading information from Lotus Notes ...", 200, 2});
        view->Repaint({"Loading Lotus Notes Contacts ...", 300, 3});
        view->Repaint({"Loading Lotus Notes Contacts ...", 400, 4});
    }
    EXPECT_EQ(Written(), "Loading information from Lotus Notes ...\nLoading Lotus Notes Contacts ...\n");
}

TEST_F(CliTerminalFrontEndTest, TerminalViewRewritesOneLineAndClearsIt)
{
    CliTerminalFrontEnd frontEnd(m_stream, true);
    {
        auto view = frontEnd.CreateWaitView();
        view->Repaint({"Working", 0, 1});
        view->Repaint({"Working", 1000, 2});
    }
    const std::string written = Written();
    EXPECT_EQ(written.find('\n'), std::string::npos) << written;
    EXPECT_EQ(written.rfind("\r\x1b[KWorking  0 seconds  [#", 0), 0u) << written;
    EXPECT_NE(written.find("\r\x1b[KWorking  1 second  [##"), std::string::npos) << written;
    EXPECT_EQ(written.substr(written.size() - 4), "\r\x1b[K"); // cleared at the end

    // A view that never drew leaves nothing behind.
    std::fflush(m_stream);
    const std::size_t before = m_size;
    frontEnd.CreateWaitView().reset();
    EXPECT_EQ(Written().size(), before);
}

TEST_F(CliTerminalFrontEndTest, MessagesBecomeLines)
{
    CliTerminalFrontEnd frontEnd(m_stream, false);
    frontEnd.MessageBox(nullptr, "Loading Palm Desktop Contacts Error: M\xFCller.pdb\nmissing", "Error",
                        MessageIcon::Error);
    frontEnd.MessageBox(nullptr, "Done.", "Ferrywise", MessageIcon::Information);
    frontEnd.ShowExceptionDialog(nullptr, "submit exploded");
    const std::string written = Written();
    EXPECT_EQ(written.rfind("Error: Loading Palm Desktop Contacts Error: M\xC3\xBCller.pdb\nmissing\n"
                            "Information: Done.\n"
                            "Error: an unexpected error stopped the work: submit exploded\n",
                            0),
              0u)
        << written;
    EXPECT_NE(written.find("appdebug.log"), std::string::npos) << written;
}

} // namespace
