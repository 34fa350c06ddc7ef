#pragma once
// An in-memory automation object whose members a test scripts: properties that hold values,
// methods that run a test's function, names known only in US English, lookups and calls
// that fail with a given code, and a record of every lookup and call made of it. Used for
// the automation layer itself and for everything that drives an automation server.
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/Automation.h"

namespace fwtest {

// A variant that owns what it holds and copies deeply; a by-reference variant is recorded
// as the value it refers to (byRef tells).
struct OwnedVariant
{
    VARIANT v;
    bool byRef = false;

    OwnedVariant() { platform::VariantInit(&v); }
    // Takes over what the variant owns.
    static OwnedVariant Adopt(VARIANT value)
    {
        OwnedVariant o;
        o.v = value;
        return o;
    }
    static OwnedVariant CopyOf(const VARIANT& value)
    {
        OwnedVariant o;
        if (value.vt == (VT_BYREF | VT_VARIANT) && value.pvarVal != nullptr) {
            platform::VariantCopy(&o.v, value.pvarVal);
            o.byRef = true;
        } else {
            platform::VariantCopy(&o.v, &value);
        }
        return o;
    }
    OwnedVariant(const OwnedVariant& other) : byRef(other.byRef)
    {
        platform::VariantInit(&v);
        platform::VariantCopy(&v, &other.v);
    }
    OwnedVariant& operator=(const OwnedVariant& other)
    {
        if (this != &other) {
            platform::VariantCopy(&v, &other.v);
            byRef = other.byRef;
        }
        return *this;
    }
    ~OwnedVariant() { platform::VariantClear(&v); }

    VARTYPE Type() const { return v.vt; }
    std::string Text() const { return v.vt == VT_BSTR ? platform::BstrToAnsi(v.bstrVal) : std::string(); }
};

class ScriptedObject : public platform::DispatchObject, public IRunnableObject
{
public:
    // Arguments in their natural order (first argument first).
    using Method = std::function<HRESULT(const std::vector<OwnedVariant>& args, VARIANT* result)>;

    struct Lookup
    {
        std::string name;
        LCID lcid;
    };
    struct Call
    {
        std::string name;
        LCID lcid;
        WORD flags;
        std::vector<OwnedVariant> args; // as received: the last argument first
        std::vector<DISPID> namedIds;
        bool hadResult;
    };

    // A new object with one reference, for the caller to release.
    static ScriptedObject* Create() { return new ScriptedObject(); }

    // A property holding a value (copied); puts replace it.
    void SetProperty(const std::string& name, const VARIANT& value)
    {
        Member& m = Add(name);
        m.value = OwnedVariant::CopyOf(value);
        m.isProperty = true;
    }
    void SetTextProperty(const std::string& name, const char* text)
    {
        VARIANT v = platform::MakeBstr(text);
        SetProperty(name, v);
        platform::VariantClear(&v);
    }
    void SetObjectProperty(const std::string& name, IDispatch* object)
    {
        VARIANT v = platform::MakeDispatch(object);
        SetProperty(name, v);
        platform::VariantClear(&v);
    }
    void SetMethod(const std::string& name, Method method)
    {
        Member& m = Add(name);
        m.method = std::move(method);
    }
    // A method whose every call gives the object (a new reference each time).
    void SetObjectMethod(const std::string& name, IDispatch* object)
    {
        object->AddRef();
        m_held.push_back(object);
        SetMethod(name, [object](const std::vector<OwnedVariant>&, VARIANT* result) {
            if (result != nullptr) {
                *result = platform::MakeDispatch(object);
            }
            return S_OK;
        });
    }
    // The name is unknown in every locale but US English.
    void KnownOnlyInUsEnglish(const std::string& name) { Add(name).usEnglishOnly = true; }
    // Every lookup of the name fails with the code: in every locale, or in the one given.
    void FailLookup(const std::string& name, HRESULT code, LCID lcid = kAnyLocale)
    {
        m_lookupFailures[{name, lcid}] = code;
    }
    // Every call of the member fails with the code.
    void FailCall(const std::string& name, HRESULT code) { Add(name).callFailure = code; }

    // OleRun's answer; QueryInterface for IDispatch can be refused (IUnknown still answers).
    void SetRunResult(HRESULT code) { m_runResult = code; }
    void SetRunnable(bool runnable) { m_runnable = runnable; }
    void RefuseDispatch(HRESULT code) { m_dispatchRefusal = code; }

    // The value a property holds now (empty when it has none).
    OwnedVariant Value(const std::string& name) const
    {
        auto it = m_members.find(name);
        return it != m_members.end() ? it->second.value : OwnedVariant();
    }
    bool HasValue(const std::string& name) const
    {
        auto it = m_members.find(name);
        return it != m_members.end() && it->second.value.Type() != VT_EMPTY;
    }

    const std::vector<Lookup>& Lookups() const { return m_lookups; }
    const std::vector<Call>& Calls() const { return m_calls; }
    int Runs() const { return m_runs; }
    void ForgetCalls()
    {
        m_lookups.clear();
        m_calls.clear();
    }

