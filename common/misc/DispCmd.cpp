#include "misc/DispCmd.h"

#include <cstring>
#include <string>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "platform/CodePage.h"

using platform::VariantClear;
using platform::VariantInit;

CDispCmd::CDispCmd(IDispatch* object) : m_pObject(object)
{
    if (m_pObject != nullptr) {
        m_pObject->AddRef();
    }
}

CDispCmd::~CDispCmd()
{
    if (m_pObject != nullptr) {
        m_pObject->Release();
        m_pObject = nullptr;
    }
}

HRESULT CDispCmd::Invoke(const OLECHAR* name, VARIANT* args, UINT argCount, VARIANT* result, WORD flags,
                         DISPID* namedIds, UINT namedCount)
{
    if (m_pObject == nullptr || name == nullptr || name[0] == 0) {
        return E_INVALIDARG;
    }
    DISPID id = DISPID_UNKNOWN;
    const OLECHAR* names[1] = {name};
    HRESULT hr = m_pObject->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id);
    if (hr == DISP_E_UNKNOWNNAME) {
        // Member names are English; a server that knows them only there is asked again.
        hr = m_pObject->GetIDsOfNames(IID_NULL, names, 1, LOCALE_US_ENGLISH, &id);
        if (FAILED(hr)) {
            FW_LOG(0, "Failed to call IDispatch->GetIDsOfNames, Name=%s, hr=0x%08x",
                   platform::WideToAnsi(name).c_str(), static_cast<unsigned>(hr));
            return hr;
        }
    }
    if (FAILED(hr)) {
        // No id was found: calling with whatever the lookup left would call something else.
        return hr;
    }
    DISPPARAMS params{args, namedIds, argCount, namedCount};
    return m_pObject->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, &params, result);
}

HRESULT CDispCmd::GetProperty(const OLECHAR* name, VARIANT* result)
{
    return Invoke(name, nullptr, 0, result, DISPATCH_PROPERTYGET);
}

HRESULT CDispCmd::PutProperty(const OLECHAR* name, VARIANT* value)
{
    DISPID putId = DISPID_PROPERTYPUT;
    return Invoke(name, value, 1, nullptr, DISPATCH_PROPERTYPUT, &putId, 1);
}

HRESULT CDispCmd::CallMethod(const OLECHAR* name, VARIANT* result, std::initializer_list<VARIANT> args)
{
    // Automation takes the arguments last first.
    std::vector<VARIANT> reversed(args.begin(), args.end());
    for (std::size_t i = 0, j = reversed.size(); i + 1 < j; ++i, --j) {
        std::swap(reversed[i], reversed[j - 1]);
    }
    HRESULT hr = Invoke(name, reversed.empty() ? nullptr : reversed.data(),
                        static_cast<UINT>(reversed.size()), result, DISPATCH_METHOD);
    for (VARIANT& v : reversed) {
        VariantClear(&v);
    }
    return hr;
}

HRESULT CDispCmd::CallObjectMethod(const OLECHAR* name, IDispatch** object,
                                   std::initializer_list<VARIANT> args)
{
    if (object == nullptr) {
        for (VARIANT v : args) {
            VariantClear(&v);
        }
        return S_FALSE;
    }
    *object = nullptr;
    VARIANT result;
    VariantInit(&result);
    HRESULT hr = CallMethod(name, &result, args);
    if (FAILED(hr)) {
        VariantClear(&result);
        return hr;
    }
    if (result.vt != VT_DISPATCH || result.pdispVal == nullptr) {
        VariantClear(&result);
        return S_FALSE;
    }
    *object = result.pdispVal; // the result's reference passes to the caller
    return hr;
}

