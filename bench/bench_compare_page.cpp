// Filling a comparison page: 100,000 compared contacts from the source connector's store
// into the contacts list, with the page shown on the offscreen platform.
#include <benchmark/benchmark.h>
#include <filesystem>

#include <QApplication>
#include <QTreeView>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "misc/Settings.h"
#include "ui/CompareModel.h"
#include "ui/TfmOLData.h"

namespace {

constexpr int kContacts = 100000;

class ContactSource : public CxConnector
{
public:
    bool Load() override
    {
        CommAddrRec r;
        for (int i = 0; i < kContacts; ++i) {
            std::memset(&r, 0, sizeof r);
            std::snprintf(r.DisplayName, sizeof r.DisplayName, "Contact %06d", i);
            std::snprintf(r.FirstName, sizeof r.FirstName, "First%06d", i);
            std::snprintf(r.Email, sizeof r.Email, "contact%06d@example.org", i);
            std::snprintf(r.PrimaryPhone, sizeof r.PrimaryPhone, "+49 30 %06d", i);
            std::strcpy(r.Company, "Example Ltd");
            std::strcpy(r.Title, "Buyer");
            r.Status = i % 3; // Same, New, Diff in turn
            m_store.Add(&r);
        }
        return true;
    }
    void Clear() override { m_store.Clear(); }
    void Configure(const ConnectorConfig&) override {}
    CommAddrMgr* GetAddrStore() override { return &m_store; }

private:
    CommAddrMgr m_store;
};

void BM_FillContactsPage(benchmark::State& state)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int argc = 1;
    char name[] = "bench_compare_page";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);

    // The session's settings and working folder live in a folder of their own, not the user's.
    char home[] = "/tmp/bench_compare_page.XXXXXX";
    if (mkdtemp(home) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    setenv("XDG_CONFIG_HOME", home, 1);
    fwtest::RegisterConnector(kAppOutlook, kDataContacts, [] { return std::make_unique<ContactSource>(); });
    BeginSession(fwtest::TestApps());
    CxConnector* source = ConnectorRegistry::Instance().GetOrCreate(kAppOutlook, kDataContacts);
    source->Load();
    FWSettings& settings = g_Settings();
    settings.SyncAddr = true;
    settings.SyncDate = settings.SyncTask = settings.SyncNote = false;
    settings.NewColor = 0x8000;
    settings.DiffColor = 0xFF0000;
    settings.SameColor = 0;

    TfmOLData page;
    page.resize(700, 450);
    page.show();
    QApplication::processEvents();
    for (auto _ : state) {
        page.EnterPage();
        // The first screenful is laid out and painted, as the user would see it.
        page.repaint();
        QApplication::processEvents();
        benchmark::DoNotOptimize(page.GetModel(kDataContacts)->rowCount());
    }
    if (page.GetModel(kDataContacts)->rowCount() != kContacts) {
        state.SkipWithError("the page did not show every contact");
    }
    state.counters["rows"] = kContacts;
    EndSession(false);
    fwtest::UnregisterAllConnectors();
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_FillContactsPage)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
