// The salesforce, SugarCRM and Dynamics CRM connectors over their record files, without a real
// helper: each connector is given a launcher whose helper ends at once, having put the record
// file staged for it (if any) into the working folder. Their parameter tables, the load and
// the submit with their log lines, and the record layouts they share with the helpers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "Dynamics/CxDNAddrUtil.h"
#include "Dynamics/CxDNDateUtil.h"
#include "Dynamics/CxDNNoteUtil.h"
#include "Dynamics/CxDNTaskUtil.h"
#include "Dynamics/DNApp.h"
#include "SalesForce/CxSFAddrUtil.h"
#include "SalesForce/CxSFDateUtil.h"
#include "SalesForce/CxSFNoteUtil.h"
#include "SalesForce/CxSFTaskUtil.h"
#include "SalesForce/SFApp.h"
#include "SugarCRM/CxSGAddrUtil.h"
#include "SugarCRM/CxSGDateUtil.h"
#include "SugarCRM/CxSGNoteUtil.h"
#include "SugarCRM/CxSGTaskUtil.h"
#include "SugarCRM/SGApp.h"
#include "common/LogLines.h"
#include "common/TempHome.h"
#include "exchange/CxHelperLauncher.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"

namespace {

// The helper's stand-in: it ends at once, having moved the staged record file (if any) into
// the working folder, as a helper writes it on a load.
class ServesStaged : public CxHelperLauncher
{
public:
    ServesStaged(std::string staged, std::string target)
        : m_staged(std::move(staged)), m_target(std::move(target))
    {
    }

    CxHelperRunResult Run(const std::vector<std::string>& argv, const std::string&, std::uint32_t,
                          const StartedFn& started) override
    {
        ++runs;
        lastArgs = argv;
        std::rename(m_staged.c_str(), m_target.c_str());
        CxHelperRunResult result;
        result.started = true;
        result.ended = true;
        result.exitStatus = 0;
        result.processId = 1;
        started(result.processId);
        return result;
    }
    void Release() override {}

