// The Google connectors against the real Google helpers over an export folder: what the
// connectors submit is written back into the export's files, and nothing else in them moves.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "GoogleCalendarFile.h"
#include "common/TempHome.h"
#include "google/CxGAddrUtil.h"
#include "google/CxGDateUtil.h"
#include "google/contacts/VCardReader.h"

namespace {

constexpr char kContacts[] =
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kunigunde Obermaier\r\nN:Obermaier;Kunigunde;;;\r\n"
    "EMAIL;TYPE=INTERNET;TYPE=WORK:k.obermaier@example.com\r\nTEL;TYPE=CELL:+49 170 1234567\r\n"
    "TEL;TYPE=CELL:+49 170 7654321\r\nX-PHONETIC-FIRST-NAME:\xe3\x82\xaf\xe3\x83\x8b\r\n"
    "NOTE:first line\\nsecond line\r\nUID:kuni-1\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ben Acme\r\nN:Acme;Ben;;;\r\nORG:Acme Inc.\r\nUID:ben-2\r\n"
    "END:VCARD\r\n";

constexpr char kCalendar[] =
    "BEGIN:VCALENDAR\r\nPRODID:-//Google Inc//Google Calendar 70.9054//EN\r\nVERSION:2.0\r\n"
    "X-WR-CALNAME:Family\r\nX-WR-TIMEZONE:Europe/Berlin\r\n"
    "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20261224\r\nDTEND;VALUE=DATE:20261225\r\nUID:eve@google.com\r\n"
    "SUMMARY:Christmas Eve\r\nX-GOOGLE-CALENDAR-CONTENT-ICON:https://calendar.google.com/tree.gif\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VEVENT\r\nDTSTART;TZID=Europe/Berlin:20261201T190000\r\nDTEND;TZID=Europe/Berlin:20261201T"
    "203000\r\nRRULE:FREQ=WEEKLY;BYDAY=TU\r\nUID:choir@google.com\r\nSUMMARY:Choir\r\n"
    "ATTENDEE;CN=Someone:mailto:someone@example.com\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

class GoogleConnectorEndToEndTest : public ::testing::Test
{
protected:
    GoogleConnectorEndToEndTest()
    {
        const char* old = std::getenv("FERRYWISE_HELPER_DIR");
        m_oldHelperDir = old != nullptr ? old : "";
        m_hadHelperDir = old != nullptr;
        ::setenv("FERRYWISE_HELPER_DIR", FW_HELPER_DIR, 1);
        m_home.WriteFile("work/.keep", "");
    }
    ~GoogleConnectorEndToEndTest() override
    {
        if (m_hadHelperDir) {
            ::setenv("FERRYWISE_HELPER_DIR", m_oldHelperDir.c_str(), 1);
        } else {
            ::unsetenv("FERRYWISE_HELPER_DIR");
        }
    }

    void Configure(CxConnector& connector, const std::string& folder)
    {
        ConnectorConfig config;
        config.dataFolder = m_home.Path("work/");
        config.logFolder = m_home.Path("work/");
        config.database = folder;
        connector.Configure(config);
    }

    fwtest::TempHome m_home;
    std::string m_oldHelperDir;
    bool m_hadHelperDir = false;
};

template <class Store> auto Find(Store* store, const char* text) -> decltype(store->First())
{
    for (auto* rec = store->First(); rec != nullptr; rec = store->Next()) {
        if (std::string(rec->DisplayName) == text) {
            return rec;
        }
    }
    return nullptr;
}

} // namespace

