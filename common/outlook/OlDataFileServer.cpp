// The "Outlook.Application" server over an Outlook data file. Each object class lists its
// members (name, id, how many arguments it takes); the shared base looks names up, checks the
// call's form and arguments, refuses every put, and hands the call to the class.
#include "outlook/OlDataFileServer.h"

#include <cstdio>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "misc/CxDebugUtil.h"
#include "platform/CodePage.h"

namespace {

using Live = std::shared_ptr<std::atomic<int>>;

// The names a class answers to.
struct Member
{
    const char* name;
    DISPID id;
    UINT minArgs;
    UINT maxArgs;
};

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

// A member name in ASCII; nullopt for one with other characters (no member has any).
std::optional<std::string> AsciiName(const OLECHAR* name)
{
    std::string out;
    for (; *name != 0; ++name) {
        if (*name >= 0x80) {
            return std::nullopt;
        }
        out.push_back(static_cast<char>(*name));
    }
    return out;
}

const Member* FindMember(const std::vector<Member>& members, std::string_view name)
{
    for (const Member& m : members) {
        if (SameName(m.name, name)) {
            return &m;
        }
    }
    return nullptr;
}

const Member* FindMember(const std::vector<Member>& members, DISPID id)
{
    for (const Member& m : members) {
        if (m.id == id) {
            return &m;
        }
    }
    return nullptr;
}

// An argument, seen through a by-reference variant.
const VARIANT* Deref(const VARIANT* v)
{
    while (v != nullptr && v->vt == (VT_BYREF | VT_VARIANT)) {
        v = v->pvarVal;
    }
    return v;
}

HRESULT ArgLong(const VARIANT* v, LONG* out)
{
    v = Deref(v);
    if (v == nullptr || v->vt != VT_I4) {
        return DISP_E_TYPEMISMATCH;
    }
    *out = v->lVal;
    return S_OK;
}

HRESULT ArgText(const VARIANT* v, std::u16string* out)
{
    v = Deref(v);
    if (v == nullptr || v->vt != VT_BSTR) {
        return DISP_E_TYPEMISMATCH;
    }
    out->assign(v->bstrVal != nullptr ? std::u16string_view(v->bstrVal, platform::SysStringLen(v->bstrVal))
                                      : std::u16string_view());
    return S_OK;
}

VARIANT Utf16Bstr(const std::u16string& text)
{
    VARIANT v;
    platform::VariantInit(&v);
    v.vt = VT_BSTR;
    v.bstrVal = platform::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
}

// An object handed out: the variant owns the creator's reference.
VARIANT Owned(IDispatch* object)
{
    VARIANT v;
    platform::VariantInit(&v);
    v.vt = VT_DISPATCH;
    v.pdispVal = object;
    return v;
}

VARIANT NoObject()
{
    return Owned(nullptr);
}

VARIANT FromOutlookValue(const pst::OutlookValue& value)
{
    VARIANT v;
    platform::VariantInit(&v);
    if (!value.present) {
        return v;
    }
    switch (value.type) {
    case pst::OutlookType::Text:
        return platform::MakeBstr(value.text.c_str());
    case pst::OutlookType::Long:
        return platform::MakeI4(value.number);
    case pst::OutlookType::Bool:
        return platform::MakeBool(value.flag);
    case pst::OutlookType::Date:
        return platform::MakeDate(value.date);
    }
    return v;
}

// The base of every object of the server.
class ServerObject : public platform::DispatchObject
{
public:
    HRESULT GetIDsOfNames(const IID& /*iid*/, const OLECHAR* const* names, UINT count, LCID /*lcid*/,
                          DISPID* ids) override
    {
        if (names == nullptr || ids == nullptr || count == 0) {
            return E_INVALIDARG;
        }
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
        }
        std::optional<std::string> name = names[0] != nullptr ? AsciiName(names[0]) : std::nullopt;
        if (name) {
            ids[0] = Lookup(*name);
        }
        if (ids[0] == DISPID_UNKNOWN || count > 1) { // no member has named arguments
            hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }

