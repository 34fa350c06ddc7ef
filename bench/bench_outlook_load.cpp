// Loading the contacts and the calendar of an Outlook data file through the Outlook
// connectors and the data-file server, as ferrywise-cli and the wizard do: the largest of the
// shared sample files (an OST of 16 MB) and the largest PST. Each iteration opens the file
// anew (the session starts with the first connector and ends with the last).
// Counters: the records loaded, and the peak resident memory of the process after the
// benchmark (getrusage), in megabytes. Skipped when the shared samples are not there.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/resource.h>

#include "misc/CxAppDescriptor.h"
#include "misc/CxConnector.h"
#include "misc/CxStoreVisit.h"
#include "misc/Settings.h"
#include "outlook/OlDataFileApp.h"

namespace {

double MaxRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void LoadContactsAndCalendar(benchmark::State& state, const char* sample)
{
    const std::string path = std::string(FW_SHARED_DIR) + "/samples/pst/" + sample;
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("the shared Outlook samples are not there");
        return;
    }
    FWSettings& settings = g_Settings();
    std::snprintf(settings.OLDataFile, sizeof settings.OLDataFile, "%s", path.c_str());
    settings.OLPasswordText[0] = '\0';
    OutlookDataFile outlook;
    CxAppRegistry apps;
    outlook.AddTo(apps);
    long records = 0;
    for (auto _ : state) {
        std::unique_ptr<CxConnector> contacts = apps.Create(kAppOutlook, kDataContacts);
        std::unique_ptr<CxConnector> calendar = apps.Create(kAppOutlook, kDataCalendar);
        if (!contacts || !calendar || !contacts->Load() || !calendar->Load()) {
            state.SkipWithError("the file did not load");
            return;
        }
        records = contacts->GetAddrStore()->GetCount() + calendar->GetDateStore()->GetCount();
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["peak_MB"] = MaxRssMegabytes();
}

} // namespace

BENCHMARK_CAPTURE(LoadContactsAndCalendar, ost_16MB, "pst-extractor__mtnman1965@outlook.com.ost")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(LoadContactsAndCalendar, pst_3MB, "aspose-net__Outlook.pst")->Unit(benchmark::kMillisecond);
