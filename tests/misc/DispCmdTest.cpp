// CDispCmd over a scripted automation object: the name lookup and its locale retry, the
// invoke flags and argument order, the typed getters and setters with their skip rules, the
// log line of a failed lookup and the references it holds and hands out.
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "common/LogLines.h"
#include "common/PinnedLocale.h"
#include "common/ScriptedServer.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "misc/DispCmd.h"

namespace {

const fwtest::PinnedLocale kPinned;

using fwtest::LogLine;
using fwtest::OwnedVariant;
using fwtest::ScriptedObject;
using fwtest::ScriptedRef;

class DispCmdTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = m_home.Path("work/");
        m_home.WriteFile("work/.keep", "");
        g_debugLog.SetLogFolder(m_folder.c_str());
        g_debugLog.SetLogLevel(3);
        g_debugLog.EnableLog(true);
    }
    void TearDown() override { g_debugLog.EnableLog(false); }

    std::vector<LogLine> Log() const { return fwtest::ReadLogLines(m_folder + "appdebug.log"); }

    fwtest::TempHome m_home;
    std::string m_folder;
};

std::vector<LCID> LookupLocales(const ScriptedObject& object)
{
    std::vector<LCID> locales;
    for (const auto& l : object.Lookups()) {
        locales.push_back(l.lcid);
    }
    return locales;
}

TEST_F(DispCmdTest, HoldsItsOwnReference)
{
    ScriptedRef object;
    {
        CDispCmd cmd(object.dispatch());
        EXPECT_EQ(object.OtherRefs(), 1u);
        EXPECT_EQ(cmd.GetObject(), object.dispatch());
    }
    EXPECT_EQ(object.OtherRefs(), 0u);
    CDispCmd empty(nullptr);
    EXPECT_EQ(empty.GetObject(), nullptr);
}

TEST_F(DispCmdTest, InvokeRefusesWhatItCannotCall)
{
    ScriptedRef object;
    object->SetTextProperty("Name", "x");
    CDispCmd cmd(object.dispatch());
    CDispCmd empty(nullptr);
    VARIANT result;
    platform::VariantInit(&result);
    EXPECT_EQ(empty.Invoke(u"Name", nullptr, 0, &result, DISPATCH_PROPERTYGET), E_INVALIDARG);
    EXPECT_EQ(cmd.Invoke(nullptr, nullptr, 0, &result, DISPATCH_PROPERTYGET), E_INVALIDARG);
    EXPECT_EQ(cmd.Invoke(u"", nullptr, 0, &result, DISPATCH_PROPERTYGET), E_INVALIDARG);
    EXPECT_TRUE(object->Lookups().empty());
    EXPECT_TRUE(Log().empty());
}

TEST_F(DispCmdTest, LooksNamesUpInTheSystemLocaleThenInUsEnglish)
{
    struct Case
    {
        const char* name;
        const char16_t* member;
        HRESULT expected;
        std::vector<LCID> lookups;
        bool called;
        const char* logged; // null: no line
    };
    const Case cases[] = {
        {"known", u"Known", S_OK, {0x0800}, true, nullptr},
        {"known in US English only", u"English", S_OK, {0x0800, 0x0409}, true, nullptr},
        {"unknown in both",
         u"Missing",
         DISP_E_UNKNOWNNAME,
         {0x0800, 0x0409},
         false,
         "Failed to call IDispatch->GetIDsOfNames, Name=Missing, hr=0x80020006"},
        {"second lookup fails otherwise",
         u"Broken",
         E_OUTOFMEMORY,
         {0x0800, 0x0409},
         false,
         "Failed to call IDispatch->GetIDsOfNames, Name=Broken, hr=0x8007000e"},
        // Any other failure of the first lookup is neither retried nor logged, and nothing
        // is called with an id that was never found.
        {"first lookup fails otherwise", u"Locked", E_FAIL, {0x0800}, false, nullptr},
    };
    for (const Case& c : cases) {
        ScriptedRef object;
        object->SetTextProperty("Known", "k");
        object->SetTextProperty("English", "e");
        object->KnownOnlyInUsEnglish("English");
        object->SetTextProperty("Locked", "l");
        object->FailLookup("Locked", E_FAIL);
        object->SetTextProperty("Broken", "b");
        object->FailLookup("Broken", DISP_E_UNKNOWNNAME, LOCALE_SYSTEM_DEFAULT);
        object->FailLookup("Broken", E_OUTOFMEMORY, LOCALE_US_ENGLISH);
        CDispCmd cmd(object.dispatch());
        std::remove((m_folder + "appdebug.log").c_str());
        VARIANT result;
        platform::VariantInit(&result);
        HRESULT hr = cmd.GetProperty(c.member, &result);
        platform::VariantClear(&result);
        EXPECT_EQ(hr, c.expected) << c.name;
        EXPECT_EQ(LookupLocales(*object.get()), c.lookups) << c.name;
        EXPECT_EQ(object->Calls().size(), c.called ? 1u : 0u) << c.name;
        if (c.called) {
            EXPECT_EQ(object->Calls()[0].lcid, 0x0800u) << c.name;
        }
        std::vector<LogLine> expected;
        if (c.logged != nullptr) {
            expected.push_back(LogLine{"DispCmd.cpp", true, c.logged});
        }
        EXPECT_EQ(Log(), expected) << c.name;
    }
}

