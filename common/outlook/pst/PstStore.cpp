// The file side: opening with libpff, the password check, the folder tree, the default
// folders and the reading of items' properties.
#include "outlook/pst/PstStore.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <libpff.h>
#include <set>
#include <unistd.h>

#include "misc/CxDebugUtil.h"
#include "platform/CodePage.h"

namespace pst {
namespace {

constexpr std::size_t kMaxFolders = 20000;
constexpr int kMaxDepth = 64;
constexpr int kMaxEntries = 100000;

struct ErrorHolder
{
    libpff_error_t* error = nullptr;
    ~ErrorHolder() { Clear(); }
    libpff_error_t** operator&() { return &error; }
    void Clear()
    {
        if (error != nullptr) {
            libpff_error_free(&error);
        }
    }
    std::string Text()
    {
        if (error == nullptr) {
            return {};
        }
        char buf[1024] = {};
        libpff_error_sprint(error, buf, sizeof buf);
        std::string s(buf);
        // libpff's messages are a stack, innermost last: keep the first line.
        if (auto nl = s.find('\n'); nl != std::string::npos) {
            s.resize(nl);
        }
        return s;
    }
};

struct ItemHandle
{
    libpff_item_t* item = nullptr;
    ItemHandle() = default;
    explicit ItemHandle(libpff_item_t* i) : item(i) {}
    ItemHandle(ItemHandle&& o) noexcept : item(o.item) { o.item = nullptr; }
    ItemHandle& operator=(ItemHandle&& o) noexcept
    {
        std::swap(item, o.item);
        return *this;
    }
    ~ItemHandle()
    {
        if (item != nullptr) {
            libpff_item_free(&item, nullptr);
        }
    }
};

// Reads every property of an item's first record set; false (with *why) when the item has
// none or one cannot be read.
bool ReadProperties(libpff_item_t* item, std::vector<RawProperty>* out, std::string* why)
{
    ErrorHolder err;
    int sets = 0;
    if (libpff_item_get_number_of_record_sets(item, &sets, &err) != 1 || sets < 1) {
        *why = "it has no properties";
        return false;
    }
    libpff_record_set_t* set = nullptr;
    if (libpff_item_get_record_set_by_index(item, 0, &set, &err) != 1 || set == nullptr) {
        *why = "its properties cannot be read";
        return false;
    }
    int entries = 0;
    bool ok = libpff_record_set_get_number_of_entries(set, &entries, &err) == 1 && entries >= 0 &&
              entries <= kMaxEntries;
    if (!ok) {
        *why = "its property list cannot be read";
    }
    for (int i = 0; ok && i < entries; ++i) {
        libpff_record_entry_t* entry = nullptr;
        if (libpff_record_set_get_entry_by_index(set, i, &entry, &err) != 1 || entry == nullptr) {
            err.Clear();
            continue; // an empty slot of the property table
        }
        RawProperty p;
        std::uint32_t entryType = 0;
        std::uint32_t valueType = 0;
        if (libpff_record_entry_get_entry_type(entry, &entryType, &err) != 1 ||
            libpff_record_entry_get_value_type(entry, &valueType, &err) != 1) {
            libpff_record_entry_free(&entry, nullptr);
            *why = "a property cannot be read";
            ok = false;
            break;
        }
        p.fileTag = static_cast<std::uint16_t>(entryType);
        p.type = static_cast<std::uint16_t>(valueType);
        libpff_name_to_id_map_entry_t* map = nullptr;
        if (libpff_record_entry_get_name_to_id_map_entry(entry, &map, &err) == 1 && map != nullptr) {
            std::uint8_t kind = 0;
            if (libpff_name_to_id_map_entry_get_type(map, &kind, &err) == 1 &&
                libpff_name_to_id_map_entry_get_guid(map, p.set.data(), p.set.size(), &err) == 1) {
                p.named = true;
                if (kind == 's') {
                    p.stringName = true;
                    std::size_t size = 0;
                    if (libpff_name_to_id_map_entry_get_utf8_string_size(map, &size, &err) == 1 && size > 0 &&
                        size < 4096) {
                        std::string name(size, '\0');
                        if (libpff_name_to_id_map_entry_get_utf8_string(
                                map, reinterpret_cast<std::uint8_t*>(name.data()), size, &err) == 1) {
                            name.resize(std::strlen(name.c_str()));
                            p.name = name;
                        }
                    }
                } else {
                    libpff_name_to_id_map_entry_get_number(map, &p.lid, &err);
                }
            }
        }
        err.Clear();
        std::size_t size = 0;
        if (libpff_record_entry_get_data_size(entry, &size, &err) != 1) {
            size = 0;
            err.Clear();
        }
        if (size > kMaxValueSize) {
            libpff_record_entry_free(&entry, nullptr);
            char buf[96];
            std::snprintf(buf, sizeof buf, "property 0x%04X claims %zu bytes", p.fileTag, size);
            *why = buf;
            ok = false;
            break;
        }
        if (size > 0) {
            p.data.resize(size);
            if (libpff_record_entry_get_data(entry, p.data.data(), size, &err) != 1) {
                libpff_record_entry_free(&entry, nullptr);
                char buf[96];
                std::snprintf(buf, sizeof buf, "the value of property 0x%04X cannot be read", p.fileTag);
                *why = buf;
                ok = false;
                break;
            }
        }
        libpff_record_entry_free(&entry, nullptr);
        out->push_back(std::move(p));
    }
    libpff_record_set_free(&set, nullptr);
    return ok;
}

const RawProperty* FindTag(const std::vector<RawProperty>& props, std::uint16_t id)
{
    for (const auto& p : props) {
        if (!p.named && p.fileTag == id) {
            return &p;
        }
    }
    return nullptr;
}

std::u16string TextOf(const std::vector<RawProperty>& props, std::uint16_t id, unsigned codePage)
{
    if (const RawProperty* p = FindTag(props, id)) {
        if (auto v = DecodeProperty(p->type, p->data, codePage)) {
            return v->text;
        }
    }
    return {};
}

// A container class as ASCII. Some search folders keep 8-bit bytes under a Unicode type; the
// class is read as those bytes when the UTF-16 reading is no class.
std::string ContainerClassOf(const std::vector<RawProperty>& props, unsigned codePage)
{
    const RawProperty* p = FindTag(props, tag::kContainerClass);
    if (p == nullptr) {
        return {};
    }
    std::string text = Utf16ToUtf8(DecodeProperty(p->type, p->data, codePage).value_or(PropertyValue{}).text);
    if (text.rfind("IPF", 0) != 0) {
        std::string bytes(p->data.begin(), p->data.end());
        bytes.resize(std::strlen(bytes.c_str()));
        if (bytes.rfind("IPF", 0) == 0) {
            return bytes;
        }
    }
    return text;
}

bool ClassMatches(const std::string& containerClass, const std::string& wanted, bool exact)
{
    if (containerClass.size() < wanted.size() ||
        strncasecmp(containerClass.c_str(), wanted.c_str(), wanted.size()) != 0) {
        return false;
    }
    if (containerClass.size() == wanted.size()) {
        return true;
    }
    return !exact && containerClass[wanted.size()] == '.';
}

// A node id of a normal folder, not of a search folder (such as "To-Do Search", which has a
// task folder's class): the node type in the low five bits is 0x02.
bool IsNormalFolder(std::uint32_t nid)
{
    return (nid & 0x1F) == 0x02;
}

std::string Hex(const Bytes& bytes)
{
    std::string hex;
    char buf[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        hex += buf;
    }
    return hex;
}

struct KindInfo
{
    std::uint16_t entryIdTag;
    const char* containerClass;
    unsigned itemClass;
    const char* label;
};

KindInfo InfoOf(DefaultFolderKind kind)
{
    switch (kind) {
    case DefaultFolderKind::Calendar:
        return {tag::kIpmAppointmentEntryId, "IPF.Appointment", kClassAppointment, "Calendar"};
    case DefaultFolderKind::Contacts:
        return {tag::kIpmContactEntryId, "IPF.Contact", kClassContact, "Contacts"};
    case DefaultFolderKind::Notes:
        return {tag::kIpmNoteEntryId, "IPF.StickyNote", kClassNote, "Notes"};
    case DefaultFolderKind::Tasks:
        return {tag::kIpmTaskEntryId, "IPF.Task", kClassTask, "Tasks"};
    }
    return {0, "", 0, ""};
}

} // namespace

struct PstFile::Impl
{
    libpff_file_t* file = nullptr;
    std::string path;
    unsigned codePage = 1252;
    Bytes recordKey;
    std::uint32_t ipmSubtree = 0;

