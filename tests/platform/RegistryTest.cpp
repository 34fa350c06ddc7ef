#include "platform/Registry.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

#include "common/TempHome.h"

namespace {

using platform::QueryFileVersion;
using platform::RegistryHive;
using platform::RegQueryString;

const char* const kRegistry = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Lotus\\Notes]\r\n"
                              "Path=/opt/notes/\r\n"
                              "Empty=\r\n"
                              "@=default value\r\n"
                              "[HKEY_CURRENT_USER\\SOFTWARE\\Lotus\\Notes\\Installer]\r\n"
                              "DATADIR=/home/u/notes/data\r\n"
                              "[HKEY_LOCAL_MACHINE]\r\n"
                              "Root=top\r\n"
                              "[FileVersions]\r\n"
                              "/opt/notes/Notes.exe=9.0.1.0\r\n"
                              "/three=9.0.1\r\n"
                              "/one=7\r\n"
                              "/max=65535.65535.65535.65535\r\n"
                              "/zeros=009.00.0.1\r\n"
                              "/blanks=  1.2.3.4  \r\n"
                              "/big=65536.0.0.0\r\n"
                              "/huge=99999999999999999999.0\r\n"
                              "/gap=1..2\r\n"
                              "/trailing=1.2.3.\r\n"
                              "/five=1.2.3.4.5\r\n"
                              "/letters=a.b\r\n"
                              "/sign=-1.0\r\n"
                              "/inner=1. 2\r\n"
                              "/empty=\r\n";

class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { m_home.WriteFile("registry.ini", kRegistry); }
    fwtest::TempHome m_home;
};

TEST_F(RegistryTest, FilePathFollowsEnvironment)
{
    EXPECT_EQ(platform::RegistryFilePath(), m_home.RegistryFile());
    setenv("FERRYWISE_REGISTRY", "", 1);
    EXPECT_EQ(platform::RegistryFilePath(), m_home.ConfigHome() + "/corvane/registry.ini");
    unsetenv("FERRYWISE_REGISTRY");
    EXPECT_EQ(platform::RegistryFilePath(), m_home.ConfigHome() + "/corvane/registry.ini");
}

struct QueryCase
{
    const char* name;
    RegistryHive hive;
    const char* subKey;
    const char* valueName;
    std::uint32_t size;
    bool found;
    const char* expected;
};

void PrintTo(const QueryCase& c, std::ostream* os)
{
    *os << c.name;
}

class RegistryQueryTest : public RegistryTest, public ::testing::WithParamInterface<QueryCase>
{
};

TEST_P(RegistryQueryTest, ReadsValue)
{
    const QueryCase& c = GetParam();
    char out[64];
    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(RegQueryString(c.hive, c.subKey, c.valueName, out, c.size), c.found);
    EXPECT_STREQ(out, c.expected);
}

