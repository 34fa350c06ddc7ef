#pragma once
// Builds 4.1.x Palm Desktop database files for the tests and the benchmark: the magic code,
// the version tag, the reserved blocks, the custom labels of the contacts, the category and
// schema blocks, and the records of the four databases, written from the records the readers
// load. Repeat fields define their class the first time a kind appears in the file and refer
// back to it afterwards, as the files of Palm Desktop do.
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "palm/PalmAddrEx.h"
#include "palm/PalmDateEx.h"
#include "palm/PalmFileWriter.h"
#include "palm/PalmMemoEx.h"
#include "palm/PalmTodoEx.h"

namespace fwtest {

// What the file carries around its records; the defaults make a file the readers accept.
struct PalmExFileOptions
{
    std::string magicPrefix = std::string("\xBE\xBA\xFE\xCA\x0F", 5);
    std::string magicText = kPmExMagic;     // written into bytes 5 to 23, padded with zeros
    std::optional<std::int32_t> versionTag; // the database's own by default
    std::vector<std::uint8_t> reserved1 = {0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                           0x65, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::string fileName = "C:\\Palm\\User\\db.dat";
    std::optional<std::vector<std::uint8_t>> reserved2; // zeros of the database's size by default
    std::array<std::string, 9> customLabels;            // contacts only
    std::vector<std::uint8_t> reserved3 = std::vector<std::uint8_t>(kPmExReserved3Size, 0);
    std::int32_t nextFreeId = 128;
    std::vector<PalmCategoryEntry> categories;
    std::optional<std::int32_t> fieldsPerRow; // the database's field count by default
    std::optional<int> fieldCount;            // the number of field types by default
    std::optional<std::vector<std::uint16_t>> fieldTypes;
    std::optional<std::uint32_t> totalFields; // records x fields per row by default
    // Exception dates of the repeat field of record n.
    std::map<std::size_t, std::vector<std::int32_t>> exceptions;
};

// Offsets of the parts of a written file, for cutting it at a chosen point.
struct PalmExOffsets
{
    std::size_t version = 0;
    std::size_t reserved1 = 0;
    std::size_t fileName = 0;
    std::size_t reserved2 = 0;
    std::size_t labels = 0;
    std::size_t categories = 0;
    std::size_t schema = 0;
    std::size_t total = 0;
    std::vector<std::size_t> records; // start of each record
    std::size_t end = 0;
};

class PalmExFileWriter : public PalmFileWriter
{
public:
    // A binary field as the record holds it: size word 0 alone, 4 and more with that many bytes
    // of data, 1 to 3 with the two values, the data length and the data.
    PalmExFileWriter& BinaryField(const PmBinaryField& field)
    {
        Int32(field.typeCode).Int32(field.sizeWord);
        if (field.sizeWord > 0 && field.sizeWord < 4) {
            Int32(field.value1).Int32(field.value2).Int32(field.dataLength);
        }
        if (field.sizeWord != 0) {
            Bytes(field.data);
        }
        return *this;
    }
    PalmExFileWriter& DoubleField(double value)
    {
        Int32(kPmTypeDouble);
        Double(value);
        return *this;
    }

    // The records of the four databases, position by position up to fieldCount.
    PalmExFileWriter& Record(const PmAddrExRec& rec, int fieldCount = 73)
    {
        for (int pos = 0; pos < fieldCount; ++pos) {
            AddrField(rec, pos);
        }
        return *this;
    }
    PalmExFileWriter& Record(const PmDateExRec& rec, int fieldCount = 27)
    {
        for (int pos = 0; pos < fieldCount; ++pos) {
            DateField(rec, pos);
        }
        return *this;
    }
    PalmExFileWriter& Record(const PmMemoExRec& rec, int fieldCount = 14)
    {
        for (int pos = 0; pos < fieldCount; ++pos) {
            if (pos == 13) {
                StringField(rec.text);
            } else {
                BaseField(rec, pos);
            }
        }
        return *this;
    }
    PalmExFileWriter& Record(const PmTodoExRec& rec, int fieldCount = 25)
    {
        for (int pos = 0; pos < fieldCount; ++pos) {
            TodoField(rec, pos);
        }
        return *this;
    }