// A changed contact gets the changed field and keeps everything the record could not carry;
// a new contact is added to the export's vCard file.
TEST_F(GoogleConnectorEndToEndTest, ContactsAreWrittenBackIntoTheExport)
{
    const std::string file = m_home.WriteFile("export/contacts.vcf", kContacts);
    CxGAddrUtil connector;
    Configure(connector, m_home.Path("export"));
    ASSERT_TRUE(connector.Load()) << connector.GetErrorText();
    ASSERT_FALSE(connector.GetErrorFlag()) << connector.GetErrorText();
    ASSERT_EQ(connector.GetAddrStore()->GetCount(), 2);

    CommAddrRec changed = *Find(connector.GetAddrStore(), "Kunigunde Obermaier");
    EXPECT_STREQ(changed.MobilePhone, "+49 170 1234567");
    EXPECT_STREQ(changed.Note, "first line\r\nsecond line");
    std::snprintf(changed.Company, sizeof changed.Company, "%s", "Obermaier & S\xf6hne"); // ANSI
    CommAddrRec fresh{};
    std::snprintf(fresh.FirstName, sizeof fresh.FirstName, "%s", "Carla");
    std::snprintf(fresh.LastName, sizeof fresh.LastName, "%s", "New");
    std::snprintf(fresh.Email, sizeof fresh.Email, "%s", "carla@example.com");
    EXPECT_TRUE(connector.SubmitRecord(changed, false));
    EXPECT_TRUE(connector.SubmitRecord(fresh, false));
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.GetErrorFlag()) << connector.GetErrorText();

    std::vector<gcontacts::GContact> contacts;
    std::string error;
    ASSERT_TRUE(gcontacts::ReadVCardFile(file, contacts, error)) << error;
    ASSERT_EQ(contacts.size(), 3u);
    const gcontacts::GContact& kuni = contacts[0];
    EXPECT_EQ(kuni.uid, "kuni-1");
    EXPECT_EQ(kuni.company, "Obermaier & S\xc3\xb6hne");
    ASSERT_EQ(kuni.phones.size(), 2u) << "the second mobile number is kept";
    EXPECT_EQ(kuni.phones[1].value, "+49 170 7654321");
    EXPECT_EQ(kuni.note, "first line\nsecond line");
    bool phonetic = false;
    for (const gcontacts::GExtraProperty& extra : kuni.extras) {
        phonetic =
            phonetic || (extra.name == "X-PHONETIC-FIRST-NAME" && extra.value == "\xe3\x82\xaf\xe3\x83\x8b");
    }
    EXPECT_TRUE(phonetic) << "text outside the code page is kept";
    EXPECT_EQ(contacts[1].company, "Acme Inc.");
    EXPECT_EQ(contacts[2].firstName, "Carla");
    ASSERT_EQ(contacts[2].emails.size(), 1u);
    EXPECT_EQ(contacts[2].emails[0].value, "carla@example.com");

    // Loaded again, the changed and the added contacts are there as submitted.
    ASSERT_TRUE(connector.Load()) << connector.GetErrorText();
    ASSERT_EQ(connector.GetAddrStore()->GetCount(), 3);
    int index = -1;
    EXPECT_EQ(connector.GetAddrStore()->Search(&changed, nullptr, &index), SearchSame);
}

