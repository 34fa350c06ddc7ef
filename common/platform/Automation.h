#pragma once
// Automation: objects whose members are found by name and called with variants, after the
// Windows model (IUnknown, IDispatch, VARIANT, BSTR, HRESULT), with the Windows values for
// every code, type and flag, so that code written against it reads and behaves as it would
// there.
//
// Reference counting is that of Windows: an interface pointer handed out (QueryInterface,
// an object in a result variant, CoCreateInstance) carries one reference that its receiver
// releases; an object is destroyed when its last reference is released.
//
// A BSTR is a UTF-16 text with its length in front, made and freed only by the Sys*
// functions below. Texts of the rest of the system are 8-bit in the ANSI code page
// (platform/CodePage.h); AnsiToBstr and BstrToAnsi cross between the two.
//
// The Windows names of the types, codes and flags are global, as on Windows; the functions
// live in namespace platform.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/WinTypes.h"

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using LCID = std::uint32_t;
using DISPID = std::int32_t;
using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using SCODE = std::int32_t;
using DATE = double;
using OLECHAR = char16_t;
using BSTR = OLECHAR*;

constexpr bool SUCCEEDED(HRESULT hr)
{
    return hr >= 0;
}
constexpr bool FAILED(HRESULT hr)
{
    return hr < 0;
}

// Result codes.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DISP_E_UNKNOWNINTERFACE = static_cast<HRESULT>(0x80020001);
constexpr HRESULT DISP_E_MEMBERNOTFOUND = static_cast<HRESULT>(0x80020003);
constexpr HRESULT DISP_E_PARAMNOTFOUND = static_cast<HRESULT>(0x80020004);
constexpr HRESULT DISP_E_TYPEMISMATCH = static_cast<HRESULT>(0x80020005);
constexpr HRESULT DISP_E_UNKNOWNNAME = static_cast<HRESULT>(0x80020006);
constexpr HRESULT DISP_E_NONAMEDARGS = static_cast<HRESULT>(0x80020007);
constexpr HRESULT DISP_E_BADVARTYPE = static_cast<HRESULT>(0x80020008);
constexpr HRESULT DISP_E_EXCEPTION = static_cast<HRESULT>(0x80020009);
constexpr HRESULT DISP_E_BADINDEX = static_cast<HRESULT>(0x8002000B);
constexpr HRESULT DISP_E_BADPARAMCOUNT = static_cast<HRESULT>(0x8002000E);
constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154);
constexpr HRESULT CO_E_CLASSSTRING = static_cast<HRESULT>(0x800401F3);

// Invoke flags.
constexpr WORD DISPATCH_METHOD = 1;
constexpr WORD DISPATCH_PROPERTYGET = 2;
constexpr WORD DISPATCH_PROPERTYPUT = 4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 8;

// The named-argument id of the value of a property put.
constexpr DISPID DISPID_PROPERTYPUT = -3;
constexpr DISPID DISPID_UNKNOWN = -1;

// Locales of the member-name lookup.
constexpr LCID LOCALE_SYSTEM_DEFAULT = 0x0800;
constexpr LCID LOCALE_US_ENGLISH = 0x0409;

// Class contexts of CoCreateInstance.
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

// Variant types.
enum VARENUM : VARTYPE
{
    VT_EMPTY = 0,
    VT_I4 = 3,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12, // only with VT_BYREF
    VT_BYREF = 0x4000,
};

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct GUID
{
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];

    friend bool operator==(const GUID& a, const GUID& b)
    {
        if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
            return false;
        }
        for (int i = 0; i < 8; ++i) {
            if (a.Data4[i] != b.Data4[i]) {
                return false;
            }
        }
        return true;
    }
};
using IID = GUID;
using CLSID = GUID;

constexpr IID IID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
constexpr CLSID CLSID_NULL = IID_NULL;
constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IRunnableObject = {0x00000126, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

struct IDispatch;
struct IUnknown;

struct VARIANT
{
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;            // VT_I4
        VARIANT_BOOL boolVal; // VT_BOOL
        DATE date;            // VT_DATE
        BSTR bstrVal;         // VT_BSTR, owned by the variant
        IDispatch* pdispVal;  // VT_DISPATCH, one reference owned by the variant
        SCODE scode;          // VT_ERROR
        VARIANT* pvarVal;     // VT_BYREF | VT_VARIANT, borrowed
    };
};
using VARIANTARG = VARIANT;

