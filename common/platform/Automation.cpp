#include "platform/Automation.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/CodePage.h"

namespace platform {
namespace {

// A BSTR's block: the length in bytes, then the characters, then a zero character.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);

std::size_t WideLength(const OLECHAR* text)
{
    std::size_t n = 0;
    while (text[n] != 0) {
        ++n;
    }
    return n;
}

bool IsKnownType(VARTYPE vt)
{
    switch (vt) {
    case VT_EMPTY:
    case VT_I4:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_ERROR:
    case VT_BOOL:
    case VT_BYREF | VT_VARIANT:
        return true;
    default:
        return false;
    }
}

} // namespace

BSTR SysAllocString(const OLECHAR* text)
{
    if (text == nullptr) {
        return nullptr;
    }
    return SysAllocStringLen(text, static_cast<UINT>(WideLength(text)));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length)
{
    if (text == nullptr && length == 0) {
        return nullptr;
    }
    // The byte length must fit its 32-bit prefix.
    if (length > (0xFFFFFFFFu - kPrefix) / sizeof(OLECHAR) - 1) {
        return nullptr;
    }
    void* block = std::malloc(kPrefix + (static_cast<std::size_t>(length) + 1) * sizeof(OLECHAR));
    if (block == nullptr) {
        return nullptr;
    }
    std::uint32_t bytes = static_cast<std::uint32_t>(length * sizeof(OLECHAR));
    std::memcpy(block, &bytes, kPrefix);
    BSTR chars = reinterpret_cast<BSTR>(static_cast<char*>(block) + kPrefix);
    if (text != nullptr) {
        std::memcpy(chars, text, length * sizeof(OLECHAR));
    } else {
        std::memset(chars, 0, length * sizeof(OLECHAR));
    }
    chars[length] = 0;
    return chars;
}

void SysFreeString(BSTR text)
{
    if (text != nullptr) {
        std::free(reinterpret_cast<char*>(text) - kPrefix);
    }
}

UINT SysStringLen(BSTR text)
{
    if (text == nullptr) {
        return 0;
    }
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<char*>(text) - kPrefix, kPrefix);
    return bytes / sizeof(OLECHAR);
}

BSTR AnsiToBstr(const char* ansi)
{
    if (ansi == nullptr) {
        return nullptr;
    }
    std::u16string wide = AnsiToUtf16(ansi);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

std::string BstrToAnsi(const OLECHAR* text)
{
    if (text == nullptr) {
        return std::string();
    }
    return Utf16ToAnsi(std::u16string_view(text, WideLength(text)));
}

std::string WideToAnsi(const OLECHAR* text)
{
    return BstrToAnsi(text);
}

void VariantInit(VARIANT* v)
{
    if (v != nullptr) {
        std::memset(v, 0, sizeof *v);
        v->vt = VT_EMPTY;
    }
}

HRESULT VariantClear(VARIANT* v)
{
    if (v == nullptr) {
        return E_INVALIDARG;
    }
    if (!IsKnownType(v->vt)) {
        return DISP_E_BADVARTYPE;
    }
    if (v->vt == VT_BSTR) {
        SysFreeString(v->bstrVal);
    } else if (v->vt == VT_DISPATCH && v->pdispVal != nullptr) {
        v->pdispVal->Release();
    }
    VariantInit(v);
    return S_OK;
}

namespace {

thread_local std::string t_errorDescription;

} // namespace

void SetErrorDescription(std::string description)
{
    t_errorDescription = std::move(description);
}

std::string TakeErrorDescription()
{
    std::string taken;
    taken.swap(t_errorDescription);
    return taken;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* source)
{
    if (dest == nullptr || source == nullptr) {
        return E_INVALIDARG;
    }
    if (!IsKnownType(source->vt)) {
        return DISP_E_BADVARTYPE;
    }
    if (dest == source) {
        return S_OK;
    }
    HRESULT hr = VariantClear(dest);
    if (FAILED(hr)) {
        return hr;
    }
    *dest = *source;
    if (source->vt == VT_BSTR && source->bstrVal != nullptr) {
        dest->bstrVal = SysAllocStringLen(source->bstrVal, SysStringLen(source->bstrVal));
        if (dest->bstrVal == nullptr) {
            VariantInit(dest);
            return E_OUTOFMEMORY;
        }
    } else if (source->vt == VT_DISPATCH && source->pdispVal != nullptr) {
        source->pdispVal->AddRef();
    }
    return S_OK;
}

VARIANT MakeI4(LONG value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

VARIANT MakeBool(bool value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

VARIANT MakeDate(DATE value)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DATE;
    v.date = value;
    return v;
}

VARIANT MakeBstr(const char* ansi)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = AnsiToBstr(ansi);
    return v;
}

VARIANT MakeError(SCODE code)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ERROR;
    v.scode = code;
    return v;
}

VARIANT MakeDispatch(IDispatch* object)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    if (object != nullptr) {
        object->AddRef();
    }
    return v;
}

VARIANT MakeByRef(VARIANT* target)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BYREF | VT_VARIANT;
    v.pvarVal = target;
    return v;
}

HRESULT DispatchObject::QueryInterface(const IID& iid, void** object)
{
    if (object == nullptr) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *object = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    return QueryOther(iid, object);
}

ULONG DispatchObject::AddRef()
{
    return ++m_refs;
}

ULONG DispatchObject::Release()
{
    ULONG left = --m_refs;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT DispatchObject::QueryOther(const IID& /*iid*/, void** /*object*/)
{
    return E_NOINTERFACE;
}

} // namespace platform
