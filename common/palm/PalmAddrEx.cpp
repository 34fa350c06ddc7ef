#include "palm/PalmAddrEx.h"

#include "misc/CxDebugUtil.h"

namespace {

const PmExDBUtil::Traits kTraits = {
    "Contacts",
    "address",
    "address.dat",
    kPmAddrExTag,
    11,
    74,
    kPmAddrExFieldTypes.data(),
    static_cast<std::uint16_t>(kPmAddrExFieldTypes.size()),
    "Failed to load Contacts records.",
    "Can not load Palm Desktop Contacts: ",
    true,  // custom labels
    true,  // reserved block 1 logged
    true,  // "information is loaded" logged
    false, // an empty path goes to the open, which refuses it
    false, // one error line, then stop
};

} // namespace

PmAddrExUtil::PmAddrExUtil() : PmExReader(kTraits) {}

PmAddrExUtil::PmAddrExUtil(const std::string& path) : PmExReader(kTraits)
{
    Load(path);
}

PmAddrExUtil::~PmAddrExUtil() = default;

const std::string& PmAddrExUtil::GetCustomLabel(int index) const
{
    static const std::string kNone;
    return index >= 0 && index < kCustomLabels ? m_customLabels[static_cast<std::size_t>(index)] : kNone;
}

bool PmAddrExUtil::ReadCustomLabels()
{
    m_customLabels = {};
    for (std::string& label : m_customLabels) {
        std::int32_t dropped = 0;
        if (!ReadCString(label, 256) || !ReadInt32(dropped)) {
            return false;
        }
    }
    if (!ReadReserved(3, m_reserved3.data(), m_reserved3.size())) {
        return false;
    }
    Log(2, "Load custom label information successfully.");
    return true;
}

bool PmAddrExUtil::ReadField(int position, PmAddrExRec& rec)
{
    // Phones 19-25 and their labels 26-32; customs 33-41; three addresses of six positions
    // from 42; instant messaging 60-63.
    if (position >= 19 && position <= 25) {
        return ReadStringField(rec.phones[static_cast<std::size_t>(position - 19)], 32);
    }
    if (position >= 26 && position <= 32) {
        return ReadIntField(rec.phoneLabels[static_cast<std::size_t>(position - 26)]);
    }
    if (position >= 33 && position <= 41) {
        return ReadStringField(rec.customs[static_cast<std::size_t>(position - 33)], 256);
    }
    if (position >= 42 && position <= 59) {
        PmAddrExAddress& address = rec.addresses[static_cast<std::size_t>((position - 42) / 6)];
        switch ((position - 42) % 6) {
        case 0:
            return ReadIntField(address.type);
        case 1:
            return ReadStringField(address.street, 256);
        case 2:
            return ReadStringField(address.city, 32);
        case 3:
            return ReadStringField(address.state, 32);
        case 4:
            return ReadStringField(address.zipCode, 32);
        default:
            return ReadStringField(address.country, 32);
        }
    }
    if (position >= 69 && position <= 72) {
        return ReadStringField(rec.texts69[static_cast<std::size_t>(position - 69)], 32);
    }
    switch (position) {
    case 13:
        return ReadStringField(rec.firstName, 32);
    case 14:
        return ReadStringField(rec.lastName, 32);
    case 15:
        return ReadStringField(rec.title, 32);
    case 16:
        return ReadStringField(rec.company, 256);
    case 17:
        return ReadIntField(rec.int17);
    case 18:
        return ReadStringField(rec.note, 2048);
    case 60:
    case 61:
        return ReadStringField(rec.ims[static_cast<std::size_t>(position - 60)], 32);
    case 62:
    case 63:
        return ReadIntField(rec.imLabels[static_cast<std::size_t>(position - 62)]);
    case 64:
        return ReadStringField(rec.homePage, 256);
    case 65:
        return ReadDoubleField(rec.birthday);
    case 66:
        return ReadIntField(rec.bool66);
    case 67:
        return ReadIntField(rec.int67);
    case 68:
        return ReadIntField(rec.int68);
    default:
        return true; // beyond the contact layout: nothing to read
    }
}