    // A whole file of one database.
    template <class Rec> PalmExOffsets File(const std::vector<Rec>& records, const PalmExFileOptions& o = {})
    {
        const Layout layout = LayoutOf(static_cast<const Rec*>(nullptr));
        PalmExOffsets at;
        m_classes.clear();
        m_nextClassTag = 1;
        Bytes(o.magicPrefix.substr(0, 5));
        std::string magic = o.magicText.substr(0, 19);
        magic.resize(19, '\0');
        Bytes(magic);
        at.version = Size();
        Int32(o.versionTag.value_or(layout.tag));
        at.reserved1 = Size();
        Bytes(o.reserved1);
        at.fileName = Size();
        CString(o.fileName);
        at.reserved2 = Size();
        if (o.reserved2) {
            Bytes(*o.reserved2);
        } else {
            Bytes(std::string(layout.reserved2Size, '\0'));
        }
        at.labels = Size();
        if (layout.labels) {
            for (const std::string& label : o.customLabels) {
                CString(label).Int32(0);
            }
            Bytes(o.reserved3);
        }
        at.categories = Size();
        CategoryBlock(o.nextFreeId, o.categories);
        at.schema = Size();
        PalmSchema schema;
        schema.resourceId = layout.resourceId;
        schema.fieldTypes = o.fieldTypes.value_or(layout.types);
        schema.fieldsPerRow = o.fieldsPerRow.value_or(static_cast<std::int32_t>(layout.types.size()));
        schema.idPosition = 0;
        schema.statusPosition = 2;
        schema.placementPosition = 4;
        schema.fieldCount = o.fieldCount.value_or(-1);
        SchemaBlock(schema);
        at.total = Size();
        const int fieldCount = o.fieldCount.value_or(static_cast<int>(schema.fieldTypes.size()));
        UInt32(o.totalFields.value_or(static_cast<std::uint32_t>(records.size()) *
                                      static_cast<std::uint32_t>(schema.fieldsPerRow)));
        for (std::size_t i = 0; i < records.size(); ++i) {
            at.records.push_back(Size());
            const auto found = o.exceptions.find(i);
            m_exceptions = found != o.exceptions.end() ? found->second : std::vector<std::int32_t>{};
            Record(records[i], fieldCount);
        }
        at.end = Size();
        return at;
    }

private:
    struct Layout
    {
        std::int32_t tag;
        std::int32_t resourceId;
        std::size_t reserved2Size;
        bool labels;
        std::vector<std::uint16_t> types;
    };
    static Layout LayoutOf(const PmAddrExRec*)
    {
        return {kPmAddrExTag, 74, 11, true, {kPmAddrExFieldTypes.begin(), kPmAddrExFieldTypes.end()}};
    }
    static Layout LayoutOf(const PmDateExRec*)
    {
        return {kPmDateExTag, 54, 43, false, {kPmDateExFieldTypes.begin(), kPmDateExFieldTypes.end()}};
    }
    static Layout LayoutOf(const PmMemoExRec*)
    {
        return {kPmMemoExTag, 64, 43, false, {kPmMemoExFieldTypes.begin(), kPmMemoExFieldTypes.end()}};
    }
    static Layout LayoutOf(const PmTodoExRec*)
    {
        return {kPmTodoExTag, 44, 43, false, {kPmTodoExFieldTypes.begin(), kPmTodoExFieldTypes.end()}};
    }

    void BaseField(const PmExRecBase& rec, int pos)
    {
        switch (pos) {
        case 0:
            IntField(rec.recordId);
            break;
        case 1:
            IntField(rec.int1);
            break;
        case 2:
            IntField(rec.status);
            break;
        case 3:
            IntField(rec.int3);
            break;
        case 4:
            IntField(rec.placement);
            break;
        case 5:
            IntField(rec.categoryId);
            break;
        case 6:
            BoolField(rec.isPrivate != 0);
            break;
        case 7:
        case 8:
        case 9:
        case 10:
            BinaryField(rec.binary[static_cast<std::size_t>(pos - 7)]);
            break;
        case 11:
            StringField(rec.text11);
            break;
        case 12:
            StringField(rec.text12);
            break;
        default:
            break;
        }
    }

    // A class definition the first time a kind appears, a back-reference afterwards.
    void Repeat(const PmRepeat& repeat)
    {
        std::uint16_t tag = kPmRepeatClassDef;
        const auto known = m_classes.find(repeat.kind);
        if (known != m_classes.end()) {
            tag = known->second;
        } else if (repeat.kind != 0) {
            m_classes[repeat.kind] = static_cast<std::uint16_t>(0x8000 | m_nextClassTag);
            m_nextClassTag += 2; // MFC counts the class and its first object
        }
        RepeatField(repeat, tag, m_exceptions);
    }