    struct FolderInfo
    {
        std::uint32_t nid = 0;
        int depth = 0;
        bool underSubtree = false;
        std::vector<RawProperty> props;
        std::string containerClass;
    };
    bool walked = false;
    std::vector<FolderInfo> folders; // top-down, breadth first

    ~Impl()
    {
        if (file != nullptr) {
            libpff_file_close(file, nullptr);
            libpff_file_free(&file, nullptr);
        }
    }

    void Walk()
    {
        if (walked) {
            return;
        }
        walked = true;
        ErrorHolder err;
        libpff_item_t* root = nullptr;
        if (libpff_file_get_root_folder(file, &root, &err) != 1 || root == nullptr) {
            FW_LOG(0, "Outlook data file %s: the root folder cannot be read: %s", path.c_str(),
                   err.Text().c_str());
            return;
        }
        struct Pending
        {
            ItemHandle handle;
            int depth;
            bool underSubtree;
        };
        std::deque<Pending> queue;
        queue.push_back({ItemHandle(root), 0, false});
        std::set<std::uint32_t> seen;
        while (!queue.empty() && folders.size() < kMaxFolders) {
            Pending current = std::move(queue.front());
            queue.pop_front();
            FolderInfo info;
            info.depth = current.depth;
            info.underSubtree = current.underSubtree;
            if (libpff_item_get_identifier(current.handle.item, &info.nid, &err) != 1 ||
                !seen.insert(info.nid).second) {
                err.Clear();
                continue;
            }
            std::string why;
            if (!ReadProperties(current.handle.item, &info.props, &why)) {
                FW_LOG(1, "Outlook data file %s: folder 0x%X: %s", path.c_str(), info.nid, why.c_str());
            }
            info.containerClass = ContainerClassOf(info.props, codePage);
            const bool childrenUnder = info.underSubtree || (ipmSubtree != 0 && info.nid == ipmSubtree);
            int count = 0;
            if (current.depth < kMaxDepth &&
                libpff_folder_get_number_of_sub_folders(current.handle.item, &count, &err) == 1) {
                for (int i = 0; i < count && queue.size() < kMaxFolders; ++i) {
                    libpff_item_t* sub = nullptr;
                    if (libpff_folder_get_sub_folder(current.handle.item, i, &sub, &err) == 1 &&
                        sub != nullptr) {
                        queue.push_back({ItemHandle(sub), current.depth + 1, childrenUnder});
                    } else {
                        FW_LOG(1, "Outlook data file %s: sub-folder %d of folder 0x%X cannot be read: %s",
                               path.c_str(), i, info.nid, err.Text().c_str());
                        err.Clear();
                    }
                }
            } else {
                err.Clear();
            }
            folders.push_back(std::move(info));
        }
    }

