#pragma once
// The record detail dialogs: a read-only view of everything the source application gave for one
// record of a comparison page, read from the record's native record. One class per source and
// data type; all share the layout of TfmRecordDetail (caption, header line, tabs, "&Close") and
// its ways of filling edits, check boxes, lists and the "Recurrence" tab.
#include <QDialog>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <span>

#include "misc/AppKind.h"
#include "misc/CxStoreVisit.h"

class CxConnector;
class QCheckBox;
class QFormLayout;
class QTabWidget;
class QTreeWidget;
class QVBoxLayout;

class TfmRecordDetail : public QDialog
{
    Q_OBJECT

public:
    // name: the class name, also the dialog's objectName; caption: the window title; app and
    // kind make the header line "View detail information of the <app> <kind> record.";
    // nativeSize: the size of the native record the dialog reads (0: any, the record borrows it).
    TfmRecordDetail(const char* name, const char* caption, const char* app, const char* kind,
                    std::size_t nativeSize, QWidget* parent = nullptr);

    // Fills every control from the record's native record; with no connector, no record or no
    // native record (or one of another size than the dialog reads) nothing is filled.
    void SetRecord(CxConnector* connector, const CommRecordPtr& record);

    QTabWidget* GetTabs() const { return m_tabs; }

    // One step of a dialog's layout. A dialog's layout is a table of them in order: tabs, and the
    // fields and check boxes of the form of the tab last added (before any tab: the fields above
    // the tabs; after an address tab: a form below its inner tabs).
    struct Item
    {
        enum Kind : std::uint8_t
        {
            kField,         // Name: the read-only edit; Caption: its "Label:"
            kCheck,         // Name: the check box; Caption: its text
            kDateFields,    // "Description:", "Date:", "Start time:", "End time:", "Location:"
            kFormTab,       // Name: the page; Caption: the tab's
            kTextTab,       // ... Control: its one multi-line edit (the "Notes" tab)
            kListTab,       // ... Control: its report-style list; Names: the list's columns
            kAddressTab,    // Name: the "Addresses" page; Names: the inner tabs, each with the five address
                            // fields; Control: the caption of the postal code's field
            kRecurrenceTab, // the "Recurrence" tab; RangeStart: "Start:" in the range group; YearlyBy:
                            // a "By:" choice on "Yearly"
        };

        Kind What = kField;
        const char* Name = nullptr;
        const char* Caption = nullptr;
        const char* Control = nullptr;
        std::span<const char* const> Names = {};
        bool RangeStart = false;
        bool YearlyBy = false;

        static constexpr Item Field(const char* name, const char* label) { return {kField, name, label}; }
        static constexpr Item Check(const char* name, const char* caption) { return {kCheck, name, caption}; }
        static constexpr Item DateFields() { return {kDateFields}; }
        static constexpr Item FormTab(const char* name, const char* caption)
        {
            return {kFormTab, name, caption};
        }
        static constexpr Item TextTab(const char* name, const char* caption, const char* edit)
        {
            return {kTextTab, name, caption, edit};
        }
        static constexpr Item ListTab(const char* name, const char* caption, const char* list,
                                      std::span<const char* const> columns)
        {
            return {kListTab, name, caption, list, columns};
        }
        static constexpr Item AddressTab(const char* name, std::span<const char* const> inner,
                                         const char* postal)
        {
            return {kAddressTab, name, nullptr, postal, inner};
        }
        static constexpr Item RecurrenceTab(bool rangeStart, bool yearlyBy)
        {
            return {kRecurrenceTab, nullptr, nullptr, nullptr, {}, rangeStart, yearlyBy};
        }
    };

protected:
    // Fills from the record, whose native record is set.
    virtual void Fill(const CommRecordPtr& record) = 0;

    // Adds the controls of the layout's items in order; a "Recurrence" tab starts hidden.
    void Build(std::span<const Item> layout);
    // For a tab no item describes (the Palm Desktop contact's "General Information").
    QWidget* AddTab(QTabWidget* tabs, const char* name, const char* caption);
    void AddField(QFormLayout* form, const char* name, const char* label, bool multiLine = false);

    void SetText(const char* name, const QString& text);
    void SetCheck(const char* name, bool checked);
    void AddRow(const char* list, const QStringList& texts);
    void SetAddress(const char* inner, const QString& street, const QString& city, const QString& state,
                    const QString& postal, const QString& country);
    // Shows the one inner tab of the pattern (0 daily, 1 weekly, 2 monthly, 3 yearly; -1 hides
    // the "Recurrence" tab); byDate picks "Date" rather than "Day"; start and end are the
    // range's texts (an empty end: "No end date").
    void ShowRecurrence(int which, int interval, int dayMask, bool byDate, const QString& start,
                        const QString& end);

private:
    QFormLayout* TopForm();
    QFormLayout* AddFormTab(QTabWidget* tabs, const char* name, const char* caption);
    void AddCheck(QFormLayout* form, const char* name, const char* caption);
    void AddTextTab(const char* name, const char* caption, const char* edit);
    // The first column is 170 wide, or 50 followed by one of 150 where there are more than two.
    void AddListTab(const char* name, const char* caption, const char* list,
                    std::span<const char* const> columns);
    // Returns the page's layout, below the inner tabs.
    QVBoxLayout* AddAddressTab(const char* name, std::span<const char* const> inner, const char* postal);
    void AddRecurrenceTab(bool withStart, bool yearlyBy);

    std::size_t m_nativeSize = 0;
    QTabWidget* m_tabs = nullptr;
    QFormLayout* m_top = nullptr;
    QVBoxLayout* m_topHolder = nullptr;
};

#define FW_DETAIL_CLASS(Name)                                                                                \
    class Name : public TfmRecordDetail                                                                      \
    {                                                                                                        \
    public:                                                                                                  \
        explicit Name(QWidget* parent = nullptr);                                                            \
                                                                                                             \
    protected:                                                                                               \
        void Fill(const CommRecordPtr& record) override;                                                     \
    };

FW_DETAIL_CLASS(TfmOLAddrDetail)
FW_DETAIL_CLASS(TfmOLDateDetail)
FW_DETAIL_CLASS(TfmOLTaskDetail)
FW_DETAIL_CLASS(TfmOLNoteDetail)
FW_DETAIL_CLASS(TfmACTAddrDetail)
FW_DETAIL_CLASS(TfmACTDateDetail)
FW_DETAIL_CLASS(TfmACTTaskDetail)
FW_DETAIL_CLASS(TfmACTNoteDetail)
FW_DETAIL_CLASS(TfmGGAddrDetail)
FW_DETAIL_CLASS(TfmGGDateDetail)
FW_DETAIL_CLASS(TfmPDAddrDetail)
FW_DETAIL_CLASS(TfmPDDateDetail)
FW_DETAIL_CLASS(TfmPDTaskDetail)
FW_DETAIL_CLASS(TfmPDNoteDetail)

#undef FW_DETAIL_CLASS

// The detail dialog of a source and data type, owned by parent; null where there is none
// (Lotus Notes, Google tasks and notes).
std::unique_ptr<TfmRecordDetail> MakeRecordDetail(AppKind source, DataType type, QWidget* parent);
// Opens that dialog modally on the record and its connector; false when there is none.
bool OpenRecordDetail(QWidget* owner, AppKind source, DataType type, const CommRecordPtr& record,
                      CxConnector* connector);