    HRESULT Invoke(DISPID id, const IID& iid, LCID /*lcid*/, WORD flags, DISPPARAMS* params,
                   VARIANT* result) override
    {
        if (!(iid == IID_NULL)) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        const std::optional<Member> member = Describe(id);
        if (!member) {
            return DISP_E_MEMBERNOTFOUND;
        }
        if ((flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
            return kOlDataFileReadOnly;
        }
        if ((flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)) == 0) {
            return E_INVALIDARG;
        }
        const UINT argCount = params != nullptr ? params->cArgs : 0;
        if (params != nullptr && params->cNamedArgs != 0) {
            return DISP_E_NONAMEDARGS;
        }
        if (argCount > 0 && params->rgvarg == nullptr) {
            return E_INVALIDARG;
        }
        std::vector<const VARIANT*> args;
        for (UINT i = argCount; i > 0; --i) {
            args.push_back(&params->rgvarg[i - 1]); // natural order
        }
        if (argCount < member->minArgs) {
            return DISP_E_PARAMNOTFOUND;
        }
        if (argCount > member->maxArgs) {
            return DISP_E_BADPARAMCOUNT;
        }
        VARIANT value;
        platform::VariantInit(&value);
        HRESULT hr = Call(id, args, &value);
        if (FAILED(hr)) {
            platform::VariantClear(&value);
            return hr;
        }
        if (result != nullptr) {
            *result = value;
        } else {
            platform::VariantClear(&value);
        }
        return hr;
    }

protected:
    explicit ServerObject(Live live) : m_live(std::move(live))
    {
        if (m_live) {
            ++*m_live;
        }
    }
    ~ServerObject() override
    {
        if (m_live) {
            --*m_live;
        }
    }

    // The member's id, DISPID_UNKNOWN when the name is not one.
    virtual DISPID Lookup(std::string_view name) const
    {
        const Member* m = FindMember(Members(), name);
        return m != nullptr ? m->id : DISPID_UNKNOWN;
    }
    // The member of the id, nullopt when there is none.
    virtual std::optional<Member> Describe(DISPID id) const
    {
        const Member* m = FindMember(Members(), id);
        return m != nullptr ? std::optional<Member>(*m) : std::nullopt;
    }
    virtual const std::vector<Member>& Members() const = 0;
    // Calls a member known to exist, with arguments within its bounds; *value starts empty.
    virtual HRESULT Call(DISPID id, const std::vector<const VARIANT*>& args, VARIANT* value) = 0;

    const Live& LiveCount() const { return m_live; }

private:
    Live m_live;
};

// --- Recurrence pattern -----------------------------------------------------------------

class PatternObject final : public ServerObject
{
public:
    PatternObject(pst::RecurrencePattern pattern, Live live) : ServerObject(std::move(live)), m_p(pattern) {}

protected:
    enum : DISPID
    {
        kRecurrenceType = 1,
        kInterval,
        kDayOfWeekMask,
        kDayOfMonth,
        kInstance,
        kMonthOfYear,
        kPatternStartDate,
        kPatternEndDate,
        kNoEndDate,
        kOccurrences,
        kStartTime,
        kEndTime,
        kDuration,
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"RecurrenceType", kRecurrenceType, 0, 0},
            {"Interval", kInterval, 0, 0},
            {"DayOfWeekMask", kDayOfWeekMask, 0, 0},
            {"DayOfMonth", kDayOfMonth, 0, 0},
            {"Instance", kInstance, 0, 0},
            {"MonthOfYear", kMonthOfYear, 0, 0},
            {"PatternStartDate", kPatternStartDate, 0, 0},
            {"PatternEndDate", kPatternEndDate, 0, 0},
            {"NoEndDate", kNoEndDate, 0, 0},
            {"Occurrences", kOccurrences, 0, 0},
            {"StartTime", kStartTime, 0, 0},
            {"EndTime", kEndTime, 0, 0},
            {"Duration", kDuration, 0, 0},
        };
        return members;
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& /*args*/, VARIANT* value) override
    {
        switch (id) {
        case kRecurrenceType:
            *value = platform::MakeI4(m_p.recurrenceType);
            break;
        case kInterval:
            *value = platform::MakeI4(m_p.interval);
            break;
        case kDayOfWeekMask:
            *value = platform::MakeI4(m_p.dayOfWeekMask);
            break;
        case kDayOfMonth:
            *value = platform::MakeI4(m_p.dayOfMonth);
            break;
        case kInstance:
            *value = platform::MakeI4(m_p.instance);
            break;
        case kMonthOfYear:
            *value = platform::MakeI4(m_p.monthOfYear);
            break;
        case kPatternStartDate:
            *value = platform::MakeDate(m_p.patternStartDate);
            break;
        case kPatternEndDate:
            *value = platform::MakeDate(m_p.patternEndDate); // 0 without an end

            break;
        case kNoEndDate:
            *value = platform::MakeBool(m_p.noEndDate);
            break;
        case kOccurrences:
            *value = platform::MakeI4(m_p.occurrences);
            break;
        case kStartTime:
            *value = platform::MakeDate(m_p.startTime);
            break;
        case kEndTime:
            *value = platform::MakeDate(m_p.endTime);
            break;
        case kDuration:
            *value = platform::MakeI4(m_p.duration);
            break;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
        return S_OK;
    }

private:
    pst::RecurrencePattern m_p;
};