TEST_F(DispCmdTest, SendsTheFlagsAndArgumentsOfEachKindOfCall)
{
    ScriptedRef object;
    object->SetProperty("Count", platform::MakeI4(4));
    std::vector<std::string> seen;
    object->SetMethod("Add", [&](const std::vector<OwnedVariant>& args, VARIANT* result) {
        for (const OwnedVariant& a : args) {
            seen.push_back(a.Type() == VT_BSTR ? a.Text() : std::to_string(a.v.lVal));
        }
        *result = platform::MakeI4(99);
        return S_OK;
    });
    CDispCmd cmd(object.dispatch());

    VARIANT result;
    platform::VariantInit(&result);
    ASSERT_EQ(cmd.GetProperty(u"Count", &result), S_OK);
    EXPECT_EQ(result.lVal, 4);
    VARIANT five = platform::MakeI4(5);
    ASSERT_EQ(cmd.PutProperty(u"Count", &five), S_OK);
    EXPECT_EQ(object->Value("Count").v.lVal, 5);
    ASSERT_EQ(cmd.CallMethod(u"Add", &result,
                             {platform::MakeBstr("name"), platform::MakeI4(1), platform::MakeI4(2)}),
              S_OK);
    EXPECT_EQ(result.lVal, 99);

    const auto& calls = object->Calls();
    ASSERT_EQ(calls.size(), 3u);
    // Property get: flags 2, no arguments, a result.
    EXPECT_EQ(calls[0].flags, DISPATCH_PROPERTYGET);
    EXPECT_TRUE(calls[0].args.empty());
    EXPECT_TRUE(calls[0].namedIds.empty());
    EXPECT_TRUE(calls[0].hadResult);
    // Property put: flags 4, the value as the one argument named DISPID_PROPERTYPUT, no result.
    EXPECT_EQ(calls[1].flags, DISPATCH_PROPERTYPUT);
    ASSERT_EQ(calls[1].args.size(), 1u);
    EXPECT_EQ(calls[1].namedIds, std::vector<DISPID>{-3});
    EXPECT_FALSE(calls[1].hadResult);
    // Method: flags 1, the arguments last first on the wire, in order for the method.
    EXPECT_EQ(calls[2].flags, DISPATCH_METHOD);
    ASSERT_EQ(calls[2].args.size(), 3u);
    EXPECT_EQ(calls[2].args[0].v.lVal, 2);
    EXPECT_EQ(calls[2].args[2].Text(), "name");
    EXPECT_EQ(seen, (std::vector<std::string>{"name", "1", "2"}));

    object->FailCall("Count", DISP_E_EXCEPTION);
    EXPECT_EQ(cmd.GetProperty(u"Count", &result), DISP_E_EXCEPTION);
    EXPECT_TRUE(Log().empty()); // only a failed lookup is logged here
}

