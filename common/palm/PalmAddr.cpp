#include "palm/PalmAddr.h"

#include "misc/CxDebugUtil.h"

namespace {

constexpr std::uint16_t kFieldTypes[] = {1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5,
                                         1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1};

const PmClassicMessages kMessages = {
    .loading = "Loading Palm Desktop Address Book:%s",
    .openFailed = "Failed to open Palm Desktop address book file: %s",
    .versionFailed = "Failed to check Palm Desktop address book file version.",
    .fileNameFailed = "Failed to read Palm Desktop address book database file name.",
    .fileNameRead = "Read Palm Desktop address book database file name: %s",
    .tableFailed = "Failed to load custom labels information.",
    .categoryFailed = "Failed to load category information.",
    .schemaFailed = "Failed to load database schema information.",
    .recordsFailed = "Failed to load Palm Desktop address book records.",
    .loaded = "Palm Desktop address book was loaded successfully.",
    .loadFailed = "Can not load Palm Desktop Contacts: %s",
    .loadingByUser = "Loading Palm Desktop address book file by user: User(%d) - File(%s)",
    .noUserFolder = "Failed to get Palm Desktop data path by user, User ID=%d",
    .categoryStart = "Start reading Palm Desktop address book category information.",
    .nextFreeIdFailed = "Failed to read the next feed ID of the categories.",
    .categoryCountFailed = "Failed to read categories count.",
    .categoryIndexFailed = "Failed to read category index.",
    .categoryIdFailed = "Failed to read category ID.",
    .categoryDirtyFailed = "Failed to read category dirty field.",
    .categoryNameFailed = "Failed to read the name of the category.",
    .categoryFileNameFailed = "Failed to read category file name.",
    .categoryAddFailed = "Failed to add category information.",
    .categoryDone = "Palm Desktop address book category information was loaded successfully.",
    .schemaStart = "Start loading Palm Desktop address book database schema information.",
    .resourceIdFailed = "Failed to read schema resource ID.",
    .fieldsPerRowFailed = "Failed to read fields per row.",
    .recordIdPositionFailed = "Failed to read resource ID field position.",
    .statusPositionFailed = "Failed to read status field position.",
    .placementPositionFailed = "Failed to read placement field position.",
    .fieldCountFailed = "Failed to read field count.",
    .fieldTypeFailed = "Failed to read field type information. Field index=%d",
    .schemaDone = "Palm Desktop address book database schema information is loaded successfully.",
    .recordsStart = "Start loading Palm Desktop address book records.",
    .totalFieldsFailed = "Failed to read field count information.",
    .recordCount = "Based on calculation, there are %d records in total.",
    .unknownField = "Unknown field ID read (ID=%d), ignore it.",
    .recordsLoaded =
        "Palm Desktop address book database is loaded successfully. %d record(s) are loaded in total.",
};

const PmClassicDBUtil::Traits kTraits = {
    "address",
    "address.dat",
    PmAddrUtil::kVersionTag,
    260,
    PmAddrUtil::kLabelBufferSize - 1,
    74,
    kFieldTypes,
    30,
    30,
    &kMessages,
};

} // namespace

PmAddrUtil::PmAddrUtil() : PmClassicReader(kTraits) {}

PmAddrUtil::PmAddrUtil(const std::string& path) : PmClassicReader(kTraits)
{
    Load(path);
}

PmAddrUtil::~PmAddrUtil() = default;

std::string PmAddrUtil::GetCustomLabel(int index) const
{
    std::size_t start = 0;
    for (int i = 0; i < kCustomLabels; ++i) {
        const std::size_t end = m_tableString.find('\n', start);
        if (end == std::string::npos) {
            return {};
        }
        if (i == index) {
            return m_tableString.substr(start, end - start);
        }
        start = end + 1;
    }
    return {};
}

bool PmAddrUtil::ReadTableString()
{
    FW_LOG(2, "Start loading Palm Desktop address book custom label information.");
    std::uint8_t shortLength = 0;
    if (!ReadByte(shortLength)) {
        FW_LOG(0, "Failed to read the length of custom labels.");
        return false;
    }
    std::size_t length = shortLength;
    if (shortLength == 0xFF) {
        std::uint16_t longLength = 0;
        if (!ReadUInt16(longLength)) {
            FW_LOG(0, "Incorrect custom label length reading.");
            return false;
        }
        length = longLength;
    }
    m_tableString.clear();
    std::size_t read = 0;
    int labels = 0;
    while (read < length) {
        std::uint8_t byte = 0;
        if (!ReadByte(byte)) {
            FW_LOG(0, "Custom label content reading error.");
            return false;
        }
        ++read;
        // The buffer keeps room for its terminator; what does not fit is read and dropped.
        if (m_tableString.size() < kLabelBufferSize - 1) {
            m_tableString.push_back(static_cast<char>(byte));
        }
        if (byte == 0x0A && ++labels == kCustomLabels) {
            FW_LOG(2, "For Palm Desktop ealier than v4.1.2, the max custom label is 4. Break now.");
            break;
        }
    }
    // The rest of the string, so that the category block is read from the right place.
    if (!SkipBytes(length - read)) {
        FW_LOG(0, "Custom label content reading error.");
        return false;
    }
    return true;
}

bool PmAddrUtil::ReadField(int position)
{
    PmAddrRec& rec = m_rec;
    switch (position) {
    case 0:
        return ReadIntField(rec.recordId);
    case 1:
        return ReadIntField(rec.status);
    case 2:
        return ReadIntField(rec.placement);
    case 3:
        return ReadStringField(rec.lastName, 32);
    case 4:
        return ReadStringField(rec.firstName, 32);
    case 5:
        return ReadStringField(rec.title, 32);
    case 6:
        return ReadStringField(rec.company, 256);
    case 7:
    case 9:
    case 11:
    case 13:
    case 15:
        return ReadIntField(rec.phoneLabels[static_cast<std::size_t>((position - 7) / 2)]);
    case 8:
    case 10:
    case 12:
    case 14:
    case 16:
        return ReadStringField(rec.phones[static_cast<std::size_t>((position - 8) / 2)], 32);
    case 17:
        return ReadStringField(rec.address, 256);
    case 18:
        return ReadStringField(rec.city, 32);
    case 19:
        return ReadStringField(rec.state, 32);
    case 20:
        return ReadStringField(rec.zipCode, 32);
    case 21:
        return ReadStringField(rec.country, 32);
    case 22:
        return ReadStringField(rec.note, 8192);
    case 23:
        return ReadIntField(rec.isPrivate);
    case 24:
        if (!ReadIntField(rec.categoryId)) {
            return false;
        }
        if (!GetCategoryName(rec.categoryId, rec.categoryName)) {
            rec.categoryName.clear();
        }
        return true;
    case 25:
    case 26:
    case 27:
    case 28:
        return ReadStringField(rec.customs[static_cast<std::size_t>(position - 25)], 64);
    case 29:
        return ReadIntField(rec.int29);
    default:
        return true;
    }
}
