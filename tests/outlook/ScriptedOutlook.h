#pragma once
// A scripted Outlook for the connectors' tests: an application object registered under
// "Outlook.Application" in the test's own server table, its MAPI namespace, and default
// folders with items. Every object is a fwtest::ScriptedObject, so a test can make any call
// fail, inspect what was sent and check that every reference came back.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/ScriptedServer.h"
#include "outlook/OlComm.h"
#include "platform/AutomationServers.h"

namespace fwtest {

constexpr CLSID kScriptedOutlookClsid = {0x0006F03A, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// One folder: its Name and StoreID, and an Items collection walked with GetFirst/GetNext.
class ScriptedFolder
{
public:
    explicit ScriptedFolder(const char* name)
    {
        folder->SetTextProperty("Name", name);
        folder->SetTextProperty("StoreID", "0000STORE");
        folder->SetObjectProperty("Items", items.dispatch());
        auto next = [this](const std::vector<OwnedVariant>&, VARIANT* result) {
            if (m_cursor < contents.size() && result != nullptr) {
                *result = platform::MakeDispatch(contents[m_cursor]->dispatch());
            }
            ++m_cursor;
            return S_OK;
        };
        items->SetMethod("GetFirst", [this, next](const std::vector<OwnedVariant>& args, VARIANT* result) {
            m_cursor = 0;
            return next(args, result);
        });
        items->SetMethod("GetNext", next);
    }
    // Adds an item with one text property, Subject.
    ScriptedObject* AddItem(const char* subject)
    {
        contents.push_back(std::make_unique<ScriptedRef>());
        (*contents.back())->SetTextProperty("Subject", subject);
        return contents.back()->get();
    }

    ScriptedRef folder;
    ScriptedRef items;
    std::vector<std::unique_ptr<ScriptedRef>> contents;

private:
    std::size_t m_cursor = 0;
};

class ScriptedOutlook
{
public:
    // Registers the application in the servers table for the contexts given.
    explicit ScriptedOutlook(platform::AutomationServers& servers, DWORD contexts = CLSCTX_LOCAL_SERVER)
    {
        servers.Register(
            kOutlookProgId, kScriptedOutlookClsid,
            [this](const IID& iid, void** object) {
                ++created;
                if (FAILED(createResult)) {
                    return createResult;
                }
                return application->QueryInterface(iid, object);
            },
            contexts);
        application->SetObjectMethod("GetNameSpace", nameSpace.dispatch());
        nameSpace->SetMethod("GetDefaultFolder",
                             [this](const std::vector<OwnedVariant>& args, VARIANT* result) {
                                 if (args.size() != 1 || args[0].Type() != VT_I4) {
                                     return DISP_E_TYPEMISMATCH;
                                 }
                                 auto it = folders.find(args[0].v.lVal);
                                 if (it != folders.end() && result != nullptr) {
                                     *result = platform::MakeDispatch(it->second->folder.dispatch());
                                 }
                                 return S_OK;
                             });
    }

    ScriptedFolder& AddFolder(int number, const char* name)
    {
        folders[number] = std::make_unique<ScriptedFolder>(name);
        return *folders[number];
    }

    // References on the application and the namespace held by anyone but this scripted Outlook.
    ULONG OutsideRefs() const { return application.OtherRefs() + nameSpace.OtherRefs() - 1; }

    ScriptedRef application;
    ScriptedRef nameSpace;
    std::map<int, std::unique_ptr<ScriptedFolder>> folders;
    HRESULT createResult = S_OK;
    int created = 0;
};

} // namespace fwtest
