#pragma once
// The settings store: one process-wide record of every user choice, the settings file it is
// loaded from and saved to, and the per-user working folder.
//
// The record is used from one thread at a time (the one that runs the driver); nothing here
// locks.
#include "misc/AppKind.h"
#include "misc/CxIniUtil.h"
#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <type_traits>
#include <vector>

// Every key lives in this section of the settings file.
inline constexpr char kSettingsSection[] = "FWLN";
// The settings file, in the working folder.
inline constexpr char kSettingsFileName[] = "FWLN.ini";
// The settings object's path until the working folder is known: in the program's folder.
inline constexpr char kDefaultSettingsFileName[] = "corvane.ini";

// Field capacities (terminator included).
inline constexpr std::size_t kSettingsTextSize = 256; // paths, host names
inline constexpr std::size_t kSettingsNameSize = 64;  // account names, labels
inline constexpr std::size_t kSettingsPasswordSize = 256;
inline constexpr std::size_t kSettingsTokenSize = 1024;

// Capacity of the Base64 form of the longest text a plain field of plainSize holds, so that a
// kept password is always stored whole.
constexpr std::size_t EncodedFieldSize(std::size_t plainSize)
{
    return 4 * ((plainSize - 1 + 2) / 3) + 1;
}
inline constexpr std::size_t kSettingsPasswordCodeSize = EncodedFieldSize(kSettingsPasswordSize);
inline constexpr std::size_t kSettingsTokenCodeSize = EncodedFieldSize(kSettingsTokenSize);

// Where each application's nine slots start in FWSettings::CustomID.
enum FWCustomIDBlock : int
{
    kCustomIDACT = 0,
    kCustomIDGoogle = 9,
    kCustomIDNotes = 18,
    kCustomIDOutlook = 27,
    kCustomIDPalm = 36,
};
inline constexpr int kCustomIDSlots = 9;
inline constexpr int kCustomIDCount = 45;

// One field per key of the settings file, named as the key. Texts are terminated and hold at
// most their capacity - 1 characters. A password key's field (LNPassword, SFToken, ...) holds
// its Base64 form as read from the file; the field of the same name with "Text" appended
// (LNPasswordText, SFTokenText, ...) holds the plain text, which is what the pages edit and
// what SaveSettings encodes. FWSettings{} is the cleared record: empty texts, false, 0.
struct FWSettings
{
    int SourceApp;
    bool EnableDebug;
    int LogLevel;
    bool SyncAddr;
    bool SyncDate;
    bool SyncTask;
    bool SyncNote;
    int NewColor;
    int DiffColor;
    int SameColor;

    char LNAppName[kSettingsTextSize];
    bool LNSavePassword;
    bool LNNeedPassword;
    char LNAddrName[kSettingsTextSize];
    char LNDateName[kSettingsTextSize];
    char LNNoteName[kSettingsTextSize];
    char LNPassword[kSettingsPasswordCodeSize];
    char LNPasswordText[kSettingsPasswordSize];
    char LNIDFile[kSettingsTextSize];

    char ACTPadName[kSettingsTextSize];
    char ACTUserName[kSettingsNameSize];
    bool ACTSaveUser;
    bool ACTSavePassword;
    char ACTPassword[kSettingsPasswordCodeSize];
    char ACTPasswordText[kSettingsPasswordSize];
    char ACTAppName[kSettingsTextSize];
    bool Opp;
    bool OppNotes;

    int PDUserID;
    bool PDUseAddrFile;
    bool PDUseDateFile;
    bool PDUseTaskFile;
    bool PDUseNoteFile;
    char PDAddrFileName[kSettingsTextSize];
    char PDDateFileName[kSettingsTextSize];
    char PDTaskFileName[kSettingsTextSize];
    char PDNoteFileName[kSettingsTextSize];
    // The Palm Desktop folder the user chose (its users are the folders in it); empty: found
    // where Palm Desktop records it.
    char PDFolder[MAX_PATH];

    bool GGSaveEmail;
    char GGEmail[kSettingsNameSize];
    bool GGSavePassword;
    char GGPassword[kSettingsPasswordCodeSize];
    char GGPasswordText[kSettingsPasswordSize];
    // The folder of the account's export (contacts as vCard or Google CSV, calendars as
    // iCalendar files) that the Google helpers serve on this platform.
    char GGFolder[MAX_PATH];

