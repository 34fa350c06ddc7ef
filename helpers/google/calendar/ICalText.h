#pragma once
// The text layer under the calendar file: content lines with their place in the file,
// unfolding, property names, parameters and values, and the top-level components of a
// VCALENDAR. libical reads the same text; this layer keeps what libical drops or rewrites
// (the exact lines, Google's dates with a "Z", empty values).
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace gcal::ical {

// One logical (unfolded) content line and the bytes [begin, end) that it takes in the text,
// its line break included.
struct Line
{
    std::string text;
    std::size_t begin = 0;
    std::size_t end = 0;
};

// Splits text into logical lines (CR LF, LF or CR breaks; a line starting with a blank or a
// tab continues the one before). Empty lines are skipped.
std::vector<Line> SplitLines(const std::string& text);

struct Property
{
    std::string name;                                        // upper case
    std::vector<std::pair<std::string, std::string>> params; // names upper case, values unquoted
    std::string value;
    std::string Param(const std::string& name) const;
};

// "NAME;P=V;Q="x:y":value". False when the line has no ":" after its name.
bool ParseProperty(const std::string& line, Property* out);

// Text values: "\n", "\N", "\,", "\;", "\\" undone, and done again.
std::string Unescape(const std::string& value);
std::string Escape(const std::string& value);
// Folds one logical line into lines of at most 75 bytes (never inside a UTF-8 character),
// joined by newline and a blank.
std::string Fold(const std::string& line, const std::string& newline);

// A top-level component (VEVENT, VTIMEZONE, ...) of the calendar: its name, the index range
// of its lines in the line list, and its bytes in the text (without its final line break).
struct Component
{
    std::string name;
    std::size_t firstLine = 0;
    std::size_t lastLine = 0; // the END line
    std::size_t begin = 0;
    std::size_t end = 0;      // end of the END line's text
    std::size_t endBreak = 0; // end of its line break
};

struct Layout
{
    std::vector<Line> lines;
    std::vector<Component> components;
    std::size_t closeLine = 0; // the END:VCALENDAR line
};

// Finds the top-level components of one VCALENDAR. False, with a reason, when the text does
// not start with BEGIN:VCALENDAR, a BEGIN has no END or an END has no BEGIN.
bool ReadLayout(const std::string& text, Layout* out, std::string& reason);

// The line break that the text uses first (CR LF when it has none).
std::string NewlineOf(const std::string& text);

} // namespace gcal::ical
