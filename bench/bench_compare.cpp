// Compare all of a source contact store against a target contact store: the indexed stores
// on 100,000 x 100,000 contacts, the plain walk on 10,000 x 10,000. Half of the source
// contacts stand for a target contact, and a tenth of those differ in a compare key.
// Filling the stores is not timed. A contact is about 14 kB: the large case holds about 3 GB,
// freed at the end of its benchmark.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchFloor.h"
#include "bench/CommLiteralSearch.h"
#include "misc/CommAddrMgr.h"

namespace {

const char* const g_first[] = {"Anna",  "Bernd", "Clara", "Dieter", "Eva",  "Frank", "Gerda", "Hans", "Ines",
                               "Jonas", "Karin", "Lukas", "Maria",  "Nils", "Olga",  "Paul",  "Rita", "Sven"};
const char* const g_last[] = {"Berg",   "Fischer", "Hoffmann", "Klein",   "Koch",
                              "Lange",  "Meyer",   "Neumann",  "Richter", "Schmidt",
                              "Schulz", "Wagner",  "Weber",    "Wolf",    "Zimmermann"};

void MakeContact(CommAddrRec& r, int id, std::mt19937& rng)
{
    r = CommAddrRec{};
    CopyText(r.FirstName, g_first[rng() % std::size(g_first)]);
    CopyText(r.LastName, g_last[rng() % std::size(g_last)]);
    CopyText(r.Email, "user" + std::to_string(id) + "@example.org");
    CopyText(r.HomePhone, "+49 30 " + std::to_string(rng() % 10000000));
    CopyText(r.MobilePhone, "+49 170 " + std::to_string(rng() % 10000000));
    CopyText(r.WorkPhone, "+49 40 " + std::to_string(rng() % 10000000));
    CopyText(r.Company, "Company " + std::to_string(rng() % 5000));
    CopyText(r.Title, "Manager");
    CopyText(r.WorkAddress.Street, std::to_string(rng() % 200) + " Market Street");
    CopyText(r.WorkAddress.City, "Hamburg");
    CopyText(r.WorkAddress.Postal, std::to_string(20000 + rng() % 2000));
    CopyText(r.WorkAddress.Country, "Germany");
    CopyText(r.Note, "Met at the trade fair.\r\nPrefers e-mail; follow up in spring.\r\nCustomer no. " +
                         std::to_string(id));
    r.SourceType = SourceLotusNotes;
}

struct Stores
{
    std::unique_ptr<CommAddrMgr> source = std::make_unique<CommAddrMgr>();
    std::unique_ptr<CommAddrMgr> target = std::make_unique<CommAddrMgr>();
};

Stores Build(int count)
{
    std::mt19937 rng(20240503);
    Stores s;
    auto r = std::make_unique<CommAddrRec>();
    std::vector<const CommAddrRec*> targets;
    for (int id = 0; id < count; ++id) {
        MakeContact(*r, id, rng);
        targets.push_back(s.target->Add(r.get()));
    }
    // Every other source contact is a copy of a target contact picked at random.
    std::vector<int> picks(static_cast<std::size_t>(count));
    std::iota(picks.begin(), picks.end(), 0);
    std::shuffle(picks.begin(), picks.end(), rng);
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0) {
            *r = *targets[static_cast<std::size_t>(picks[static_cast<std::size_t>(i / 2)])];
            if ((i / 2) % 10 == 0) {
                CopyText(r->WorkPhone, "+49 40 5550000");
            }
        } else {
            MakeContact(*r, count + i, rng);
        }
        r->SourceType = SourceOutlook;
        s.source->Add(r.get());
    }
    return s;
}

void CountStatuses(benchmark::State& state, CommAddrMgr& source)
{
    int counts[3] = {};
    for (CommAddrRec* r = source.First(); r != nullptr; r = source.Next()) {
        ++counts[r->Status];
    }
    state.counters["same"] = counts[MatchSame];
    state.counters["new"] = counts[MatchNew];
    state.counters["diff"] = counts[MatchDiff];
}

void BM_CompareAllIndexed(benchmark::State& state)
{
    Stores s = Build(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.source->CompareAll(s.target.get()));
    }
    CountStatuses(state, *s.source);
}

void BM_CompareAllWalk(benchmark::State& state)
{
    Stores s = Build(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(commliteral::CompareAll(*s.source, s.target.get()));
    }
    CountStatuses(state, *s.source);
}

// Loading: copying contacts into a store, which files each in the index. The floor is
// writing as many records into fresh memory (BenchFloor.h).
void BM_AddIndexed(benchmark::State& state)
{
    std::mt19937 rng(7);
    std::vector<CommAddrRec> contacts(static_cast<std::size_t>(state.range(0)));
    for (std::size_t i = 0; i < contacts.size(); ++i) {
        MakeContact(contacts[i], static_cast<int>(i), rng);
    }
    double figure = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto store = std::make_unique<CommAddrMgr>();
        for (const CommAddrRec& c : contacts) {
            store->Add(&c);
        }
        figure = benchfloor::Seconds(start);
        state.SetIterationTime(figure);
        store.reset();
    }
    benchfloor::ReportFloor(state, figure,
                            benchfloor::WriteRecordsSeconds(contacts.size(), sizeof(CommAddrRec)));
}

} // namespace

BENCHMARK(BM_CompareAllIndexed)->Arg(10000)->Arg(100000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareAllWalk)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddIndexed)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();
