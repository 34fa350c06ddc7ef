#pragma once
// A session in a temporary home with the recording front end, the recording wait-window
// control, no pause in the flows and no connectors but those a test registers.
#include <gtest/gtest.h>

#include <string>

#include "FakeConnector.h"
#include "RecordingFrontEnd.h"
#include "common/TempHome.h"
#include "common/TestApps.h"
#include "engine/MigrationDriver.h"
#include "misc/CustomFieldMap.h"
#include "misc/CxDebugUtil.h"
#include "misc/Settings.h"

namespace fwtest {

class EngineFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        SetFlowPause(std::chrono::milliseconds(0));
        SetFrontEnd(&frontEnd);
        SetWaitWindowControl(&waitControl);
        UnregisterAllConnectors();
        Plans().clear();
        ClearMappedFields();
        BeginSession(TestApps());
        ASSERT_TRUE(GetWorkingFolder(folder));
        TheJournal().Clear();
    }

    void TearDown() override
    {
        EndSession(false);
        UnregisterAllConnectors();
        SetWaitWindowControl(nullptr);
        SetFrontEnd(nullptr);
        ClearMappedFields();
        TheJournal().Clear();
    }

    // Puts store records of the source connector into the selection list of its data type.
    void Select(AppKind kind, DataType type, std::initializer_list<int> indexes)
    {
        FakeConnector* source = Fake(kind, type);
        ASSERT_NE(source, nullptr);
        for (int index : indexes) {
            void* record = source->StoredAt(index);
            ASSERT_NE(record, nullptr);
            ConnectorRegistry::Instance().GetSelectionList(type)->Append(record);
        }
    }

    static void SetAllSync(bool on)
    {
        g_Settings().SyncAddr = on;
        g_Settings().SyncDate = on;
        g_Settings().SyncTask = on;
        g_Settings().SyncNote = on;
    }

    std::string DebugLog() const { return home.ReadFile("config/corvane/FWLN/appdebug.log"); }
    std::string MigrationLog() const { return home.ReadFile("config/corvane/FWLN/MILog.txt"); }

    TempHome home;
    RecordingFrontEnd frontEnd;
    RecordingWaitControl waitControl;
    std::string folder; // the working folder, ending in '/'
    int parentWindow = 0;
    ParentWindow parent = &parentWindow;
};

} // namespace fwtest