    int OLMode;
    char OLAppName[MAX_PATH];
    // The Outlook data file (.pst, .ost) that stands for Outlook here, and the code page of its
    // 8-bit texts.
    char OLDataFile[MAX_PATH];
    int OLCodePage;
    // The data file's password for this run; never written to the settings file.
    char OLPasswordText[kSettingsPasswordSize];

    char DNHostName[kSettingsTextSize];
    bool DNSaveOrg;
    bool DNSaveID;
    bool DNSavePassword;
    int DNAuthMode;
    char DNOrg[kSettingsNameSize];
    char DNLiveID[kSettingsNameSize];
    char DNPassword[kSettingsPasswordCodeSize];
    char DNPasswordText[kSettingsPasswordSize];
    bool DNAddrAccount;
    bool DNAddrContact;
    bool DNAddrLead;

    bool SFSaveUser;
    bool SFSavePassword;
    bool SFSaveToken;
    char SFUserName[kSettingsNameSize];
    char SFPassword[kSettingsPasswordCodeSize];
    char SFPasswordText[kSettingsPasswordSize];
    char SFToken[kSettingsTokenCodeSize];
    char SFTokenText[kSettingsTokenSize];
    bool SFAddrAccount;
    bool SFAddrContact;
    bool SFAddrLead;

    char SGHostName[kSettingsTextSize];
    bool SGSaveUser;
    bool SGSavePassword;
    char SGUserName[kSettingsNameSize];
    char SGPassword[kSettingsPasswordCodeSize];
    char SGPasswordText[kSettingsPasswordSize];
    bool SGAddrAccount;
    bool SGAddrContact;
    bool SGAddrLead;

    // ACTCustomID1..9, GGCustomID1..9, LNCustomID1..9, OLCustomID1..9, PDCustomID1..9.
    int CustomID[kCustomIDCount];
    // OLCustomLabel1..9 and GGCustomLabel1..9 (index 0 is label 1).
    char OLCustomLabel[kCustomIDSlots][kSettingsNameSize];
    char GGCustomLabel[kCustomIDSlots][kSettingsNameSize];
    bool ACTCustom;
    bool GGCustom;
    bool LNCustom;
    bool PDCustom;
    bool OLCustom;
};
static_assert(std::is_trivially_copyable_v<FWSettings>);

// One key of the settings file as the store reads and writes it, for code that walks every
// key generically (the command line's settings command). Offsets are into FWSettings.
enum class FWSettingKind
{
    Integer,  // int field
    Flag,     // bool field
    Text,     // char field of Size bytes
    KeptName, // a Text kept only while its keep flag is set
    Password, // the plain-text field (LNPasswordText, ...) of Size bytes; kept while its flag is set
};
struct FWSettingKey
{
    std::string Name;
    FWSettingKind Kind;
    std::size_t Offset;
    std::size_t Size;        // capacity of a text field, terminator included
    std::size_t KeepOffset;  // KeptName, Password: the bool keep flag
    int DefaultInt;          // Integer, Flag
    std::string DefaultText; // Text
};
// Every key, in the order the store writes them.
const std::vector<FWSettingKey>& SettingsKeys();

// The process-wide record that the pages and flows read and change.
FWSettings& g_Settings();
// The process-wide settings file accessor; points at kDefaultSettingsFileName in the program's
// folder until the session start points it at the working folder's kSettingsFileName.
CxIniUtil& g_SettingsIni();

// Clears the record, then reads every key with its default. Passwords and the account names
// that have a keep flag are read only when kept and are emptied otherwise; ACTUserName is
// always read. A missing file or key gives the defaults.
void LoadSettings(FWSettings& settings, const CxIniUtil& ini);
void LoadSettings(); // g_Settings() from g_SettingsIni()

// Writes every key. A password is written Base64-encoded when kept, empty otherwise; an
// account name with a keep flag (ACTUserName included) is written when kept, empty otherwise.
// False when any write failed (every key is still attempted).
bool SaveSettings(const FWSettings& settings, const CxIniUtil& ini);
bool SaveSettings(); // g_Settings() to g_SettingsIni()

// The switch that says whether a run works on a data type: SyncAddr, SyncDate, SyncTask or
// SyncNote.
bool& SyncSwitch(FWSettings& settings, DataType type);
bool SyncSwitch(const FWSettings& settings, DataType type);

// The per-user working folder <roaming app data>/corvane/FWLN/, ending in a separator, made
// when missing (with its sibling corvane/FWCommon/), each folder private to the user. False,
// with folder empty, when a folder cannot be made or the path exceeds MAX_PATH - 1 characters.
bool GetWorkingFolder(std::string& folder);
