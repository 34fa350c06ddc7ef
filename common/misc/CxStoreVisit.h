#pragma once
// One typed walk over the record stores of a connector: the data type picks the store, the
// caller's code is written once for every store and record type (a generic lambda taking the
// store, or the record type through CommRecordType). A record taken from a store travels as a
// CommRecordPtr, which a visit hands back as its own type.
#include <optional>
#include <type_traits>
#include <utility>
#include <variant>

#include "misc/AppKind.h"
#include "misc/CxConnector.h"

// One record of a store with its type (a contact, an entry, a task or a note), or none. The
// store owns the record; the reference only points at it.
using CommRecordPtr = std::variant<std::monostate, CommAddrRec*, CommDateRec*, CommTaskRec*, CommNoteRec*>;

// The data type's record type handed to a visitor: CommRecordType<CommAddrRec> and so on.
template <class Rec> struct CommRecordType
{
    using Record = Rec;
};

template <class Rec> struct CommStoreOfRec;
template <> struct CommStoreOfRec<CommAddrRec>
{
    using Store = CommAddrMgr;
    static constexpr DataType kType = kDataContacts;
    static CommAddrMgr* Of(CxConnector& connector) { return connector.GetAddrStore(); }
};
template <> struct CommStoreOfRec<CommDateRec>
{
    using Store = CommDateMgr;
    static constexpr DataType kType = kDataCalendar;
    static CommDateMgr* Of(CxConnector& connector) { return connector.GetDateStore(); }
};
template <> struct CommStoreOfRec<CommTaskRec>
{
    using Store = CommTaskMgr;
    static constexpr DataType kType = kDataTasks;
    static CommTaskMgr* Of(CxConnector& connector) { return connector.GetTaskStore(); }
};
template <> struct CommStoreOfRec<CommNoteRec>
{
    using Store = CommNoteMgr;
    static constexpr DataType kType = kDataNotes;
    static CommNoteMgr* Of(CxConnector& connector) { return connector.GetNoteStore(); }
};

// The connector's store of the record type; null when it has none.
template <class Rec> typename CommStoreOfRec<Rec>::Store* StoreOf(CxConnector& connector)
{
    return CommStoreOfRec<Rec>::Of(connector);
}

// Calls visit(CommRecordType<Rec>{}) with the record type of the data type; for a value outside
// the data types, fallback() is returned instead.
template <class Visitor, class Fallback>
decltype(auto) VisitDataType(DataType type, Visitor&& visit, Fallback&& fallback)
{
    switch (type) {
    case kDataContacts:
        return visit(CommRecordType<CommAddrRec>{});
    case kDataCalendar:
        return visit(CommRecordType<CommDateRec>{});
    case kDataTasks:
        return visit(CommRecordType<CommTaskRec>{});
    case kDataNotes:
        return visit(CommRecordType<CommNoteRec>{});
    }
    return fallback();
}

// Calls visit(store) with the connector's store of the data type (null when it has none); for a
// value outside the data types, visit is not called and the result is value-initialised.
template <class Visitor> auto VisitStore(CxConnector& connector, DataType type, Visitor&& visit)
{
    using Result = decltype(visit(static_cast<CommAddrMgr*>(nullptr)));
    return VisitDataType(
        type,
        [&](auto recordType) -> Result {
            using Rec = typename decltype(recordType)::Record;
            return visit(StoreOf<Rec>(connector));
        },
        []() -> Result {
            if constexpr (!std::is_void_v<Result>) {
                return Result{};
            }
        });
}

// Calls visit(record) with the record the reference points at (a CommAddrRec& and so on); for
// no record (none, or a null pointer) fallback() is returned instead, as visit's result type.
template <class Visitor, class Fallback>
auto VisitRecord(const CommRecordPtr& record, Visitor&& visit, Fallback&& fallback)
{
    using Result = decltype(visit(std::declval<CommAddrRec&>()));
    return std::visit(
        [&](auto alternative) -> Result {
            if constexpr (std::is_same_v<decltype(alternative), std::monostate>) {
                return fallback();
            } else {
                if (alternative == nullptr) {
                    return fallback();
                }
                return visit(*alternative);
            }
        },
        record);
}

// The data type of the record; none for no record.
inline std::optional<DataType> RecordDataType(const CommRecordPtr& record)
{
    return VisitRecord(
        record,
        [](auto& r) -> std::optional<DataType> {
            return CommStoreOfRec<std::remove_cvref_t<decltype(r)>>::kType;
        },
        [] { return std::optional<DataType>(); });
}

// The record's address, for the lists and field readers that take a record of any type; null
// for no record.
inline void* RecordAddress(const CommRecordPtr& record)
{
    return VisitRecord(
        record, [](auto& r) -> void* { return &r; }, []() -> void* { return nullptr; });
}
