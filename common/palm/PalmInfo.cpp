#include "palm/PalmInfo.h"

#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "misc/AppKind.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "palm/PalmClassicConvert.h"
#include "palm/PalmConvert.h"
#include "palm/PalmEnv.h"
#include "palm/PalmEx2Convert.h"
#include "palm/PalmExConvert.h"
#include "palm/PalmItems.h"
#include "palm/PalmLoadError.h"

namespace {

// ---- What tells the four fronts apart ----------------------------------------------------

struct FrontTexts
{
    const char* byUser;
    const char* unknownVersion;
    const char* userFailed;
    const char* byFile; // null: not logged
    const char* fileFailed;
    const char* check;
    const char* check6;
    const char* check41;
    const char* checkOld;
    const char* checkFailed;
    const char* absent; // the user folder holds no such database; with its path
};

constexpr FrontTexts kAddrTexts = {
    "Load Palm Desktop Contacts by user: %d",
    "Unknown Palm Desktop version",
    "Could not open Palm Desktop Contacts database by User: %d",
    "Load Palm Desktop Contacts by file: %s",
    "Failed to load Palm Desktop Contacts data file: %s",
    "Check Palm Desktop Contacts file version, file: %s",
    "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Contacts file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Contacts file type: (%s)",
    "No Palm Desktop Contacts file in the user folder, nothing to load: %s",
};
constexpr FrontTexts kDateTexts = {
    "Load Palm Desktop Calendar by user: %d",
    "Unknown Palm Desktop version.",
    "Failed to open Palm Desktop Calendar database by User: %d",
    nullptr,
    "Failed to load Palm Desktop Calendar data file: %s",
    "Check Palm Desktop Calendar file version, file: %s",
    "Check Palm Desktop Calendar file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Calendar file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Calendar file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Calendar file type: (%s)",
    "No Palm Desktop Calendar file in the user folder, nothing to load: %s",
};
constexpr FrontTexts kMemoTexts = {
    "Load Palm Desktop Memos by user: %d",
    "Unknown Palm Desktop version.",
    "Failed to load Palm Desktop Memo database by User: %d",
    "Load Palm Desktop Memos by file: %s",
    "Failed to load Palm Desktop Memos data file (%s)",
    "Check Palm Desktop Memos file version, file: %s",
    "Check Palm Desktop Memos file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Memos file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Memos file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Memos data file type (%s)",
    "No Palm Desktop Memos file in the user folder, nothing to load: %s",
};
constexpr FrontTexts kTodoTexts = {
    "Load Palm Desktop Tasks by user: %d",
    "Unknown Palm Desktop version.",
    "Failed to load Palm Desktop Tasks database by User: %d",
    "Load Palm Desktop Tasks by file: %s",
    "Failed to load Palm Desktop Tasks file (%s)",
    "Check Palm Desktop Tasks file version, file: %s",
    "Check Palm Desktop Task file type: (%s) - Palm Desktop 6.x",
    "Check Palm Desktop Task file type: (%s) - Palm Desktop 4.1.x",
    "Check Palm Desktop Task file type: (%s) - Palm Desktop 4.1 or earlier",
    "Failed to check Palm Desktop Tasks file type: (%s)",
    "No Palm Desktop Tasks file in the user folder, nothing to load: %s",
};

// The contact and memo fronts know no release below 3.5; the calendar and to-do fronts read
// every release below 4.1.2 with the classic reader.
int DateVersionKindOf(int versionNumber)
{
    const int kind = PmVersionKindOf(versionNumber);
    return kind == 0 ? 1 : kind;
}

struct AddrTraits
{
    using Classic = PmAddrUtil;
    using Ex = PmAddrExUtil;
    using Ex2 = PmAddrEx2Util;
    using Item = PmAddrItem;
    using Comm = CommAddrRec;
    using Store = CommAddrMgr;
    static constexpr const FrontTexts& kTexts = kAddrTexts;
    static constexpr bool kRefusesEmptyPath = true;
    static constexpr const char* kDatFolder = "address";
    static constexpr const char* kDatFile = "address.dat";
    static constexpr const char* kMdbFolder = "address";
    static constexpr const char* kMdbFile = "Address.mdb";
    static int KindOf(int version) { return PmVersionKindOf(version); }
};
struct DateTraits
{
    using Classic = PmDateUtil;
    using Ex = PmDateExUtil;
    using Ex2 = PmDateEx2Util;
    using Item = PmDateItem;
    using Comm = CommDateRec;
    using Store = CommDateMgr;
    static constexpr const FrontTexts& kTexts = kDateTexts;
    static constexpr bool kRefusesEmptyPath = false;
    static constexpr const char* kDatFolder = "datebook";
    static constexpr const char* kDatFile = "datebook.dat";
    static constexpr const char* kMdbFolder = "datebook";
    static constexpr const char* kMdbFile = "DateBook.mdb";
    static int KindOf(int version) { return DateVersionKindOf(version); }
};
struct MemoTraits
{
    using Classic = PmMemoUtil;
    using Ex = PmMemoExUtil;
    using Ex2 = PmMemoEx2Util;
    using Item = PmMemoItem;
    using Comm = CommNoteRec;
    using Store = CommNoteMgr;
    static constexpr const FrontTexts& kTexts = kMemoTexts;
    static constexpr bool kRefusesEmptyPath = false;
    static constexpr const char* kDatFolder = "memopad";
    static constexpr const char* kDatFile = "memopad.dat";
    static constexpr const char* kMdbFolder = "MemoPad";
    static constexpr const char* kMdbFile = "MemoPad.mdb";
    static int KindOf(int version) { return PmVersionKindOf(version); }
};
struct TodoTraits
{
    using Classic = PmTodoUtil;
    using Ex = PmTodoExUtil;
    using Ex2 = PmTodoEx2Util;
    using Item = PmTodoItem;
    using Comm = CommTaskRec;
    using Store = CommTaskMgr;
    static constexpr const FrontTexts& kTexts = kTodoTexts;
    static constexpr bool kRefusesEmptyPath = false;
    static constexpr const char* kDatFolder = "todo";
    static constexpr const char* kDatFile = "todo.dat";
    static constexpr const char* kMdbFolder = "todo";
    static constexpr const char* kMdbFile = "Todolist.mdb";
    static int KindOf(int version) { return DateVersionKindOf(version); }
};

// The extension of a path's file name in lower case, with its dot; empty when it has none.
std::string LowerExtension(const std::string& path)
{
    const auto slash = path.find_last_of("/\\");
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return {};
    }
    std::string ext = path.substr(dot);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return ext;
}