// --- User-defined fields ------------------------------------------------------------------

using UserFields = std::shared_ptr<const std::vector<pst::UserProperty>>;

class UserPropertyObject final : public ServerObject
{
public:
    UserPropertyObject(UserFields fields, std::size_t index, Live live)
        : ServerObject(std::move(live)), m_fields(std::move(fields)), m_index(index)
    {
    }

protected:
    enum : DISPID
    {
        kName = 1,
        kValue,
        kType,
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"Name", kName, 0, 0},
            {"Value", kValue, 0, 0},
            {"Type", kType, 0, 0},
        };
        return members;
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& /*args*/, VARIANT* value) override
    {
        const pst::UserProperty& field = (*m_fields)[m_index];
        switch (id) {
        case kName:
            *value = platform::MakeBstr(field.name.c_str());
            return S_OK;
        case kValue:
            *value = FromOutlookValue(field.value);
            return S_OK;
        case kType: {
            // OlUserPropertyType: olText 1, olNumber 3, olDateTime 5, olYesNo 6.
            int type = 1;
            switch (field.value.type) {
            case pst::OutlookType::Text:
                type = 1;
                break;
            case pst::OutlookType::Long:
                type = 3;
                break;
            case pst::OutlookType::Date:
                type = 5;
                break;
            case pst::OutlookType::Bool:
                type = 6;
                break;
            }
            *value = platform::MakeI4(type);
            return S_OK;
        }
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    UserFields m_fields;
    std::size_t m_index;
};

class UserPropertiesObject final : public ServerObject
{
public:
    UserPropertiesObject(UserFields fields, Live live)
        : ServerObject(std::move(live)), m_fields(std::move(fields))
    {
    }

protected:
    enum : DISPID
    {
        kCount = 1,
        kItem,
        kFind,
        kAdd,
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"Count", kCount, 0, 0},
            {"Item", kItem, 1, 1},
            {"Find", kFind, 1, 2}, // the name, and whether custom fields only
            {"Add", kAdd, 1, 4},   // name, type, add to folder fields, display format
        };
        return members;
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& args, VARIANT* value) override
    {
        switch (id) {
        case kCount:
            *value = platform::MakeI4(static_cast<LONG>(m_fields->size()));
            return S_OK;
        case kItem: {
            // By 1-based position or by name.
            LONG index = 0;
            if (SUCCEEDED(ArgLong(args[0], &index))) {
                if (index < 1 || static_cast<std::size_t>(index) > m_fields->size()) {
                    return DISP_E_BADINDEX;
                }
                *value =
                    Owned(new UserPropertyObject(m_fields, static_cast<std::size_t>(index - 1), LiveCount()));
                return S_OK;
            }
            std::optional<std::size_t> found;
            HRESULT hr = FindName(args[0], &found);
            if (FAILED(hr)) {
                return hr;
            }
            if (!found) {
                return DISP_E_BADINDEX;
            }
            *value = Owned(new UserPropertyObject(m_fields, *found, LiveCount()));
            return S_OK;
        }
        case kFind: {
            std::optional<std::size_t> found;
            HRESULT hr = FindName(args[0], &found);
            if (FAILED(hr)) {
                return hr;
            }
            // Outlook gives no object for a name the item has no field of.
            *value = found ? Owned(new UserPropertyObject(m_fields, *found, LiveCount())) : NoObject();
            return S_OK;
        }
        case kAdd:
            return kOlDataFileReadOnly;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    HRESULT FindName(const VARIANT* arg, std::optional<std::size_t>* found) const
    {
        std::u16string name;
        HRESULT hr = ArgText(arg, &name);
        if (FAILED(hr)) {
            return hr;
        }
        const std::string ansi = platform::Utf16ToAnsi(name);
        for (std::size_t i = 0; i < m_fields->size(); ++i) {
            if (platform::AnsiCompareNoCase((*m_fields)[i].name.c_str(), ansi.c_str()) == 0) {
                *found = i;
                return S_OK;
            }
        }
        return S_OK;
    }

    UserFields m_fields;
};

// --- Item ---------------------------------------------------------------------------------

class ItemObject final : public ServerObject
{
public:
    ItemObject(std::shared_ptr<const pst::PstItem> item, Live live)
        : ServerObject(std::move(live)), m_item(std::move(item))
    {
        m_class = m_item->ItemClass() != 0 ? m_item->ItemClass() : pst::kClassAny;
    }

protected:
    enum : DISPID
    {
        kGetRecurrencePattern = 1,
        kUserProperties,
        kSave,
        kFirstProperty = 0x1000, // + the index in the Outlook name table
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"GetRecurrencePattern", kGetRecurrencePattern, 0, 0},
            {"UserProperties", kUserProperties, 0, 0},
            {"Save", kSave, 0, 0},
        };
        return members;
    }
    DISPID Lookup(std::string_view name) const override
    {
        DISPID id = ServerObject::Lookup(name);
        if (id != DISPID_UNKNOWN) {
            return id;
        }
        const pst::OutlookProperty* p = pst::FindOutlookProperty(name, m_class);
        if (p == nullptr) {
            return DISPID_UNKNOWN;
        }
        return kFirstProperty + static_cast<DISPID>(p - pst::OutlookProperties().data());
    }
    const pst::OutlookProperty* Property(DISPID id) const
    {
        const auto& table = pst::OutlookProperties();
        if (id < kFirstProperty || static_cast<std::size_t>(id - kFirstProperty) >= table.size()) {
            return nullptr;
        }
        const pst::OutlookProperty& p = table[static_cast<std::size_t>(id - kFirstProperty)];
        return (p.classes & m_class) != 0 ? &p : nullptr;
    }
    std::optional<Member> Describe(DISPID id) const override
    {
        if (const pst::OutlookProperty* p = Property(id)) {
            return Member{p->name, id, 0, 0};
        }
        return ServerObject::Describe(id);
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& /*args*/, VARIANT* value) override
    {
        switch (id) {
        case kGetRecurrencePattern: {
            auto pattern = m_item->Recurrence();
            if (!pattern) {
                return kOlDataFileNotFound;
            }
            *value = Owned(new PatternObject(*pattern, LiveCount()));
            return S_OK;
        }
        case kUserProperties:
            if (!m_fields) {
                m_fields = std::make_shared<const std::vector<pst::UserProperty>>(m_item->UserProperties());
            }
            *value = Owned(new UserPropertiesObject(m_fields, LiveCount()));
            return S_OK;
        case kSave:
            return kOlDataFileReadOnly;
        default:
            break;
        }
        const pst::OutlookProperty* p = Property(id);
        if (p == nullptr) {
            return DISP_E_MEMBERNOTFOUND;
        }
        auto v = m_item->Outlook(p->name);
        if (v) {
            *value = FromOutlookValue(*v);
        }
        return S_OK;
    }

