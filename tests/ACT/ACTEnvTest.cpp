#include "ACT/ACTEnv.h"

#include "common/TempHome.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

// Every case in a temporary home of its own, documents folder included.
class ACTEnvTest : public ::testing::Test
{
protected:
    fwtest::TempHome m_home;
};

// The ACT! database below the documents folder. Entries ending in '/' are folders.
struct ACTCase
{
    const char* name;
    std::vector<const char*> entries;
    const char* found; // below Documents; nullptr: none
};

void PrintTo(const ACTCase& c, std::ostream* os)
{
    *os << c.name;
}

const ACTCase kACTCases[] = {
    {"NoACTFolder", {"Other/Databases/x.pad"}, nullptr},
    {"EmptyACTFolder", {"ACT/"}, nullptr},
    {"Database", {"ACT/ACT for Windows/Databases/Demo.pad"}, "ACT/ACT for Windows/Databases/Demo.pad"},
    {"FirstFolderByName",
     {"ACT/Zeta/Databases/z.pad", "ACT/Alpha/Databases/a.pad"},
     "ACT/Alpha/Databases/a.pad"},
    {"OneCharacterNamesSkipped",
     {"ACT/A/Databases/a.pad", "ACT/Bb/Databases/b.pad"},
     "ACT/Bb/Databases/b.pad"},
    {"NamesEndingInDotSkipped",
     {"ACT/Aa./Databases/a.pad", "ACT/Bb/Databases/b.pad"},
     "ACT/Bb/Databases/b.pad"},
    {"FilesAreNotTheACTFolder", {"ACT/Aa.txt", "ACT/Bb/Databases/b.pad"}, "ACT/Bb/Databases/b.pad"},
    {"OnlyTheFirstFolderIsSearched", {"ACT/Aa/Databases/readme.txt", "ACT/Bb/Databases/b.pad"}, nullptr},
    {"NoDatabasesFolder", {"ACT/Aa/Data/a.pad"}, nullptr},
    {"FirstPadByName",
     {"ACT/Aa/Databases/c.pad", "ACT/Aa/Databases/b.pad", "ACT/Aa/Databases/a.txt"},
     "ACT/Aa/Databases/b.pad"},
    {"EndingInAnyCase", {"ACT/Aa/Databases/DEMO.PAD"}, "ACT/Aa/Databases/DEMO.PAD"},
    {"NotQuiteAPad", {"ACT/Aa/Databases/notpad", "ACT/Aa/Databases/x.pad2"}, nullptr},
    {"FoldersNamedPadSkipped",
     {"ACT/Aa/Databases/a.pad/", "ACT/Aa/Databases/b.pad"},
     "ACT/Aa/Databases/b.pad"},
};

class ACTEnvDatabaseTest : public ACTEnvTest, public ::testing::WithParamInterface<ACTCase>
{
};

TEST_P(ACTEnvDatabaseTest, FindsDatabase)
{
    const ACTCase& c = GetParam();
    for (const std::string entry : c.entries) {
        if (entry.back() == '/') {
            std::filesystem::create_directories(m_home.Documents() + "/" + entry);
        } else {
            m_home.WriteFile("Documents/" + entry, "");
        }
    }
    std::string path = "stale";
    EXPECT_EQ(GetDefaultACTDatabase(path), c.found != nullptr);
    EXPECT_EQ(path, c.found != nullptr ? m_home.Documents() + "/" + c.found : "");
}

INSTANTIATE_TEST_SUITE_P(Cases, ACTEnvDatabaseTest, ::testing::ValuesIn(kACTCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
