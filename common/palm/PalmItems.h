#pragma once
// The items of the Palm Desktop fronts: one per converted record, holding the generation it
// came from and a copy of the loaded record. A common record of a front's store points at
// its item through NativeRecord (borrowed, NativeSize 0); the front keeps the items as long
// as its store holds records.
#include <cstdint>
#include <string>
#include <variant>

#include "misc/CommRecords.h"
#include "palm/PalmAddr.h"
#include "palm/PalmAddrEx.h"
#include "palm/PalmAddrEx2.h"
#include "palm/PalmDate.h"
#include "palm/PalmDateEx.h"
#include "palm/PalmDateEx2.h"
#include "palm/PalmMemo.h"
#include "palm/PalmMemoEx.h"
#include "palm/PalmMemoEx2.h"
#include "palm/PalmTodo.h"
#include "palm/PalmTodoEx.h"
#include "palm/PalmTodoEx2.h"

template <class Classic, class Ex, class Ex2, class Comm> struct PmItem
{
    std::int32_t generation = 0; // 1 classic, 2 4.1.x, 3 6.x
    std::variant<Classic, Ex, Ex2> native;
    const void* loaderRecord = nullptr; // the record in the loader's store (borrowed)
    Comm* commonRecord = nullptr;       // the store's record made from it; null when refused
};

using PmAddrItem = PmItem<PmAddrRec, PmAddrExRec, PmAddrEx2Rec, CommAddrRec>;
using PmDateItem = PmItem<PmDateRec, PmDateExRec, PmDateEx2Rec, CommDateRec>;
using PmMemoItem = PmItem<PmMemoRec, PmMemoExRec, PmMemoEx2Rec, CommNoteRec>;
using PmTodoItem = PmItem<PmTodoRec, PmTodoExRec, PmTodoEx2Rec, CommTaskRec>;

// The text of a catalogue key (of the installed version kind) in a contact item, for the
// detail dialog: "N/A" for no item, a key outside the catalogue, a date key, or a phone or
// instant-messaging key that no slot carries; otherwise the field's text, possibly empty.
std::string PmAddrItemValue(const PmAddrItem* item, std::int32_t key);

// The key of the item's own generation that stands for a key of the installed version kind:
// the same key when they agree, else the entry of the same name (the classic "Street" ...
// "Country" count as the work address); 0 when the generation has no such entry.
std::int32_t PmCatalogueKeyForGeneration(int versionKind, std::int32_t key, int generation);
