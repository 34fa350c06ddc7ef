// Google contacts record file ("GAddr.dat") read by the contacts connector: the input becomes
// the record file in a private working folder and is read by the connector's own
// LoadFromFile. Then: the store and the native list stay parallel, every common text is
// terminated within its field, the field texts of every identifier are read without making
// slots, and what the connector writes back reads again into the same native records.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"
#include "google/CxGAddrUtil.h"

namespace {

using fuzzsupport::Check;
using fuzzsupport::CheckTerminated;

struct Open : CxGAddrUtil
{
    using CxGAddrUtil::LoadFromFile;
    using CxGAddrUtil::SaveToFile;
};

void CheckRecord(const CommAddrRec& rec)
{
    CheckTerminated(rec.FirstName);
    CheckTerminated(rec.Email);
    CheckTerminated(rec.WorkAddress.Street);
    CheckTerminated(rec.HomeAddress.Postal);
    CheckTerminated(rec.OtherAddress.Neighborhood);
    CheckTerminated(rec.MobilePhone);
    CheckTerminated(rec.IM2);
    CheckTerminated(rec.AssistantName);
    CheckTerminated(rec.Note);
    CheckTerminated(rec.Category);
    for (int i = 0; i < 10; ++i) {
        CheckTerminated(rec.CustomValues[i]);
        CheckTerminated(rec.MappedValues[i]);
        CheckTerminated(rec.CustomLabels[i]);
    }
    Check(rec.SourceType == SourceGoogle);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Mapping slots on a single field, a slot field and a date, so that the mapped copies are
    // read as well.
    static const bool mapped = [] {
        CxGAddrUtil setup;
        return setup.SetCustomMapping(0, 38) && setup.SetCustomMapping(5, 90) &&
               setup.SetCustomMapping(9, 81);
    }();
    Check(mapped);

    const std::string& folder = fuzzsupport::Folder();
    Open connector;
    connector.SetFolder(folder.c_str());
    fuzzsupport::WriteInput(connector.DataFilePath(), data, size);

    const bool loaded = connector.LoadFromFile();
    auto* store = connector.GetStore();
    Check(store->GetCount() == connector.GetNativeCount());
    if (!loaded) {
        return 0;
    }
    Check(static_cast<std::size_t>(connector.GetNativeCount()) <= size);
    int i = 0;
    for (auto* rec = store->First(); rec != nullptr; rec = store->Next(), ++i) {
        Check(rec->NativeRecord == connector.GetNative(i));
        CheckRecord(*rec);
        const GGAddrRec before = *connector.GetNative(i);
        for (const GGAddrFieldInfo& field : GGAddrFieldTable()) {
            const std::string text = CxGAddrUtil::FieldText(before, field.Id);
            Check(text.size() < static_cast<std::size_t>(field.Width) + 1 ||
                  field.Type == GGAddrFieldTypeDate);
        }
    }

    // Written back and read again, the native records come back the same: numbers bit for bit,
    // texts up to their terminator (a stored text may hold a zero byte, which ends it).
    Check(connector.SaveToFile());
    Open again;
    again.SetFolder(folder.c_str());
    Check(again.LoadFromFile());
    Check(again.GetNativeCount() == connector.GetNativeCount());
    for (int n = 0; n < connector.GetNativeCount(); ++n) {
        const auto* a = reinterpret_cast<const char*>(connector.GetNative(n));
        const auto* b = reinterpret_cast<const char*>(again.GetNative(n));
        for (const GGAddrLayoutField& field : GGAddrLayout()) {
            for (int k = 0; k < field.Count; ++k) {
                const std::size_t at = field.Offset + static_cast<std::size_t>(k) * field.Stride;
                if (field.Kind == GGAddrValueKind::Text) {
                    Check(std::strncmp(a + at, b + at, static_cast<std::size_t>(field.Capacity)) == 0);
                } else {
                    Check(std::memcmp(a + at, b + at, field.Stride) == 0);
                }
            }
        }
    }
    return 0;
}