private:
    std::shared_ptr<const pst::PstItem> m_item;
    unsigned m_class = pst::kClassAny;
    UserFields m_fields;
};

// --- Folder and its items -----------------------------------------------------------------

using Folder = std::shared_ptr<const pst::PstFolder>;

class ItemsObject final : public ServerObject
{
public:
    ItemsObject(Folder folder, Live live) : ServerObject(std::move(live)), m_folder(std::move(folder)) {}

protected:
    enum : DISPID
    {
        kGetFirst = 1,
        kGetNext,
        kGetLast,
        kGetPrevious,
        kItem,
        kCount,
        kAdd,
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"GetFirst", kGetFirst, 0, 0}, {"GetNext", kGetNext, 0, 0},
            {"GetLast", kGetLast, 0, 0},   {"GetPrevious", kGetPrevious, 0, 0},
            {"Item", kItem, 1, 1},         {"Count", kCount, 0, 0},
            {"Add", kAdd, 0, 1},
        };
        return members;
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& args, VARIANT* value) override
    {
        const std::size_t count = m_folder->Items().size();
        switch (id) {
        case kGetFirst:
            m_cursor = 0;
            *value = At(m_cursor);
            return S_OK;
        case kGetNext:
            if (m_cursor < count) {
                ++m_cursor;
            }
            *value = At(m_cursor);
            return S_OK;
        case kGetLast:
            m_cursor = count == 0 ? 0 : count - 1;
            *value = At(m_cursor);
            return S_OK;
        case kGetPrevious:
            if (m_cursor == 0 || m_cursor > count) {
                m_cursor = count; // before the first: the walk is over
            } else {
                --m_cursor;
            }
            *value = At(m_cursor);
            return S_OK;
        case kItem: {
            LONG index = 0;
            HRESULT hr = ArgLong(args[0], &index);
            if (FAILED(hr)) {
                return hr;
            }
            if (index < 1 || static_cast<std::size_t>(index) > count) {
                return DISP_E_BADINDEX;
            }
            *value = At(static_cast<std::size_t>(index - 1));
            return S_OK;
        }
        case kCount:
            *value = platform::MakeI4(static_cast<LONG>(count));
            return S_OK;
        case kAdd:
            return kOlDataFileReadOnly;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    // The item at the position as a new object; no object past the end.
    VARIANT At(std::size_t index) const
    {
        if (index >= m_folder->Items().size()) {
            return NoObject();
        }
        std::shared_ptr<const pst::PstItem> item(m_folder, &m_folder->Items()[index]);
        return Owned(new ItemObject(std::move(item), LiveCount()));
    }

    Folder m_folder;
    std::size_t m_cursor = 0;
};

class FolderObject final : public ServerObject
{
public:
    FolderObject(Folder folder, Live live) : ServerObject(std::move(live)), m_folder(std::move(folder)) {}

protected:
    enum : DISPID
    {
        kName = 1,
        kStoreId,
        kEntryId,
        kItems,
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"Name", kName, 0, 0},
            {"StoreID", kStoreId, 0, 0},
            {"EntryID", kEntryId, 0, 0},
            {"Items", kItems, 0, 0},
        };
        return members;
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& /*args*/, VARIANT* value) override
    {
        switch (id) {
        case kName:
            *value = Utf16Bstr(m_folder->NameUtf16());
            return S_OK;
        case kStoreId:
            *value = platform::MakeBstr(m_folder->StoreId().c_str());
            return S_OK;
        case kEntryId: {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%08X", static_cast<unsigned>(m_folder->Id()));
            *value = platform::MakeBstr(buf);
            return S_OK;
        }
        case kItems:
            // Each call gives a collection with a cursor of its own, as Outlook does.
            *value = Owned(new ItemsObject(m_folder, LiveCount()));
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    Folder m_folder;
};

// --- Namespace and application ------------------------------------------------------------

// The open file and the default folders read from it, shared by the application and its
// namespaces.
struct OpenStore
{
    std::mutex mutex;
    std::unique_ptr<pst::PstFile> file;
    std::map<int, Folder> folders;
};

class NameSpaceObject final : public ServerObject
{
public:
    NameSpaceObject(std::shared_ptr<OpenStore> store, Live live)
        : ServerObject(std::move(live)), m_store(std::move(store))
    {
    }

protected:
    enum : DISPID
    {
        kGetDefaultFolder = 1,
        kType,
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"GetDefaultFolder", kGetDefaultFolder, 1, 1},
            {"Type", kType, 0, 0},
        };
        return members;
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& args, VARIANT* value) override
    {
        if (id == kType) {
            *value = platform::MakeBstr("MAPI");
            return S_OK;
        }
        if (id != kGetDefaultFolder) {
            return DISP_E_MEMBERNOTFOUND;
        }
        LONG number = 0;
        HRESULT hr = ArgLong(args[0], &number);
        if (FAILED(hr)) {
            return hr;
        }
        using K = pst::DefaultFolderKind;
        if (number != static_cast<int>(K::Calendar) && number != static_cast<int>(K::Contacts) &&
            number != static_cast<int>(K::Notes) && number != static_cast<int>(K::Tasks)) {
            return E_INVALIDARG;
        }
        Folder folder;
        {
            std::lock_guard<std::mutex> lock(m_store->mutex);
            auto it = m_store->folders.find(number);
            if (it != m_store->folders.end()) {
                folder = it->second;
            } else {
                std::string error;
                std::unique_ptr<pst::PstFolder> read =
                    m_store->file->DefaultFolder(static_cast<K>(number), &error);
                if (!read) {
                    // Outlook makes the default folders a store lacks: an empty one, and a word
                    // for the caller that nothing is read from it.
                    FW_LOG(1, "Outlook data file: no default folder %d: %s", static_cast<int>(number),
                           error.c_str());
                    read = m_store->file->EmptyDefaultFolder(static_cast<K>(number));
                    platform::SetErrorDescription(
                        platform::Utf8ToAnsi(error.substr(0, error.empty() ? 0 : error.size() - 1) +
                                             ": nothing is read from it."));
                }
                folder = std::move(read);
                m_store->folders.emplace(number, folder);
            }
        }
        *value = Owned(new FolderObject(std::move(folder), LiveCount()));
        return S_OK;
    }

