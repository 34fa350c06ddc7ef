#pragma once
// The to-do database of the classic Palm Desktop releases ("todo.dat" in the user's "todo"
// folder).
#include <cstdint>
#include <string>

#include "palm/PalmClassicDBUtil.h"

// A classic to-do item: 10 positions.
struct PmTodoRec
{
    std::int32_t recordId = 0;   // 0
    std::int32_t status = 0;     // 1
    std::int32_t placement = 0;  // 2
    std::string description;     // 3, 8191 characters at most
    std::int32_t dueDate = -1;   // 4: seconds since 1970-01-01 UTC; -1 none
    std::int32_t completed = 0;  // 5
    std::int32_t priority = 0;   // 6
    std::int32_t isPrivate = 0;  // 7
    std::int32_t categoryId = 0; // 8
    std::string note;            // 9, 8191
};

class PmTodoUtil : public PmClassicReader<PmTodoRec>
{
public:
    static constexpr std::int32_t kVersionTag = 0x54440100;

    PmTodoUtil();
    explicit PmTodoUtil(const std::string& path);
    ~PmTodoUtil() override;

protected:
    bool ReadField(int position) override;
    // Deleted (0x04) and archived (0x80) items are dropped.
    bool Keep(const PmTodoRec& rec) const override { return (rec.status & 0x84) == 0; }
};