// Records with text the code page cannot hold are counted, each once, by the helper that read
// them; a load without such text counts none.
TEST_F(GoogleConnectorEndToEndTest, RecordsThatLoseCharactersToTheCodePageAreCounted)
{
    m_home.WriteFile(
        "export/Contacts/c.vcf",
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\xe5\xb1\xb1\xe7\x94\xb0 \xe5\xa4\xaa\xe9\x83\x8e\r\n"
        "N:\xe5\xb1\xb1\xe7\x94\xb0;\xe5\xa4\xaa\xe9\x83\x8e;;;\r\nEND:VCARD\r\n"
        "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:J\xc3\xbcrgen M\xc3\xbcller\r\nN:M\xc3\xbcller;J\xc3\xbcrgen;;;\r\n"
        "END:VCARD\r\n");
    m_home.WriteFile("export/Calendar/cal.ics",
                     "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nX-WR-CALNAME:Work\r\n"
                     "BEGIN:VEVENT\r\nUID:a1\r\nDTSTART:20261224T100000Z\r\nDTEND:20261224T110000Z\r\n"
                     "SUMMARY:\xe4\xbc\x9a\xe8\xad\xb0\r\nEND:VEVENT\r\n"
                     "BEGIN:VEVENT\r\nUID:a2\r\nDTSTART:20261225T100000Z\r\nDTEND:20261225T110000Z\r\n"
                     "SUMMARY:F\xc3\xa4hre\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    CxGAddrUtil contacts;
    CxGDateUtil calendar;
    for (CxConnector* connector :
         {static_cast<CxConnector*>(&contacts), static_cast<CxConnector*>(&calendar)}) {
        Configure(*connector, m_home.Path("export"));
        ASSERT_TRUE(connector->Load()) << connector->GetErrorText();
        ASSERT_FALSE(connector->GetErrorFlag()) << connector->GetErrorText();
        EXPECT_EQ(connector->GetLossyRecordCount(), 1);
    }
    ASSERT_EQ(contacts.GetAddrStore()->GetCount(), 2);
    EXPECT_NE(Find(contacts.GetAddrStore(), "J\xfcrgen M\xfcller"), nullptr)
        << "what the code page holds is kept";

    m_home.WriteFile("export/Contacts/c.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ben Acme\r\nEND:VCARD\r\n");
    ASSERT_TRUE(contacts.Load()) << contacts.GetErrorText();
    EXPECT_EQ(contacts.GetLossyRecordCount(), 0);
}

// Contacts from a Google CSV file are served but cannot be changed there: the submit fails
// with the reason and the file stays as it was.
TEST_F(GoogleConnectorEndToEndTest, AContactOfAGoogleCsvFileIsNotChangedInSilence)
{
    const std::string csv = "Name,Given Name,Family Name,E-mail 1 - Type,E-mail 1 - Value\n"
                            "Dora Csv,Dora,Csv,* Work,dora@example.com\n";
    const std::string file = m_home.WriteFile("export/contacts.csv", csv);
    CxGAddrUtil connector;
    Configure(connector, m_home.Path("export"));
    ASSERT_TRUE(connector.Load()) << connector.GetErrorText();
    ASSERT_EQ(connector.GetAddrStore()->GetCount(), 1);
    CommAddrRec changed = *connector.GetAddrStore()->First();
    std::snprintf(changed.Company, sizeof changed.Company, "%s", "Changed");
    EXPECT_TRUE(connector.SubmitRecord(changed, false));
    connector.Commit();
    EXPECT_TRUE(connector.GetErrorFlag());
    EXPECT_NE(connector.GetErrorText().find("read only"), std::string::npos) << connector.GetErrorText();
    EXPECT_EQ(m_home.ReadFile("export/contacts.csv"), csv);
}

// A changed event is written from its fields and keeps what the record does not carry; an
// unchanged one keeps its text; a new one is added to the calendar's file.
TEST_F(GoogleConnectorEndToEndTest, EventsAreWrittenBackIntoTheirCalendar)
{
    const std::string file = m_home.WriteFile("export/Calendar/Family.ics", kCalendar);
    CxGDateUtil connector;
    Configure(connector, m_home.Path("export"));
    ASSERT_TRUE(connector.Load()) << connector.GetErrorText();
    ASSERT_FALSE(connector.GetErrorFlag()) << connector.GetErrorText();
    CommDateMgr* store = connector.GetDateStore();
    ASSERT_EQ(store->GetCount(), 2);
    CommDateRec choir{};
    for (CommDateRec* rec = store->First(); rec != nullptr; rec = store->Next()) {
        if (std::string(rec->Subject) == "Christmas Eve") {
            EXPECT_EQ(rec->AllDay, 1);
        } else {
            choir = *rec;
        }
    }
    ASSERT_STREQ(choir.Subject, "Choir");
    EXPECT_EQ(choir.Start.wHour, 19) << "the local time of the zone the test runs in";
    EXPECT_EQ(choir.Recurrence.Kind, 2);
    std::snprintf(choir.Location, sizeof choir.Location, "%s", "Church hall");
    CommDateRec fresh{};
    std::snprintf(fresh.Subject, sizeof fresh.Subject, "%s", "Dentist");
    fresh.Start = SYSTEMTIME{2027, 1, 0, 12, 10, 0, 0, 0};
    fresh.End = SYSTEMTIME{2027, 1, 0, 12, 11, 0, 0, 0};
    EXPECT_TRUE(connector.SubmitRecord(choir, false));
    EXPECT_TRUE(connector.SubmitRecord(fresh, false));
    ASSERT_TRUE(connector.Commit());
    ASSERT_FALSE(connector.GetErrorFlag()) << connector.GetErrorText();

    gcal::CalendarFile cal;
    std::string error;
    ASSERT_TRUE(cal.Load(file, error)) << error;
    ASSERT_EQ(cal.events.size(), 3u);
    EXPECT_NE(cal.events[0].RawText().find("X-GOOGLE-CALENDAR-CONTENT-ICON"), std::string::npos);
    const gcal::Event& written = cal.events[1];
    EXPECT_EQ(written.location, "Church hall");
    EXPECT_EQ(written.rrule, "FREQ=WEEKLY;BYDAY=TU");
    EXPECT_EQ(written.start, gcal::EventTime::MakeZoned("Europe/Berlin", 2026, 12, 1, 19, 0, 0));
    EXPECT_NE(written.RawText().find("ATTENDEE;CN=Someone"), std::string::npos);
    EXPECT_EQ(cal.events[2].summary, "Dentist");
    EXPECT_EQ(cal.events[2].start, gcal::EventTime::MakeFloating(2027, 1, 12, 10, 0, 0));
    EXPECT_FALSE(cal.events[2].uid.empty());
}