    inline static int runs = 0;
    inline static std::vector<std::string> lastArgs;

private:
    std::string m_staged;
    std::string m_target;
};

// What a test needs of any CRM connector.
struct Probe
{
    std::unique_ptr<CxHelperBaseUtil> connector;
    const CxCRMLayout* layout;
    std::size_t nativeSize;
    std::function<int()> nativeCount;
    std::function<void*(int)> native;
    std::function<int()> storeCount;
    std::function<bool(int)> submitNew; // a common record of the kind, submitted
    // The first common record of the store holds nothing but its source type and its link.
    std::function<bool()> firstIsBare;
    std::function<int()> firstSourceType;
};

template <class Connector> Probe Make(const CxCRMLayout& layout)
{
    auto connector = std::make_unique<Connector>();
    Connector* raw = connector.get();
    Probe probe;
    probe.layout = &layout;
    probe.nativeSize = sizeof(*raw->GetNative(0));
    probe.nativeCount = [raw] { return raw->GetNativeCount(); };
    probe.native = [raw](int i) -> void* { return raw->GetNative(i); };
    probe.storeCount = [raw] { return static_cast<int>(raw->GetStore()->GetCount()); };
    probe.submitNew = [raw](int tag) {
        using Rec = std::remove_pointer_t<decltype(raw->GetStore()->First())>;
        auto record = std::make_unique<Rec>();
        // Something to tell it from every other record of the store.
        const std::string text = "New " + std::to_string(tag);
        if constexpr (std::is_same_v<Rec, CommAddrRec>) {
            CopyText(record->FirstName, text);
            CopyText(record->LastName, text);
        } else if constexpr (std::is_same_v<Rec, CommNoteRec>) {
            CopyText(record->Title, text);
        } else {
            CopyText(record->Subject, text);
        }
        return raw->SubmitRecord(*record, false);
    };
    probe.firstIsBare = [raw] {
        const auto* first = raw->GetStore()->First();
        auto bare = std::make_unique<std::remove_const_t<std::remove_pointer_t<decltype(first)>>>();
        bare->SourceType = first->SourceType;
        bare->NativeRecord = first->NativeRecord;
        bare->Status = first->Status;
        return std::memcmp(bare.get(), first, sizeof *first) == 0;
    };
    probe.firstSourceType = [raw] { return static_cast<int>(raw->GetStore()->First()->SourceType); };
    probe.connector = std::move(connector);
    return probe;
}

struct ConnectorCase
{
    const char* name;
    std::function<Probe()> make;
    int sourceType;
    const char* recordFile;
    const char* loadWords; // as in the load messages
    const char* fileWords; // as in the read and write messages
    const char* recordWords;
};

const ConnectorCase kConnectors[] = {
    {"SFAddr", [] { return Make<CxSFAddrUtil>(SFAddrLayout()); }, 19, "SFAddr.dat", "SalesForce Contacts",
     "salesforce Contacts", "Contact"},
    {"SFDate", [] { return Make<CxSFDateUtil>(SFDateLayout()); }, 19, "SFDate.dat", "SalesForce Calendar",
     "SalesForce Calendar", "Calendar event"},
    {"SFTask", [] { return Make<CxSFTaskUtil>(SFTaskLayout()); }, 19, "SFTask.dat", "SalesForce Tasks",
     "SalesForce Tasks", "Task"},
    {"SFNote", [] { return Make<CxSFNoteUtil>(SFNoteLayout()); }, 19, "SFNote.dat", "SalesForce Notes",
     "SalesForce Notes", "Notes"},
    {"SGAddr", [] { return Make<CxSGAddrUtil>(SGAddrLayout()); }, 21, "SGAddr.dat", "SugarCRM Contacts",
     "SugarCRM Contacts", "Contact"},
    {"SGDate", [] { return Make<CxSGDateUtil>(SGDateLayout()); }, 21, "SGDate.dat", "SugarCRM Calendar",
     "SugarCRM Calendar", "Calendar event"},
    {"SGTask", [] { return Make<CxSGTaskUtil>(SGTaskLayout()); }, 21, "SGTask.dat", "SugarCRM Tasks",
     "SugarCRM Tasks", "Tasks"},
    {"SGNote", [] { return Make<CxSGNoteUtil>(SGNoteLayout()); }, 21, "SGNote.dat", "SugarCRM Notes",
     "SugarCRM Notes", "Notes"},
    {"DNAddr", [] { return Make<CxDNAddrUtil>(DNAddrLayout()); }, 21, "DNAddr.dat", "Dynamics CRM Contacts",
     "Dynamics CRM Contacts", "Contact"},
    {"DNDate", [] { return Make<CxDNDateUtil>(DNDateLayout()); }, 21, "DNDate.dat", "Dynamics CRM Calendar",
     "Dynamics CRM Calendar", "Calendar event"},
    {"DNTask", [] { return Make<CxDNTaskUtil>(DNTaskLayout()); }, 21, "DNTask.dat", "Dynamics CRM Tasks",
     "Dynamics CRM Tasks", "Task"},
    {"DNNote", [] { return Make<CxDNNoteUtil>(DNNoteLayout()); }, 21, "DNNote.dat", "Dynamics CRM Notes",
     "Dynamics CRM Notes", "Notes"},
};

class CRMConnectorTest : public ::testing::TestWithParam<ConnectorCase>
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        m_home.WriteFile("stage/.keep", "");
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
        m_probe = GetParam().make();
        ConnectorConfig config;
        config.dataFolder = m_folder;
        config.logFolder = m_folder;
        m_probe.connector->Configure(config);
        m_probe.connector->SetHelperLauncher(std::make_unique<ServesStaged>(
            m_home.Path("stage/") + GetParam().recordFile, m_folder + GetParam().recordFile));
        ServesStaged::runs = 0;
    }
    void TearDown() override { g_debugLog.EnableLog(false); }

    // Records of the layout, each field filled with a value of its own (the change mark and
    // the action as given), staged for the next load.
    void StageRecords(int count, int changeMark = 0)
    {
        CxFile file;
        ASSERT_TRUE(file.Open(m_home.Path("stage/").append(GetParam().recordFile).c_str(), "wb"));
        ASSERT_TRUE(file.WriteInt(count));
        for (int i = 0; i < count; ++i) {
            std::vector<double> rec(m_probe.nativeSize / sizeof(double) + 1, 0.0);
            Fill(rec.data(), i, changeMark);
            ASSERT_TRUE(SaveLayoutFields(file, m_probe.layout->fields, rec.data()));
        }
        ASSERT_TRUE(file.Close());
    }
    void Fill(void* rec, int index, int changeMark)
    {
        auto* base = static_cast<unsigned char*>(rec);
        int n = 0;
        for (const CxLayoutField& field : m_probe.layout->fields) {
            ++n;
            unsigned char* at = base + field.Offset;
            if (std::strcmp(field.Name, "ChangeMark") == 0) {
                std::memcpy(at, &changeMark, sizeof changeMark);
            } else if (std::strcmp(field.Name, "Action") == 0) {
                const int action = 0;
                std::memcpy(at, &action, sizeof action);
            } else if (field.Kind == CxFieldKind::Text) {
                std::snprintf(reinterpret_cast<char*>(at), static_cast<std::size_t>(field.Capacity), "%d.%d",
                              index, n);
            } else if (field.Kind == CxFieldKind::Date) {
                const double value = index * 100 + n + 0.5;
                std::memcpy(at, &value, sizeof value);
            } else {
                const int value = field.Kind == CxFieldKind::Boolean ? 1 : index * 100 + n;
                std::memcpy(at, &value, sizeof value);
            }
        }
    }
    std::vector<std::string> Messages()
    {
        std::vector<std::string> messages;
        for (const fwtest::LogLine& line : fwtest::ReadLogLines(m_folder + "appdebug.log")) {
            messages.push_back((line.failure ? "!" : "") + line.message);
        }
        return messages;
    }

    fwtest::TempHome m_home;
    std::string m_folder;
    Probe m_probe;
};