// ---- The front ----------------------------------------------------------------------------

template <class Traits> class Front
{
public:
    using Item = typename Traits::Item;
    using Comm = typename Traits::Comm;

    Front()
    {
        m_versionNumber = PmGetDesktopVersion();
        m_versionKind = Traits::KindOf(m_versionNumber);
        FW_LOG(2, "Palm Desktop Version: %d", m_versionNumber);
    }
    ~Front() { Clear(); }

    void Clear()
    {
        m_generation = kPmNothingLoaded;
        m_loadError.clear();
        m_loadNotice.clear();
        m_classic.ClearRecords();
        m_ex.ClearRecords();
        m_ex2.ClearRecords();
        // The store's records point at the items: the store goes first.
        m_store.Clear();
        m_items.clear();
    }

    // The user's database of the release's generation. A database that is not there loads
    // nothing and says so (GetLoadNotice); one that is there but cannot be read fails, and
    // GetLoadError says why.
    bool LoadByUser(std::int32_t userId)
    {
        Clear();
        FW_LOG(2, Traits::kTexts.byUser, userId);
        int generation = m_versionKind;
        if (m_versionNumber != -1 && (m_versionKind < 1 || m_versionKind > 3)) {
            FW_LOG(0, "%s", Traits::kTexts.unknownVersion);
            m_generation = kPmLoadFailed;
            m_loadError = "unsupported Palm Desktop version " + VersionText(m_versionNumber);
            return false;
        }
        std::string folder;
        if (!PmGetUserDataPath(userId, folder)) {
            LoadWith(m_versionNumber == -1 ? kPmEx2 : generation, userId); // the reader says why
            m_loadError = "no Palm Desktop data folder for user " + std::to_string(userId);
            FW_LOG(0, Traits::kTexts.userFailed, userId);
            return false;
        }
        const std::string mdb = PmDataFilePath(folder, Traits::kMdbFolder, Traits::kMdbFile);
        const std::string dat = PmDataFilePath(folder, Traits::kDatFolder, Traits::kDatFile);
        bool eitherDatReader = false;
        if (m_versionNumber == -1) {
            // Without a known release the user's files decide: the 6.x database when there is
            // one, else the .dat file, which the 4.1.x reader and then the classic one try.
            eitherDatReader = !PmPathPresent(mdb) && PmPathPresent(dat);
            generation = eitherDatReader ? kPmEx : kPmEx2;
            FW_LOG(2, "Palm Desktop version unknown, the user's files decide: %s",
                   (eitherDatReader ? dat : mdb).c_str());
            if (eitherDatReader) {
                FW_LOG(2, ".dat file, try Palm Desktop 4.1.4 database loader.");
            } else {
                FW_LOG(2, ".mdb file, try Palm Desktop 6.x database loader.");
            }
        }
        const std::string& path = generation == kPmEx2 ? mdb : dat;
        if (!PmPathPresent(path)) {
            m_loadNotice = Format(Traits::kTexts.absent, path);
            FW_LOG(0, "%s", m_loadNotice.c_str());
            return true;
        }
        bool loaded = LoadWith(generation, userId);
        if (!loaded && eitherDatReader) {
            FW_LOG(2, "Unable to load this file with Palm Desktop 4.1.4 file loader, try earlier loader "
                      "version.");
            generation = kPmClassic;
            loaded = m_classic.LoadByUser(userId);
        }
        if (loaded) {
            m_generation = generation;
            Convert();
            return true;
        }
        m_loadError = path + ": " + Reason(generation, eitherDatReader);
        ClearReaders();
        FW_LOG(0, Traits::kTexts.userFailed, userId);
        return false;
    }

    bool LoadByFile(const std::string& path)
    {
        if (Traits::kRefusesEmptyPath && path.empty()) {
            m_loadError = kPmReasonNoFileName;
            return false;
        }
        Clear();
        if constexpr (Traits::kTexts.byFile != nullptr) {
            FW_LOG(2, Traits::kTexts.byFile, path.c_str());
        }
        const int generation = LoadFile(path);
        if (generation == 0) {
            ClearReaders();
            m_generation = kPmLoadFailed;
            FW_LOG(0, Traits::kTexts.fileFailed, path.c_str());
            return false;
        }
        m_generation = generation;
        Convert();
        return true;
    }

    static int CheckFile(const std::string& path)
    {
        if (path.empty()) {
            return 0;
        }
        FW_LOG(2, Traits::kTexts.check, path.c_str());
        const std::string ext = LowerExtension(path);
        if (ext == ".mdb") {
            if (typename Traits::Ex2(path).IsLoaded()) {
                FW_LOG(2, Traits::kTexts.check6, path.c_str());
                return 3;
            }
        } else if (ext == ".dat") {
            if (typename Traits::Ex(path).IsLoaded()) {
                FW_LOG(2, Traits::kTexts.check41, path.c_str());
                return 2;
            }
            if (typename Traits::Classic(path).IsLoaded()) {
                FW_LOG(2, Traits::kTexts.checkOld, path.c_str());
                return 1;
            }
        }
        FW_LOG(0, Traits::kTexts.checkFailed, path.c_str());
        return 255;
    }

    int GetVersionKind() const { return m_versionKind; }
    int GetLoadedGeneration() const { return m_generation; }
    const std::string& GetLoadError() const { return m_loadError; }
    const std::string& GetLoadNotice() const { return m_loadNotice; }
    int GetLossyRecordCount() const { return m_generation == kPmEx2 ? m_ex2.LossyRecordCount() : 0; }
    typename Traits::Store* GetStore() { return &m_store; }

    // Contacts: the custom-field mapping slots.
    std::array<std::int32_t, 10> m_slots{};

private:
    bool LoadWith(int generation, std::int32_t userId)
    {
        switch (generation) {
        case kPmClassic:
            return m_classic.LoadByUser(userId);
        case kPmEx:
            return m_ex.LoadByUser(userId);
        case kPmEx2:
            return m_ex2.LoadByUser(userId);
        default:
            return false;
        }
    }

    // The generation that loaded the file, or 0 (m_loadError then says why).
    int LoadFile(const std::string& path)
    {
        const std::string ext = LowerExtension(path);
        if (ext == ".mdb") {
            FW_LOG(2, ".mdb file, try Palm Desktop 6.x database loader.");
            if (m_ex2.Load(path)) {
                return kPmEx2;
            }
            m_loadError = path + ": " + Reason(kPmEx2, false);
            return 0;
        }
        if (ext == ".dat") {
            FW_LOG(2, ".dat file, try Palm Desktop 4.1.4 database loader.");
            if (m_ex.Load(path)) {
                return kPmEx;
            }
            FW_LOG(
                2,
                "Unable to load this file with Palm Desktop 4.1.4 file loader, try earlier loader version.");
            if (m_classic.Load(path)) {
                return kPmClassic;
            }
            m_loadError = path + ": " + Reason(kPmClassic, true);
            return 0;
        }
        m_loadError = path.empty() ? std::string(kPmReasonNoFileName)
                                   : path + ": not a Palm Desktop database file (.dat or .mdb)";
        return 0;
    }

    // Why the reader of the generation failed; with eitherDatReader, of the 4.1.x reader and
    // the classic one, which both tried the .dat file.
    std::string Reason(int generation, bool eitherDatReader) const
    {
        std::string reason;
        if (generation == kPmEx2) {
            reason = m_ex2.GetLoadError();
        } else if (eitherDatReader) {
            reason = m_ex.IsRecognised() ? m_ex.GetLoadError() : m_classic.GetLoadError();
        } else {
            // The release chose one reader, which took the file for no database of its own.
            reason = generation == kPmEx ? m_ex.GetLoadError() : m_classic.GetLoadError();
            if (reason == kPmReasonForeign) {
                reason = generation == kPmEx ? "not a Palm Desktop 4.1.x database"
                                             : "not a Palm Desktop database of release 4.1 or earlier";
            }
        }
        return reason.empty() ? std::string("the file cannot be read") : reason;
    }

    static std::string Format(const char* format, const std::string& value)
    {
        std::string text(format);
        const auto at = text.find("%s");
        if (at != std::string::npos) {
            text.replace(at, 2, value);
        }
        return text;
    }

    static std::string VersionText(int number)
    {
        return std::to_string(number / 10000) + "." + std::to_string(number / 100 % 100) + "." +
               std::to_string(number % 100);
    }

    // A failed load leaves nothing behind, not even the records a reader read before failing.
    void ClearReaders()
    {
        m_classic.ClearRecords();
        m_ex.ClearRecords();
        m_ex2.ClearRecords();
    }

    void Convert()
    {
        switch (m_generation) {
        case kPmClassic:
            ConvertRecords(m_classic);
            break;
        case kPmEx:
            ConvertRecords(m_ex);
            break;
        case kPmEx2:
            ConvertRecords(m_ex2);
            break;
        default:
            break;
        }
    }

    template <class Reader> void ConvertRecords(const Reader& reader)
    {
        // Each common record is filled where the store keeps it.
        for (const auto& rec : reader.GetRecords()) {
            if (PmIsSkippedStatus(static_cast<std::uint32_t>(rec.status))) {
                continue;
            }
            using Rec = std::decay_t<decltype(rec)>;
            Item* item = nullptr;
            try {
                auto made = std::make_unique<Item>();
                made->generation = m_generation;
                made->native = rec;
                made->loaderRecord = &rec;
                m_items.push_back(std::move(made));
                item = m_items.back().get();
            } catch (const std::bad_alloc&) {
                continue; // no room for the item: the record is skipped
            }
            auto& copy = std::get<Rec>(item->native);

            std::unique_ptr<Comm> out(new (std::nothrow) Comm());
            if (!out) {
                item->commonRecord = nullptr;
                continue;
            }
            PmToComm(copy, *out);
            if constexpr (std::is_same_v<Comm, CommAddrRec>) {
                MapCustomFields(copy, *out);
            }
            out->SourceType = SourcePalmDesktop;
            out->Status = rec.status;
            out->NativeRecord = item;
            out->NativeSize = 0; // borrowed: the item lives as long as the store's record
            item->commonRecord = m_store.Adopt(out.release());
        }
    }

    template <class Rec> void MapCustomFields(Rec& rec, CommAddrRec& out)
    {
        for (int slot = 0; slot < static_cast<int>(m_slots.size()); ++slot) {
            const std::int32_t key = m_slots[slot];
            if (key == 0) {
                continue;
            }
            const PmFieldDef* def = PmCatalogueFind(m_versionKind, key);
            if (def == nullptr || def->kind != kPmFieldText || def->width <= 1) {
                continue;
            }
            const std::int32_t own = PmCatalogueKeyForGeneration(m_versionKind, key, m_generation);
            std::string value;
            if (own == 0 || !PmContactValue(rec, own, value, true)) {
                continue;
            }
            PmCopyText(out.MappedValues[slot], value, 63);
        }
    }

    int m_versionNumber = -1;
    int m_versionKind = 0;
    int m_generation = kPmNothingLoaded;
    std::string m_loadError;  // why the last load failed
    std::string m_loadNotice; // what a load that found no database has to say
    std::vector<std::unique_ptr<Item>> m_items;
    typename Traits::Store m_store; // declared after the items: destroyed before them
    typename Traits::Classic m_classic;
    typename Traits::Ex m_ex;
    typename Traits::Ex2 m_ex2;
};

