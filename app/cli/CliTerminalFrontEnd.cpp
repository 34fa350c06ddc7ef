#include "cli/CliTerminalFrontEnd.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include "engine/CxCommWaitWindow.h"
#include "misc/CxDebugUtil.h"
#include "platform/CodePage.h"

namespace {

constexpr int kDefaultWidth = 80;
// The bar holds as many blocks as the wizard's box does.
constexpr int kBarClientWidth = CxCommWaitWindow::kWidth - 2;
constexpr int kBarSlots = (kBarClientWidth - 40) / 25;

int TerminalWidth(std::FILE* out)
{
    winsize size{};
    if (ioctl(fileno(out), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
        return size.ws_col;
    }
    return kDefaultWidth;
}

// Characters of UTF-8 text (continuation bytes do not count), roughly its columns.
std::size_t Columns(std::string_view utf8)
{
    std::size_t n = 0;
    for (char c : utf8) {
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return n;
}

// The first columns of UTF-8 text, never cutting a character in two.
std::string FirstColumns(std::string_view utf8, std::size_t columns)
{
    std::size_t n = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if ((static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80) {
            if (n == columns) {
                return std::string(utf8.substr(0, i));
            }
            ++n;
        }
    }
    return std::string(utf8);
}

const char* IconPrefix(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return "Error";
    case MessageIcon::Warning:
        return "Warning";
    case MessageIcon::Information:
        return "Information";
    case MessageIcon::Question:
        return "Question";
    }
    return "Error";
}

} // namespace

// One wait window on the terminal; lives on the wait window's thread.
class CliTerminalWaitView : public IWaitView
{
public:
    explicit CliTerminalWaitView(CliTerminalFrontEnd& frontEnd)
        : m_frontEnd(frontEnd), m_width(frontEnd.m_terminal ? TerminalWidth(frontEnd.m_out) : 0)
    {
    }

    ~CliTerminalWaitView() override
    {
        if (m_frontEnd.m_terminal && m_drawn) {
            std::lock_guard<std::mutex> guard(m_frontEnd.m_lock);
            std::fputs("\r\x1b[K", m_frontEnd.m_out);
            std::fflush(m_frontEnd.m_out);
        }
    }

    void Repaint(const WaitViewState& state) override
    {
        if (m_frontEnd.m_terminal) {
            std::string line = CliTerminalFrontEnd::WaitLine(state, m_width);
            std::lock_guard<std::mutex> guard(m_frontEnd.m_lock);
            std::fputs(("\r\x1b[K" + line).c_str(), m_frontEnd.m_out);
            std::fflush(m_frontEnd.m_out);
            m_drawn = true;
            return;
        }
        if (state.text.empty() || state.text == m_lastText) {
            return;
        }
        m_lastText = state.text;
        m_frontEnd.WriteLine(CliTerminalFrontEnd::PrintableText(state.text, false));
    }

private:
    CliTerminalFrontEnd& m_frontEnd;
    int m_width;
    bool m_drawn = false;
    std::string m_lastText;
};

CliTerminalFrontEnd::CliTerminalFrontEnd(std::FILE* out, bool terminal) : m_out(out), m_terminal(terminal) {}

CliTerminalFrontEnd::CliTerminalFrontEnd() : CliTerminalFrontEnd(stderr, isatty(fileno(stderr)) == 1) {}

void CliTerminalFrontEnd::WriteLine(const std::string& line)
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::fputs((line + "\n").c_str(), m_out);
    std::fflush(m_out);
}

void CliTerminalFrontEnd::MessageBox(ParentWindow /*parent*/, const std::string& text,
                                     const std::string& /*caption*/, MessageIcon icon)
{
    WriteLine(std::string(IconPrefix(icon)) + ": " + PrintableText(text, true));
}

void CliTerminalFrontEnd::ShowExceptionDialog(ParentWindow /*parent*/, const std::string& what)
{
    std::string log = std::string(g_debugLog.GetLogFolder()) + g_debugLog.GetFileName();
    WriteLine("Error: an unexpected error stopped the work: " + PrintableText(what, true));
    WriteLine("The diagnostic log is " + log + ".");
}

std::unique_ptr<IWaitView> CliTerminalFrontEnd::CreateWaitView()
{
    return std::make_unique<CliTerminalWaitView>(*this);
}

void CliTerminalFrontEnd::BringToFront(ParentWindow /*parent*/) {}

std::string CliTerminalFrontEnd::PrintableText(std::string_view ansi, bool keepLines)
{
    std::string text = platform::AnsiToUtf8(ansi);
    for (char& c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (c == '\n' && keepLines) {
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            c = ' ';
        }
    }
    return text;
}

std::string CliTerminalFrontEnd::WaitLine(const WaitViewState& state, int width)
{
    int blocks = CxCommWaitWindow::BlockCount(state.ticks, kBarClientWidth);
    std::string bar = "[" + std::string(static_cast<std::size_t>(blocks), '#') +
                      std::string(static_cast<std::size_t>(kBarSlots - blocks), ' ') + "]";
    std::string suffix = "  " + ElapsedText(state.elapsedMs) + "  " + bar;
    // One column short of the width, so that the terminal never wraps the line.
    std::size_t room = width > 1 ? static_cast<std::size_t>(width - 1) : 0;
    std::string text = PrintableText(state.text, false);
    if (Columns(suffix) >= room) {
        return FirstColumns(text + suffix, room);
    }
    return FirstColumns(text, room - Columns(suffix)) + suffix;
}
