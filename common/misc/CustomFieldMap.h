#pragma once
// The custom-field mapping: for each application kind, ten slots each naming the source field
// that fills the common record's MappedValues of that slot (0 = no mapping). One table for the
// whole process; the driver fills it from the settings and the contacts connectors read it when
// they convert their records. It sits below the connectors so that they need not know the engine.
#include "misc/AppKind.h"

inline constexpr int kMappedFieldSlots = 10;

// Slots are 1..10; kinds 1..8. Anything outside is ignored.
void SetMappedField(AppKind kind, int slot, int field);
// The field of a slot; 0 for a slot or kind outside the table.
int GetMappedField(AppKind kind, int slot);
// Every slot of every kind back to 0.
void ClearMappedFields();
