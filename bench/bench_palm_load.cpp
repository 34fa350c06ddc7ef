// Loading Palm Desktop address books of 10,000 and 100,000 contacts: a classic one and a
// 4.1.x one, each with its own reader, and each through the contact front, which also
// converts every contact into the common store. A front prints its floor (BenchFloor.h): its
// reader's own time on the same file plus writing as many common records into fresh memory. The files are
// written once into a temporary folder (not timed, and by a child process). Counters: the records loaded, and
// the peak resident memory of the process before and after the benchmark (getrusage), in megabytes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <map>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "bench/BenchFloor.h"
#include "misc/CxDebugUtil.h"
#include "palm/PalmAddr.h"
#include "palm/PalmAddrEx.h"
#include "palm/PalmExFileWriter.h"
#include "palm/PalmInfo.h"

namespace {

const char* const g_first[] = {"Anna",  "Bernd", "Clara", "Dieter", "Eva",   "Frank",
                               "Gerda", "Hans",  "Ines",  "Jonas",  "Karin", "Lukas",
                               "Maria", "Nils",  "Olga",  "Paul",   "Rita",  "S\xF6ren"};
const char* const g_last[] = {"Berg",    "Fischer", "Hoffmann",  "Klein",   "Koch",
                              "Lange",   "Meyer",   "M\xFCller", "Neumann", "Richter",
                              "Schmidt", "Schulz",  "Wagner",    "Weber",   "Wolf"};
const char* const g_cities[] = {"Berlin", "Hamburg", "M\xFCnchen", "K\xF6ln", "Frankfurt", "Stuttgart"};

const std::vector<fwtest::PalmCategoryEntry> kCategories = {{1, 1, 0, "Business", "Business"},
                                                            {2, 2, 0, "Personal", "Personal"},
                                                            {3, 3, 0, "QuickList", "QuickList"}};

double MaxRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

std::string Phone(std::mt19937& rng, const char* prefix)
{
    return std::string(prefix) + std::to_string(1000000 + rng() % 9000000);
}

// A note for one contact in five, some of them long.
std::string Note(std::mt19937& rng, int id)
{
    if (id % 5 != 0) {
        return {};
    }
    std::string note = "Met at the trade fair in " + std::string(g_cities[rng() % std::size(g_cities)]) + ".";
    if (id % 25 == 0) {
        for (int i = 0; i < 12; ++i) {
            note += "\r\nFollow-up call about order " + std::to_string(rng() % 100000) + ".";
        }
    }
    return note;
}

// Classic address book: tag, file name, custom labels, categories, schema, 30 fields a contact.
void WriteClassic(const std::string& path, int count)
{
    std::mt19937 rng(7);
    fwtest::PalmFileWriter w;
    w.Int32(0x41420100).CString("C:\\Palm\\User\\address\\address.dat");
    w.CString("Birthday\nSpouse\nHobby\nCustom 4\n");
    w.CategoryBlock(128, kCategories);
    fwtest::PalmSchema schema;
    schema.resourceId = 74;
    schema.fieldsPerRow = 30;
    schema.fieldTypes = {1, 1, 1, 5, 5, 5, 5, 1, 5, 1, 5, 1, 5, 1, 5,
                         1, 5, 5, 5, 5, 5, 5, 5, 6, 1, 5, 5, 5, 5, 1};
    w.SchemaBlock(schema);
    w.UInt32(static_cast<std::uint32_t>(count) * 30);
    for (int id = 1; id <= count; ++id) {
        const std::string first = g_first[rng() % std::size(g_first)];
        const std::string last = g_last[rng() % std::size(g_last)];
        w.IntField(id).IntField(0).IntField(id);
        w.StringField(last).StringField(first).StringField(id % 3 == 0 ? "Manager" : "");
        w.StringField("Company " + std::to_string(rng() % 5000));
        const std::string phones[5] = {Phone(rng, "+49 30 "), Phone(rng, "+49 40 "), "", "",
                                       first + "." + last + std::to_string(id) + "@example.org"};
        const int labels[5] = {0, 1, 7, 3, 4};
        for (int p = 0; p < 5; ++p) {
            w.IntField(labels[p]).StringField(phones[p]);
        }
        w.StringField(std::to_string(rng() % 200) + " Market Street")
            .StringField(g_cities[rng() % std::size(g_cities)])
            .StringField("")
            .StringField(std::to_string(10000 + rng() % 80000))
            .StringField("Germany");
        w.StringField(Note(rng, id)).BoolField(id % 50 == 0).IntField(static_cast<std::int32_t>(rng() % 4));
        w.StringField(id % 7 == 0 ? "Gold" : "").StringField("").StringField("").StringField("").IntField(0);
    }
    w.WriteFile(path);
}

void WriteEx(const std::string& path, int count)
{
    std::mt19937 rng(11);
    std::vector<PmAddrExRec> contacts;
    contacts.reserve(count);
    for (int id = 1; id <= count; ++id) {
        PmAddrExRec r;
        r.recordId = id;
        r.int1 = 0x1000 + id;
        r.placement = id;
        r.categoryId = static_cast<std::int32_t>(rng() % 4);
        for (int b = 0; b < 4; ++b) {
            r.binary[static_cast<std::size_t>(b)].typeCode = 64 + b;
        }
        r.firstName = g_first[rng() % std::size(g_first)];
        r.lastName = g_last[rng() % std::size(g_last)];
        r.title = id % 3 == 0 ? "Manager" : "";
        r.company = "Company " + std::to_string(rng() % 5000);
        r.note = Note(rng, id);
        r.phones = {Phone(rng, "+49 30 "),
                    Phone(rng, "+49 40 "),
                    Phone(rng, "+49 170 "),
                    r.firstName + "." + r.lastName + std::to_string(id) + "@example.org",
                    "",
                    "",
                    ""};
        r.phoneLabels = {0, 1, 7, 4, 2, 3, 5};
        r.customs[0] = id % 7 == 0 ? "Gold" : "";
        r.addresses[0] = {
            0,  std::to_string(rng() % 200) + " Market Street", g_cities[rng() % std::size(g_cities)],
            "", std::to_string(10000 + rng() % 80000),          "Germany"};
        if (id % 4 == 0) {
            r.addresses[1] = {1,        "Gartenweg " + std::to_string(rng() % 50), "Potsdam", "BB", "14467",
                              "Germany"};
        }
        r.ims[0] = id % 10 == 0 ? "im" + std::to_string(id) : "";
        r.imLabels[0] = id % 10 == 0 ? 1 : 0;
        r.birthday = id % 3 == 0 ? 129080608.0 + 20000 + rng() % 10000 : 0;
        contacts.push_back(std::move(r));
    }
    fwtest::PalmExFileOptions options;
    options.categories = kCategories;
    options.customLabels = {"Birthday", "Spouse", "Hobby"};
    options.fileName = "C:\\Palm\\User\\address\\address.dat";
    fwtest::PalmExFileWriter w;
    w.File(contacts, options);
    w.WriteFile(path);
}

struct Files
{
    std::string folder;
    std::string classic;
    std::string ex;
};

Files MakeFiles(int count)
{
    {
        char pattern[] = "/tmp/bench_palm_load-XXXXXX";
        const char* folder = mkdtemp(pattern);
        if (folder == nullptr) {
            std::abort();
        }
        Files f{folder, std::string(folder) + "/classic.dat", std::string(folder) + "/ex.dat"};
        // The diagnostic log goes with the files; only failures would be written.
        g_debugLog.SetLogFolder((f.folder + "/").c_str());
        g_debugLog.EnableLog(false);
        // Written by a child process, so that building them leaves no mark on this process's
        // peak memory.
        const pid_t child = fork();
        if (child == 0) {
            WriteClassic(f.classic, count);
            WriteEx(f.ex, count);
            _exit(0);
        }
        int status = 0;
        if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            std::abort();
        }
        // A plain copy of the folder's name: at exit the static strings may be gone already.
        static char removeAtExit[2][4096];
        static int made = 0;
        std::snprintf(removeAtExit[made], sizeof removeAtExit[made], "%s", folder);
        if (made++ == 0) {
            std::atexit([] {
                std::filesystem::remove_all(removeAtExit[0]);
                if (removeAtExit[1][0] != '\0') {
                    std::filesystem::remove_all(removeAtExit[1]);
                }
            });
        }
        return f;
    }
}