    const FolderInfo* FolderById(std::uint32_t nid) const
    {
        for (const auto& f : folders) {
            if (f.nid == nid) {
                return &f;
            }
        }
        return nullptr;
    }

    // The folder an entry ID names: a PST's 24-byte ID by its node id, an OST's 46-byte ID by
    // the global counter that folders keep in PidTagLongTermEntryIdFromTable.
    const FolderInfo* FolderByEntryId(const Bytes& id) const
    {
        if (id.size() == 24) {
            const std::uint32_t nid =
                id[20] | (id[21] << 8) | (id[22] << 16) | (static_cast<std::uint32_t>(id[23]) << 24);
            return FolderById(nid);
        }
        if (id.size() == 46) {
            for (const auto& f : folders) {
                const RawProperty* lt = FindTag(f.props, tag::kLongTermEntryIdFromTable);
                if (lt != nullptr && lt->data.size() == 8 &&
                    std::memcmp(lt->data.data() + 2, id.data() + 38, 6) == 0) {
                    return &f;
                }
            }
        }
        return nullptr;
    }

    const FolderInfo* FindDefault(DefaultFolderKind kind)
    {
        Walk();
        const KindInfo k = InfoOf(kind);
        // The entry IDs, nearest the top first (the root folder's copy, then the Inbox's).
        for (const auto& f : folders) {
            const RawProperty* p = FindTag(f.props, k.entryIdTag);
            if (p == nullptr || p->type != kTypeBinary) {
                continue;
            }
            const FolderInfo* target = FolderByEntryId(p->data);
            if (target != nullptr && IsNormalFolder(target->nid) &&
                ClassMatches(target->containerClass, k.containerClass, false)) {
                return target;
            }
            FW_LOG(1, "Outlook data file %s: the %s entry ID on folder 0x%X names no %s folder", path.c_str(),
                   k.label, f.nid, k.containerClass);
        }
        // The folder of the class nearest the top, in the IPM subtree when the file has one.
        for (bool exact : {true, false}) {
            for (const auto& f : folders) {
                if ((ipmSubtree == 0 || f.underSubtree) && IsNormalFolder(f.nid) &&
                    ClassMatches(f.containerClass, k.containerClass, exact)) {
                    return &f;
                }
            }
        }
        return nullptr;
    }
};

PstFile::PstFile() : m_impl(std::make_unique<Impl>()) {}

PstFile::~PstFile() = default;

std::string PstFile::FormatOf(const std::string& path)
{
    // The header: "!BDN", a checksum, the client magic ("SM" for a PST, "SO" for an OST) and
    // the format version (14 or 15: ANSI; 23: Unicode; 36: Unicode with 4 KiB pages).
    unsigned char header[12] = {};
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return {};
    }
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    if (got != sizeof header || std::memcmp(header, "!BDN", 4) != 0) {
        return {};
    }
    const bool ost = header[8] == 'S' && header[9] == 'O';
    if (!ost && !(header[8] == 'S' && header[9] == 'M')) {
        return {};
    }
    const unsigned version = header[10] | (header[11] << 8);
    const bool ansi = version == 14 || version == 15;
    if (!ansi && version != 23 && version != 36) {
        return {};
    }
    if (ost) {
        return ansi ? "ANSI OST" : "OST";
    }
    return ansi ? "ANSI PST" : "Unicode PST";
}

