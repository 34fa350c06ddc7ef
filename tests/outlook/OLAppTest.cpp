// The Outlook descriptor: without a session it makes no connectors; on a session it makes the
// four, each with the store of its data type and its default folder open.
#include "outlook/OLApp.h"

#include <gtest/gtest.h>

#include "outlook/OutlookFixture.h"

namespace fwtest {
namespace {

using OLAppTest = OutlookFixture;

TEST_F(OLAppTest, MakesTheFourConnectorsOnTheSession)
{
    for (DataType type : kAllDataTypes) {
        EXPECT_FALSE(OLAppDescriptor().creators[type]) << type;
    }
    outlook.AddFolder(olFolderContacts, "Contacts");
    outlook.AddFolder(olFolderCalendar, "Calendar");
    outlook.AddFolder(olFolderTasks, "Tasks");
    outlook.AddFolder(olFolderNotes, "Notes");
    const CxAppDescriptor app = OLAppDescriptor(Session());
    EXPECT_EQ(app.kind, kAppOutlook);
    std::unique_ptr<CxConnector> connectors[kDataTypeCount];
    for (DataType type : kAllDataTypes) {
        ASSERT_TRUE(app.creators[type]) << type;
        connectors[type] = app.creators[type]();
        ASSERT_NE(connectors[type], nullptr);
        EXPECT_TRUE(connectors[type]->Load()) << type;
    }
    EXPECT_NE(connectors[kDataContacts]->GetAddrStore(), nullptr);
    EXPECT_NE(connectors[kDataCalendar]->GetDateStore(), nullptr);
    EXPECT_NE(connectors[kDataTasks]->GetTaskStore(), nullptr);
    EXPECT_NE(connectors[kDataNotes]->GetNoteStore(), nullptr);
    EXPECT_EQ(connectors[kDataContacts]->GetDateStore(), nullptr);
    EXPECT_EQ(Session().GetRefCount(), 4);
    for (auto& connector : connectors) {
        connector.reset();
    }
    EXPECT_FALSE(Session().IsStarted());
    EXPECT_EQ(outlook.OutsideRefs(), 0u);
}

} // namespace
} // namespace fwtest
