#include "palm/PalmTodoEx.h"

#include "misc/CxDebugUtil.h"

namespace {

const PmExDBUtil::Traits kTraits = {
    "Tasks",
    "todo",
    "todo.dat",
    kPmTodoExTag,
    43,
    44,
    kPmTodoExFieldTypes.data(),
    static_cast<std::uint16_t>(kPmTodoExFieldTypes.size()),
    "Failed to load Tasks records.",
    "Load Palm Desktop Tasks failed: ",
    false, // no custom labels
    true,  // reserved block 1 logged
    true,  // "information is loaded" logged
    false, // an empty path goes to the open, which refuses it
    true,  // one error line per remaining record
};

} // namespace

PmTodoExUtil::PmTodoExUtil() : PmExReader(kTraits) {}

PmTodoExUtil::PmTodoExUtil(const std::string& path) : PmExReader(kTraits)
{
    Load(path);
}

PmTodoExUtil::~PmTodoExUtil() = default;

bool PmTodoExUtil::ReadField(int position, PmTodoExRec& rec)
{
    switch (position) {
    case 13:
        return ReadStringField(rec.description, 256);
    case 14:
        return ReadIntField(rec.dueDate);
    case 15:
        return ReadIntField(rec.completed);
    case 16:
        return ReadIntField(rec.priority);
    case 17:
        return ReadStringField(rec.note, 8192);
    case 18:
        return ReadIntField(rec.bool18);
    case 19:
        return ReadIntField(rec.date19);
    case 20:
        return ReadIntField(rec.alarmSet);
    case 21:
        return ReadIntField(rec.date21);
    case 22:
        return ReadIntField(rec.int22);
    case 23:
        return ReadIntField(rec.date23);
    case 24:
        return ReadTypedRepeatField(rec.repeat);
    default:
        return true; // beyond the to-do layout: nothing to read
    }
}
