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

#include "google/CxGDateUtil.h"
#include "misc/CxDebugUtil.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

template <std::size_t N> void CheckTerminated(const char (&field)[N])
{
    Check(std::memchr(field, 0, N) != nullptr);
}

const std::string& Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/fuzz_gdate-XXXXXX";
        Check(mkdtemp(pattern) != nullptr);
        g_debugLog.SetLogFolder((std::string(pattern) + "/").c_str());
        g_debugLog.EnableLog(false);
        return std::string(pattern) + "/";
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string& folder = Folder();
    CxGDateUtil connector;
    connector.SetFolder(folder.c_str());
    std::FILE* out = std::fopen(connector.DataFilePath().c_str(), "wb");
    Check(out != nullptr);
    Check(size == 0 || std::fwrite(data, 1, size, out) == size);
    std::fclose(out);

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
        const auto* a = reinterpret_cast<const char*>(connector.GetNative(n));
        const auto* b = reinterpret_cast<const char*>(again.GetNative(n));
        for (const GDateFieldDesc& field : GDateFields()) {
            if (field.Kind == GDateFieldKind::Text) {
                Check(std::strncmp(a + field.Offset, b + field.Offset,
                                   static_cast<std::size_t>(field.Capacity)) == 0);
            } else {
                const std::size_t width = field.Kind == GDateFieldKind::Date ? sizeof(double) : sizeof(int);
                Check(std::memcmp(a + field.Offset, b + field.Offset, width) == 0);
            }
        }
    }
    return 0;
}