// The classic address fields are the work address of the later generations.
const char* CanonicalName(int versionKind, const char* name)
{
    if (versionKind != 1) {
        return name;
    }
    static const char* const kPairs[][2] = {
        {"Street", "Work Street"}, {"City", "Work City"},       {"State", "Work State"},
        {"Zip Code", "Work Zip"},  {"Country", "Work Country"},
    };
    for (const auto& pair : kPairs) {
        if (std::strcmp(name, pair[0]) == 0) {
            return pair[1];
        }
    }
    return name;
}

} // namespace

std::int32_t PmCatalogueKeyForGeneration(int versionKind, std::int32_t key, int generation)
{
    const PmFieldDef* def = PmCatalogueFind(versionKind, key);
    if (def == nullptr) {
        return 0;
    }
    if (versionKind == generation) {
        return key;
    }
    const char* name = CanonicalName(versionKind, def->name);
    const int count = PmCatalogueCount(generation);
    for (std::int32_t own = 1; own <= count; ++own) {
        const PmFieldDef* candidate = PmCatalogueFind(generation, own);
        if (std::strcmp(CanonicalName(generation, candidate->name), name) == 0) {
            return own;
        }
    }
    return 0;
}

std::string PmAddrItemValue(const PmAddrItem* item, std::int32_t key)
{
    static const std::string kNA = "N/A";
    if (item == nullptr) {
        return kNA;
    }
    PmFieldDef def{};
    if (!PmCatalogueEntry(key, &def) || def.kind != kPmFieldText) {
        return kNA;
    }
    int installed = PmGetContactVersionKind();
    if (installed == 0) {
        installed = PmVersionKindOf(PmGetDesktopVersion());
    }
    const std::int32_t own = PmCatalogueKeyForGeneration(installed, key, item->generation);
    if (own == 0) {
        return kNA;
    }
    // A copy: the dialog only looks, and a phone key must not claim a slot here.
    std::string value;
    const bool found = std::visit(
        [&](const auto& rec) {
            auto copy = rec;
            return PmContactValue(copy, own, value, false);
        },
        item->native);
    return found ? value : kNA;
}

