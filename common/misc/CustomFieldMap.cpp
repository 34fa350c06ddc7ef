#include "misc/CustomFieldMap.h"

#include <atomic>

namespace {

// Written by the engine thread, read by connectors on the same thread and, after a mapping
// dialog, by the user-interface thread: atomics keep a read from ever seeing half a write.
std::atomic<int> g_mappedFields[kAppSugarCRM + 1][kMappedFieldSlots];

bool InTable(AppKind kind, int slot)
{
    return IsValidAppKind(kind) && slot >= 1 && slot <= kMappedFieldSlots;
}

} // namespace

void SetMappedField(AppKind kind, int slot, int field)
{
    if (InTable(kind, slot)) {
        g_mappedFields[kind][slot - 1].store(field, std::memory_order_relaxed);
    }
}

int GetMappedField(AppKind kind, int slot)
{
    return InTable(kind, slot) ? g_mappedFields[kind][slot - 1].load(std::memory_order_relaxed) : 0;
}

void ClearMappedFields()
{
    for (auto& kindSlots : g_mappedFields) {
        for (auto& slot : kindSlots) {
            slot.store(0, std::memory_order_relaxed);
        }
    }
}
