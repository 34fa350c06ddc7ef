#pragma once
// A scripted Outlook with a session on it and the diagnostic log in a temporary home, for the
// connectors' tests; items are made with the properties a test gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/LogLines.h"
#include "common/PinnedLocale.h"
#include "common/TempHome.h"
#include "misc/CxDebugUtil.h"
#include "outlook/OlComm.h"
#include "outlook/ScriptedOutlook.h"

namespace fwtest {

// A property value of a scripted item.
struct Prop
{
    std::string name;
    VARIANT value; // owned by the caller's list, see Props
};

// Builds a property list; each value is cleared when the list goes.
class Props
{
public:
    Props() = default;
    Props(const Props&) = delete;
    Props& operator=(const Props&) = delete;
    ~Props()
    {
        for (auto& [name, value] : m_values) {
            platform::VariantClear(&value);
        }
    }
    Props& Text(const std::string& name, const std::string& text)
    {
        m_values.emplace_back(name, platform::MakeBstr(text.c_str()));
        return *this;
    }
    Props& Long(const std::string& name, LONG value)
    {
        m_values.emplace_back(name, platform::MakeI4(value));
        return *this;
    }
    Props& Bool(const std::string& name, bool value)
    {
        m_values.emplace_back(name, platform::MakeBool(value));
        return *this;
    }
    Props& Date(const std::string& name, double value)
    {
        m_values.emplace_back(name, platform::MakeDate(value));
        return *this;
    }
    void ApplyTo(ScriptedObject* object) const
    {
        for (const auto& [name, value] : m_values) {
            object->SetProperty(name, value);
        }
    }

private:
    std::vector<std::pair<std::string, VARIANT>> m_values;
};

// The names of the calls of a kind (DISPATCH_PROPERTYGET, _PROPERTYPUT or _METHOD) made of an
// object, in order.
inline std::vector<std::string> CallNames(const ScriptedObject* object, WORD flags)
{
    std::vector<std::string> names;
    for (const ScriptedObject::Call& call : object->Calls()) {
        if (call.flags == flags) {
            names.push_back(call.name);
        }
    }
    return names;
}

// The names looked up on an object in the system locale, in order: every member asked for,
// whether the object has it or not.
inline std::vector<std::string> AskedNames(const ScriptedObject* object)
{
    std::vector<std::string> names;
    for (const ScriptedObject::Lookup& lookup : object->Lookups()) {
        if (lookup.lcid == LOCALE_SYSTEM_DEFAULT) {
            names.push_back(lookup.name);
        }
    }
    return names;
}

// Makes the object take puts of these properties (with no value yet).
inline void DeclareProperties(ScriptedObject* object, const std::vector<std::string>& names)
{
    VARIANT empty;
    platform::VariantInit(&empty);
    for (const std::string& name : names) {
        if (!object->HasValue(name)) {
            object->SetProperty(name, empty);
        }
    }
}

// The object answers Save.
inline void AcceptSave(ScriptedObject* object)
{
    object->SetMethod("Save", [](const std::vector<OwnedVariant>&, VARIANT*) { return S_OK; });
}

// The calls of a member, in order.
inline std::vector<ScriptedObject::Call> CallsOf(const ScriptedObject* object, const std::string& name)
{
    std::vector<ScriptedObject::Call> calls;
    for (const ScriptedObject::Call& call : object->Calls()) {
        if (call.name == name) {
            calls.push_back(call);
        }
    }
    return calls;
}

class OutlookFixture : public ::testing::Test
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

    // The session, on an Outlook of the version given ("%d.%d.%d.%d").
    OlSession& Session(const char* version = "16.0.0.0")
    {
        if (!m_session) {
            std::string text = version;
            m_session = std::make_unique<OlSession>(m_servers, [text](char* out, std::size_t size) {
                std::snprintf(out, size, "%s", text.c_str());
                return true;
            });
        }
        return *m_session;
    }

    // The log lines written from one source file, the session's lines left out.
    std::vector<LogLine> LogOf(const std::string& source) const
    {
        std::vector<LogLine> lines;
        for (const LogLine& line : ReadLogLines(m_folder + "appdebug.log")) {
            if (line.source == source) {
                lines.push_back(line);
            }
        }
        return lines;
    }
    void ForgetLog() const { std::remove((m_folder + "appdebug.log").c_str()); }

    // An item of a folder with the properties given.
    static ScriptedObject* AddItem(ScriptedFolder& folder, const Props& props)
    {
        folder.contents.push_back(std::make_unique<ScriptedRef>());
        ScriptedObject* item = folder.contents.back()->get();
        props.ApplyTo(item);
        return item;
    }

    // Items.Add of a folder makes a new item (kept in added) for every call.
    void LetFolderAdd(ScriptedFolder& folder)
    {
        folder.items->SetMethod("Add", [this](const std::vector<OwnedVariant>&, VARIANT* result) {
            added.push_back(std::make_unique<ScriptedRef>());
            PrepareNewItem(added.back()->get());
            if (result != nullptr) {
                *result = platform::MakeDispatch(added.back()->dispatch());
            }
            return S_OK;
        });
    }
    // What a new item has before it is written; items take every put.
    virtual void PrepareNewItem(ScriptedObject* /*item*/) {}

    PinnedLocale m_pinned;
    TempHome m_home;
    std::string m_folder;
    platform::AutomationServers m_servers;
    ScriptedOutlook outlook{m_servers};
    std::vector<std::unique_ptr<ScriptedRef>> added;
    std::unique_ptr<OlSession> m_session;
};

} // namespace fwtest
