#include "palm/PalmRepeatRule.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "palm/PalmTime.h"

namespace {

std::vector<std::string_view> SplitBlanks(std::string_view text)
{
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == ' ') {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && text[i] != ' ') {
            ++i;
        }
        if (i > start) {
            tokens.push_back(text.substr(start, i - start));
        }
    }
    return tokens;
}

// The digits at the start of a text, as a number (0 when there are none).
std::int32_t LeadingNumber(std::string_view text)
{
    std::int32_t number = 0;
    for (char c : text) {
        if (c < '0' || c > '9' || number > 99999999) {
            break;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

bool IsDigits(std::string_view text)
{
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A date token of the rule: 8 digits of year, month and day, then nothing, a time part after
// "T", or a "Z".
bool IsDateToken(std::string_view token)
{
    return token.size() >= 8 && IsDigits(token.substr(0, 8)) &&
           (token.size() == 8 || token[8] == 'T' || token[8] == 'Z');
}

// Seconds since 1970-01-01 of a day and time of the Gregorian calendar taken as UTC.
std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146097 + dayOfEra - 719468;
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

// Whether the end day of a date token, with the token's time (after "T": local time, or UTC
// with a final "Z"; the end of the day when there is none), is Palm Desktop's "no date".
bool IsNoDateToken(std::string_view token, int year, int month, int day)
{
    if (year < 2031 || year > 2032) {
        return false; // only a day at the turn of 2031 can be the no-date moment
    }
    int hour = 23;
    int minute = 59;
    int second = 59;
    std::size_t next = 8;
    if (token.size() >= 15 && token[8] == 'T' && IsDigits(token.substr(9, 6))) {
        hour = LeadingNumber(token.substr(9, 2));
        minute = LeadingNumber(token.substr(11, 2));
        second = LeadingNumber(token.substr(13, 2));
        next = 15;
    }
    const bool utc = token.size() > next && token[next] == 'Z';
    const std::int64_t moment = utc ? UtcSeconds(year, month, day, hour, minute, second)
                                    : PmTime(year, month, day, hour, minute, second).GetValue();
    return moment >= INT32_MIN && moment <= INT32_MAX && PmTime::IsNoDate(static_cast<std::int32_t>(moment));
}

std::int32_t EndDateOf(std::string_view token)
{
    if (token.front() == '#') {
        // "#0" is the rule's "no end"; a count of repeats cannot be held by the repeat fields.
        return kPmNoEndDate;
    }
    const int year = LeadingNumber(token.substr(0, 4));
    const int month = LeadingNumber(token.substr(4, 2));
    const int day = LeadingNumber(token.substr(6, 2));
    // A day that does not exist, or that a 32-bit time value cannot hold, is no end rather
    // than some other day.
    if (year < 1902 || year > 2037 || month < 1 || month > 12 || day < 1 || day > 31) {
        return kPmNoEndDate;
    }
    // Palm Desktop's "no date", written in the zone of the machine that wrote the rule.
    if (IsNoDateToken(token, year, month, day)) {
        return kPmNoEndDate;
    }
    return PmTime(year, month, day, 0, 0, 0).GetValue();
}

std::uint8_t DayMaskOf(const std::vector<std::string_view>& tokens)
{
    static constexpr std::string_view kDays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};
    std::uint8_t mask = 0;
    for (std::size_t t = 1; t < tokens.size(); ++t) {
        for (std::size_t d = 0; d < 7; ++d) {
            if (tokens[t] == kDays[d]) {
                mask = static_cast<std::uint8_t>(mask | (1u << d));
            }
        }
    }
    return mask;
}

} // namespace

void PmParseRepeatRule(std::string_view rule, bool yearly, std::int32_t startTime, PmRepeat& repeat)
{
    repeat = PmRepeat{};
    const std::vector<std::string_view> tokens = SplitBlanks(rule);
    if (rule.empty() || tokens.empty() || rule.front() == ' ') {
        return;
    }
    const std::string_view second = tokens.size() > 1 ? tokens[1] : std::string_view();
    std::size_t intervalAt = 1;
    if (rule.front() == 'D') {
        repeat.kind = 1;
    } else if (rule.front() == 'W') {
        repeat.kind = 2;
        repeat.dayMask = DayMaskOf(tokens);
    } else if (rule.substr(0, 2) == "MP") {
        repeat.kind = 3;
        intervalAt = 2;
        const std::int32_t week = LeadingNumber(second);
        // "1-" counts from the end of the month: the last week, as Palm Desktop numbers it.
        const bool fromEnd = second.size() > 1 && second.back() == '-';
        repeat.weekIndex = fromEnd ? 4 : std::max(week - 1, 0);
        repeat.dayMask = DayMaskOf(tokens);
    } else if (rule.substr(0, 2) == "MD") {
        repeat.kind = 4;
        intervalAt = 2;
        repeat.dayOfMonth = LeadingNumber(second);
    } else if (rule.front() == 'Y' && yearly) {
        repeat.kind = 5;
        intervalAt = 2;
        repeat.monthIndex = std::max(LeadingNumber(second) - 1, 0);
        repeat.dayOfMonth = PmTime(startTime).GetDay();
    } else {
        return;
    }
    repeat.interval = LeadingNumber(tokens[0].substr(std::min(intervalAt, tokens[0].size())));

    // The end is the first "#..." or date token after the pattern's own numbers and days;
    // exception dates may follow it after ";" or ",". A rule without an end never ends.
    repeat.endDate = kPmNoEndDate;
    for (std::size_t t = 1; t < tokens.size(); ++t) {
        std::string_view token = tokens[t];
        token = token.substr(0, token.find_first_of(";,"));
        if (token.empty()) {
            continue;
        }
        if (token.front() == '#' || IsDateToken(token)) {
            repeat.endDate = EndDateOf(token);
            break;
        }
    }
}
