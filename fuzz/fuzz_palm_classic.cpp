// Classic Palm Desktop files read by each of the four classic readers. The input becomes one
// file in a private folder (memory-backed where /dev/shm exists); each reader loads it. Then:
// every kept text fits its field, the category names come from the table, and the records
// convert into terminated common records.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_palmfile.h"
#include "palm/PalmAddr.h"
#include "palm/PalmClassicConvert.h"
#include "palm/PalmDate.h"
#include "palm/PalmMemo.h"
#include "palm/PalmTodo.h"

namespace {

using palmfuzz::Check;
using palmfuzz::CheckTerminated;

// A name found for a record is the table's name at its category value, the category's place in
// the table. (A row too short to reach the category position leaves the name empty.)
void CheckCategory(const PmDBUtil& util, std::int32_t id, const std::string& name)
{
    std::string found;
    if (!name.empty()) {
        Check(util.GetCategoryName(id, found) && found == name);
    }
}

void CheckAddr(const std::string& path)
{
    PmAddrUtil util(path);
    for (int i = 0; i < PmAddrUtil::kCustomLabels; ++i) {
        Check(util.GetCustomLabel(i).size() < PmAddrUtil::kLabelBufferSize);
    }
    Check(util.GetTableString().size() < PmAddrUtil::kLabelBufferSize);
    for (const PmAddrRec& rec : util.GetRecords()) {
        Check(rec.lastName.size() <= 31 && rec.firstName.size() <= 31 && rec.title.size() <= 31);
        Check(rec.company.size() <= 255 && rec.address.size() <= 255 && rec.note.size() <= 8191);
        for (const std::string& phone : rec.phones) {
            Check(phone.size() <= 31);
        }
        for (const std::string& custom : rec.customs) {
            Check(custom.size() <= 63);
        }
        Check(rec.categoryName.size() <= 15);
        CheckCategory(util, rec.categoryId, rec.categoryName);
        static CommAddrRec out;
        PmToComm(rec, out);
        CheckTerminated(out.FirstName);
        CheckTerminated(out.Company);
        CheckTerminated(out.WorkAddress.Postal);
        CheckTerminated(out.Note);
        CheckTerminated(out.WorkPhone);
        CheckTerminated(out.Category);
        PmAddrRec copy = rec;
        for (std::int32_t key = 0; key <= 24; ++key) {
            std::string value;
            if (PmContactValue(copy, key, value, key % 2 == 0)) {
                Check(value.size() <= 8191);
            }
        }
    }
}

void CheckDate(const std::string& path)
{
    PmDateUtil util(path);
    for (const PmDateRec& rec : util.GetRecords()) {
        Check(rec.startDate != -1 && rec.endDate != -1);
        Check(rec.description.size() <= 511 && rec.note.size() <= 8191);
        static CommDateRec out;
        PmToComm(rec, out);
        CheckTerminated(out.Subject);
        CheckTerminated(out.Notes);
        Check(out.ReminderCount >= 0 && out.ReminderCount <= 1);
    }
}

void CheckMemo(const std::string& path)
{
    PmMemoUtil util(path);
    for (const PmMemoRec& rec : util.GetRecords()) {
        Check((rec.status & 0x84) == 0);
        Check(rec.text.size() <= 8191);
        static CommNoteRec out;
        PmToComm(rec, out);
        CheckTerminated(out.Title);
        CheckTerminated(out.Body);
    }
}

void CheckTodo(const std::string& path)
{
    PmTodoUtil util(path);
    for (const PmTodoRec& rec : util.GetRecords()) {
        Check((rec.status & 0x84) == 0);
        Check(rec.description.size() <= 8191 && rec.note.size() <= 8191);
        static CommTaskRec out;
        PmToComm(rec, out);
        CheckTerminated(out.Subject);
        CheckTerminated(out.Notes);
        Check(out.Priority >= 0 && out.Priority <= 2);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& path = palmfuzz::WriteInput("fuzz_palm_classic", data, size);
    CheckAddr(path);
    CheckDate(path);
    CheckMemo(path);
    CheckTodo(path);
    return 0;
}
