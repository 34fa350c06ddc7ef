#pragma once
// CDispCmd: one automation object and calls of its members by name — the general call, the
// property get and put, and typed getters and setters over them.
//
// Every operation returns the automation code: negative codes are failures passed up
// unchanged, 0 (S_OK) is success, 1 (S_FALSE) means no value (nowhere to put it, or a value
// of another type than the getter reads). 8-bit texts cross in and out through the ANSI code
// page. The setters never clear a property: an empty text or a missing date is not sent.
#include <initializer_list>

#include "platform/Automation.h"

class CDispCmd
{
public:
    // Holds a reference of its own on a non-null object, released when the helper goes.
    explicit CDispCmd(IDispatch* object);
    ~CDispCmd();
    CDispCmd(const CDispCmd&) = delete;
    CDispCmd& operator=(const CDispCmd&) = delete;

    IDispatch* GetObject() const { return m_pObject; }

    // Looks the member up by name (in the system locale, then in US English when the name is
    // unknown there) and calls it with the system locale. args holds argCount arguments, the
    // last argument first; namedIds the ids of the last namedCount of them. E_INVALIDARG
    // without an object or a name.
    HRESULT Invoke(const OLECHAR* name, VARIANT* args, UINT argCount, VARIANT* result, WORD flags,
                   DISPID* namedIds = nullptr, UINT namedCount = 0);

    // Invoke as property get (no arguments), and as property put of one value.
    HRESULT GetProperty(const OLECHAR* name, VARIANT* result);
    HRESULT PutProperty(const OLECHAR* name, VARIANT* value);

    // A method call; args in their natural order (first argument first). The arguments are
    // taken over: they are cleared after the call, whatever its result, so that
    // CallMethod(u"Add", &item, {platform::MakeI4(2)}) leaks nothing. result may be null.
    HRESULT CallMethod(const OLECHAR* name, VARIANT* result, std::initializer_list<VARIANT> args = {});
    // A method call whose result must be an object: *object is the object with one reference
    // for the caller; S_FALSE, *object null, for any other result or a null object.
    HRESULT CallObjectMethod(const OLECHAR* name, IDispatch** object,
                             std::initializer_list<VARIANT> args = {});

    // Typed getters. A null output gives S_FALSE and calls nothing. A value of another type
    // gives S_FALSE with the output untouched. GetStringProp copies at most size - 1 bytes
    // and a terminator; a null text reads as "". GetBoolProp gives 1 or 0. GetObjectProp sets
    // *object to null first; the object read carries one reference for the caller.
    HRESULT GetStringProp(const OLECHAR* name, char* buffer, int size);
    HRESULT GetLongProp(const OLECHAR* name, int* value);
    HRESULT GetBoolProp(const OLECHAR* name, unsigned char* value);
    HRESULT GetDateProp(const OLECHAR* name, double* value);
    HRESULT GetObjectProp(const OLECHAR* name, IDispatch** object);

    // Typed setters. PutStringProp sends nothing for a null or empty text, and at most
    // kMaxPutChars - 1 wide characters of a longer one. PutBoolProp sends 0 or 1. PutDateProp
    // sends nothing for a value strictly between -kNoDate and kNoDate. What is not sent
    // returns S_OK.
    HRESULT PutStringProp(const OLECHAR* name, const char* text);
    HRESULT PutLongProp(const OLECHAR* name, int value);
    HRESULT PutBoolProp(const OLECHAR* name, unsigned char value);
    HRESULT PutDateProp(const OLECHAR* name, double value);

    static constexpr int kMaxPutChars = 20480;
    static constexpr double kNoDate = 0.00001;

private:
    IDispatch* m_pObject;
};
