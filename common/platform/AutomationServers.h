#pragma once
// The automation servers a program can create, by program id and class id, and the three
// calls that reach them: CLSIDFromProgID, CoCreateInstance and OleRun.
//
// Windows keeps this table in its registry; here each entry point builds its own and hands
// it to what creates automation objects. There is no process-wide table, so a test or a
// program sees exactly the servers it registered.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Automation.h"

namespace platform {

class AutomationServers
{
public:
    // Makes a new object and hands out its interface iid with one reference in *object,
    // as a class factory's CreateInstance does; on failure *object stays null.
    using Factory = std::function<HRESULT(const IID& iid, void** object)>;

    struct Server
    {
        std::u16string progId;
        CLSID clsid;
        DWORD contexts; // CLSCTX_* in which the server can be created
        Factory factory;
    };

    // Adds a server. False, nothing added, for an empty program id, a missing factory, no
    // context, or a program id or class id already registered.
    bool Register(std::u16string_view progId, const CLSID& clsid, Factory factory,
                  DWORD contexts = CLSCTX_LOCAL_SERVER);
    // Removes the server of the program id; false when there is none.
    bool Unregister(std::u16string_view progId);

    // Program ids match without regard to ASCII case, as registry keys do.
    const Server* FindProgId(std::u16string_view progId) const;
    const Server* FindClsid(const CLSID& clsid) const;
    std::size_t Count() const { return m_servers.size(); }

private:
    std::vector<Server> m_servers;
};

// The class id of a program id. E_INVALIDARG for a null argument; CO_E_CLASSSTRING, with
// *clsid set to CLSID_NULL, for a program id the table does not hold.
HRESULT CLSIDFromProgID(const AutomationServers& servers, const OLECHAR* progId, CLSID* clsid);

// Creates an object of the class and asks it for iid. *object is null unless S_OK.
// E_INVALIDARG for a null object pointer or a context of 0; CLASS_E_NOAGGREGATION for an
// outer object (aggregation is not offered); REGDB_E_CLASSNOTREG when the class is not in
// the table for any of the contexts asked for; otherwise the factory's code.
HRESULT CoCreateInstance(const AutomationServers& servers, const CLSID& clsid, IUnknown* outer,
                         DWORD contexts, const IID& iid, void** object);

// Puts a loaded object into the running state: Run of its IRunnableObject, or S_OK at once
// for an object that has none (it runs already). E_INVALIDARG for null.
HRESULT OleRun(IUnknown* object);

} // namespace platform