TEST_P(CRMConnectorTest, LoadRunsTheHelperAndGivesRecordsWithOnlyTheirSourceType)
{
    const ConnectorCase& c = GetParam();
    StageRecords(3);
    ASSERT_TRUE(m_probe.connector->Load());
    EXPECT_FALSE(m_probe.connector->HasError());
    EXPECT_EQ(ServesStaged::runs, 1);
    EXPECT_EQ(m_probe.connector->GetCommand(), CxHelperBaseUtil::CommandLoad);
    ASSERT_EQ(m_probe.nativeCount(), 3);
    ASSERT_EQ(m_probe.storeCount(), 3);
    EXPECT_EQ(m_probe.firstSourceType(), c.sourceType);
    if (std::strcmp(c.name, "SFAddr") != 0) { // the salesforce contact carries its values
        EXPECT_TRUE(m_probe.firstIsBare());
    }
    // Every value of the file arrived in the native record, in its place.
    std::vector<double> expected(m_probe.nativeSize / sizeof(double) + 1, 0.0);
    Fill(expected.data(), 1, 0);
    for (const CxLayoutField& field : m_probe.layout->fields) {
        EXPECT_EQ(LayoutFieldText(field, m_probe.native(1)), LayoutFieldText(field, expected.data()))
            << field.Name;
    }

    const std::string w = c.loadWords;
    const std::string f = c.fileWords;
    const std::vector<std::string> expectedLog = {
        "Start loading " + w + ".", "Start loading " + f + " from temperary file: " + c.recordFile,
        "There are 3 " + std::string(c.recordWords) + " records in total.",
        "Load " + f + " information from file successfully.", "Load " + w + " information successfully."};
    std::vector<std::string> messages;
    for (const std::string& line : Messages()) {
        // The data reader's own lines about the run lie between.
        if (std::find(expectedLog.begin(), expectedLog.end(), line) != expectedLog.end()) {
            messages.push_back(line);
        }
    }
    EXPECT_EQ(messages, expectedLog);
}

TEST_P(CRMConnectorTest, ALoadWithoutARecordFileFailsWithItsMessages)
{
    EXPECT_FALSE(m_probe.connector->Load());
    const std::vector<std::string> messages = Messages();
    const std::string path = m_folder + GetParam().recordFile;
    EXPECT_NE(std::find(messages.begin(), messages.end(), "!Failed to open file: " + path), messages.end());
    EXPECT_EQ(messages.back(), "!Failed to load " + std::string(GetParam().loadWords) + " information.");
}

