// 4.1.x Palm Desktop files read by each of the four 4.1.x readers. The input becomes one file
// in a private folder (memory-backed where /dev/shm exists); each reader loads it. Then: every
// kept text fits its field, the binary fields hold what their descriptors say, the category
// names come from the table, and the records convert into terminated common records.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_palmfile.h"
#include "palm/PalmExConvert.h"

namespace {

using palmfuzz::Check;
using palmfuzz::CheckTerminated;

void CheckBase(const PmExDBUtil& util, const PmExRecBase& rec)
{
    // The name is looked up once the category ID (position 5) has been read.
    std::string found;
    if (util.GetSchema().fieldCount > 5 && util.GetCategoryName(rec.categoryId, found)) {
        Check(found == rec.categoryName);
    } else {
        Check(rec.categoryName.empty());
    }
    Check(rec.categoryName.size() <= 15 && rec.text11.size() <= 31 && rec.text12.size() <= 31);
    for (const PmBinaryField& field : rec.binary) {
        Check(field.dataLength >= 0);
        Check(field.data.size() == static_cast<std::size_t>(field.sizeWord == 0 ? 0 : field.dataLength));
    }
}

void CheckSchema(const PmExDBUtil& util, std::size_t capacity)
{
    Check(util.GetSchema().fieldTypes.size() == util.GetSchema().fieldCount);
    Check(util.GetSchema().fieldCount <= capacity);
}

void CheckAddr(const std::string& path)
{
    PmAddrExUtil util(path);
    CheckSchema(util, kPmAddrExFieldTypes.size());
    for (int i = 0; i < PmAddrExUtil::kCustomLabels; ++i) {
        Check(util.GetCustomLabel(i).size() <= 256);
    }
    for (const PmAddrExRec& rec : util.GetRecords()) {
        CheckBase(util, rec);
        Check(rec.firstName.size() <= 31 && rec.lastName.size() <= 31 && rec.title.size() <= 31);
        Check(rec.company.size() <= 255 && rec.note.size() <= 2047 && rec.homePage.size() <= 255);
        for (const std::string& phone : rec.phones) {
            Check(phone.size() <= 31);
        }
        for (const std::string& custom : rec.customs) {
            Check(custom.size() <= 255);
        }
        for (const PmAddrExAddress& address : rec.addresses) {
            Check(address.street.size() <= 255 && address.city.size() <= 31 && address.zipCode.size() <= 31);
        }
        static CommAddrRec out;
        std::memset(static_cast<void*>(&out), 0, sizeof out);
        PmToComm(rec, out);
        CheckTerminated(out.FirstName);
        CheckTerminated(out.Company);
        CheckTerminated(out.WorkAddress.Postal);
        CheckTerminated(out.OtherAddress.Street);
        CheckTerminated(out.Note);
        CheckTerminated(out.Pager);
        CheckTerminated(out.CustomValues[8]);
        CheckTerminated(out.Category);
        Check(out.Birthday == 0 || (out.Birthday >= -657434.0 && out.Birthday < 2958466.0));
        PmAddrExRec copy = rec;
        for (std::int32_t key = 0; key <= 46; ++key) {
            std::string value;
            if (PmContactValue(copy, key, value, key % 2 == 0)) {
                Check(value.size() <= 2047);
            }
        }
    }
}

void CheckDate(const std::string& path)
{
    PmDateExUtil util(path);
    CheckSchema(util, kPmDateExFieldTypes.size());
    for (const PmDateExRec& rec : util.GetRecords()) {
        CheckBase(util, rec);
        Check(rec.description.size() <= 255 && rec.note.size() <= 8191 && rec.location.size() <= 255);
        static CommDateRec out;
        std::memset(static_cast<void*>(&out), 0, sizeof out);
        PmToComm(rec, out);
        CheckTerminated(out.Subject);
        CheckTerminated(out.Notes);
        CheckTerminated(out.Location);
        Check(out.ReminderCount >= 0 && out.ReminderCount <= 1);
    }
}

void CheckMemo(const std::string& path)
{
    PmMemoExUtil util(path);
    CheckSchema(util, kPmMemoExFieldTypes.size());
    for (const PmMemoExRec& rec : util.GetRecords()) {
        CheckBase(util, rec);
        Check(rec.text.size() <= 8191);
        static CommNoteRec out;
        std::memset(static_cast<void*>(&out), 0, sizeof out);
        PmToComm(rec, out);
        CheckTerminated(out.Title);
        CheckTerminated(out.Body);
    }
}

void CheckTodo(const std::string& path)
{
    PmTodoExUtil util(path);
    CheckSchema(util, kPmTodoExFieldTypes.size());
    for (const PmTodoExRec& rec : util.GetRecords()) {
        CheckBase(util, rec);
        Check(rec.description.size() <= 255 && rec.note.size() <= 8191);
        static CommTaskRec out;
        std::memset(static_cast<void*>(&out), 0, sizeof out);
        PmToComm(rec, out);
        CheckTerminated(out.Subject);
        CheckTerminated(out.Notes);
        Check(out.Priority >= 0 && out.Priority <= 2);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = palmfuzz::WriteInput("fuzz_palm_ex", data, size);
    CheckAddr(path);
    CheckDate(path);
    CheckMemo(path);
    CheckTodo(path);
    return 0;
}
