#include "cli/CliSettingsCommand.h"

#include <cctype>
#include <charconv>
#include <cstring>
#include <memory>
#include <string_view>

#include "platform/CodePage.h"

namespace {

// Field access through the key table's offsets; FWSettings is a plain record.
template <class T> T& FieldAt(FWSettings& settings, std::size_t offset)
{
    return *reinterpret_cast<T*>(reinterpret_cast<char*>(&settings) + offset);
}
template <class T> const T& FieldAt(const FWSettings& settings, std::size_t offset)
{
    return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&settings) + offset);
}

std::string_view TextAt(const FWSettings& settings, const FWSettingKey& key)
{
    const char* text = &FieldAt<char>(settings, key.Offset);
    return {text, strnlen(text, key.Size)};
}

bool HasKeepFlag(const FWSettingKey& key)
{
    return key.Kind == FWSettingKind::KeptName || key.Kind == FWSettingKind::Password;
}

bool IsKept(const FWSettings& settings, const FWSettingKey& key)
{
    return !HasKeepFlag(key) || FieldAt<bool>(settings, key.KeepOffset);
}

// The flag key that keeps a password or account name.
const FWSettingKey* KeepKeyOf(const FWSettingKey& key)
{
    for (const FWSettingKey& k : SettingsKeys()) {
        if (k.Kind == FWSettingKind::Flag && k.Offset == key.KeepOffset) {
            return &k;
        }
    }
    return nullptr;
}

std::string KeepKeyName(const FWSettingKey& key)
{
    const FWSettingKey* keep = KeepKeyOf(key);
    return keep != nullptr ? keep->Name : std::string("its keep flag");
}

bool LocateSettingsFile(std::unique_ptr<CxIniUtil>& ini, std::ostream& err)
{
    std::string folder;
    if (!GetWorkingFolder(folder)) {
        err << "Error: the working folder cannot be found or made, so there is no settings file.\n";
        return false;
    }
    ini = std::make_unique<CxIniUtil>(folder.c_str(), kSettingsFileName);
    return true;
}

int Usage(std::ostream& err, const std::string& error)
{
    err << "ferrywise-cli: " << error << "\nRun 'ferrywise-cli settings --help' for usage.\n";
    return kCliExitUsage;
}

// What a change of one key means beyond itself, told after it is saved.
void WarnAboutKeeping(const FWSettingKey& key, const FWSettings& before, const FWSettings& saved,
                      const FWSettings& reread, std::ostream& err)
{
    if (HasKeepFlag(key) && !IsKept(saved, key)) {
        const std::string keep = KeepKeyName(key);
        err << "Warning: " << key.Name << " is not kept while " << keep
            << " is 0, so the settings file holds it empty. Set " << keep << " to 1 first, then set "
            << key.Name << " again.\n";
        return;
    }
    if (key.Kind == FWSettingKind::Flag) {
        // A keep flag switched off drops what it kept.
        for (const FWSettingKey& other : SettingsKeys()) {
            if (HasKeepFlag(other) && other.KeepOffset == key.Offset && !TextAt(before, other).empty() &&
                TextAt(reread, other).empty()) {
                err << "Warning: " << other.Name
                    << " is no longer kept and was removed from the settings file.\n";
            }
        }
        return;
    }
    if (SettingsValueText(saved, key) != SettingsValueText(reread, key)) {
        err << "Warning: the settings file gives " << key.Name << " back as \""
            << SettingsValueText(reread, key) << "\".\n";
    }
}

int Get(const CliArguments& args, std::ostream& out, std::ostream& err)
{
    const FWSettingKey* key = FindSettingsKey(args.key);
    if (key == nullptr) {
        err << "Error: unknown settings key '" << args.key << "'.\n";
        return kCliExitFailed;
    }
    std::unique_ptr<CxIniUtil> ini;
    if (!LocateSettingsFile(ini, err)) {
        return kCliExitFailed;
    }
    auto settings = std::make_unique<FWSettings>();
    LoadSettings(*settings, *ini);
    out << SettingsValueText(*settings, *key) << "\n";
    return kCliExitOk;
}

int List(std::ostream& out, std::ostream& err)
{
    std::unique_ptr<CxIniUtil> ini;
    if (!LocateSettingsFile(ini, err)) {
        return kCliExitFailed;
    }
    auto settings = std::make_unique<FWSettings>();
    LoadSettings(*settings, *ini);
    for (const FWSettingKey& key : SettingsKeys()) {
        out << key.Name << "=" << SettingsValueText(*settings, key) << "\n";
    }
    return kCliExitOk;
}

