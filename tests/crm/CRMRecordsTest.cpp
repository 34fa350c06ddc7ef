// The record layouts of the CRM families as the record files hold them, and what the three
// descriptors hand a program: the connectors, the helper programs and the record details.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
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
#include "misc/CxFile.h"

namespace {

std::string Repeat(const std::string& item, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += item;
    }
    return text;
}

const std::string kDNAddress = "T32 T32 T64 T64 T64 T64 D D T256 T32 T32 T128 T32 T32 T32 T32 ";

struct LayoutCase
{
    const char* name;
    const CxCRMLayout& (*layout)();
    std::size_t recordSize;
    // After the change mark and the action: T<capacity> a text, I an integer, B a flag, D a
    // date or a double.
    std::string values;
};

const LayoutCase kLayouts[] = {
    {"SFAddr", SFAddrLayout, sizeof(SFAddrRec),
     "I T21 T21 T32 T32 D T32 T32768 B T64 T32 T32 B B T32 B B D D D T32 T32 T32 T32 T32 T32 T256 T32 T64 "
     "T32 T32 "
     "T32 T32 T32 T256 T21 T32 T32 T32 D T32 I T32 T256 T32 T32 T32 T32 T256 T32 T32 T32 T32 " +
         Repeat("T64 ", 20) + "D D"},
    {"SFDate", SFDateLayout, sizeof(SFDateRec),
     "T21 T23 D D T32768 I D B B B B B B B B T256 T21 T23 I I D I I I D T16 I D T16 T256 D D D"},
    {"SFTask", SFTaskLayout, sizeof(SFTaskRec),
     "T32 T36 D T256 I T256 T32 T8192 B B B B T32 T32 D T32 T256 T32 T32 D D"},
    {"SFNote", SFNoteLayout, sizeof(SFNoteRec), ""},
    {"SGAddr", SGAddrLayout, sizeof(SGAddrRec),
     "I T40 T32 T32 T32 T32 T32 B T32 T32 T32 T32 T32 T64 T64 T64 T256 T32 T32 T32 T32 T256 T32 T32 T32 T32 "
     "T32 "
     "T32 T256 T256 D T8192 D D"},
    {"SGDate", SGDateLayout, sizeof(SGDateRec),
     "I T40 T64 D D I I T32 T32 D T64 T64 T256 T256 T256 T256 T8192 D D"},
    {"SGTask", SGTaskLayout, sizeof(SGTaskRec), "T40 T64 T8196 D D B B T32 T32 T40 T46 D D"},
    {"SGNote", SGNoteLayout, sizeof(SGNoteRec), ""},
    {"DNAddr", DNAddrLayout, sizeof(DNAddrRec),
     "T64 " + kDNAddress + kDNAddress + "D D T32 T32 T32 T32 T100 T100 T4096 T64 T64 T64 " +
         Repeat("T32 ", 9) + "T128 T32 T32 T32 I T32 T32 T128 T256 T256 D D"},
    {"DNDate", DNDateLayout, sizeof(DNDateRec), "T68 D D D D T256 T256 I I I I T8192 D D"},
    {"DNTask", DNTaskLayout, sizeof(DNTaskRec), "T68 D D D D T256 T256 T8192 I I I D D"},
    {"DNNote", DNNoteLayout, sizeof(DNNoteRec), ""},
};

class CRMLayoutTest : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(CRMLayoutTest, HoldsTheValuesOfItsRecordFileInOrder)
{
    const CxCRMLayout& layout = GetParam().layout();
    ASSERT_GE(layout.fields.size(), 2u);
    ASSERT_EQ(layout.labels.size(), layout.fields.size());
    EXPECT_STREQ(layout.fields[0].Name, "ChangeMark");
    EXPECT_STREQ(layout.fields[1].Name, "Action");
    std::string values;
    for (std::size_t i = 2; i < layout.fields.size(); ++i) {
        const CxLayoutField& field = layout.fields[i];
        values += values.empty() ? "" : " ";
        switch (field.Kind) {
        case CxFieldKind::Text:
            values += "T" + std::to_string(field.Capacity);
            break;
        case CxFieldKind::Integer:
            values += "I";
            break;
        case CxFieldKind::Boolean:
            values += "B";
            break;
        case CxFieldKind::Date:
            values += "D";
            break;
        }
        EXPECT_NE(layout.labels[i], nullptr) << field.Name;
    }
    EXPECT_EQ(values, GetParam().values);

    // The fields lie one after the other in the record, the leading integer of memory
    // before them all, and fill it up to its end.
    std::size_t end = sizeof(int);
    for (const CxLayoutField& field : layout.fields) {
        const std::size_t size = field.Kind == CxFieldKind::Text   ? static_cast<std::size_t>(field.Capacity)
                                 : field.Kind == CxFieldKind::Date ? sizeof(double)
                                                                   : sizeof(int);
        EXPECT_GE(field.Offset, end) << field.Name;
        EXPECT_LT(field.Offset - end, sizeof(double)) << field.Name << ": only padding between fields";
        end = field.Offset + size;
    }
    EXPECT_LE(end, GetParam().recordSize);
    EXPECT_GT(end + sizeof(double), GetParam().recordSize);

