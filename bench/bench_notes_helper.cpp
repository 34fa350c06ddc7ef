// Lotus Notes contacts through the real connector and the stand-in helper program: load
// 10,000 and 100,000 contacts from the helper's database, then submit a tenth as many new
// ones (the search of each, the record file of all of them, and the helper's one
// transaction). Filling the database is not timed. Each prints its floor (BenchFloor.h):
// writing as many common records into fresh memory and reading the record file once. Peak memory is the
// resident peak of this process (the connector keeps every native and common record: about 26 kB a contact)
// and of the largest child; a child counts the parent's pages until it starts the helper, so after the load
// the helper's figure is only an upper bound.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "bench/BenchFloor.h"
#include "lotus/CxLNAddrUtil.h"
#include "lotus/LNProtocol.h"
#include "notes/NotesStore.h"

namespace {

template <std::size_t N> void Copy(char (&dest)[N], const std::string& text)
{
    std::snprintf(dest, N, "%s", text.c_str());
}

// A temporary home with a registered data folder holding an address book of count contacts.
class BenchHome
{
public:
    explicit BenchHome(int count) : m_count(count)
    {
        char pattern[] = "/tmp/fw-bench-notes-XXXXXX";
        m_root = ::mkdtemp(pattern) != nullptr ? pattern : "";
        std::filesystem::create_directories(m_root + "/data");
        std::filesystem::create_directories(m_root + "/work");
        Activate();
        std::FILE* registry = std::fopen((m_root + "/registry.ini").c_str(), "wb");
        if (registry != nullptr) {
            std::fprintf(registry,
                         "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\nDATADIR=%s/data/\r\n",
                         m_root.c_str());
            std::fclose(registry);
        }
        m_ok = Fill();
    }
    ~BenchHome() { std::filesystem::remove_all(m_root); }

    // This home becomes the process's: its registry and settings.
    void Activate() const
    {
        ::setenv("HOME", m_root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
        ::setenv("FERRYWISE_REGISTRY", (m_root + "/registry.ini").c_str(), 1);
        ::setenv("FERRYWISE_HELPER_DIR", FW_HELPER_DIR, 1);
    }
    bool Ok() const { return m_ok; }
    std::string Work() const { return m_root + "/work/"; }
    std::string RecordFile() const { return Work() + LNAddrExchange.files.dataFile; }

private:
    bool Fill()
    {
        std::string path = m_root + "/data/names.nsf";
        std::string error;
        NotesStore store;
        if (!NotesStore::Create(path, error) || !store.Open(path, error) ||
            !store.BeginWrite(NotesItemKind::Contacts, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        auto rec = std::make_unique<LNAddrRec>();
        for (int i = 0; i < m_count; ++i) {
            *rec = LNAddrRec{};
            Copy(rec->FirstName, "First" + std::to_string(i % 977));
            Copy(rec->LastName, "Last" + std::to_string(i));
            Copy(rec->Company, "Company " + std::to_string(i % 5000));
            Copy(rec->JobTitle, "Manager");
            Copy(rec->BusinessEmail, "user" + std::to_string(i) + "@example.org");
            Copy(rec->BusinessPhone, "+49 40 " + std::to_string(1000000 + i));
            Copy(rec->MobilePhone, "+49 170 " + std::to_string(2000000 + i));
            Copy(rec->BusinessStreet, std::to_string(i % 200) + " Market Street");
            Copy(rec->BusinessCity, "Hamburg");
            Copy(rec->BusinessCountry, "Germany");
            Copy(rec->Note,
                 "Met at the trade fair; prefers e-mail. Customer number " + std::to_string(i) + ".");
            rec->BirthDate = 25000.0 + i % 10000;
            if (!store.Insert(rec.get(), nullptr, error)) {
                std::fprintf(stderr, "%s\n", error.c_str());
                return false;
            }
        }
        return store.CommitWrite(error);
    }

    int m_count;
    std::string m_root;
    bool m_ok = false;
};

BenchHome& Home(int count)
{
    static std::map<int, std::unique_ptr<BenchHome>> homes;
    auto& home = homes[count];
    if (!home) {
        home = std::make_unique<BenchHome>(count);
    }
    home->Activate();
    return *home;
}

void Configure(CxLNAddrUtil& connector, const BenchHome& home)
{
    ConnectorConfig config;
    config.dataFolder = home.Work();
    config.logFolder = home.Work();
    config.database = "names.nsf";
    connector.Configure(config);
}

void ReportPeaks(benchmark::State& state)
{
    rusage self{};
    rusage children{};
    ::getrusage(RUSAGE_SELF, &self);
    ::getrusage(RUSAGE_CHILDREN, &children);
    state.counters["peak_MB_program"] = static_cast<double>(self.ru_maxrss) / 1024.0;
    state.counters["peak_MB_helper"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}

void BM_LoadContacts(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    BenchHome& home = Home(count);
    if (!home.Ok()) {
        state.SkipWithError("cannot fill the address book");
        return;
    }
    // Made outside the timed loop: releasing the records is not part of the load.
    CxLNAddrUtil connector;
    Configure(connector, home);
    double figure = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (!connector.Load() || connector.HasError()) {
            state.SkipWithError(connector.ErrorText());
            break;
        }
        figure = benchfloor::Seconds(start);
        state.SetIterationTime(figure);
    }
    state.counters["contacts"] = connector.GetAddrStore()->GetCount();
    ReportPeaks(state);
    const double floor =
        benchfloor::ReadFileSeconds(home.RecordFile()) +
        benchfloor::WriteRecordsSeconds(static_cast<std::size_t>(count), sizeof(CommAddrRec));
    benchfloor::ReportFloor(state, figure, floor);
}

void BM_SubmitNewContacts(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const int submitted = count / 10;
    BenchHome& home = Home(count);
    if (!home.Ok()) {
        state.SkipWithError("cannot fill the address book");
        return;
    }
    CxLNAddrUtil connector;
    Configure(connector, home);
    double figure = 0;
    for (auto _ : state) {
        if (!connector.Load() || connector.HasError()) {
            state.SkipWithError(connector.ErrorText());
            break;
        }
        auto rec = std::make_unique<CommAddrRec>();
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < submitted; ++i) {
            *rec = CommAddrRec{};
            Copy(rec->FirstName, "New" + std::to_string(i));
            Copy(rec->LastName, "Contact" + std::to_string(i));
            Copy(rec->Email, "new" + std::to_string(i) + "@example.org");
            Copy(rec->Company, "Source Ltd");
            connector.SubmitRecord(*rec, false);
        }
        if (!connector.Commit() || connector.HasError()) {
            state.SkipWithError(connector.ErrorText());
            break;
        }
        figure = benchfloor::Seconds(start);
        state.SetIterationTime(figure);
    }
    state.counters["submitted"] = submitted;
    ReportPeaks(state);
    const double floor =
        benchfloor::ReadFileSeconds(home.RecordFile()) +
        benchfloor::WriteRecordsSeconds(static_cast<std::size_t>(submitted), sizeof(CommAddrRec));
    benchfloor::ReportFloor(state, figure, floor);
}

} // namespace

BENCHMARK(BM_LoadContacts)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
BENCHMARK(BM_SubmitNewContacts)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