std::unique_ptr<PstFile> PstFile::Open(const std::string& path, std::string_view password, unsigned codePage,
                                       std::string* error, OpenFailure* failure)
{
    OpenFailure failedAs = OpenFailure::None;
    if (failure != nullptr) {
        *failure = OpenFailure::None;
    }
    auto fail = [error, failure, &failedAs](std::string message) -> std::unique_ptr<PstFile> {
        FW_LOG(0, "%s", message.c_str());
        if (error != nullptr) {
            *error = std::move(message);
        }
        if (failure != nullptr) {
            *failure = failedAs;
        }
        return nullptr;
    };
    if (!IsKnownCodePage(codePage)) {
        failedAs = OpenFailure::CodePage;
        return fail("The code page " + std::to_string(codePage) +
                    " is not supported for Outlook data files.");
    }
    if (::access(path.c_str(), R_OK) != 0) {
        failedAs = OpenFailure::Unreadable;
        return fail("The Outlook data file \"" + path + "\" cannot be opened: " + std::strerror(errno) + ".");
    }
    ErrorHolder err;
    const int signature = libpff_check_file_signature(path.c_str(), &err);
    if (signature != 1) {
        FW_LOG(1, "libpff: %s", err.Text().c_str());
        failedAs = OpenFailure::NotDataFile;
        return fail("The file \"" + path + "\" is not an Outlook data file (.pst or .ost).");
    }
    err.Clear();

    failedAs = OpenFailure::Damaged; // from here on, unless a password is the reason
    // A copy cut short: the header records the file's size (ibFileEof in its root).
    {
        unsigned char header[192] = {};
        std::FILE* in = std::fopen(path.c_str(), "rb");
        const std::size_t got = in != nullptr ? std::fread(header, 1, sizeof header, in) : 0;
        long long size = -1;
        if (in != nullptr && std::fseek(in, 0, SEEK_END) == 0) {
            size = std::ftell(in);
        }
        if (in != nullptr) {
            std::fclose(in);
        }
        const unsigned version = header[10] | (header[11] << 8);
        unsigned long long eof = 0;
        if (got == sizeof header && (version == 14 || version == 15)) {
            for (int i = 3; i >= 0; --i) {
                eof = (eof << 8) | header[168 + i];
            }
        } else if (got == sizeof header) {
            for (int i = 7; i >= 0; --i) {
                eof = (eof << 8) | header[184 + i];
            }
        }
        if (size >= 0 && eof > static_cast<unsigned long long>(size)) {
            return fail("The Outlook data file \"" + path + "\" is damaged: it is cut short (" +
                        std::to_string(size) + " of " + std::to_string(eof) + " bytes).");
        }
    }
    std::unique_ptr<PstFile> pst(new PstFile());
    Impl& impl = *pst->m_impl;
    impl.path = path;
    impl.codePage = codePage;
    pst->m_codePage = codePage;
    if (libpff_file_initialize(&impl.file, &err) != 1) {
        return fail("The Outlook data file \"" + path + "\" cannot be opened: " + err.Text());
    }
    if (libpff_file_set_ascii_codepage(impl.file, static_cast<int>(codePage), &err) != 1) {
        err.Clear(); // only libpff's own conversions use it; the reader decodes 8-bit texts itself
    }
    if (libpff_file_open(impl.file, path.c_str(), LIBPFF_OPEN_READ, &err) != 1) {
        FW_LOG(0, "libpff: %s", err.Text().c_str());
        libpff_file_free(&impl.file, nullptr);
        return fail("The Outlook data file \"" + path + "\" is damaged and cannot be opened.");
    }
    std::uint8_t contentType = 0;
    if (libpff_file_get_content_type(impl.file, &contentType, &err) == 1) {
        pst->m_ost = contentType == LIBPFF_FILE_CONTENT_TYPE_OST;
    }
    err.Clear();

    // The message store: record key, display name, IPM subtree and password checksum.
    libpff_item_t* store = nullptr;
    std::vector<RawProperty> storeProps;
    std::string why = "it has no message store";
    if (libpff_file_get_message_store(impl.file, &store, &err) != 1 || store == nullptr ||
        !ReadProperties(store, &storeProps, &why)) {
        if (store != nullptr) {
            libpff_item_free(&store, nullptr);
        }
        FW_LOG(0, "Outlook data file %s: the message store cannot be read: %s %s", path.c_str(), why.c_str(),
               err.Text().c_str());
        return fail("The Outlook data file \"" + path + "\" is damaged and cannot be opened.");
    }
    libpff_item_free(&store, nullptr);
    // Only a PST keeps a password; an OST (a copy of a server mailbox) has other data there.
    std::uint32_t checksum = 0;
    if (const RawProperty* p = pst->m_ost ? nullptr : FindTag(storeProps, tag::kPstPassword)) {
        if (auto v = DecodeProperty(p->type, p->data, codePage); v && v->type == kTypeLong) {
            checksum = static_cast<std::uint32_t>(v->integer);
        }
    }
    if (checksum != 0) {
        if (password.empty()) {
            failedAs = OpenFailure::PasswordNeeded;
            return fail("The Outlook data file \"" + path +
                        "\" is protected by a password. Enter its password to open it.");
        }
        if (PasswordChecksum(password) != checksum) {
            failedAs = OpenFailure::PasswordWrong;
            return fail("The password for the Outlook data file \"" + path + "\" is not correct.");
        }
    }
    if (const RawProperty* p = FindTag(storeProps, tag::kRecordKey); p != nullptr && p->data.size() == 16) {
        impl.recordKey = p->data;
    }
    if (const RawProperty* p = FindTag(storeProps, tag::kIpmSubtreeEntryId);
        p != nullptr && p->data.size() == 24) {
        impl.ipmSubtree = p->data[20] | (p->data[21] << 8) | (p->data[22] << 16) |
                          (static_cast<std::uint32_t>(p->data[23]) << 24);
    }
    pst->m_displayName = platform::Utf16ToAnsi(TextOf(storeProps, tag::kDisplayName, codePage));

    // The StoreID: a store entry ID of the PST provider's form (flags, the MAPI wrapper's
    // provider UID, "mspst.dll"), then the store's record key and the file's path.
    Bytes storeId = {0x00, 0x00, 0x00, 0x00, 0x38, 0xA1, 0xBB, 0x10, 0x05, 0xE5, 0x10,
                     0x1A, 0xA1, 0xBB, 0x08, 0x00, 0x2B, 0x2A, 0x56, 0xC2, 0x00, 0x00};
    for (char c : std::string_view("mspst.dll")) {
        storeId.push_back(static_cast<std::uint8_t>(c));
    }
    storeId.insert(storeId.end(), {0x00, 0x00, 0x00, 0x00, 0x00});
    Bytes key = impl.recordKey;
    key.resize(16, 0);
    storeId.insert(storeId.end(), key.begin(), key.end());
    for (char c : path) {
        storeId.push_back(static_cast<std::uint8_t>(c));
    }
    storeId.push_back(0);
    pst->m_storeId = Hex(storeId);
    return pst;
}

