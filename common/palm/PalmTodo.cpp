#include "palm/PalmTodo.h"

#include "misc/CxDebugUtil.h"

namespace {

constexpr std::uint16_t kFieldTypes[] = {1, 1, 1, 5, 3, 6, 1, 6, 1, 5};

const PmClassicMessages kMessages = {
    .loading = "Loading Palm Desktop todo list: %s",
    .categoryFailed = "Failed to load category information.",
    .schemaFailed = "Failed to load database schema information.",
    .loadFailed = "Load Palm Desktop todo list failed: %s",
    .nextFreeIdFailed = "Failed to read the next feed ID of the categories.",
    .categoryCountFailed = "Failed to read categories count.",
    .categoryAddFailed = "Failed to add category information.",
};

const PmClassicDBUtil::Traits kTraits = {
    "todo", "todo.dat", PmTodoUtil::kVersionTag, 256, 256, 44, kFieldTypes, 10, 10, &kMessages,
};

} // namespace

PmTodoUtil::PmTodoUtil() : PmClassicReader(kTraits) {}

PmTodoUtil::PmTodoUtil(const std::string& path) : PmClassicReader(kTraits)
{
    Load(path);
}

PmTodoUtil::~PmTodoUtil() = default;

bool PmTodoUtil::ReadField(int position)
{
    PmTodoRec& rec = m_rec;
    switch (position) {
    case 0:
        return ReadIntField(rec.recordId);
    case 1:
        return ReadIntField(rec.status);
    case 2:
        return ReadIntField(rec.placement);
    case 3:
        return ReadStringField(rec.description, 8192);
    case 4:
        return ReadIntField(rec.dueDate);
    case 5:
        return ReadIntField(rec.completed);
    case 6:
        return ReadIntField(rec.priority);
    case 7:
        return ReadIntField(rec.isPrivate);
    case 8:
        return ReadIntField(rec.categoryId);
    case 9:
        return ReadStringField(rec.note, 8192);
    default:
        return true;
    }
}