    // The identifier, where there is one, is a text.
    if (layout.idField != nullptr) {
        const CxLayoutField* id = FindCRMField(layout, layout.idField);
        ASSERT_NE(id, nullptr);
        EXPECT_EQ(id->Kind, CxFieldKind::Text);
    } else {
        EXPECT_EQ(layout.fields.size(), 2u);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, CRMLayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CRMLayoutFileTest, TheLeadingIntegerOfMemoryIsNotWritten)
{
    SGTaskRec rec{};
    rec.Kept0 = 77;
    rec.ChangeMark = 2;
    rec.Action = 1;
    std::strcpy(rec.ID, "X");
    CxFile file;
    const std::string path = ::testing::TempDir() + "crm-layout.dat";
    ASSERT_TRUE(file.Open(path.c_str(), "wb"));
    ASSERT_TRUE(SaveLayoutFields(file, SGTaskLayout().fields, &rec));
    ASSERT_TRUE(file.Close());
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    int first = 0;
    ASSERT_TRUE(file.ReadInt(&first));
    EXPECT_EQ(first, 2) << "the change mark comes first";
    file.Close();
    ASSERT_TRUE(file.Open(path.c_str(), "rb"));
    SGTaskRec back{};
    EXPECT_TRUE(LoadLayoutFields(file, SGTaskLayout().fields, &back));
    EXPECT_EQ(back.Kept0, 0);
    EXPECT_EQ(back.Action, 1);
    EXPECT_STREQ(back.ID, "X");
    file.Close();
    std::remove(path.c_str());
}

struct AppCase
{
    const char* name;
    CxAppDescriptor (*descriptor)();
    AppKind kind;
    const char* appName;
    const char* program; // the helpers are "<program>-contacts" and so on
    const char* prefix;
};

const AppCase kApps[] = {
    {"salesforce", SFAppDescriptor, kAppSalesForce, "salesforce", "fw-salesforce", "SF"},
    {"SugarCRM", SGAppDescriptor, kAppSugarCRM, "SugarCRM", "fw-sugarcrm", "SG"},
    {"Dynamics", DNAppDescriptor, kAppDynamics, "Dynamics CRM", "fw-dynamics", "DN"},
};

class CRMAppTest : public ::testing::TestWithParam<AppCase>
{
};

TEST_P(CRMAppTest, MakesItsFourConnectorsWithTheirHelpersAndNoWizardPages)
{
    const CxAppDescriptor app = GetParam().descriptor();
    EXPECT_EQ(app.kind, GetParam().kind);
    EXPECT_EQ(app.name, GetParam().appName);
    EXPECT_TRUE(app.helperUtility);
    EXPECT_TRUE(app.optionPage.empty());
    EXPECT_EQ(app.customMapping, nullptr);
    const char* kinds[] = {"contacts", "calendar", "tasks", "notes"};
    const char* types[] = {"Addr", "Date", "Task", "Note"};
    for (DataType type : kAllDataTypes) {
        SCOPED_TRACE(kinds[type]);
        ASSERT_TRUE(app.creators[type]);
        const std::unique_ptr<CxConnector> connector = app.creators[type]();
        auto* helper = dynamic_cast<CxHelperBaseUtil*>(connector.get());
        ASSERT_NE(helper, nullptr);
        EXPECT_EQ(app.helperPrograms[type], std::string(GetParam().program) + "-" + kinds[type]);
        EXPECT_EQ(helper->Files().helperName, app.helperPrograms[type]);
        EXPECT_EQ(app.statusFiles[type], std::string(GetParam().prefix) + types[type] + "Status.dat");
        EXPECT_EQ(helper->Files().statusFile, app.statusFiles[type]);
        EXPECT_EQ(helper->Files().dataFile, std::string(GetParam().prefix) + types[type] + ".dat");
        EXPECT_EQ(helper->Files().controlFile, std::string(GetParam().prefix) + types[type] + ".ini");
        EXPECT_EQ(type == kDataContacts, connector->GetAddrStore() != nullptr);
        EXPECT_EQ(type == kDataNotes, connector->GetNoteStore() != nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(Apps, CRMAppTest, ::testing::ValuesIn(kApps),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CRMAppDetailTest, DescribesTheFilledValuesByTheirLabels)
{
    const CxAppDescriptor app = SFAppDescriptor();
    CommAddrRec record{};
    EXPECT_TRUE(DescribeNative(app, record).empty()) << "no native record";
    auto native = std::make_unique<SFAddrRec>();
    native->ChangeMark = 2;
    std::strcpy(native->FirstName, "Ada");
    std::strcpy(native->Industory, "Ships");
    native->DoNotCall = 1;
    native->BirthDate = 30000.5;
    std::strcpy(native->Value64, "unnamed");
    record.NativeRecord = native.get();
    const CxRecordLines lines = DescribeNative(app, record);
    std::vector<std::string> texts;
    for (const CxRecordLine& line : lines) {
        texts.push_back(line.label + "=" + line.text);
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Birth Date=30000.500000", "Do Not Call=1", "First Name=Ada",
                                               "Industory=Ships", "Value64=unnamed"}));

    const CxAppDescriptor dynamics = DNAppDescriptor();
    auto task = std::make_unique<DNTaskRec>();
    std::strcpy(task->ID, "T-1");
    CommTaskRec taskRecord{};
    taskRecord.NativeRecord = task.get();
    const CxRecordLines taskLines = DescribeNative(dynamics, taskRecord);
    ASSERT_EQ(taskLines.size(), 1u);
    EXPECT_EQ(taskLines[0].label, "ID");
    EXPECT_EQ(taskLines[0].text, "T-1");
}

} // namespace