    void AddrField(const PmAddrExRec& rec, int pos)
    {
        if (pos <= 12) {
            BaseField(rec, pos);
        } else if (pos >= 19 && pos <= 25) {
            StringField(rec.phones[static_cast<std::size_t>(pos - 19)]);
        } else if (pos >= 26 && pos <= 32) {
            IntField(rec.phoneLabels[static_cast<std::size_t>(pos - 26)]);
        } else if (pos >= 33 && pos <= 41) {
            StringField(rec.customs[static_cast<std::size_t>(pos - 33)]);
        } else if (pos >= 42 && pos <= 59) {
            const PmAddrExAddress& a = rec.addresses[static_cast<std::size_t>((pos - 42) / 6)];
            const std::string* parts[] = {&a.street, &a.city, &a.state, &a.zipCode, &a.country};
            const int part = (pos - 42) % 6;
            if (part == 0) {
                IntField(a.type);
            } else {
                StringField(*parts[part - 1]);
            }
        } else if (pos >= 69 && pos <= 72) {
            StringField(rec.texts69[static_cast<std::size_t>(pos - 69)]);
        } else {
            switch (pos) {
            case 13:
                StringField(rec.firstName);
                break;
            case 14:
                StringField(rec.lastName);
                break;
            case 15:
                StringField(rec.title);
                break;
            case 16:
                StringField(rec.company);
                break;
            case 17:
                IntField(rec.int17);
                break;
            case 18:
                StringField(rec.note);
                break;
            case 60:
            case 61:
                StringField(rec.ims[static_cast<std::size_t>(pos - 60)]);
                break;
            case 62:
            case 63:
                IntField(rec.imLabels[static_cast<std::size_t>(pos - 62)]);
                break;
            case 64:
                StringField(rec.homePage);
                break;
            case 65:
                DoubleField(rec.birthday);
                break;
            case 66:
                BoolField(rec.bool66 != 0);
                break;
            case 67:
                IntField(rec.int67);
                break;
            case 68:
                IntField(rec.int68);
                break;
            default:
                break;
            }
        }
    }

    void DateField(const PmDateExRec& rec, int pos)
    {
        switch (pos) {
        case 13:
            PalmFileWriter::DateField(rec.startTime);
            break;
        case 14:
            PalmFileWriter::DateField(rec.endTime);
            break;
        case 15:
            StringField(rec.description);
            break;
        case 16:
            IntField(rec.int16);
            break;
        case 17:
            StringField(rec.note);
            break;
        case 18:
            BoolField(rec.untimed != 0);
            break;
        case 19:
            BoolField(rec.alarmSet != 0);
            break;
        case 20:
            IntField(rec.alarmAdvance);
            break;
        case 21:
            IntField(rec.alarmAdvanceUnit);
            break;
        case 22:
            Repeat(rec.repeat);
            break;
        case 23:
            StringField(rec.location);
            break;
        case 24:
            IntField(rec.int24);
            break;
        case 25:
            StringField(rec.text25);
            break;
        case 26:
            StringField(rec.text26);
            break;
        default:
            BaseField(rec, pos);
            break;
        }
    }

    void TodoField(const PmTodoExRec& rec, int pos)
    {
        switch (pos) {
        case 13:
            StringField(rec.description);
            break;
        case 14:
            PalmFileWriter::DateField(rec.dueDate);
            break;
        case 15:
            BoolField(rec.completed != 0);
            break;
        case 16:
            IntField(rec.priority);
            break;
        case 17:
            StringField(rec.note);
            break;
        case 18:
            BoolField(rec.bool18 != 0);
            break;
        case 19:
            PalmFileWriter::DateField(rec.date19);
            break;
        case 20:
            BoolField(rec.alarmSet != 0);
            break;
        case 21:
            PalmFileWriter::DateField(rec.date21);
            break;
        case 22:
            IntField(rec.int22);
            break;
        case 23:
            PalmFileWriter::DateField(rec.date23);
            break;
        case 24:
            Repeat(rec.repeat);
            break;
        default:
            BaseField(rec, pos);
            break;
        }
    }

    std::map<std::int32_t, std::uint16_t> m_classes;
    int m_nextClassTag = 1;
    std::vector<std::int32_t> m_exceptions;
};

} // namespace fwtest