// ---- The four fronts ----------------------------------------------------------------------

struct PmAddrInfo::Impl : Front<AddrTraits>
{
};
struct PmDateInfo::Impl : Front<DateTraits>
{
};
struct PmTodoInfo::Impl : Front<TodoTraits>
{
};
struct PmMemoInfo::Impl : Front<MemoTraits>
{
};

int PmCheckAddrFile(const std::string& path)
{
    return Front<AddrTraits>::CheckFile(path);
}
int PmCheckDateFile(const std::string& path)
{
    return Front<DateTraits>::CheckFile(path);
}
int PmCheckTodoFile(const std::string& path)
{
    return Front<TodoTraits>::CheckFile(path);
}
int PmCheckMemoFile(const std::string& path)
{
    return Front<MemoTraits>::CheckFile(path);
}

PmAddrInfo::PmAddrInfo() : m(std::make_unique<Impl>())
{
    // The catalogue of the mapping page follows the contact front's version kind.
    PmSetContactVersionKind(m->GetVersionKind());
}
PmAddrInfo::~PmAddrInfo() = default;
void PmAddrInfo::Clear()
{
    m->Clear();
}
bool PmAddrInfo::LoadByUser(std::int32_t userId)
{
    return m->LoadByUser(userId);
}
bool PmAddrInfo::LoadByFile(const std::string& path)
{
    return m->LoadByFile(path);
}
int PmAddrInfo::GetVersionKind() const
{
    return m->GetVersionKind();
}
int PmAddrInfo::GetLoadedGeneration() const
{
    return m->GetLoadedGeneration();
}
const std::string& PmAddrInfo::GetLoadError() const
{
    return m->GetLoadError();
}
const std::string& PmAddrInfo::GetLoadNotice() const
{
    return m->GetLoadNotice();
}
int PmAddrInfo::GetLossyRecordCount() const
{
    return m->GetLossyRecordCount();
}
CommAddrMgr* PmAddrInfo::GetStore()
{
    return m->GetStore();
}
bool PmAddrInfo::SetMappingSlot(int index, std::int32_t key)
{
    if (index < 0 || index >= static_cast<int>(m->m_slots.size())) {
        return false;
    }
    m->m_slots[static_cast<std::size_t>(index)] = key;
    return true;
}
void PmAddrInfo::UseCustomFieldMap()
{
    for (int slot = 1; slot <= 9; ++slot) {
        SetMappingSlot(slot, GetMappedField(kAppPalm, slot));
    }
}

