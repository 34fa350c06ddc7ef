#pragma once
// The record side of a helper-utility connector for one kind of data: the native records
// in the order of the record file, the store of common records beside them, and the record
// operations. Family is the family's base (e.g. CxLNBaseUtil), Native the fixed-size native
// record, Rec and Store the common record and its store.
//
// A kind of data supplies the layout through five operations: reading and writing one
// native record, converting both ways, and marking a native record changed.
#include <memory>
#include <new>
#include <type_traits>

#include "exchange/CxHelperBaseUtil.h"
#include "misc/CommRecords.h"
#include "misc/CxDebugUtil.h"
#include "misc/CxFile.h"
#include "misc/CxList.h"

template <class Family, class Native, class Rec, class Store> class CxHelperRecordUtil : public Family
{
    static_assert(std::is_trivially_copyable_v<Native>, "native records are plain blocks");

public:
    using Family::Family;
    ~CxHelperRecordUtil() override { ReleaseRecords(); }

    void Clear() override
    {
        ReleaseRecords();
        Family::Clear();
    }

    Store* GetStore() { return &m_store; }
    CommAddrMgr* GetAddrStore() override { return StoreAs<CommAddrMgr>(); }
    CommDateMgr* GetDateStore() override { return StoreAs<CommDateMgr>(); }
    CommTaskMgr* GetTaskStore() override { return StoreAs<CommTaskMgr>(); }
    CommNoteMgr* GetNoteStore() override { return StoreAs<CommNoteMgr>(); }

    // The native records, parallel to the store.
    int GetNativeCount() const { return static_cast<int>(m_natives.GetCount()); }
    Native* GetNative(int index)
    {
        return index < 0 ? nullptr : static_cast<Native*>(m_natives.GetAt(static_cast<std::uint32_t>(index)));
    }

    using Family::SubmitRecord;
    // Searches the store: the same and unchanged (or an invalid record) gives false; the same
    // item changed is updated; a record not there is added.
    bool SubmitRecord(const Rec& record, bool writeNow) override
    {
        int index = -1;
        const int result = m_store.Search(&record, nullptr, &index);
        if (result == SearchChanged) {
            return UpdateRecord(record, index, writeNow);
        }
        if (result == SearchNotFound) {
            return AddRecord(record, writeNow);
        }
        return false;
    }

    // A new native record (change mark 2, action new) converted from the record, with the
    // record's copy in the store beside it.
    bool AddRecord(const Rec& record, bool writeNow)
    {
        std::unique_ptr<Native> native(new (std::nothrow) Native{});
        std::unique_ptr<Rec> copy(new (std::nothrow) Rec(record));
        if (!native || !copy) {
            return false;
        }
        CommToNative_(record, *native);
        MarkChanged_(*native, CxHelperBaseUtil::kActionNew);
        copy->SourceType = this->GetSourceType();
        copy->NativeRecord = native.get();
        copy->NativeSize = 0;
        if (m_store.Adopt(copy.release()) == nullptr) {
            return false;
        }
        if (!m_natives.Append(native.get())) {
            // Keep the store and the native list parallel.
            ReleaseRecords();
            return false;
        }
        native.release();
        this->SetDirty(true);
        return writeNow ? SubmitNow() : true;
    }

    // Converts the record over the native record at index, marks it changed and updates the
    // store's record there. False when there is no record at index.
    bool UpdateRecord(const Rec& record, int index, bool writeNow)
    {
        Native* native = GetNative(index);
        if (native == nullptr) {
            return false;
        }
        CommToNative_(record, *native);
        MarkChanged_(*native, CxHelperBaseUtil::kActionChanged);
        m_store.Update(&record, index);
        this->SetDirty(true);
        return writeNow ? SubmitNow() : true;
    }

protected:
    // One native record from the record file into native (cleared to zeros by the caller);
    // a record cut short by the end of the file keeps zeros where it ends.
    virtual bool LoadRecFromFile_(CxFile& file, Native& native) = 0;
    virtual bool SaveRecToFile_(CxFile& file, const Native& native) = 0;
    // Fills a zeroed common record from a native record.
    virtual void NativeToComm_(const Native& native, Rec& record) = 0;
    // Writes the common record's fields over the native record's current contents.
    virtual void CommToNative_(const Rec& record, Native& native) = 0;
    // Sets the change mark to 2 and the action (kActionNew or kActionChanged).
    virtual void MarkChanged_(Native& native, int action) = 0;

    bool LoadFromFile() override { return LoadRecordsFrom_(this->DataFilePath()); }
    bool SaveToFile() override { return SaveRecordsTo_(this->DataFilePath()); }

    // LoadFromFile and SaveToFile on a record file of another path.
    bool LoadRecordsFrom_(const std::string& path)
    {
        CxFile file;
        if (!file.Open(path.c_str(), "rb")) {
            if (this->Words().loadOpenFailed != nullptr) {
                FW_LOG(0, this->Words().loadOpenFailed, path.c_str());
            }
            return false;
        }
        int count = 0;
        file.ReadInt(&count);
        // The count is only a promise: a file that ends early ends the loop. Each common
        // record is filled where the store keeps it.
        for (int i = 0; i < count && !file.AtEnd(); ++i) {
            std::unique_ptr<Native> native(new (std::nothrow) Native{});
            std::unique_ptr<Rec> record(new (std::nothrow) Rec{});
            if (!native || !record) {
                return false;
            }
            LoadRecFromFile_(file, *native);
            NativeToComm_(*native, *record);
            record->SourceType = this->GetSourceType();
            record->NativeRecord = native.get();
            record->NativeSize = 0;
            if (m_store.Adopt(record.release()) == nullptr) {
                return false;
            }
            if (!m_natives.Append(native.get())) {
                ReleaseRecords();
                return false;
            }
            native.release();
        }
        file.Close();
        return true;
    }

    bool SaveRecordsTo_(const std::string& path)
    {
        CxFile file;
        if (!file.Open(path.c_str(), "wb")) {
            if (this->Words().saveOpenFailed != nullptr) {
                FW_LOG(0, this->Words().saveOpenFailed, path.c_str());
            }
            return false;
        }
        bool written = file.WriteInt(static_cast<int>(m_natives.GetCount()));
        for (void* element = m_natives.First(); element != nullptr; element = m_natives.Next()) {
            written = SaveRecToFile_(file, *static_cast<const Native*>(element)) && written;
        }
        return file.Close() && written;
    }

private:
    template <class S> S* StoreAs()
    {
        if constexpr (std::is_same_v<S, Store>) {
            return &m_store;
        } else {
            return nullptr;
        }
    }

    // Commit writes the record file and runs the helper (dirty is set).
    bool SubmitNow() { return this->Commit(); }

    void ReleaseRecords()
    {
        m_store.Clear();
        m_natives.RemoveAll(CxList::Delete<Native>);
    }

    Store m_store;
    CxList m_natives;
};
