#pragma once
// The to-do database of Palm Desktop 6.x ("Todolist.mdb" in the user's "todo" folder).
#include <cstdint>
#include <string>
#include <vector>

#include "palm/PalmCommEx2.h"
#include "palm/PalmRepeat.h"

// A 6.x to-do: the 17 columns of "Main" and the repeat fields read from its rule.
struct PmTodoEx2Rec
{
    std::int32_t recordId = 0;
    std::int32_t status = 0;
    std::int32_t placement = 0;
    std::int32_t isPrivate = 0;
    std::int32_t categoryId = 0;
    std::string note;         // 8191
    std::string description;  // 255
    std::int32_t dueDate = 0; // seconds since 1970-01-01 UTC; 0 none
    std::string dueDateText;  // the same as decimal text
    std::int32_t completed = 0;
    std::int32_t priority = 0;
    std::int32_t repeatOnCompleteDate = 0;
    std::int32_t completeDate = 0;
    std::string completeDateText;
    std::int32_t alarmSet = 0;
    std::int32_t alarmTime = 0;
    std::string alarmTimeText;
    std::int32_t alarmAdvance = 0;
    std::int32_t repeatStartDate = 0;
    std::string repeatInfo;   // 255, the rule text
    PmRepeat repeat;          // read from the rule text
    std::string categoryName; // 31
};

class PmTodoEx2Util : public PmEx2Reader<PmTodoEx2Rec>
{
public:
    PmTodoEx2Util();
    explicit PmTodoEx2Util(const std::string& path);
    ~PmTodoEx2Util() override;

    bool Load(const std::string& path);
    bool LoadByUser(std::int32_t userId);

    static const PmColumnList& Columns();
};