std::uint32_t PstFile::DefaultFolderId(DefaultFolderKind kind)
{
    const Impl::FolderInfo* f = m_impl->FindDefault(kind);
    return f != nullptr ? f->nid : 0;
}

std::unique_ptr<PstFolder> PstFile::DefaultFolder(DefaultFolderKind kind, std::string* error)
{
    const Impl::FolderInfo* info = m_impl->FindDefault(kind);
    if (info == nullptr) {
        const std::string message = std::string("The Outlook data file \"") + m_impl->path + "\" has no " +
                                    InfoOf(kind).label + " folder.";
        FW_LOG(0, "%s", message.c_str());
        if (error != nullptr) {
            *error = message;
        }
        return nullptr;
    }
    return ReadFolder(info->nid, kind);
}

std::unique_ptr<PstFolder> PstFile::EmptyDefaultFolder(DefaultFolderKind kind) const
{
    const KindInfo k = InfoOf(kind);
    auto folder = std::make_unique<PstFolder>();
    folder->m_name = k.label;
    folder->m_nameUtf16.assign(k.label, k.label + std::strlen(k.label));
    folder->m_containerClass = k.containerClass;
    folder->m_storeId = m_storeId;
    return folder;
}

std::unique_ptr<PstFolder> PstFile::Folder(std::uint32_t id, DefaultFolderKind itemsOf, std::string* error)
{
    m_impl->Walk();
    const Impl::FolderInfo* info = m_impl->FolderById(id);
    if (info == nullptr) {
        if (error != nullptr) {
            *error =
                "The Outlook data file \"" + m_impl->path + "\" has no folder " + std::to_string(id) + ".";
        }
        return nullptr;
    }
    return ReadFolder(info->nid, itemsOf);
}

