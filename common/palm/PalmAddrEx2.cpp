#include "palm/PalmAddrEx2.h"

#include "misc/CxDebugUtil.h"

namespace {

using Setter = void (*)(PmAddrEx2Rec&, const PmColumnValue&);
struct Column
{
    const char* name;
    Setter set; // null: selected, but the record has no field for it
};

#define FW_TEXT(field, width) [](PmAddrEx2Rec& r, const PmColumnValue& v) { r.field = PmEx2Text(v, width); }
#define FW_INT(field) [](PmAddrEx2Rec& r, const PmColumnValue& v) { PmEx2Int(v, r.field); }
#define FW_BOOL(field) [](PmAddrEx2Rec& r, const PmColumnValue& v) { PmEx2Bool(v, r.field); }

const Column kColumns[] = {
    {"Record ID", FW_INT(recordId)},
    {"Status", FW_INT(status)},
    {"Placement", FW_INT(placement)},
    {"Private", FW_BOOL(isPrivate)},
    {"Category", FW_INT(categoryId)},
    {"Note", FW_TEXT(note, 2048)},
    {"Prefix", FW_TEXT(prefix, 32)},
    {"First Name", FW_TEXT(firstName, 64)},
    {"Middle Name", FW_TEXT(middleName, 64)},
    {"Last Name", FW_TEXT(lastName, 64)},
    {"Suffix", FW_TEXT(suffix, 32)},
    {"NickName", FW_TEXT(nickName, 64)},
    {"Anniversary", FW_INT(anniversary)},
    {"Birthday", FW_INT(birthday)},
    {"Profession", FW_TEXT(profession, 128)},
    {"Company", FW_TEXT(company, 128)},
    {"Job Title", FW_TEXT(jobTitle, 128)},
    {"Assistant Name", FW_TEXT(assistantName, 64)},
    {"Assistant Phone", FW_TEXT(assistantPhone, 64)},
    {"Work Street", FW_TEXT(work.street, 256)},
    {"Work City", FW_TEXT(work.city, 32)},
    {"Work State", FW_TEXT(work.state, 32)},
    {"Work Zip", FW_TEXT(work.zip, 32)},
    {"Work Country", FW_TEXT(work.country, 32)},
    {"Home Street", FW_TEXT(home.street, 256)},
    {"Home City", FW_TEXT(home.city, 32)},
    {"Home State", FW_TEXT(home.state, 32)},
    {"Home Zip", FW_TEXT(home.zip, 32)},
    {"Home Country", FW_TEXT(home.country, 32)},
    {"Other Street", FW_TEXT(other.street, 256)},
    {"Other City", FW_TEXT(other.city, 32)},
    {"Other State", FW_TEXT(other.state, 32)},
    {"Other Zip", FW_TEXT(other.zip, 32)},
    {"Other Country", FW_TEXT(other.country, 32)},
    {"Work Phone", FW_TEXT(phones[0], 128)},
    {"Work Fax", FW_TEXT(phones[1], 128)},
    {"Work Mobile", FW_TEXT(phones[2], 128)},
    {"Home Phone", FW_TEXT(phones[3], 128)},
    {"Home Fax", FW_TEXT(phones[4], 128)},
    {"Home Mobile", FW_TEXT(phones[5], 128)},
    {"Other Phone", FW_TEXT(phones[6], 128)},
    {"Other Fax", nullptr},
    {"Other Mobile", nullptr},
    {"Work E-mail", nullptr},
    {"E-mail 1", nullptr},
    {"E-mail 2", nullptr},
    {"E-mail 3", nullptr},
    {"Pager", nullptr},
    {"Custom 1", FW_TEXT(customs[0], 256)},
    {"Custom 2", FW_TEXT(customs[1], 256)},
    {"Custom 3", FW_TEXT(customs[2], 256)},
    {"Custom 4", FW_TEXT(customs[3], 256)},
    {"Primary Contact", FW_INT(primaryContact)},
    {"Phone Label1", FW_INT(phoneLabels[0])},
    {"Phone Label2", FW_INT(phoneLabels[1])},
    {"Phone Label3", FW_INT(phoneLabels[2])},
    {"Phone Label4", FW_INT(phoneLabels[3])},
    {"Phone Label5", FW_INT(phoneLabels[4])},
    {"Phone Label6", FW_INT(phoneLabels[5])},
    {"Phone Label7", FW_INT(phoneLabels[6])},
    {"First Yomi", FW_TEXT(firstYomi, 64)},
    {"Last Yomi", FW_TEXT(lastYomi, 64)},
    {"Company Yomi", FW_TEXT(companyYomi, 64)},
    {"Chat1", FW_TEXT(chats[0], 128)},
    {"Chat2", FW_TEXT(chats[1], 128)},
    {"Chat1 LabelID", FW_INT(chatLabels[0])},
    {"Chat2 LabelID", FW_INT(chatLabels[1])},
    {"Website", FW_TEXT(website, 256)},
    {"Custom 5", FW_TEXT(customs[4], 256)},
    {"Custom 6", FW_TEXT(customs[5], 256)},
    {"Custom 7", FW_TEXT(customs[6], 256)},
    {"Custom 8", FW_TEXT(customs[7], 256)},
    {"Custom 9", FW_TEXT(customs[8], 256)},
    {"Custom 10", FW_TEXT(customs[9], 256)},
    {"Custom 11", FW_TEXT(customs[10], 256)},
    {"Custom 12", FW_TEXT(customs[11], 256)},
    {"Custom 13", FW_TEXT(customs[12], 256)},
    {"Custom 14", FW_TEXT(customs[13], 256)},
    {"Birthday AlarmSet", FW_BOOL(birthdayAlarmSet)},
    {"Birthday AlarmAdv", FW_INT(birthdayAlarmAdv)},
    {"Avatar", FW_INT(avatar)},
    {"Addr Label1", FW_INT(addrLabels[0])},
    {"Addr Label2", FW_INT(addrLabels[1])},
    {"Addr Label3", FW_INT(addrLabels[2])},
    {"Anniversary AlarmSet", FW_BOOL(anniversaryAlarmSet)},
    {"Anniversary AlarmAdv", FW_INT(anniversaryAlarmAdv)},
    {"English Name", FW_TEXT(englishName, 128)},
    {"Picture URL", FW_TEXT(pictureUrl, 256)},
    {"Picture Filename", FW_TEXT(pictureFilename, 256)},
    {"Picture MIME type", FW_TEXT(pictureMimeType, 32)},
    {"Picture Sync counter", FW_TEXT(pictureSyncCounter, 32)},
    {"Ringtone URL", FW_TEXT(ringtoneUrl, 256)},
    {"Ringtone Filename", FW_TEXT(ringtoneFilename, 256)},
    {"Ringtone MIME type", FW_TEXT(ringtoneMimeType, 32)},
    {"Ringtone Sync counter", FW_TEXT(ringtoneSyncCounter, 32)},
};

#undef FW_TEXT
#undef FW_INT
#undef FW_BOOL

constexpr std::size_t kColumnCount = sizeof kColumns / sizeof kColumns[0];
static_assert(kColumnCount == 95);

// Each phone slot whose label is 0-7 goes into the field of its label; an empty phone is not
// copied, and a later slot overwrites an earlier one.
void PlacePhonesByLabel(PmAddrEx2Rec& rec)
{
    for (std::size_t slot = 0; slot < rec.phones.size(); ++slot) {
        const std::int32_t label = rec.phoneLabels[slot];
        if (label >= 0 && label <= 7 && !rec.phones[slot].empty()) {
            rec.phoneByLabel[static_cast<std::size_t>(label)] = rec.phones[slot].substr(0, 31);
        }
    }
}

const PmEx2Messages kMessages = {
    .loading = "Loading Palm Desktop Contacts:",
    .openFailed = "Open Palm Desktop Contacts database failed: ",
    .mainStart = "Start loading Palm Desktop Contacts main records.",
    .firstFetched = "Query first record in the Contacts database table successfully.",
    .firstFailed =
        "Failed to query the first record of the Contacts main table. Check if there is any records "
        "in the database table.",
    .nextFailed = "Failed to query the next record of the Contacts main table. Check if it is the end of the "
                  "table.",
    .mainDone = "Loading Palm Desktop Contacts main records completed successfully.",
    .loadingByUser = "Start loading Palm Desktop Contacts by user ID: ",
};

} // namespace

PmAddrEx2Util::PmAddrEx2Util() = default;

PmAddrEx2Util::PmAddrEx2Util(const std::string& path)
{
    m_loaded = Load(path);
}

PmAddrEx2Util::~PmAddrEx2Util() = default;

const PmColumnList& PmAddrEx2Util::Columns()
{
    static const PmColumnList columns = [] {
        PmColumnList names;
        for (const Column& column : kColumns) {
            names.emplace_back(column.name);
        }
        return names;
    }();
    return columns;
}

bool PmAddrEx2Util::Load(const std::string& path)
{
    m_loaded = LoadMain(
        kMessages, kPmAccessorAddr, path, Columns(), m_records,
        [](PmAddrEx2Rec& rec, const PmRow& row) {
            for (std::size_t i = 0; i < kColumnCount; ++i) {
                if (kColumns[i].set != nullptr) {
                    kColumns[i].set(rec, row[i]);
                }
            }
        },
        PlacePhonesByLabel);
    return m_loaded;
}

bool PmAddrEx2Util::LoadByUser(std::int32_t userId)
{
    std::string path;
    m_loaded = FindUserFile(kMessages, userId, "address", "Address.mdb", path) && Load(path);
    return m_loaded;
}
