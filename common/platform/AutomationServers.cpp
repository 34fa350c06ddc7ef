#include "platform/AutomationServers.h"

#include <algorithm>

namespace platform {
namespace {

OLECHAR FoldAscii(OLECHAR c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<OLECHAR>(c + (u'a' - u'A')) : c;
}

bool SameProgId(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](OLECHAR x, OLECHAR y) {
               return FoldAscii(x) == FoldAscii(y);
           });
}

} // namespace

bool AutomationServers::Register(std::u16string_view progId, const CLSID& clsid, Factory factory,
                                 DWORD contexts)
{
    if (progId.empty() || !factory || (contexts & CLSCTX_SERVER) == 0 || FindProgId(progId) != nullptr ||
        FindClsid(clsid) != nullptr) {
        return false;
    }
    m_servers.push_back(Server{std::u16string(progId), clsid, contexts, std::move(factory)});
    return true;
}

bool AutomationServers::Unregister(std::u16string_view progId)
{
    auto it = std::find_if(m_servers.begin(), m_servers.end(),
                           [&](const Server& s) { return SameProgId(s.progId, progId); });
    if (it == m_servers.end()) {
        return false;
    }
    m_servers.erase(it);
    return true;
}

const AutomationServers::Server* AutomationServers::FindProgId(std::u16string_view progId) const
{
    for (const Server& s : m_servers) {
        if (SameProgId(s.progId, progId)) {
            return &s;
        }
    }
    return nullptr;
}

const AutomationServers::Server* AutomationServers::FindClsid(const CLSID& clsid) const
{
    for (const Server& s : m_servers) {
        if (s.clsid == clsid) {
            return &s;
        }
    }
    return nullptr;
}

HRESULT CLSIDFromProgID(const AutomationServers& servers, const OLECHAR* progId, CLSID* clsid)
{
    if (progId == nullptr || clsid == nullptr) {
        return E_INVALIDARG;
    }
    const AutomationServers::Server* server = servers.FindProgId(progId);
    if (server == nullptr) {
        *clsid = CLSID_NULL;
        return CO_E_CLASSSTRING;
    }
    *clsid = server->clsid;
    return S_OK;
}

HRESULT CoCreateInstance(const AutomationServers& servers, const CLSID& clsid, IUnknown* outer,
                         DWORD contexts, const IID& iid, void** object)
{
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    *object = nullptr;
    if (contexts == 0) {
        return E_INVALIDARG;
    }
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    const AutomationServers::Server* server = servers.FindClsid(clsid);
    if (server == nullptr || (server->contexts & contexts) == 0) {
        return REGDB_E_CLASSNOTREG;
    }
    HRESULT hr = server->factory(iid, object);
    if (FAILED(hr)) {
        *object = nullptr;
    } else if (*object == nullptr) {
        return E_UNEXPECTED; // a factory that claims success must hand out an object
    }
    return hr;
}

HRESULT OleRun(IUnknown* object)
{
    if (object == nullptr) {
        return E_INVALIDARG;
    }
    void* runnable = nullptr;
    if (FAILED(object->QueryInterface(IID_IRunnableObject, &runnable)) || runnable == nullptr) {
        return S_OK;
    }
    IRunnableObject* run = static_cast<IRunnableObject*>(runnable);
    HRESULT hr = run->Run();
    run->Release();
    return hr;
}

} // namespace platform