std::unique_ptr<PstFolder> PstFile::ReadFolder(std::uint32_t id, DefaultFolderKind kind)
{
    Impl& impl = *m_impl;
    const KindInfo k = InfoOf(kind);
    const Impl::FolderInfo* info = impl.FolderById(id);
    auto folder = std::make_unique<PstFolder>();
    folder->m_id = info->nid;
    folder->m_nameUtf16 = TextOf(info->props, tag::kDisplayName, impl.codePage);
    folder->m_name = platform::Utf16ToAnsi(folder->m_nameUtf16);
    folder->m_containerClass = info->containerClass;
    folder->m_storeId = m_storeId;

    ErrorHolder err;
    libpff_item_t* handle = nullptr;
    if (libpff_file_get_item_by_identifier(impl.file, info->nid, &handle, &err) != 1 || handle == nullptr) {
        FW_LOG(0, "Outlook data file %s: the %s folder 0x%X cannot be read: %s", impl.path.c_str(), k.label,
               info->nid, err.Text().c_str());
        return folder;
    }
    ItemHandle folderHandle(handle);
    int count = 0;
    if (libpff_folder_get_number_of_sub_messages(folderHandle.item, &count, &err) != 1) {
        FW_LOG(0, "Outlook data file %s: the items of the %s folder cannot be read: %s", impl.path.c_str(),
               k.label, err.Text().c_str());
        return folder;
    }
    for (int i = 0; i < count; ++i) {
        libpff_item_t* message = nullptr;
        if (libpff_folder_get_sub_message(folderHandle.item, i, &message, &err) != 1 || message == nullptr) {
            FW_LOG(0, "Outlook data file %s: item %d of the %s folder is skipped: it cannot be read (%s)",
                   impl.path.c_str(), i + 1, k.label, err.Text().c_str());
            err.Clear();
            ++folder->m_skipped;
            continue;
        }
        ItemHandle messageHandle(message);
        std::uint32_t nid = 0;
        libpff_item_get_identifier(message, &nid, &err);
        err.Clear();
        std::vector<RawProperty> props;
        std::string why;
        if (!ReadProperties(message, &props, &why)) {
            FW_LOG(0, "Outlook data file %s: item 0x%X of the %s folder is skipped: %s", impl.path.c_str(),
                   nid, k.label, why.c_str());
            ++folder->m_skipped;
            continue;
        }
        PstItem item(std::move(props), impl.codePage, nid, impl.recordKey);
        if (item.ItemClass() != k.itemClass) {
            continue; // another kind of item (a distribution list, a meeting request)
        }
        if (std::string damage = item.Damage(); !damage.empty()) {
            FW_LOG(0, "Outlook data file %s: item 0x%X of the %s folder is skipped as damaged: %s",
                   impl.path.c_str(), nid, k.label, damage.c_str());
            ++folder->m_skipped;
            continue;
        }
        folder->m_items.push_back(std::move(item));
    }
    return folder;
}

} // namespace pst
