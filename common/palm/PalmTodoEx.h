#pragma once
// The to-do database of Palm Desktop 4.1.x ("todo.dat" in the user's "todo" folder).
#include <cstdint>
#include <string>

#include "palm/PalmExDBUtil.h"
#include "palm/PalmRepeat.h"

// A 4.1.x to-do: positions 13 to 24 after the common ones.
struct PmTodoExRec : PmExRecBase
{
    std::string description;  // 255 characters at most
    std::int32_t dueDate = 0; // seconds since 1970-01-01 UTC; -1 none
    std::int32_t completed = 0;
    std::int32_t priority = 0;
    std::string note; // 8191
    std::int32_t bool18 = 0;
    std::int32_t date19 = 0;
    std::int32_t alarmSet = 0;
    std::int32_t date21 = 0;
    std::int32_t int22 = 0;
    std::int32_t date23 = 0;
    PmRepeat repeat;
};

class PmTodoExUtil : public PmExReader<PmTodoExRec>
{
public:
    PmTodoExUtil();
    explicit PmTodoExUtil(const std::string& path);
    ~PmTodoExUtil() override;

protected:
    bool ReadField(int position, PmTodoExRec& rec) override;
};
