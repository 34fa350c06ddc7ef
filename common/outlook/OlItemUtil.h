#pragma once
// What the four Outlook connectors repeat: one default folder opened when they connect, the
// walk of its items into native records and the store, and the submit of one common record
// as a new item or over the item it matches. A connector gives its folder and item numbers,
// its log lines, and how one item is read, written and converted.
//
// Item references: a native record keeps the Outlook item it was read from (or that was added
// for it) in Item. The connector holds a reference on every such item until its store is
// cleared, so that the reference stays valid for as long as the record that carries it.
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "misc/CommRecords.h"
#include "misc/CxDebugUtil.h"
#include "outlook/OlComm.h"
#include "platform/CodePage.h"

// The log lines of one connector; a null text is a line the connector does not write. Each
// line keeps the file and line of the connector's table, so that the log names the connector.
struct OlItemTexts
{
    FwLogText folderNameFailed;  // hr
    FwLogText folderName;        // the name
    FwLogText storeIdFailed;     // hr; null: the StoreID is not read
    FwLogText storeId;           // the StoreID
    FwLogText itemsLoadFailed;   // hr
    FwLogText itemsAddFailed;    // hr
    FwLogText itemsUpdateFailed; // hr
    FwLogText addFailed;         // hr
    FwLogText byIndexFailed;     // position, hr
    FwLogText folderFailed;      // hr: GetDefaultFolder gave no folder
    FwLogText folderOpened;      // the folder is open
};

// What a connector tells the walk and the submit besides its texts.
struct OlItemKind
{
    int folderNumber; // GetDefaultFolder
    int itemType;     // Items.Add
    // A changed record overwrites the loaded item starting from the loaded native record
    // (false: from a zeroed one).
    bool updateFromLoaded;
    // A changed record goes into the store through the store's update after the write (false:
    // it is copied over the stored record, which keeps its native record, before the write).
    bool storeUpdateAfterWrite;
    // A record added to Outlook is marked as coming from Outlook.
    bool addMarksSource;
};

// The item's recurrence pattern into a native record that has RecurrenceType, Interval,
// DayOfWeekMask, DayOfMonth, Instance, MonthOfYear and PatternEndDate: read when the item
// repeats, RecurrenceType -1 when it does not. A missing pattern object leaves them zero.
template <class Native> void OlReadRecurrence(CDispCmd& item, bool isRecurring, Native& native)
{
    if (!isRecurring) {
        native.RecurrenceType = -1;
        return;
    }
    IDispatch* object = nullptr;
    if (item.CallObjectMethod(u"GetRecurrencePattern", &object) != S_OK) {
        return;
    }
    CDispCmd pattern(object);
    object->Release();
    pattern.GetLongProp(u"RecurrenceType", &native.RecurrenceType);
    pattern.GetLongProp(u"Interval", &native.Interval);
    pattern.GetLongProp(u"DayOfWeekMask", &native.DayOfWeekMask);
    pattern.GetLongProp(u"DayOfMonth", &native.DayOfMonth);
    pattern.GetLongProp(u"Instance", &native.Instance);
    pattern.GetLongProp(u"MonthOfYear", &native.MonthOfYear);
    pattern.GetDateProp(u"PatternEndDate", &native.PatternEndDate);
}

// Writes the pattern of a repeating record (RecurrenceType 0 or more): the type, each number
// above 0, the end when above 1.0. A record that does not repeat leaves the item's pattern.
template <class Native> void OlWriteRecurrence(CDispCmd& item, const Native& native)
{
    if (native.RecurrenceType < 0) {
        return;
    }
    IDispatch* object = nullptr;
    if (item.CallObjectMethod(u"GetRecurrencePattern", &object) != S_OK) {
        return;
    }
    CDispCmd pattern(object);
    object->Release();
    pattern.PutLongProp(u"RecurrenceType", native.RecurrenceType);
    const struct
    {
        const OLECHAR* name;
        std::int32_t value;
    } numbers[] = {{u"Interval", native.Interval},
                   {u"DayOfWeekMask", native.DayOfWeekMask},
                   {u"DayOfMonth", native.DayOfMonth},
                   {u"Instance", native.Instance},
                   {u"MonthOfYear", native.MonthOfYear}};
    for (const auto& number : numbers) {
        if (number.value > 0) {
            pattern.PutLongProp(number.name, number.value);
        }
    }
    if (native.PatternEndDate > 1.0) {
        pattern.PutDateProp(u"PatternEndDate", native.PatternEndDate);
    }
}