const Files& TheFiles(int count)
{
    static std::map<int, Files> files;
    auto found = files.find(count);
    if (found == files.end()) {
        found = files.emplace(count, MakeFiles(count)).first;
    }
    return found->second;
}

template <class Util> void LoadWithReader(benchmark::State& state, const std::string& path)
{
    const double before = MaxRssMegabytes();
    std::size_t records = 0;
    for (auto _ : state) {
        Util util;
        if (!util.Load(path)) {
            state.SkipWithError("load failed");
            return;
        }
        records = util.GetRecords().size();
        benchmark::DoNotOptimize(records);
    }
    state.counters["records"] = static_cast<double>(records);
    state.counters["maxrss_before_MB"] = before;
    state.counters["maxrss_after_MB"] = MaxRssMegabytes();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(records));
}

template <class Util> double ReaderSeconds(const std::string& path)
{
    Util util;
    const auto start = std::chrono::steady_clock::now();
    util.Load(path);
    return benchfloor::Seconds(start);
}

template <class Util> void LoadWithFront(benchmark::State& state, const std::string& path, int generation)
{
    const double before = MaxRssMegabytes();
    int records = 0;
    std::vector<double> figures;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        {
            PmAddrInfo info;
            if (!info.LoadByFile(path) || info.GetLoadedGeneration() != generation) {
                state.SkipWithError("load failed");
                return;
            }
            records = info.GetStore()->GetCount();
            benchmark::DoNotOptimize(records);
            figures.push_back(benchfloor::Seconds(start));
        }
        state.SetIterationTime(figures.back());
    }
    std::sort(figures.begin(), figures.end());
    const double floor =
        ReaderSeconds<Util>(path) +
        benchfloor::WriteRecordsSeconds(static_cast<std::size_t>(records), sizeof(CommAddrRec));
    benchfloor::ReportFloor(state, figures[figures.size() / 2], floor);
    state.counters["records"] = records;
    state.counters["maxrss_before_MB"] = before;
    state.counters["maxrss_after_MB"] = MaxRssMegabytes();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * records);
}

int Count(const benchmark::State& state)
{
    return static_cast<int>(state.range(0));
}
void BM_ClassicReader(benchmark::State& state)
{
    LoadWithReader<PmAddrUtil>(state, TheFiles(Count(state)).classic);
}
void BM_ExReader(benchmark::State& state)
{
    LoadWithReader<PmAddrExUtil>(state, TheFiles(Count(state)).ex);
}
void BM_ClassicFront(benchmark::State& state)
{
    LoadWithFront<PmAddrUtil>(state, TheFiles(Count(state)).classic, kPmClassic);
}
void BM_ExFront(benchmark::State& state)
{
    LoadWithFront<PmAddrExUtil>(state, TheFiles(Count(state)).ex, kPmEx);
}

// The readers first, so that their peak memory is measured before the fronts' larger one.
BENCHMARK(BM_ClassicReader)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExReader)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClassicFront)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseManualTime();
BENCHMARK(BM_ExFront)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace
