// The "Outlook.Application" server over an Outlook data file, reached as the connectors reach
// Outlook: the session's start sequence, the default folders and their items on the public
// sample files (skipped when they are absent), the value types, the names it answers to, the
// refusal of every change, the opening failures, and every object released at the end.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "misc/DispCmd.h"
#include "outlook/OlComm.h"
#include "outlook/OlDataFileServer.h"
#include "platform/OleDate.h"

namespace fs = std::filesystem;

namespace {

const fwtest::PinnedLocale kPinned;

const std::string kSamples = std::string(FW_SHARED_DIR) + "/samples/pst/";

#define REQUIRE_SAMPLES()                                                                                    \
    if (!fs::exists(kSamples)) {                                                                             \
        GTEST_SKIP() << "no shared samples at " << kSamples;                                                 \
    }

std::string Date(double ole)
{
    SYSTEMTIME st{};
    if (!platform::VariantTimeToSystemTime(ole, &st)) {
        return "invalid";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d", st.wYear, st.wMonth, st.wDay, st.wHour,
                  st.wMinute);
    return buf;
}

// A property read into an 8-bit buffer, or "<code>" when the read gave no text.
std::string Text(CDispCmd& object, const OLECHAR* name, int size = 1024)
{
    std::vector<char> buffer(static_cast<std::size_t>(size), 0);
    HRESULT hr = object.GetStringProp(name, buffer.data(), size);
    if (hr != S_OK) {
        char code[16];
        std::snprintf(code, sizeof code, "<%08x>", static_cast<unsigned>(hr));
        return code;
    }
    return buffer.data();
}

// A property's raw result.
struct Got
{
    HRESULT hr;
    VARTYPE vt;
};
Got Get(CDispCmd& object, const OLECHAR* name)
{
    VARIANT v;
    platform::VariantInit(&v);
    HRESULT hr = object.GetProperty(name, &v);
    Got got{hr, v.vt};
    platform::VariantClear(&v);
    return got;
}

// An object from a method call or a property, owned.
struct Object
{
    explicit Object(IDispatch* object = nullptr) : cmd(object)
    {
        if (object != nullptr) {
            object->Release(); // the command holds its own reference
        }
    }
    CDispCmd cmd;
    explicit operator bool() const { return cmd.GetObject() != nullptr; }
};

std::unique_ptr<Object> Call(CDispCmd& on, const OLECHAR* name, std::initializer_list<VARIANT> args = {},
                             HRESULT* code = nullptr)
{
    IDispatch* object = nullptr;
    HRESULT hr = on.CallObjectMethod(name, &object, args);
    if (code != nullptr) {
        *code = hr;
    }
    return std::make_unique<Object>(object);
}

std::unique_ptr<Object> Prop(CDispCmd& on, const OLECHAR* name)
{
    IDispatch* object = nullptr;
    on.GetObjectProp(name, &object);
    return std::make_unique<Object>(object);
}

class OlDataFileServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_home.SetEnv("TZ", "Europe/Berlin");
        tzset();
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
        ASSERT_TRUE(RegisterOutlookDataFile(m_servers, m_source));
    }
    void TearDown() override
    {
        g_debugLog.EnableLog(false);
        EXPECT_EQ(m_source->LiveObjects(), 0) << "objects of the server left unreleased";
        tzset();
    }

    void Choose(const std::string& sample, const std::string& password = {}, unsigned codePage = 1252)
    {
        m_source->SetFile({kSamples + sample, password, codePage});
    }

    // The session's start sequence, by hand: the application's IDispatch and its namespace.
    struct Started
    {
        HRESULT hr = E_FAIL;
        std::unique_ptr<Object> app;
        std::unique_ptr<Object> nameSpace;
    };
    Started Start()
    {
        Started s;
        CLSID clsid{};
        s.hr = platform::CLSIDFromProgID(m_servers, kOutlookProgId, &clsid);
        if (FAILED(s.hr)) {
            return s;
        }
        void* unknown = nullptr;
        s.hr = platform::CoCreateInstance(m_servers, clsid, nullptr, 0x15, IID_IUnknown, &unknown);
        if (FAILED(s.hr)) {
            return s;
        }
        IUnknown* app = static_cast<IUnknown*>(unknown);
        s.hr = platform::OleRun(app);
        void* dispatch = nullptr;
        if (SUCCEEDED(s.hr)) {
            s.hr = app->QueryInterface(IID_IDispatch, &dispatch);
        }
        app->Release();
        if (FAILED(s.hr)) {
            return s;
        }
        s.app = std::make_unique<Object>(static_cast<IDispatch*>(dispatch));
        VARIANT type = platform::MakeBstr("MAPI");
        s.nameSpace = Call(s.app->cmd, u"GetNameSpace", {type}, &s.hr);
        return s;
    }

    std::unique_ptr<Object> DefaultFolder(CDispCmd& nameSpace, int number, HRESULT* code = nullptr)
    {
        return Call(nameSpace, u"GetDefaultFolder", {platform::MakeI4(number)}, code);
    }

    fwtest::TempHome m_home;
    std::string m_folder;
    platform::AutomationServers m_servers;
    std::shared_ptr<OutlookDataFileSource> m_source = std::make_shared<OutlookDataFileSource>();
};

TEST_F(OlDataFileServerTest, TheSessionReadsTheContactsOfAFile)
{
    REQUIRE_SAMPLES();
    Choose("aspose-net__SampleContacts.pst");
    OlSession session(m_servers, [](char* out, std::size_t size) {
        std::snprintf(out, size, "16.0.0.0");
        return true;
    });
    {
        OlBaseUtil connector(session);
        ASSERT_TRUE(connector.IsConnected());
        IDispatch* raw = nullptr;
        ASSERT_EQ(connector.GetDefaultFolder(olFolderContacts, &raw), S_OK);
        Object folder(raw);
        EXPECT_EQ(Text(folder.cmd, u"Name", 31), "Contacts");
        const std::string storeId = Text(folder.cmd, u"StoreID", 1023);
        EXPECT_GT(storeId.size(), 48u) << storeId; // the store's entry ID in hexadecimal
        auto items = Prop(folder.cmd, u"Items");
        ASSERT_TRUE(*items);
        int count = 0;
        EXPECT_EQ(items->cmd.GetLongProp(u"Count", &count), S_OK);
        EXPECT_EQ(count, 6);

        std::vector<std::string> names;
        const int walked = OlBaseUtil::WalkItems(items->cmd, [&](IDispatch* item) {
            CDispCmd contact(item);
            names.push_back(Text(contact, u"FullName") + " / " + Text(contact, u"LastName"));
        });
        EXPECT_EQ(walked, 6);
        ASSERT_EQ(names.size(), 6u);
        EXPECT_EQ(names[0], "Sebastian Wright / <00000001>"); // no last name: no value
        EXPECT_EQ(names[3], "Margaret J. Tolle / Tolle");

        // The item by its 1-based position, as a VT_I4.
        auto fourth = Call(items->cmd, u"Item", {platform::MakeI4(4)});
        ASSERT_TRUE(*fourth);
        struct Case
        {
            const OLECHAR* name;
            const char* value;
        };
        for (const Case& c : std::vector<Case>{{u"FullName", "Margaret J. Tolle"},
                                               {u"MiddleName", "J."},
                                               {u"CompanyName", "Adaptaz"},
                                               {u"JobTitle", "Recording engineer"},
                                               {u"Email1Address", "MargaretJTolle@dayrep.com"},
                                               {u"BusinessTelephoneNumber", "(08)9080-1183"},
                                               {u"Subject", "Margaret J. Tolle"}}) {
            EXPECT_EQ(Text(fourth->cmd, c.name), c.value) << platform::WideToAnsi(c.name);
        }
        // No home telephone: no value, so the getter leaves its buffer as it was.
        EXPECT_EQ(Get(fourth->cmd, u"HomeTelephoneNumber").vt, VT_EMPTY);
        EXPECT_EQ(Text(fourth->cmd, u"EntryID").size(), 48u);
        auto fields = Prop(fourth->cmd, u"UserProperties");
        ASSERT_TRUE(*fields);
        int fieldCount = -1;
        EXPECT_EQ(fields->cmd.GetLongProp(u"Count", &fieldCount), S_OK);
        EXPECT_EQ(fieldCount, 0);
    }
    EXPECT_FALSE(session.IsStarted());
}

TEST_F(OlDataFileServerTest, DefaultFoldersOfTheFiles)
{
    REQUIRE_SAMPLES();
    struct Case
    {
        const char* file;
        int folder;
        HRESULT hr; // of GetDefaultFolder
        const char* name;
        int items;
        const char* firstSubject;
    };
    const std::vector<Case> cases = {
        {"pst-extractor__mtnman1965@outlook.com.ost", olFolderCalendar, S_OK, "Calendar", 2, "get lunch"},
        {"pst-extractor__mtnman1965@outlook.com.ost", olFolderContacts, S_OK, "Contacts", 2, "Ed Pfromer"},
        {"pst-extractor__mtnman1965@outlook.com.ost", olFolderNotes, S_OK, "Notes", 1,
         "a pretty yellow sticky note"},
        {"pst-extractor__mtnman1965@outlook.com.ost", olFolderTasks, S_OK, "Tasks", 2, "basic task"},
        {"java-libpst__dist-list.pst", olFolderNotes, S_OK, "Notes", 0, ""},
        {"go-pst__32-bit.pst", olFolderCalendar, S_OK, "Calendar", 1,
         "Updated: Olympus training for new hires"},
        // Contacts in a mail folder make no Contacts folder: an empty one stands in.
        {"aspose-java__PersonalStorage.pst", olFolderContacts, S_OK, "Contacts", 0, ""},
        // Folders Outlook has but the server does not present (6: the inbox).
        {"java-libpst__dist-list.pst", 6, E_INVALIDARG, "", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " folder " + std::to_string(c.folder));
        Choose(c.file);
        Started s = Start();
        ASSERT_EQ(s.hr, S_OK) << m_source->LastOpenError();
        HRESULT hr = S_OK;
        platform::TakeErrorDescription();
        auto folder = DefaultFolder(s.nameSpace->cmd, c.folder, &hr);
        EXPECT_EQ(hr, c.hr);
        // Only the stand-in folder comes with a word for the caller.
        const std::string notice = platform::TakeErrorDescription();
        if (std::string(c.file) == "aspose-java__PersonalStorage.pst") {
            EXPECT_NE(notice.find("has no Contacts folder: nothing is read from it."), std::string::npos)
                << notice;
        } else {
            EXPECT_EQ(notice, "");
        }
        if (c.hr != S_OK) {
            EXPECT_FALSE(*folder);
            continue;
        }
        ASSERT_TRUE(*folder);
        EXPECT_EQ(Text(folder->cmd, u"Name", 31), c.name);
        auto items = Prop(folder->cmd, u"Items");
        ASSERT_TRUE(*items);
        std::vector<std::string> subjects;
        OlBaseUtil::WalkItems(items->cmd, [&](IDispatch* item) {
            CDispCmd cmd(item);
            subjects.push_back(Text(cmd, u"Subject"));
        });
        ASSERT_EQ(subjects.size(), static_cast<std::size_t>(c.items));
        if (c.items > 0) {
            EXPECT_EQ(subjects[0], c.firstSubject);
        }
        // Past the end the walk stays over.
        VARIANT v;
        platform::VariantInit(&v);
        EXPECT_EQ(items->cmd.Invoke(u"GetNext", nullptr, 0, &v, DISPATCH_METHOD), S_OK);
        EXPECT_EQ(v.vt, VT_DISPATCH);
        EXPECT_EQ(v.pdispVal, nullptr);
        // Items by position: 1 to Count only.
        for (int position : {0, c.items + 1}) {
            HRESULT itemHr = S_OK;
            EXPECT_FALSE(*Call(items->cmd, u"Item", {platform::MakeI4(position)}, &itemHr));
            EXPECT_EQ(itemHr, DISP_E_BADINDEX) << position;
        }
    }
}

TEST_F(OlDataFileServerTest, AppointmentsTasksAndNotes)
{
    REQUIRE_SAMPLES();
    Choose("pst-extractor__mtnman1965@outlook.com.ost");
    Started s = Start();
    ASSERT_EQ(s.hr, S_OK) << m_source->LastOpenError();

    // Calendar: a single appointment, then a daily series.
    auto calendar = DefaultFolder(s.nameSpace->cmd, olFolderCalendar);
    ASSERT_TRUE(*calendar);
    auto events = Prop(calendar->cmd, u"Items");
    auto lunch = Call(events->cmd, u"GetFirst");
    ASSERT_TRUE(*lunch);
    unsigned char recurring = 9;
    EXPECT_EQ(lunch->cmd.GetBoolProp(u"IsRecurring", &recurring), S_OK);
    EXPECT_EQ(recurring, 0);
    HRESULT hr = S_OK;
    EXPECT_FALSE(*Call(lunch->cmd, u"GetRecurrencePattern", {}, &hr));
    EXPECT_EQ(hr, kOlDataFileNotFound);

    auto workout = Call(events->cmd, u"GetNext");
    ASSERT_TRUE(*workout);
    EXPECT_EQ(Text(workout->cmd, u"Subject"), "workout");
    EXPECT_EQ(workout->cmd.GetBoolProp(u"IsRecurring", &recurring), S_OK);
    EXPECT_EQ(recurring, 1);
    double start = 0.0;
    EXPECT_EQ(workout->cmd.GetDateProp(u"Start", &start), S_OK);
    EXPECT_EQ(Date(start), "2018-03-05 18:00"); // 17:00 UTC in Berlin
    int duration = 0;
    EXPECT_EQ(workout->cmd.GetLongProp(u"Duration", &duration), S_OK);
    EXPECT_EQ(duration, 60);
    auto pattern = Call(workout->cmd, u"GetRecurrencePattern");
    ASSERT_TRUE(*pattern);
    struct Number
    {
        const OLECHAR* name;
        int value;
    };
    for (const Number& n : std::vector<Number>{{u"RecurrenceType", 0},
                                               {u"Interval", 1},
                                               {u"DayOfWeekMask", 0},
                                               {u"DayOfMonth", 0},
                                               {u"Instance", 0},
                                               {u"MonthOfYear", 0}}) {
        int value = -1;
        EXPECT_EQ(pattern->cmd.GetLongProp(n.name, &value), S_OK) << platform::WideToAnsi(n.name);
        EXPECT_EQ(value, n.value) << platform::WideToAnsi(n.name);
    }
    double end = 0.0;
    EXPECT_EQ(pattern->cmd.GetDateProp(u"PatternEndDate", &end), S_OK);
    EXPECT_EQ(Date(end), "2018-05-28 00:00");
    // The pattern cannot be changed either.
    EXPECT_EQ(pattern->cmd.PutLongProp(u"Interval", 2), kOlDataFileReadOnly);

    // Tasks: the monthly series in progress.
    auto tasks = DefaultFolder(s.nameSpace->cmd, olFolderTasks);
    ASSERT_TRUE(*tasks);
    auto taskItems = Prop(tasks->cmd, u"Items");
    auto loaded = Call(taskItems->cmd, u"Item", {platform::MakeI4(2)});
    ASSERT_TRUE(*loaded);
    EXPECT_EQ(Text(loaded->cmd, u"Subject"), "fully loaded task");
    EXPECT_EQ(Text(loaded->cmd, u"Categories"), "Blue category");
    for (const Number& n :
         std::vector<Number>{{u"PercentComplete", 75}, {u"Status", 1}, {u"Importance", 2}}) {
        int value = -1;
        EXPECT_EQ(loaded->cmd.GetLongProp(n.name, &value), S_OK);
        EXPECT_EQ(value, n.value) << platform::WideToAnsi(n.name);
    }
    unsigned char complete = 9;
    EXPECT_EQ(loaded->cmd.GetBoolProp(u"Complete", &complete), S_OK);
    EXPECT_EQ(complete, 0);
    auto monthly = Call(loaded->cmd, u"GetRecurrencePattern");
    ASSERT_TRUE(*monthly);
    int type = -1;
    int day = -1;
    EXPECT_EQ(monthly->cmd.GetLongProp(u"RecurrenceType", &type), S_OK);
    EXPECT_EQ(monthly->cmd.GetLongProp(u"DayOfMonth", &day), S_OK);
    EXPECT_EQ(type, 2);
    EXPECT_EQ(day, 1);
    double due = 0.0;
    auto basic = Call(taskItems->cmd, u"Item", {platform::MakeI4(1)});
    EXPECT_EQ(basic->cmd.GetDateProp(u"DueDate", &due), S_OK);
    EXPECT_EQ(Date(due), "2018-03-06 00:00");

    // Notes: the sticky note whose body is only compressed RTF.
    auto notes = DefaultFolder(s.nameSpace->cmd, olFolderNotes);
    ASSERT_TRUE(*notes);
    auto noteItems = Prop(notes->cmd, u"Items");
    auto note = Call(noteItems->cmd, u"GetFirst");
    ASSERT_TRUE(*note);
    EXPECT_EQ(Text(note->cmd, u"Body").rfind("a pretty yellow sticky note", 0), 0u);
    int color = -1;
    EXPECT_EQ(note->cmd.GetLongProp(u"Color", &color), S_OK);
    EXPECT_EQ(color, 3);
    unsigned char saved = 0;
    EXPECT_EQ(note->cmd.GetBoolProp(u"Saved", &saved), S_OK);
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(Text(note->cmd, u"EntryID").size(), 48u);
}

TEST_F(OlDataFileServerTest, NothingIsWrittenToTheFile)
{
    REQUIRE_SAMPLES();
    Choose("aspose-net__SampleContacts.pst");
    Started s = Start();
    ASSERT_EQ(s.hr, S_OK);
    auto folder = DefaultFolder(s.nameSpace->cmd, olFolderContacts);
    ASSERT_TRUE(*folder);
    auto items = Prop(folder->cmd, u"Items");
    HRESULT hr = S_OK;
    EXPECT_FALSE(*Call(items->cmd, u"Add", {platform::MakeI4(olContactItem)}, &hr));
    EXPECT_EQ(hr, kOlDataFileReadOnly);

    auto contact = Call(items->cmd, u"GetFirst");
    ASSERT_TRUE(*contact);
    EXPECT_EQ(contact->cmd.PutStringProp(u"FullName", "Changed"), kOlDataFileReadOnly);
    EXPECT_EQ(contact->cmd.PutDateProp(u"Birthday", 40000.0), kOlDataFileReadOnly);
    EXPECT_EQ(contact->cmd.CallMethod(u"Save", nullptr), kOlDataFileReadOnly);
    EXPECT_EQ(folder->cmd.PutStringProp(u"Name", "Other"), kOlDataFileReadOnly);
    EXPECT_EQ(Text(contact->cmd, u"FullName"), "Sebastian Wright");

    // A new collection starts its own walk; the file still holds six contacts.
    auto again = Prop(folder->cmd, u"Items");
    int count = 0;
    EXPECT_EQ(again->cmd.GetLongProp(u"Count", &count), S_OK);
    EXPECT_EQ(count, 6);
}

TEST_F(OlDataFileServerTest, FilesThatDoNotOpen)
{
    REQUIRE_SAMPLES();
    struct Case
    {
        const char* what;
        std::string path; // relative to the samples, or empty for none
        const char* password;
        bool opens;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"no file chosen", "", "", false, "No Outlook data file is chosen."},
        {"a missing file", "no-such-file.pst", "", false, ""},
        {"not an Outlook data file", "aspose-c__SMTP_Outlook.pst", "", false, ""},
        {"protected, no password", "java-libpst__passworded.pst", "", false, "is protected by a password"},
        {"protected, wrong password", "java-libpst__passworded.pst", "password", false,
         "password for the Outlook data file"},
        {"protected, its password", "java-libpst__passworded.pst", "pstqnp`4sT", true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_source->SetFile({c.path.empty() ? std::string() : kSamples + c.path, c.password, 1252});
        Started s = Start();
        if (!c.opens) {
            EXPECT_EQ(s.hr, kOlDataFileCannotOpen);
            EXPECT_FALSE(s.app);
            EXPECT_NE(m_source->LastOpenError(), "");
            EXPECT_NE(m_source->LastOpenError().find(c.reason), std::string::npos)
                << m_source->LastOpenError();
            continue;
        }
        ASSERT_EQ(s.hr, S_OK) << m_source->LastOpenError();
        EXPECT_EQ(m_source->LastOpenError(), "");
        auto folder = DefaultFolder(s.nameSpace->cmd, olFolderContacts);
        ASSERT_TRUE(*folder);
        int count = 0;
        EXPECT_EQ(Prop(folder->cmd, u"Items")->cmd.GetLongProp(u"Count", &count), S_OK);
        EXPECT_EQ(count, 1);
    }

    // The session does not start; the connector stays disconnected.
    m_source->SetFile({kSamples + "java-libpst__passworded.pst", "", 1252});
    OlSession session(m_servers, [](char*, std::size_t) { return false; });
    OlBaseUtil connector(session);
    EXPECT_FALSE(connector.IsConnected());
    EXPECT_FALSE(session.IsStarted());
}

