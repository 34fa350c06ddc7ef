#include "misc/Settings.h"

#include "misc/Base64.h"
#include "platform/KnownFolders.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kCustomIDPrefix[] = {"ACT", "GG", "LN", "OL", "PD"};
static_assert(std::size(kCustomIDPrefix) * kCustomIDSlots == kCustomIDCount);

// The text of a field up to its terminator, never past its end.
template <std::size_t N> std::string_view FieldText(const char (&field)[N])
{
    return std::string_view(field, strnlen(field, N));
}

template <std::size_t N> void CopyToField(char (&field)[N], std::string_view text)
{
    std::size_t length = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

// Whether a keyed account name is read from the file when its keep flag is off.
enum class ReadName
{
    WhenKept,
    Always,
};

// Reads each key into its field.
class Loader
{
public:
    explicit Loader(const CxIniUtil& ini) : m_ini(ini) {}

    void Int(const char* key, int& field, int defaultValue)
    {
        field = m_ini.ReadInt(kSettingsSection, key, defaultValue);
    }
    void Flag(const char* key, bool& field, bool defaultValue)
    {
        field = m_ini.ReadFlag(kSettingsSection, key, defaultValue);
    }
    template <std::size_t N> void Text(const char* key, char (&field)[N], const char* defaultValue = "")
    {
        m_ini.ReadString(kSettingsSection, key, field, static_cast<int>(N), defaultValue);
    }
    template <std::size_t N> void KeptName(const char* key, char (&field)[N], bool keep, ReadName read)
    {
        if (keep || read == ReadName::Always) {
            Text(key, field);
        } else {
            field[0] = '\0';
        }
    }
    template <std::size_t C, std::size_t P>
    void Password(const char* key, char (&code)[C], char (&plain)[P], bool keep)
    {
        code[0] = '\0';
        plain[0] = '\0';
        if (!keep) {
            return;
        }
        Text(key, code);
        // The code field holds at most the encoding of P - 1 bytes, so nothing is cut here
        // unless the file was edited by hand.
        CopyToField(plain, Base64Decode(FieldText(code)));
    }

private:
    const CxIniUtil& m_ini;
};

// Writes each field under its key; remembers whether any write failed.
class Saver
{
public:
    explicit Saver(const CxIniUtil& ini) : m_ini(ini) {}

    bool Ok() const { return m_ok; }

    void Int(const char* key, int field, int /*defaultValue*/)
    {
        m_ok = m_ini.WriteInt(kSettingsSection, key, field) && m_ok;
    }
    void Flag(const char* key, bool field, bool /*defaultValue*/)
    {
        m_ok = m_ini.WriteFlag(kSettingsSection, key, field) && m_ok;
    }
    template <std::size_t N>
    void Text(const char* key, const char (&field)[N], const char* /*defaultValue*/ = "")
    {
        Write(key, FieldText(field));
    }
    template <std::size_t N>
    void KeptName(const char* key, const char (&field)[N], bool keep, ReadName /*read*/)
    {
        Write(key, keep ? FieldText(field) : std::string_view());
    }
    template <std::size_t C, std::size_t P>
    void Password(const char* key, const char (&/*code*/)[C], const char (&plain)[P], bool keep)
    {
        // Encoded afresh from the plain text: that is the form the pages edit.
        Write(key, keep ? Base64Encode(FieldText(plain)) : std::string());
    }

private:
    void Write(const char* key, std::string_view text)
    {
        std::string value(text);
        m_ok = m_ini.WriteString(kSettingsSection, key, value.c_str()) && m_ok;
    }

    const CxIniUtil& m_ini;
    bool m_ok = true;
};

// Every key in file order, for loading (Record = FWSettings) and saving (const FWSettings).
// A keep flag comes before the keys it governs, so a load has read it by the time it matters.
template <class Record, class Visitor> void VisitKeys(Record& s, Visitor& v)
{
    v.Int("SourceApp", s.SourceApp, 0);
    v.Flag("EnableDebug", s.EnableDebug, false);
    v.Int("LogLevel", s.LogLevel, 3);
    v.Flag("SyncAddr", s.SyncAddr, true);
    v.Flag("SyncDate", s.SyncDate, true);
    v.Flag("SyncTask", s.SyncTask, true);
    v.Flag("SyncNote", s.SyncNote, true);
    v.Int("NewColor", s.NewColor, 32768);
    v.Int("DiffColor", s.DiffColor, 16711680);
    v.Int("SameColor", s.SameColor, 0);

    v.Text("LNAppName", s.LNAppName);
    v.Flag("LNSavePassword", s.LNSavePassword, false);
    v.Flag("LNNeedPassword", s.LNNeedPassword, false);
    v.Text("LNAddrName", s.LNAddrName);
    v.Text("LNDateName", s.LNDateName);
    v.Text("LNNoteName", s.LNNoteName);
    v.Password("LNPassword", s.LNPassword, s.LNPasswordText, s.LNSavePassword);
    v.Text("LNIDFile", s.LNIDFile);

    v.Text("ACTPadName", s.ACTPadName);
    v.KeptName("ACTUserName", s.ACTUserName, s.ACTSaveUser, ReadName::Always);
    v.Flag("ACTSaveUser", s.ACTSaveUser, true);
    v.Flag("ACTSavePassword", s.ACTSavePassword, false);
    v.Password("ACTPassword", s.ACTPassword, s.ACTPasswordText, s.ACTSavePassword);
    v.Text("ACTAppName", s.ACTAppName);
    v.Flag("Opp", s.Opp, true);
    v.Flag("OppNotes", s.OppNotes, true);

    v.Int("PDUserID", s.PDUserID, 0);
    v.Flag("PDUseAddrFile", s.PDUseAddrFile, false);
    v.Flag("PDUseDateFile", s.PDUseDateFile, false);
    v.Flag("PDUseTaskFile", s.PDUseTaskFile, false);
    v.Flag("PDUseNoteFile", s.PDUseNoteFile, false);
    v.Text("PDAddrFileName", s.PDAddrFileName);
    v.Text("PDDateFileName", s.PDDateFileName);
    v.Text("PDTaskFileName", s.PDTaskFileName);
    v.Text("PDNoteFileName", s.PDNoteFileName);
    v.Text("PDFolder", s.PDFolder);

    v.Flag("GGSaveEmail", s.GGSaveEmail, true);
    v.KeptName("GGEmail", s.GGEmail, s.GGSaveEmail, ReadName::WhenKept);
    v.Flag("GGSavePassword", s.GGSavePassword, false);
    v.Password("GGPassword", s.GGPassword, s.GGPasswordText, s.GGSavePassword);
    v.Text("GGFolder", s.GGFolder);

    v.Int("OLMode", s.OLMode, 1);
    v.Text("OLAppName", s.OLAppName);
    v.Text("OLDataFile", s.OLDataFile);
    v.Int("OLCodePage", s.OLCodePage, 1252);

    v.Text("DNHostName", s.DNHostName);
    v.Flag("DNSaveOrg", s.DNSaveOrg, true);
    v.Flag("DNSaveID", s.DNSaveID, true);
    v.Flag("DNSavePassword", s.DNSavePassword, false);
    v.Int("DNAuthMode", s.DNAuthMode, 0);
    v.KeptName("DNOrg", s.DNOrg, s.DNSaveOrg, ReadName::WhenKept);
    v.KeptName("DNLiveID", s.DNLiveID, s.DNSaveID, ReadName::WhenKept);
    v.Password("DNPassword", s.DNPassword, s.DNPasswordText, s.DNSavePassword);
    v.Flag("DNAddrAccount", s.DNAddrAccount, true);
    v.Flag("DNAddrContact", s.DNAddrContact, true);
    v.Flag("DNAddrLead", s.DNAddrLead, true);

    v.Flag("SFSaveUser", s.SFSaveUser, true);
    v.Flag("SFSavePassword", s.SFSavePassword, false);
    v.Flag("SFSaveToken", s.SFSaveToken, true);
    v.KeptName("SFUserName", s.SFUserName, s.SFSaveUser, ReadName::WhenKept);
    v.Password("SFPassword", s.SFPassword, s.SFPasswordText, s.SFSavePassword);
    v.Password("SFToken", s.SFToken, s.SFTokenText, s.SFSaveToken);
    v.Flag("SFAddrAccount", s.SFAddrAccount, true);
    v.Flag("SFAddrContact", s.SFAddrContact, true);
    v.Flag("SFAddrLead", s.SFAddrLead, true);

    v.Text("SGHostName", s.SGHostName);
    v.Flag("SGSaveUser", s.SGSaveUser, true);
    v.Flag("SGSavePassword", s.SGSavePassword, false);
    v.KeptName("SGUserName", s.SGUserName, s.SGSaveUser, ReadName::WhenKept);
    v.Password("SGPassword", s.SGPassword, s.SGPasswordText, s.SGSavePassword);
    v.Flag("SGAddrAccount", s.SGAddrAccount, true);
    v.Flag("SGAddrContact", s.SGAddrContact, true);
    v.Flag("SGAddrLead", s.SGAddrLead, true);

    char key[32];
    for (int i = 0; i < kCustomIDCount; ++i) {
        std::snprintf(key, sizeof key, "%sCustomID%d", kCustomIDPrefix[i / kCustomIDSlots],
                      i % kCustomIDSlots + 1);
        v.Int(key, s.CustomID[i], 0);
    }
    char label[16];
    for (int i = 0; i < kCustomIDSlots; ++i) {
        std::snprintf(key, sizeof key, "OLCustomLabel%d", i + 1);
        std::snprintf(label, sizeof label, "Custom %d", i + 1);
        v.Text(key, s.OLCustomLabel[i], label);
    }
    for (int i = 0; i < kCustomIDSlots; ++i) {
        std::snprintf(key, sizeof key, "GGCustomLabel%d", i + 1);
        std::snprintf(label, sizeof label, "Custom %d", i + 1);
        v.Text(key, s.GGCustomLabel[i], label);
    }
    v.Flag("ACTCustom", s.ACTCustom, false);
    v.Flag("GGCustom", s.GGCustom, false);
    v.Flag("LNCustom", s.LNCustom, false);
    v.Flag("PDCustom", s.PDCustom, false);
    v.Flag("OLCustom", s.OLCustom, false);
}

// Records where each key's field lies, for SettingsKeys.
class Describer
{
public:
    explicit Describer(const FWSettings& base) : m_base(reinterpret_cast<const char*>(&base)) {}

    std::vector<FWSettingKey> Take() { return std::move(m_keys); }

    void Int(const char* key, const int& field, int defaultValue)
    {
        Add(key, FWSettingKind::Integer, &field, sizeof field, nullptr, defaultValue, "");
    }
    void Flag(const char* key, const bool& field, bool defaultValue)
    {
        Add(key, FWSettingKind::Flag, &field, sizeof field, nullptr, defaultValue ? 1 : 0, "");
    }
    template <std::size_t N> void Text(const char* key, const char (&field)[N], const char* defaultValue = "")
    {
        Add(key, FWSettingKind::Text, field, N, nullptr, 0, defaultValue);
    }
    template <std::size_t N>
    void KeptName(const char* key, const char (&field)[N], const bool& keep, ReadName /*read*/)
    {
        Add(key, FWSettingKind::KeptName, field, N, &keep, 0, "");
    }
    template <std::size_t C, std::size_t P>
    void Password(const char* key, const char (&/*code*/)[C], const char (&plain)[P], const bool& keep)
    {
        Add(key, FWSettingKind::Password, plain, P, &keep, 0, "");
    }

private:
    void Add(const char* key, FWSettingKind kind, const void* field, std::size_t size, const bool* keep,
             int defaultInt, const char* defaultText)
    {
        m_keys.push_back(FWSettingKey{key, kind, OffsetOf(field), size, keep != nullptr ? OffsetOf(keep) : 0,
                                      defaultInt, defaultText});
    }
    std::size_t OffsetOf(const void* field) const
    {
        return static_cast<std::size_t>(static_cast<const char*>(field) - m_base);
    }

    const char* m_base;
    std::vector<FWSettingKey> m_keys;
};

} // namespace

