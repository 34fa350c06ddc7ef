#pragma once
// Shared body of the Lotus Notes record-file fuzz targets: the input becomes the connector's
// record file in a private working folder and is read by the connector's own LoadFromFile.
// Then: the store and the native list stay parallel, every common text is terminated within
// its field, and what the connector writes back reads again into the same native records.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string>
#include <unistd.h>

#include "fuzz_support.h"
#include "lotus/LNRecords.h"

namespace lnfuzz {

using fuzzsupport::Check;
using fuzzsupport::CheckTerminated;
using fuzzsupport::Folder;

// Connector: a Lotus Notes connector; Open exposes the record file operations.
template <class Connector> struct Open : Connector
{
    using Connector::LoadFromFile;
    using Connector::SaveToFile;
};

// checkRecord(const Rec&) checks one common record.
template <class Connector, class Native, class CheckRecord>
int Run(const std::uint8_t* data, std::size_t size, std::span<const LNFieldDesc> fields,
        CheckRecord checkRecord)
{
    const std::string& folder = Folder();
    Open<Connector> connector;
    connector.SetFolder(folder.c_str());
    const std::string path = connector.DataFilePath();
    fuzzsupport::WriteInput(path, data, size);

    const bool loaded = connector.LoadFromFile();
    auto* store = connector.GetStore();
    Check(store->GetCount() == connector.GetNativeCount());
    if (!loaded) {
        return 0;
    }
    // Never more records than the file could hold (each takes at least a few bytes).
    Check(static_cast<std::size_t>(connector.GetNativeCount()) <= size);
    int i = 0;
    for (auto* rec = store->First(); rec != nullptr; rec = store->Next(), ++i) {
        Check(rec->NativeRecord == connector.GetNative(i));
        checkRecord(*rec);
    }

    // Written back and read again, the native records come back the same: numbers bit for
    // bit, texts up to their terminator (a stored text may hold a zero byte, which ends it).
    Check(connector.SaveToFile());
    Open<Connector> again;
    again.SetFolder(folder.c_str());
    Check(again.LoadFromFile());
    Check(again.GetNativeCount() == connector.GetNativeCount());
    for (int n = 0; n < connector.GetNativeCount(); ++n) {
        fuzzsupport::CheckSameFields(connector.GetNative(n), again.GetNative(n), fields);
    }
    return 0;
}

} // namespace lnfuzz
