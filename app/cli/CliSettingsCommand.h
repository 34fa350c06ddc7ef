#pragma once
// "settings get|set|list": reads and changes the settings file in the working folder through
// the settings store, walking the store's own key table.
#include <ostream>
#include <string>

#include "cli/CliArguments.h"
#include "misc/Settings.h"

// Runs the action; gives the exit status.
int RunSettingsCommand(const CliArguments& args, std::ostream& out, std::ostream& err);

// The key of a name (matched without regard to case, as the profile file does), or null.
const FWSettingKey* FindSettingsKey(const std::string& name);
// A key's value as get and list print it: numbers, 0/1, UTF-8 text, "(set)"/"(not set)".
std::string SettingsValueText(const FWSettings& settings, const FWSettingKey& key);
// Checks a command-line value (UTF-8) against the key's kind and stores it in the record;
// false with the reason when it does not fit.
bool SetSettingsValue(FWSettings& settings, const FWSettingKey& key, const std::string& value,
                      std::string& error);