    // IUnknown of both bases.
    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        if (iid == IID_IDispatch && FAILED(m_dispatchRefusal)) {
            if (object != nullptr) {
                *object = nullptr;
            }
            return m_dispatchRefusal;
        }
        return DispatchObject::QueryInterface(iid, object);
    }
    ULONG AddRef() override { return DispatchObject::AddRef(); }
    ULONG Release() override { return DispatchObject::Release(); }

    HRESULT Run() override
    {
        ++m_runs;
        return m_runResult;
    }

    HRESULT GetIDsOfNames(const IID& /*iid*/, const OLECHAR* const* names, UINT count, LCID lcid,
                          DISPID* ids) override
    {
        if (names == nullptr || ids == nullptr || count == 0) {
            return E_INVALIDARG;
        }
        std::string name = platform::WideToAnsi(names[0]);
        m_lookups.push_back(Lookup{name, lcid});
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        for (LCID key : {lcid, kAnyLocale}) {
            auto failure = m_lookupFailures.find({name, key});
            if (failure != m_lookupFailures.end()) {
                return failure->second;
            }
        }
        auto it = m_members.find(name);
        if (it == m_members.end() || (it->second.usEnglishOnly && lcid != LOCALE_US_ENGLISH)) {
            return DISP_E_UNKNOWNNAME;
        }
        ids[0] = it->second.id;
        return count == 1 ? S_OK : DISP_E_UNKNOWNNAME; // argument names are not offered
    }

    HRESULT Invoke(DISPID id, const IID& /*iid*/, LCID lcid, WORD flags, DISPPARAMS* params,
                   VARIANT* result) override
    {
        Member* m = ById(id);
        if (m == nullptr) {
            return DISP_E_MEMBERNOTFOUND;
        }
        Call call{m->name, lcid, flags, {}, {}, result != nullptr};
        UINT argCount = params != nullptr ? params->cArgs : 0;
        for (UINT i = 0; i < argCount; ++i) {
            call.args.push_back(OwnedVariant::CopyOf(params->rgvarg[i]));
        }
        for (UINT i = 0; params != nullptr && i < params->cNamedArgs; ++i) {
            call.namedIds.push_back(params->rgdispidNamedArgs[i]);
        }
        m_calls.push_back(call);
        if (FAILED(m->callFailure)) {
            return m->callFailure;
        }
        if ((flags & DISPATCH_PROPERTYPUT) != 0 && m->isProperty) {
            if (argCount != 1 || call.namedIds.size() != 1 || call.namedIds[0] != DISPID_PROPERTYPUT) {
                return DISP_E_PARAMNOTFOUND;
            }
            m->value = call.args[0];
            return S_OK;
        }
        if ((flags & DISPATCH_PROPERTYGET) != 0 && m->isProperty) {
            if (result != nullptr) {
                platform::VariantInit(result);
                platform::VariantCopy(result, &m->value.v);
            }
            return S_OK;
        }
        if ((flags & DISPATCH_METHOD) != 0 && m->method) {
            std::vector<OwnedVariant> natural(call.args.rbegin(), call.args.rend());
            if (result != nullptr) {
                platform::VariantInit(result);
            }
            return m->method(natural, result);
        }
        return DISP_E_MEMBERNOTFOUND;
    }

protected:
    HRESULT QueryOther(const IID& iid, void** object) override
    {
        if (iid == IID_IRunnableObject && m_runnable) {
            *object = static_cast<IRunnableObject*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }

private:
    struct Member
    {
        std::string name;
        DISPID id = 0;
        bool isProperty = false;
        bool usEnglishOnly = false;
        HRESULT callFailure = S_OK;
        OwnedVariant value;
        Method method;
    };

    ScriptedObject() = default;
    ~ScriptedObject() override
    {
        for (IDispatch* held : m_held) {
            held->Release();
        }
    }

    Member& Add(const std::string& name)
    {
        auto it = m_members.find(name);
        if (it == m_members.end()) {
            it = m_members.emplace(name, Member{}).first;
            it->second.name = name;
            it->second.id = static_cast<DISPID>(100 + m_members.size());
        }
        return it->second;
    }
    Member* ById(DISPID id)
    {
        for (auto& [name, m] : m_members) {
            if (m.id == id) {
                return &m;
            }
        }
        return nullptr;
    }

    std::map<std::string, Member> m_members;
    static constexpr LCID kAnyLocale = 0xFFFFFFFF;

    std::map<std::pair<std::string, LCID>, HRESULT> m_lookupFailures;
    std::vector<Lookup> m_lookups;
    std::vector<Call> m_calls;
    std::vector<IDispatch*> m_held;
    HRESULT m_runResult = S_OK;
    bool m_runnable = true;
    HRESULT m_dispatchRefusal = S_OK;
    int m_runs = 0;
};

// A test's reference on a scripted object, released when the test ends.
class ScriptedRef
{
public:
    ScriptedRef() : m_object(ScriptedObject::Create()) {}
    ~ScriptedRef() { m_object->Release(); }
    ScriptedRef(const ScriptedRef&) = delete;
    ScriptedRef& operator=(const ScriptedRef&) = delete;

    ScriptedObject* operator->() const { return m_object; }
    ScriptedObject* get() const { return m_object; }
    IDispatch* dispatch() const { return m_object; }
    // References held by others than this one.
    ULONG OtherRefs() const { return m_object->RefCount() - 1; }

private:
    ScriptedObject* m_object;
};

} // namespace fwtest