int Set(const CliArguments& args, std::ostream& err)
{
    const FWSettingKey* key = FindSettingsKey(args.key);
    if (key == nullptr) {
        err << "Error: unknown settings key '" << args.key << "'.\n";
        return kCliExitFailed;
    }
    // The value is checked before anything is read or written.
    auto probe = std::make_unique<FWSettings>();
    std::string error;
    if (!SetSettingsValue(*probe, *key, args.value, error)) {
        return Usage(err, error);
    }
    std::unique_ptr<CxIniUtil> ini;
    if (!LocateSettingsFile(ini, err)) {
        return kCliExitFailed;
    }
    auto before = std::make_unique<FWSettings>();
    LoadSettings(*before, *ini);
    auto settings = std::make_unique<FWSettings>(*before);
    SetSettingsValue(*settings, *key, args.value, error);
    if (!SaveSettings(*settings, *ini)) {
        err << "Error: the settings file " << ini->GetPath() << " could not be written.\n";
        return kCliExitFailed;
    }
    auto reread = std::make_unique<FWSettings>();
    LoadSettings(*reread, *ini);
    WarnAboutKeeping(*key, *before, *settings, *reread, err);
    return kCliExitOk;
}

} // namespace

const FWSettingKey* FindSettingsKey(const std::string& name)
{
    for (const FWSettingKey& key : SettingsKeys()) {
        if (key.Name.size() == name.size() &&
            std::equal(name.begin(), name.end(), key.Name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            return &key;
        }
    }
    return nullptr;
}

std::string SettingsValueText(const FWSettings& settings, const FWSettingKey& key)
{
    switch (key.Kind) {
    case FWSettingKind::Integer:
        return std::to_string(FieldAt<int>(settings, key.Offset));
    case FWSettingKind::Flag:
        return FieldAt<bool>(settings, key.Offset) ? "1" : "0";
    case FWSettingKind::Text:
    case FWSettingKind::KeptName:
        return platform::AnsiToUtf8(TextAt(settings, key));
    case FWSettingKind::Password:
        return TextAt(settings, key).empty() ? "(not set)" : "(set)";
    }
    return std::string();
}

bool SetSettingsValue(FWSettings& settings, const FWSettingKey& key, const std::string& value,
                      std::string& error)
{
    switch (key.Kind) {
    case FWSettingKind::Integer: {
        int number = 0;
        const char* begin = value.data();
        const char* end = value.data() + value.size();
        if (begin != end && *begin == '+') {
            ++begin;
        }
        auto [ptr, ec] = std::from_chars(begin, end, number);
        if (begin == end || ec != std::errc() || ptr != end) {
            error = key.Name + " takes a whole number, not '" + value + "'";
            return false;
        }
        FieldAt<int>(settings, key.Offset) = number;
        return true;
    }
    case FWSettingKind::Flag:
        if (value != "0" && value != "1") {
            error = key.Name + " takes 0 or 1, not '" + value + "'";
            return false;
        }
        FieldAt<bool>(settings, key.Offset) = value == "1";
        return true;
    case FWSettingKind::Text:
    case FWSettingKind::KeptName:
    case FWSettingKind::Password: {
        for (char c : value) {
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                error = "the value of " + key.Name + " holds a line break or control character";
                return false;
            }
        }
        std::string ansi = platform::Utf8ToAnsi(value);
        if (platform::AnsiToUtf8(ansi) != value) {
            error = "the value of " + key.Name + " holds characters that the code page " +
                    platform::AnsiCodePage() + " cannot hold";
            return false;
        }
        if (ansi.size() > key.Size - 1) {
            error = "the value of " + key.Name + " is too long (at most " + std::to_string(key.Size - 1) +
                    " characters)";
            return false;
        }
        char* field = &FieldAt<char>(settings, key.Offset);
        std::memcpy(field, ansi.data(), ansi.size());
        field[ansi.size()] = '\0';
        return true;
    }
    }
    return false;
}

int RunSettingsCommand(const CliArguments& args, std::ostream& out, std::ostream& err)
{
    switch (args.action) {
    case CliSettingsAction::Get:
        return Get(args, out, err);
    case CliSettingsAction::Set:
        return Set(args, err);
    case CliSettingsAction::List:
        return List(out, err);
    case CliSettingsAction::None:
        break;
    }
    return Usage(err, "settings needs an action (get, set or list)");
}