TEST_P(CRMConnectorTest, SubmitMarksNewAndChangedRecordsAndKeepsTheRestAsLoaded)
{
    const ConnectorCase& c = GetParam();
    StageRecords(2, 7);
    ASSERT_TRUE(m_probe.connector->Load());
    std::vector<double> loaded(m_probe.nativeSize / sizeof(double) + 1, 0.0);
    std::memcpy(loaded.data(), m_probe.native(0), m_probe.nativeSize);

    ASSERT_TRUE(m_probe.submitNew(1));
    ASSERT_EQ(m_probe.nativeCount(), 3);
    ASSERT_TRUE(m_probe.connector->Commit());
    EXPECT_EQ(ServesStaged::runs, 2);
    EXPECT_EQ(m_probe.connector->GetCommand(), CxHelperBaseUtil::CommandSubmit);

    // The record file written: the loaded records as they came, then the new one, empty
    // but for change mark 2 and action 1.
    CxFile file;
    ASSERT_TRUE(file.Open((m_folder + c.recordFile).c_str(), "rb"));
    int count = 0;
    ASSERT_TRUE(file.ReadInt(&count));
    ASSERT_EQ(count, 3);
    std::vector<std::vector<double>> written;
    for (int i = 0; i < count; ++i) {
        written.emplace_back(m_probe.nativeSize / sizeof(double) + 1, 0.0);
        ASSERT_TRUE(LoadLayoutFields(file, m_probe.layout->fields, written.back().data()));
    }
    EXPECT_TRUE(file.AtEnd());
    for (const CxLayoutField& field : m_probe.layout->fields) {
        EXPECT_EQ(LayoutFieldText(field, written[0].data()), LayoutFieldText(field, loaded.data()))
            << field.Name;
    }
    std::vector<double> fresh(m_probe.nativeSize / sizeof(double) + 1, 0.0);
    const int marks[2] = {2, 1};
    std::memcpy(static_cast<unsigned char*>(static_cast<void*>(fresh.data())) +
                    m_probe.layout->fields[0].Offset,
                marks, sizeof marks);
    if (std::strcmp(c.name, "SFAddr") != 0) { // the salesforce contact carries its values
        for (const CxLayoutField& field : m_probe.layout->fields) {
            EXPECT_EQ(LayoutFieldText(field, written[2].data()), LayoutFieldText(field, fresh.data()))
                << field.Name;
        }
    }

    const std::vector<std::string> messages = Messages();
    const std::string f = c.fileWords;
    auto at = std::find(messages.begin(), messages.end(), "Start submitting changes to server.");
    ASSERT_NE(at, messages.end());
    EXPECT_EQ(*++at, "Start saving " + f + " information to file: " + c.recordFile);
    EXPECT_EQ(*++at, "There are 3 " + std::string(c.recordWords) + " records in total.");
    EXPECT_EQ(*++at, "Save " + f + " information to file successfully.");

    // Nothing changed since: no run.
    ASSERT_TRUE(m_probe.connector->Commit());
    EXPECT_EQ(ServesStaged::runs, 2);
    EXPECT_EQ(Messages().back(), "There is no new changes and no need to submit information to server.");
}

INSTANTIATE_TEST_SUITE_P(Connectors, CRMConnectorTest, ::testing::ValuesIn(kConnectors),
                         [](const auto& info) { return std::string(info.param.name); });

// A changed record keeps every value it was loaded with: only its marks change.
TEST(CRMConnectorUpdateTest, AChangedRecordKeepsItsValuesWithChangeMarkTwoActionTwo)
{
    CxSGTaskUtil connector;
    SGTaskRec native{};
    std::strcpy(native.ID, "T1");
    std::strcpy(native.Value8, "kept");
    native.Value4 = 41000.25;
    // Loaded as the helper gave it, then changed.
    connector.GetStore(); // the store is empty: the record is added
    CommTaskRec record{};
    ASSERT_TRUE(connector.AddRecord(record, false));
    *connector.GetNative(0) = native;
    ASSERT_TRUE(connector.UpdateRecord(record, 0, false));
    const SGTaskRec& changed = *connector.GetNative(0);
    EXPECT_EQ(changed.ChangeMark, 2);
    EXPECT_EQ(changed.Action, 2);
    EXPECT_STREQ(changed.ID, "T1");
    EXPECT_STREQ(changed.Value8, "kept");
    EXPECT_EQ(changed.Value4, 41000.25);
}

} // namespace
