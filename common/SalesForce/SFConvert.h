#pragma once
// salesforce contacts and the common contact record, both ways. The only CRM records whose
// values a conversion carries: every other kind of every CRM family converts to a common
// record with nothing but its source type.
#include "SalesForce/SFRecords.h"
#include "misc/CommRecords.h"

// Native to common, into a zeroed record; each text is cut to the common field's capacity
// ("Description" to 8191 characters).
void SFAddrToComm(const SFAddrRec& native, CommAddrRec& record);
// Common to native, over the native record's current contents: each text cut to the native
// field's capacity; the custom values from CustomValues, each replaced by its MappedValues
// entry where that is not empty. The dates are left as they are.
void CommToSFAddr(const CommAddrRec& record, SFAddrRec& native);