constexpr auto LM = RegistryHive::LocalMachine;
constexpr auto CU = RegistryHive::CurrentUser;

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryQueryTest,
    ::testing::Values(
        QueryCase{"LocalMachine", LM, "SOFTWARE\\Lotus\\Notes", "Path", 64, true, "/opt/notes/"},
        QueryCase{"CurrentUser", CU, "SOFTWARE\\Lotus\\Notes\\Installer", "DATADIR", 64, true,
                  "/home/u/notes/data"},
        QueryCase{"KeyPathIgnoresCase", LM, "software\\LOTUS\\notes", "path", 64, true, "/opt/notes/"},
        QueryCase{"OtherHive", CU, "SOFTWARE\\Lotus\\Notes", "Path", 64, false, ""},
        QueryCase{"MissingKey", LM, "SOFTWARE\\ACT\\Install", "InstallPath", 64, false, ""},
        QueryCase{"MissingValue", LM, "SOFTWARE\\Lotus\\Notes", "DATADIR", 64, false, ""},
        QueryCase{"EmptyValue", LM, "SOFTWARE\\Lotus\\Notes", "Empty", 64, true, ""},
        QueryCase{"EmptyValueInOneByte", LM, "SOFTWARE\\Lotus\\Notes", "Empty", 1, true, ""},
        QueryCase{"ExactFit", LM, "SOFTWARE\\Lotus\\Notes", "Path", 12, true, "/opt/notes/"},
        QueryCase{"NoRoomForTerminator", LM, "SOFTWARE\\Lotus\\Notes", "Path", 11, false, ""},
        QueryCase{"DefaultValueByNull", LM, "SOFTWARE\\Lotus\\Notes", nullptr, 64, true, "default value"},
        QueryCase{"DefaultValueByEmpty", LM, "SOFTWARE\\Lotus\\Notes", "", 64, true, "default value"},
        QueryCase{"HiveItself", LM, nullptr, "Root", 64, true, "top"},
        QueryCase{"NotASection", LM, "FileVersions", "/one", 64, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, SizeZeroOrNoBufferFails)
{
    char out[4] = {'a', 'b', 'c', 'd'};
    EXPECT_FALSE(RegQueryString(LM, "SOFTWARE\\Lotus\\Notes", "Empty", out, 0));
    EXPECT_EQ(std::string(out, 4), "abcd");
    EXPECT_FALSE(RegQueryString(LM, "SOFTWARE\\Lotus\\Notes", "Path", nullptr, 64));
}

TEST_F(RegistryTest, MissingFileFindsNothing)
{
    setenv("FERRYWISE_REGISTRY", m_home.Path("none.ini").c_str(), 1);
    char out[64];
    EXPECT_FALSE(RegQueryString(LM, "SOFTWARE\\Lotus\\Notes", "Path", out, sizeof out));
    EXPECT_STREQ(out, "");
    std::uint16_t version[4];
    EXPECT_FALSE(QueryFileVersion("/opt/notes/Notes.exe", version));
}

struct VersionCase
{
    const char* path;
    bool found;
    std::uint16_t expected[4];
};

class FileVersionTest : public RegistryTest, public ::testing::WithParamInterface<VersionCase>
{
};

TEST_P(FileVersionTest, ParsesRecordedVersion)
{
    const VersionCase& c = GetParam();
    std::uint16_t version[4] = {0xAAAA, 0xAAAA, 0xAAAA, 0xAAAA};
    EXPECT_EQ(QueryFileVersion(c.path, version), c.found) << (c.path ? c.path : "(null)");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(version[i], c.expected[i]) << "part " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FileVersionTest,
    ::testing::Values(VersionCase{"/opt/notes/Notes.exe", true, {9, 0, 1, 0}},
                      VersionCase{"/three", true, {9, 0, 1, 0}}, VersionCase{"/one", true, {7, 0, 0, 0}},
                      VersionCase{"/max", true, {65535, 65535, 65535, 65535}},
                      VersionCase{"/zeros", true, {9, 0, 0, 1}}, VersionCase{"/blanks", true, {1, 2, 3, 4}},
                      VersionCase{"/big", false, {0, 0, 0, 0}}, VersionCase{"/huge", false, {0, 0, 0, 0}},
                      VersionCase{"/gap", false, {0, 0, 0, 0}}, VersionCase{"/trailing", false, {0, 0, 0, 0}},
                      VersionCase{"/five", false, {0, 0, 0, 0}}, VersionCase{"/letters", false, {0, 0, 0, 0}},
                      VersionCase{"/sign", false, {0, 0, 0, 0}}, VersionCase{"/inner", false, {0, 0, 0, 0}},
                      VersionCase{"/empty", false, {0, 0, 0, 0}},
                      VersionCase{"/unknown", false, {0, 0, 0, 0}}, VersionCase{"", false, {0, 0, 0, 0}},
                      VersionCase{nullptr, false, {0, 0, 0, 0}}));

} // namespace