template <class Native, class Rec, class Store> class OlItemUtil : public OlBaseUtil
{
public:
    // Connects nothing yet: each connector's constructor runs its own Init.
    OlItemUtil(OlSession& session, const OlItemKind& kind, const OlItemTexts& texts)
        : OlBaseUtil(session), m_kind(kind), m_texts(texts)
    {
    }
    ~OlItemUtil() override { OlItemUtil::Close(); }

    // Clear, then the walk of the folder; false without a folder or without its Items.
    bool Load() override
    {
        Clear();
        m_lossyRecords = 0;
        if (m_pFolder == nullptr || m_pDataMgr == nullptr) {
            return false;
        }
        return WalkFolder();
    }
    // Items of the last load whose texts lost characters to the ANSI code page.
    int GetLossyRecordCount() const override { return m_lossyRecords; }

    // Empties the store, lets go of the items its records carried, then the base list.
    void Clear() override
    {
        m_lossyRecords = 0;
        if (m_pDataMgr != nullptr) {
            m_pDataMgr->Clear();
        }
        for (IDispatch* item : m_heldItems) {
            item->Release();
        }
        m_heldItems.clear();
        OlBaseUtil::Clear();
    }
    // A new store, no folder, then Connect.
    void Init() override
    {
        if (m_pDataMgr == nullptr) {
            m_pDataMgr.reset(new Store());
        }
        ReleaseFolder();
        OlBaseUtil::Init();
    }
    void Close() override
    {
        Clear();
        m_pDataMgr.reset();
        Disconnect();
    }
    // The session, then the default folder; without a folder the connector disconnects.
    bool Connect() override
    {
        m_bFolderOpen = false;
        if (!OlBaseUtil::Connect()) {
            return false;
        }
        IDispatch* folder = nullptr;
        const HRESULT hr = GetDefaultFolder(m_kind.folderNumber, &folder);
        if (hr != S_OK) {
            KeepErrorDescription();
            Log(0, m_texts.folderFailed, Hex(hr));
            Disconnect();
            return false;
        }
        ReleaseFolder();
        m_pFolder = new (std::nothrow) CDispCmd(folder);
        folder->Release();
        if (m_pFolder == nullptr) {
            Disconnect();
            return false;
        }
        // What Outlook said of a folder it gave (one it made empty): for the user to read.
        m_loadNotice = platform::TakeErrorDescription();
        m_bFolderOpen = true;
        Log(2, m_texts.folderOpened);
        return true;
    }
    void Disconnect() override
    {
        ReleaseFolder();
        m_bFolderOpen = false;
        OlBaseUtil::Disconnect();
    }

    bool IsFolderOpen() const { return m_bFolderOpen; }
    CDispCmd* GetFolder() const { return m_pFolder; }
    Store* GetStore() const { return m_pDataMgr.get(); }

    // One item's properties into a zeroed native record that has the folder's name (and
    // StoreID) already; true when the record is to be kept.
    virtual bool ReadItem(CDispCmd& item, Native& native) = 0;
    // The native record's carried properties into the item, then Save.
    virtual void WriteItem(CDispCmd& item, const Native& native) = 0;
    // The connector's conversions, with what they take from the connector.
    virtual void ToCommon(const Native& native, Rec& record) = 0;
    virtual void ToOutlook(const Rec& record, Native& native) = 0;

    // A new item for the record (whose native link is empty); on success the native record
    // written is attached to the record as its own. False when no item could be made.
    bool AddItem(Rec& record)
    {
        IDispatch* itemsObject = nullptr;
        HRESULT hr = m_pFolder != nullptr ? m_pFolder->GetObjectProp(u"Items", &itemsObject) : E_UNEXPECTED;
        if (hr != S_OK) {
            Log(0, m_texts.itemsAddFailed, Hex(hr));
            return false;
        }
        CDispCmd items(itemsObject);
        itemsObject->Release();
        IDispatch* object = nullptr;
        hr = items.CallObjectMethod(u"Add", &object, {platform::MakeI4(m_kind.itemType)});
        if (hr != S_OK) {
            Log(0, m_texts.addFailed, Hex(hr));
            return false;
        }
        std::unique_ptr<Native> native(new Native());
        ToOutlook(record, *native);
        {
            CDispCmd item(object);
            WriteItem(item, *native);
        }
        native->Item = Hold(object) ? object : nullptr;
        object->Release();
        record.NativeRecord = CommDuplicateNative(native.get(), sizeof(Native));
        record.NativeSize = record.NativeRecord != nullptr ? sizeof(Native) : 0;
        if (m_kind.addMarksSource) {
            record.SourceType = SourceOutlook;
        }
        return true;
    }

    // Overwrites the item of the stored record at a position with the submitted record.
    // The item is the one the stored record was read from (or added as), which the native
    // record keeps; only a stored record without one falls back to Items.Item(position + 1),
    // Outlook counting its items from 1. False when no item was written.
    bool UpdateItem(const Rec& stored, const Rec& submitted, int position)
    {
        const Native* loaded = stored.NativeRecord != nullptr && stored.NativeSize == sizeof(Native)
                                   ? static_cast<const Native*>(stored.NativeRecord)
                                   : nullptr;
        IDispatch* object = nullptr;
        HRESULT hr = S_OK;
        if (loaded != nullptr && loaded->Item != nullptr) {
            object = static_cast<IDispatch*>(loaded->Item);
            object->AddRef();
        } else {
            IDispatch* itemsObject = nullptr;
            hr = m_pFolder != nullptr ? m_pFolder->GetObjectProp(u"Items", &itemsObject) : E_UNEXPECTED;
            if (hr != S_OK) {
                Log(0, m_texts.itemsUpdateFailed, Hex(hr));
                return false;
            }
            CDispCmd items(itemsObject);
            itemsObject->Release();
            hr = items.CallObjectMethod(u"Item", &object, {platform::MakeI4(position + 1)});
        }
        if (hr != S_OK || object == nullptr) {
            Log(0, m_texts.byIndexFailed, position + 1, Hex(hr));
            return false;
        }
        std::unique_ptr<Native> native(new Native());
        if (m_kind.updateFromLoaded && loaded != nullptr) {
            std::memcpy(static_cast<void*>(native.get()), loaded, sizeof(Native));
        }
        ToOutlook(submitted, *native);
        native->Item = object;
        {
            CDispCmd item(object);
            WriteItem(item, *native);
        }
        object->Release();
        return true;
    }

protected:
    // The submit of one record: nothing for the same record (or a failed search), the
    // matched item overwritten for a changed one, a new item for a new one. A new record
    // enters the store also when Outlook would not make its item.
    bool Submit(const Rec& record)
    {
        if (m_pDataMgr == nullptr) {
            return false;
        }
        Rec* found = nullptr;
        int position = -1;
        const int result = m_pDataMgr->Search(&record, &found, &position);
        if (result == SearchSame || result == SearchInvalid) {
            return false;
        }
        if (result == SearchChanged && found != nullptr) {
            if (!m_kind.storeUpdateAfterWrite) {
                void* native = found->NativeRecord;
                const std::uint32_t size = found->NativeSize;
                std::memcpy(static_cast<void*>(found), &record, sizeof(Rec));
                found->NativeRecord = native;
                found->NativeSize = size;
                m_pDataMgr->Reindex(position);
            }
            UpdateItem(*found, record, position);
            if (m_kind.storeUpdateAfterWrite) {
                m_pDataMgr->Update(&record, position);
            }
            return true;
        }
        std::unique_ptr<Rec> copy(new Rec());
        std::memcpy(static_cast<void*>(copy.get()), &record, sizeof(Rec));
        copy->NativeRecord = nullptr;
        copy->NativeSize = 0;
        AddItem(*copy);
        m_pDataMgr->Add(copy.get());
        if (copy->NativeRecord != nullptr) {
            CommFreeNative(copy->NativeRecord);
        }
        return true;
    }

    // Writes a line of the connector's table, unless the connector has none.
    template <class... Args> static void Log(int level, const FwLogText& text, Args... args)
    {
        if (text.text == nullptr) {
            return;
        }
        if constexpr (sizeof...(args) == 0) {
            FW_LOG_AT(level, text.file, text.line, "%s", text.text);
        } else {
            FW_LOG_AT(level, text.file, text.line, text.text, args...);
        }
    }
    static unsigned Hex(HRESULT hr) { return static_cast<unsigned>(hr); }

    CDispCmd* m_pFolder = nullptr; // the default folder while connected
    std::unique_ptr<Store> m_pDataMgr;
    bool m_bFolderOpen = false;
    int m_lossyRecords = 0;

private:
    static constexpr int kFolderNameSize = 31;
    static constexpr int kStoreIdSize = 1023;

    bool WalkFolder()
    {
        char name[kFolderNameSize] = {};
        HRESULT hr = m_pFolder->GetStringProp(u"Name", name, kFolderNameSize);
        if (FAILED(hr)) {
            Log(0, m_texts.folderNameFailed, Hex(hr));
        } else {
            Log(2, m_texts.folderName, name);
        }
        char storeId[kStoreIdSize] = {};
        if (m_texts.storeIdFailed.text != nullptr) {
            hr = m_pFolder->GetStringProp(u"StoreID", storeId, kStoreIdSize);
            if (FAILED(hr)) {
                Log(0, m_texts.storeIdFailed, Hex(hr));
            } else {
                Log(2, m_texts.storeId, storeId);
            }
        }
        IDispatch* itemsObject = nullptr;
        hr = m_pFolder->GetObjectProp(u"Items", &itemsObject);
        if (hr != S_OK) {
            Log(0, m_texts.itemsLoadFailed, Hex(hr));
            return false;
        }
        CDispCmd items(itemsObject);
        itemsObject->Release();
        WalkItems(items, [&](IDispatch* item) { AddLoaded(item, name, storeId); });
        return true;
    }

    void AddLoaded(IDispatch* object, const char* folderName, const char* storeId)
    {
        std::unique_ptr<Native> native(new (std::nothrow) Native());
        std::unique_ptr<Rec> record(new (std::nothrow) Rec());
        if (native == nullptr || record == nullptr) {
            return;
        }
        CopyText(native->FolderName, folderName);
        CopyStoreId(*native, storeId);
        CDispCmd item(object);
        const platform::AnsiLossWatch loss;
        if (!ReadItem(item, *native)) {
            return;
        }
        ToCommon(*native, *record);
        if (loss.Lost()) {
            ++m_lossyRecords;
        }
        native->Item = Hold(object) ? object : nullptr;
        record->NativeRecord = native.get();
        record->NativeSize = sizeof(Native);
        record->SourceType = SourceOutlook;
        m_pDataMgr->Add(record.get()); // copies the native record
    }

    template <class N> static void CopyStoreId(N& native, const char* storeId)
    {
        if constexpr (requires { native.StoreID; }) {
            CopyText(native.StoreID, storeId);
        }
    }

    // Adds a reference on the item, kept until Clear; false when it cannot be kept.
    bool Hold(IDispatch* item)
    {
        try {
            m_heldItems.push_back(item);
        } catch (const std::bad_alloc&) {
            return false;
        }
        item->AddRef();
        return true;
    }

    void ReleaseFolder()
    {
        delete m_pFolder;
        m_pFolder = nullptr;
    }

    OlItemKind m_kind;
    const OlItemTexts& m_texts;
    std::vector<IDispatch*> m_heldItems; // one reference on each item a record carries
};