FWSettings& g_Settings()
{
    static FWSettings settings{};
    return settings;
}

CxIniUtil& g_SettingsIni()
{
    static CxIniUtil ini(nullptr, kDefaultSettingsFileName);
    return ini;
}

const std::vector<FWSettingKey>& SettingsKeys()
{
    static const std::vector<FWSettingKey> keys = [] {
        static const FWSettings layout{};
        Describer describer(layout);
        VisitKeys(layout, describer);
        return describer.Take();
    }();
    return keys;
}

void LoadSettings(FWSettings& settings, const CxIniUtil& ini)
{
    settings = FWSettings{};
    Loader loader(ini);
    VisitKeys(settings, loader);
}

void LoadSettings()
{
    LoadSettings(g_Settings(), g_SettingsIni());
}

bool SaveSettings(const FWSettings& settings, const CxIniUtil& ini)
{
    Saver saver(ini);
    ini.BeginBatch();
    VisitKeys(settings, saver);
    bool written = ini.EndBatch();
    return saver.Ok() && written;
}

bool SaveSettings()
{
    return SaveSettings(g_Settings(), g_SettingsIni());
}

bool& SyncSwitch(FWSettings& settings, DataType type)
{
    switch (type) {
    case kDataContacts:
        return settings.SyncAddr;
    case kDataCalendar:
        return settings.SyncDate;
    case kDataTasks:
        return settings.SyncTask;
    case kDataNotes:
        break;
    }
    return settings.SyncNote;
}

bool SyncSwitch(const FWSettings& settings, DataType type)
{
    return SyncSwitch(const_cast<FWSettings&>(settings), type);
}

bool GetWorkingFolder(std::string& folder)
{
    folder.clear();
    std::string roaming;
    if (!platform::GetRoamingAppDataFolder(roaming, true) || roaming.empty()) {
        return false;
    }
    if (roaming.back() != platform::kPathSeparator) {
        roaming += platform::kPathSeparator;
    }
    const std::string company = roaming + "corvane";
    const std::string working = company + "/FWLN/";
    if (working.size() > MAX_PATH - 1) {
        return false;
    }
    if (!platform::MakeFolder(company, 0700) || !platform::MakeFolder(company + "/FWCommon", 0700) ||
        !platform::MakeFolder(company + "/FWLN", 0700)) {
        return false;
    }
    folder = working;
    return true;
}
