#pragma once
// The lines of a diagnostic log file, taken apart: the source file, whether the line is a
// failure (level 0), and the message.
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fwtest {

struct LogLine
{
    std::string source;
    bool failure;
    std::string message;

    friend bool operator==(const LogLine& a, const LogLine& b)
    {
        return a.source == b.source && a.failure == b.failure && a.message == b.message;
    }
};

inline std::vector<LogLine> ReadLogLines(const std::string& path)
{
    static const std::regex kLine(
        R"(^\[[^\]]*\]\[(\S+)\s*\(\s*\d+\s*\)\]\[[0-9a-f]+\]\[(!!!|   )\] - (.*)$)");
    std::vector<LogLine> lines;
    std::ifstream in(path);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') {
            text.pop_back();
        }
        std::smatch m;
        if (std::regex_match(text, m, kLine)) {
            lines.push_back(LogLine{m[1].str(), m[2].str() == "!!!", m[3].str()});
        }
    }
    return lines;
}

} // namespace fwtest