// --- One item built from its properties ------------------------------------------------------

pst::Bytes Utf16(std::u16string_view text)
{
    pst::Bytes b;
    for (char16_t c : text) {
        b.push_back(static_cast<std::uint8_t>(c));
        b.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return b;
}

pst::Bytes Le(std::uint64_t v, int size)
{
    pst::Bytes b;
    for (int i = 0; i < size; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    return b;
}

pst::RawProperty Tagged(std::uint16_t tag, std::uint16_t type, pst::Bytes data)
{
    pst::RawProperty p;
    p.fileTag = tag;
    p.type = type;
    p.data = std::move(data);
    return p;
}

pst::RawProperty Named(const pst::Guid& set, std::uint32_t lid, std::uint16_t fileTag, std::uint16_t type,
                       pst::Bytes data)
{
    pst::RawProperty p = Tagged(fileTag, type, std::move(data));
    p.named = true;
    p.set = set;
    p.lid = lid;
    return p;
}

pst::RawProperty NamedString(const pst::Guid& set, std::string name, std::uint16_t fileTag,
                             std::uint16_t type, pst::Bytes data)
{
    pst::RawProperty p = Tagged(fileTag, type, std::move(data));
    p.named = true;
    p.stringName = true;
    p.set = set;
    p.name = std::move(name);
    return p;
}

// An appointment of 2016-08-02 15:00 UTC, all day, with a reminder 15 minutes before, no
// location, and one user field "Team" = "Blue".
pst::PstItem Appointment()
{
    using namespace pst;
    Bytes stream = {0x02, 0x01, 0x01, 0x00, 0x00, 0x00, 0x45, 0x00, 0x00, 0x00, 0x1F, 0x00, 0, 0, 0, 0, 4, 0};
    const Bytes name = Utf16(u"Team");
    stream.insert(stream.end(), name.begin(), name.end());
    stream.insert(stream.end(), {0, 0, 0, 0, 0});
    const std::uint64_t start = (1470150000ULL + 11644473600ULL) * 10000000ULL;
    return PstItem({Tagged(tag::kMessageClass, kTypeUnicode, Utf16(u"IPM.Appointment")),
                    Tagged(tag::kSubject, kTypeUnicode, Utf16(u"M\u00FCller \u2013 review")),
                    Named(kPsetidAppointment, 0x820D, 0x8100, kTypeSysTime, Le(start, 8)),
                    Named(kPsetidAppointment, 0x8215, 0x8102, kTypeBoolean, Bytes{1}),
                    Named(kPsetidCommon, 0x8501, 0x8104, kTypeLong, Le(15, 4)),
                    Named(kPsetidCommon, 0x8540, 0x8020, kTypeBinary, stream),
                    NamedString(kPsPublicStrings, "Team", 0x8021, kTypeUnicode, Utf16(u"Blue"))},
                   1252, 7);
}

TEST_F(OlDataFileServerTest, ValuesByTypeAndNames)
{
    {
        IDispatch* raw = NewOutlookDataFileItem(Appointment(), m_source->LiveCounter());
        Object owned(raw);
        ASSERT_EQ(m_source->LiveObjects(), 1);

        // Each Outlook name gives its type; a value the item lacks is empty.
        struct Case
        {
            const OLECHAR* name;
            HRESULT hr;
            VARTYPE vt;
        };
        const std::vector<Case> cases = {
            {u"Subject", S_OK, VT_BSTR},
            {u"Start", S_OK, VT_DATE},
            {u"AllDayEvent", S_OK, VT_BOOL},
            {u"ReminderMinutesBeforeStart", S_OK, VT_I4},
            {u"Location", S_OK, VT_EMPTY},
            {u"Body", S_OK, VT_EMPTY},
            {u"EntryID", S_OK, VT_BSTR},
            {u"UserProperties", S_OK, VT_DISPATCH},
            // Names match without regard to case.
            {u"subject", S_OK, VT_BSTR},
            {u"ALLDAYEVENT", S_OK, VT_BOOL},
            // Names Outlook's appointments do not have, or no member at all.
            {u"FirstName", DISP_E_UNKNOWNNAME, VT_EMPTY},
            {u"Color", DISP_E_UNKNOWNNAME, VT_EMPTY},
            {u"NoSuchProperty", DISP_E_UNKNOWNNAME, VT_EMPTY},
            {u"Subj\u00E9ct", DISP_E_UNKNOWNNAME, VT_EMPTY},
        };
        for (const Case& c : cases) {
            Got got = Get(owned.cmd, c.name);
            EXPECT_EQ(got.hr, c.hr) << platform::WideToAnsi(c.name);
            EXPECT_EQ(got.vt, c.vt) << platform::WideToAnsi(c.name);
        }

        // Texts cross as UTF-16 and come back in the ANSI code page (1252).
        VARIANT subject;
        platform::VariantInit(&subject);
        ASSERT_EQ(owned.cmd.GetProperty(u"Subject", &subject), S_OK);
        EXPECT_EQ(std::u16string(subject.bstrVal), u"M\u00FCller \u2013 review");
        platform::VariantClear(&subject);
        EXPECT_EQ(Text(owned.cmd, u"Subject"), "M\xFCller \x96 review");
        double start = 0.0;
        EXPECT_EQ(owned.cmd.GetDateProp(u"Start", &start), S_OK);
        EXPECT_EQ(Date(start), "2016-08-02 17:00"); // local (Berlin summer) time
        char untouched[8] = "keep";
        EXPECT_EQ(owned.cmd.GetStringProp(u"Location", untouched, sizeof untouched), S_FALSE);
        EXPECT_STREQ(untouched, "keep");

        // Both locales the connectors look names up in.
        IDispatch* d = owned.cmd.GetObject();
        for (LCID lcid : {LOCALE_SYSTEM_DEFAULT, LOCALE_US_ENGLISH}) {
            const OLECHAR* names[] = {u"alldayevent"};
            DISPID id = 0;
            EXPECT_EQ(d->GetIDsOfNames(IID_NULL, names, 1, lcid, &id), S_OK);
            EXPECT_NE(id, DISPID_UNKNOWN);
            const OLECHAR* unknown[] = {u"Nope"};
            EXPECT_EQ(d->GetIDsOfNames(IID_NULL, unknown, 1, lcid, &id), DISP_E_UNKNOWNNAME);
            EXPECT_EQ(id, DISPID_UNKNOWN);
        }
        // An id that is no member, and a property called with an argument.
        EXPECT_EQ(d->Invoke(4711, IID_NULL, LOCALE_SYSTEM_DEFAULT, DISPATCH_PROPERTYGET, nullptr, nullptr),
                  DISP_E_MEMBERNOTFOUND);
        VARIANT result;
        platform::VariantInit(&result);
        EXPECT_EQ(owned.cmd.CallMethod(u"Subject", &result, {platform::MakeI4(1)}), DISP_E_BADPARAMCOUNT);

        // The user fields: by 1-based position (as a reference to a VT_I4) or by name.
        auto fields = Prop(owned.cmd, u"UserProperties");
        ASSERT_TRUE(*fields);
        int count = 0;
        EXPECT_EQ(fields->cmd.GetLongProp(u"Count", &count), S_OK);
        EXPECT_EQ(count, 1);
        VARIANT index = platform::MakeI4(1);
        auto team = Call(fields->cmd, u"Item", {platform::MakeByRef(&index)});
        ASSERT_TRUE(*team);
        EXPECT_EQ(Text(team->cmd, u"Name", 64), "Team");
        EXPECT_EQ(Text(team->cmd, u"Value", 64), "Blue");
        EXPECT_EQ(team->cmd.PutStringProp(u"Value", "Red"), kOlDataFileReadOnly);
        VARIANT past = platform::MakeI4(2);
        HRESULT hr = S_OK;
        EXPECT_FALSE(*Call(fields->cmd, u"Item", {platform::MakeByRef(&past)}, &hr));
        EXPECT_EQ(hr, DISP_E_BADINDEX);
        EXPECT_TRUE(*Call(fields->cmd, u"Find", {platform::MakeBstr("team")}));
        EXPECT_FALSE(*Call(fields->cmd, u"Find", {platform::MakeBstr("Room")}, &hr));
        EXPECT_EQ(hr, S_FALSE); // no object: Outlook's "Nothing"
        EXPECT_FALSE(*Call(
            fields->cmd, u"Add",
            {platform::MakeBstr("Room"), platform::MakeI4(1), platform::MakeBool(false), platform::MakeI4(1)},
            &hr));
        EXPECT_EQ(hr, kOlDataFileReadOnly);
        EXPECT_EQ(m_source->LiveObjects(), 3); // the item, its fields, and "Team"
    }
    EXPECT_EQ(m_source->LiveObjects(), 0);
}

TEST_F(OlDataFileServerTest, TheApplicationAndItsNamespace)
{
    REQUIRE_SAMPLES();
    Choose("java-libpst__dist-list.pst");
    CLSID clsid{};
    ASSERT_EQ(platform::CLSIDFromProgID(m_servers, u"outlook.application", &clsid), S_OK);
    EXPECT_EQ(clsid, kOutlookApplicationClsid);
    // A second registration in the same table is refused.
    EXPECT_FALSE(RegisterOutlookDataFile(m_servers, std::make_shared<OutlookDataFileSource>()));
    EXPECT_FALSE(RegisterOutlookDataFile(m_servers, nullptr));

    void* unknown = nullptr;
    ASSERT_EQ(platform::CoCreateInstance(m_servers, clsid, nullptr, 0x15, IID_IUnknown, &unknown), S_OK);
    IUnknown* app = static_cast<IUnknown*>(unknown);
    void* runnable = nullptr;
    ASSERT_EQ(app->QueryInterface(IID_IRunnableObject, &runnable), S_OK);
    EXPECT_EQ(static_cast<IRunnableObject*>(runnable)->Run(), S_OK);
    static_cast<IRunnableObject*>(runnable)->Release();
    EXPECT_EQ(platform::OleRun(app), S_OK);
    void* dispatch = nullptr;
    ASSERT_EQ(app->QueryInterface(IID_IDispatch, &dispatch), S_OK);
    app->Release();
    auto application = std::make_unique<Object>(static_cast<IDispatch*>(dispatch));
    EXPECT_EQ(m_source->LiveObjects(), 1);

    struct Case
    {
        const char* what;
        VARIANT arg;
        HRESULT hr;
    };
    const std::vector<Case> cases = {
        {"MAPI", platform::MakeBstr("MAPI"), S_OK},
        {"mapi", platform::MakeBstr("mapi"), S_OK},
        {"another namespace", platform::MakeBstr("WEB"), E_INVALIDARG},
        {"a number", platform::MakeI4(1), DISP_E_TYPEMISMATCH},
    };
    for (const Case& c : cases) {
        HRESULT hr = S_OK;
        auto ns = Call(application->cmd, u"GetNameSpace", {c.arg}, &hr);
        EXPECT_EQ(hr, c.hr) << c.what;
        EXPECT_EQ(static_cast<bool>(*ns), c.hr == S_OK) << c.what;
    }
    EXPECT_EQ(application->cmd.CallMethod(u"GetNameSpace", nullptr), DISP_E_PARAMNOTFOUND);

    auto ns = Call(application->cmd, u"GetNameSpace", {platform::MakeBstr("MAPI")});
    ASSERT_TRUE(*ns);
    HRESULT hr = S_OK;
    EXPECT_FALSE(*Call(ns->cmd, u"GetDefaultFolder", {platform::MakeBstr("10")}, &hr));
    EXPECT_EQ(hr, DISP_E_TYPEMISMATCH);
    // The folder number as a reference to a VT_I4 also does.
    VARIANT number = platform::MakeI4(olFolderContacts);
    auto contacts = Call(ns->cmd, u"GetDefaultFolder", {platform::MakeByRef(&number)});
    ASSERT_TRUE(*contacts);
    EXPECT_EQ(Text(contacts->cmd, u"Name", 31), "Contacts");
    // The objects outlive the application.
    application.reset();
    ns.reset();
    auto items = Prop(contacts->cmd, u"Items");
    int count = 0;
    EXPECT_EQ(items->cmd.GetLongProp(u"Count", &count), S_OK);
    EXPECT_EQ(count, 1);
}

} // namespace
