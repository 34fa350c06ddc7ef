// The automation layer: BSTR and VARIANT handling, reference counting, and the server table
// with CLSIDFromProgID, CoCreateInstance and OleRun.
#include <gtest/gtest.h>

#include "common/PinnedLocale.h"
#include "common/ScriptedServer.h"
#include "platform/Automation.h"
#include "platform/AutomationServers.h"

namespace {

const fwtest::PinnedLocale kPinned;

using fwtest::ScriptedObject;
using fwtest::ScriptedRef;

constexpr CLSID kClassA = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr CLSID kClassB = {0x11111111, 0x2222, 0x3333, {1, 2, 3, 4, 5, 6, 7, 9}};

TEST(AutomationCodes, HaveTheWindowsValues)
{
    struct Case
    {
        const char* name;
        HRESULT code;
        std::uint32_t windows;
    };
    const Case cases[] = {
        {"E_INVALIDARG", E_INVALIDARG, 0x80070057},
        {"E_NOINTERFACE", E_NOINTERFACE, 0x80004002},
        {"E_POINTER", E_POINTER, 0x80004003},
        {"E_FAIL", E_FAIL, 0x80004005},
        {"DISP_E_MEMBERNOTFOUND", DISP_E_MEMBERNOTFOUND, 0x80020003},
        {"DISP_E_UNKNOWNNAME", DISP_E_UNKNOWNNAME, 0x80020006},
        {"DISP_E_TYPEMISMATCH", DISP_E_TYPEMISMATCH, 0x80020005},
        {"DISP_E_BADVARTYPE", DISP_E_BADVARTYPE, 0x80020008},
        {"REGDB_E_CLASSNOTREG", REGDB_E_CLASSNOTREG, 0x80040154},
        {"CO_E_CLASSSTRING", CO_E_CLASSSTRING, 0x800401F3},
        {"CLASS_E_NOAGGREGATION", CLASS_E_NOAGGREGATION, 0x80040110},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(static_cast<std::uint32_t>(c.code), c.windows) << c.name;
        EXPECT_TRUE(FAILED(c.code)) << c.name;
    }
    EXPECT_EQ(VT_BYREF | VT_VARIANT, 0x400C);
    EXPECT_EQ(CLSCTX_SERVER, 0x15u);
}

TEST(AutomationBstr, KeepsLengthAndTerminator)
{
    EXPECT_EQ(platform::SysAllocString(nullptr), nullptr);
    EXPECT_EQ(platform::SysAllocStringLen(nullptr, 0), nullptr);
    EXPECT_EQ(platform::SysStringLen(nullptr), 0u);
    platform::SysFreeString(nullptr);

    BSTR hello = platform::SysAllocString(u"hello");
    ASSERT_NE(hello, nullptr);
    EXPECT_EQ(platform::SysStringLen(hello), 5u);
    EXPECT_EQ(hello[5], 0);
    platform::SysFreeString(hello);

    BSTR empty = platform::SysAllocString(u"");
    ASSERT_NE(empty, nullptr); // an empty text is not a null one
    EXPECT_EQ(platform::SysStringLen(empty), 0u);
    platform::SysFreeString(empty);

    BSTR zeros = platform::SysAllocStringLen(nullptr, 3);
    ASSERT_NE(zeros, nullptr);
    EXPECT_EQ(platform::SysStringLen(zeros), 3u);
    EXPECT_EQ(zeros[0] | zeros[1] | zeros[2] | zeros[3], 0);
    platform::SysFreeString(zeros);

    const OLECHAR part[] = u"abcdef";
    BSTR cut = platform::SysAllocStringLen(part, 2);
    EXPECT_EQ(std::u16string(cut), u"ab");
    platform::SysFreeString(cut);
}

TEST(AutomationBstr, CrossesTheAnsiCodePage)
{
    struct Case
    {
        const char* ansi;
        std::u16string wide;
    };
    const Case cases[] = {
        {"", u""},
        {"Plain", u"Plain"},
        {"M\xFCller \x80", u"M\u00FCller \u20AC"}, // Windows-1252: u-umlaut, euro sign
    };
    for (const Case& c : cases) {
        BSTR b = platform::AnsiToBstr(c.ansi);
        ASSERT_NE(b, nullptr) << c.ansi;
        EXPECT_EQ(std::u16string(b, platform::SysStringLen(b)), c.wide) << c.ansi;
        EXPECT_EQ(platform::BstrToAnsi(b), c.ansi);
        platform::SysFreeString(b);
    }
    EXPECT_EQ(platform::AnsiToBstr(nullptr), nullptr);
    EXPECT_EQ(platform::BstrToAnsi(nullptr), "");
    EXPECT_EQ(platform::BstrToAnsi(u"\u4E2D"), "?"); // no counterpart in the code page
}

TEST(AutomationVariant, ClearAndCopyOwnWhatTheyHold)
{
    ScriptedRef object;
    VARIANT held = platform::MakeDispatch(object.dispatch());
    EXPECT_EQ(object.OtherRefs(), 1u);

    VARIANT copy;
    platform::VariantInit(&copy);
    ASSERT_EQ(platform::VariantCopy(&copy, &held), S_OK);
    EXPECT_EQ(object.OtherRefs(), 2u);
    EXPECT_EQ(platform::VariantClear(&copy), S_OK);
    EXPECT_EQ(copy.vt, VT_EMPTY);
    EXPECT_EQ(object.OtherRefs(), 1u);

    // Copying over a variant releases what it held.
    VARIANT text = platform::MakeBstr("text");
    ASSERT_EQ(platform::VariantCopy(&held, &text), S_OK);
    EXPECT_EQ(object.OtherRefs(), 0u);
    ASSERT_EQ(held.vt, VT_BSTR);
    EXPECT_NE(held.bstrVal, text.bstrVal); // a text of its own
    EXPECT_EQ(platform::BstrToAnsi(held.bstrVal), "text");
    platform::VariantClear(&held);
    platform::VariantClear(&text);

    VARIANT bad;
    platform::VariantInit(&bad);
    bad.vt = 0x1234;
    EXPECT_EQ(platform::VariantClear(&bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(bad.vt, 0x1234);
    EXPECT_EQ(platform::VariantClear(nullptr), E_INVALIDARG);

    VARIANT target = platform::MakeI4(7);
    VARIANT ref = platform::MakeByRef(&target);
    EXPECT_EQ(platform::VariantClear(&ref), S_OK); // borrowed: nothing to free
    EXPECT_EQ(target.lVal, 7);

    VARIANT b = platform::MakeBool(true);
    EXPECT_EQ(b.vt, VT_BOOL);
    EXPECT_EQ(b.boolVal, VARIANT_TRUE);
}

TEST(AutomationObject, CountsReferencesAndAnswersItsInterfaces)
{
    ScriptedRef object;
    struct Case
    {
        const char* name;
        IID iid;
        HRESULT expected;
    };
    const Case cases[] = {
        {"IUnknown", IID_IUnknown, S_OK},
        {"IDispatch", IID_IDispatch, S_OK},
        {"IRunnableObject", IID_IRunnableObject, S_OK},
        {"other", {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}}, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(object->QueryInterface(c.iid, &out), c.expected) << c.name;
        if (c.expected == S_OK) {
            ASSERT_NE(out, nullptr) << c.name;
            EXPECT_EQ(object.OtherRefs(), 1u) << c.name;
            static_cast<IUnknown*>(out)->Release();
        } else {
            EXPECT_EQ(out, nullptr) << c.name;
        }
        EXPECT_EQ(object.OtherRefs(), 0u) << c.name;
    }
    EXPECT_EQ(object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

struct Servers
{
    Servers()
    {
        factory = [this](const IID& iid, void** out) {
            ++created;
            if (FAILED(factoryResult)) {
                return factoryResult;
            }
            return object->QueryInterface(iid, out);
        };
        EXPECT_TRUE(table.Register(u"Test.Application", kClassA, factory));
    }
    platform::AutomationServers table;
    ScriptedRef object;
    platform::AutomationServers::Factory factory;
    HRESULT factoryResult = S_OK;
    int created = 0;
};

TEST(AutomationServers, RefusesIncompleteOrDuplicateEntries)
{
    Servers s;
    struct Case
    {
        const char* name;
        std::u16string progId;
        CLSID clsid;
        bool withFactory;
        DWORD contexts;
    };
    const Case cases[] = {
        {"empty program id", u"", kClassB, true, CLSCTX_LOCAL_SERVER},
        {"no factory", u"Other.Application", kClassB, false, CLSCTX_LOCAL_SERVER},
        {"no context", u"Other.Application", kClassB, true, 0},
        {"program id taken", u"TEST.application", kClassB, true, CLSCTX_LOCAL_SERVER},
        {"class id taken", u"Other.Application", kClassA, true, CLSCTX_LOCAL_SERVER},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(s.table.Register(c.progId, c.clsid, c.withFactory ? s.factory : nullptr, c.contexts))
            << c.name;
        EXPECT_EQ(s.table.Count(), 1u) << c.name;
    }
    EXPECT_TRUE(s.table.Register(u"Other.Application", kClassB, s.factory));
    EXPECT_TRUE(s.table.Unregister(u"other.APPLICATION"));
    EXPECT_FALSE(s.table.Unregister(u"Other.Application"));
}

TEST(AutomationServers, ClsidFromProgId)
{
    Servers s;
    CLSID clsid = kClassB;
    EXPECT_EQ(platform::CLSIDFromProgID(s.table, u"test.APPLICATION", &clsid), S_OK);
    EXPECT_EQ(clsid, kClassA);
    EXPECT_EQ(platform::CLSIDFromProgID(s.table, u"Missing.Application", &clsid), CO_E_CLASSSTRING);
    EXPECT_EQ(clsid, CLSID_NULL);
    EXPECT_EQ(platform::CLSIDFromProgID(s.table, nullptr, &clsid), E_INVALIDARG);
    EXPECT_EQ(platform::CLSIDFromProgID(s.table, u"Test.Application", nullptr), E_INVALIDARG);
    // Another table knows nothing of this one's servers.
    platform::AutomationServers other;
    EXPECT_EQ(platform::CLSIDFromProgID(other, u"Test.Application", &clsid), CO_E_CLASSSTRING);
}

TEST(AutomationServers, CoCreateInstance)
{
    struct Case
    {
        const char* name;
        CLSID clsid;
        bool outer;
        DWORD contexts;
        HRESULT factoryResult;
        IID iid;
        HRESULT expected;
        int created;
    };
    const IID kOther = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    const Case cases[] = {
        {"IUnknown", kClassA, false, CLSCTX_SERVER, S_OK, IID_IUnknown, S_OK, 1},
        {"IDispatch, local only", kClassA, false, CLSCTX_LOCAL_SERVER, S_OK, IID_IDispatch, S_OK, 1},
        {"context 0", kClassA, false, 0, S_OK, IID_IUnknown, E_INVALIDARG, 0},
        {"aggregation", kClassA, true, CLSCTX_SERVER, S_OK, IID_IUnknown, CLASS_E_NOAGGREGATION, 0},
        {"unknown class", kClassB, false, CLSCTX_SERVER, S_OK, IID_IUnknown, REGDB_E_CLASSNOTREG, 0},
        {"not in the context", kClassA, false, CLSCTX_INPROC_SERVER, S_OK, IID_IUnknown, REGDB_E_CLASSNOTREG,
         0},
        {"factory fails", kClassA, false, CLSCTX_SERVER, E_OUTOFMEMORY, IID_IUnknown, E_OUTOFMEMORY, 1},
        {"interface missing", kClassA, false, CLSCTX_SERVER, S_OK, kOther, E_NOINTERFACE, 1},
    };
    for (const Case& c : cases) {
        Servers s;
        s.factoryResult = c.factoryResult;
        ScriptedRef outer;
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(platform::CoCreateInstance(s.table, c.clsid, c.outer ? outer.dispatch() : nullptr,
                                             c.contexts, c.iid, &out),
                  c.expected)
            << c.name;
        EXPECT_EQ(s.created, c.created) << c.name;
        if (c.expected == S_OK) {
            ASSERT_NE(out, nullptr) << c.name;
            EXPECT_EQ(s.object.OtherRefs(), 1u) << c.name; // the caller's reference
            static_cast<IUnknown*>(out)->Release();
        } else {
            EXPECT_EQ(out, nullptr) << c.name;
        }
        EXPECT_EQ(s.object.OtherRefs(), 0u) << c.name;
    }
    Servers s;
    EXPECT_EQ(platform::CoCreateInstance(s.table, kClassA, nullptr, CLSCTX_SERVER, IID_IUnknown, nullptr),
              E_INVALIDARG);
}

TEST(AutomationServers, OleRunRunsWhatCanRun)
{
    struct Case
    {
        const char* name;
        bool runnable;
        HRESULT runResult;
        HRESULT expected;
        int runs;
    };
    const Case cases[] = {
        {"runs", true, S_OK, S_OK, 1},
        {"run fails", true, E_FAIL, E_FAIL, 1},
        {"nothing to run", false, E_FAIL, S_OK, 0},
    };
    for (const Case& c : cases) {
        ScriptedRef object;
        object->SetRunnable(c.runnable);
        object->SetRunResult(c.runResult);
        EXPECT_EQ(platform::OleRun(static_cast<platform::DispatchObject*>(object.get())), c.expected)
            << c.name;
        EXPECT_EQ(object->Runs(), c.runs) << c.name;
        EXPECT_EQ(object.OtherRefs(), 0u) << c.name;
    }
    EXPECT_EQ(platform::OleRun(nullptr), E_INVALIDARG);
}

} // namespace