// The argument block of Invoke: positional arguments last first, then the named ones, whose
// ids are in rgdispidNamedArgs in the same order as their values in rgvarg.
struct DISPPARAMS
{
    VARIANTARG* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct IUnknown
{
    virtual HRESULT QueryInterface(const IID& iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default; // objects go through Release
};

struct IDispatch : IUnknown
{
    // Member ids of the names (names[0] the member, the rest its argument names), looked up
    // in the locale. DISP_E_UNKNOWNNAME when a name is not known there; its id becomes
    // DISPID_UNKNOWN.
    virtual HRESULT GetIDsOfNames(const IID& iid, const OLECHAR* const* names, UINT count, LCID lcid,
                                  DISPID* ids) = 0;
    // Calls the member with the flags (DISPATCH_*) and arguments; the result, if any, goes
    // to *result (which may be null). No exception information is carried.
    virtual HRESULT Invoke(DISPID id, const IID& iid, LCID lcid, WORD flags, DISPPARAMS* params,
                           VARIANT* result) = 0;

protected:
    ~IDispatch() = default;
};

// An object that is loaded before it runs (OleRun puts it into the running state).
struct IRunnableObject : IUnknown
{
    virtual HRESULT Run() = 0;

protected:
    ~IRunnableObject() = default;
};

namespace platform {

// BSTR: SysAllocString(null) and SysAllocStringLen(null, 0) give null; the length excludes the
// terminator, which is always written. SysFreeString and SysStringLen take null.
BSTR SysAllocString(const OLECHAR* text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length); // null text: length characters of 0
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

// An ANSI text as a BSTR (null for null), and a BSTR as ANSI text (up to the first zero
// character; null gives "").
BSTR AnsiToBstr(const char* ansi);
std::string BstrToAnsi(const OLECHAR* text);
// A wide text as ANSI text, for log lines; null gives "".
std::string WideToAnsi(const OLECHAR* text);

// VariantInit empties a variant without looking at what it held. VariantClear frees what it
// owns (the BSTR, the object's reference) and empties it; DISP_E_BADVARTYPE, variant
// untouched, for a type outside those above. VariantCopy clears dest, then copies source
// (a new BSTR, one more reference on the object); a by-reference variant is copied as the
// reference.
void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);
HRESULT VariantCopy(VARIANT* dest, const VARIANT* source);

// Building variants; a variant from MakeBstr and MakeDispatch owns its text or reference.
VARIANT MakeI4(LONG value);
VARIANT MakeBool(bool value);
VARIANT MakeDate(DATE value);
VARIANT MakeBstr(const char* ansi);
VARIANT MakeError(SCODE code);
VARIANT MakeDispatch(IDispatch* object); // adds a reference
VARIANT MakeByRef(VARIANT* target);      // VT_BYREF | VT_VARIANT

// A base for automation objects: the reference count (starting at 1 for the creator), and
// QueryInterface for IUnknown, IDispatch and whatever QueryOther adds. The object deletes
// itself when the count returns to 0.
// The error description of the calling thread, as a server's failed call leaves it for its
// caller (what SetErrorInfo and GetErrorInfo carry): a server sets it before it returns a
// failure code; the caller takes it (which empties it). Texts in the product's ANSI code page.
void SetErrorDescription(std::string description);
std::string TakeErrorDescription();

class DispatchObject : public IDispatch
{
public:
    HRESULT QueryInterface(const IID& iid, void** object) override;
    ULONG AddRef() override;
    ULONG Release() override;
    ULONG RefCount() const { return m_refs.load(); }

protected:
    DispatchObject() = default;
    virtual ~DispatchObject() = default;
    DispatchObject(const DispatchObject&) = delete;
    DispatchObject& operator=(const DispatchObject&) = delete;

    // Other interfaces of the object: set *object (adding a reference) and return S_OK, or
    // return E_NOINTERFACE.
    virtual HRESULT QueryOther(const IID& iid, void** object);

private:
    std::atomic<ULONG> m_refs{1};
};

} // namespace platform
