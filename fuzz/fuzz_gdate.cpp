// Google calendar event file ("GDate.dat") read by the calendar connector, recurrence texts
// included. The store and the native list stay parallel, every common text is terminated
// within its field, and what the connector writes back reads again into the same records.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"
#include "google/CxGDateUtil.h"

using fuzzsupport::Check;
using fuzzsupport::CheckTerminated;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& folder = fuzzsupport::Folder();
    CxGDateUtil connector;
    connector.SetFolder(folder.c_str());
    fuzzsupport::WriteInput(connector.DataFilePath(), data, size);

    const bool loaded = connector.LoadEvents();
    CommDateMgr* store = connector.GetStore();
    Check(store->GetCount() == connector.GetNativeCount());
    if (!loaded) {
        return 0;
    }
    Check(static_cast<std::size_t>(connector.GetNativeCount()) <= size);
    int i = 0;
    for (CommDateRec* rec = store->First(); rec != nullptr; rec = store->Next(), ++i) {
        Check(rec->NativeRecord == connector.GetNative(i));
        Check(connector.GetNative(i)->ChangeMark == GDateChangeMarkLoaded);
        CheckTerminated(rec->Subject);
        CheckTerminated(rec->Location);
        CheckTerminated(rec->Notes);
        CheckTerminated(rec->Categories);
        Check(rec->Recurrence.Kind >= 0 && rec->Recurrence.Kind <= 6);
        Check(rec->ReminderCount >= 0 && rec->ReminderCount <= 3);
        Check(rec->GoogleAttrA >= 0 && rec->GoogleAttrA <= 2);
    }

    // Written back and read again (and so parsed again), the records come back the same.
    Check(connector.SaveEvents());
    CxGDateUtil again;
    again.SetFolder(folder.c_str());
    Check(again.LoadEvents());
    Check(again.GetNativeCount() == connector.GetNativeCount());
    for (int n = 0; n < connector.GetNativeCount(); ++n) {
        fuzzsupport::CheckSameFields(connector.GetNative(n), again.GetNative(n), GDateFields());
    }
    return 0;
}