HRESULT CDispCmd::GetStringProp(const OLECHAR* name, char* buffer, int size)
{
    // Without room for the terminator there is nowhere to put a value.
    if (buffer == nullptr || size <= 0) {
        return S_FALSE;
    }
    VARIANT value;
    VariantInit(&value);
    HRESULT hr = GetProperty(name, &value);
    if (FAILED(hr)) {
        VariantClear(&value);
        return hr;
    }
    if (value.vt != VT_BSTR) {
        VariantClear(&value);
        return S_FALSE;
    }
    std::string text = platform::BstrToAnsi(value.bstrVal);
    std::size_t n =
        text.size() < static_cast<std::size_t>(size - 1) ? text.size() : static_cast<std::size_t>(size - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    VariantClear(&value);
    return hr;
}

namespace {

// The property's value when it has the type wanted; S_FALSE otherwise. The variant is
// cleared unless the caller takes what it owns.
HRESULT GetTyped(CDispCmd& cmd, const OLECHAR* name, VARTYPE type, VARIANT& value)
{
    VariantInit(&value);
    HRESULT hr = cmd.GetProperty(name, &value);
    if (FAILED(hr)) {
        VariantClear(&value);
        return hr;
    }
    if (value.vt != type) {
        VariantClear(&value);
        return S_FALSE;
    }
    return hr;
}

} // namespace

HRESULT CDispCmd::GetLongProp(const OLECHAR* name, int* value)
{
    if (value == nullptr) {
        return S_FALSE;
    }
    VARIANT v;
    HRESULT hr = GetTyped(*this, name, VT_I4, v);
    if (SUCCEEDED(hr) && v.vt == VT_I4) {
        *value = v.lVal;
    }
    return hr;
}

HRESULT CDispCmd::GetBoolProp(const OLECHAR* name, unsigned char* value)
{
    if (value == nullptr) {
        return S_FALSE;
    }
    VARIANT v;
    HRESULT hr = GetTyped(*this, name, VT_BOOL, v);
    if (SUCCEEDED(hr) && v.vt == VT_BOOL) {
        *value = v.boolVal != 0 ? 1 : 0;
    }
    return hr;
}

HRESULT CDispCmd::GetDateProp(const OLECHAR* name, double* value)
{
    if (value == nullptr) {
        return S_FALSE;
    }
    VARIANT v;
    HRESULT hr = GetTyped(*this, name, VT_DATE, v);
    if (SUCCEEDED(hr) && v.vt == VT_DATE) {
        *value = v.date;
    }
    return hr;
}

HRESULT CDispCmd::GetObjectProp(const OLECHAR* name, IDispatch** object)
{
    if (object == nullptr) {
        return S_FALSE;
    }
    *object = nullptr;
    VARIANT v;
    HRESULT hr = GetTyped(*this, name, VT_DISPATCH, v);
    if (SUCCEEDED(hr) && v.vt == VT_DISPATCH) {
        *object = v.pdispVal; // the variant's reference passes to the caller
    }
    return hr;
}

HRESULT CDispCmd::PutStringProp(const OLECHAR* name, const char* text)
{
    if (text == nullptr || text[0] == '\0') {
        return S_OK;
    }
    std::u16string wide = platform::AnsiToUtf16(text);
    if (wide.size() > static_cast<std::size_t>(kMaxPutChars - 1)) {
        wide.resize(kMaxPutChars - 1);
        // Never leave half of a surrogate pair at the cut.
        if (wide.back() >= 0xD800 && wide.back() <= 0xDBFF) {
            wide.pop_back();
        }
    }
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = platform::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (v.bstrVal == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT hr = PutProperty(name, &v);
    VariantClear(&v);
    return hr;
}

HRESULT CDispCmd::PutLongProp(const OLECHAR* name, int value)
{
    VARIANT v = platform::MakeI4(value);
    return PutProperty(name, &v);
}

HRESULT CDispCmd::PutBoolProp(const OLECHAR* name, unsigned char value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value != 0 ? 1 : 0;
    return PutProperty(name, &v);
}

HRESULT CDispCmd::PutDateProp(const OLECHAR* name, double value)
{
    if (value > -kNoDate && value < kNoDate) {
        return S_OK;
    }
    VARIANT v = platform::MakeDate(value);
    return PutProperty(name, &v);
}
