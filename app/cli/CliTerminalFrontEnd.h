#pragma once
// The engine's front end on a terminal. The wait window becomes one line on standard error
// that is rewritten in place (text, elapsed seconds, a moving bar) and cleared at the end when
// the stream is a terminal, and a plain line per new text otherwise. A message box becomes a
// line "Error: <text>"; the exception dialog names the diagnostic log.
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "engine/FrontEnd.h"

class CliTerminalFrontEnd : public IFrontEnd
{
public:
    // out: where everything goes (standard error). terminal: whether it is a terminal.
    CliTerminalFrontEnd(std::FILE* out, bool terminal);
    // Standard error, asking the system whether it is a terminal.
    CliTerminalFrontEnd();

    void MessageBox(ParentWindow parent, const std::string& text, const std::string& caption,
                    MessageIcon icon) override;
    void ShowExceptionDialog(ParentWindow parent, const std::string& what) override;
    std::unique_ptr<IWaitView> CreateWaitView() override;
    void BringToFront(ParentWindow parent) override;

    // Engine texts are ANSI: UTF-8 for the terminal, control characters (escape sequences
    // from a helper's status file among them) made harmless. Line ends stay when keepLines.
    static std::string PrintableText(std::string_view ansi, bool keepLines);
    // The updating line of a terminal wait view, at most width columns.
    static std::string WaitLine(const WaitViewState& state, int width);

private:
    friend class CliTerminalWaitView;
    void WriteLine(const std::string& line);

    std::FILE* m_out;
    bool m_terminal;
    std::mutex m_lock; // the wait view writes from its own thread
};
