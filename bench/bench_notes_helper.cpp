// Lotus Notes contacts through the real connector and the stand-in helper program: load
// 100,000 contacts from the helper's database, then submit 10,000 new ones (the search of
// each, the record file of 110,000 records, and the helper's one transaction). Filling the
// database is not timed. Peak memory is the resident peak of this process (the connector
// keeps every native and common record: about 26 kB a contact) and of the largest child; a
// child counts the parent's pages until it starts the helper, so after the load the
// helper's figure is only an upper bound.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "lotus/CxLNAddrUtil.h"
#include "notes/NotesStore.h"

namespace {

constexpr int kLoaded = 100000;
constexpr int kSubmitted = 10000;

template <std::size_t N> void Copy(char (&dest)[N], const std::string& text)
{
    std::snprintf(dest, N, "%s", text.c_str());
}

// A temporary home with a registered data folder holding an address book of kLoaded contacts.
class BenchHome
{
public:
    BenchHome()
    {
        char pattern[] = "/tmp/fw-bench-notes-XXXXXX";
        m_root = ::mkdtemp(pattern) != nullptr ? pattern : "";
        std::filesystem::create_directories(m_root + "/data");
        std::filesystem::create_directories(m_root + "/work");
        ::setenv("HOME", m_root.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (m_root + "/config").c_str(), 1);
        ::setenv("FERRYWISE_REGISTRY", (m_root + "/registry.ini").c_str(), 1);
        ::setenv("FERRYWISE_HELPER_DIR", FW_HELPER_DIR, 1);
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

    bool Ok() const { return m_ok; }
    std::string Work() const { return m_root + "/work/"; }

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
        for (int i = 0; i < kLoaded; ++i) {
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

    std::string m_root;
    bool m_ok = false;
};

BenchHome& Home()
{
    static BenchHome home;
    return home;
}

void Configure(CxLNAddrUtil& connector)
{
    ConnectorConfig config;
    config.dataFolder = Home().Work();
    config.logFolder = Home().Work();
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
    if (!Home().Ok()) {
        state.SkipWithError("cannot fill the address book");
        return;
    }
    // Made outside the timed loop: releasing the records is not part of the load.
    CxLNAddrUtil connector;
    Configure(connector);
    for (auto _ : state) {
        if (!connector.Load() || connector.HasError()) {
            state.SkipWithError(connector.ErrorText());
            break;
        }
    }
    state.counters["contacts"] = connector.GetAddrStore()->GetCount();
    ReportPeaks(state);
}

void BM_SubmitNewContacts(benchmark::State& state)
{
    if (!Home().Ok()) {
        state.SkipWithError("cannot fill the address book");
        return;
    }
    CxLNAddrUtil connector;
    Configure(connector);
    for (auto _ : state) {
        state.PauseTiming();
        if (!connector.Load() || connector.HasError()) {
            state.SkipWithError(connector.ErrorText());
            break;
        }
        auto rec = std::make_unique<CommAddrRec>();
        state.ResumeTiming();
        for (int i = 0; i < kSubmitted; ++i) {
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
    }
    state.counters["submitted"] = kSubmitted;
    ReportPeaks(state);
}

} // namespace

BENCHMARK(BM_LoadContacts)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SubmitNewContacts)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
