// The CRM record files ("SFAddr.dat" ... "DNNote.dat") read by their own connectors: the first
// byte of the input picks one of the twelve, the rest is its record file. The store and the
// native list stay parallel, and what the connector writes back reads again the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "Dynamics/CxDNAddrUtil.h"
#include "Dynamics/CxDNDateUtil.h"
#include "Dynamics/CxDNNoteUtil.h"
#include "Dynamics/CxDNTaskUtil.h"
#include "SalesForce/CxSFAddrUtil.h"
#include "SalesForce/CxSFDateUtil.h"
#include "SalesForce/CxSFNoteUtil.h"
#include "SalesForce/CxSFTaskUtil.h"
#include "SugarCRM/CxSGAddrUtil.h"
#include "SugarCRM/CxSGDateUtil.h"
#include "SugarCRM/CxSGNoteUtil.h"
#include "SugarCRM/CxSGTaskUtil.h"
#include "misc/CxDebugUtil.h"

namespace {

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

const std::string& Folder()
{
    static const std::string folder = [] {
        char pattern[] = "/tmp/fuzz_crm-XXXXXX";
        Check(mkdtemp(pattern) != nullptr);
        g_debugLog.SetLogFolder((std::string(pattern) + "/").c_str());
        g_debugLog.EnableLog(false);
        return std::string(pattern) + "/";
    }();
    return folder;
}

template <class Connector> struct Open : Connector
{
    using Connector::LoadFromFile;
    using Connector::SaveToFile;
};

template <class Connector> int Run(const std::uint8_t* data, std::size_t size)
{
    Open<Connector> connector;
    connector.SetFolder(Folder().c_str());
    std::FILE* out = std::fopen(connector.DataFilePath().c_str(), "wb");
    Check(out != nullptr);
    Check(size == 0 || std::fwrite(data, 1, size, out) == size);
    std::fclose(out);

    const bool loaded = connector.LoadFromFile();
    Check(static_cast<int>(connector.GetStore()->GetCount()) == connector.GetNativeCount());
    if (!loaded) {
        return 0;
    }
    // Every record takes at least its change mark and action.
    Check(static_cast<std::size_t>(connector.GetNativeCount()) <= size);
    int i = 0;
    for (auto* rec = connector.GetStore()->First(); rec != nullptr; rec = connector.GetStore()->Next(), ++i) {
        Check(rec->NativeRecord == connector.GetNative(i));
    }
    Check(connector.SaveToFile());
    Open<Connector> again;
    again.SetFolder(Folder().c_str());
    Check(again.LoadFromFile());
    Check(again.GetNativeCount() == connector.GetNativeCount());
    for (int n = 0; n < connector.GetNativeCount(); ++n) {
        for (const CxLayoutField& field : connector.Layout().fields) {
            Check(LayoutFieldText(field, connector.GetNative(n)) ==
                  LayoutFieldText(field, again.GetNative(n)));
        }
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    using RunFn = int (*)(const std::uint8_t*, std::size_t);
    static constexpr RunFn kRuns[] = {Run<CxSFAddrUtil>, Run<CxSFDateUtil>, Run<CxSFTaskUtil>,
                                      Run<CxSFNoteUtil>, Run<CxSGAddrUtil>, Run<CxSGDateUtil>,
                                      Run<CxSGTaskUtil>, Run<CxSGNoteUtil>, Run<CxDNAddrUtil>,
                                      Run<CxDNDateUtil>, Run<CxDNTaskUtil>, Run<CxDNNoteUtil>};
    return kRuns[data[0] % 12](data + 1, size - 1);
}
