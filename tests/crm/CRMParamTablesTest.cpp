// The parameter tables of the three CRM families, as a submit writes them to the parameter
// file: every entry a text, in the order of its table. One case per table.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Dynamics/CxDNAddrUtil.h"
#include "Dynamics/CxDNDateUtil.h"
#include "Dynamics/CxDNTaskUtil.h"
#include "SalesForce/CxSFDateUtil.h"
#include "SalesForce/CxSFNoteUtil.h"
#include "SugarCRM/CxSGAddrUtil.h"
#include "SugarCRM/CxSGDateUtil.h"
#include "common/TempHome.h"
#include "exchange/CxHelperLauncher.h"
#include "exchange/CxParamParser.h"

namespace {

class EndsAtOnce : public CxHelperLauncher
{
public:
    CxHelperRunResult Run(const std::vector<std::string>&, const std::string&, std::uint32_t,
                          const StartedFn& started) override
    {
        CxHelperRunResult result;
        result.started = true;
        result.ended = true;
        result.exitStatus = 0;
        result.processId = 1;
        started(result.processId);
        return result;
    }
    void Release() override {}
};

using Table = std::vector<std::pair<int, std::string>>;

ConnectorConfig Config(const std::string& folder)
{
    ConnectorConfig config;
    config.dataFolder = folder;
    config.logFolder = "/log/";
    config.logLevel = 2;
    config.enableDebug = true;
    config.hostName = "crm.example";
    config.organisation = "Org";
    config.userName = "me";
    config.password = "pw";
    config.token = "tok";
    config.authMode = 3;
    config.addrAccount = true;
    config.addrContact = false;
    config.addrLead = true;
    return config;
}

// Commits a connector once (dirty after construction, so the helper runs with command 2) and
// gives the parameter file it wrote.
template <class Connector>
CxParamParser Submitted(const std::string& folder, const std::function<void(Connector&)>& adjust = nullptr)
{
    Connector connector;
    connector.Configure(Config(folder));
    if (adjust) {
        adjust(connector);
    }
    connector.SetHelperLauncher(std::make_unique<EndsAtOnce>());
    EXPECT_TRUE(connector.Commit());
    CxParamParser params;
    EXPECT_TRUE(params.ReadParamFile(connector.ParamFilePath().c_str()));
    return params;
}

struct TableCase
{
    const char* name;
    std::function<CxParamParser(const std::string& folder)> params;
    std::function<Table(const std::string& folder)> expected;
};

const TableCase kTables[] = {
    {"SalesForce", [](const std::string& w) { return Submitted<CxSFNoteUtil>(w); },
     [](const std::string& w) {
         return Table{{1001, "me"},
                      {1002, "pw"},
                      {1003, "tok"},
                      {1004, "SFNote.dat"},
                      {1005, w},
                      {1006, "2"},
                      {1007, "SFNoteErr.dat"},
                      {1008, "SFNoteStatus.dat"},
                      {1009, "/log/"},
                      {1010, "appdebug.log"},
                      {1011, "2"},
                      {1012, "1"}};
     }},
    {"SalesForceCalendar",
     [](const std::string& w) {
         return Submitted<CxSFDateUtil>(w, [](CxSFDateUtil& c) { c.SetDateRange(40000.75, 40100.25); });
     },
     [](const std::string& w) {
         return Table{{1001, "me"},
                      {1002, "pw"},
                      {1003, "tok"},
                      {1004, "SFDate.dat"},
                      {1005, w},
                      {1006, "2"},
                      {1007, "SFDateErr.dat"},
                      {1008, "SFDateStatus.dat"},
                      {1009, "/log/"},
                      {1010, "appdebug.log"},
                      {1011, "2"},
                      {1012, "1"},
                      {1201, "40000"},
                      {1202, "40100"}};
     }},
    {"SugarCRM", [](const std::string& w) { return Submitted<CxSGAddrUtil>(w); },
     [](const std::string& w) {
         return Table{{1000, "crm.example"},
                      {1001, "me"},
                      {1002, "pw"},
                      {1003, "SGAddr.dat"},
                      {1004, w},
                      {1005, "2"},
                      {1006, "SGAddrErr.dat"},
                      {1007, "SGAddrStatus.dat"},
                      {1008, "/log/"},
                      {1009, "appdebug.log"},
                      {1010, "2"},
                      {1011, "1"}};
     }},
    {"SugarCRMCalendar", [](const std::string& w) { return Submitted<CxSGDateUtil>(w); },
     [](const std::string& w) {
         return Table{{1000, "crm.example"},
                      {1001, "me"},
                      {1002, "pw"},
                      {1003, "SGDate.dat"},
                      {1004, w},
                      {1005, "2"},
                      {1006, "SGDateErr.dat"},
                      {1007, "SGDateStatus.dat"},
                      {1008, "/log/"},
                      {1009, "appdebug.log"},
                      {1010, "2"},
                      {1011, "1"},
                      {1201, "0"},
                      {1202, "0"},
                      {1203, "1"},
                      {1204, "1"}};
     }},
    {"Dynamics", [](const std::string& w) { return Submitted<CxDNTaskUtil>(w); },
     [](const std::string& w) {
         return Table{{1000, "crm.example"},
                      {1001, "Org"},
                      {1011, "me"},
                      {1012, "pw"},
                      {1013, "3"},
                      {1002, "DNTask.dat"},
                      {1003, w},
                      {1004, "2"},
                      {1005, "DNTaskErr.dat"},
                      {1006, "DNTaskStatus.dat"},
                      {1007, "/log/"},
                      {1008, "appdebug.log"},
                      {1009, "2"},
                      {1010, "1"}};
     }},
    // Login and password are cut to 31 characters.
    {"DynamicsContacts",
     [](const std::string& w) {
         return Submitted<CxDNAddrUtil>(w, [](CxDNAddrUtil& c) {
             c.SetLogin(std::string(40, 'l').c_str());
             c.SetLoginPassword(std::string(40, 'p').c_str());
         });
     },
     [](const std::string& w) {
         return Table{{1000, "crm.example"},
                      {1001, "Org"},
                      {1011, std::string(31, 'l')},
                      {1012, std::string(31, 'p')},
                      {1013, "3"},
                      {1002, "DNAddr.dat"},
                      {1003, w},
                      {1004, "2"},
                      {1005, "DNAddrErr.dat"},
                      {1006, "DNAddrStatus.dat"},
                      {1007, "/log/"},
                      {1008, "appdebug.log"},
                      {1009, "2"},
                      {1010, "1"},
                      {1301, "1"},
                      {1302, "0"},
                      {1303, "1"}};
     }},
    {"DynamicsCalendar", [](const std::string& w) { return Submitted<CxDNDateUtil>(w); },
     [](const std::string& w) {
         return Table{{1000, "crm.example"},
                      {1001, "Org"},
                      {1011, "me"},
                      {1012, "pw"},
                      {1013, "3"},
                      {1002, "DNDate.dat"},
                      {1003, w},
                      {1004, "2"},
                      {1005, "DNDateErr.dat"},
                      {1006, "DNDateStatus.dat"},
                      {1007, "/log/"},
                      {1008, "appdebug.log"},
                      {1009, "2"},
                      {1010, "1"},
                      {1201, "0"},
                      {1202, "0"}};
     }},
};

class CRMParamTablesTest : public ::testing::TestWithParam<TableCase>
{
};

TEST_P(CRMParamTablesTest, WritesItsTableInOrderAllTexts)
{
    fwtest::TempHome home;
    home.WriteFile("work/.keep", "");
    const std::string folder = home.Path("work/");
    const CxParamParser params = GetParam().params(folder);
    const Table expected = GetParam().expected(folder);
    ASSERT_EQ(params.GetCount(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(params.Entries()[i].id, expected[i].first);
        EXPECT_EQ(params.Entries()[i].type, CxParamParser::TypeText);
        EXPECT_EQ(params.GetText(expected[i].first), expected[i].second);
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, CRMParamTablesTest, ::testing::ValuesIn(kTables),
                         [](const auto& info) { return std::string(info.param.name); });

// A date range out of the range of an integer is no range: it is written as 0.
TEST(CRMDateParamTest, GivesTheWholeNumberOfTheDateOrZero)
{
    const std::pair<double, const char*> cases[] = {{0.0, "0"},  {40000.99, "40000"}, {-2.5, "-2"},
                                                    {1e12, "0"}, {-1e12, "0"},        {std::nan(""), "0"}};
    for (const auto& [date, text] : cases) {
        EXPECT_EQ(CxCRMDateParam(date), text) << date;
    }
}

} // namespace