private:
    std::shared_ptr<OpenStore> m_store;
};

class ApplicationObject final : public ServerObject, public IRunnableObject
{
public:
    ApplicationObject(std::unique_ptr<pst::PstFile> file, Live live) : ServerObject(std::move(live))
    {
        m_store = std::make_shared<OpenStore>();
        m_store->file = std::move(file);
    }

    // One reference count for both interfaces.
    HRESULT QueryInterface(const IID& iid, void** object) override
    {
        return ServerObject::QueryInterface(iid, object);
    }
    ULONG AddRef() override { return ServerObject::AddRef(); }
    ULONG Release() override { return ServerObject::Release(); }
    // The file was opened at creation: the application runs already.
    HRESULT Run() override { return S_OK; }

protected:
    HRESULT QueryOther(const IID& iid, void** object) override
    {
        if (iid == IID_IRunnableObject) {
            *object = static_cast<IRunnableObject*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }

    enum : DISPID
    {
        kGetNameSpace = 1,
        kName,
    };
    const std::vector<Member>& Members() const override
    {
        static const std::vector<Member> members = {
            {"GetNameSpace", kGetNameSpace, 1, 1},
            {"Name", kName, 0, 0},
        };
        return members;
    }
    HRESULT Call(DISPID id, const std::vector<const VARIANT*>& args, VARIANT* value) override
    {
        if (id == kName) {
            *value = platform::MakeBstr("Outlook");
            return S_OK;
        }
        if (id != kGetNameSpace) {
            return DISP_E_MEMBERNOTFOUND;
        }
        std::u16string type;
        HRESULT hr = ArgText(args[0], &type);
        if (FAILED(hr)) {
            return hr;
        }
        const std::string ascii = platform::Utf16ToAnsi(type);
        if (!SameName(ascii, "MAPI")) {
            return E_INVALIDARG;
        }
        *value = Owned(new NameSpaceObject(m_store, LiveCount()));
        return S_OK;
    }

private:
    std::shared_ptr<OpenStore> m_store;
};

} // namespace