#define FW_PALM_FRONT(Class, Store)                                                                          \
    Class::Class() : m(std::make_unique<Impl>()) {}                                                          \
    Class::~Class() = default;                                                                               \
    void Class::Clear()                                                                                      \
    {                                                                                                        \
        m->Clear();                                                                                          \
    }                                                                                                        \
    bool Class::LoadByUser(std::int32_t userId)                                                              \
    {                                                                                                        \
        return m->LoadByUser(userId);                                                                        \
    }                                                                                                        \
    bool Class::LoadByFile(const std::string& path)                                                          \
    {                                                                                                        \
        return m->LoadByFile(path);                                                                          \
    }                                                                                                        \
    int Class::GetVersionKind() const                                                                        \
    {                                                                                                        \
        return m->GetVersionKind();                                                                          \
    }                                                                                                        \
    int Class::GetLoadedGeneration() const                                                                   \
    {                                                                                                        \
        return m->GetLoadedGeneration();                                                                     \
    }                                                                                                        \
    const std::string& Class::GetLoadError() const                                                           \
    {                                                                                                        \
        return m->GetLoadError();                                                                            \
    }                                                                                                        \
    const std::string& Class::GetLoadNotice() const                                                          \
    {                                                                                                        \
        return m->GetLoadNotice();                                                                           \
    }                                                                                                        \
    int Class::GetLossyRecordCount() const                                                                   \
    {                                                                                                        \
        return m->GetLossyRecordCount();                                                                     \
    }                                                                                                        \
    Store* Class::GetStore()                                                                                 \
    {                                                                                                        \
        return m->GetStore();                                                                                \
    }

FW_PALM_FRONT(PmDateInfo, CommDateMgr)
FW_PALM_FRONT(PmTodoInfo, CommTaskMgr)
FW_PALM_FRONT(PmMemoInfo, CommNoteMgr)

#undef FW_PALM_FRONT
