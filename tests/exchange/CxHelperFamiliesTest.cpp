// The three families of helper-utility connectors differ only in their parameter tables.
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "exchange/CxACTBaseUtil.h"
#include "exchange/CxGAppBaseUtil.h"
#include "lotus/CxLNBaseUtil.h"
#include "misc/CommRecords.h"

namespace {

const CxHelperFiles kFiles = {"helper", "X.dat", "XParam.dat", "XErr.dat", "XStatus.dat", "X.ini"};
const CxHelperWords kWords = {"start", "done", "failed", nullptr, nullptr};

template <class Family> class Probe : public Family
{
public:
    template <class... Args> explicit Probe(Args... args) : Family(kFiles, kWords, args...)
    {
        ConnectorConfig config;
        config.dataFolder = "/w/";
        config.logFolder = "/l/";
        config.logLevel = 2;
        config.enableDebug = true;
        config.database = "db";
        config.idFile = "id";
        config.userName = "me";
        config.password = "pw";
        config.opportunities = true;
        config.opportunityNotes = false;
        this->Configure(config);
        this->SetCommand(CxHelperBaseUtil::CommandSubmit);
    }
    // The parameter table and the source type the family gives its records.
    std::pair<CxParamParser, int> Params()
    {
        CxParamParser params;
        this->FillParams_(params);
        return {params, this->GetSourceType()};
    }

protected:
    bool LoadFromFile() override { return true; }
    bool SaveToFile() override { return true; }
};

using Table = std::vector<std::pair<int, std::string>>;

struct FamilyCase
{
    const char* name;
    std::function<std::pair<CxParamParser, int>()> params;
    int sourceType;
    Table expected;
};

class CxHelperFamiliesTest : public ::testing::TestWithParam<FamilyCase>
{
};

TEST_P(CxHelperFamiliesTest, WritesItsTableInOrderAllTexts)
{
    const auto [params, sourceType] = GetParam().params();
    EXPECT_EQ(sourceType, GetParam().sourceType);
    const Table& expected = GetParam().expected;
    ASSERT_EQ(params.GetCount(), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(params.Entries()[i].id, expected[i].first);
        EXPECT_EQ(params.Entries()[i].type, CxParamParser::TypeText);
        EXPECT_EQ(params.GetText(expected[i].first), expected[i].second);
    }
}

INSTANTIATE_TEST_SUITE_P(Families, CxHelperFamiliesTest,
                         ::testing::Values(FamilyCase{"LotusNotesCalendar",
                                                      [] { return Probe<CxLNBaseUtil>().Params(); },
                                                      SourceLotusNotes,
                                                      {{1000, ""},
                                                       {1001, ""},
                                                       {1002, ""},
                                                       {1003, "X.dat"},
                                                       {1004, "/w/"},
                                                       {1005, "2"},
                                                       {1006, "XErr.dat"},
                                                       {1007, "XStatus.dat"},
                                                       {1008, "db"},
                                                       {1010, "/l/"},
                                                       {1011, "appdebug.log"},
                                                       {1012, "2"},
                                                       {1013, "1"},
                                                       {1014, "id"}}},
                                           FamilyCase{"GoogleContacts",
                                                      [] { return Probe<CxGAppBaseUtil>().Params(); },
                                                      SourceGoogle,
                                                      {{1000, "me"},
                                                       {1001, "pw"},
                                                       {1002, "X.dat"},
                                                       {1003, "/w/"},
                                                       {1005, "2"},
                                                       {1004, ""},
                                                       {1009, "XErr.dat"},
                                                       {1010, "XStatus.dat"},
                                                       {1013, "/l/"},
                                                       {1014, "appdebug.log"},
                                                       {1015, "2"},
                                                       {1016, "1"}}},
                                           FamilyCase{
                                               "GoogleCalendar",
                                               [] { return Probe<CxGAppBaseUtil>("GCal.dat").Params(); },
                                               SourceGoogle,
                                               {{1000, "me"},
                                                {1001, "pw"},
                                                {1002, "X.dat"},
                                                {1003, "/w/"},
                                                {1005, "2"},
                                                {1004, ""},
                                                {1006, ""},
                                                {1007, ""},
                                                {1008, "GCal.dat"},
                                                {1009, "XErr.dat"},
                                                {1010, "XStatus.dat"},
                                                {1013, "/l/"},
                                                {1014, "appdebug.log"},
                                                {1015, "2"},
                                                {1016, "1"}}},
                                           FamilyCase{"ACTContacts",
                                                      [] { return Probe<CxACTBaseUtil>().Params(); },
                                                      SourceACT,
                                                      {{1000, "db"},
                                                       {1001, "me"},
                                                       {1002, "pw"},
                                                       {1003, "X.dat"},
                                                       {1004, "/w/"},
                                                       {1005, "2"},
                                                       {1006, "XErr.dat"},
                                                       {1007, "XStatus.dat"},
                                                       {1012, "/l/"},
                                                       {1013, "appdebug.log"},
                                                       {1014, "2"},
                                                       {1015, "1"}}},
                                           FamilyCase{"ACTTasks",
                                                      [] { return Probe<CxACTBaseUtil>(true).Params(); },
                                                      SourceACT,
                                                      {{1000, "db"},
                                                       {1001, "me"},
                                                       {1002, "pw"},
                                                       {1003, "X.dat"},
                                                       {1004, "/w/"},
                                                       {1005, "2"},
                                                       {1006, "XErr.dat"},
                                                       {1007, "XStatus.dat"},
                                                       {1008, "1"},
                                                       {1009, "0"},
                                                       {1012, "/l/"},
                                                       {1013, "appdebug.log"},
                                                       {1014, "2"},
                                                       {1015, "1"}}}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
