#pragma once
// The repeat rule texts of the Palm Desktop 6.x calendar and to-do databases.
#include <cstdint>
#include <string_view>

#include "palm/PalmRepeat.h"

// Reads a repeat rule text ("Repeated Event", "Repeat Info"), for example "W1 MO WE #0" or
// "MD1 15 20071231T000000". yearly: "Y" rules are read (the calendar); otherwise they give no
// repeat (the to-do list). startTime gives the day of month of a yearly rule.
void PmParseRepeatRule(std::string_view rule, bool yearly, std::int32_t startTime, PmRepeat& repeat);