TEST_F(DispCmdTest, CallMethodReleasesTheArgumentsItTookOver)
{
    ScriptedRef object;
    ScriptedRef argument;
    object->SetMethod("Take", [](const std::vector<OwnedVariant>&, VARIANT*) { return S_OK; });
    CDispCmd cmd(object.dispatch());
    EXPECT_EQ(cmd.CallMethod(u"Take", nullptr, {platform::MakeDispatch(argument.dispatch())}), S_OK);
    EXPECT_FALSE(object->Calls().front().hadResult);
    object->ForgetCalls(); // the record of the call holds a copy of the argument
    EXPECT_EQ(argument.OtherRefs(), 0u);
    EXPECT_EQ(cmd.CallMethod(u"Missing", nullptr, {platform::MakeDispatch(argument.dispatch())}),
              DISP_E_UNKNOWNNAME);
    EXPECT_EQ(argument.OtherRefs(), 0u);

    object->SetObjectMethod("Next", argument.dispatch());
    EXPECT_EQ(argument.OtherRefs(), 1u); // the scripted method's own
    IDispatch* got = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(cmd.CallObjectMethod(u"Next", &got), S_OK);
    EXPECT_EQ(got, argument.dispatch());
    EXPECT_EQ(argument.OtherRefs(), 2u);
    got->Release();
    got = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(cmd.CallObjectMethod(u"Take", &got), S_FALSE); // no object comes back
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(cmd.CallObjectMethod(u"Missing", &got), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(got, nullptr);
    EXPECT_EQ(argument.OtherRefs(), 1u);
}

// A value of each type, as the scripted property holds it.
enum class Kind
{
    None, // the property does not exist
    Text,
    NullText,
    Long,
    Bool,
    Date,
    Object,
    Fails, // the call fails with DISP_E_EXCEPTION
};

void Script(ScriptedObject& object, Kind kind, const char* text, LONG number, IDispatch* other)
{
    switch (kind) {
    case Kind::None:
        break;
    case Kind::Text:
        object.SetTextProperty("P", text);
        break;
    case Kind::NullText: {
        VARIANT v;
        platform::VariantInit(&v);
        v.vt = VT_BSTR;
        v.bstrVal = nullptr;
        object.SetProperty("P", v);
        break;
    }
    case Kind::Long:
        object.SetProperty("P", platform::MakeI4(number));
        break;
    case Kind::Bool: {
        VARIANT v;
        platform::VariantInit(&v);
        v.vt = VT_BOOL;
        v.boolVal = static_cast<VARIANT_BOOL>(number);
        object.SetProperty("P", v);
        break;
    }
    case Kind::Date:
        object.SetProperty("P", platform::MakeDate(number + 0.5));
        break;
    case Kind::Object:
        object.SetObjectProperty("P", other);
        break;
    case Kind::Fails:
        object.SetTextProperty("P", "never read");
        object.FailCall("P", DISP_E_EXCEPTION);
        break;
    }
}

TEST_F(DispCmdTest, GetStringProp)
{
    const std::string forty(40, 'x');
    struct Case
    {
        const char* name;
        Kind kind;
        const char* text;
        int size;
        bool nullBuffer;
        HRESULT expected;
        const char* buffer; // afterwards; the buffer starts as "untouched"
        bool called;
    };
    const Case cases[] = {
        {"text", Kind::Text, "Hello", 64, false, S_OK, "Hello", true},
        {"code page", Kind::Text, "M\xFCller", 64, false, S_OK, "M\xFCller", true},
        {"40 characters into 31 bytes", Kind::Text, forty.c_str(), 31, false, S_OK,
         "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx", true},
        {"exactly size - 1", Kind::Text, "abc", 4, false, S_OK, "abc", true},
        {"size 1", Kind::Text, "abc", 1, false, S_OK, "", true},
        {"null text", Kind::NullText, nullptr, 64, false, S_OK, "", true},
        {"a number", Kind::Long, nullptr, 64, false, S_FALSE, "untouched", true},
        {"missing", Kind::None, nullptr, 64, false, DISP_E_UNKNOWNNAME, "untouched", false},
        {"call fails", Kind::Fails, nullptr, 64, false, DISP_E_EXCEPTION, "untouched", true},
        {"null buffer", Kind::Text, "Hello", 64, true, S_FALSE, "untouched", false},
        // No room even for the terminator: nothing is read and nothing written before the buffer.
        {"size 0", Kind::Text, "Hello", 0, false, S_FALSE, "untouched", false},
        {"negative size", Kind::Text, "Hello", -5, false, S_FALSE, "untouched", false},
    };
    for (const Case& c : cases) {
        ScriptedRef object;
        Script(*object.get(), c.kind, c.text, 0, nullptr);
        CDispCmd cmd(object.dispatch());
        char storage[80];
        std::memset(storage, '#', sizeof storage);
        char* buffer = storage + 8;
        std::strcpy(buffer, "untouched");
        EXPECT_EQ(cmd.GetStringProp(u"P", c.nullBuffer ? nullptr : buffer, c.size), c.expected) << c.name;
        EXPECT_STREQ(buffer, c.buffer) << c.name;
        EXPECT_EQ(std::string(storage, 8), std::string(8, '#')) << c.name;
        EXPECT_EQ(!object->Calls().empty(), c.called) << c.name;
    }
}

TEST_F(DispCmdTest, TypedGettersReadOnlyTheirType)
{
    struct Case
    {
        const char* name;
        Kind kind;
        LONG number;
        HRESULT longResult;
        int longValue; // -7: untouched
        HRESULT boolResult;
        int boolValue; // 7: untouched
        HRESULT dateResult;
        double dateValue; // -7.0: untouched
    };
    const Case cases[] = {
        {"long", Kind::Long, 42, S_OK, 42, S_FALSE, 7, S_FALSE, -7.0},
        {"negative long", Kind::Long, -3, S_OK, -3, S_FALSE, 7, S_FALSE, -7.0},
        {"true", Kind::Bool, VARIANT_TRUE, S_FALSE, -7, S_OK, 1, S_FALSE, -7.0},
        {"any non-zero is true", Kind::Bool, 5, S_FALSE, -7, S_OK, 1, S_FALSE, -7.0},
        {"false", Kind::Bool, 0, S_FALSE, -7, S_OK, 0, S_FALSE, -7.0},
        {"date", Kind::Date, 40000, S_FALSE, -7, S_FALSE, 7, S_OK, 40000.5},
        {"text", Kind::Text, 0, S_FALSE, -7, S_FALSE, 7, S_FALSE, -7.0},
        {"missing", Kind::None, 0, DISP_E_UNKNOWNNAME, -7, DISP_E_UNKNOWNNAME, 7, DISP_E_UNKNOWNNAME, -7.0},
        {"call fails", Kind::Fails, 0, DISP_E_EXCEPTION, -7, DISP_E_EXCEPTION, 7, DISP_E_EXCEPTION, -7.0},
    };
    for (const Case& c : cases) {
        ScriptedRef object;
        Script(*object.get(), c.kind, "text", c.number, nullptr);
        CDispCmd cmd(object.dispatch());
        int longValue = -7;
        unsigned char boolValue = 7;
        double dateValue = -7.0;
        EXPECT_EQ(cmd.GetLongProp(u"P", &longValue), c.longResult) << c.name;
        EXPECT_EQ(longValue, c.longValue) << c.name;
        EXPECT_EQ(cmd.GetBoolProp(u"P", &boolValue), c.boolResult) << c.name;
        EXPECT_EQ(boolValue, c.boolValue) << c.name;
        EXPECT_EQ(cmd.GetDateProp(u"P", &dateValue), c.dateResult) << c.name;
        EXPECT_EQ(dateValue, c.dateValue) << c.name;
    }
    // Nowhere to put the value: nothing is called.
    ScriptedRef object;
    object->SetProperty("P", platform::MakeI4(1));
    CDispCmd cmd(object.dispatch());
    EXPECT_EQ(cmd.GetLongProp(u"P", nullptr), S_FALSE);
    EXPECT_EQ(cmd.GetBoolProp(u"P", nullptr), S_FALSE);
    EXPECT_EQ(cmd.GetDateProp(u"P", nullptr), S_FALSE);
    EXPECT_EQ(cmd.GetObjectProp(u"P", nullptr), S_FALSE);
    EXPECT_TRUE(object->Calls().empty());
}

TEST_F(DispCmdTest, GetObjectPropHandsOverOneReference)
{
    ScriptedRef object;
    ScriptedRef child;
    CDispCmd cmd(object.dispatch());
    object->SetObjectProperty("Items", child.dispatch());
    EXPECT_EQ(child.OtherRefs(), 1u); // the property's value

    IDispatch* got = reinterpret_cast<IDispatch*>(1);
    ASSERT_EQ(cmd.GetObjectProp(u"Items", &got), S_OK);
    EXPECT_EQ(got, child.dispatch());
    EXPECT_EQ(child.OtherRefs(), 2u);
    got->Release();

    // Read as another type, an object-valued property leaves no reference behind.
    int number = 0;
    EXPECT_EQ(cmd.GetLongProp(u"Items", &number), S_FALSE);
    char text[8] = "keep";
    EXPECT_EQ(cmd.GetStringProp(u"Items", text, sizeof text), S_FALSE);
    EXPECT_STREQ(text, "keep");
    EXPECT_EQ(child.OtherRefs(), 1u);

    object->SetProperty("Count", platform::MakeI4(3));
    got = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(cmd.GetObjectProp(u"Count", &got), S_FALSE);
    EXPECT_EQ(got, nullptr); // set to null before the read
    got = reinterpret_cast<IDispatch*>(1);
    EXPECT_EQ(cmd.GetObjectProp(u"Missing", &got), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(got, nullptr);
}

TEST_F(DispCmdTest, SettersSkipEmptyValuesAndNeverClearAProperty)
{
    const std::string huge(25000, 'y');
    struct Case
    {
        const char* name;
        std::function<HRESULT(CDispCmd&)> put;
        bool sent;
        VARTYPE type;
        std::string text;
        LONG number;
        double date;
    };
    const Case cases[] = {
        {"text", [](CDispCmd& c) { return c.PutStringProp(u"P", "new"); }, true, VT_BSTR, "new", 0, 0},
        {"code page", [](CDispCmd& c) { return c.PutStringProp(u"P", "\xE9t\xE9"); }, true, VT_BSTR,
         "\xE9t\xE9", 0, 0},
        {"empty text", [](CDispCmd& c) { return c.PutStringProp(u"P", ""); }, false, 0, "", 0, 0},
        {"null text", [](CDispCmd& c) { return c.PutStringProp(u"P", nullptr); }, false, 0, "", 0, 0},
        {"long text is cut", [&](CDispCmd& c) { return c.PutStringProp(u"P", huge.c_str()); }, true, VT_BSTR,
         std::string(20479, 'y'), 0, 0},
        {"long", [](CDispCmd& c) { return c.PutLongProp(u"P", -12); }, true, VT_I4, "", -12, 0},
        {"zero long is sent", [](CDispCmd& c) { return c.PutLongProp(u"P", 0); }, true, VT_I4, "", 0, 0},
        {"bool", [](CDispCmd& c) { return c.PutBoolProp(u"P", 7); }, true, VT_BOOL, "", 1, 0},
        {"false", [](CDispCmd& c) { return c.PutBoolProp(u"P", 0); }, true, VT_BOOL, "", 0, 0},
        {"date", [](CDispCmd& c) { return c.PutDateProp(u"P", 40000.25); }, true, VT_DATE, "", 0, 40000.25},
        {"before 1899-12-30", [](CDispCmd& c) { return c.PutDateProp(u"P", -1.5); }, true, VT_DATE, "", 0,
         -1.5},
        {"no date", [](CDispCmd& c) { return c.PutDateProp(u"P", 0.0); }, false, 0, "", 0, 0},
        {"just above no date", [](CDispCmd& c) { return c.PutDateProp(u"P", 0.000009); }, false, 0, "", 0, 0},
        {"just below no date", [](CDispCmd& c) { return c.PutDateProp(u"P", -0.000009); }, false, 0, "", 0,
         0},
        {"at the edge", [](CDispCmd& c) { return c.PutDateProp(u"P", 0.00001); }, true, VT_DATE, "", 0,
         0.00001},
    };
    for (const Case& c : cases) {
        ScriptedRef object;
        object->SetTextProperty("P", "old");
        CDispCmd cmd(object.dispatch());
        EXPECT_EQ(c.put(cmd), S_OK) << c.name;
        ASSERT_EQ(object->Calls().size(), c.sent ? 1u : 0u) << c.name;
        const OwnedVariant value = object->Value("P");
        if (!c.sent) {
            EXPECT_EQ(value.Text(), "old") << c.name;
            continue;
        }
        EXPECT_EQ(object->Calls()[0].flags, DISPATCH_PROPERTYPUT) << c.name;
        ASSERT_EQ(value.Type(), c.type) << c.name;
        if (c.type == VT_BSTR) {
            EXPECT_EQ(value.Text(), c.text) << c.name;
        } else if (c.type == VT_I4) {
            EXPECT_EQ(value.v.lVal, c.number) << c.name;
        } else if (c.type == VT_BOOL) {
            EXPECT_EQ(value.v.boolVal, c.number) << c.name;
        } else {
            EXPECT_EQ(value.v.date, c.date) << c.name;
        }
    }
    // A put that fails passes its code up.
    ScriptedRef object;
    object->SetTextProperty("P", "old");
    object->FailCall("P", DISP_E_TYPEMISMATCH);
    CDispCmd cmd(object.dispatch());
    EXPECT_EQ(cmd.PutStringProp(u"P", "new"), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(cmd.PutLongProp(u"Missing", 1), DISP_E_UNKNOWNNAME);
}

} // namespace
