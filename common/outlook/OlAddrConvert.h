#pragma once
// Outlook contact item <-> common contact record.
#include <cstdint>

#include "misc/CommRecords.h"
#include "outlook/OlAddrRec.h"

// The ten field-map entries: the OlAddrFieldTable code that fills MappedValues entry i, or 0.
using OlAddrFieldMap = std::int32_t[kOlUserProps];

// Fills a zeroed common record from the item; mapped values from the text fields the map names.
void FromNative(const OlAddrRec& native, CommAddrRec& rec, const OlAddrFieldMap& fieldMap);
// Copies the common record's fields into the item's record (which keeps what the common record
// does not carry); a mapped value takes the place of the custom value of its slot.
void ToNative(const CommAddrRec& rec, OlAddrRec& native);