void OutlookDataFileSource::SetFile(File file)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_file = std::move(file);
}

OutlookDataFileSource::File OutlookDataFileSource::GetFile() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_file;
}

std::unique_ptr<pst::PstFile> OutlookDataFileSource::Open()
{
    const File file = GetFile();
    std::string error;
    std::unique_ptr<pst::PstFile> opened;
    if (file.path.empty()) {
        error = "No Outlook data file is chosen.";
    } else {
        opened = pst::PstFile::Open(file.path, file.password, file.codePage, &error);
        if (!opened && error.empty()) {
            error = "The Outlook data file cannot be opened.";
        }
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_lastError = opened ? std::string() : error;
    return opened;
}

std::string OutlookDataFileSource::LastOpenError() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastError;
}

bool RegisterOutlookDataFile(platform::AutomationServers& servers,
                             std::shared_ptr<OutlookDataFileSource> source)
{
    if (!source) {
        return false;
    }
    auto factory = [source](const IID& iid, void** object) -> HRESULT {
        std::unique_ptr<pst::PstFile> file = source->Open();
        if (!file) {
            FW_LOG(0, "Outlook data file cannot be opened: %s", source->LastOpenError().c_str());
            platform::SetErrorDescription(platform::Utf8ToAnsi(source->LastOpenError()));
            return kOlDataFileCannotOpen;
        }
        ApplicationObject* app = new ApplicationObject(std::move(file), source->LiveCounter());
        HRESULT hr = app->QueryInterface(iid, object);
        app->Release(); // the creator's reference; the caller holds the one QueryInterface added
        return hr;
    };
    return servers.Register(u"Outlook.Application", kOutlookApplicationClsid, std::move(factory),
                            CLSCTX_SERVER);
}

IDispatch* NewOutlookDataFileItem(pst::PstItem item, std::shared_ptr<std::atomic<int>> live)
{
    return new ItemObject(std::make_shared<const pst::PstItem>(std::move(item)), std::move(live));
}
