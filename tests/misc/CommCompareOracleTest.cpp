// The indexed stores against the plain walk, on randomised stores full of near-duplicates:
// letter case, CR and LF inside and at the end, empty keys, full fields without terminator,
// bytes left after a terminator, the same day at other times. Every search must give the same
// result, the same record and index and leave the cursor in the same place; compare all the
// same statuses. Then the target store is updated, changed in place and refilled, and all is
// checked again.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "../bench/CommLiteralSearch.h"

namespace {

using Rng = std::mt19937;

const char* const g_names[] = {"",   "anna", "ANNA",  "Anna\r\n", "An\r\nna", "anna\n", "\r\n",
                               "\n", "bob",  "Bob\r", "\xe4nne",  "\xc4NNE",  "b\nob"};
const char* const g_mails[] = {"", "a@x.org", "A@X.ORG", "a@x.org\r\n", "a@x\n.org", "b@x.org"};
const char* const g_details[] = {"", "1", "1\n", "\r\n1", "2", "x", "X", "x\r\n"};
const char* const g_notes[] = {"", "a\r\nb", "ab", "AB\n", "ab\r\n", "a\nb\n", "\r\n", "\n\nab"};
const char* const g_subjects[] = {"", "meet", "MEET", "meet\r\n", "Meet ", "call"};
const char* const g_places[] = {"", "room", "ROOM", "room\n", "hall"};

int Pick(Rng& rng, int n)
{
    return static_cast<int>(rng() % static_cast<unsigned>(n));
}

// A text from the pool; now and then a field filled to the brim without a terminator, or
// leftovers behind the terminator that no comparison may look at.
void Put(std::span<char> field, Rng& rng, std::span<const char* const> pool)
{
    std::memset(field.data(), 0, field.size());
    const int pick = Pick(rng, static_cast<int>(pool.size()) + 2);
    if (pick >= static_cast<int>(pool.size())) {
        std::memset(field.data(), pick == static_cast<int>(pool.size()) ? 'z' : 'Z', field.size());
        if (Pick(rng, 2) == 0) {
            field.back() = 'y'; // agrees with the others only where a comparison stops early
        }
        return;
    }
    const std::size_t length = std::min(std::strlen(pool[pick]), field.size() - 1);
    std::memcpy(field.data(), pool[pick], length);
    if (Pick(rng, 4) == 0) {
        for (std::size_t i = length + 1; i < field.size() && i < length + 6; ++i) {
            field[i] = "\r\nxX"[Pick(rng, 4)];
        }
    }
}

SYSTEMTIME Day(Rng& rng)
{
    SYSTEMTIME t{};
    t.wYear = 2024;
    t.wMonth = static_cast<WORD>(5 + Pick(rng, 2));
    t.wDay = static_cast<WORD>(1 + Pick(rng, 2));
    t.wHour = static_cast<WORD>(Pick(rng, 24));
    t.wMinute = static_cast<WORD>(Pick(rng, 60));
    t.wDayOfWeek = static_cast<WORD>(Pick(rng, 7));
    return t;
}

// One key field of each record type chosen anew: a near-duplicate of the record.
void Mutate(CommAddrRec& r, Rng& rng)
{
    const int which = Pick(rng, 6);
    if (which == 0) {
        Put(r.FirstName, rng, g_names);
    } else if (which == 1) {
        Put(r.LastName, rng, g_names);
    } else if (which == 2) {
        Put(r.Email, rng, g_mails);
    } else if (which == 3) {
        Put(r.Note, rng, g_notes);
    } else {
        const int key = commliteral::AddrCompare[Pick(rng, std::size(commliteral::AddrCompare))];
        commliteral::Field f{};
        commliteral::AddrField(r, key, f);
        Put({const_cast<char*>(f.text), f.capacity}, rng, g_details);
    }
}

void Mutate(CommDateRec& r, Rng& rng)
{
    switch (Pick(rng, 5)) {
    case 0:
        Put(r.Subject, rng, g_subjects);
        break;
    case 1:
        r.Start = Day(rng);
        break;
    case 2:
        r.End = Day(rng);
        break;
    case 3:
        r.AllDay = Pick(rng, 2);
        break;
    default:
        Put(r.Location, rng, g_places);
        break;
    }
}

void Mutate(CommTaskRec& r, Rng& rng)
{
    switch (Pick(rng, 4)) {
    case 0:
        Put(r.Subject, rng, g_subjects);
        break;
    case 1:
        r.Priority = Pick(rng, 3);
        break;
    case 2:
        r.Completed = static_cast<std::uint8_t>(Pick(rng, 2));
        break;
    default:
        r.DueDate = Pick(rng, 3) * 86400;
        break;
    }
}

void Mutate(CommNoteRec& r, Rng& rng)
{
    if (Pick(rng, 2) == 0) {
        Put(r.Title, rng, g_subjects);
    } else {
        Put(r.Body, rng, g_notes);
    }
}

template <class Rec> Rec Random(Rng& rng)
{
    Rec r{};
    for (int i = 0; i < 12; ++i) {
        Mutate(r, rng);
    }
    return r;
}

// Mostly near-duplicates of records made before, some exact copies, some fresh ones.
template <class Rec> Rec Next(std::vector<Rec>& made, Rng& rng)
{
    Rec r = made.empty() || Pick(rng, 4) == 0
                ? Random<Rec>(rng)
                : made[static_cast<std::size_t>(Pick(rng, static_cast<int>(made.size())))];
    for (int changes = Pick(rng, 3); changes > 0; --changes) {
        Mutate(r, rng);
    }
    made.push_back(r);
    return r;
}

template <class Mgr> class CommCompareOracleTest : public ::testing::Test
{
protected:
    using Rec = typename Mgr::Record;

    // Searches every record of probes (and every record of the target itself) both ways.
    void CheckSearches(Mgr& target, const std::vector<const Rec*>& probes, const char* stage)
    {
        std::vector<const Rec*> all = probes;
        for (Rec* r = target.First(); r != nullptr; r = target.Next()) {
            all.push_back(r);
        }
        for (std::size_t i = 0; i < all.size(); ++i) {
            Rec* indexedFound = nullptr;
            int indexedIndex = -7;
            const int indexed = target.Search(all[i], &indexedFound, &indexedIndex);
            const Rec* indexedCursor = target.Next();
            Rec* walkFound = nullptr;
            int walkIndex = -7;
            const int walk = commliteral::Search(target, all[i], &walkFound, &walkIndex);
            const Rec* walkCursor = target.Next();
            if (indexed != walk || indexedFound != walkFound || indexedIndex != walkIndex ||
                indexedCursor != walkCursor) {
                std::ostringstream what;
                what << stage << ", record " << i << (i >= probes.size() ? " (the target's own)" : "")
                     << ": indexed " << indexed << " at " << indexedIndex << ", walk " << walk << " at "
                     << walkIndex << (indexedFound != walkFound ? ", other record" : "")
                     << (indexedCursor != walkCursor ? ", other cursor" : "");
                m_failures.push_back(what.str());
            }
        }
    }

    void CheckCompareAll(Mgr& source, Mgr& target, const char* stage)
    {
        source.CompareAll(&target);
        std::vector<int> indexed;
        for (Rec* r = source.First(); r != nullptr; r = source.Next()) {
            indexed.push_back(r->Status);
            r->Status = -1;
        }
        commliteral::CompareAll(source, &target);
        std::vector<int> walk;
        for (Rec* r = source.First(); r != nullptr; r = source.Next()) {
            walk.push_back(r->Status);
        }
        if (indexed != walk) {
            m_failures.push_back(std::string(stage) + ": compare all differs");
        }
    }

    void RunSeed(unsigned seed, int targetCount, int sourceCount)
    {
        Rng rng(seed);
        std::vector<Rec> made;
        Mgr target;
        Mgr source;
        for (int i = 0; i < targetCount; ++i) {
            Rec r = Next(made, rng);
            target.Add(&r);
        }
        std::vector<const Rec*> probes;
        for (int i = 0; i < sourceCount; ++i) {
            Rec r = Next(made, rng);
            probes.push_back(source.Add(&r));
        }
        CheckSearches(target, probes, "loaded");
        CheckCompareAll(source, target, "loaded");

        for (int round = 0; round < 3 && targetCount > 0; ++round) {
            for (int k = 0; k < 8; ++k) {
                Rec given = Next(made, rng);
                target.Update(&given, Pick(rng, targetCount));
            }
            // Compare all reuses the hashes the source filed its records with.
            for (int k = 0; k < 2 && sourceCount > 0; ++k) {
                Rec given = Next(made, rng);
                source.Update(&given, Pick(rng, sourceCount));
            }
            CheckSearches(target, probes, "updated");
            CheckCompareAll(source, target, "updated");
        }

        if (targetCount > 0) {
            // Written in place, then filed again.
            const int at = Pick(rng, targetCount);
            Rec* stored = target.First();
            for (int i = 0; i < at; ++i) {
                stored = target.Next();
            }
            Mutate(*stored, rng);
            Mutate(*stored, rng);
            target.Reindex(at);
            CheckSearches(target, probes, "changed in place");
        }

        target.Clear();
        for (int i = 0; i < targetCount / 2; ++i) {
            Rec r = Next(made, rng);
            target.Add(&r);
        }
        CheckSearches(target, probes, "refilled");
        CheckCompareAll(source, target, "refilled");
    }

    std::vector<std::string> m_failures;
};

using Stores = ::testing::Types<CommAddrMgr, CommDateMgr, CommTaskMgr, CommNoteMgr>;
TYPED_TEST_SUITE(CommCompareOracleTest, Stores);

TYPED_TEST(CommCompareOracleTest, IndexedSearchEqualsTheWalk)
{
    struct Run
    {
        unsigned seed;
        int targets;
        int sources;
    };
    const Run runs[] = {{1, 0, 5},   {2, 1, 5},   {3, 6, 6},    {4, 60, 60},
                        {5, 60, 60}, {6, 60, 60}, {7, 150, 80}, {8, 150, 80}};
    for (const Run& run : runs) {
        SCOPED_TRACE("seed " + std::to_string(run.seed));
        this->m_failures.clear();
        this->RunSeed(run.seed, run.targets, run.sources);
        EXPECT_TRUE(this->m_failures.empty())
            << this->m_failures.size()
            << " differences, the first: " << (this->m_failures.empty() ? "" : this->m_failures.front());
    }
}

} // namespace
