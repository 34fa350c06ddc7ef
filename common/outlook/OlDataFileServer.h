#pragma once
// An Outlook data file (.pst, .ost) as the "Outlook.Application" automation server: the part
// of Outlook's object model that the Outlook connectors call, answered from the file.
//
//   application  GetNameSpace("MAPI") → namespace; answers IRunnableObject (OleRun)
//   namespace    GetDefaultFolder(9 calendar, 10 contacts, 12 notes, 13 tasks) → folder
//   folder       Name, StoreID, Items
//   items        GetFirst, GetNext, Item(1-based), Count, Add
//   item         every Outlook property name of its class (outlook/pst/PstProperties.h),
//                GetRecurrencePattern, UserProperties, Save
//   pattern      RecurrenceType, Interval, DayOfWeekMask, DayOfMonth, Instance, MonthOfYear,
//                PatternStartDate, PatternEndDate, NoEndDate, Occurrences, StartTime, EndTime,
//                Duration (PatternEndDate is 0 for a pattern without end)
//   user fields  Count, Item(1-based or name), Find(name), Add; each field Name and Value
//
// Texts are VT_BSTR, numbers VT_I4, flags VT_BOOL, times VT_DATE (local), objects
// VT_DISPATCH; a property the item lacks is VT_EMPTY, which the typed getters of CDispCmd
// read as no value. Member names match without regard to case, in any locale. Members are
// called as methods or as property gets alike.
//
// Outlook is only a source here: the file is opened read-only, and Items.Add, Save, any
// property put and UserProperties.Add fail with kOlDataFileReadOnly.
//
// The file is opened when the application object is created (CoCreateInstance), from what
// its OutlookDataFileSource says then; a file that cannot be opened fails the creation with
// kOlDataFileCannotOpen and leaves the reason in the source's LastOpenError. Every object
// made keeps what it reads alive by itself: objects may outlive the application and the
// source.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "outlook/pst/PstStore.h"
#include "platform/AutomationServers.h"

// The class id of Outlook's application object.
inline constexpr CLSID kOutlookApplicationClsid = {
    0x0006F03A, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

// The codes of the server's failures (the values MAPI gives them).
// MAPI_E_LOGON_FAILED: the data file cannot be opened (no file chosen, not readable, not an
// Outlook data file, a wrong password); the reason is in LastOpenError.
inline constexpr HRESULT kOlDataFileCannotOpen = static_cast<HRESULT>(0x80040111);
// MAPI_E_NO_ACCESS (E_ACCESSDENIED): the data file is only read; nothing is added, saved or
// changed.
inline constexpr HRESULT kOlDataFileReadOnly = static_cast<HRESULT>(0x80070005);
// MAPI_E_NOT_FOUND: the file has no such default folder; the item has no recurrence pattern.
inline constexpr HRESULT kOlDataFileNotFound = static_cast<HRESULT>(0x8004010F);

// Which data file the server opens, and why the last opening failed. The front end sets the
// file; the server reads it at each creation of the application object. Safe to use from
// several threads.
class OutlookDataFileSource
{
public:
    struct File
    {
        std::string path;         // the file's path (8-bit, as the file system takes it)
        std::string password;     // the password's 8-bit bytes; empty for none
        unsigned codePage = 1252; // the code page of the 8-bit texts of an ANSI file
    };

    OutlookDataFileSource() = default;
    explicit OutlookDataFileSource(File file) : m_file(std::move(file)) {}
    OutlookDataFileSource(const OutlookDataFileSource&) = delete;
    OutlookDataFileSource& operator=(const OutlookDataFileSource&) = delete;

    void SetFile(File file);
    File GetFile() const;

    // Opens the file now; null with LastOpenError set when it cannot, else LastOpenError is
    // emptied.
    std::unique_ptr<pst::PstFile> Open();
    // The message for the user of the last failed opening; empty after one that succeeded.
    std::string LastOpenError() const;

    // The number of the server's objects alive that were made from this source (the
    // application and everything reached from it): 0 once every reference is released.
    int LiveObjects() const { return m_live->load(); }
    // The counter the objects share; it outlives the source while objects hold it.
    const std::shared_ptr<std::atomic<int>>& LiveCounter() const { return m_live; }

private:
    mutable std::mutex m_mutex;
    File m_file;
    std::string m_lastError;
    std::shared_ptr<std::atomic<int>> m_live = std::make_shared<std::atomic<int>>(0);
};

// Registers the server under "Outlook.Application" (class kOutlookApplicationClsid, every
// server context) in the table. False, nothing registered, when the table holds either
// already or the source is null.
bool RegisterOutlookDataFile(platform::AutomationServers& servers,
                             std::shared_ptr<OutlookDataFileSource> source);

// An item object over one item (one reference for the caller), for callers that hold items
// read from a file otherwise. The counter, if given, counts the objects made.
IDispatch* NewOutlookDataFileItem(pst::PstItem item, std::shared_ptr<std::atomic<int>> live = nullptr);
